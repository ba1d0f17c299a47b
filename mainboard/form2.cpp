#include "mainboard/form2.h"

#include "core/capture.h"
#include "core/cues.h"
#include "core/messages.h"
#include "core/record_file.h"
#include "core/replay.h"
#include "core/text.h"
#include "mainboard/help_texts.h"
#include "mainboard/texts.h"
#include "ui/display_menu.h"
#include "ui/lesson_menus.h"

namespace sol {

Form2::Form2(GameState& state, Platform& platform)
    : Form("Form2", platform), MMControl1("MMControl1", platform), s_(state) {
  Caption = form2text::Caption;
  Label1.SetCaption(form2text::Title);
  Option1.SetCaption(u"対局モード");
  Option2.SetCaption(u"自由(有）モード");
  Option3.SetCaption(u"自由（無）モード");
  Option4.SetCaption(u"終局モード");
  Command1.SetCaption(u"１手戻す");
  Command4.SetCaption(u"１手進む");
  Command2.SetCaption(u"初手に戻す");
  Command6.SetCaption(u"全手表示");
  Command7.SetCaption(u"途中保存");
  Command8.SetCaption(u"途中復元");
  Command3.SetCaption(u"クリア");
  Command9.SetCaption(u"クリア戻し");
  Command5.SetCaption(u"戻り");
  Label8.SetCaption(u"任意局面表示");
  Label7.SetCaption(form2text::SliderScale);
  Label2.SetCaption(u"黒側あげ石");
  Label4.SetCaption(u"白側あげ石");
  Label3.SetCaption(u"0");
  Label5.SetCaption(u"0");
  Slider1.SetRange(1, MaxMoves);

  for (Control* c : std::initializer_list<Control*>{
           &Label1,   &Cells,    &Frame1,   &Option1,  &Option2,  &Option3,  &Option4,    &Command1,  &Command4,
           &Command2, &Command6, &Command7, &Command8, &Command3, &Command9, &Command5,   &Label8,    &Slider1,
           &Label7,   &Label2,   &Label3,   &Label4,   &Label5,   &Label10,  &StatusBar1, &MMControl1})
    Register(*c);

  for (OptionButton* o : {&Option1, &Option2, &Option3, &Option4}) o->JoinGroup(&modeGroup_);
  Option1.OnClick = [this] { Option1_Click(); };
  Option2.OnClick = [this] { Option2_Click(); };
  Option3.OnClick = [this] { Option3_Click(); };
  Option4.OnClick = [this] { Option4_Click(); };
  Cells.OnMouseDown = [this](int p, int b, int sh) { BoardMouseDown(p, b, sh); };
  Command1.OnClick = [this] { Command1_Click(); };
  Command4.OnClick = [this] { Command4_Click(); };
  Command2.OnClick = [this] { Command2_Click(); };
  Command6.OnClick = [this] { Command6_Click(); };
  Command7.OnClick = [this] { Command7_Click(); };
  Command8.OnClick = [this] { Command8_Click(); };
  Command3.OnClick = [this] { Command3_Click(); };
  Command9.OnClick = [this] { Command9_Click(); };
  Slider1.OnMouseUp = [this] { Slider1_MouseUp(); };
  Command5.OnClick = [this] { Command5_Click(); };

  ApplyHelpTexts(*this);
  BuildMenus();
}

void Form2::BuildMenus() {
  auto entry = [](Menu& parent, const char* name, const char16_t* caption, std::function<void()> f = {}) {
    Menu& m = parent.Add(name, caption);
    m.OnClick = std::move(f);
    return &m;
  };
  // A command that reads, stores or plays the game leaves the print layout
  // first.
  auto onGame = [this](void (Form2::*command)()) {
    return [this, command] {
      // While the engine thinks, only the stop is taken.
      if (thinking_) return;
      LeavePrintLayout();
      (this->*command)();
    };
  };
  Menu& file = MenuBar.Add("", u"ファイル", u'F');
  entry(file, "メニューSGFを開く…", u"SGFを開く…", onGame(&Form2::MenuSgfOpen))->SetShortcut(u"Ctrl+O");
  entry(file, "メニューSGFで保存…", u"SGFで保存…", onGame(&Form2::MenuSgfSave))->SetShortcut(u"Ctrl+S");
  file.AddSeparator();
  for (int i = 1; i <= RecentFileCount; ++i)
    entry(file, ("メニュー最近のファイル" + std::to_string(i)).c_str(), u"", [this, i] { OpenRecentFile(i); });
  MenuBar.Add("メニュー棋譜", u"棋譜処理", u'K').OnClick = onGame(&Form2::MenuLibrary);
  Menu& adjourn = MenuBar.Add("", u"打ち掛け", u'U');
  entry(adjourn, "メニュー保存", u"保存", onGame(&Form2::MenuSave));
  entry(adjourn, "メニュー復元", u"復元", onGame(&Form2::MenuRestore));
  Menu& game = MenuBar.Add("", u"対局処理", u'T');
  entry(game, "メニュー握り", u"握り", onGame(&Form2::MenuNigiri));
  entry(game, "メニュー計算", u"地の計算", onGame(&Form2::MenuCount));
  game.AddSeparator();
  entry(game, "メニューコンピュータと対局…", u"コンピュータと対局…", onGame(&Form2::MenuEngineGame));
  entry(game, "メニューパス", u"パス", onGame(&Form2::MenuPass));
  entry(game, "メニューヒント", u"ヒント", onGame(&Form2::MenuHint));
  entry(game, "メニュー死に石の判定", u"死に石の判定", onGame(&Form2::MenuDeadStones));
  entry(game, "メニュー考慮を中止", u"考慮を中止", [this] { MenuStopEngine(); });
  entry(game, "メニューエンジン設定…", u"エンジン設定…", onGame(&Form2::MenuEngineSettings));
  AddLessonMenus(MenuBar, [this](int mode) {
    LeavePrintLayout();
    if (OpenProblems) OpenProblems(mode);
  });
  Menu& print = MenuBar.Add("", u"棋譜印刷", u'P');
  entry(print, "メニュー印刷準備", u"印刷準備", [this] { MenuPrintPrepare(); });
  entry(print, "メニュー印刷", u"印刷", [this] { MenuPrint(); });
  AddDisplayMenu(MenuBar, [this](CoordinateStyle style) {
    if (ChooseCoordinates) ChooseCoordinates(style);
  });
  Menu& help = MenuBar.Add("", u"ヘルプ", u'H');
  entry(help, "メニュー全体ヘルプ", u"全体ヘルプ", [this] { MenuHelpContents(); });
  entry(help, "メニュー個別ヘルプ", u"個別ヘルプ", [this] { MenuContextHelp(); });
  entry(help, "メニューバージョン情報", u"バージョン情報", [this] { MenuVersion(); });
  MenuBar.Add("メニュー終了", u"終了", u'X').OnClick = [this] { MenuExit(); };
}

void Form2::MenuLibrary() {
  if (OpenLibrary) OpenLibrary();
}

void Form2::Load() {
  ShowRecentFiles();
  Label10.SetVisible(false);
  Command5.SetVisible(false);
  SetUpPlayer(MMControl1, true);
  ResetGame(s_);
  ShowReset();
  Str status = form2text::Start;
  try {
    RecordFile moves(s_.GameMovesFile, GameMoveRecordLength);
    s_.GameMovesRecordCount = static_cast<int16_t>(std::min<long>(moves.Count(), MaxRecordNumber));
  } catch (const FileError&) {
    status = msg::NoFile;
  }
  SetStatus(status);
}

void Form2::PlayCue(int kind) { sol::PlayCue(MMControl1, kind); }

// ---- modes ----

void Form2::Option1_Click() {
  if (s_.BoardMode == FreeUnnumberedMode) s_.MoveNumber = 0;
  s_.BoardMode = GameMode;
}

void Form2::Option2_Click() {
  if (s_.BoardMode == FreeUnnumberedMode) s_.MoveNumber = 0;
  s_.BoardMode = FreeNumberedMode;
}

void Form2::Option3_Click() { s_.BoardMode = FreeUnnumberedMode; }

void Form2::Option4_Click() {
  s_.BoardMode = EndMode;
  for (int i = 1; i <= MaxMoves && s_.MoveList[i].Number != 0; ++i) BackupList[i] = s_.MoveList[i];
}

// ---- board clicks ----

void Form2::BoardMouseDown(int point, int button, int shift) {
  // The print layout's board is the figure that 印刷, 記録 and 保存 work
  // from; a stone put there would replace a move of the game.
  if (InPrintLayout()) return;
  if (thinking_) {
    SetStatus(form2text::EngineBusy);
    return;
  }
  ClickPoint = static_cast<int16_t>(point);
  ClickButton = static_cast<int16_t>(button);
  ClickShift = static_cast<int16_t>(shift);
  SetStatus(msg::OneBlank);
  const bool shiftAlone = shift == ShiftKey;
  if (s_.BoardMode == EndMode) {
    if (shiftAlone)
      EndModeFill(point, button);
    else
      EndModeDead(point, button);
    return;
  }
  if (shiftAlone)
    Relocation(point, button);
  else if (s_.BoardMode == GameMode)
    GameMove(point);
  else
    FreePlacement(point, button);
}

void Form2::GameMove(int p) {
  if (s_.Board[p] != 0) return;
  if (s_.MoveCount >= MaxMoves) {
    SetStatus(form2text::MoveLimit);
    return;
  }
  const int16_t c = s_.LastColour == 0 ? int16_t{Black} : Opponent(s_.LastColour);
  PutGameStone(p, c);
  if (EngineGameActive() && c != engineColour_) AfterPlayerMove(p, c);
}

void Form2::PutGameStone(int p, int16_t c) {
  ClearHint();
  s_.Board[p] = c;
  ++s_.MoveNumber;
  ++s_.MoveCount;
  s_.MoveList[s_.MoveCount] = {s_.MoveNumber, c, static_cast<int16_t>(p)};
  ShowPlacement(p, c, s_.MoveNumber, PlaceStone(s_, p, c, s_.MoveNumber));
  Slider1.SetValue(s_.MoveNumber);
}

void Form2::FreePlacement(int p, int button) {
  if (s_.Board[p] != 0) return;
  if (button != ButtonLeft && button != ButtonRight) return;
  if (s_.MoveCount >= MaxMoves) {
    SetStatus(form2text::MoveLimit);
    return;
  }
  const int16_t colour = button == ButtonLeft ? Black : White;
  s_.Board[p] = colour;
  ++s_.MoveNumber;
  ++s_.MoveCount;
  const int16_t number = s_.BoardMode == FreeNumberedMode ? s_.MoveNumber : 0;
  s_.MoveList[s_.MoveCount] = {number, colour, static_cast<int16_t>(p)};
  ShowPlacement(p, colour, number, PlaceStone(s_, p, colour, number));
}

void Form2::Relocation(int p, int button) {
  if (button == ButtonLeft) {
    if (s_.Board[p] == 0) return;
    Cells.SetPicture(p, PictureNone);
    Cells.SetCaption(p, u" ");
    s_.Board[p] = 0;
    for (int i = 1; i <= MaxMoves && s_.MoveList[i].Colour > 0; ++i)
      if (s_.MoveList[i].Point == p) {
        HeldEntry = static_cast<int16_t>(i);
        HeldPoint = static_cast<int16_t>(p);
      }
    return;
  }
  if (button == ButtonRight) {
    if (s_.Board[p] != 0 || HeldEntry < 1 || HeldEntry > MaxMoves) return;
    MoveEntry& e = s_.MoveList[HeldEntry];
    if (e.Point != HeldPoint || s_.Board[HeldPoint] != 0) {
      HeldEntry = 0;
      return;
    }
    Cells.SetPicture(p, e.Colour);
    s_.Board[p] = e.Colour;
    e.Point = static_cast<int16_t>(p);
    // One lifted stone is put down once; a further drop would leave a stone
    // on the board that no entry accounts for.
    HeldEntry = 0;
  }
}

// ---- menus ----

void Form2::MenuHelpContents() { GetPlatform().HelpContents(FromUtf8(s_.ShareDir) + u"ソルネカ.HLP"); }

void Form2::MenuContextHelp() { GetPlatform().ContextHelp(*this); }

void Form2::MenuVersion() {
  std::string folder = s_.DataDir;
  if (folder.size() > 1 && (folder.back() == '/' || folder.back() == '\\')) folder.pop_back();
  GetPlatform().MsgBox(form2text::VersionTextWith(FromUtf8(folder)), Buttons::OK, Icon::Information,
                       form2text::VersionTitle);
}

void Form2::MenuExit() {
  if (thinking_) MenuStopEngine();
  if (GetPlatform().MsgBox(form2text::ExitQuestion, Buttons::OKCancel, Icon::Question, form2text::Confirm) ==
      Answer::OK)
    GetPlatform().Quit();
}

}  // namespace sol
