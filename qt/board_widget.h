// A board drawn as a goban: wooden board, grid, star points, shaded stones
// with the move numbers on them. It shows a BoardCells model and reports
// mouse presses on its intersections; it keeps nothing but drawing caches.
#pragma once

#include <QFont>
#include <QHash>
#include <QPixmap>
#include <QWidget>
#include <cstdint>
#include <vector>

#include "ui/board_cells.h"

namespace sol {

class BoardWidget : public QWidget {
  Q_OBJECT

 public:
  explicit BoardWidget(BoardCells& cells, QWidget* parent = nullptr);

  BoardCells& Model() const { return cells_; }
  // Schedules a repaint of the cells whose model changed since last shown.
  void Sync();

  // The centre of a point's intersection, in widget pixels.
  QPointF PointCentre(int point) const;
  // The point whose intersection is nearest, if within half a cell; else 0.
  int PointAt(QPointF pos) const;
  // Side of a cell in pixels at the current size.
  double CellSize() const { return Geometry().cell; }

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 signals:
  // button: ButtonLeft/Right/Middle; shift: a sum of ShiftKey, CtrlKey, AltKey.
  void pressed(int point, int button, int shift);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  struct Layout {
    QRect board;    // the wooden board
    QPoint first;   // intersection of column 1, row 1
    int cell = 1;   // distance between lines
    int stone = 1;  // stone diameter
  };
  Layout Geometry() const;
  QRect StoneRect(int point, const Layout& g) const;
  void EnsureCaches(const Layout& g);
  void PaintBackground(QPainter& p, const Layout& g);
  void PaintCoordinates(QPainter& p, const Layout& g);
  QPixmap PaintStone(bool black, int diameter, qreal dpr) const;
  void PaintCaption(QPainter& p, const QPoint& box, const QString& text, uint32_t colour, bool onStone,
                    const Layout& g);
  QPixmap RenderCaption(const QString& text, uint32_t colour, const Layout& g) const;

  BoardCells& cells_;
  uint64_t shown_ = 0;
  std::vector<uint64_t> shownCells_;

  QPixmap background_;
  QPixmap blackStone_, whiteStone_;
  QSize cachedSize_;
  qreal cachedDpr_ = 0;
  CoordinateStyle cachedCoordinates_ = CoordinateStyle::Hidden;
  QFont numberFont_, longNumberFont_;
  double digitMiddle_ = 0, longDigitMiddle_ = 0;  // baseline offset that centres digits
  // Rendered captions by colour and text, for the current size.
  QHash<QString, QPixmap> captions_;
};

}  // namespace sol
