// The main board window: the 19 x 19 board, the prisoner counts, the
// navigation buttons and slider, the four play modes and the menu bar.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "core/game_state.h"
#include "engine/gtp_client.h"
#include "ui/form.h"
#include "ui/mmcontrol.h"

namespace sol {

class Form2 : public Form {
 public:
  Form2(GameState& state, Platform& platform);

  BoardCells* Board() override { return &Cells; }
  StatusBar* Status() override { return &StatusBar1; }
  std::optional<std::string> ReadVar(const std::string& name, std::optional<int> index,
                                     const std::string& field) const override;

  // Controls.
  Label Label1{"Label1"};  // title "メイン碁盤"
  Frame Frame1{"Frame1"};
  OptionButton Option1{"Option1"}, Option2{"Option2"}, Option3{"Option3"}, Option4{"Option4"};
  CommandButton Command1{"Command1"}, Command4{"Command4"}, Command2{"Command2"}, Command6{"Command6"};
  CommandButton Command7{"Command7"}, Command8{"Command8"}, Command3{"Command3"}, Command9{"Command9"};
  CommandButton Command5{"Command5"};
  Slider Slider1{"Slider1"};
  Label Label8{"Label8"}, Label7{"Label7"};
  Label Label2{"Label2"}, Label3{"Label3"}, Label4{"Label4"}, Label5{"Label5"};
  Label Label10{"Label10"};
  BoardCells Cells{"Image1", BoardSize, BoardSize};  // Image1 and Label6
  StatusBar StatusBar1{"StatusBar1"};
  MMControl MMControl1;

  // Window variables.
  int16_t ClickPoint = 0;
  int16_t ClickButton = 0;
  int16_t ClickShift = 0;
  // The entry lifted for relocation; 0 when no stone is held. Kept apart
  // from SavedMoveCount so that moving a stone never changes what the
  // study and clear commands return to.
  int16_t HeldEntry = 0;
  // Where the held stone was lifted from. The hold lasts only while its entry
  // still names that point and the point is still empty: a take-back, a new
  // move or a replay in between ends it, so the drop never moves a stone that
  // was not lifted.
  int16_t HeldPoint = 0;
  MoveArray BackupList{};
  int16_t SavedMoveCount = 0;
  int16_t SavedMoveNumber = 0;
  MoveArray SnapshotList{};
  int16_t SnapshotMoveCount = 0;

  // Nigiri: the white stones grabbed.
  int16_t StoneCount = 0;

  // Print layout: moves played where an earlier stone of the figure stood.
  struct RetakeEntry {
    int16_t Colour = 0;
    int16_t Number = 0;
    int16_t ShownNumber = 0;
  };
  std::vector<RetakeEntry> RetakeList;
  Str PrintTitle;
  // The position on the board when the layout was prepared; 戻り shows it
  // again, so that printing a game never costs the player the game.
  int16_t PrintReturnCount = 0;
  int16_t PrintReturnNumber = 0;

  // Wired by the program: windows this one opens.
  std::function<void()> OpenLibrary;
  std::function<void(int lessonMode)> OpenProblems;
  class Form3* Library = nullptr;  // the library window, loaded unseen to adjourn
  // Closes the game record library window if it is loaded.
  std::function<void()> CloseLibrary;
  // Chosen in the 表示 menu; the program applies it to every board.
  std::function<void(CoordinateStyle)> ChooseCoordinates;

  // Handlers.
  void Option1_Click();
  void Option2_Click();
  void Option3_Click();
  void Option4_Click();
  void BoardMouseDown(int point, int button, int shift);
  void Command1_Click();  // １手戻す
  void Command4_Click();  // １手進む
  void Command2_Click();  // 初手に戻す
  void Command6_Click();  // 全手表示
  void Slider1_MouseUp();
  void Command7_Click();  // 途中保存
  void Command8_Click();  // 途中復元
  void Command3_Click();  // クリア
  void Command9_Click();  // クリア戻し

  void MenuLibrary();       // 棋譜処理
  void MenuSave();          // 打ち掛け・保存
  void MenuRestore();       // 打ち掛け・復元
  void MenuNigiri();        // 握り
  void MenuCount();         // 地の計算
  void MenuPrintPrepare();  // 印刷準備
  void MenuPrint();         // 印刷
  void Command5_Click();    // 戻り (leaves the print layout)

  // Game files the player opened: dropped onto the board or named on the
  // command line.
  void OpenSgfFiles(const std::vector<std::string>& paths);
  void DropFiles(const std::vector<std::string>& paths) override { OpenSgfFiles(paths); }

  // ファイル: SGF files and the ones opened lately.
  static constexpr int RecentFileCount = 5;
  void MenuSgfOpen();
  void MenuSgfSave();
  void OpenRecentFile(int i);
  // Puts the game of an SGF file on the board; `notes` join what the box
  // after it says was left out.
  void OpenSgfFile(const std::string& path, std::vector<Str> notes);
  // Newest first, as the settings keep them.
  std::vector<std::string> RecentFiles() const;

  // Games against an engine (GTP).
  void MenuEngineGame();      // コンピュータと対局…
  void MenuPass();            // パス
  void MenuHint();            // ヒント
  void MenuDeadStones();      // 死に石の判定
  void MenuStopEngine();      // 考慮を中止
  void MenuEngineSettings();  // エンジン設定…
  bool EngineGameActive() const { return engine_ && engineColour_ != 0; }
  bool EngineThinking() const { return thinking_; }

  void MenuHelpContents();
  void MenuContextHelp();
  void MenuVersion();
  void MenuExit();

  // Shared cue of the main board and the library window.
  void PlayCue(int kind);
  void SetStatus(const Str& text) { StatusBar1.SetText(text); }

  // Drawing the game's position (the state holds it, the cells show it).
  // A stone just put on `point` and what its placement took off.
  void ShowPlacement(int point, int colour, int number, const struct Placement& placed);
  // Every cell from Board, with `newestCaption` on the newest stone.
  void ShowPosition(const Str& newestCaption);
  void ShowPrisoners();
  // After ClearBoard, ResetGame and ReplayMoves; each ends with the status
  // text the command leaves.
  void ShowCleared();
  void ShowReset();
  void ShowReplay(const struct Replayed& shown);

 protected:
  void Load() override;

 private:
  void BuildMenus();
  // Puts `path` first in the list of recent files, or takes it out of it.
  void RememberFile(const std::string& path, bool keep);
  void ShowRecentFiles();
  // The controls the print layout hides.
  std::vector<Control*> NormalLayoutControls();
  bool InPrintLayout() const { return !Frame1.Visible(); }
  // The figure is no game: a command that reads, stores or plays the game
  // first brings the game back, as 戻り does, so that it never stores the
  // figure's empty position or draws over it.
  void LeavePrintLayout() {
    if (InPrintLayout()) Command5_Click();
  }
  void GameMove(int point);
  void FreePlacement(int point, int button);
  void Relocation(int point, int button);
  void EndModeDead(int point, int button);
  void EndModeFill(int point, int button);

  std::vector<OptionButton*> modeGroup_;

  // The engine and the game against it.
  std::string EngineCommandLine() const;
  int EngineTimeoutMs() const;
  bool StartEngine();
  bool EngineHas(const std::string& command) const;
  // Sends a command; on a failure the engine is ended and the player told.
  std::optional<std::string> AskEngine(const std::string& command);
  void EngineFailed(const Str& why);
  void EngineTurn();
  void AfterPlayerMove(int point, int colour);
  // Tells the engine the game on the board and goes on from there.
  void ContinueWithEngine(int playerColour);
  void TakeBackWithEngine();
  void EndByPasses();
  void ClearHint();
  // Puts a game move of `colour` on the board, numbered, with its captures.
  void PutGameStone(int point, int16_t colour);
  void TakeBackOne();
  struct EngineAction {
    int Colour = 0;
    bool Pass = false;
  };
  std::unique_ptr<GtpClient> engine_;
  std::string engineCommands_;
  int engineColour_ = 0;  // 0: no game against the engine
  bool thinking_ = false;
  int hintPoint_ = 0;
  // What the engine was told since the game began, for undo.
  std::vector<EngineAction> engineHistory_;
  // The game as the engine knows it; a game changed under it (a replay, a
  // game read) ends the game against the engine.
  std::vector<MoveEntry> engineMoves_;
  bool EngineInStep() const;
  void LeaveEngineGame();

  GameState& s_;
};

}  // namespace sol
