#include "problems/study_window.h"

#include <array>
#include <vector>

#include "core/file_command.h"
#include "core/game_list.h"
#include "core/text.h"
#include "core/user_files.h"
#include "problems/store.h"
#include "problems/study_texts.h"
#include "problems/texts.h"
#include "sgf/sgf_files.h"

namespace sol {

namespace {

const char16_t* const CategoryNames[] = {u"", u"手筋", u"ヨセ", u"詰碁", u"定石"};

// A name in the list's fixed columns: CJK characters take two columns, so
// names are padded with full-width blanks.
Str Column(const Str& name, int chars) {
  Str s = Left(Trim(name), chars);
  while (static_cast<int>(s.size()) < chars) s += u"　";
  return s;
}

std::array<Str, 3> SubCategoryNames(const GameState& s, int category) {
  std::array<Str, 3> names = {u"基本", u"応用", u"重要"};
  if (const std::optional<Str> text = ReadSubCategoryNames(s, category))
    for (int i = 0; i < 3; ++i) names[static_cast<size_t>(i)] = Mid(*text, 1 + 4 * i, 3);
  return names;
}

}  // namespace

Form5::Form5(GameState& state, Platform& platform) : Form("Form5", platform), s_(state) {
  Caption = studytext::Title;
  Label1.SetCaption(studytext::Title);
  Label2.SetCaption(u"○ 一度で正解　△ 間違えた後に正解　× 不正解（それぞれ最後の挑戦）");
  Command1.SetCaption(studytext::ExportCsv);
  Command2.SetCaption(studytext::Clear);
  Command3.SetCaption(studytext::Close);
  for (Control* c :
       std::initializer_list<Control*>{&Label1, &List1, &Label2, &Command1, &Command2, &Command3, &StatusBar1})
    Register(*c);
  Command1.OnClick = [this] { Command1_Click(); };
  Command2.OnClick = [this] { Command2_Click(); };
  Command3.OnClick = [this] { Command3_Click(); };
  List1.SetHelpText(
      u"分類と区分ごとに、正解した問題、一度で正解した問題、不正解の問題、挑戦した問題の数と、最後に解いた日です。");
  Command1.SetHelpText(u"すべての挑戦を１行ずつ、表計算ソフトで読めるCSVファイルに書き出します。");
  Command2.SetHelpText(u"学習記録をすべて消去します。問題は消えません。");
  Command3.SetHelpText(u"この画面を閉じます。");
}

void Form5::Load() {
  StatusBar1.SetText(u"");
  ShowLines();
}

void Form5::ShowLines() {
  List1.Clear();
  if (Study == nullptr || !Study->Available()) {
    StatusBar1.SetText(studytext::Unavailable);
    return;
  }
  try {
    for (int k = 1; k <= 4; ++k) {
      std::map<int, std::uint64_t> fingerprints = SetupFingerprints(s_, k);
      std::map<int, long> all;  // by sub-category base
      // A problem may have no set-up stones at all.
      const std::uint64_t none = SetupFingerprint({});
      ForEachProblemListRecord(s_, k, [&](const ProblemListRecord& r) {
        ++all[k == 4 ? 0 : r.ProblemNumber / 1000 * 1000];
        fingerprints.emplace(r.ProblemNumber, none);
      });
      const std::vector<StudySummary> summaries = Summarize(k, Study->Latest(k, fingerprints));
      const std::array<Str, 3> names = SubCategoryNames(s_, k);
      for (const StudySummary& sum : summaries) {
        const Str name =
            k == 4 ? Str(u"") : names[static_cast<size_t>(std::clamp(sum.SubCategoryBase / 1000, 1, 3) - 1)];
        Str line = Column(CategoryNames[k], 2) + u" " + Column(name, 3) + u" 正解" + RightAlign(sum.Solved, 6) +
                   u"  一度で" + RightAlign(sum.FirstTry, 6) + u"  不正解" + RightAlign(sum.Missed, 6) + u"  挑戦" +
                   RightAlign(sum.Tried, 6) + u"／全" + RightAlign(all[sum.SubCategoryBase], 6) + u"問  最終 " +
                   (sum.LastWhen.empty() ? Str(u"－") : FromUtf8(sum.LastWhen.substr(0, 10)));
        List1.AddItem(line);
      }
    }
  } catch (const FileError& e) {
    StatusBar1.SetText(FileErrorText(e));
  }
}

void Form5::Command1_Click() {
  if (Study == nullptr || !Study->Available()) return;
  const std::vector<std::string> chosen = GetPlatform().ChooseFiles(FileDialog::Save, studytext::ExportTitle,
                                                                    studytext::CsvFilter, ToUtf8(studytext::CsvName));
  if (chosen.empty()) return;
  try {
    WriteUserFile(chosen.front(), Study->ExportCsv());
  } catch (const UserFileError& e) {
    GetPlatform().MsgBox(UserFileErrorText(e), Buttons::OK, Icon::Information, studytext::ExportTitle);
    return;
  }
  StatusBar1.SetText(studytext::Exported);
}

void Form5::Command2_Click() {
  if (Study == nullptr || !Study->Available()) return;
  if (GetPlatform().MsgBox(studytext::ClearQuestion, Buttons::OKCancel, Icon::Question, form4text::Confirm) !=
      Answer::OK)
    return;
  if (!Study->ClearAll()) {
    GetPlatform().MsgBox(Study->LastError(), Buttons::OK, Icon::Information, form4text::Confirm);
    return;
  }
  ShowLines();
  StatusBar1.SetText(studytext::Cleared);
  if (Changed) Changed();
}

void Form5::Command3_Click() { Unload(); }

}  // namespace sol
