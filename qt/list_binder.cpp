#include <QApplication>
#include <QFontDatabase>
#include <QListWidget>
#include <QStyledItemDelegate>
#include <memory>

#include "qt/control_binders.h"
#include "qt/form_view.h"

namespace sol {

namespace {

QString Q(const Str& s) { return QString::fromStdU16String(s); }

// Lines drawn and measured without their trailing blanks: the fixed-width
// records pad every line, and the padding alone must not widen a list or
// end a line in an ellipsis.
class TrimmedLines : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
    QStyledItemDelegate::initStyleOption(option, index);
    QString& t = option->text;
    qsizetype n = t.size();
    while (n > 0 && (t[n - 1] == u' ' || t[n - 1] == QChar(0x3000))) --n;
    t.truncate(n);
  }
};

QFont ListFont() {
  // A monospaced face that also holds the kana and kanji, so that lists laid
  // out in fixed columns line up.
  const QStringList families = QFontDatabase::families();
  for (const char* name : {"Noto Sans Mono CJK JP", "Noto Sans Mono CJK SC", "Noto Sans Mono"})
    if (families.contains(QString::fromLatin1(name))) return QFont(QString::fromLatin1(name));
  return QFontDatabase::systemFont(QFontDatabase::FixedFont);
}

// What the widget shows of the list, so that a refresh redoes only what the
// list changed since.
struct ListShown {
  uint64_t structure = 0;
  uint64_t text = 0;
  int top = -1;
};

void SyncLines(const ListBox& list, QListWidget* lw, ListShown& shown) {
  if (shown.structure != list.StructureRevision()) {
    shown.structure = list.StructureRevision();
    shown.text = list.TextRevision();
    // Lines go in by the thousand: a list of 31,000 problems added line
    // by line costs the view a layout per line, and all at once a second
    // copy of every line.
    lw->clear();
    QStringList lines;
    for (int i = 0; i < list.ListCount(); ++i) {
      lines.append(Q(list.List(i)));
      if (lines.size() == 1024 || i + 1 == list.ListCount()) {
        lw->addItems(lines);
        lines.clear();
      }
    }
    shown.top = -1;
  } else if (shown.text != list.TextRevision()) {
    shown.text = list.TextRevision();
    for (int i = 0; i < list.ListCount(); ++i) {
      const QString t = Q(list.List(i));
      if (QListWidgetItem* item = lw->item(i); item && item->text() != t) item->setText(t);
    }
  }
}

class ListBoxBinder : public TypedBinder<ListBox, QListWidget> {
  std::function<void()> Wire(FormView& view, ListBox& list, QListWidget* lw) const override {
    lw->setFont(ListFont());
    lw->setItemDelegate(new TrimmedLines(lw));
    lw->setSelectionMode(QAbstractItemView::SingleSelection);
    lw->setUniformItemSizes(true);
    // Selection, not the current item, is what the player chose: focus
    // alone makes an item current. A press that selected an item has been
    // forwarded already; a press on the selected item is forwarded on its own.
    auto pressSelected = std::make_shared<bool>(false);
    QObject::connect(lw, &QListWidget::itemSelectionChanged, &view, [&view, &list, lw, pressSelected] {
      if (view.Syncing()) return;
      const QList<QListWidgetItem*> chosen = lw->selectedItems();
      const int row = chosen.isEmpty() ? -1 : lw->row(chosen.front());
      *pressSelected = QApplication::mouseButtons() != Qt::NoButton;
      view.Forward(&list, [&list, row] { list.SetListIndex(row); });
    });
    QObject::connect(lw, &QListWidget::itemPressed, &view, [&view, &list, lw, pressSelected](QListWidgetItem* item) {
      if (view.Syncing()) return;
      if (*pressSelected) {
        *pressSelected = false;
        return;
      }
      const int row = lw->row(item);
      view.Forward(&list, [&list, row] { list.SetListIndex(row); });
    });
    auto shown = std::make_shared<ListShown>();
    return [&list, lw, shown] {
      SyncCommon(list, lw);
      SyncLines(list, lw, *shown);
      if (lw->currentRow() != list.ListIndex() || (list.ListIndex() >= 0) != !lw->selectedItems().isEmpty())
        lw->setCurrentRow(list.ListIndex());
      if (shown->top != list.TopIndex()) {
        shown->top = list.TopIndex();
        if (QListWidgetItem* item = lw->item(list.TopIndex())) lw->scrollToItem(item, QAbstractItemView::PositionAtTop);
      }
    };
  }
};

}  // namespace

const ControlBinder& ListBinder() {
  static const ListBoxBinder binder;
  return binder;
}

}  // namespace sol
