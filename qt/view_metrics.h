// Sizes the window layouts share: a font scaled from another, and lists
// sized to show a number of lines or characters.
#pragma once

#include <QFont>

class QListView;

namespace sol {

QFont Sized(QFont f, double factor, bool bold);
// Height of a list that shows `lines` lines without scrolling, measured on
// a line of the list's font and style.
int ListHeightFor(QListView* list, int lines);
// Width of a list that shows `columns` half-width characters of its font
// beside its vertical scroll bar.
int ListWidthFor(QListView* list, int columns);

}  // namespace sol
