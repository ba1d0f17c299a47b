#include "ui/controls.h"

#include <algorithm>

#include "ui/board_cells.h"

namespace sol {

void OptionButton::SetValue(bool v) {
  if (!v) {
    Change(value_, false);
    return;
  }
  if (group_) {
    for (OptionButton* other : *group_)
      if (other != this) other->Change(other->value_, false);
  }
  Change(value_, true);
  if (OnClick) OnClick();
}

const Str& ListBox::List(int i) const {
  static const Str none;
  if (i < 0 || i >= ListCount()) return none;
  return lines_[i].text;
}

void ListBox::SetList(int i, const Str& text) {
  if (i < 0 || i >= ListCount()) return;
  lines_[i].text = text;
  ++text_;
  Touch();
}

long ListBox::ItemData(int i) const {
  if (i < 0 || i >= ListCount()) return 0;
  return lines_[i].data;
}

void ListBox::SetItemData(int i, long v) {
  if (i < 0 || i >= ListCount()) return;
  lines_[i].data = v;
  Touch();
}

int ListBox::Mark(int i) const {
  if (i < 0 || i >= ListCount()) return 0;
  return lines_[i].mark;
}

void ListBox::SetMark(int i, int mark) {
  if (i < 0 || i >= ListCount() || lines_[i].mark == mark) return;
  lines_[i].mark = mark;
  ++text_;
  Touch();
}

int ListBox::AddItem(Str text, int index) {
  int at = ListCount();
  if (sorted_) {
    // Binary search keeps inserts into long sorted lists cheap; equal lines
    // go after the ones already there. Lists are mostly filled in order, so
    // a line not below the last one goes to the end without a search.
    if (!lines_.empty() && text < lines_.back().text) {
      auto it =
          std::upper_bound(lines_.begin(), lines_.end(), text, [](const Str& t, const Line& l) { return t < l.text; });
      at = static_cast<int>(it - lines_.begin());
    }
  } else if (index >= 0 && index < ListCount()) {
    at = index;
  }
  lines_.insert(lines_.begin() + at, Line{std::move(text), 0, 0});
  if (index_ >= at) ++index_;
  ++structure_;
  Touch();
  return at;
}

void ListBox::RemoveItem(int i) {
  if (i < 0 || i >= ListCount()) return;
  lines_.erase(lines_.begin() + i);
  if (index_ == i)
    index_ = -1;
  else if (index_ > i)
    --index_;
  if (top_ >= ListCount()) top_ = std::max(0, ListCount() - 1);
  ++structure_;
  Touch();
}

void ListBox::Clear() {
  lines_.clear();
  index_ = -1;
  top_ = 0;
  ++structure_;
  Touch();
}

void ListBox::SetListIndex(int i) {
  if (i < -1 || i >= ListCount()) i = -1;
  index_ = i;
  Touch();
  if (OnSelect) OnSelect();
}

void ListBox::SetTopIndex(int i) {
  i = std::clamp(i, 0, std::max(0, ListCount() - 1));
  Change(top_, i);
}

void Slider::SetValue(int v) { Change(value_, std::clamp(v, min_, max_)); }

const Str& StatusBar::Panel(int n) const {
  static const Str empty;
  if (n < 1 || n > static_cast<int>(panels_.size())) return empty;
  return panels_[n - 1];
}

void StatusBar::SetPanel(int n, const Str& text) {
  if (n < 1) return;
  if (static_cast<int>(panels_.size()) < n) panels_.resize(n);
  // Rewriting the same text still counts as a change the player may see.
  panels_[n - 1] = text;
  Touch();
}

Menu* Menu::Find(const std::string& name) {
  if (Name() == name) return this;
  for (auto& item : items_)
    if (Menu* m = item->Find(name)) return m;
  return nullptr;
}

const Cell& BoardCells::At(int point) const {
  static const Cell empty;
  if (!Contains(point)) return empty;
  return cells_[point - 1];
}

Cell* BoardCells::Mutable(int point) {
  if (!Contains(point)) return nullptr;
  return &cells_[point - 1];
}

void BoardCells::SetPicture(int point, int16_t picture) {
  Cell* c = Mutable(point);
  if (!c || c->picture == picture) return;
  c->picture = picture;
  ++c->revision;
  Touch();
}

void BoardCells::SetCaption(int point, const Str& caption) {
  Cell* c = Mutable(point);
  if (!c || c->caption == caption) return;
  c->caption = caption;
  ++c->revision;
  Touch();
}

namespace {

Str Decimal(int n) {
  Str s;
  do {
    s.insert(s.begin(), static_cast<char16_t>(u'0' + n % 10));
    n /= 10;
  } while (n > 0);
  return s;
}

// 1..99 in kanji numerals: 一, 十, 十九, 二十三.
Str KanjiNumber(int n) {
  static const char16_t digits[] = u"一二三四五六七八九";
  Str s;
  if (n >= 20) s += digits[n / 10 - 1];
  if (n >= 10) s += u'十';
  if (n % 10 != 0) s += digits[n % 10 - 1];
  return s;
}

}  // namespace

Str BoardCells::ColumnLabel(int col) const {
  if (col < 0 || col >= columns_) return {};
  switch (coordinates_) {
    case CoordinateStyle::Japanese:
      return Decimal(col + 1);
    case CoordinateStyle::Western:
      // I is left out: it reads too much like J and 1.
      return Str(1, static_cast<char16_t>(u'A' + col + (col >= 8 ? 1 : 0)));
    case CoordinateStyle::Hidden:
      break;
  }
  return {};
}

Str BoardCells::RowLabel(int row) const {
  if (row < 0 || row >= rows_) return {};
  switch (coordinates_) {
    case CoordinateStyle::Japanese:
      return KanjiNumber(row + 1);
    case CoordinateStyle::Western:
      return Decimal(rows_ - row);
    case CoordinateStyle::Hidden:
      break;
  }
  return {};
}

void BoardCells::SetForeColor(int point, uint32_t colour) {
  Cell* c = Mutable(point);
  if (!c || c->foreColor == colour) return;
  c->foreColor = colour;
  ++c->revision;
  Touch();
}

void TextBox::SetLimit(int units, int bytes, std::function<int(const Str&)> bytesOf) {
  maxUnits_ = units;
  maxBytes_ = bytesOf ? bytes : -1;
  bytesOf_ = std::move(bytesOf);
  SetText(text_);
  Touch();
}

bool TextBox::Fits(const Str& t) const {
  if (maxUnits_ >= 0 && t.size() > static_cast<size_t>(maxUnits_)) return false;
  return maxBytes_ < 0 || bytesOf_(t) <= maxBytes_;
}

Str TextBox::Fitted(const Str& t) const {
  if (Fits(t)) return t;
  size_t n = maxUnits_ >= 0 ? std::min(t.size(), static_cast<size_t>(maxUnits_)) : t.size();
  auto splitsPair = [&t](size_t k) { return k > 0 && k < t.size() && t[k - 1] >= 0xD800 && t[k - 1] <= 0xDBFF; };
  while (n > 0 && (splitsPair(n) || !Fits(t.substr(0, n)))) --n;
  return t.substr(0, n);
}

}  // namespace sol
