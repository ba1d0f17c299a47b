// The problem window: lectures and registration of problems in the four
// categories, on a board of the left 13 columns of the main board.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "core/file_command.h"
#include "core/game_state.h"
#include "problems/answer_tree.h"
#include "problems/lecture_model.h"
#include "problems/store.h"
#include "problems/yose_count.h"
#include "ui/form.h"
#include "ui/mmcontrol.h"

namespace sol {

constexpr int ProblemColumns = 13;
constexpr int ProblemPoints = ProblemColumns * BoardSize;  // 247

// Label modes of DrawProblemStone.
enum LabelMode { LabelPlain = 0, LabelNumbered = 1, LabelLatestOnly = 2 };

// The problem board's own position. Its points beyond the window are the
// main game's as they were when the window opened: the capture rule reads
// them like any other point, and the window never changes them.
struct ProblemPosition {
  BoardPoints Board{};
  int16_t CapturedBlack = 0;
  int16_t CapturedWhite = 0;
  // The colour of the stone last taken off with Shift; it starts as the
  // main game's newest stone's.
  int16_t LastColour = 0;
};

static_assert(YoseCount::Points == ProblemPoints);

// The window's own variables, which start at zero each time it opens.
struct Form4Vars {
  int ProblemPlayMode = 0;  // 1 講座モード, 2 自由モード
  int SubCategoryBase = 0;  // 1000 基本, 2000 応用, 3000 重要
  int RememberedIndex = 0;
  int RememberedCategory = 0;
  int AnswerLineCount = 0;
  int CommentLineCount = 0;
  int ParentRecordNo = 0;
  bool KeepCommentText = false;  // the next shown sequence leaves Text2 as it is
  bool Reviewing = false;        // List1 holds the problems to review, in order
};

class Form4 : public Form {
 public:
  Form4(GameState& state, Platform& platform);

  BoardCells* Board() override { return &Cells; }
  StatusBar* Status() override { return &StatusBar1; }
  std::optional<std::string> ReadVar(const std::string& name, std::optional<int> index,
                                     const std::string& field) const override;

  // Controls.
  ListBox List1{"List1", true};  // problem list, sorted
  ListBox List2{"List2"};        // 手順リスト
  ListBox List3{"List3"};        // コメントリスト
  TextBox Text1{"Text1"}, Text2{"Text2"};
  Label Label2{"Label2"}, Label3{"Label3"}, Label4{"Label4"}, Label6{"Label6"}, Label7{"Label7"};
  Label Label9{"Label9"}, Label12{"Label12"};
  Frame Frame1{"Frame1"}, Frame2{"Frame2"};
  OptionButton Option1{"Option1"}, Option3{"Option3"};
  OptionButton Option4{"Option4"}, Option5{"Option5"}, Option6{"Option6"};
  CommandButton Command1{"Command1"}, Command2{"Command2"}, Command3{"Command3"}, Command15{"Command15"};
  CommandButton Command4{"Command4"}, Command5{"Command5"}, Command6{"Command6"}, Command7{"Command7"};
  CommandButton Command8{"Command8"}, Command9{"Command9"}, Command10{"Command10"};
  CommandButton Command11{"Command11"}, Command20{"Command20"}, Command12{"Command12"};
  CommandButton Command13{"Command13"}, Command14{"Command14"}, Command17{"Command17"};
  CommandButton Command21{"Command21"};                   // 次の問題へ (review)
  Label Label21{"Label21"};                               // what the learner solved of the sub-category
  BoardCells Cells{"Image1", ProblemColumns, BoardSize};  // Image1 and Label1
  StatusBar StatusBar1{"StatusBar1"};
  MMControl MMControl1;

  // Window variables: the board's position, the window's own, where the
  // lecture stands, the stones clicked for a registration, the endgame count.
  ProblemPosition Position;
  Form4Vars Vars;
  Lecture Lesson;
  ProblemRegistration Registration;
  YoseCount Yose;
  AttemptTracker Attempt;
  // Keys of the comments the next CompactComments removes; " " = free.
  std::array<Str, 51> DeleteCommentKeys{};

  // Wired by the program: the main board window this one returns to.
  std::function<void()> ShowMainBoard;
  std::function<void()> HideMainBoard;
  // The learner's records, and the window that shows them; the program
  // owns both. Without records the lectures work as before.
  StudyRecords* Study = nullptr;
  std::function<void()> OpenStudyWindow;
  // Chosen in the 表示 menu; the program applies it to every board.
  std::function<void(CoordinateStyle)> ChooseCoordinates;

  // Modes and categories.
  void ResetProblemBoard();
  void ApplyMode();
  void LoadProblemList();
  void ScrollToSubCategory();
  void SwitchMode(int lessonMode);
  void MenuMainBoard();

  // Loading.
  void LoadProblem();  // click of List1
  void LoadSetupStones(int problem);
  void LoadAnswerLines(int problem);
  // The answer of the problem shown, which List2 draws line for line.
  const AnswerTree& Answers() const { return answers_; }
  void ShowAnswers(AnswerTree tree);
  // Returns the List2 index of the new line.
  int AppendAnswer(const AnswerLine& line);
  void LoadCommentLines(int problem);
  // The List3 line of the comment on a record, or -1.
  int FindComment(int problem, int record) const;
  void SelectComment(int problem, int record);
  // The line with record number r, or `otherwise` when none has it.
  int FindRecordLine(int r, int otherwise);

  // Drawing and replay.
  // Returns the colour drawn: a stone's, without the sign that makes it red.
  int DrawProblemStone(int number, int colour, int point, int mode);
  void CaptureOnProblemBoard(int point);
  void ReplayAnswerPath(int start, int limit, int mode);
  void PlayNextRecord();
  void StepBackRecord();
  void TakeBackLectureMove();
  void ShowAnswerSequence();  // click of List2

  // Board input and answer checking.
  void ProblemBoardClick(int button, int shift, int point);
  int CollectCandidates() { return Lesson.CollectCandidates(answers_); }
  void MarkCandidates();

  // Lecture navigation.
  void Command1_Click();   // １手進む
  void Command2_Click();   // 解答表示
  void Command3_Click();   // １手戻し
  void Command15_Click();  // １手順戻し
  void TakeBackFreeMove();

  // Registration of problems and answer sequences.
  void Command4_Click();  // 問題登録
  // What 問題登録 stores: the number, the list line, and the list line of the
  // problem it replaces (-1 none).
  struct NewProblem {
    int number = 0;
    Str line;
    int titleStart = 4;  // where in the line the title the list file stores begins
    int overwritten = -1;
  };
  // The input field checked for a registration; nullopt after a refusal.
  std::optional<Str> TypedProblemLine();
  void RetitleOrRenumber(const Str& text);
  // The number and line of the problem the clicked stones become; nullopt
  // after a refusal, or when the player keeps a problem listed under it.
  std::optional<NewProblem> ChooseNewProblem(const Str& text);
  void StoreNewProblem(const NewProblem& problem);
  // Each returns false after reporting a refusal or a file error.
  bool WriteSetup();
  bool RewriteProblemList();
  // List1's line becomes `text`, a number of four characters and a title;
  // the next RewriteProblemList stores the title.
  void RetitleLine(int line, const Str& text);
  void RenumberProblem(int oldNumber, int newNumber);
  void Command6_Click();  // 正手順登録
  void Command7_Click();  // 悪手順登録
  void RegisterSequence(int sign);
  // Stores a played sequence in the answer file, giving `records` their
  // record numbers; false after a refusal.
  bool StoreSequence(std::vector<AnswerMoveRecord>& records);

  // Deletion, category maintenance and the data check.
  void Command5_Click();  // 問題削除
  void Command8_Click();  // 手順削除
  // The record numbers of the selected line's tail and of every sequence
  // that hangs from a collected move.
  std::vector<int> CollectTail(int index);
  void Command11_Click();  // 区分変更
  void Command20_Click();  // 区分名変更
  void Command12_Click();  // クリア
  void Command13_Click();  // チェック

  // Comments.
  void Command9_Click();    // コメント登録
  void Command10_Click();   // コメント削除
  void CommentListClick();  // click of List3
  // Removes the queued comment records. FileError.
  void CompactComments();

  // Endgame in/out count and the joseki sequence search.
  void Command14_Click();  // 出入計算
  void Command17_Click();  // 手順検索

  // SGF problem collections (registration modes).
  void MenuSgfImport();
  void MenuSgfFolderImport();
  void MenuSgfExport();
  void MenuStarterImport();
  // Takes in the problems of each batch of files under free numbers above
  // its base, as one change of the files, and says in one box what it did.
  void ImportProblemFiles(const std::vector<std::pair<std::vector<std::string>, int>>& batches, const Str& title);

  // Study records (lecture modes).
  // The marks beside List1's lines and the line under it, from the records.
  void ShowStudyMarks();
  void ShowStudySummary();
  // Each List1 line's sign from the latest attempts read.
  void MarkListLines();
  // Counts the end of the answer the lecture reached at `line`.
  void RecordStudyEnd(int line);
  // The records of a problem renumbered go with it; to 0: removed with it.
  void MoveStudyRecords(int from, int to);
  // Says once that the records could not be written.
  void StudyNotSaved();
  void MenuReview();       // 復習
  void Command21_Click();  // 次の問題へ
  void LeaveReview();
  // The window out of review without reading the list again.
  void EndReview();
  void MenuStudyRecords();  // 学習記録…
  // The records, opened at their first use; nullptr without them.
  StudyRecords* StudyBook();
  // The set-up fingerprints of the category's problems, read at first need.
  const std::map<int, std::uint64_t>& Fingerprints();

  void PlayCue(int kind);
  void SetStatus(const Str& text) { StatusBar1.SetText(text); }
  // A writing command as one change of the problem files, its file errors
  // shown in the status bar; the block ends are read again after a failure.
  FileCommand RunFileCommand(const std::function<bool()>& command);

  // The problem number of List1 line i (0 for none), and of the selected one.
  int ProblemNumberAt(int i) const;
  int SelectedProblem() const { return ProblemNumberAt(List1.ListIndex()); }
  // Whether point p shows a mark of a sequence to choose.
  bool IsMarked(int p) const { return p >= 1 && p <= ProblemPoints && marked_[p]; }
  // Board, CapturedBlack, CapturedWhite, LastColour and CaptureLogCount of
  // the problem board, by the names the main game's state has.
  std::optional<std::string> ReadPositionVar(const std::string& name, std::optional<int> index) const;

 protected:
  void Load() override;
  void Unloading() override;

 private:
  void BuildMenus();
  void BindCommands();
  void ClickMark(int button, int point);
  void LectureMove(int point);
  // A move that no offered line holds: the player takes it back, plays the
  // other side, or goes on freely.
  void RejectLectureMove(int colour);
  // Says whether the lecture goes on from the current record, with its cue;
  // true when the current record ends its sequence.
  bool ReportContinuation();
  void RegistrationClick(int button, int point);
  void ApplyHelpTexts();
  // In a lecture mode: says the command belongs to the registration modes.
  bool RefuseLectureMode();
  void ShowImportSummary(std::vector<int> numbers, const std::vector<Str>& skipped, const std::vector<Str>& notes,
                         const Str& title);
  void ApplyControlTable(bool lecture);
  void ShowSubCategoryNames();

  // List1, List3 and the board captions change only through these, so
  // that what is listed and what is marked stay known apart from the text.
  // `titleStart`: where in `line` the title begins (after the number).
  int AddProblemLine(int number, Str line, int titleStart);
  // The title the list file holds for List1 line i.
  Str ProblemTitleAt(int i) const;
  void RemoveProblemLine(int i);
  void ClearProblemLines();
  int AddCommentLine(const CommentRecord& c);
  void RemoveCommentLine(int i);
  void ClearCommentLines();
  void SetCaption(int p, const Str& text, bool mark = false);
  void QueueCommentRemoval(const CommentRecord& c);

  GameState& s_;
  AnswerTree answers_;
  std::vector<int> problemNumbers_;  // of the List1 lines
  // Where in each List1 line the title the list file holds begins.
  std::vector<std::uint8_t> titleStarts_;
  // The set-up fingerprints of the category's problems and their latest
  // attempts, read with the list in a lecture mode.
  std::map<int, std::uint64_t> fingerprints_;
  std::map<int, ProblemStudy> studied_;
  bool fingerprintsRead_ = false;
  bool studyTried_ = false;  // kept while the program runs
  bool studyFailureShown_ = false;
  std::vector<CommentRecord> comments_;      // of the List3 lines
  std::vector<CommentRef> commentRemovals_;  // what DeleteCommentKeys names
  std::array<bool, ProblemPoints + 1> marked_{};
  std::vector<OptionButton*> playGroup_, subGroup_;
};

// Line formats of the answer and comment lists.
Str AnswerListLine(const AnswerLine& line);
// A record number as five digits with leading zeros.
Str RecordDigits(int record);
Str CommentKey(int problem, int record);
Str CommentListLine(int problem, int record, const Str& text);

}  // namespace sol
