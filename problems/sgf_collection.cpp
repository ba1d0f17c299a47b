// SGF取込み and SGF書出し of the registration modes: problem collections in
// from SGF files into the current category and sub-category, and out again;
// and the starter library that comes with the program.
#include <algorithm>
#include <map>

#include "core/file_system.h"
#include "core/record_file.h"
#include "core/text.h"
#include "core/user_files.h"
#include "problems/form4.h"
#include "problems/problem_import.h"
#include "problems/sgf_problems.h"
#include "problems/store.h"
#include "problems/texts.h"
#include "sgf/sgf_files.h"

namespace sol {

namespace {

constexpr const char* FolderKey = "sgf.problems.folder";

std::string WithSlash(std::string folder) {
  if (!folder.empty() && folder.back() != '/') folder += '/';
  return folder;
}

// The stored records of some problems of one category, by number.
struct ProblemData {
  Str Title;
  std::vector<ProblemMoveRecord> Setup;
  std::vector<AnswerMoveRecord> Answers;
  std::vector<CommentRecord> Comments;
};

std::map<int, ProblemData> ReadProblemData(const GameState& s, int category, const std::vector<int>& numbers) {
  std::map<int, ProblemData> data;
  for (int n : numbers) data[n];
  auto find = [&data](int n) { return data.find(n); };
  for (const auto& r : ScanProblemList(s, category))
    if (auto it = find(r.value.ProblemNumber); it != data.end()) it->second.Title = Trim(r.value.ProblemText);
  for (const auto& r : ScanProblemMoves(s, category))
    if (auto it = find(r.value.ProblemNumber); it != data.end()) it->second.Setup.push_back(r.value);
  for (const auto& r : ScanAnswers(s, category))
    if (auto it = find(r.value.ProblemNumber); it != data.end()) it->second.Answers.push_back(r.value);
  for (const auto& r : ScanComments(s, category))
    if (auto it = find(r.value.ProblemNumber); it != data.end()) it->second.Comments.push_back(r.value);
  return data;
}

std::string ExportName(int number, const Str& title) {
  Str name = Num(number);
  if (!title.empty()) name += u" " + title;
  return ToUtf8(SafeFileName(name)) + ".sgf";
}

}  // namespace

bool Form4::RefuseLectureMode() {
  if (s_.LessonMode % 2 == 0) return false;
  GetPlatform().MsgBox(form4text::RegistrationOnly, Buttons::OK, Icon::Information, form4text::InputErrorTitle);
  return true;
}

void Form4::MenuSgfImport() {
  if (RefuseLectureMode()) return;
  const std::vector<std::string> paths = GetPlatform().ChooseFiles(
      FileDialog::OpenMany, form4text::SgfImportTitle, SgfFilter, s_.Preferences.Get(FolderKey).value_or(""));
  if (paths.empty()) return;
  s_.Preferences.Set(FolderKey, DirOf(paths.front()));
  ImportProblemFiles({{paths, Vars.SubCategoryBase}}, form4text::SgfImportTitle);
}

void Form4::MenuSgfFolderImport() {
  if (RefuseLectureMode()) return;
  Platform& p = GetPlatform();
  const std::vector<std::string> folders = p.ChooseFiles(FileDialog::Folder, form4text::SgfFolderImportTitle, {},
                                                         s_.Preferences.Get(FolderKey).value_or(""));
  if (folders.empty()) return;
  std::vector<std::string> paths;
  try {
    paths = ListUserFiles(folders.front(), ".sgf");
  } catch (const UserFileError& e) {
    p.MsgBox(UserFileErrorText(e), Buttons::OK, Icon::Information, form4text::SgfImportTitle);
    return;
  }
  s_.Preferences.Set(FolderKey, folders.front());
  if (paths.empty()) {
    p.MsgBox(form4text::NoSgfInFolder, Buttons::OK, Icon::Information, form4text::SgfImportTitle);
    return;
  }
  ImportProblemFiles({{paths, Vars.SubCategoryBase}}, form4text::SgfImportTitle);
}

void Form4::MenuStarterImport() {
  if (RefuseLectureMode()) return;
  std::vector<std::pair<std::vector<std::string>, int>> batches;
  for (const std::string& path : StarterFiles(StarterLibrary(s_), s_.CategoryNo))
    batches.push_back({{path}, StarterBase(FileNameOf(path))});
  if (batches.empty()) {
    GetPlatform().MsgBox(form4text::NoStarterLibrary, Buttons::OK, Icon::Information, form4text::StarterTitle);
    return;
  }
  ImportProblemFiles(batches, form4text::StarterTitle);
}

void Form4::ImportProblemFiles(const std::vector<std::pair<std::vector<std::string>, int>>& batches, const Str& title) {
  std::vector<std::pair<ReadProblems, int>> read;
  for (const auto& [paths, base] : batches) read.emplace_back(ReadProblemFiles(paths, s_.CategoryNo), base);
  std::vector<int> numbers;
  std::vector<Str> skipped, notes;
  const FileCommand done = RunFileCommand([&] {
    numbers.clear();
    for (const auto& [problems, base] : read) {
      StoredProblems stored = StoreProblems(s_, s_.CategoryNo, base, problems.Problems);
      numbers.insert(numbers.end(), stored.Numbers.begin(), stored.Numbers.end());
      skipped.insert(skipped.end(), stored.Skipped.begin(), stored.Skipped.end());
    }
    return true;
  });
  for (const auto& [problems, base] : read) {
    skipped.insert(skipped.end(), problems.Skipped.begin(), problems.Skipped.end());
    notes.insert(notes.end(), problems.Notes.begin(), problems.Notes.end());
  }
  // A file error is on the status line, as for every writing command, and
  // nothing was taken.
  if (done != FileCommand::Done) return;
  LoadProblemList();
  if (!numbers.empty()) {
    const int first = *std::min_element(numbers.begin(), numbers.end());
    for (int i = 0; i < List1.ListCount(); ++i)
      if (ProblemNumberAt(i) == first) {
        List1.SetListIndex(i);
        List1.SetTopIndex(i);
        break;
      }
    PlayCue(0);
  }
  SetStatus(form4text::ProblemsTaken(static_cast<long>(numbers.size())));
  ShowImportSummary(numbers, skipped, notes, title);
}

void Form4::ShowImportSummary(std::vector<int> numbers, const std::vector<Str>& skipped, const std::vector<Str>& notes,
                              const Str& title) {
  std::sort(numbers.begin(), numbers.end());
  const Str head = numbers.empty()
                       ? form4text::ProblemsTaken(0)
                       : form4text::ProblemsTakenAt(static_cast<long>(numbers.size()), numbers.front(), numbers.back());
  Str text = head;
  if (!skipped.empty()) text += u"\n\n" + NotesText(form4text::SkippedHeading, skipped);
  if (!notes.empty()) text += u"\n\n" + NotesText(form4text::ReadNotesHeading, notes);
  // A long summary is kept whole in a text file beside the data files.
  constexpr size_t shown = 12;
  if (skipped.size() > shown || notes.size() > shown) {
    Str all = head + u"\n";
    if (!numbers.empty()) {
      all += u"\n";
      for (int n : numbers) all += Num(n) + u"\n";
    }
    for (const auto& [heading, lines] :
         {std::pair{form4text::SkippedHeading, &skipped}, std::pair{form4text::ReadNotesHeading, &notes}}) {
      if (lines->empty()) continue;
      all += u"\n" + heading + u"\n";
      for (const Str& line : *lines) all += u"・" + line + u"\n";
    }
    try {
      WriteUserFile(s_.DataDir + ToUtf8(form4text::SummaryFileName), ToUtf8(all));
      text += u"\n\n" + form4text::SummaryFileNote(form4text::SummaryFileName);
    } catch (const UserFileError& e) {
      text += u"\n\n" + UserFileErrorText(e);
    }
  }
  GetPlatform().MsgBox(text, Buttons::OK, Icon::Information, title);
}

void Form4::MenuSgfExport() {
  if (RefuseLectureMode()) return;
  Platform& p = GetPlatform();
  const std::string start = WithSlash(s_.Preferences.Get(FolderKey).value_or(""));
  std::vector<int> numbers;
  const int selected = SelectedProblem();
  const bool joseki = s_.CategoryNo == 4;
  if (selected > 0) {
    numbers.push_back(selected);
  } else {
    for (int i = 0; i < List1.ListCount(); ++i) {
      const int n = ProblemNumberAt(i);
      if (joseki || (n > Vars.SubCategoryBase && n < Vars.SubCategoryBase + 1000)) numbers.push_back(n);
    }
  }
  if (numbers.empty()) {
    p.MsgBox(form4text::NothingToExport, Buttons::OK, Icon::Information, form4text::SgfExportTitle);
    return;
  }
  std::map<int, ProblemData> data;
  try {
    data = ReadProblemData(s_, s_.CategoryNo, numbers);
  } catch (const FileError& e) {
    SetStatus(FileErrorText(e));
    return;
  }
  bool oneFile = true;
  if (numbers.size() > 1) {
    const Answer a = p.MsgBox(form4text::ExportWhich, Buttons::YesNoCancel, Icon::Question, form4text::SgfExportTitle);
    if (a == Answer::Cancel) return;
    oneFile = a == Answer::Yes;
  }
  int dropped = 0;
  auto exported = [&](int n) {
    const ProblemData& d = data[n];
    ExportedProblem e = ExportProblem(d.Title, d.Setup, d.Answers, d.Comments);
    dropped += e.DroppedSequences;
    return e.Sgf;
  };
  int written = 0;
  try {
    if (oneFile) {
      const std::string suggested = numbers.size() == 1 ? ExportName(numbers.front(), data[numbers.front()].Title)
                                                        : ToUtf8(SafeFileName(Label3.Caption())) + ".sgf";
      const std::vector<std::string> paths =
          p.ChooseFiles(FileDialog::Save, form4text::SgfExportTitle, SgfFilter, start + suggested);
      if (paths.empty()) return;
      std::string collection;
      for (int n : numbers) collection += exported(n) + "\n";
      WriteUserFile(paths.front(), collection);
      s_.Preferences.Set(FolderKey, DirOf(paths.front()));
      written = static_cast<int>(numbers.size());
    } else {
      const std::vector<std::string> folders =
          p.ChooseFiles(FileDialog::Folder, form4text::SgfExportFolderTitle, {}, start);
      if (folders.empty()) return;
      const std::string folder = WithSlash(folders.front());
      s_.Preferences.Set(FolderKey, folders.front());
      for (int n : numbers) {
        const std::string name = ExportName(n, data[n].Title);
        std::string path = folder + name;
        // A file of that name already there is kept.
        for (int k = 2; Files().Exists(path); ++k)
          path = folder + name.substr(0, name.size() - 4) + " (" + std::to_string(k) + ").sgf";
        WriteUserFile(path, exported(n));
        ++written;
      }
    }
  } catch (const UserFileError& e) {
    // Files written before the failure stay; the status says how many.
    p.MsgBox(UserFileErrorText(e), Buttons::OK, Icon::Information, form4text::SgfExportTitle);
    SetStatus(written > 0 ? form4text::ProblemsExported(written) : UserFileErrorText(e));
    return;
  }
  SetStatus(form4text::ProblemsExported(written));
  if (written > 0) PlayCue(0);
  if (dropped > 0)
    p.MsgBox(form4text::SequencesDropped(dropped), Buttons::OK, Icon::Information, form4text::SgfExportTitle);
}

}  // namespace sol
