#include <QAbstractListModel>
#include <QApplication>
#include <QFontDatabase>
#include <QItemSelectionModel>
#include <QListView>
#include <QPainter>
#include <QPixmap>
#include <QStyledItemDelegate>
#include <map>
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

// The signs a window sets beside its lines (ListBox::Mark): 1 a green
// circle, 2 an amber triangle, 3 a red cross; drawn, not written, so that
// they do not depend on what the list's font holds.
QIcon MarkIcon(int mark) {
  static std::map<int, QIcon> icons;
  if (mark < 0 || mark > 3) return {};
  if (auto it = icons.find(mark); it != icons.end()) return it->second;
  constexpr int size = 32;
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  const QColor colours[] = {{}, {0x1e, 0x8e, 0x3e}, {0xd9, 0x8a, 0x00}, {0xc6, 0x28, 0x28}};
  p.setPen(QPen(colours[mark], 4.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  if (mark == 0) {
    // Room only.
  } else if (mark == 1) {
    p.drawEllipse(QRectF(5, 5, 22, 22));
  } else if (mark == 2) {
    const QPointF corners[] = {{16, 4}, {28, 27}, {4, 27}};
    p.drawPolygon(corners, 3);
  } else {
    p.drawLine(QPointF(7, 7), QPointF(25, 25));
    p.drawLine(QPointF(25, 7), QPointF(7, 25));
  }
  p.end();
  return icons.emplace(mark, QIcon(pixmap)).first->second;
}

// The list's lines as the view reads them, straight from the control: a
// list of 31,000 problems is held once, and a line becomes a QString only
// while it is drawn. The row count is the one last announced, so a view
// painting before the next refresh (under a message box the program opened
// mid-change) never reads past what it was told of; a line gone by then
// reads as empty.
class ListLines : public QAbstractListModel {
 public:
  ListLines(const ListBox& list, QObject* parent) : QAbstractListModel(parent), list_(list) {}

  int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : rows_; }
  QVariant data(const QModelIndex& index, int role) const override {
    if (!index.isValid()) return {};
    if (role == Qt::DisplayRole) return Q(list_.List(index.row()));
    // Once any line has a sign, every line keeps room for one, so that
    // the texts stay in one column.
    if (role == Qt::DecorationRole && marked_) return MarkIcon(list_.Mark(index.row()));
    return {};
  }

  // Brings the view up to what the list changed since the last call; true
  // when the view was given the lines anew.
  bool Sync() {
    if (structure_ != list_.StructureRevision()) {
      beginResetModel();
      structure_ = list_.StructureRevision();
      text_ = list_.TextRevision();
      rows_ = list_.ListCount();
      marked_ = AnyMarked();
      endResetModel();
      return true;
    }
    if (text_ != list_.TextRevision()) {
      text_ = list_.TextRevision();
      marked_ = AnyMarked();
      // Every row at once: the view repaints only the ones it shows.
      if (rows_ > 0) emit dataChanged(index(0), index(rows_ - 1), {Qt::DisplayRole, Qt::DecorationRole});
    }
    return false;
  }

 private:
  bool AnyMarked() const {
    for (int i = 0; i < rows_; ++i)
      if (list_.Mark(i) != 0) return true;
    return false;
  }

  const ListBox& list_;
  int rows_ = 0;
  bool marked_ = false;
  uint64_t structure_ = 0;
  uint64_t text_ = 0;
};

class ListBoxBinder : public TypedBinder<ListBox, QListView> {
  std::function<void()> Wire(FormView& view, ListBox& list, QListView* lv) const override {
    auto* lines = new ListLines(list, lv);
    lv->setModel(lines);
    lv->setFont(ListFont());
    // A sign as tall as the capitals, so that a marked line is no taller.
    const int sign = lv->fontMetrics().capHeight() + 4;
    lv->setIconSize(QSize(sign, sign));
    lv->setItemDelegate(new TrimmedLines(lv));
    lv->setSelectionMode(QAbstractItemView::SingleSelection);
    lv->setUniformItemSizes(true);
    // Selection, not the current item, is what the player chose: focus
    // alone makes an item current. A press that selected an item has been
    // forwarded already; a press on the selected item is forwarded on its own.
    auto pressSelected = std::make_shared<bool>(false);
    QItemSelectionModel* selection = lv->selectionModel();
    QObject::connect(selection, &QItemSelectionModel::selectionChanged, &view,
                     [&view, &list, selection, pressSelected] {
                       if (view.Syncing()) return;
                       const QModelIndexList chosen = selection->selectedIndexes();
                       const int row = chosen.isEmpty() ? -1 : chosen.front().row();
                       *pressSelected = QApplication::mouseButtons() != Qt::NoButton;
                       view.Forward(&list, [&list, row] { list.SetListIndex(row); });
                     });
    QObject::connect(lv, &QAbstractItemView::pressed, &view, [&view, &list, pressSelected](const QModelIndex& at) {
      if (view.Syncing()) return;
      if (*pressSelected) {
        *pressSelected = false;
        return;
      }
      const int row = at.row();
      view.Forward(&list, [&list, row] { list.SetListIndex(row); });
    });
    auto top = std::make_shared<int>(-1);
    return [&list, lv, lines, selection, top] {
      SyncCommon(list, lv);
      if (lines->Sync()) *top = -1;
      const int current = lv->currentIndex().isValid() ? lv->currentIndex().row() : -1;
      if (current != list.ListIndex() || (list.ListIndex() >= 0) != selection->hasSelection())
        selection->setCurrentIndex(lines->index(list.ListIndex()), QItemSelectionModel::ClearAndSelect);
      if (*top != list.TopIndex()) {
        *top = list.TopIndex();
        if (const QModelIndex at = lines->index(list.TopIndex()); at.isValid())
          lv->scrollTo(at, QAbstractItemView::PositionAtTop);
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
