// Pictures of the real windows, for looking at the layouts and the boards
// by eye:
//   gui_screenshot [window.png] [numbers.png]
//   gui_screenshot --library lib.png --lecture lecture.png
//                  --registration reg.png --joseki joseki.png --sgf file-menu.png
//                  --version version-box.png
//   gui_screenshot --starter starter.png
//   gui_screenshot --study lecture-marks.png --study-records records.png
// The first form plays an opening on the main board and saves it, then a
// board full of numbered stones (1 to 361) to judge how three-digit numbers
// read, and prints how long a full board repaint takes. The options open the
// other windows on sample data instead: the game record library with two
// games recorded, the problem window in 手筋講座 with a problem loaded and the
// next moves marked, in 手筋登録 with an answer sequence shown, and in 定石講座;
// --sgf opens a game from an SGF file and shows the ファイル menu with it
// among the files opened lately (a picture of the screen, so that the open
// menu is in it). --starter starts on an empty data folder beside a copy of
// the starter library, as a first start does, and shows a 定石 problem
// played along its correct line. --engine plays a few moves against
// GNU Go and asks it for a hint.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFontDatabase>
#include <QInputDialog>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <algorithm>
#include <cstdio>
#include <map>

#include "app/program.h"
#include "core/game_state.h"
#include "problems/store.h"
#include "qt/board_widget.h"
#include "qt/form_view.h"
#include "qt/qt_platform.h"
#include "tests/gui/list_lines.h"
#include "tests/gui/problem_files.h"

using namespace sol;
using testdata::At;

namespace {

// Two 手筋 problems with answers and comments, a few more titles, and two
// 定石 problems.
void WriteSampleProblems(const QString& dir) {
  testdata::ProblemFiles f(dir);
  const std::pair<int16_t, const char16_t*> tesuji[] = {
      {1001, u"ゲタで白二子を取る"}, {1002, u"石の下"},     {1003, u"シチョウか、ゲタか"}, {1004, u"眼を奪うオキ"},
      {2001, u"ウッテガエシで取る"}, {2002, u"オイオトシ"}, {2003, u"ツケコシで切断する"}, {3001, u"ナカデで殺す"},
      {3002, u"捨て石から締め付け"}};
  int record = testdata::ListBlock(1);
  for (const auto& [number, title] : tesuji) f.Problem(record++, number, title);

  // Problem 1001: Black nets the two white stones.
  int stone = testdata::MovesBlock(1);
  for (const auto& [col, row] : {std::pair{3, 3}, {4, 3}, {5, 4}, {3, 5}, {6, 6}, {2, 4}})
    f.Stone(stone++, 1001, Black, At(col, row));
  for (const auto& [col, row] : {std::pair{3, 4}, {4, 4}, {5, 3}, {6, 3}, {4, 6}})
    f.Stone(stone++, 1001, White, At(col, row));
  // The answers: the net (1-2, then 3-4 or the wrong 3), and the wrong first move.
  int a = testdata::AnswersBlock(1);
  f.Answer(a + 0, 1001, 1, 1, At(5, 5), 99);
  f.Answer(a + 1, 1001, 2, 2, At(4, 5), 0);
  f.Answer(a + 2, 1001, 1, -1, At(4, 5), 99);
  f.Answer(a + 3, 1001, 3, 1, At(3, 6), 2);
  f.Answer(a + 4, 1001, 4, 2, At(7, 4), 0);
  f.Answer(a + 5, 1001, 3, -1, At(6, 5), 2);
  int c = testdata::CommentsBlock(1);
  f.Comment(c++, 1001, 1, u"ゲタで白二子を取ります");
  f.Comment(c++, 1001, 3, u"白に逃げられてしまいます");
  f.Comment(c++, 1001, 4, u"これで白は助かりません");
  f.Comment(c++, 1001, 6, u"悪手：白に抜け出されます");
  // Problem 1002 has its position only.
  for (const auto& [col, row, colour] : {std::tuple{2, 2, 1}, {3, 2, 1}, {2, 3, 2}, {3, 3, 2}, {4, 3, 1}})
    f.Stone(stone++, 1002, static_cast<int16_t>(colour), At(col, row));

  record = testdata::ListBlock(4);
  f.Problem(record++, 1001, u"小目・一間高ガカリ");
  f.Problem(record++, 1002, u"星・小ゲイマガカリ");
  f.Problem(record++, 2001, u"三々入り");
  stone = testdata::MovesBlock(4);
  f.Stone(stone++, 1001, Black, At(4, 3));
  f.Stone(stone++, 1002, Black, At(4, 4));
  f.Stone(stone++, 2001, Black, At(4, 4));
  a = testdata::AnswersBlock(4);
  const std::tuple<int, int, int> joseki[] = {{2, 5, 4}, {1, 3, 4}, {2, 3, 5}, {1, 2, 5}, {2, 5, 3}, {1, 6, 4}};
  for (int i = 0; i < 6; ++i) {
    const auto& [colour, col, row] = joseki[i];
    f.Answer(a + i, 1001, static_cast<int16_t>(i + 1), static_cast<int16_t>(colour), At(col, row),
             static_cast<int16_t>(i == 0 ? 99 : 0));
  }
  f.CreateTheRest();
}

// Answers any message box with its first button, saying what it asked, so
// that a picture never waits for a click.
QString InputText = QStringLiteral("研究会　第三局");

// Where the next message box is pictured before it is answered.
QString boxShot;

void DismissBoxes(QObject* owner) {
  auto* timer = new QTimer(owner);
  QObject::connect(timer, &QTimer::timeout, [] {
    // Input boxes get a title typed in and are accepted.
    if (auto* input = qobject_cast<QInputDialog*>(QApplication::activeModalWidget())) {
      input->setTextValue(InputText);
      input->accept();
      return;
    }
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    // Any other dialog (the game against the computer) is taken as it stands.
    if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()); dialog && !box) {
      dialog->accept();
      return;
    }
    if (!box) return;
    std::printf("message box: %s\n", qPrintable(box->text()));
    if (!boxShot.isEmpty()) {
      if (!box->grab().save(boxShot)) std::fprintf(stderr, "cannot save %s\n", qPrintable(boxShot));
      boxShot.clear();
    }
    box->buttons().front()->click();
  });
  timer->start(20);
}

void Settle() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
  QTest::qWait(150);
}

bool Save(QWidget* w, const QString& file) {
  Settle();
  const bool ok = w->grab().save(file);
  std::printf("%s %dx%d saved to %s\n", qPrintable(w->objectName()), w->width(), w->height(), qPrintable(file));
  return ok;
}

void ClickButton(FormView* v, const char* name) {
  if (auto* b = v->Widget<QPushButton>(name)) QTest::mouseClick(b, Qt::LeftButton);
}

void ClickLine(FormView* v, const char* list, int row) {
  auto* w = v->Widget<QListView>(list);
  if (!w || row >= testdata::LineCount(w)) return;
  w->scrollTo(w->model()->index(row, 0));
  QTest::mouseClick(w->viewport(), Qt::LeftButton, {}, testdata::LineRect(w, row).center());
}

void ClickPoint(FormView* v, int point) {
  auto* board = v->Widget<BoardWidget>("Image1");
  QTest::mouseClick(board, Qt::LeftButton, {}, board->PointCentre(point).toPoint());
}

void Trigger(FormView* v, const char* menu) {
  if (QAction* a = v->ActionOf(menu)) a->trigger();
  Settle();
}

const std::pair<int, int> Opening[] = {{16, 4},
                                       {4, 16},
                                       {16, 16},
                                       {4, 4},
                                       {3, 14},
                                       {6, 16},
                                       {3, 10},
                                       {14, 3},
                                       {17, 6},
                                       {11, 3},
                                       {10, 16},
                                       {16, 10},
                                       {17, 13},
                                       {14, 10},
                                       {6, 3},
                                       {3, 6},
                                       {4, 9},
                                       {17, 3},
                                       {18, 4},
                                       {17, 4},
                                       {17, 5},
                                       {18, 3},
                                       {15, 4},
                                       {15, 3},
                                       {13, 4},
                                       {12, 4},
                                       {13, 5},
                                       {13, 3},
                                       {16, 8},
                                       {10, 10},
                                       {3, 3},
                                       {3, 4},
                                       {4, 3},
                                       {5, 3},
                                       {2, 4},
                                       {2, 5},
                                       {2, 3},
                                       {3, 5},
                                       {9, 4},
                                       {14, 16},
                                       // Black surrounds the white stone on the centre point and takes it.
                                       {9, 10},
                                       {15, 14},
                                       {11, 10},
                                       {7, 17},
                                       {10, 9},
                                       {13, 17},
                                       {10, 11},
                                       {3, 17}};

void PlayOpening(FormView* main, int moves) {
  int n = 0;
  for (const auto& [col, row] : Opening) {
    if (n++ == moves) break;
    ClickPoint(main, BoardSize * (col - 1) + row);
  }
}

int NumbersPicture(const QString& file) {
  // Every point numbered, alternating colours, some numbers in the later
  // highlight colours.
  BoardCells cells("sample", BoardSize, BoardSize);
  for (int p = 1; p <= PointCount; ++p) {
    const bool black = p % 2 == 1;
    cells.SetPicture(p, black ? PictureBlack : PictureWhite);
    cells.SetForeColor(p, p % 37 == 0 ? ColourRed : p % 41 == 0 ? ColourGreen : black ? ColourWhite : ColourBlack);
    cells.SetCaption(p, QString::number(p).toStdU16String());
  }
  BoardWidget sample(cells);
  sample.resize(800, 800);
  QPixmap pm(sample.size());
  sample.render(&pm);  // builds the caches
  QElapsedTimer t;
  t.start();
  const int rounds = 50;
  for (int i = 0; i < rounds; ++i) sample.render(&pm);
  std::printf("full repaint of a numbered 800x800 board: %.2f ms\n", t.nsecsElapsed() / 1e6 / rounds);
  return pm.save(file) ? 0 : 4;
}

}  // namespace

void CopyFolder(const QString& from, const QString& to) {
  QDir().mkpath(to);
  const QDir source(from);
  for (const QString& name : source.entryList(QDir::Files)) QFile::copy(from + "/" + name, to + "/" + name);
  for (const QString& name : source.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
    CopyFolder(from + "/" + name, to + "/" + name);
}

// The program on an empty data folder beside a copy of the starter
// library, started as a first start is, its main board shown.
struct FirstStart {
  FirstStart() {
    CopyFolder(QCoreApplication::applicationDirPath() + QStringLiteral("/problems"), dir.path() + "/problems");
    platform.CreateViews(program.Forms());
    program.Start();
    main = ViewOf(program.MainBoard);
    shown = QTest::qWaitForWindowExposed(main);
  }
  QTemporaryDir dir;
  QtPlatform platform{dir.path()};
  Program program{platform, dir.path().toStdString()};
  FormView* main = nullptr;
  bool shown = false;
};

int StarterShot(const QString& file) {
  FirstStart start;
  if (!start.shown) return 3;
  Program& program = start.program;
  FormView* main = start.main;
  std::printf("status: %s\n", ToUtf8(program.MainBoard.StatusBar1.Text()).c_str());
  Trigger(main, "メニュー定石講座");
  FormView* problems = ViewOf(program.Problems);
  // A long one: the 3-3 invasion to its end, its comment shown.
  const int line = std::max(0, program.Problems.List1.ListCount() - 3);
  ClickLine(problems, "List1", line);
  const int number = program.Problems.SelectedProblem();
  std::vector<AnswerMoveRecord> answers;
  for (const auto& a : ScanAnswers(program.State, 4))
    if (a.value.ProblemNumber == number) answers.push_back(a.value);
  // From the position, each time the first correct sequence that follows.
  for (int from = StartsAtProblem;;) {
    auto head = std::find_if(answers.begin(), answers.end(),
                             [from](const AnswerMoveRecord& a) { return a.BranchLink == from && a.SignedColour > 0; });
    if (head == answers.end()) break;
    for (auto a = head; a != answers.end() && (a == head || a->BranchLink == 0); ++a) {
      ClickPoint(problems, a->Point);
      from = a->RecordNumber;
    }
  }
  return Save(problems, file) ? 0 : 4;
}

// The moves of one way through the answer of problem `number`: from the
// position each time the first sequence that follows, the first one wrong
// when `wrong`, then correct ones.
std::vector<int> AnswerWay(const GameState& state, int category, int number, bool wrong) {
  std::vector<AnswerMoveRecord> answers;
  for (const auto& a : ScanAnswers(state, category))
    if (a.value.ProblemNumber == number) answers.push_back(a.value);
  std::vector<int> points;
  for (int from = StartsAtProblem;;) {
    const bool first = from == StartsAtProblem;
    auto head = std::find_if(answers.begin(), answers.end(), [&](const AnswerMoveRecord& a) {
      return a.BranchLink == from && (first && wrong ? a.SignedColour < 0 : a.SignedColour > 0);
    });
    if (head == answers.end()) break;
    for (auto a = head; a != answers.end() && (a == head || a->BranchLink == 0); ++a) {
      points.push_back(a->Point);
      from = a->RecordNumber;
    }
  }
  return points;
}

// The starter library's 手筋 after a short session: two problems solved
// alone, one after a take-back, one played into a wrong line; then the
// 学習記録 window.
int StudyShot(const QString& file, const QString& recordsFile) {
  FirstStart start;
  if (!start.shown) return 3;
  Program& program = start.program;
  FormView* main = start.main;
  Trigger(main, "メニュー手筋講座");
  FormView* problems = ViewOf(program.Problems);
  Form4& f = program.Problems;
  int missed = -1;
  for (int line = 0; line < std::min(8, f.List1.ListCount()); ++line) {
    ClickLine(problems, "List1", line);
    const int number = f.SelectedProblem();
    std::vector<int> way = AnswerWay(program.State, 1, number, false);
    if (line == 3 || (line > 3 && missed < 0)) {
      std::vector<int> wrong = AnswerWay(program.State, 1, number, true);
      if (wrong.empty()) continue;
      for (int p : wrong) ClickPoint(problems, p);
      missed = line;
      if (line >= 3) break;
      continue;
    }
    if (line == 2 && !way.empty()) {
      ClickPoint(problems, way.front());
      ClickButton(problems, "Command3");  // taken back, then played again
    }
    for (int p : way) ClickPoint(problems, p);
  }
  std::printf("summary: %s\n", ToUtf8(f.Label21.Caption()).c_str());
  int status = Save(problems, file) ? 0 : 4;
  if (!recordsFile.isEmpty()) {
    Trigger(problems, "メニュー学習記録…");
    FormView* records = ViewOf(program.StudyWindow);
    if (!records || !QTest::qWaitForWindowExposed(records)) return 3;
    Settle();
    if (!Save(records, recordsFile)) status = 4;
  }
  return status;
}

// A game against GNU Go at level 1: a dozen moves each, then its hint.
int EngineShot(const QString& file) {
  QTemporaryDir dir;
  QtPlatform platform(dir.path());
  Program program(platform, dir.path().toStdString() + "/");
  platform.CreateViews(program.Forms());
  program.Start();
  program.State.Preferences.Set("engine", "gnugo --mode gtp --level 1");
  FormView* main = ViewOf(program.MainBoard);
  if (!QTest::qWaitForWindowExposed(main)) return 3;
  Trigger(main, "メニューコンピュータと対局…");
  int played = 0;
  for (const auto& [col, row] : Opening) {
    const int point = BoardSize * (col - 1) + row;
    if (program.State.Board[point] != 0) continue;
    ClickPoint(main, point);
    if (!program.MainBoard.EngineGameActive() || ++played == 14) break;
  }
  Trigger(main, "メニューヒント");
  std::printf("status: %s\n", ToUtf8(program.MainBoard.StatusBar1.Text()).c_str());
  return Save(main, file) ? 0 : 4;
}

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QStringList families = QFontDatabase::families();
  if (families.contains(QStringLiteral("Noto Sans CJK JP"))) {
    QFont f = app.font();
    f.setFamily(QStringLiteral("Noto Sans CJK JP"));
    app.setFont(f);
  }
  QStringList positional;
  std::map<QString, QString> shots;
  for (int i = 1; i < argc; ++i) {
    const QString arg = QString::fromLocal8Bit(argv[i]);
    if (arg.startsWith(QStringLiteral("--")) && i + 1 < argc)
      shots[arg.mid(2)] = QString::fromLocal8Bit(argv[++i]);
    else
      positional << arg;
  }
  for (const auto& [name, file] : shots)
    if (!QStringList({"library", "lecture", "registration", "joseki", "print", "sgf", "starter", "engine", "version",
                      "study", "study-records"})
             .contains(name)) {
      std::fprintf(stderr, "unknown option --%s\n", qPrintable(name));
      return 1;
    }
  if (shots.count(QStringLiteral("engine"))) {
    DismissBoxes(&app);
    return EngineShot(shots[QStringLiteral("engine")]);
  }
  if (shots.count(QStringLiteral("study"))) {
    DismissBoxes(&app);
    return StudyShot(shots[QStringLiteral("study")],
                     shots.count(QStringLiteral("study-records")) ? shots[QStringLiteral("study-records")] : QString());
  }
  if (shots.count(QStringLiteral("starter"))) {
    DismissBoxes(&app);
    return StarterShot(shots[QStringLiteral("starter")]);
  }
  const bool mainShots = shots.empty() || !positional.isEmpty();
  const QString windowShot = positional.value(0, QStringLiteral("/tmp/form2.png"));
  const QString numbersShot = positional.value(1, QStringLiteral("/tmp/board-numbers.png"));
  auto shot = [&](const char* name) { return shots.count(QString::fromLatin1(name)) ? shots[name] : QString(); };

  QTemporaryDir dir;
  WriteSampleProblems(dir.path());
  QtPlatform platform(dir.path());
  DismissBoxes(&app);
  int status = 0;
  {
    Program program(platform, dir.path().toStdString());
    platform.CreateViews(program.Forms());
    program.Start();
    FormView* main = ViewOf(program.MainBoard);
    if (!QTest::qWaitForWindowExposed(main)) return 3;

    if (mainShots) {
      PlayOpening(main, 1000);
      QTest::qWait(200);
      if (!Save(main, windowShot)) status = 4;
      if (NumbersPicture(numbersShot) != 0) status = 4;
    }

    if (const QString file = shot("library"); !file.isEmpty()) {
      if (!mainShots) PlayOpening(main, 12);
      FormView* library = ViewOf(program.Library);
      for (const char* title : {"01：朝の一局", "02：研究会　三局目"}) {
        Trigger(main, "メニュー棋譜");
        library = ViewOf(program.Library);
        auto* input = library->Widget<QLineEdit>("Text1");
        input->setFocus();
        input->selectAll();
        // Japanese text arrives from the input method, as a committed string.
        QInputMethodEvent typed;
        typed.setCommitString(QString::fromUtf8(title));
        QApplication::sendEvent(input, &typed);
        ClickButton(library, "Command1");  // 記録
        Trigger(library, "メニューメイン碁盤へ");
      }
      Trigger(main, "メニュー棋譜");
      Trigger(library, "メニュー残情報");
      ClickLine(library, "List1", 1);
      if (!Save(library, file)) status = 4;
      Trigger(library, "メニューメイン碁盤へ");
    }

    if (const QString file = shot("sgf"); !file.isEmpty()) {
      // The opening as a game file from elsewhere, with its players and date.
      QString moves;
      bool black = true;
      for (const auto& [col, row] : Opening) {
        moves += QStringLiteral(";%1[%2%3]").arg(black ? 'B' : 'W').arg(QChar('a' + col - 1)).arg(QChar('a' + row - 1));
        black = !black;
      }
      const QString path = dir.path() + QStringLiteral("/研究会 第三局.sgf");
      QFile f(path);
      if (f.open(QIODevice::WriteOnly)) {
        f.write(("(;FF[4]GM[1]SZ[19]CA[UTF-8]GN[研究会 第三局]PB[山田]PW[佐藤]DT[2026-11-28]" + moves + ")").toUtf8());
        f.close();
      }
      main->Forward(nullptr, [&] { program.MainBoard.OpenSgfFile(path.toStdString(), {}); });
      Settle();
      QAction* open = main->ActionOf("メニューSGFを開く…");
      auto* menu = open ? qobject_cast<QMenu*>(open->parent()) : nullptr;
      if (menu) {
        const QRect at = main->menuBar()->actionGeometry(menu->menuAction());
        menu->popup(main->menuBar()->mapToGlobal(at.bottomLeft()));
        Settle();
        const QRect frame = main->frameGeometry();
        const QPixmap screen =
            QGuiApplication::primaryScreen()->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height());
        if (!screen.save(file)) status = 4;
        std::printf("screen %dx%d saved to %s\n", frame.width(), frame.height(), qPrintable(file));
        menu->hide();
      } else {
        status = 4;
      }
    }

    if (const QString file = shot("version"); !file.isEmpty()) {
      // The version box, which names the data folder in use.
      boxShot = file;
      Trigger(main, "メニューバージョン情報");
      Settle();
      if (!boxShot.isEmpty()) status = 4;
    }

    if (const QString file = shot("print"); !file.isEmpty()) {
      // The print layout of a long game, and the page it prints (as a PDF
      // beside the picture).
      PlayOpening(main, 120);
      Trigger(main, "メニュー印刷準備");
      QTest::qWait(100);
      if (!Save(main, file)) status = 4;
      platform.usePrinter = false;
      const QString said = QString::fromStdU16String(platform.PrintWindow(program.MainBoard, u"印刷見本"));
      const QString pdf = said.section(QStringLiteral(": "), 1);
      QFile::remove(file + QStringLiteral(".pdf"));
      if (!QFile::copy(pdf, file + QStringLiteral(".pdf"))) status = 4;
      ClickButton(main, "Command5");  // 戻り
    }

    FormView* problems = nullptr;
    if (const QString file = shot("lecture"); !file.isEmpty()) {
      Trigger(main, "メニュー手筋講座");
      problems = ViewOf(program.Problems);
      ClickLine(problems, "List1", 0);
      ClickButton(problems, "Command1");  // the two first moves marked
      ClickPoint(problems, At(5, 5));     // the green one
      ClickButton(problems, "Command1");  // White's answer
      ClickButton(problems, "Command1");  // the two third moves marked
      if (!Save(problems, file)) status = 4;
    }
    if (const QString file = shot("registration"); !file.isEmpty()) {
      if (!problems) {
        Trigger(main, "メニュー手筋講座");
        problems = ViewOf(program.Problems);
        ClickLine(problems, "List1", 0);
      }
      Trigger(problems, "メニュー手筋登録");
      ClickLine(problems, "List2", 5);  // the wrong third move, after 1 and 2
      if (!Save(problems, file)) status = 4;
    }
    if (const QString file = shot("joseki"); !file.isEmpty()) {
      if (!problems) {
        Trigger(main, "メニュー定石講座");
        problems = ViewOf(program.Problems);
      } else {
        Trigger(problems, "メニュー定石講座");
      }
      ClickLine(problems, "List1", 0);
      for (int i = 0; i < 4; ++i) ClickButton(problems, "Command1");
      if (!Save(problems, file)) status = 4;
    }
    platform.DestroyViews();
  }
  return status;
}
