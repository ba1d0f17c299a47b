// The walk of the memory benchmark through every window, as a player opens
// them: each mode of the problem window, then back to the main board, the
// library and its capacity report. Steps name menu entries as the program
// names them (the scenarios' names), which the Qt views give their actions.
#pragma once

#include <QAction>
#include <QApplication>
#include <QWidget>

namespace sol::bench {

struct WalkStep {
  const char* form;
  const char* menu;
};

inline constexpr WalkStep WindowWalk[] = {
    {"Form2", "メニュー手筋講座"}, {"Form4", "メニュー手筋登録"}, {"Form4", "メニューヨセ講座"},
    {"Form4", "メニューヨセ登録"}, {"Form4", "メニュー詰碁講座"}, {"Form4", "メニュー詰碁登録"},
    {"Form4", "メニュー定石講座"}, {"Form4", "メニュー定石登録"}, {"Form4", "メニューメイン碁盤へ"},
    {"Form2", "メニュー棋譜"},     {"Form3", "メニュー残情報"},   {"Form3", "メニューメイン碁盤へ"},
};
// The steps that open the eight modes of the problem window.
inline constexpr int WalkModeSteps = 8;

inline QWidget* TopWindow(const char* form) {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->objectName() == QLatin1String(form)) return w;
  return nullptr;
}

// The step's menu entry; nullptr when its window or the entry is not there.
inline QAction* MenuEntry(const WalkStep& step) {
  QWidget* w = TopWindow(step.form);
  if (!w) return nullptr;
  for (QAction* a : w->findChildren<QAction*>())
    if (a->objectName() == QString::fromUtf8(step.menu)) return a;
  return nullptr;
}

}  // namespace sol::bench
