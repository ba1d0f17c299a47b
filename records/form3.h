// The game record library window: the list of stored games, and recording,
// reading, updating and deleting a game. It is shown modally over the main
// board; the main board also loads it unseen to adjourn a game.
#pragma once

#include <functional>
#include <optional>

#include "core/file_command.h"
#include "core/game_state.h"
#include "core/replay.h"
#include "ui/form.h"

namespace sol {

// The date that ends every stored line: "（", two-digit year, month and day
// joined by "-", and ")"; always 10 characters.
Str DateSuffix(const Date& d);
constexpr int DateSuffixLength = 10;

class Form3 : public Form {
 public:
  Form3(GameState& state, Platform& platform);

  StatusBar* Status() override { return &StatusBar1; }

  // Controls.
  Label Label1{"Label1"};  // title "棋譜処理"
  ListBox List1{"List1", true};
  // Instructions: a heading and its text for each of the four commands.
  Label Label2{"Label2"}, Label3{"Label3"}, Label4{"Label4"}, Label5{"Label5"};
  Label Label6{"Label6"}, Label7{"Label7"}, Label8{"Label8"}, Label9{"Label9"};
  Label Label10{"Label10"};  // "入力欄"
  TextBox Text1{"Text1"};
  CommandButton Command2{"Command2"};  // 読込み
  CommandButton Command5{"Command5"};  // 更新
  CommandButton Command1{"Command1"};  // 記録
  CommandButton Command3{"Command3"};  // 削除
  Label Label11{"Label11"};            // "ファイルの残り情報"
  ListBox List2{"List2"};
  StatusBar StatusBar1{"StatusBar1"};

  // Wired by the program: the main board's cue player and slider, and its
  // drawing of a game read into the state.
  std::function<void(int kind)> PlayCue;
  Slider* MainSlider = nullptr;
  // The main board's status bar, which reports the file errors of this
  // window's commands too.
  StatusBar* MainStatus = nullptr;
  std::function<void()> ShowMainReset;
  std::function<void(const Replayed&)> ShowMainReplay;

  // Handlers.
  void List1_Click();
  void Command1_Click();  // 記録
  void Command2_Click();  // 読込み
  void Command5_Click();  // 更新
  void Command3_Click();  // 削除
  void MenuMainBoard();   // メイン碁盤へ
  void MenuRemaining();   // 残情報
  void MenuSgfImport();   // SGF取込み…
  void MenuSgfExport();   // SGF書出し…
  void MenuHelpContents();
  void MenuContextHelp();

  // "（yy-mm-dd)" for today.
  Str DateSuffix() { return sol::DateSuffix(GetPlatform().Today()); }

 protected:
  void Load() override;

 private:
  void BuildMenus();
  void ApplyHelpTexts();
  void Cue() {
    if (PlayCue) PlayCue(0);
  }
  // The input field as the line to store: the number as two digits and
  // what was typed after it, in the form the files keep. nullopt after an
  // 入力エラー box when it cannot be stored.
  std::optional<Str> TypedLine();
  // The box that says the folder cannot be written, when this process may
  // not write it; false when it may.
  bool RefuseReadOnly();
  // The smallest game number no listed game has; 0 when all are taken.
  int FreeGameNumber() const;
  // Writes the stored game of the list line as an SGF file; false after
  // reporting why it could not.
  bool ExportGame(const Str& line, const std::string& path);
  // A writing command as one change of the game files.
  FileCommand RunFileCommand(const std::function<void()>& command);

  GameState& s_;
};

}  // namespace sol
