// Finding the registered sequence that holds the stones just placed.
#include <cstdlib>

#include "core/text.h"
#include "problems/form4.h"
#include "problems/texts.h"

namespace sol {

void Form4::Command17_Click() {
  Platform& platform = GetPlatform();
  if (Registration.MoveBufferCount == 0) {
    platform.MsgBox(form4text::PlaceStones, Buttons::OK, Icon::Information, form4text::Confirm);
    return;
  }
  const auto placed = Registration.MoveBuffer;
  const int n = Registration.MoveBufferCount;
  const BufferEntry last = placed[n];
  const BufferEntry before = n >= 2 ? placed[n - 1] : BufferEntry{};
  Vars.AnswerLineCount = List2.ListCount();
  auto matches = [this](int line, const BufferEntry& e) {
    const AnswerLine& l = answers_.At(line);
    return std::abs(l.SignedColour) == e.Colour && l.Point == e.Point && l.MoveIndex == e.MoveNo;
  };

  bool found = false;
  const int from = Lesson.CurrentRecord - 2;
  const int count = Vars.AnswerLineCount;
  for (int i = from; i < count; ++i) {
    if (i < 0 || !matches(i, last)) continue;
    if (n >= 2) {
      const int link = answers_.At(i).Link;
      // No line when no record has the number the link names.
      const int predecessor = link > 0 ? FindRecordLine(link, -1) : i - 1;
      found = predecessor >= 0 && matches(predecessor, before);
    } else {
      found = true;
    }
    if (!found) continue;
    List2.SetListIndex(answers_.SequenceStart(i));
    PlayCue(0);
    if (platform.MsgBox(form4text::SearchQuestion, Buttons::YesNo, Icon::Question, form4text::SearchTitle) ==
        Answer::Yes)
      break;
    found = false;
  }
  if (found) {
    Registration.ClearMoves();
  } else {
    platform.MsgBox(form4text::NoSequence, Buttons::OK, Icon::Information, form4text::Confirm);
  }
}

}  // namespace sol
