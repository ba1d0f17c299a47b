#include "ui/display_menu.h"

namespace sol {

namespace {

struct Choice {
  CoordinateStyle style;
  const char* name;
  const char16_t* caption;
  const char* value;
};
const Choice Choices[] = {
    {CoordinateStyle::Japanese, "メニュー日本式座標", u"日本式座標", "japanese"},
    {CoordinateStyle::Western, "メニュー英字座標", u"英字座標", "western"},
    {CoordinateStyle::Hidden, "メニュー座標なし", u"座標なし", "none"},
};

}  // namespace

void AddDisplayMenu(Menu& bar, const std::function<void(CoordinateStyle)>& choose) {
  Menu& m = bar.Add("メニュー表示", u"表示", u'V');
  for (const Choice& c : Choices) {
    Menu& entry = m.Add(c.name, c.caption);
    entry.SetChecked(false);
    const CoordinateStyle style = c.style;
    entry.OnClick = [choose, style] { choose(style); };
  }
}

void TickCoordinates(Menu& bar, CoordinateStyle style) {
  for (const Choice& c : Choices)
    if (Menu* m = bar.Find(c.name)) m->SetChecked(c.style == style);
}

std::string CoordinatesValue(CoordinateStyle style) {
  for (const Choice& c : Choices)
    if (c.style == style) return c.value;
  return "none";
}

std::optional<CoordinateStyle> ParseCoordinates(const std::string& value) {
  for (const Choice& c : Choices)
    if (value == c.value) return c.style;
  return std::nullopt;
}

}  // namespace sol
