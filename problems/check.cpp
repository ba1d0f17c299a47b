// The data check of the loaded problem: every continuing sequence must lead
// back to the problem position, every comment must belong to a sequence head.
#include <cstdlib>
#include <vector>

#include "core/text.h"
#include "problems/form4.h"
#include "problems/store.h"
#include "problems/texts.h"

namespace sol {

void Form4::Command13_Click() {
  std::vector<int> commentRecords;
  // A comment key holds the record number without its sign.
  for (const CommentRecord& c : comments_) commentRecords.push_back(std::abs(c.AnswerRecord));
  const AnswerCheck check = answers_.Check(commentRecords);
  Str seqText = u"手順エラー：", commentText = u"コメントエラー：";
  for (int r : check.BadSequences) seqText += Num(r) + u"、";
  for (int r : check.BadComments) commentText += Num(r) + u"、";
  const size_t seqErrors = check.BadSequences.size(), commentErrors = check.BadComments.size();
  SetStatus(u"手順エラー件数は " + Num(static_cast<long>(seqErrors)) + u"件、コメントエラー件数は " +
            Num(static_cast<long>(commentErrors)) + u"件です。");
  PlayCue(0);
  if (seqErrors > 0 || commentErrors > 0)
    GetPlatform().MsgBox(seqText + u"\r\n" + commentText, Buttons::OK, Icon::Information, form4text::CheckTitle);
}

}  // namespace sol
