#include "qt/board_widget.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>
#include <random>

namespace sol {

namespace {

// Wood beyond the outer lines, in cells: more when the coordinates stand there.
constexpr double PlainMargin = 0.8;
constexpr double LabelledMargin = 1.45;
// Stone diameter as a part of a cell.
constexpr double StoneScale = 0.95;
// Offset of a stone's shadow, as a part of the stone's diameter.
constexpr double ShadowOffset = 0.06;

const QColor WoodLight(0xEC, 0xC8, 0x86);
const QColor WoodDark(0xD6, 0xA6, 0x5C);
const QColor WoodMiddle(0xE2, 0xB7, 0x70);
const QColor LineColour(0x2B, 0x1D, 0x0E);

bool IsBlank(const Str& s) {
  return std::all_of(s.begin(), s.end(), [](char16_t c) { return c == u' ' || c == u'\u3000'; });
}

double MarginOf(const BoardCells& cells) {
  return cells.Coordinates() == CoordinateStyle::Hidden ? PlainMargin : LabelledMargin;
}

}  // namespace

BoardWidget::BoardWidget(BoardCells& cells, QWidget* parent) : QWidget(parent), cells_(cells) {
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  // Everything is painted from caches over an opaque board; the parts
  // beside the board show the window's own background.
  setAttribute(Qt::WA_OpaquePaintEvent, false);
  setMouseTracking(false);
  shownCells_.assign(cells_.Count(), 0);
}

QSize BoardWidget::sizeHint() const {
  const int c = cells_.Columns(), r = cells_.Rows();
  const double Margin = MarginOf(cells_);
  return QSize(static_cast<int>((c - 1 + 2 * Margin) * 38), static_cast<int>((r - 1 + 2 * Margin) * 38));
}

QSize BoardWidget::minimumSizeHint() const {
  const int c = cells_.Columns(), r = cells_.Rows();
  const double Margin = MarginOf(cells_);
  return QSize(static_cast<int>((c - 1 + 2 * Margin) * 18), static_cast<int>((r - 1 + 2 * Margin) * 18));
}

BoardWidget::Layout BoardWidget::Geometry() const {
  const int c = std::max(1, cells_.Columns()), r = std::max(1, cells_.Rows());
  const double Margin = MarginOf(cells_);
  const double spanX = c - 1 + 2 * Margin, spanY = r - 1 + 2 * Margin;
  Layout g;
  // Whole pixels between lines keep the grid sharp.
  g.cell = std::max(4, static_cast<int>(std::floor(std::min(width() / spanX, height() / spanY))));
  const int w = static_cast<int>(std::lround(spanX * g.cell));
  const int h = static_cast<int>(std::lround(spanY * g.cell));
  g.board = QRect((width() - w) / 2, (height() - h) / 2, w, h);
  const int inset = static_cast<int>(std::lround(Margin * g.cell));
  g.first = g.board.topLeft() + QPoint(inset, inset);
  g.stone = std::max(3, static_cast<int>(std::lround(g.cell * StoneScale)));
  return g;
}

QPointF BoardWidget::PointCentre(int point) const {
  if (!cells_.Contains(point)) return {};
  const Layout g = Geometry();
  const int col = (point - 1) / cells_.Rows(), row = (point - 1) % cells_.Rows();
  return QPointF(g.first.x() + col * g.cell + 0.5, g.first.y() + row * g.cell + 0.5);
}

int BoardWidget::PointAt(QPointF pos) const {
  const Layout g = Geometry();
  const double x = (pos.x() - g.first.x() - 0.5) / g.cell, y = (pos.y() - g.first.y() - 0.5) / g.cell;
  const int col = static_cast<int>(std::lround(x)), row = static_cast<int>(std::lround(y));
  if (std::abs(x - col) > 0.5 || std::abs(y - row) > 0.5) return 0;
  if (col < 0 || col >= cells_.Columns() || row < 0 || row >= cells_.Rows()) return 0;
  return col * cells_.Rows() + row + 1;
}

QRect BoardWidget::StoneRect(int point, const Layout& g) const {
  const int col = (point - 1) / cells_.Rows(), row = (point - 1) % cells_.Rows();
  const int cx = g.first.x() + col * g.cell, cy = g.first.y() + row * g.cell;
  const int shadow = static_cast<int>(std::ceil(g.stone * ShadowOffset)) + 2;
  return QRect(cx - g.stone / 2 - 1, cy - g.stone / 2 - 1, g.stone + shadow + 2, g.stone + shadow + 2);
}

void BoardWidget::Sync() {
  if (cells_.Revision() == shown_) return;
  shown_ = cells_.Revision();
  if (cells_.Coordinates() != cachedCoordinates_) {
    // The margin changes with the labels: the whole board moves.
    cachedCoordinates_ = cells_.Coordinates();
    background_ = QPixmap();
    updateGeometry();
    update();
  }
  if (static_cast<int>(shownCells_.size()) != cells_.Count()) shownCells_.assign(cells_.Count(), 0);
  const Layout g = Geometry();
  QRegion dirty;
  for (int p = 1; p <= cells_.Count(); ++p) {
    const uint64_t rev = cells_.At(p).revision;
    if (shownCells_[p - 1] == rev) continue;
    shownCells_[p - 1] = rev;
    dirty += StoneRect(p, g);
  }
  if (!dirty.isEmpty()) update(dirty);
}

void BoardWidget::EnsureCaches(const Layout& g) {
  const qreal dpr = devicePixelRatioF();
  if (cachedSize_ == size() && cachedDpr_ == dpr && !background_.isNull()) return;
  cachedSize_ = size();
  cachedDpr_ = dpr;

  background_ = QPixmap(size() * dpr);
  background_.setDevicePixelRatio(dpr);
  background_.fill(Qt::transparent);
  {
    QPainter p(&background_);
    PaintBackground(p, g);
  }
  blackStone_ = PaintStone(true, g.stone, dpr);
  whiteStone_ = PaintStone(false, g.stone, dpr);

  // Numbers: up to two digits large, three a little smaller, all bold and
  // centred on their digits' ink rather than on the font's line box.
  QFont f = font();
  f.setWeight(QFont::Bold);
  f.setPixelSize(std::max(6, static_cast<int>(std::lround(g.stone * 0.48))));
  numberFont_ = f;
  f.setPixelSize(std::max(6, static_cast<int>(std::lround(g.stone * 0.40))));
  longNumberFont_ = f;
  auto middle = [](const QFont& font) {
    const QRectF ink = QFontMetricsF(font).tightBoundingRect(QStringLiteral("0123456789"));
    return -(ink.top() + ink.bottom()) / 2;
  };
  digitMiddle_ = middle(numberFont_);
  longDigitMiddle_ = middle(longNumberFont_);
  captions_.clear();
}

void BoardWidget::PaintBackground(QPainter& p, const Layout& g) {
  p.setRenderHint(QPainter::Antialiasing, true);
  const QRectF board = g.board;

  // A soft shadow under the board.
  for (int i = 4; i >= 1; --i) p.fillRect(board.translated(i, i + 1), QColor(0, 0, 0, 14));

  QLinearGradient wood(board.topLeft(), board.bottomRight());
  wood.setColorAt(0.0, WoodLight);
  wood.setColorAt(0.55, WoodMiddle);
  wood.setColorAt(1.0, WoodDark);
  p.fillRect(board, wood);

  // Grain: long, gently wavy lines across the board, the same every time.
  p.save();
  p.setClipRect(board);
  std::mt19937 rng(19);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  const int lines = std::max(20, static_cast<int>(board.height() / 7));
  for (int i = 0; i < lines; ++i) {
    const double y0 = board.top() + unit(rng) * board.height();
    const double amplitude = (0.3 + unit(rng)) * g.cell * 0.35;
    const double phase = unit(rng) * 6.283;
    const double waves = 0.6 + unit(rng) * 1.4;
    QPainterPath path;
    const int steps = 40;
    for (int s = 0; s <= steps; ++s) {
      const double t = static_cast<double>(s) / steps;
      const QPointF pt(board.left() + t * board.width(), y0 + amplitude * std::sin(phase + t * waves * 6.283));
      if (s == 0)
        path.moveTo(pt);
      else
        path.lineTo(pt);
    }
    const int alpha = 8 + static_cast<int>(unit(rng) * 22);
    p.setPen(QPen(QColor(0x8A, 0x5A, 0x22, alpha), 0.6 + unit(rng) * 1.6));
    p.drawPath(path);
  }
  p.restore();

  p.setPen(QPen(QColor(0x9A, 0x70, 0x38), 1));
  p.setBrush(Qt::NoBrush);
  p.drawRect(board.adjusted(0.5, 0.5, -0.5, -0.5));

  // Grid: sharp lines on whole pixels, the outer ones heavier.
  p.setRenderHint(QPainter::Antialiasing, false);
  const int cols = cells_.Columns(), rows = cells_.Rows();
  const int thin = std::max(1, static_cast<int>(std::lround(g.cell / 32.0)));
  const int x0 = g.first.x(), y0 = g.first.y();
  const int x1 = x0 + (cols - 1) * g.cell, y1 = y0 + (rows - 1) * g.cell;
  p.setPen(QPen(LineColour, thin, Qt::SolidLine, Qt::FlatCap));
  for (int c = 1; c < cols - 1; ++c) p.drawLine(x0 + c * g.cell, y0, x0 + c * g.cell, y1);
  for (int r = 1; r < rows - 1; ++r) p.drawLine(x0, y0 + r * g.cell, x1, y0 + r * g.cell);
  p.setPen(QPen(LineColour, thin * 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  p.drawRect(QRect(x0, y0, x1 - x0, y1 - y0));

  // Star points of the 19 x 19 board; the problem board is its left part
  // and shows the ones that fall on it.
  if (rows == 19 && cols <= 19) {
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    p.setBrush(LineColour);
    const double radius = std::max(2.0, g.cell * 0.11);
    for (int c : {4, 10, 16})
      for (int r : {4, 10, 16})
        if (c <= cols) p.drawEllipse(QPointF(x0 + (c - 1) * g.cell + 0.5, y0 + (r - 1) * g.cell + 0.5), radius, radius);
  }
  PaintCoordinates(p, g);
}

void BoardWidget::PaintCoordinates(QPainter& p, const Layout& g) {
  if (cells_.Coordinates() == CoordinateStyle::Hidden) return;
  p.setRenderHint(QPainter::TextAntialiasing, true);
  QFont f = font();
  f.setPixelSize(std::max(7, static_cast<int>(std::lround(g.cell * 0.40))));
  p.setFont(f);
  p.setPen(LineColour);
  const int cols = cells_.Columns(), rows = cells_.Rows();
  // Centred between the board's edge and the outer line, on every side.
  const double away = (LabelledMargin + 0.45) / 2 * g.cell;
  const double half = g.cell * 0.75;
  auto put = [&](QPointF centre, const Str& text) {
    p.drawText(QRectF(centre.x() - half, centre.y() - half, 2 * half, 2 * half), Qt::AlignCenter,
               QString::fromStdU16String(text));
  };
  const double x0 = g.first.x() + 0.5, y0 = g.first.y() + 0.5;
  const double x1 = x0 + (cols - 1) * g.cell, y1 = y0 + (rows - 1) * g.cell;
  for (int c = 0; c < cols; ++c) {
    const double x = x0 + c * g.cell;
    put(QPointF(x, y0 - away), cells_.ColumnLabel(c));
    put(QPointF(x, y1 + away), cells_.ColumnLabel(c));
  }
  for (int r = 0; r < rows; ++r) {
    const double y = y0 + r * g.cell;
    put(QPointF(x0 - away, y), cells_.RowLabel(r));
    put(QPointF(x1 + away, y), cells_.RowLabel(r));
  }
}

QPixmap BoardWidget::PaintStone(bool black, int diameter, qreal dpr) const {
  const int shadow = static_cast<int>(std::ceil(diameter * ShadowOffset)) + 2;
  const int side = diameter + shadow + 2;
  QPixmap pm(QSize(side, side) * dpr);
  pm.setDevicePixelRatio(dpr);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing, true);
  const QRectF stone(1, 1, diameter, diameter);
  const double r = diameter / 2.0;

  QRadialGradient shade(stone.center() + QPointF(diameter * ShadowOffset, diameter * ShadowOffset * 1.3), r * 1.05);
  shade.setColorAt(0.0, QColor(0, 0, 0, 90));
  shade.setColorAt(0.8, QColor(0, 0, 0, 50));
  shade.setColorAt(1.0, QColor(0, 0, 0, 0));
  p.setPen(Qt::NoPen);
  p.setBrush(shade);
  p.drawEllipse(stone.center() + QPointF(diameter * ShadowOffset, diameter * ShadowOffset * 1.3), r * 1.05, r * 1.05);

  const QPointF light = stone.center() - QPointF(r * 0.35, r * 0.4);
  QRadialGradient g(stone.center(), r, light);
  if (black) {
    g.setColorAt(0.0, QColor(0x76, 0x76, 0x78));
    g.setColorAt(0.35, QColor(0x2E, 0x2E, 0x30));
    g.setColorAt(1.0, QColor(0x08, 0x08, 0x0A));
    p.setBrush(g);
    p.drawEllipse(stone);
  } else {
    g.setColorAt(0.0, QColor(0xFF, 0xFF, 0xFF));
    g.setColorAt(0.55, QColor(0xF1, 0xF0, 0xEA));
    g.setColorAt(1.0, QColor(0xC4, 0xC2, 0xB8));
    p.setBrush(g);
    p.setPen(QPen(QColor(0x8E, 0x8C, 0x84), std::max(1.0, diameter / 40.0)));
    p.drawEllipse(stone.adjusted(0.5, 0.5, -0.5, -0.5));
  }
  return pm;
}

QPixmap BoardWidget::RenderCaption(const QString& text, uint32_t colour, const Layout& g) const {
  const bool longText = text.size() >= 3;
  const QFont& f = longText ? longNumberFont_ : numberFont_;
  const double middle = longText ? longDigitMiddle_ : digitMiddle_;
  const double width = QFontMetricsF(f).horizontalAdvance(text);
  const double room = g.stone * 0.86;
  const qreal dpr = devicePixelRatioF();
  const int side = g.stone;
  QPixmap pm(QSize(side, side) * dpr);
  pm.setDevicePixelRatio(dpr);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setRenderHint(QPainter::TextAntialiasing, true);
  p.setFont(f);
  p.translate(side / 2.0, side / 2.0);
  // Squeeze, never shrink, a caption too wide for its stone.
  if (width > room) p.scale(room / width, 1.0);
  const QColor c = QColor::fromRgb(colour);
  if (c.hsvSaturation() < 64) {
    p.setPen(c);
    p.drawText(QPointF(-width / 2, middle), text);
    return pm;
  }
  // Bright colours (the green and red of answers and marks) fade on white
  // stones and wood: a thin dark rim keeps them readable on every ground.
  QPainterPath path;
  path.addText(QPointF(-width / 2, middle), f, text);
  p.setPen(
      QPen(QColor(0x1A, 0x14, 0x0C, 215), std::max(1.5, g.stone * 0.085), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  p.drawPath(path);
  p.setPen(Qt::NoPen);
  p.setBrush(c);
  p.drawPath(path);
  return pm;
}

void BoardWidget::PaintCaption(QPainter& p, const QPoint& box, const QString& text, uint32_t colour, bool onStone,
                               const Layout& g) {
  const QPointF centre(box.x() + g.stone / 2.0, box.y() + g.stone / 2.0);
  if (!onStone) {
    // A caption on an empty point gets a patch of wood so the grid does not
    // cross it.
    const bool longText = text.size() >= 3;
    const double width = QFontMetricsF(longText ? longNumberFont_ : numberFont_).horizontalAdvance(text);
    p.setPen(Qt::NoPen);
    p.setBrush(WoodMiddle);
    const double r = std::min(g.stone * 0.86, width + g.stone * 0.12) / 2;
    p.drawEllipse(centre, std::max(r, g.stone * 0.3), g.stone * 0.3);
  }
  const QString key = QString::number(colour, 16) + u':' + text;
  auto it = captions_.find(key);
  if (it == captions_.end()) it = captions_.insert(key, RenderCaption(text, colour, g));
  p.drawPixmap(box, *it);
}

void BoardWidget::paintEvent(QPaintEvent* event) {
  const Layout g = Geometry();
  EnsureCaches(g);
  QPainter p(this);
  p.drawPixmap(0, 0, background_);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setRenderHint(QPainter::TextAntialiasing, true);
  const QRect area = event->rect();
  for (int point = 1; point <= cells_.Count(); ++point) {
    const QRect r = StoneRect(point, g);
    if (!area.intersects(r)) continue;
    const Cell& cell = cells_.At(point);
    const bool stone = cell.picture == PictureBlack || cell.picture == PictureWhite;
    if (stone) p.drawPixmap(r.topLeft(), cell.picture == PictureBlack ? blackStone_ : whiteStone_);
    if (!IsBlank(cell.caption))
      PaintCaption(p, r.topLeft() + QPoint(1, 1), QString::fromStdU16String(cell.caption).trimmed(), cell.foreColor,
                   stone, g);
  }
}

void BoardWidget::mousePressEvent(QMouseEvent* event) {
  const int point = PointAt(event->position());
  if (point == 0) return;
  int button = 0;
  switch (event->button()) {
    case Qt::LeftButton:
      button = ButtonLeft;
      break;
    case Qt::RightButton:
      button = ButtonRight;
      break;
    case Qt::MiddleButton:
      button = ButtonMiddle;
      break;
    default:
      return;
  }
  const Qt::KeyboardModifiers m = event->modifiers();
  const int shift = (m & Qt::ShiftModifier ? ShiftKey : 0) | (m & Qt::ControlModifier ? CtrlKey : 0) |
                    (m & Qt::AltModifier ? AltKey : 0);
  emit pressed(point, button, shift);
}

// The second press of a double click is a double click, not another press
// on the board: a quick second tap on the same point does nothing.
void BoardWidget::mouseDoubleClickEvent(QMouseEvent* event) { event->accept(); }

}  // namespace sol
