#include "qt/view_metrics.h"

#include <QListView>
#include <QStringListModel>
#include <QStyle>
#include <algorithm>

namespace sol {

QFont Sized(QFont f, double factor, bool bold) {
  f.setPointSizeF(f.pointSizeF() * factor);
  if (bold) f.setWeight(QFont::Bold);
  return f;
}

int ListHeightFor(QListView* list, int lines) {
  QStringListModel line0({QStringLiteral("棋譜0")});
  QListView probe;
  probe.setModel(&line0);
  probe.setFont(list->font());
  probe.setStyle(list->style());
  const int line = std::max(list->fontMetrics().height(), probe.sizeHintForRow(0));
  return line * lines + 2 * list->frameWidth() + 2;
}

int ListWidthFor(QListView* list, int columns) {
  return list->fontMetrics().horizontalAdvance(QString(columns, u'0')) + 2 * list->frameWidth() +
         list->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 10;
}

}  // namespace sol
