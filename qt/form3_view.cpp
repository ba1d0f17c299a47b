#include "qt/form3_view.h"

#include <QApplication>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "qt/view_metrics.h"

namespace sol {

namespace {

// Lines the report of free room always has: the games, then four files for
// each of the four problem categories.
constexpr int ReportLines = 17;

void Arrange(FormView& v) {
  QWidget* central = v.centralWidget();
  auto* root = new QVBoxLayout(central);
  root->setContentsMargins(14, 10, 14, 8);
  root->setSpacing(8);

  // The title over the game list, the report of free room beside it; both
  // lists share their top and bottom lines.
  auto* lists = new QGridLayout;
  lists->setHorizontalSpacing(14);
  lists->setVerticalSpacing(4);
  if (auto* title = v.Require<QLabel>("Label1")) {
    title->setFont(Sized(title->font(), 1.5, true));
    lists->addWidget(title, 0, 0, Qt::AlignLeft | Qt::AlignBottom);
  }
  if (QWidget* w = v.Require("Label11")) lists->addWidget(w, 0, 1, Qt::AlignLeft | Qt::AlignBottom);
  if (auto* games = v.Require<QListView>("List1")) {
    // Titles read better in the window's own face; nothing here needs
    // fixed columns.
    games->setFont(QApplication::font());
    games->setMinimumWidth(games->fontMetrics().horizontalAdvance(QString(24, QChar(0x6F22))));
    lists->addWidget(games, 1, 0);
  }
  if (auto* list = v.Require<QListView>("List2")) {
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setMinimumWidth(list->fontMetrics().horizontalAdvance(QStringLiteral("手筋コメント= 32766個")) +
                          2 * list->frameWidth() + list->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 12);
    list->setMinimumHeight(ListHeightFor(list, ReportLines));
    lists->addWidget(list, 1, 1);
  }
  lists->setColumnStretch(0, 1);
  lists->setRowStretch(1, 1);
  root->addLayout(lists, 1);

  auto* input = new QHBoxLayout;
  input->setSpacing(8);
  if (QWidget* w = v.Require("Label10")) input->addWidget(w);
  if (auto* text = v.Require<QLineEdit>("Text1")) {
    text->setMinimumHeight(28);
    input->addWidget(text, 1);
  }
  root->addLayout(input);

  // Each command beside its heading and what to do for it.
  auto* commands = new QFrame(central);
  commands->setFrameShape(QFrame::StyledPanel);
  auto* grid = new QGridLayout(commands);
  grid->setContentsMargins(12, 8, 12, 8);
  grid->setHorizontalSpacing(14);
  grid->setVerticalSpacing(6);
  struct Row {
    const char* button;
    const char* heading;
    const char* how;
  };
  const Row rows[] = {{"Command2", "Label2", "Label3"},
                      {"Command5", "Label4", "Label5"},
                      {"Command1", "Label6", "Label7"},
                      {"Command3", "Label8", "Label9"}};
  int row = 0;
  for (const Row& r : rows) {
    if (auto* b = v.Require<QPushButton>(r.button)) {
      b->setMinimumSize(96, 30);
      grid->addWidget(b, row, 0);
    }
    if (auto* l = v.Require<QLabel>(r.heading)) {
      l->setFont(Sized(l->font(), 1.0, true));
      grid->addWidget(l, row, 1);
    }
    if (QWidget* l = v.Require(r.how)) grid->addWidget(l, row, 2);
    ++row;
  }
  grid->setColumnStretch(2, 1);
  root->addWidget(commands);

  v.resize(780, 640);
}

}  // namespace

ViewLayout Form3Layout() {
  ViewLayout layout;
  layout.arrange = Arrange;
  layout.closeMenu = "メニューメイン碁盤へ";
  // A game is read with a double click on it as with 読込み.
  layout.doubleClicks = {{"List1", "Command2"}};
  return layout;
}

}  // namespace sol
