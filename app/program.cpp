#include "app/program.h"

#include "core/file_command.h"
#include "core/file_transaction.h"
#include "core/messages.h"
#include "core/record_file.h"
#include "core/replay.h"
#include "problems/problem_import.h"
#include "problems/texts.h"
#include "ui/display_menu.h"

namespace sol {

Program::Program(Platform& platform, const std::string& dataDir, const std::string& shareDir)
    : MainBoard(State, platform),
      Library(State, platform),
      Problems(State, platform),
      StudyWindow(State, platform),
      platform_(platform) {
  SetDataDir(State, dataDir);
  if (!shareDir.empty()) SetShareDir(State, shareDir);
  MainBoard.Library = &Library;
  // The library is rebuilt from the files each time it opens, also when an
  // adjournment left it loaded unseen.
  MainBoard.OpenLibrary = [this] {
    Library.Unload();
    Library.Show(true);
  };
  MainBoard.CloseLibrary = [this] { Library.Unload(); };
  Library.PlayCue = [this](int kind) { MainBoard.PlayCue(kind); };
  Library.ShowMainReset = [this] { MainBoard.ShowReset(); };
  Library.ShowMainReplay = [this](const Replayed& shown) { MainBoard.ShowReplay(shown); };
  MainBoard.OpenProblems = [this](int lessonMode) {
    State.LessonMode = static_cast<int16_t>(lessonMode);
    Problems.Show();
  };
  Problems.HideMainBoard = [this] { MainBoard.Hide(); };
  Problems.Study = &Study;
  StudyWindow.Study = &Study;
  Problems.OpenStudyWindow = [this] {
    StudyWindow.Unload();
    StudyWindow.Show(true);
  };
  StudyWindow.Changed = [this] { Problems.ShowStudyMarks(); };
  Problems.ShowMainBoard = [this] { MainBoard.Show(); };
  Library.MainSlider = &MainBoard.Slider1;
  Library.MainStatus = &MainBoard.StatusBar1;
  MainBoard.ChooseCoordinates = [this](CoordinateStyle style) { ChooseCoordinates(style, MainBoard); };
  Problems.ChooseCoordinates = [this](CoordinateStyle style) { ChooseCoordinates(style, Problems); };
  SetNotWritableNotice(
      [this] { platform_.MsgBox(msg::CannotWrite, Buttons::OK, Icon::Information, msg::CannotWriteTitle); });
}

void Program::ShowCoordinates(CoordinateStyle style) {
  for (Form* f : Forms()) {
    if (f->Board()) f->Board()->SetCoordinates(style);
    TickCoordinates(f->MenuBar, style);
  }
}

void Program::ChooseCoordinates(CoordinateStyle style, Form& from) {
  ShowCoordinates(style);
  State.Preferences.Set(CoordinatesKey, CoordinatesValue(style));
  try {
    State.Preferences.Save();
  } catch (const FileError&) {
    if (from.Status()) from.Status()->SetText(msg::SettingsNotSaved);
  }
}

Program::~Program() { SetNotWritableNotice({}); }

void Program::Start(const std::vector<std::string>& arguments) {
  // A command that a crash cut short is undone before anything is read,
  // by the one process that may write the folder.
  bool recovered = true;
  Recovery recovery = Recovery::Nothing;
  try {
    if (!ReadOnly()) recovery = RecoverFiles(State.DataDir, State.DataDir + ScratchFileName());
  } catch (const FileError&) {
    recovered = false;
  }
  State.Preferences.Load(State.DataDir + SettingsFileName);
  const std::optional<std::string> coordinates = State.Preferences.Get(CoordinatesKey);
  ShowCoordinates(ParseCoordinates(coordinates.value_or("")).value_or(CoordinateStyle::Japanese));
  MainBoard.Show();
  if (!recovered) MainBoard.SetStatus(msg::NoFile);
  if (recovery == Recovery::SetAside)
    platform_.MsgBox(msg::JournalSetAside, Buttons::OK, Icon::Information, msg::CannotWriteTitle);
  if (recovered && !ReadOnly()) FillStarterLibrary();
  if (!arguments.empty()) MainBoard.OpenSgfFiles(arguments);
}

void Program::FillStarterLibrary() {
  // Only a data folder that has never held a problem is filled; problems a
  // player has stored or deleted are never touched.
  long stored = 0;
  try {
    bool library = false;
    for (int category = 1; category <= 4; ++category)
      library = library || !StarterFiles(StarterLibrary(State), category).empty();
    if (!library || !HasNoProblemFiles(State)) return;
  } catch (const FileError&) {
    return;
  }
  if (RunFileCommand(State, {&MainBoard.StatusBar1}, [&] {
        stored = StoreStarterLibrary(State);
        return stored > 0;
      }) == FileCommand::Done)
    MainBoard.SetStatus(form4text::StarterFilled(stored));
}

std::vector<Form*> Program::Forms() { return {&MainBoard, &Library, &Problems, &StudyWindow}; }

Form* Program::FindForm(const std::string& name) {
  for (Form* f : Forms())
    if (f->FormName() == name) return f;
  return nullptr;
}

bool Program::Accepts(const Form& form) {
  if (form.State() != WindowState::Shown) return false;
  for (Form* f : Forms())
    if (f != &form && f->State() == WindowState::Shown && f->Modal()) return false;
  return true;
}

}  // namespace sol
