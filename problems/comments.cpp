// Comments on answer sequences: registering, overwriting, showing and
// deleting them.
#include <cstdlib>
#include <utility>
#include <vector>

#include "core/cp932.h"
#include "core/input_check.h"
#include "core/text.h"
#include "problems/form4.h"
#include "problems/store.h"
#include "problems/texts.h"

namespace sol {

void Form4::Command9_Click() {
  Platform& p = GetPlatform();
  const int k = s_.CategoryNo;
  const int16_t end = s_.BlockEnd[k].CommentsEnd;
  if (BlockFull(ProblemFile::Comments, k, end)) {
    p.MsgBox(form4text::CannotRegister, Buttons::OK, Icon::Information, form4text::InputLimitTitle);
    return;
  }
  const int selected = List2.ListIndex();
  if (selected < 0) {
    p.MsgBox(form4text::SelectSequenceHead, Buttons::OK, Icon::Information, form4text::Confirm);
    return;
  }
  // A text box left blank holds no comment.
  if (Trim(Text2.Text()).empty()) {
    p.MsgBox(form4text::EnterComment, Buttons::OK, Icon::Information, form4text::Confirm);
    return;
  }
  const std::optional<Str> comment = CheckedInput(p, Text2.Text());
  if (!comment) return;

  const AnswerLine& head = answers_.At(selected);
  const int problem = head.Problem;
  CommentRecord record;
  record.ProblemNumber = static_cast<int16_t>(problem);
  record.AnswerRecord = static_cast<int16_t>(head.Record);
  // What the list shows is what the file keeps: the text cut to the field.
  record.CommentText = Decode(EncodeFixed(*comment, CommentRecord::TextWidth));
  // Overwriting is a removal and an append: both or neither, or the head
  // would keep its old comment beside the new one, or lose both.
  bool asked = false;
  if (RunFileCommand([&] {
        if (const int i = FindComment(problem, head.Record); i >= 0) {
          if (p.MsgBox(form4text::Overwrite, Buttons::OKCancel, Icon::Question, form4text::Confirm) != Answer::OK) {
            asked = true;
            return false;
          }
          QueueCommentRemoval(comments_[static_cast<size_t>(i)]);
          RemoveCommentLine(i);
          CompactComments();
        }
        if (AppendComment(s_, k, record)) return true;
        p.MsgBox(form4text::CannotRegister, Buttons::OK, Icon::Information, form4text::InputLimitTitle);
        return false;
      }) != FileCommand::Done) {
    // An overwrite the player declined changed nothing.
    if (!asked) LoadCommentLines(problem);
    return;
  }
  const int added = AddCommentLine(record);
  List3.SetListIndex(added);
  List3.SetTopIndex(added);
  SetStatus(form4text::Registered);
  PlayCue(0);
}

void Form4::CommentListClick() {
  const int selected = List3.ListIndex();
  if (selected < 0) return;
  const CommentRecord& c = comments_[static_cast<size_t>(selected)];
  Text2.SetText(c.CommentText);
  // A comment key holds the record number without its sign.
  const int r = std::abs(c.AnswerRecord);
  for (int i = 0; i < answers_.Count(); ++i) {
    if (answers_.At(i).Record != r) continue;
    List2.SetListIndex(-1);
    Vars.KeepCommentText = true;
    List2.SetListIndex(i);
    return;
  }
}

void Form4::Command10_Click() {
  Platform& p = GetPlatform();
  const int selected = List3.ListIndex();
  if (selected < 0) {
    p.MsgBox(form4text::SelectListFirst, Buttons::OKCancel, Icon::Question, form4text::Confirm);
    return;
  }
  const Str line = List3.List(selected);
  const CommentRecord c = comments_[static_cast<size_t>(selected)];
  QueueCommentRemoval(c);
  if (p.MsgBox(u"コメント" + Trim(line) + u"を削除してよいですか", Buttons::OKCancel, Icon::Question,
               form4text::Confirm) != Answer::OK)
    return;
  RemoveCommentLine(selected);
  if (RunFileCommand([this] {
        CompactComments();
        return true;
      }) != FileCommand::Done) {
    LoadCommentLines(c.ProblemNumber);
    return;
  }
  SetStatus(form4text::Deleted);
  PlayCue(0);
}

void Form4::QueueCommentRemoval(const CommentRecord& c) {
  DeleteCommentKeys[1] = CommentKey(c.ProblemNumber, c.AnswerRecord);
  // The key cannot tell a problem number of fewer than four digits from the
  // record number after it, nor keep a record number's sign: the record
  // itself is what goes.
  commentRemovals_ = {{c.ProblemNumber, c.AnswerRecord}};
}

void Form4::CompactComments() {
  const std::vector<CommentRef> refs = std::exchange(commentRemovals_, {});
  for (Str& key : DeleteCommentKeys) key = u" ";
  RemoveComments(s_, s_.CategoryNo, refs);
}

}  // namespace sol
