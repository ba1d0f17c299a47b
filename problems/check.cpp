// The data check of the loaded problem: every continuing sequence must lead
// back to the problem position, every comment must belong to a sequence head.
#include "core/text.h"
#include "problems/form4.h"
#include "problems/store.h"
#include "problems/texts.h"

namespace sol {

void Form4::Command13_Click() {
  const int n = List2.ListCount();
  auto moveIndex = [this](int i) { return AnswerField(i, 2); };
  auto record = [this](int i) { return AnswerField(i, 5); };
  auto link = [this](int i) { return AnswerField(i, 6); };

  int seqErrors = 0, commentErrors = 0;
  Str seqText = u"手順エラー：", commentText = u"コメントエラー：";
  for (int i = 0; i < n; ++i) {
    if (link(i) == 0 || link(i) == StartsAtProblem) continue;
    int cur = i;
    long mi = moveIndex(i);
    bool ok = false;
    // Each step moves to an earlier record, so the walk ends.
    for (;;) {
      int parent = -1;
      for (int j = 0; j < cur; ++j)
        if (moveIndex(j) == mi - 1 && record(j) == link(cur) && link(j + 1) > 0) {
          parent = j;
          break;
        }
      if (parent < 0) break;
      int h = parent;
      while (h > 0 && link(h) <= 0) --h;
      if (link(h) == StartsAtProblem) {
        ok = true;
        break;
      }
      if (h >= cur) break;
      cur = h;
      mi = moveIndex(h);
    }
    if (!ok) {
      ++seqErrors;
      seqText += Num(record(i)) + u"、";
    }
  }
  for (int c = 0; c < List3.ListCount(); ++c) {
    const long answer = Val(Mid(List3.List(c), 5, 5));
    bool found = false;
    for (int i = 0; i < n && !found; ++i) found = record(i) == answer && link(i) > 0;
    if (!found) {
      ++commentErrors;
      commentText += Num(answer) + u"、";
    }
  }
  SetStatus(u"手順エラー件数は " + Num(seqErrors) + u"件、コメントエラー件数は " + Num(commentErrors) + u"件です。");
  PlayCue(0);
  if (seqErrors > 0 || commentErrors > 0)
    GetPlatform().MsgBox(seqText + u"\r\n" + commentText, Buttons::OK, Icon::Information, form4text::CheckTitle);
}

}  // namespace sol
