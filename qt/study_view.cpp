#include "qt/study_view.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QVBoxLayout>

#include "qt/view_metrics.h"

namespace sol {

namespace {

void Arrange(FormView& v) {
  QWidget* central = v.centralWidget();
  auto* root = new QVBoxLayout(central);
  root->setContentsMargins(14, 10, 14, 8);
  root->setSpacing(8);
  if (auto* title = v.Require<QLabel>("Label1")) {
    title->setFont(Sized(title->font(), 1.5, true));
    root->addWidget(title);
  }
  if (auto* list = v.Require<QListView>("List1")) {
    list->setMinimumWidth(ListWidthFor(list, 92));
    // Three sub-categories for each of three categories, and 定石.
    list->setMinimumHeight(ListHeightFor(list, 10));
    root->addWidget(list, 1);
  }
  if (QWidget* w = v.Require("Label2")) root->addWidget(w);
  auto* buttons = new QHBoxLayout;
  buttons->setSpacing(8);
  for (const char* name : {"Command1", "Command2"})
    if (auto* b = v.Require<QPushButton>(name)) {
      b->setMinimumSize(120, 30);
      buttons->addWidget(b);
    }
  buttons->addStretch(1);
  if (auto* b = v.Require<QPushButton>("Command3")) {
    b->setMinimumSize(96, 30);
    buttons->addWidget(b);
  }
  root->addLayout(buttons);
}

}  // namespace

ViewLayout StudyLayout() {
  ViewLayout layout;
  layout.arrange = Arrange;
  layout.keys = {{Qt::Key_Escape, "Command3"}};
  return layout;
}

}  // namespace sol
