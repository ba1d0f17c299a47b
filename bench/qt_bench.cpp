// The Qt front end on full data files, on the offscreen platform: a full
// redraw of each board, and the problem window's commands whose cost lies
// in the views (a list of 31,267 problems), timed from the menu entry or
// click until the windows are redrawn.
#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QListView>
#include <memory>

#include "app/program.h"
#include "bench/bench_support.h"
#include "bench/full_data.h"
#include "core/allocator.h"
#include "core/text.h"
#include "qt/board_widget.h"
#include "qt/form_view.h"
#include "qt/qt_platform.h"

namespace sol::bench {

namespace {

// Lets layouts and paints that the last change asked for happen.
void Settle() {
  for (int i = 0; i < 3; ++i) QApplication::processEvents();
}

class QtSession {
 public:
  QtSession() : platform_(QString::fromStdString(work_.Path())) {
    program_ = std::make_unique<Program>(platform_, work_.Path());
    platform_.CreateViews(program_->Forms());
    program_->Start();
    Settle();
  }
  ~QtSession() {
    platform_.DestroyViews();
    program_.reset();
  }

  Program& P() { return *program_; }
  FormView* View(Form& f) { return ViewOf(f); }
  Form4& OpenProblems(int mode) {
    program_->MainBoard.OpenProblems(mode);
    RefreshAllViews();
    Settle();
    return program_->Problems;
  }

 private:
  WorkDir work_;
  QtPlatform platform_;
  std::unique_ptr<Program> program_;
};

// Every point of the board with a stone and a number: the most a redraw draws.
void FillBoard(BoardCells& cells) {
  for (int p = 1; p <= cells.Count(); ++p) {
    const int16_t colour = p % 2 == 1 ? PictureBlack : PictureWhite;
    cells.SetPicture(p, colour);
    cells.SetForeColor(p, colour == PictureBlack ? ColourWhite : ColourBlack);
    cells.SetCaption(p, Num(p));
  }
}

void RedrawBench(benchmark::State& state, bool problemBoard) {
  QtSession s;
  Form& form = problemBoard ? static_cast<Form&>(s.OpenProblems(1)) : static_cast<Form&>(s.P().MainBoard);
  FillBoard(*form.Board());
  RefreshAllViews();
  Settle();
  BoardWidget* board = s.View(form)->Widget<BoardWidget>("Image1");
  if (!board || !board->isVisible()) {
    state.SkipWithError("the board is not shown");
    return;
  }
  state.SetLabel(std::to_string(board->width()) + "x" + std::to_string(board->height()) + " px");
  Stopwatch watch(state);
  for (auto _ : state) watch.Time([&] { board->repaint(); });
}

// A menu entry of the problem window, from the click until the window has
// been redrawn; `settle` off stops once the views have taken the change.
void MenuBench(benchmark::State& state, int from, const char* fromMenu, const char* toMenu, bool settle) {
  QtSession s;
  Form4& f = s.OpenProblems(from);
  FormView* view = s.View(f);
  QAction* back = view->ActionOf(fromMenu);
  QAction* go = view->ActionOf(toMenu);
  if (!back || !go) {
    state.SkipWithError("menu entry not found");
    return;
  }
  {
    Stopwatch watch(state);
    for (auto _ : state) {
      back->trigger();
      Settle();
      watch.Time([&] {
        go->trigger();
        if (settle) Settle();
      });
    }
  }
  auto* list = view->Widget<QListView>("List1");
  if (!list || list->model()->rowCount() != f.List1.ListCount())
    state.SkipWithError("the problem list is not shown in full");
}

// A click on a problem of the full 定石 list: the problem loads and every view
// catches up.
void ListClickBench(benchmark::State& state) {
  QtSession s;
  Form4& f = s.OpenProblems(7);
  FormView* view = s.View(f);
  const TreeLandmarks m = FindLandmarks(ReadCategory(PristineDir(), 4));
  int line = -1;
  for (int i = 0; i < f.List1.ListCount() && line < 0; ++i)
    if (Val(Left(f.List1.List(i), 4)) == m.problem) line = i;
  {
    Stopwatch watch(state);
    for (auto _ : state)
      watch.Time([&] {
        view->Forward(&f.List1, [&] { f.List1.SetListIndex(line); });
        Settle();
      });
  }
  if (f.List2.ListCount() != m.lines) state.SkipWithError("the problem did not load");
}

template <typename F>
void Register(const std::string& name, Target target, F f) {
  Judge(name, std::move(target));
  benchmark::RegisterBenchmark(name.c_str(), f)->Unit(benchmark::kMillisecond)->UseManualTime();
}

void RegisterAll() {
  Register("再描画 メイン碁盤", {"メイン碁盤の全面再描画（361子、番号付き）", 2},
           [](benchmark::State& s) { RedrawBench(s, false); });
  Register("再描画 問題碁盤", {"問題碁盤の全面再描画（247子、番号付き）", 2},
           [](benchmark::State& s) { RedrawBench(s, true); });
  Register("画面 手筋講座→定石講座", {"メニュー 手筋講座→定石講座（画面の更新まで）"},
           [](benchmark::State& s) { MenuBench(s, 1, "メニュー手筋講座", "メニュー定石講座", false); });
  Register("画面 手筋講座→定石講座 描画", {"メニュー 手筋講座→定石講座（再描画まで）"},
           [](benchmark::State& s) { MenuBench(s, 1, "メニュー手筋講座", "メニュー定石講座", true); });
  Register("画面 定石講座→手筋講座 描画", {"メニュー 定石講座→手筋講座（再描画まで）"},
           [](benchmark::State& s) { MenuBench(s, 7, "メニュー定石講座", "メニュー手筋講座", true); });
  Register("画面 定石の問題を選ぶ", {"定石の問題リストのクリック（31,267行、再描画まで）"}, ListClickBench);
}

}  // namespace

}  // namespace sol::bench

int main(int argc, char** argv) {
  // As the program does when it starts.
  sol::KeepLargeBuffersInHeap();
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  int qtArgc = 1;
  QApplication app(qtArgc, argv);
  sol::bench::RegisterAll();
  return sol::bench::RunAndTabulate(argc, argv);
}
