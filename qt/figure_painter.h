// The printed figure: the board as a diagram in lines, discs and text, and
// the text that goes with it, drawn for any paint device at its own
// resolution (a printer's page, a PDF file, an image).
#pragma once

#include <QRectF>
#include <QString>

#include "ui/board_cells.h"

class QPainter;

namespace sol {

// Draws the board into the top of `area`, as large as the width allows,
// and `text` in the room below it.
void PaintFigure(QPainter& p, const QRectF& area, const BoardCells& cells, const QString& text);

}  // namespace sol
