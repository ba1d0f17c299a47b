// What the player does: each line is one event, run to completion with its
// boxes answered from the queue.
#include "scenario/commands.h"
#include "scenario/session.h"

namespace sol {

void EventClick(Session& s, Form& f, const Words& w) {
  BoardCells& b = s.GetBoard(f);
  const std::vector<int> points = ParsePoints(b, w[2]);
  int button = w[3] == "left" ? ButtonLeft : w[3] == "right" ? ButtonRight : w[3] == "middle" ? ButtonMiddle : 0;
  if (!button) throw Failure("unknown button " + w[3]);
  int shift = 0;
  for (size_t i = 4; i < w.size(); ++i) {
    if (w[i] == "shift")
      shift |= ShiftKey;
    else if (w[i] == "ctrl")
      shift |= CtrlKey;
    else if (w[i] == "alt")
      shift |= AltKey;
    else
      throw Failure("unknown key " + w[i]);
  }
  // One event per point; the answers queued for the line serve all of
  // them, and only those left after the last point are an error.
  for (size_t i = 0; i < points.size(); ++i) {
    if (i > 0) {
      s.ActiveForm(w[1]);
      s.Outside().BeginAction();
    }
    b.MouseDown(points[i], button, shift);
  }
}

void EventPress(Session& s, Form& f, const Words& w) {
  Control& c = s.GetControl(f, w[2]);
  if (auto* b = dynamic_cast<CommandButton*>(&c))
    b->Click();
  else if (auto* o = dynamic_cast<OptionButton*>(&c))
    o->Click();
  else
    throw Failure(w[2] + " is not a button");
}

void EventMenu(Session&, Form& f, const Words& w) {
  Menu* m = f.FindMenu(w[2]);
  if (!m) throw Failure("unknown menu entry " + w[2] + " of " + w[1]);
  m->Click();
}

void EventSelect(Session& s, Form& f, const Words& w) {
  auto& l = s.GetControlAs<ListBox>(f, w[2], "a list");
  long i = 0;
  if (!ParseLong(w[3], i) || i < -1 || i >= l.ListCount())
    throw Failure("line " + w[3] + " is not in " + w[2] + " (" + std::to_string(l.ListCount()) + " lines)");
  l.SetListIndex(static_cast<int>(i));
}

void EventType(Session& s, Form& f, const Words& w) {
  s.GetControlAs<TextBox>(f, w[2], "a text box").SetText(FromUtf8(w[3]));
}

void EventSlide(Session&, Form& f, const Words& w) {
  auto* slider = dynamic_cast<Slider*>(f.FindControl("Slider1"));
  if (!slider) throw Failure(w[1] + " has no slider");
  long v = 0;
  if (!ParseLong(w[2], v)) throw Failure("bad value " + w[2]);
  slider->SetValue(static_cast<int>(v));
  if (slider->OnMouseUp) slider->OnMouseUp();
}

void AfterEvent(Session& s) {
  ScriptPlatform& outside = s.Outside();
  s.ReportPlatformErrors();
  if (!outside.answers.empty()) {
    s.Fail(std::to_string(outside.answers.size()) + " queued answer(s) left unused by this action");
    outside.answers.clear();
  }
  if (!outside.inputs.empty()) {
    s.Fail(std::to_string(outside.inputs.size()) + " queued input(s) left unused by this action");
    outside.inputs.clear();
  }
  if (!outside.choices.empty()) {
    s.Fail(std::to_string(outside.choices.size()) + " queued file choice(s) left unused by this action");
    outside.choices.clear();
  }
}

}  // namespace sol
