// The board of a window as the toolkit shows it: per point one image (the
// stone picture) and one label over it (the move number). Cells are indexed
// by point - 1, points run down each column of `rows` cells.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "ui/controls.h"

namespace sol {

// Pictures of the stone image list: the colour code is the picture index.
enum Picture : int16_t { PictureNone = 0, PictureBlack = 1, PictureWhite = 2 };

// Mouse buttons and shift state as the toolkit reports them.
constexpr int ButtonLeft = 1;
constexpr int ButtonRight = 2;
constexpr int ButtonMiddle = 4;
constexpr int ShiftKey = 1;
constexpr int CtrlKey = 2;
constexpr int AltKey = 4;

// The labels along the board's edges: none; columns 1, 2, ... and rows
// 一, 二, ... from the top; or columns A, B, ... (no I) and rows 1, 2, ...
// from the bottom.
enum class CoordinateStyle { Hidden, Japanese, Western };

struct Cell {
  int16_t picture = PictureNone;
  Str caption = u" ";
  uint32_t foreColor = ColourBlack;
  uint64_t revision = 1;
};

class BoardCells : public Control {
 public:
  BoardCells(std::string name, int columns, int rows)
      : Control(std::move(name)), columns_(columns), rows_(rows), cells_(columns * rows) {}

  int Columns() const { return columns_; }
  int Rows() const { return rows_; }
  int Count() const { return static_cast<int>(cells_.size()); }
  bool Contains(int point) const { return point >= 1 && point <= Count(); }

  // Reading a point outside the board gives an empty cell.
  const Cell& At(int point) const;
  int16_t PictureAt(int point) const { return At(point).picture; }
  const Str& CaptionAt(int point) const { return At(point).caption; }

  void SetPicture(int point, int16_t picture);
  void SetCaption(int point, const Str& caption);
  void SetForeColor(int point, uint32_t colour);

  CoordinateStyle Coordinates() const { return coordinates_; }
  void SetCoordinates(CoordinateStyle style) { Change(coordinates_, style); }
  // The label of column `col` or row `row` (0-based, from the left and the
  // top) in the current style; empty when hidden.
  Str ColumnLabel(int col) const;
  Str RowLabel(int row) const;

  // A mouse button pressed on the cell of `point` (button and shift state as above).
  std::function<void(int point, int button, int shift)> OnMouseDown;
  void MouseDown(int point, int button, int shift) {
    if (OnMouseDown && Contains(point)) OnMouseDown(point, button, shift);
  }

 private:
  Cell* Mutable(int point);
  int columns_;
  int rows_;
  CoordinateStyle coordinates_ = CoordinateStyle::Hidden;
  std::vector<Cell> cells_;
};

}  // namespace sol
