#include "qt/form4_view.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>
#include <initializer_list>
#include <vector>

#include "qt/board_widget.h"
#include "qt/view_metrics.h"

namespace sol {

namespace {

// Widgets in rows of a fixed number of equal columns, in the order they were
// added, the hidden ones left out: whichever buttons a mode shows sit side by
// side with no holes between them, and the columns keep their width.
class PackedGrid : public QLayout {
 public:
  explicit PackedGrid(int columns) : columns_(std::max(1, columns)) {
    setContentsMargins(0, 0, 0, 0);
    setSpacing(6);
  }
  ~PackedGrid() override {
    while (QLayoutItem* item = takeAt(0)) delete item;
  }

  void addItem(QLayoutItem* item) override { items_.push_back(item); }
  int count() const override { return static_cast<int>(items_.size()); }
  QLayoutItem* itemAt(int i) const override { return i >= 0 && i < count() ? items_[i] : nullptr; }
  QLayoutItem* takeAt(int i) override {
    if (i < 0 || i >= count()) return nullptr;
    QLayoutItem* item = items_[i];
    items_.erase(items_.begin() + i);
    return item;
  }
  Qt::Orientations expandingDirections() const override { return Qt::Horizontal; }
  QSize sizeHint() const override { return Measure(false); }
  QSize minimumSize() const override { return Measure(true); }

  void setGeometry(const QRect& rect) override {
    QLayout::setGeometry(rect);
    const std::vector<QLayoutItem*> shown = Shown();
    if (shown.empty()) return;
    const QRect area = rect.marginsRemoved(contentsMargins());
    const int gap = spacing();
    const int width = std::max(0, (area.width() - (columns_ - 1) * gap) / columns_);
    const int height = RowHeight(shown);
    for (size_t k = 0; k < shown.size(); ++k) {
      const int row = static_cast<int>(k) / columns_, col = static_cast<int>(k) % columns_;
      shown[k]->setGeometry(QRect(area.x() + col * (width + gap), area.y() + row * (height + gap), width, height));
    }
  }

 private:
  std::vector<QLayoutItem*> Shown() const {
    std::vector<QLayoutItem*> shown;
    for (QLayoutItem* item : items_)
      if (!item->isEmpty()) shown.push_back(item);
    return shown;
  }
  static int RowHeight(const std::vector<QLayoutItem*>& shown) {
    int h = 0;
    for (QLayoutItem* item : shown) h = std::max(h, item->sizeHint().height());
    return h;
  }
  QSize Measure(bool minimum) const {
    const std::vector<QLayoutItem*> shown = Shown();
    if (shown.empty()) return {0, 0};
    int w = 0;
    for (QLayoutItem* item : shown) w = std::max(w, minimum ? item->minimumSize().width() : item->sizeHint().width());
    const int rows = (static_cast<int>(shown.size()) + columns_ - 1) / columns_;
    const QMargins m = contentsMargins();
    return QSize(columns_ * w + (columns_ - 1) * spacing() + m.left() + m.right(),
                 rows * RowHeight(shown) + (rows - 1) * spacing() + m.top() + m.bottom());
  }

  int columns_;
  std::vector<QLayoutItem*> items_;
};

// A heading over the field or list it names, a little apart from what is above.
void AddHeading(QVBoxLayout* into, QLabel* label) {
  if (!label) return;
  label->setContentsMargins(0, 6, 0, 0);
  into->addWidget(label);
}

void Arrange(FormView& v) {
  QWidget* central = v.centralWidget();
  auto* root = new QHBoxLayout(central);
  root->setContentsMargins(14, 10, 14, 8);
  root->setSpacing(18);

  // Left: the category title over the problem board.
  auto* left = new QVBoxLayout;
  left->setSpacing(6);
  auto* titleRow = new QHBoxLayout;
  titleRow->setSpacing(12);
  titleRow->addStretch(1);
  if (auto* title = v.Require<QLabel>("Label3")) {
    title->setFont(Sized(title->font(), 1.5, true));
    titleRow->addWidget(title, 0, Qt::AlignBaseline);
  }
  if (auto* note = v.Require<QLabel>("Label12")) titleRow->addWidget(note, 0, Qt::AlignBaseline);
  titleRow->addStretch(1);
  left->addLayout(titleRow);
  if (auto* board = v.Require<BoardWidget>("Image1")) {
    board->setMinimumSize(board->minimumSizeHint().expandedTo(QSize(300, 440)));
    left->addWidget(board, 1);
  }
  root->addLayout(left, 0);

  // Right: everything else, top to bottom.
  auto* right = new QVBoxLayout;
  right->setSpacing(6);

  // The problem list, with the sub-category and lecture frames beside it.
  auto* problems = new QHBoxLayout;
  problems->setSpacing(10);
  if (auto* list = v.Require<QListView>("List1")) {
    // Four digits and a title of forty bytes.
    list->setMinimumWidth(ListWidthFor(list, 44));
    list->setMinimumHeight(ListHeightFor(list, 6));
    problems->addWidget(list, 1);
  }
  auto* frames = new QVBoxLayout;
  frames->setSpacing(8);
  const std::pair<const char*, std::vector<const char*>> groups[] = {{"Frame2", {"Option4", "Option5", "Option6"}},
                                                                     {"Frame1", {"Option1", "Option3"}}};
  for (const auto& [frame, options] : groups) {
    auto* g = v.Require<QGroupBox>(frame);
    if (!g) continue;
    auto* box = new QVBoxLayout(g);
    box->setContentsMargins(10, 6, 10, 6);
    box->setSpacing(4);
    for (const char* name : options)
      if (QWidget* w = v.Require(name)) box->addWidget(w);
    frames->addWidget(g);
  }
  frames->addStretch(1);
  problems->addLayout(frames, 0);
  right->addLayout(problems, 4);

  // What the learner solved of the sub-category, and in review the way on.
  auto* study = new QHBoxLayout;
  study->setSpacing(10);
  if (QWidget* w = v.Require("Label21")) study->addWidget(w, 1);
  if (auto* b = v.Require<QPushButton>("Command21")) {
    b->setMinimumHeight(30);
    study->addWidget(b, 0);
  }
  right->addLayout(study);

  // Moving through the answer.
  auto* navigation = new PackedGrid(4);
  for (const char* name : {"Command1", "Command2", "Command3", "Command15"})
    if (auto* b = v.Require<QPushButton>(name)) {
      b->setMinimumHeight(30);
      navigation->addWidget(b);
    }
  right->addLayout(navigation);

  // The registration side: the problem number and title, the answer and
  // comment lists.
  auto* prompt = new QHBoxLayout;
  prompt->setSpacing(6);
  if (QWidget* w = v.Require("Label4")) prompt->addWidget(w);
  if (QWidget* w = v.Require("Label6")) prompt->addWidget(w);
  prompt->addStretch(1);
  auto* promptBox = new QVBoxLayout;
  promptBox->setContentsMargins(0, 6, 0, 0);
  promptBox->addLayout(prompt);
  right->addLayout(promptBox);
  if (QWidget* w = v.Require("Text1")) right->addWidget(w);

  AddHeading(right, v.Require<QLabel>("Label2"));
  if (auto* list = v.Require<QListView>("List2")) {
    // Six right-aligned columns of ten characters.
    list->setMinimumWidth(ListWidthFor(list, 60));
    list->setMinimumHeight(ListHeightFor(list, 4));
    right->addWidget(list, 3);
  }
  AddHeading(right, v.Require<QLabel>("Label7"));
  if (auto* list = v.Require<QListView>("List3")) {
    list->setMinimumWidth(ListWidthFor(list, 55));
    list->setMinimumHeight(ListHeightFor(list, 3));
    right->addWidget(list, 2);
  }

  // The comment: shown in the lectures, typed in the registrations.
  AddHeading(right, v.Require<QLabel>("Label9"));
  if (QWidget* w = v.Require("Text2")) right->addWidget(w);

  auto* commands = new PackedGrid(5);
  for (const char* name : {"Command4", "Command5", "Command6", "Command7", "Command8", "Command9", "Command10",
                           "Command11", "Command20", "Command12", "Command13", "Command14", "Command17"})
    if (auto* b = v.Require<QPushButton>(name)) {
      b->setMinimumHeight(30);
      commands->addWidget(b);
    }
  auto* commandBox = new QVBoxLayout;
  commandBox->setContentsMargins(0, 8, 0, 0);
  commandBox->addLayout(commands);
  right->addLayout(commandBox);

  root->addLayout(right, 1);

  v.resize(1080, 860);
}

}  // namespace

ViewLayout Form4Layout() {
  ViewLayout layout;
  layout.arrange = Arrange;
  // Closing the window goes back to the main board, which it hid.
  layout.closeMenu = "メニューメイン碁盤へ";
  // In review, Enter goes on to the next problem.
  layout.keys = {{Qt::Key_Return, "Command21"}, {Qt::Key_Enter, "Command21"}};
  return layout;
}

}  // namespace sol
