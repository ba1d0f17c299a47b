// Games against an engine over GTP: the engine's moves on the main board
// as any game's, passes and resignation, take-backs told to the engine, a
// hint, and the dead stones at the end.
#include <algorithm>
#include <charconv>

#include "core/capture.h"
#include "core/file_command.h"
#include "core/file_system.h"
#include "core/messages.h"
#include "core/posix_process.h"
#include "core/replay.h"
#include "core/text.h"
#include "engine/gtp.h"
#include "mainboard/form2.h"
#include "mainboard/texts.h"

namespace sol {

namespace {

constexpr const char* EngineKey = "engine";
constexpr const char* TimeoutKey = "engine.timeout";
constexpr int DefaultTimeoutSeconds = 60;

std::string ColourWord(int colour) { return colour == Black ? "black" : "white"; }

Str UnreadableMove(const std::string& reply) {
  return u"コンピュータの手「" + FromUtf8(reply.substr(0, 20)) + u"」が読めません。";
}

struct GameChoice {
  int playerColour = Black;
  int handicap = 0;
  double komi = 6.5;
  int level = 1;
};

// "黒 0 6.5 1": colour, handicap, komi, strength, separated by blanks.
std::optional<GameChoice> ParseGameChoice(const Str& text) {
  std::vector<std::string> words;
  std::string word;
  for (char c : ToUtf8(Trim(text)) + " ") {
    if (c == ' ' || c == '\t') {
      if (!word.empty()) words.push_back(word);
      word.clear();
    } else {
      word += c;
    }
  }
  // Full-width blanks separate words as well.
  std::vector<std::string> split;
  for (const std::string& w : words) {
    size_t from = 0, at;
    while ((at = w.find("\u3000", from)) != std::string::npos) {
      if (at > from) split.push_back(w.substr(from, at - from));
      from = at + 3;
    }
    if (from < w.size()) split.push_back(w.substr(from));
  }
  if (split.size() != 4) return std::nullopt;
  GameChoice g;
  if (split[0] == "黒" || split[0] == "B" || split[0] == "b")
    g.playerColour = Black;
  else if (split[0] == "白" || split[0] == "W" || split[0] == "w")
    g.playerColour = White;
  else
    return std::nullopt;
  auto integer = [](const std::string& s, int& out) {
    const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), out);
    return error == std::errc() && end == s.data() + s.size();
  };
  const auto [end, error] = std::from_chars(split[2].data(), split[2].data() + split[2].size(), g.komi);
  if (!integer(split[1], g.handicap) || g.handicap < 0 || g.handicap == 1 || g.handicap > 9) return std::nullopt;
  if (error != std::errc() || end != split[2].data() + split[2].size() || g.komi < -100 || g.komi > 100)
    return std::nullopt;
  if (!integer(split[3], g.level) || g.level < 1 || g.level > 10) return std::nullopt;
  return g;
}

}  // namespace

std::string Form2::EngineCommandLine() const {
  if (std::optional<std::string> v = s_.Preferences.Get(EngineKey); v && !Trim(FromUtf8(*v)).empty()) return *v;
  return ToUtf8(form2text::EngineDefaultCommand);
}

int Form2::EngineTimeoutMs() const {
  int seconds = DefaultTimeoutSeconds;
  if (std::optional<std::string> v = s_.Preferences.Get(TimeoutKey)) {
    int n = 0;
    const auto [end, error] = std::from_chars(v->data(), v->data() + v->size(), n);
    if (error == std::errc() && end == v->data() + v->size() && n >= 1 && n <= 3600) seconds = n;
  }
  return seconds * 1000;
}

bool Form2::EngineHas(const std::string& command) const {
  return engineCommands_.find("\n" + command + "\n") != std::string::npos;
}

bool Form2::StartEngine() {
  Platform& p = GetPlatform();
  const std::vector<std::string> argv = SplitCommandLine(EngineCommandLine());
  if (argv.empty()) {
    p.MsgBox(form2text::EngineNoCommand + form2text::EngineHowToGet, Buttons::OK, Icon::Information,
             form2text::EngineTitle);
    return false;
  }
  ProcessStart started = p.StartProcess(argv, s_.DataDir);
  if (!started.process) {
    p.MsgBox(started.error + form2text::EngineHowToGet, Buttons::OK, Icon::Information, form2text::EngineTitle);
    return false;
  }
  engine_ = std::make_unique<GtpClient>(std::move(started.process), EngineTimeoutMs());
  const std::optional<std::string> commands = AskEngine("list_commands");
  if (!commands) return false;
  engineCommands_ = "\n" + *commands + "\n";
  Str missing;
  for (const char* c : {"boardsize", "clear_board", "komi", "play", "genmove", "undo"})
    if (!EngineHas(c)) missing += (missing.empty() ? u"" : u"、") + FromUtf8(c);
  if (!missing.empty()) {
    engine_.reset();
    p.MsgBox(form2text::EngineLacks + missing, Buttons::OK, Icon::Information, form2text::EngineTitle);
    return false;
  }
  return true;
}

std::optional<std::string> Form2::AskEngine(const std::string& command) {
  if (!engine_) return std::nullopt;
  const GtpAnswer a = engine_->Ask(command);
  if (a.Ok()) return a.text;
  EngineFailed(a.status == GtpAnswer::Status::Refused
                   ? u"コンピュータが「" + FromUtf8(command) + u"」を受け付けません（" + a.why + u"）。"
                   : a.why);
  return std::nullopt;
}

void Form2::EngineFailed(const Str& why) {
  engine_.reset();
  engineColour_ = 0;
  thinking_ = false;
  engineHistory_.clear();
  engineMoves_.clear();
  ClearHint();
  SetStatus(msg::OneBlank);
  GetPlatform().MsgBox(why + form2text::EngineGoesOnAlone, Buttons::OK, Icon::Information, form2text::EngineTitle);
}

bool Form2::EngineInStep() const {
  const int known = static_cast<int>(engineMoves_.size());
  if (s_.MoveCount < known) return false;
  for (int i = 0; i < known; ++i) {
    const MoveEntry& a = s_.MoveList[i + 1];
    const MoveEntry& b = engineMoves_[static_cast<size_t>(i)];
    if (a.Colour != b.Colour || a.Point != b.Point) return false;
  }
  return true;
}

void Form2::LeaveEngineGame() {
  engine_.reset();
  engineColour_ = 0;
  engineHistory_.clear();
  engineMoves_.clear();
}

void Form2::MenuEngineGame() {
  Platform& p = GetPlatform();
  const std::optional<Str> typed =
      p.AskEngineGame(form2text::EngineGamePrompt, form2text::EngineTitle, form2text::EngineGameDefault);
  if (!typed) return;
  const std::optional<GameChoice> choice = ParseGameChoice(*typed);
  if (!choice) {
    p.MsgBox(form2text::EngineGameBadInput, Buttons::OK, Icon::Information, form2text::EngineTitle);
    return;
  }
  bool continuing = false;
  if (s_.MoveCount > 0) {
    const Answer a =
        p.MsgBox(form2text::EngineContinueQuestion, Buttons::YesNoCancel, Icon::Question, form2text::EngineTitle);
    if (a == Answer::Cancel) return;
    continuing = a == Answer::Yes;
  }
  LeaveEngineGame();
  if (!StartEngine()) return;
  for (const std::string& c :
       {std::string("boardsize 19"), std::string("clear_board"), "komi " + gtp::Number(choice->komi)})
    if (!AskEngine(c)) return;
  if (EngineHas("level") && !AskEngine("level " + std::to_string(choice->level))) return;
  if (continuing) {
    ContinueWithEngine(choice->playerColour);
    return;
  }
  std::vector<int> handicap;
  if (choice->handicap >= 2 && !EngineHas("fixed_handicap")) {
    LeaveEngineGame();
    p.MsgBox(form2text::EngineLacks + u"fixed_handicap（置き石）", Buttons::OK, Icon::Information,
             form2text::EngineTitle);
    return;
  }
  if (choice->handicap >= 2) {
    const std::optional<std::string> stones = AskEngine("fixed_handicap " + std::to_string(choice->handicap));
    if (!stones) return;
    const std::optional<std::vector<int>> points = gtp::ParseVertices(*stones);
    if (!points || points->size() != static_cast<size_t>(choice->handicap)) {
      EngineFailed(u"コンピュータの置き石の位置が読めません。");
      return;
    }
    handicap = *points;
  }

  // A new game on the main board, in the game mode.
  ResetGame(s_);
  ShowReset();
  Option1.Click();
  for (int point : handicap) {
    s_.Board[point] = Black;
    ++s_.MoveCount;
    s_.MoveList[s_.MoveCount] = {0, Black, static_cast<int16_t>(point)};
    ShowPlacement(point, Black, 0, PlaceStone(s_, point, Black, 0));
  }
  engineMoves_.assign(s_.MoveList.begin() + 1, s_.MoveList.begin() + 1 + s_.MoveCount);
  engineColour_ = choice->playerColour == Black ? White : Black;
  const int next = s_.LastColour == 0 ? int{Black} : int{Opponent(s_.LastColour)};
  if (next == engineColour_)
    EngineTurn();
  else
    SetStatus(form2text::EngineYourTurn);
}

void Form2::ContinueWithEngine(int playerColour) {
  // Set-up stones go first, as free handicap stones: the only set-up GTP has.
  std::string setup;
  for (int i = 1; i <= s_.MoveCount; ++i) {
    const MoveEntry& e = s_.MoveList[i];
    if (e.Number != 0) continue;
    if (e.Colour != Black || !EngineHas("set_free_handicap")) {
      LeaveEngineGame();
      GetPlatform().MsgBox(e.Colour != Black ? form2text::EngineSetupStones : form2text::EngineNoFreeHandicap,
                           Buttons::OK, Icon::Information, form2text::EngineTitle);
      return;
    }
    setup += " " + gtp::Vertex(e.Point);
  }
  if (!setup.empty() && !AskEngine("set_free_handicap" + setup)) return;
  for (int i = 1; i <= s_.MoveCount; ++i) {
    const MoveEntry& e = s_.MoveList[i];
    if (e.Number != 0 && !AskEngine("play " + ColourWord(e.Colour) + " " + gtp::Vertex(e.Point))) return;
  }
  Option1.Click();
  engineMoves_.assign(s_.MoveList.begin() + 1, s_.MoveList.begin() + 1 + s_.MoveCount);
  engineColour_ = playerColour == Black ? White : Black;
  const int next = s_.LastColour == 0 ? int{Black} : int{Opponent(s_.LastColour)};
  if (next == engineColour_)
    EngineTurn();
  else
    SetStatus(form2text::EngineYourTurn);
}

void Form2::AfterPlayerMove(int point, int colour) {
  // The game changed since the engine last saw it: it is the player's own now.
  engineMoves_.push_back(s_.MoveList[s_.MoveCount]);
  if (!EngineInStep()) {
    LeaveEngineGame();
    return;
  }
  const GtpAnswer a = engine_->Ask("play " + ColourWord(colour) + " " + gtp::Vertex(point));
  if (a.status == GtpAnswer::Status::Refused) {
    engineMoves_.pop_back();
    TakeBackOne();
    SetStatus(form2text::EngineRefusedMove + a.why);
    return;
  }
  if (!a.Ok()) {
    EngineFailed(a.why);
    return;
  }
  engineHistory_.push_back({colour, false});
  EngineTurn();
}

void Form2::EngineTurn() {
  thinking_ = true;
  SetStatus(form2text::EngineThinking);
  const std::optional<std::string> reply = AskEngine("genmove " + ColourWord(engineColour_));
  thinking_ = false;
  if (!reply) return;
  // The game was changed while the engine thought (the slider, a mode):
  // its answer belongs to another position.
  if (!EngineInStep() || s_.BoardMode != GameMode) {
    LeaveEngineGame();
    SetStatus(msg::OneBlank);
    return;
  }
  const std::optional<gtp::Move> move = gtp::ParseMove(*reply);
  if (!move) {
    EngineFailed(UnreadableMove(*reply));
    return;
  }
  if (move->kind == gtp::Move::Kind::Resign) {
    engineColour_ = 0;
    SetStatus(form2text::EngineResigned);
    return;
  }
  if (move->kind == gtp::Move::Kind::Pass) {
    const bool playerPassed = !engineHistory_.empty() && engineHistory_.back().Pass;
    engineHistory_.push_back({engineColour_, true});
    if (playerPassed) {
      EndByPasses();
      return;
    }
    s_.LastColour = static_cast<int16_t>(engineColour_);
    SetStatus(form2text::EnginePassed);
    return;
  }
  if (s_.Board[move->point] != 0 || s_.MoveCount >= MaxMoves) {
    EngineFailed(u"コンピュータの手（" + FromUtf8(*reply) + u"）を盤に置けません。");
    return;
  }
  engineHistory_.push_back({engineColour_, false});
  PutGameStone(move->point, static_cast<int16_t>(engineColour_));
  engineMoves_.push_back(s_.MoveList[s_.MoveCount]);
  SetStatus(form2text::EngineYourTurn);
}

void Form2::MenuPass() {
  if (!EngineGameActive() || !EngineInStep()) {
    GetPlatform().MsgBox(form2text::NoEngineGame, Buttons::OK, Icon::Information, form2text::EngineTitle);
    return;
  }
  const int colour = Opponent(static_cast<int16_t>(engineColour_));
  if (!AskEngine("play " + ColourWord(colour) + " pass")) return;
  const bool enginePassed = !engineHistory_.empty() && engineHistory_.back().Pass;
  engineHistory_.push_back({colour, true});
  s_.LastColour = static_cast<int16_t>(colour);
  if (enginePassed) {
    EndByPasses();
    return;
  }
  EngineTurn();
}

void Form2::EndByPasses() {
  // The engine stays: it knows the position for the dead stones.
  engineColour_ = 0;
  Option4.Click();
  SetStatus(form2text::BothPassed);
}

void Form2::TakeBackWithEngine() {
  if (!EngineInStep()) {
    LeaveEngineGame();
    TakeBackOne();
    return;
  }
  const int player = Opponent(static_cast<int16_t>(engineColour_));
  // The engine's first move stays: without it, it would be the engine's turn.
  if (std::none_of(engineHistory_.begin(), engineHistory_.end(),
                   [player](const EngineAction& a) { return a.Colour == player; })) {
    SetStatus(form2text::CannotGoBack);
    return;
  }
  // Back to before the player's last action: the engine's answer and it.
  while (!engineHistory_.empty()) {
    const EngineAction last = engineHistory_.back();
    const GtpAnswer a = engine_->Ask("undo");
    if (a.status == GtpAnswer::Status::Refused) {
      SetStatus(form2text::EngineCannotUndo + a.why);
      return;
    }
    if (!a.Ok()) {
      EngineFailed(a.why);
      return;
    }
    engineHistory_.pop_back();
    if (!last.Pass) {
      TakeBackOne();
      engineMoves_.pop_back();
    }
    if (last.Colour == player) break;
  }
  // After a pass the side to move is the one who did not pass.
  if (!engineHistory_.empty() && engineHistory_.back().Pass)
    s_.LastColour = static_cast<int16_t>(engineHistory_.back().Colour);
  SetStatus(form2text::EngineYourTurn);
}

void Form2::MenuHint() {
  if (!EngineGameActive() || !EngineInStep()) {
    GetPlatform().MsgBox(form2text::NoEngineGame, Buttons::OK, Icon::Information, form2text::EngineTitle);
    return;
  }
  const std::string colour = ColourWord(Opponent(static_cast<int16_t>(engineColour_)));
  std::optional<std::string> reply;
  thinking_ = true;
  SetStatus(form2text::EngineThinking);
  if (EngineHas("reg_genmove")) {
    reply = AskEngine("reg_genmove " + colour);
  } else {
    reply = AskEngine("genmove " + colour);
    if (reply && !AskEngine("undo")) reply.reset();
  }
  thinking_ = false;
  if (!reply) return;
  const std::optional<gtp::Move> move = gtp::ParseMove(*reply);
  if (!move) {
    EngineFailed(UnreadableMove(*reply));
    return;
  }
  ClearHint();
  if (move->kind == gtp::Move::Kind::Play && s_.Board[move->point] == 0) {
    hintPoint_ = move->point;
    Cells.SetForeColor(hintPoint_, ColourRed);
    Cells.SetCaption(hintPoint_, u"◎");
  }
  Str where = move->kind == gtp::Move::Kind::Pass ? Str(u"パス") : Str(u"投了");
  if (move->kind == gtp::Move::Kind::Play) {
    // Named as the board's coordinates name it, or as GTP does when they are hidden.
    const int x = (move->point - 1) / BoardSize, y = (move->point - 1) % BoardSize;
    const Str column = Cells.ColumnLabel(x), row = Cells.RowLabel(y);
    where = column.empty() ? FromUtf8(gtp::Vertex(move->point)) : column + u"-" + row;
  }
  SetStatus(form2text::EngineHint + where);
}

void Form2::ClearHint() {
  if (hintPoint_ > 0 && s_.Board[hintPoint_] == 0) Cells.SetCaption(hintPoint_, u" ");
  hintPoint_ = 0;
}

void Form2::MenuDeadStones() {
  Platform& p = GetPlatform();
  if (s_.BoardMode != EndMode) {
    p.MsgBox(form2text::ModeError, Buttons::OK, Icon::Information, form2text::ModeErrorTitle);
    return;
  }
  // The engine is told the game as it was played, unless it played it.
  if (!engine_ || !EngineInStep()) {
    LeaveEngineGame();
    for (int i = 1; i <= s_.MoveCount; ++i)
      if (s_.MoveList[i].Number == 0 && s_.MoveList[i].Colour != Black) {
        p.MsgBox(form2text::EngineSetupStones, Buttons::OK, Icon::Information, form2text::EngineDeadTitle);
        return;
      }
    if (!StartEngine() || !AskEngine("boardsize 19") || !AskEngine("clear_board")) return;
    for (int i = 1; i <= s_.MoveCount; ++i) {
      const MoveEntry& e = s_.MoveList[i];
      if (!AskEngine("play " + ColourWord(e.Colour) + " " + gtp::Vertex(e.Point))) return;
    }
  }
  if (!EngineHas("final_status_list")) {
    LeaveEngineGame();
    p.MsgBox(form2text::EngineLacks + u"final_status_list（死に石の判定）", Buttons::OK, Icon::Information,
             form2text::EngineDeadTitle);
    return;
  }
  thinking_ = true;
  SetStatus(form2text::EngineThinking);
  const std::optional<std::string> reply = AskEngine("final_status_list dead");
  thinking_ = false;
  if (!reply) return;
  const std::optional<std::vector<int>> listed = gtp::ParseVertices(*reply);
  if (!listed) {
    EngineFailed(u"コンピュータの死に石の一覧が読めません。");
    return;
  }
  std::vector<int> dead;
  for (int point : *listed)
    if (s_.Board[point] == Black || s_.Board[point] == White) dead.push_back(point);
  if (dead.empty()) {
    SetStatus(form2text::EngineNoDead);
    return;
  }
  std::vector<Str> captions;
  for (int point : dead) {
    captions.push_back(Cells.CaptionAt(point));
    Cells.SetForeColor(point, ColourRed);
    Cells.SetCaption(point, u"◆");
  }
  const Answer a = p.MsgBox(form2text::EngineDeadQuestion(static_cast<long>(dead.size())), Buttons::YesNo,
                            Icon::Question, form2text::EngineDeadTitle);
  for (size_t i = 0; i < dead.size(); ++i) {
    Cells.SetForeColor(dead[i], NumberColourOn(s_.Board[dead[i]]));
    Cells.SetCaption(dead[i], captions[i]);
  }
  if (a != Answer::Yes) return;
  for (int point : dead) EndModeDead(point, ButtonLeft);
  Str status = Num(static_cast<long>(dead.size())) + u"個の死に石を取り上げました";
  if (EngineHas("final_score"))
    if (const std::optional<std::string> score = AskEngine("final_score"))
      if (const std::optional<gtp::Score> s = gtp::ParseScore(*score))
        status += s->winner == 0 ? Str(u"（コンピュータの計算：持碁）")
                                 : u"（コンピュータの計算：" + Str(s->winner == Black ? u"黒" : u"白") +
                                       FromUtf8(gtp::Number(s->points)) + u"目勝ち）";
  SetStatus(status);
}

void Form2::MenuStopEngine() {
  if (thinking_ && engine_) engine_->Stop();
}

void Form2::MenuEngineSettings() {
  Platform& p = GetPlatform();
  const std::optional<Str> typed =
      p.InputBox(form2text::EngineSettingsPrompt, form2text::EngineTitle, FromUtf8(EngineCommandLine()));
  if (!typed) return;
  if (SplitCommandLine(ToUtf8(*typed)).empty()) {
    p.MsgBox(form2text::EngineNoCommand, Buttons::OK, Icon::Information, form2text::EngineTitle);
    return;
  }
  LeaveEngineGame();
  s_.Preferences.Set(EngineKey, ToUtf8(Trim(*typed)));
  if (ReadOnly()) return;
  try {
    s_.Preferences.Save();
    SetStatus(u"エンジンのコマンドを保存しました");
  } catch (const FileError& e) {
    SetStatus(FileErrorText(e));
  }
}

}  // namespace sol
