// Toolkit-neutral models of the window controls. Each holds its values and a
// revision that rises on every change, so a view redraws only what changed.
// Setting a value that has a handler (an option button, a list's selection)
// runs the handler before the setter returns.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace sol {

using Str = std::u16string;

// Colours are 0xRRGGBB.
constexpr uint32_t ColourBlack = 0x000000;
constexpr uint32_t ColourWhite = 0xFFFFFF;
constexpr uint32_t ColourGreen = 0x1EE68C;  // RGB(30, 230, 140)
constexpr uint32_t ColourRed = 0xFF3200;    // RGB(255, 50, 0)

class Control {
 public:
  explicit Control(std::string name = {}) : name_(std::move(name)) {}
  virtual ~Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  const std::string& Name() const { return name_; }
  uint64_t Revision() const { return revision_; }

  bool Visible() const { return visible_; }
  void SetVisible(bool v) { Change(visible_, v); }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v) { Change(enabled_, v); }

  const Str& HelpText() const { return help_; }
  void SetHelpText(Str t) { help_ = std::move(t); }

 protected:
  void Touch() { ++revision_; }
  template <typename T>
  void Change(T& field, const T& value) {
    if (field == value) return;
    field = value;
    Touch();
  }

 private:
  std::string name_;
  uint64_t revision_ = 1;
  bool visible_ = true;
  bool enabled_ = true;
  Str help_;
};

class Label : public Control {
 public:
  using Control::Control;
  const Str& Caption() const { return caption_; }
  void SetCaption(const Str& c) { Change(caption_, c); }
  uint32_t ForeColor() const { return fore_; }
  void SetForeColor(uint32_t c) { Change(fore_, c); }

 private:
  Str caption_;
  uint32_t fore_ = ColourBlack;
};

class CommandButton : public Control {
 public:
  using Control::Control;
  const Str& Caption() const { return caption_; }
  void SetCaption(const Str& c) { Change(caption_, c); }
  std::function<void()> OnClick;
  void Click() {
    if (OnClick) OnClick();
  }

 private:
  Str caption_;
};

class Frame : public Control {
 public:
  using Control::Control;
  const Str& Caption() const { return caption_; }
  void SetCaption(const Str& c) { Change(caption_, c); }

 private:
  Str caption_;
};

// Option buttons sharing a group are mutually exclusive. Selecting one, by
// the user or from code, clears the others and runs its click handler.
class OptionButton : public Control {
 public:
  using Control::Control;
  const Str& Caption() const { return caption_; }
  void SetCaption(const Str& c) { Change(caption_, c); }
  bool Value() const { return value_; }
  void SetValue(bool v);
  void Click() { SetValue(true); }
  void JoinGroup(std::vector<OptionButton*>* group) {
    group_ = group;
    group->push_back(this);
  }
  std::function<void()> OnClick;

 private:
  Str caption_;
  bool value_ = false;
  std::vector<OptionButton*>* group_ = nullptr;
};

class TextBox : public Control {
 public:
  using Control::Control;
  const Str& Text() const { return text_; }
  // Text beyond the box's limit is cut off at its end, as a box that takes
  // no more keys would have it.
  void SetText(const Str& t) {
    const Str fitted = Fitted(t);
    if (fitted == text_) {
      // The view may show more than was taken: let it show what was.
      if (fitted != t) Touch();
      return;
    }
    text_ = fitted;
    Touch();
    if (OnChange) OnChange();
  }
  bool Locked() const { return locked_; }
  void SetLocked(bool l) { Change(locked_, l); }
  std::function<void()> OnChange;

  // The most the box takes, so that it never holds more than the field the
  // text goes to: `units` UTF-16 units, and `bytes` as `bytesOf` counts
  // them (the bytes the files store). -1 leaves a measure unlimited.
  void SetLimit(int units, int bytes = -1, std::function<int(const Str&)> bytesOf = {});
  int MaxUnits() const { return maxUnits_; }
  bool Fits(const Str& t) const;
  // The longest start of t that fits, never ending inside a surrogate pair.
  Str Fitted(const Str& t) const;

 private:
  Str text_;
  bool locked_ = false;
  int maxUnits_ = -1;
  int maxBytes_ = -1;
  std::function<int(const Str&)> bytesOf_;
};

class ListBox : public Control {
 public:
  explicit ListBox(std::string name = {}, bool sorted = false) : Control(std::move(name)), sorted_(sorted) {}

  bool Sorted() const { return sorted_; }
  // Lines added afterwards go where AddItem's index says, or to their
  // sorted place; the lines already there stay where they are.
  void SetSorted(bool sorted) { sorted_ = sorted; }
  int ListCount() const { return static_cast<int>(lines_.size()); }
  // A line index outside the list reads as an empty line, item data 0.
  // The line stays valid until the list next changes.
  const Str& List(int i) const;
  void SetList(int i, const Str& text);
  long ItemData(int i) const;
  void SetItemData(int i, long v);
  // A sign the view draws beside a line, apart from its text (0 = none);
  // what each value means is the window's.
  int Mark(int i) const;
  void SetMark(int i, int mark);
  // Adds a line: at its sorted place in a sorted list, else at `index`
  // (-1 = the end). Returns the index it was put at.
  int AddItem(Str text, int index = -1);
  void RemoveItem(int i);
  void Clear();

  int ListIndex() const { return index_; }
  // Runs OnSelect at once, also when the index does not change (as a click would).
  void SetListIndex(int i);
  int TopIndex() const { return top_; }
  void SetTopIndex(int i);
  // Lines changed wholesale (the view rebuilds); per-line edits keep this.
  uint64_t StructureRevision() const { return structure_; }
  // Rises when SetList changes the text of a line, so a view need not
  // compare every line when only the selection moved.
  uint64_t TextRevision() const { return text_; }

  std::function<void()> OnSelect;

 private:
  struct Line {
    Str text;
    long data = 0;
    int mark = 0;
  };
  std::vector<Line> lines_;
  bool sorted_;
  int index_ = -1;
  int top_ = 0;
  uint64_t structure_ = 1;
  uint64_t text_ = 1;
};

class Slider : public Control {
 public:
  using Control::Control;
  int Min() const { return min_; }
  int Max() const { return max_; }
  void SetRange(int lo, int hi) {
    min_ = lo;
    max_ = hi;
    Touch();
  }
  int Value() const { return value_; }
  void SetValue(int v);
  // The mouse button released on the slider.
  std::function<void()> OnMouseUp;

 private:
  int min_ = 1;
  int max_ = 400;
  int value_ = 1;
};

class StatusBar : public Control {
 public:
  using Control::Control;
  // Panel 1 is the status line.
  const Str& Panel(int n = 1) const;
  void SetPanel(int n, const Str& text);
  void SetText(const Str& text) { SetPanel(1, text); }
  const Str& Text() const { return Panel(1); }

 private:
  std::vector<Str> panels_{Str{}};
};

class Menu : public Control {
 public:
  Menu(std::string name, Str caption) : Control(std::move(name)), caption_(std::move(caption)) {}
  const Str& Caption() const { return caption_; }
  void SetCaption(const Str& c) { Change(caption_, c); }
  std::function<void()> OnClick;
  void Click() {
    if (OnClick) OnClick();
  }
  // `accessKey`: the letter that opens the entry with Alt, shown after the
  // caption as Japanese desktop programs do (棋譜処理(K)); 0 for none.
  Menu& Add(std::string name, Str caption, char16_t accessKey = 0) {
    items_.push_back(std::make_unique<Menu>(std::move(name), std::move(caption)));
    items_.back()->accessKey_ = accessKey;
    return *items_.back();
  }
  char16_t AccessKey() const { return accessKey_; }
  // The key chord that runs the entry from anywhere in its window
  // (u"Ctrl+O"); empty for none.
  const Str& Shortcut() const { return shortcut_; }
  Menu& SetShortcut(Str keys) {
    shortcut_ = std::move(keys);
    return *this;
  }
  // A line between groups of entries; it has no name and runs nothing.
  void AddSeparator() { Add("", u"-").separator_ = true; }
  bool IsSeparator() const { return separator_; }
  const std::vector<std::unique_ptr<Menu>>& Items() const { return items_; }
  // Depth-first search by item name.
  Menu* Find(const std::string& name);
  // An entry that shows a tick when it is the choice in effect.
  bool Checkable() const { return checkable_; }
  bool Checked() const { return checked_; }
  void SetChecked(bool c) {
    checkable_ = true;
    Change(checked_, c);
  }

 private:
  Str caption_;
  char16_t accessKey_ = 0;
  Str shortcut_;
  bool separator_ = false;
  bool checkable_ = false;
  bool checked_ = false;
  std::vector<std::unique_ptr<Menu>> items_;
};

}  // namespace sol
