// The capacity report of the library window: how many more games fit, and
// how much room each problem category has left in each problem file.
#include "core/file_system.h"
#include "core/messages.h"
#include "core/text.h"
#include "problems/store.h"
#include "records/form3.h"

namespace sol {

namespace {

struct ReportRow {
  const char16_t* label;
  ProblemFile file;
  const char16_t* unit;
};

}  // namespace

void Form3::MenuRemaining() {
  static const char16_t* categories[] = {u"手筋", u"ヨセ", u"詰碁", u"定石"};
  static const ReportRow rows[] = {
      {u"問題　　= ", ProblemFile::List, u"問"},
      {u"問題手順= ", ProblemFile::Moves, u"手"},
      {u"解答手順= ", ProblemFile::Answers, u"手"},
      {u"コメント= ", ProblemFile::Comments, u"個"},
  };
  std::vector<Str> lines;
  lines.push_back(u"棋譜　　　　= " + Num(60 - List1.ListCount()) + u"個");
  for (int c = 1; c <= 4; ++c) {
    s_.CategoryNo = static_cast<int16_t>(c);
    bool known = true;
    try {
      FindBlockEnds(s_, c);
    } catch (const FileError&) {
      StatusBar1.SetText(msg::NoFile);
      known = false;
    }
    for (const ReportRow& r : rows) {
      const Str value = known ? Num(ReportedRoom(r.file, c, BlockEndOf(s_.BlockEnd[c], r.file))) : Str(u"？");
      lines.push_back(Str(categories[c - 1]) + r.label + value + r.unit);
    }
  }
  for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
    if (i < List2.ListCount())
      List2.SetList(i, lines[i]);
    else
      List2.AddItem(lines[i]);
  }
}

}  // namespace sol
