// The library and problem windows through their widgets: a real program with
// the Qt platform and views, its data files written for each test.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QWindow>
#include <QtTest>
#include <algorithm>
#include <memory>

#include "app/program.h"
#include "bench/window_walk.h"
#include "problems/study_window.h"
#include "qt/board_widget.h"
#include "qt/form_view.h"
#include "qt/qt_platform.h"
#include "tests/gui/list_lines.h"
#include "tests/gui/problem_files.h"

using namespace sol;
using testdata::At;
using testdata::LineCount;
using testdata::LineRect;
using testdata::LineText;

namespace {

QtMessageHandler previousHandler = nullptr;
void QuietOffscreen(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (message.startsWith(QStringLiteral("This plugin does not support"))) return;
  if (previousHandler) previousHandler(type, context, message);
}

// The rectangle of a widget in its window's coordinates.
QRect InWindow(const QWidget* w) { return QRect(w->mapTo(w->window(), QPoint(0, 0)), w->size()); }

// The widgets of the form's controls that are on screen.
std::vector<QWidget*> ShownWidgets(FormView* v) {
  std::vector<QWidget*> shown;
  for (Control* c : v->Model().Controls())
    if (QWidget* w = v->WidgetOf(c->Name()); w && w->isVisible() && w != v->StatusLabel()) shown.push_back(w);
  return shown;
}

// Every half-width character as wide as any other and a full-width one as
// wide as two: text in such a face lines up in columns.
bool LinesUpColumns(const QFont& f) {
  const QFontMetricsF m(f);
  const double unit = m.horizontalAdvance(u'0');
  return unit > 0 && m.horizontalAdvance(u'i') == unit && m.horizontalAdvance(u'W') == unit &&
         m.horizontalAdvance(QChar(0x624B)) == 2 * unit && m.horizontalAdvance(QChar(0x3000)) == 2 * unit;
}

}  // namespace

class WindowsTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<QTemporaryDir> dir_;
  std::unique_ptr<QtPlatform> platform_;
  std::unique_ptr<Program> program_;
  FormView* main_ = nullptr;

  // The colour the window last painted at a point of a widget.
  static QColor ScreenPixel(QWidget* w, QPoint p) {
    const QPoint at = w->mapTo(w->window(), p);
    const QImage img =
        w->window()->windowHandle()->screen()->grabWindow(w->window()->winId(), at.x(), at.y(), 1, 1).toImage();
    return img.pixelColor(0, 0);
  }
  static QColor PointPixel(BoardWidget* board, int point) {
    return ScreenPixel(board, board->PointCentre(point).toPoint());
  }
  static bool IsWood(const QColor& c) { return c.lightness() > 120 && c.red() > c.blue() + 40; }

  static void ClickLine(QListView* list, int row) {
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, LineRect(list, row).center());
  }

  FormView* OpenProblems(const char* menu) {
    main_->ActionOf(menu)->trigger();
    FormView* v = ViewOf(program_->Problems);
    return v && QTest::qWaitForWindowExposed(v) ? v : nullptr;
  }

  // The smallest size that shows the whole content without scrolling.
  static void ShrinkToContent(FormView* v) {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    v->resize(v->size() - v->centralWidget()->size() + v->Content()->minimumSizeHint());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
  }

  // Every shown control inside the window, none covering another, every
  // button wide enough for its caption, and no empty stretch left where
  // hidden controls would be: neither between rows nor inside a row.
  static void CheckLayout(FormView* v, const QString& what) {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    const QRect inside = InWindow(v->centralWidget());
    const std::vector<QWidget*> shown = ShownWidgets(v);
    for (QWidget* w : shown) {
      const QString name = what + u' ' + w->objectName();
      QVERIFY2(inside.contains(InWindow(w)), qPrintable(name + QStringLiteral(" leaves the window")));
      if (auto* b = qobject_cast<QPushButton*>(w))
        QVERIFY2(b->width() >= b->minimumSizeHint().width(), qPrintable(name + QStringLiteral(" is clipped")));
      for (QWidget* other : shown) {
        if (other == w || w->isAncestorOf(other) || other->isAncestorOf(w)) continue;
        QVERIFY2(!InWindow(w).intersects(InWindow(other)),
                 qPrintable(name + QStringLiteral(" overlaps ") + other->objectName()));
      }
    }
    // Rows: the controls right of the board, swept from top to bottom.
    const auto* board = v->findChild<BoardWidget*>();
    const int panelLeft = board ? InWindow(board).right() : inside.left();
    std::vector<QRect> panel;
    for (QWidget* w : shown)
      if (InWindow(w).left() > panelLeft && !qobject_cast<QWidget*>(w->parent())->inherits("QGroupBox"))
        panel.push_back(InWindow(w));
    std::sort(panel.begin(), panel.end(), [](const QRect& a, const QRect& b) { return a.top() < b.top(); });
    int reached = panel.empty() ? 0 : panel.front().bottom();
    for (const QRect& r : panel) {
      QVERIFY2(r.top() - reached <= 24, qPrintable(what + QStringLiteral(": a hole above y=%1").arg(r.top())));
      reached = std::max(reached, r.bottom());
    }
    // Within a row of buttons, each follows the one before it.
    std::vector<QRect> buttons;
    for (QWidget* w : shown)
      if (qobject_cast<QPushButton*>(w) && InWindow(w).left() > panelLeft) buttons.push_back(InWindow(w));
    for (const QRect& b : buttons) {
      if (b.left() - panelLeft < 40) continue;
      const bool follows = std::any_of(buttons.begin(), buttons.end(), [&](const QRect& a) {
        return a.top() == b.top() && a.right() < b.left() && b.left() - a.right() <= 12;
      });
      QVERIFY2(follows, qPrintable(what + QStringLiteral(": a hole left of a button at x=%1").arg(b.left())));
    }
  }

 private slots:
  void initTestCase() { previousHandler = qInstallMessageHandler(QuietOffscreen); }

  void init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    // Two 手筋 problems; the second one's stone lies in the far column and
    // row of the problem board.
    testdata::ProblemFiles files(dir_->path());
    files.Problem(1, 1001, u"ゲタ");
    files.Problem(2, 1002, u"隅の死活");
    files.Stone(1, 1001, Black, At(3, 3));
    files.Stone(2, 1001, White, At(4, 4));
    files.Stone(3, 1002, Black, At(13, 19));
    files.Answer(1, 1001, 1, 1, At(5, 5), 99);
    files.Answer(2, 1001, 2, 2, At(4, 5), 0);
    files.Comment(1, 1001, 1, u"ゲタで取ります");
    files.CreateTheRest();

    platform_ = std::make_unique<QtPlatform>(dir_->path());
    program_ = std::make_unique<Program>(*platform_, dir_->path().toStdString());
    platform_->CreateViews(program_->Forms());
    program_->Start();
    main_ = ViewOf(program_->MainBoard);
    QVERIFY(main_);
    QVERIFY(QTest::qWaitForWindowExposed(main_));
  }

  void cleanup() {
    platform_->DestroyViews();
    program_.reset();
    platform_.reset();
    dir_.reset();
  }

  void reviewShowsSignsAndGoesOnWithEnter() {
    FormView* v = OpenProblems("メニュー手筋講座");
    QVERIFY(v);
    StudyRecords& records = program_->Study;
    QVERIFY(records.Available());
    for (const auto& [n, fp] : SetupFingerprints(program_->State, 1))
      QVERIFY(records.Record({1, n, fp, n == 1001 ? StudyResult::Missed : StudyResult::AfterMistake, ""}));
    v->ActionOf("メニュー手筋講座")->trigger();
    auto* list = v->Widget<QListView>("List1");
    QTRY_COMPARE(LineCount(list), 2);
    // Each line has its sign; the texts keep their own.
    for (int row = 0; row < 2; ++row) {
      const QModelIndex at = list->model()->index(row, 0);
      QVERIFY(!at.data(Qt::DecorationRole).value<QIcon>().isNull());
      QVERIFY(
          at.data(Qt::DisplayRole).toString().startsWith(row == 0 ? QStringLiteral("1001") : QStringLiteral("1002")));
    }

    v->ActionOf("メニュー復習")->trigger();
    QCOMPARE(program_->Problems.List1.ListIndex(), 0);
    auto* next = v->Widget<QPushButton>("Command21");
    QTRY_VERIFY(next->isVisible());
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(program_->Problems.List1.ListIndex(), 1);
    QCOMPARE(program_->Problems.SelectedProblem(), 1002);
    v->ActionOf("メニュー復習")->trigger();
    QTRY_VERIFY(!next->isVisible());
    // Out of review, Enter is nobody's.
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(program_->Problems.List1.ListIndex(), 1);
  }

  void problemListClickPutsTheProblemOnTheBoard() {
    FormView* v = OpenProblems("メニュー手筋講座");
    QVERIFY(v);
    QVERIFY(!main_->isVisible());
    auto* list = v->Widget<QListView>("List1");
    auto* board = v->Widget<BoardWidget>("Image1");
    QVERIFY(list && board);
    QCOMPARE(LineCount(list), 2);

    // The 13 by 19 board has square cells and ends at its last column and row.
    const QPointF first = board->PointCentre(1);
    QCOMPARE(board->PointCentre(At(2, 1)) - first, QPointF(board->CellSize(), 0));
    QCOMPARE(board->PointCentre(At(1, 2)) - first, QPointF(0, board->CellSize()));
    QVERIFY(board->rect().contains(board->PointCentre(At(13, 19)).toPoint()));
    QCOMPARE(board->PointAt(board->PointCentre(At(13, 19))), int{At(13, 19)});

    ClickLine(list, 1);
    QCOMPARE(program_->Problems.List1.ListIndex(), 1);
    QCOMPARE(program_->Problems.Cells.PictureAt(At(13, 19)), PictureBlack);
    QTRY_VERIFY(PointPixel(board, At(13, 19)).lightness() < 70);
    QVERIFY(IsWood(PointPixel(board, At(3, 3))));

    // Another problem replaces the stones, on screen too.
    ClickLine(list, 0);
    QCOMPARE(program_->Problems.Cells.PictureAt(At(3, 3)), PictureBlack);
    QCOMPARE(program_->Problems.Cells.PictureAt(At(13, 19)), PictureNone);
    QTRY_VERIFY(PointPixel(board, At(3, 3)).lightness() < 70);
    QTRY_VERIFY(PointPixel(board, At(4, 4)).lightness() > 200);
    QTRY_VERIFY(IsWood(PointPixel(board, At(13, 19))));
  }

  void closingTheProblemWindowBringsBackTheMainBoard() {
    FormView* v = OpenProblems("メニュー手筋講座");
    QVERIFY(v);
    QVERIFY(!main_->isVisible());
    v->close();
    QTRY_VERIFY(main_->isVisible());
    QVERIFY(!v->isVisible());
  }

  void libraryIsModalOverTheMainBoard() {
    auto* board = main_->Widget<BoardWidget>("Image1");
    const QPoint point = board->mapTo(main_, board->PointCentre(61).toPoint());
    main_->ActionOf("メニュー棋譜")->trigger();
    FormView* library = ViewOf(program_->Library);
    QVERIFY(library);
    QVERIFY(QTest::qWaitForWindowExposed(library));
    QCOMPARE(library->windowModality(), Qt::ApplicationModal);
    QCOMPARE(QApplication::activeModalWidget(), library);

    // A press that reaches the main board's window goes nowhere.
    QTest::mouseClick(main_->windowHandle(), Qt::LeftButton, {}, point);
    QCOMPARE(program_->State.MoveCount, 0);
    QCOMPARE(program_->MainBoard.Cells.PictureAt(61), PictureNone);

    library->ActionOf("メニューメイン碁盤へ")->trigger();
    QTRY_VERIFY(!library->isVisible());
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
    QTest::mouseClick(main_->windowHandle(), Qt::LeftButton, {}, point);
    QCOMPARE(program_->State.MoveCount, 1);
    QCOMPARE(program_->MainBoard.Cells.PictureAt(61), PictureBlack);
  }

  void libraryReadsOnDoubleClickAndEnterRecordsNothing() {
    for (int p : {61, 62}) program_->MainBoard.BoardMouseDown(p, ButtonLeft, 0);
    main_->ActionOf("メニュー棋譜")->trigger();
    FormView* library = ViewOf(program_->Library);
    QVERIFY(QTest::qWaitForWindowExposed(library));
    auto* games = library->Widget<QListView>("List1");
    auto* input = library->Widget<QLineEdit>("Text1");
    input->setFocus();
    QInputMethodEvent typed;
    typed.setCommitString(QStringLiteral("05：朝刊"));
    QApplication::sendEvent(input, &typed);
    QCOMPARE(QString::fromStdU16String(program_->Library.Text1.Text()), QStringLiteral("05：朝刊"));
    QTest::keyClick(input, Qt::Key_Return);
    QTest::keyClick(input, Qt::Key_Enter);
    QCOMPARE(LineCount(games), 0);
    QTest::mouseClick(library->Widget<QPushButton>("Command1"), Qt::LeftButton);  // 記録
    QCOMPARE(LineCount(games), 1);
    library->ActionOf("メニューメイン碁盤へ")->trigger();

    program_->MainBoard.BoardMouseDown(63, ButtonLeft, 0);
    QCOMPARE(program_->State.MoveCount, 3);
    main_->ActionOf("メニュー棋譜")->trigger();
    QVERIFY(QTest::qWaitForWindowExposed(library));
    // The line read back from the file is padded with blanks; they widen nothing.
    QVERIFY(LineText(games, 0).endsWith(QStringLiteral("    ")));
    QVERIFY(!games->horizontalScrollBar()->isVisible());
    // A double click as the system delivers it: a click, then the second press.
    const QPoint line = LineRect(games, 0).center();
    QTest::mouseClick(games->viewport(), Qt::LeftButton, {}, line);
    QTest::mouseDClick(games->viewport(), Qt::LeftButton, {}, line);
    QTRY_COMPARE(program_->Library.State(), WindowState::Unloaded);
    QCOMPARE(program_->State.MoveCount, 2);
    QCOMPARE(program_->MainBoard.Cells.PictureAt(63), PictureNone);

    // Lists laid out in columns are in a fixed-pitch face (titles are not).
    main_->ActionOf("メニュー棋譜")->trigger();
    QVERIFY(LinesUpColumns(library->Widget<QListView>("List2")->font()));
    library->ActionOf("メニューメイン碁盤へ")->trigger();
    FormView* problems = OpenProblems("メニュー手筋講座");
    QVERIFY(LinesUpColumns(problems->Widget<QListView>("List2")->font()));
    QVERIFY(!LinesUpColumns(games->font()));
  }

  void everyWindowOpensInsideTheScreen() {
    // The offscreen screen is smaller than the windows would like to be.
    const QRect room = main_->screen()->availableGeometry();
    QVERIFY(room.width() < 1040);
    QVERIFY(room.contains(main_->frameGeometry()));
    main_->ActionOf("メニュー棋譜")->trigger();
    FormView* library = ViewOf(program_->Library);
    QVERIFY(QTest::qWaitForWindowExposed(library));
    QVERIFY(room.contains(library->frameGeometry()));
    library->ActionOf("メニューメイン碁盤へ")->trigger();
    FormView* problems = OpenProblems("メニュー手筋登録");
    QVERIFY(room.contains(problems->frameGeometry()));
    // What does not fit scrolls into view.
    auto* scroll = qobject_cast<QScrollArea*>(problems->centralWidget());
    QVERIFY(scroll);
    QWidget* last = problems->WidgetOf("Command17");
    scroll->ensureWidgetVisible(last);
    QVERIFY(scroll->viewport()->rect().contains(QRect(last->mapTo(scroll->viewport(), QPoint(0, 0)), last->size())));
  }

  void layoutsShowEveryModeWithoutClippingOrHoles() {
    main_->ActionOf("メニュー棋譜")->trigger();
    FormView* library = ViewOf(program_->Library);
    QVERIFY(QTest::qWaitForWindowExposed(library));
    library->ActionOf("メニュー残情報")->trigger();
    CheckLayout(library, QStringLiteral("library"));
    // The report shows all its lines without scrolling.
    auto* report = library->Widget<QListView>("List2");
    QCOMPARE(LineCount(report), 17);
    QVERIFY(LineRect(report, 16).bottom() <= report->viewport()->height());
    ShrinkToContent(library);
    CheckLayout(library, QStringLiteral("small library"));
    library->ActionOf("メニューメイン碁盤へ")->trigger();

    FormView* v = OpenProblems("メニュー手筋講座");
    QVERIFY(v);
    ClickLine(v->Widget<QListView>("List1"), 0);
    for (const char* mode : {"メニュー手筋講座", "メニュー手筋登録", "メニューヨセ講座", "メニュー定石講座",
                             "メニュー定石登録", "メニュー手筋登録"}) {
      v->ActionOf(mode)->trigger();
      v->resize(1080, 860);
      CheckLayout(v, QString::fromUtf8(mode));
      ShrinkToContent(v);
      CheckLayout(v, QStringLiteral("small ") + QString::fromUtf8(mode));
    }
    // The answer list's ten-character columns fit without scrolling sideways.
    auto* answers = v->Widget<QListView>("List2");
    QVERIFY(answers->isVisible());
    QCOMPARE(LineCount(answers), 2);
    QVERIFY(answers->fontMetrics().horizontalAdvance(LineText(answers, 0)) <= answers->viewport()->width());
  }

  // The memory benchmark walks every window through these menu entries: each
  // must be there, in the window the step before it left open.
  void benchmarkWalkFindsEveryMenuEntry() {
    for (const bench::WalkStep& step : bench::WindowWalk) {
      QWidget* window = bench::TopWindow(step.form);
      QVERIFY2(window && window->isVisible(), step.form);
      QAction* entry = bench::MenuEntry(step);
      QVERIFY2(entry, step.menu);
      entry->trigger();
      QCoreApplication::processEvents();
    }
    QTRY_VERIFY(main_->isVisible());
  }
};

QTEST_MAIN(WindowsTest)
#include "windows_test.moc"
