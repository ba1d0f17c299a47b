// Comments on answer sequences.
#include "core/text.h"
#include "problems/form4.h"

namespace sol {

void Form4::CommentListClick() {
  const int selected = List3.ListIndex();
  if (selected < 0) return;
  const Str line = List3.List(selected);
  Text2.SetText(Mid(line, 10));
  const long r = Val(Mid(line, 5, 5));
  for (int i = 0; i < List2.ListCount(); ++i) {
    if (AnswerField(i, 5) != r) continue;
    List2.SetListIndex(-1);
    KeepCommentText = 1;
    List2.SetListIndex(i);
    return;
  }
}

}  // namespace sol
