#include "qt/figure_painter.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace sol {

namespace {

bool IsBlank(const Str& s) {
  return std::all_of(s.begin(), s.end(), [](char16_t c) { return c == u' ' || c == u'\u3000'; });
}

// `text` centred on `centre`, squeezed (never shrunk) to `room` wide.
void CentredText(QPainter& p, QPointF centre, const QString& text, double room) {
  const QFontMetricsF fm(p.font());
  const double width = fm.horizontalAdvance(text);
  const QRectF ink = fm.tightBoundingRect(QStringLiteral("0123456789"));
  p.save();
  p.translate(centre);
  if (width > room && width > 0) p.scale(room / width, 1.0);
  p.drawText(QPointF(-width / 2, -(ink.top() + ink.bottom()) / 2), text);
  p.restore();
}

}  // namespace

void PaintFigure(QPainter& p, const QRectF& area, const BoardCells& cells, const QString& text) {
  const int cols = std::max(1, cells.Columns()), rows = std::max(1, cells.Rows());
  const bool labelled = cells.Coordinates() != CoordinateStyle::Hidden;
  const double margin = labelled ? 1.3 : 0.6;
  // The board takes the width, and at most three quarters of the height so
  // that the text has room.
  const double cell = std::min(area.width() / (cols - 1 + 2 * margin), area.height() * 0.75 / (rows - 1 + 2 * margin));
  const QPointF first(area.left() + (area.width() - (cols - 1) * cell) / 2, area.top() + margin * cell);
  auto at = [&](int col, int row) { return first + QPointF(col * cell, row * cell); };
  const QColor ink(Qt::black);

  p.save();
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setRenderHint(QPainter::TextAntialiasing, true);

  p.setPen(QPen(ink, cell * 0.03, Qt::SolidLine, Qt::FlatCap));
  for (int c = 1; c < cols - 1; ++c) p.drawLine(at(c, 0), at(c, rows - 1));
  for (int r = 1; r < rows - 1; ++r) p.drawLine(at(0, r), at(cols - 1, r));
  p.setPen(QPen(ink, cell * 0.07, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRectF(at(0, 0), at(cols - 1, rows - 1)));
  if (rows == 19 && cols <= 19) {
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    for (int c : {4, 10, 16})
      for (int r : {4, 10, 16})
        if (c <= cols) p.drawEllipse(at(c - 1, r - 1), cell * 0.1, cell * 0.1);
  }

  QFont f(p.font());
  if (labelled) {
    f.setPixelSize(std::max(1, static_cast<int>(std::lround(cell * 0.42))));
    p.setFont(f);
    p.setPen(ink);
    const double away = (margin + 0.45) / 2 * cell;
    for (int c = 0; c < cols; ++c) {
      const QString label = QString::fromStdU16String(cells.ColumnLabel(c));
      CentredText(p, at(c, 0) - QPointF(0, away), label, cell);
      CentredText(p, at(c, rows - 1) + QPointF(0, away), label, cell);
    }
    for (int r = 0; r < rows; ++r) {
      const QString label = QString::fromStdU16String(cells.RowLabel(r));
      CentredText(p, at(0, r) - QPointF(away, 0), label, cell);
      CentredText(p, at(cols - 1, r) + QPointF(away, 0), label, cell);
    }
  }

  const double radius = cell * 0.47;
  f.setWeight(QFont::Bold);
  for (int point = 1; point <= cells.Count(); ++point) {
    const Cell& c = cells.At(point);
    const QPointF centre = at((point - 1) / rows, (point - 1) % rows);
    const bool stone = c.picture == PictureBlack || c.picture == PictureWhite;
    if (stone) {
      p.setPen(QPen(ink, cell * 0.04));
      p.setBrush(c.picture == PictureBlack ? ink : QColor(Qt::white));
      p.drawEllipse(centre, radius, radius);
    }
    if (IsBlank(c.caption)) continue;
    const QString caption = QString::fromStdU16String(c.caption).trimmed();
    if (!stone) {
      // A number on an empty point is set on a patch of paper, off the grid.
      p.setPen(Qt::NoPen);
      p.setBrush(Qt::white);
      p.drawEllipse(centre, radius * 0.8, radius * 0.7);
    }
    f.setPixelSize(std::max(1, static_cast<int>(std::lround(cell * (caption.size() >= 3 ? 0.40 : 0.48)))));
    p.setFont(f);
    p.setPen(QColor::fromRgb(c.foreColor));
    CentredText(p, centre, caption, radius * 1.7);
  }

  // The text block below the board, in the page's own type size.
  const double boardBottom = first.y() + (rows - 1 + margin) * cell;
  QFont body(p.font());
  body.setWeight(QFont::Normal);
  body.setPixelSize(std::max(1, static_cast<int>(std::lround(cell * 0.5))));
  p.setFont(body);
  p.setPen(ink);
  const QRectF below(area.left() + cell * margin * 0.5, boardBottom + cell * 0.5, area.width() - cell * margin,
                     std::max(0.0, area.bottom() - boardBottom - cell * 0.5));
  QString lines = text;
  lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  p.drawText(below, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, lines);
  p.restore();
}

}  // namespace sol
