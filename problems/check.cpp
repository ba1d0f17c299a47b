// The data check of the loaded problem: every continuing sequence must lead
// back to the problem position, every comment must belong to a sequence head.
#include <vector>

#include "core/text.h"
#include "problems/form4.h"
#include "problems/store.h"
#include "problems/texts.h"

namespace sol {

void Form4::Command13_Click() {
  const int n = List2.ListCount();
  // The fields are read once: the walks below look at them again and again.
  std::vector<long> moveIndexes(n), records(n), links(n + 1, 0);
  for (int i = 0; i < n; ++i) {
    moveIndexes[i] = AnswerField(i, 2);
    records[i] = AnswerField(i, 5);
    links[i] = AnswerField(i, 6);
  }
  auto moveIndex = [&](int i) { return moveIndexes[i]; };
  auto record = [&](int i) { return records[i]; };
  auto link = [&](int i) { return links[i]; };

  // Whether the walk from line `from` reaches the problem position. The walk
  // depends on its line alone and each step moves to an earlier line, so it
  // ends, and what one walk finds holds for every line it passed: a long
  // chain of continuations is walked once, not once per head.
  std::vector<signed char> reaches(n, -1);
  auto Reaches = [&](int from) {
    std::vector<int> passed;
    int cur = from;
    bool ok = false;
    for (;;) {
      if (reaches[cur] >= 0) {
        ok = reaches[cur] == 1;
        break;
      }
      passed.push_back(cur);
      const long mi = moveIndex(cur);
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
    }
    for (int p : passed) reaches[p] = ok ? 1 : 0;
    return ok;
  };

  int seqErrors = 0, commentErrors = 0;
  Str seqText = u"手順エラー：", commentText = u"コメントエラー：";
  for (int i = 0; i < n; ++i) {
    if (link(i) == 0 || link(i) == StartsAtProblem) continue;
    const bool ok = Reaches(i);
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
