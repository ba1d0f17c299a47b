// What a list view shows, read the way the player sees it: its lines and
// where each one is on screen.
#pragma once

#include <QAbstractItemModel>
#include <QListView>
#include <QRect>
#include <QString>

namespace sol::testdata {

inline int LineCount(const QListView* list) { return list->model()->rowCount(); }
inline QString LineText(const QListView* list, int row) {
  return list->model()->index(row, 0).data(Qt::DisplayRole).toString();
}
inline QRect LineRect(const QListView* list, int row) { return list->visualRect(list->model()->index(row, 0)); }
inline int CurrentLine(const QListView* list) {
  return list->currentIndex().isValid() ? list->currentIndex().row() : -1;
}

}  // namespace sol::testdata
