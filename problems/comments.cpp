// Comments on answer sequences: registering, overwriting, showing and
// deleting them.
#include "core/input_check.h"
#include "core/cp932.h"
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

  const Str line = List2.List(selected);
  const Str key = Mid(line, 7, 4) + RecordDigits(static_cast<int>(Val(Mid(line, 41, 10))));
  const int problem = static_cast<int>(Val(Mid(line, 1, 10)));
  CommentRecord record;
  record.ProblemNumber = static_cast<int16_t>(Val(Mid(line, 1, 10)));
  record.AnswerRecord = static_cast<int16_t>(Val(Mid(line, 41, 10)));
  // What the list shows is what the file keeps: the text cut to the field.
  record.CommentText = Decode(EncodeFixed(*comment, CommentRecord::TextWidth));
  // Overwriting is a removal and an append: both or neither, or the head
  // would keep its old comment beside the new one, or lose both.
  bool asked = false;
  if (RunFileCommand([&] {
        for (int i = 0; i < List3.ListCount(); ++i) {
          if (Left(List3.List(i), 9) != key) continue;
          if (p.MsgBox(form4text::Overwrite, Buttons::OKCancel, Icon::Question, form4text::Confirm) != Answer::OK) {
            asked = true;
            return false;
          }
          List3.RemoveItem(i);
          DeleteCommentKeys[1] = key;
          CompactComments();
          break;
        }
        if (AppendComment(s_, k, record)) return true;
        p.MsgBox(form4text::CannotRegister, Buttons::OK, Icon::Information, form4text::InputLimitTitle);
        return false;
      }) != FileCommand::Done) {
    // An overwrite the player declined changed nothing.
    if (!asked) LoadCommentLines(problem);
    return;
  }
  const int added = List3.AddItem(key + record.CommentText);
  List3.SetListIndex(added);
  List3.SetTopIndex(added);
  SetStatus(form4text::Registered);
  PlayCue(0);
}

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

void Form4::Command10_Click() {
  Platform& p = GetPlatform();
  const int selected = List3.ListIndex();
  if (selected < 0) {
    p.MsgBox(form4text::SelectListFirst, Buttons::OKCancel, Icon::Question, form4text::Confirm);
    return;
  }
  const Str line = List3.List(selected);
  DeleteCommentKeys[1] = Left(line, 9);
  if (p.MsgBox(u"コメント" + Trim(line) + u"を削除してよいですか", Buttons::OKCancel, Icon::Question,
               form4text::Confirm) != Answer::OK)
    return;
  List3.RemoveItem(selected);
  if (RunFileCommand([this] {
        CompactComments();
        return true;
      }) != FileCommand::Done) {
    LoadCommentLines(static_cast<int>(Val(Left(line, 4))));
    return;
  }
  SetStatus(form4text::Deleted);
  PlayCue(0);
}

void Form4::CompactComments() {
  std::vector<CommentRef> refs;
  for (int i = 1; i <= MoveBufferSize; ++i) {
    const Str& key = DeleteCommentKeys[i];
    if (key.empty() || key[0] < u'0' || key[0] > u'9') break;
    refs.push_back({static_cast<int16_t>(Val(Left(key, 4))), static_cast<int16_t>(Val(Mid(key, 5, 5)))});
  }
  for (Str& key : DeleteCommentKeys) key = u" ";
  RemoveComments(s_, s_.CategoryNo, refs);
}

}  // namespace sol
