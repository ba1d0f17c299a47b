// The desktop program through its widgets: a real program with the Qt
// platform and views, driven by synthetic mouse and keyboard input.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QDialog>
#include <QDoubleSpinBox>
#include <QElapsedTimer>
#include <QFile>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QMimeData>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSlider>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTimer>
#include <QWindow>
#include <QtTest>
#include <algorithm>
#include <memory>

#include "app/program.h"
#include "core/cues.h"
#include "qt/board_widget.h"
#include "qt/figure_painter.h"
#include "qt/form_view.h"
#include "qt/help_viewer.h"
#include "qt/qt_platform.h"
#include "qt/qt_process.h"
#include "tests/gui/list_lines.h"

using namespace sol;
using testdata::CurrentLine;
using testdata::LineCount;
using testdata::LineRect;
using testdata::LineText;

namespace {

QString Q(const Str& s) { return QString::fromStdU16String(s); }

// Answers the next message box by clicking the button with the given text,
// noting what the box showed and, through `atOpen`, anything else the
// player could see at that moment.
class BoxAnswerer : public QObject {
 public:
  BoxAnswerer(QString button, std::function<void()> atOpen = {})
      : button_(std::move(button)), atOpen_(std::move(atOpen)) {
    connect(&timer_, &QTimer::timeout, this, [this] { Poll(); });
    timer_.start(5);
  }

  bool seen = false;
  QString title, text;
  QStringList buttons;

 private:
  void Poll() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    timer_.stop();
    seen = true;
    title = box->windowTitle();
    text = box->text();
    for (QAbstractButton* b : box->buttons()) buttons << b->text();
    if (atOpen_) atOpen_();
    for (QAbstractButton* b : box->buttons())
      if (b->text() == button_) {
        b->click();
        return;
      }
    box->reject();
  }

  QString button_;
  std::function<void()> atOpen_;
  QTimer timer_;
};

// The Qt platform, except that ending the program only closes its windows:
// the test's own event loop must keep running.
class TestPlatform : public QtPlatform {
 public:
  using QtPlatform::QtPlatform;
  void Quit() override {
    ++quits;
    CloseAllWindows();
  }
  // An input box answered at once with this text, when it is set.
  std::optional<Str> InputBox(const Str& prompt, const Str& caption, const Str& defaultText) override {
    if (!nextInput) return QtPlatform::InputBox(prompt, caption, defaultText);
    std::optional<Str> text = nextInput;
    nextInput.reset();
    return text;
  }
  std::optional<Str> AskEngineGame(const Str& prompt, const Str& title, const Str& current) override {
    if (!nextInput) return QtPlatform::AskEngineGame(prompt, title, current);
    return InputBox(prompt, title, current);
  }
  int quits = 0;
  std::optional<Str> nextInput;
};

// Offscreen windows cannot do everything a desktop can; that is no fault.
QtMessageHandler previousHandler = nullptr;
void QuietOffscreen(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (message.startsWith(QStringLiteral("This plugin does not support"))) return;
  if (previousHandler) previousHandler(type, context, message);
}

// A window with the controls the main board lacks, shown by the generic view.
class ListForm : public Form {
 public:
  explicit ListForm(Platform& p) : Form("ListForm", p) {
    Caption = u"一覧";
    Register(List1);
    Register(Text1);
    Register(Hidden1);
    List1.OnSelect = [this] { selected.push_back(List1.ListIndex()); };
    Text1.OnChange = [this] { ++changes; };
  }
  ListBox List1{"List1"};
  TextBox Text1{"Text1"};
  CommandButton Hidden1{"Hidden1"};
  std::vector<int> selected;
  int changes = 0;
  std::vector<std::vector<std::string>> drops;
  void DropFiles(const std::vector<std::string>& paths) override { drops.push_back(paths); }
};

}  // namespace

class GuiTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<QTemporaryDir> dir_;
  std::unique_ptr<TestPlatform> platform_;
  std::unique_ptr<Program> program_;
  std::unique_ptr<ListForm> extra_;
  FormView* view_ = nullptr;
  BoardWidget* board_ = nullptr;

  Form2& Main() { return program_->MainBoard; }

  void Click(int point, Qt::MouseButton button = Qt::LeftButton, Qt::KeyboardModifiers mods = {}) {
    QTest::mouseClick(board_, button, mods, board_->PointCentre(point).toPoint());
  }

  // The colour on screen (the window's backing store, as last painted) at a
  // pixel of a widget.
  QColor ScreenPixel(QWidget* w, QPoint p) {
    const QPoint at = w->mapTo(w->window(), p);
    const QImage img =
        w->window()->windowHandle()->screen()->grabWindow(w->window()->winId(), at.x(), at.y(), 1, 1).toImage();
    return img.pixelColor(0, 0);
  }
  // A spot on the stone of a point away from its number.
  QColor StonePixel(int point) {
    const QPointF c = board_->PointCentre(point);
    return ScreenPixel(board_, QPointF(c.x(), c.y() + board_->CellSize() * 0.34).toPoint());
  }

 private slots:
  void initTestCase() { previousHandler = qInstallMessageHandler(QuietOffscreen); }

  void init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    platform_ = std::make_unique<TestPlatform>(dir_->path());
    platform_->usePrinter = false;
    program_ = std::make_unique<Program>(*platform_, dir_->path().toStdString());
    platform_->CreateViews(program_->Forms());
    program_->Start();
    view_ = ViewOf(Main());
    QVERIFY(view_);
    QVERIFY(QTest::qWaitForWindowExposed(view_));
    board_ = view_->Widget<BoardWidget>("Image1");
    QVERIFY(board_);
    QVERIFY(board_->CellSize() >= 20);
  }

  void cleanup() {
    platform_->DestroyViews();
    extra_.reset();
    program_.reset();
    platform_.reset();
    dir_.reset();
  }

  // The game dialog gives its fields back as the line the main board reads,
  // the komi in the C locale.
  void engineGameDialogGivesItsFields() {
    QTimer::singleShot(100, [] {
      auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (!dialog) return;
      dialog->findChildren<QRadioButton*>().at(1)->setChecked(true);
      dialog->findChild<QComboBox*>()->setCurrentIndex(3);  // 4子
      dialog->findChild<QDoubleSpinBox*>()->setValue(0.5);
      dialog->findChild<QSpinBox*>()->setValue(7);
      dialog->accept();
    });
    const std::optional<Str> line = platform_->QtPlatform::AskEngineGame(u"", u"コンピュータ対局", u"黒 0 6.5 1");
    QVERIFY(line);
    QCOMPARE(Q(*line), QStringLiteral("白 4 0.5 7"));
  }

  // While an engine thinks the windows stay live, the board takes no click,
  // and the stop entry ends the wait at once; the board keeps the player's move.
  void engineThinkingCanBeStopped() {
    QFile script(dir_->path() + "/slow.sh");
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write(
        "while read id cmd rest; do case $cmd in "
        "list_commands) printf '=%s boardsize\\nclear_board\\nkomi\\nplay\\ngenmove\\nundo\\n\\n' $id;; "
        "genmove) sleep 30;; *) printf '=%s\\n\\n' $id;; esac; done\n");
    script.close();
    program_->State.Preferences.Set("engine", "sh slow.sh");
    platform_->nextInput = u"黒 0 6.5 1";
    Main().MenuEngineGame();
    QCOMPARE(Q(Main().StatusBar1.Text()), QStringLiteral("あなたの番です"));
    bool thinking = false;
    QTimer::singleShot(300, [&] {
      thinking = Main().EngineThinking();
      Click(100);
      view_->Widget<QPushButton>("Command2")->click();  // 初手に戻す: refused too
      view_->ActionOf("メニュー考慮を中止")->trigger();
    });
    BoxAnswerer ok(QStringLiteral("OK"));
    QElapsedTimer t;
    t.start();
    Click(289);
    QVERIFY(t.elapsed() < 10000);
    QVERIFY(thinking);
    QTRY_VERIFY(ok.seen);
    QVERIFY2(ok.text.contains(QStringLiteral("中止")), qPrintable(ok.text));
    QCOMPARE(program_->State.Board[289], int16_t{Black});
    QCOMPARE(program_->State.Board[100], int16_t{Empty});
    QCOMPARE(program_->State.MoveCount, int16_t{1});
    QVERIFY(!Main().EngineGameActive());
  }

  // An engine through QProcess: a reply read while the event loop runs, a
  // wait given up when asked or when its time is over, and an engine that
  // does not end by itself killed.
  void engineProcessRepliesWaitsAndEnds() {
    ProcessStart s = StartQtProcess({"sh", "-c", "read line; echo \"= $line\"; echo; sleep 30"}, "");
    QVERIFY2(s.process, qPrintable(QString::fromStdU16String(s.error)));
    QVERIFY(s.process->Write("hello\n"));
    std::string got;
    for (int i = 0; i < 50 && got.find("\n\n") == std::string::npos; ++i) got += s.process->Read(100);
    QCOMPARE(QString::fromStdString(got), QStringLiteral("= hello\n\n"));
    QElapsedTimer t;
    t.start();
    QCOMPARE(QString::fromStdString(s.process->Read(200)), QString());
    QVERIFY(t.elapsed() >= 150);
    QTimer::singleShot(50, [&] { s.process->Interrupt(); });
    t.restart();
    s.process->Read(20000);
    QVERIFY(t.elapsed() < 5000);
    t.restart();
    s.process.reset();
    QVERIFY(t.elapsed() < 5000);
    QVERIFY(!StartQtProcess({"no-such-engine-here"}, "").process);
  }

  void boardMouseReachesModelWithButtonAndShift() {
    // Point 61 is column 4, row 4.
    Click(61, Qt::LeftButton, Qt::ShiftModifier);
    QCOMPARE(Main().ClickPoint, 61);
    QCOMPARE(Main().ClickButton, ButtonLeft);
    QCOMPARE(Main().ClickShift, ShiftKey);

    Click(343, Qt::RightButton, Qt::ControlModifier | Qt::AltModifier);
    QCOMPARE(Main().ClickPoint, 343);
    QCOMPARE(Main().ClickButton, ButtonRight);
    QCOMPARE(Main().ClickShift, CtrlKey | AltKey);

    Click(19, Qt::MiddleButton);
    QCOMPARE(Main().ClickPoint, 19);
    QCOMPARE(Main().ClickButton, ButtonMiddle);
    QCOMPARE(Main().ClickShift, 0);

    // Anywhere within half a cell of an intersection is that intersection.
    const QPointF c = board_->PointCentre(181);
    const double near = board_->CellSize() * 0.45;
    for (QPointF d : {QPointF(near, near), QPointF(-near, near), QPointF(near, -near), QPointF(-near, -near)}) {
      Main().ClickPoint = 0;
      QTest::mouseClick(board_, Qt::RightButton, {}, (c + d).toPoint());
      QCOMPARE(Main().ClickPoint, 181);
    }
    // Off the grid by more than half a cell: not a press on the board.
    Main().ClickPoint = 0;
    const QPointF corner = board_->PointCentre(1);
    QTest::mouseClick(board_, Qt::RightButton, {}, (corner - QPointF(board_->CellSize() * 0.7, 0)).toPoint());
    QCOMPARE(Main().ClickPoint, 0);
  }

  void gameMovesShowOnModelAndScreen() {
    QCOMPARE(program_->State.BoardMode, GameMode);
    Click(61);
    QCOMPARE(Main().Cells.PictureAt(61), PictureBlack);
    QCOMPARE(Q(Main().Cells.CaptionAt(61)), QStringLiteral("1"));
    QTRY_VERIFY(StonePixel(61).lightness() < 70);

    Click(62);
    QCOMPARE(Main().Cells.PictureAt(62), PictureWhite);
    QCOMPARE(Q(Main().Cells.CaptionAt(62)), QStringLiteral("2"));
    QTRY_VERIFY(StonePixel(62).lightness() > 200);
    // Only the newest stone carries its number.
    QCOMPARE(Q(Main().Cells.CaptionAt(61)), QStringLiteral(" "));
    // An occupied point takes no stone.
    Click(61);
    QCOMPARE(program_->State.MoveCount, 2);
  }

  void optionButtonSetsMode() {
    auto* free = view_->Widget<QRadioButton>("Option3");
    auto* game = view_->Widget<QRadioButton>("Option1");
    QVERIFY(free && game);
    QVERIFY(game->isChecked());
    QTest::mouseClick(free, Qt::LeftButton, {}, QPoint(8, free->height() / 2));
    QVERIFY(Main().Option3.Value());
    QVERIFY(!Main().Option1.Value());
    QCOMPARE(program_->State.BoardMode, FreeUnnumberedMode);
    QVERIFY(free->isChecked());
    QVERIFY(!game->isChecked());
    // Clicking the selected button again leaves it selected.
    QTest::mouseClick(free, Qt::LeftButton, {}, QPoint(8, free->height() / 2));
    QVERIFY(free->isChecked());
    QCOMPARE(program_->State.BoardMode, FreeUnnumberedMode);
  }

  void takeBackButtonRemovesStone() {
    Click(100);
    QTRY_VERIFY(StonePixel(100).lightness() < 70);
    auto* back = view_->Widget<QPushButton>("Command1");
    QVERIFY(back);
    QCOMPARE(back->text(), QStringLiteral("１手戻す"));
    QTest::mouseClick(back, Qt::LeftButton);
    QCOMPARE(Main().Cells.PictureAt(100), PictureNone);
    QCOMPARE(program_->State.MoveCount, 0);
    QCOMPARE(view_->StatusLabel()->text(), QStringLiteral("　"));
    // Wood again where the stone was.
    QTRY_VERIFY(StonePixel(100).lightness() > 120 && StonePixel(100).red() > StonePixel(100).blue() + 40);
  }

  void sliderReleaseReplaysToItsValue() {
    for (int p : {61, 62, 63, 64}) Click(p);
    auto* slider = view_->Widget<QSlider>("Slider1");
    QVERIFY(slider);
    QCOMPARE(slider->value(), 4);
    // A click at the left end of the groove puts the thumb on move 1.
    QTest::mouseClick(slider, Qt::LeftButton, {}, QPoint(2, slider->height() / 2));
    QCOMPARE(Main().Slider1.Value(), 1);
    QCOMPARE(Main().Cells.PictureAt(61), PictureBlack);
    QCOMPARE(Main().Cells.PictureAt(62), PictureNone);
    QCOMPARE(Main().Cells.PictureAt(64), PictureNone);
    QTRY_VERIFY(StonePixel(62).lightness() < 220);
  }

  void arrowKeysAndTheSliderKeysStepThroughTheGame() {
    for (int p : {61, 62, 63, 64}) Click(p);
    QVERIFY(QTest::qWaitForWindowActive(view_));
    auto stonesShown = [this] {
      int n = 0;
      for (int p : {61, 62, 63, 64}) n += Main().Cells.PictureAt(p) != PictureNone;
      return n;
    };
    // Wherever the focus is but on the slider, even on an option button.
    view_->Widget<QRadioButton>("Option1")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);
    QCOMPARE(program_->State.MoveCount, 3);
    QVERIFY(Main().Option1.Value());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    QCOMPARE(program_->State.MoveCount, 4);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Home);
    QCOMPARE(stonesShown(), 1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_End);
    QCOMPARE(stonesShown(), 4);

    // On the slider the keys move its thumb, and the board follows at once.
    auto* slider = view_->Widget<QSlider>("Slider1");
    slider->setFocus();
    QTest::keyClick(slider, Qt::Key_Home);
    QCOMPARE(Main().Slider1.Value(), 1);
    QCOMPARE(stonesShown(), 1);
    QTest::keyClick(slider, Qt::Key_Right);
    QTest::keyClick(slider, Qt::Key_Right);
    QCOMPARE(Main().Slider1.Value(), 3);
    QCOMPARE(stonesShown(), 3);
    QCOMPARE(Main().Cells.PictureAt(64), PictureNone);
    QTest::keyClick(slider, Qt::Key_End);
    QCOMPARE(stonesShown(), 4);

    // In the print layout the navigation buttons are gone and so are their keys.
    QTimer::singleShot(0, [] {
      if (auto* d = qobject_cast<QInputDialog*>(QApplication::activeModalWidget())) d->accept();
    });
    view_->ActionOf("メニュー印刷準備")->trigger();
    QVERIFY(!Main().Command1.Visible());
    QTest::keyClick(view_, Qt::Key_Left);
    QTest::keyClick(view_, Qt::Key_Home);
    QCOMPARE(stonesShown(), 4);
  }

  void displayMenuTicksItsChoiceMovesTheBoardAndKeepsIt() {
    QAction* japanese = view_->ActionOf("メニュー日本式座標");
    QAction* none = view_->ActionOf("メニュー座標なし");
    QVERIFY(japanese && none);
    QCOMPARE(view_->ActionOf("メニュー表示")->text(), QStringLiteral("表示(&V)"));
    QVERIFY(japanese->isCheckable() && japanese->isChecked());
    QVERIFY(!none->isChecked());
    const QPointF labelled = board_->PointCentre(1);
    none->trigger();
    QVERIFY(none->isChecked() && !japanese->isChecked());
    // Without the labels the margin is narrower and the grid larger.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    QVERIFY(board_->PointCentre(1).x() < labelled.x());
    QFile ini(dir_->filePath(QStringLiteral("solneka.ini")));
    QVERIFY(ini.open(QIODevice::ReadOnly));
    QCOMPARE(ini.readAll(), QByteArray("coordinates=none\n"));
    // Choosing the entry in effect again leaves its tick.
    none->trigger();
    QVERIFY(none->isChecked());
  }

  void menuBarEntriesOpenWithAltAndALetter() {
    QCOMPARE(view_->ActionOf("メニュー棋譜")->text(), QStringLiteral("棋譜処理(&K)"));
    QCOMPARE(view_->ActionOf("メニュー終了")->text(), QStringLiteral("終了(&X)"));
    // Entries inside a menu keep their captions as they are.
    QCOMPARE(view_->ActionOf("メニュー保存")->text(), QStringLiteral("保存"));
    QVERIFY(QTest::qWaitForWindowActive(view_));
    QTest::keyClick(view_, Qt::Key_K, Qt::AltModifier);
    QTRY_COMPARE(program_->Library.State(), WindowState::Shown);
    // Every window's menu bar: each entry has its own letter, so that no
    // Alt key is left to chance.
    for (Form* form : program_->Forms()) {
      QString letters;
      for (const auto& item : form->MenuBar.Items()) {
        const QChar key(item->AccessKey());
        QVERIFY2(key.isLetter() && !letters.contains(key), qPrintable(Q(item->Caption())));
        letters += key;
      }
    }
  }

  void layoutsPlaceOnlyWidgetsTheirWindowsHave() {
    for (Form* form : program_->Forms()) {
      FormView* v = ViewOf(*form);
      QVERIFY(v);
      std::string faults = form->FormName();
      for (const std::string& fault : v->LayoutFaults()) faults += "\n" + fault;
      QVERIFY2(v->LayoutFaults().empty(), faults.c_str());
    }
    // Every kind of wrong name is reported, with the name: a list placed as
    // a label, a missing label, a key for a missing button, a double click
    // on a text box, a closing entry that is not there, and a layout's own
    // widget its binder cannot drive.
    ListForm form(*platform_);
    ViewLayout layout;
    layout.makeWidget = [](Control& c, QWidget* parent) -> QWidget* {
      return c.Name() == "Text1" ? new QLabel(parent) : nullptr;
    };
    layout.arrange = [](FormView& v) {
      QVERIFY(!v.Require<QLabel>("List1"));
      QVERIFY(!v.Require("Label9"));
      QVERIFY(v.Require<QListView>("List1"));
    };
    layout.keys = {{Qt::Key_F2, "Command9"}};
    layout.doubleClicks = {{"Text1", "Hidden1"}};
    layout.closeMenu = "メニュー無し";
    FormView view(form, layout);
    QStringList names;
    for (const std::string& fault : view.LayoutFaults()) names << QString::fromStdString(fault).section(u':', 0, 0);
    QCOMPARE(names, QStringList({"Text1", "List1", "Label9", "Command9", "Text1", "メニュー無し"}));
    // The refused widget gave way to the usual one, which still works.
    QVERIFY(view.Widget<QLineEdit>("Text1"));
  }

  void exitAsksAndCancelKeepsRunning() {
    QAction* exit = view_->ActionOf("メニュー終了");
    QVERIFY(exit);
    {
      BoxAnswerer answer(QStringLiteral("キャンセル"));
      exit->trigger();
      QVERIFY(answer.seen);
      QCOMPARE(answer.buttons, QStringList({QStringLiteral("OK"), QStringLiteral("キャンセル")}));
      QCOMPARE(answer.text, Q(u"ソルネカを終了してもいいですか"));
    }
    QVERIFY(view_->isVisible());
    QCOMPARE(platform_->quits, 0);

    // The title-bar close button asks the same question.
    {
      BoxAnswerer answer(QStringLiteral("キャンセル"));
      view_->close();
      QTRY_VERIFY(answer.seen);
    }
    QVERIFY(view_->isVisible());

    {
      BoxAnswerer answer(QStringLiteral("OK"));
      exit->trigger();
      QVERIFY(answer.seen);
    }
    QCOMPARE(platform_->quits, 1);
    QVERIFY(!view_->isVisible());
  }

  void boxesShowTheBoardAsItIsAndJapaneseButtons() {
    Click(61);
    QTest::mouseClick(view_->Widget<QPushButton>("Command7"), Qt::LeftButton);  // 途中保存
    QCOMPARE(view_->StatusLabel()->text(), Q(u"盤上の局面を保存しました"));
    QString statusAtOpen;
    BoxAnswerer answer(QStringLiteral("はい"), [&] { statusAtOpen = view_->StatusLabel()->text(); });
    QTest::mouseClick(view_->Widget<QPushButton>("Command8"), Qt::LeftButton);  // 途中復元
    QVERIFY(answer.seen);
    QCOMPARE(answer.buttons, QStringList({QStringLiteral("はい"), QStringLiteral("いいえ")}));
    QCOMPARE(answer.title, QStringLiteral("選択"));
    // The handler cleared the status line just before asking.
    QCOMPARE(statusAtOpen, QStringLiteral("　"));
  }

  void helpOpensTheFileOrSaysItIsMissing() {
    {
      BoxAnswerer answer(QStringLiteral("OK"));
      view_->ActionOf("メニュー全体ヘルプ")->trigger();
      QVERIFY(answer.seen);
      QVERIFY(answer.text.startsWith(QStringLiteral("ヘルプファイル（")));
      QVERIFY(answer.text.contains(QStringLiteral("ソルネカ.HLP")));
      QVERIFY(answer.text.endsWith(QStringLiteral("）が見つかりません。")));
    }
    QVERIFY(QFile::copy(QString::fromUtf8(SOLNEKA_HELP_SOURCE), dir_->filePath(QStringLiteral("ソルネカ.HLP"))));
    view_->ActionOf("メニュー全体ヘルプ")->trigger();
    HelpViewer* help = platform_->Help();
    QVERIFY(help);
    QVERIFY(help->isVisible());
    QCOMPARE(help->windowTitle(), QStringLiteral("ソルネカ ヘルプ"));
    QVERIFY(!help->isModal());
    // The file is read as HTML: its title is the document's, not markup text.
    QVERIFY(!help->Browser()->toPlainText().contains(QStringLiteral("<html")));
    QVERIFY(help->Browser()->toPlainText().contains(QStringLiteral("目次")));
  }

  void printWritesPdfWhenNoPrinterIsUsed() {
    Click(61);
    const Str said = platform_->PrintWindow(Main(), u"練習/棋譜");
    const QString date = QDate::currentDate().toString(QStringLiteral("yyyyMMdd"));
    const QString file = dir_->filePath(QStringLiteral("練習_棋譜_%1.pdf").arg(date));
    QCOMPARE(Q(said), QStringLiteral("PDF に保存しました: ") + QDir::toNativeSeparators(file));
    QVERIFY(QFileInfo(file).size() > 1000);
    // A second print keeps the first.
    const Str again = platform_->PrintWindow(Main(), u"練習/棋譜");
    QVERIFY(Q(again).endsWith(QStringLiteral("_%1_2.pdf").arg(date)));
  }

  // The page is the figure drawn as lines and text: no picture of the window.
  void printedPageIsTheFigureNotAPictureOfTheWindow() {
    Click(61);
    Click(62);
    Main().Label10.SetCaption(u"【タイトル】　練習");
    Main().Label10.SetVisible(true);
    const QString file = Q(platform_->PrintWindow(Main(), u"図")).section(QStringLiteral(": "), 1);
    QFile pdf(file);
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    QVERIFY(bytes.startsWith("%PDF"));
    QVERIFY(!bytes.contains("/Subtype /Image"));
    QVERIFY(bytes.contains("/FontFile"));

    // The same drawing on an image: the stones where the points are.
    QImage page(800, 1100, QImage::Format_RGB32);
    page.fill(Qt::white);
    {
      QPainter p(&page);
      PaintFigure(p, QRectF(page.rect()), Main().Cells, QStringLiteral("本文"));
    }
    const double cell = 800 / (18 + 2 * 1.3);
    auto pixel = [&](int col, int row) {
      // Off the centre, away from the number and the grid lines.
      return page.pixelColor(
          QPointF((800 - 18 * cell) / 2 + (col + 0.3) * cell, 1.3 * cell + (row + 0.3) * cell).toPoint());
    };
    QVERIFY(pixel(3, 3).lightness() < 60);   // black 1 at 61, below its number
    QVERIFY(pixel(3, 4).lightness() > 200);  // white 2 at 62
    QVERIFY(pixel(8, 8).lightness() > 200);  // an empty point's paper
  }

  void cuesMapToTheSoundsFolder() {
    QCOMPARE(platform_->WaveFileFor(ConfirmCueFile), dir_->path() + QStringLiteral("/sounds/chord.wav"));
    QCOMPARE(platform_->WaveFileFor(u"C:\\WINDOWS\\Media\\ding.WAV"),
             dir_->path() + QStringLiteral("/sounds/ding.wav"));
    QCOMPARE(platform_->WaveFileFor(u"/tmp/x.wav"), QStringLiteral("/tmp/x.wav"));
    // Missing files are silent, not an error.
    platform_->PlayWave(ConfirmCueFile);
    platform_->PlayWave(u"/nonexistent/none.wav");
  }

  // Local files dropped onto a window that takes files reach its model once
  // the drop is over; a drag carrying anything else is refused.
  void droppedLocalFilesReachTheForm() {
    QVERIFY(view_->acceptDrops());
    extra_ = std::make_unique<ListForm>(*platform_);
    QVERIFY(!MakeView(*extra_)->acceptDrops());
    ViewLayout layout;
    layout.takesFiles = true;
    FormView view(*extra_, layout);
    QVERIFY(view.acceptDrops());
    auto drag = [&](const QList<QUrl>& urls) {
      QMimeData data;
      data.setUrls(urls);
      QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
      QApplication::sendEvent(&view, &enter);
      QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
      QApplication::sendEvent(&view, &drop);
      return enter.isAccepted() && drop.isAccepted();
    };
    QVERIFY(!drag({QUrl::fromLocalFile(QStringLiteral("/a.sgf")), QUrl(QStringLiteral("https://example.com/b.sgf"))}));
    QVERIFY(!drag({}));
    QVERIFY(drag({QUrl::fromLocalFile(QStringLiteral("/棋譜/a.sgf")), QUrl::fromLocalFile(QStringLiteral("/b.sgf"))}));
    QVERIFY(extra_->drops.empty());
    QTRY_COMPARE(extra_->drops.size(), size_t(1));
    QCOMPARE(extra_->drops[0], (std::vector<std::string>{"/棋譜/a.sgf", "/b.sgf"}));
  }

  void genericViewFollowsListAndTextModels() {
    extra_ = std::make_unique<ListForm>(*platform_);
    ListForm& form = *extra_;
    form.List1.AddItem(u"一  1");
    form.List1.AddItem(u"二  2");
    form.Hidden1.SetVisible(false);
    form.Show();
    FormView* v = ViewOf(form);
    QVERIFY(v);
    QVERIFY(QTest::qWaitForWindowExposed(v));
    QCOMPARE(v->windowTitle(), QStringLiteral("一覧"));
    auto* list = v->Widget<QListView>("List1");
    auto* text = v->Widget<QLineEdit>("Text1");
    QVERIFY(list && text);
    QVERIFY(!v->WidgetOf("Hidden1")->isVisible());
    QCOMPARE(LineCount(list), 2);

    // A click selects, and a click on the selected line reports again.
    const QRect second = LineRect(list, 1);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second.center());
    QCOMPARE(form.selected, std::vector<int>({1}));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second.center());
    QCOMPARE(form.selected, std::vector<int>({1, 1}));

    // Lines the program adds or rewrites show at the next refresh.
    form.List1.AddItem(u"三  3", 0);
    form.List1.SetList(2, u"二  二");
    RefreshAllViews();
    QCOMPARE(LineCount(list), 3);
    QCOMPARE(LineText(list, 0), QStringLiteral("三  3"));
    QCOMPARE(LineText(list, 2), QStringLiteral("二  二"));
    QCOMPARE(CurrentLine(list), 2);
    // A line rewritten on its own, with no line added or removed, shows too.
    form.List1.SetList(0, u"三  三");
    RefreshAllViews();
    QCOMPARE(LineText(list, 0), QStringLiteral("三  三"));

    QTest::keyClicks(text, QStringLiteral("ab"));
    QCOMPARE(Q(form.Text1.Text()), QStringLiteral("ab"));
    QCOMPARE(form.changes, 2);
    form.Text1.SetText(u"棋譜");
    RefreshAllViews();
    QCOMPARE(text->text(), QStringLiteral("棋譜"));

    // A limit in units and in bytes (碁 counts two, as in the files): keys
    // past it do nothing, in the view as in the model.
    form.Text1.SetLimit(
        5, 6, [](const Str& t) { return static_cast<int>(t.size() + std::count(t.begin(), t.end(), u'碁')); });
    RefreshAllViews();
    QTest::keyClicks(text, QStringLiteral("abcd"));
    QCOMPARE(text->text(), QStringLiteral("棋譜abc"));
    QCOMPARE(Q(form.Text1.Text()), QStringLiteral("棋譜abc"));
    form.Text1.SetText(u"ab");
    RefreshAllViews();
    for (int i = 0; i < 2; ++i) {
      QKeyEvent go(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QStringLiteral("碁"));
      QApplication::sendEvent(text, &go);
    }
    QTest::keyClicks(text, QStringLiteral("c"));
    QCOMPARE(text->text(), QStringLiteral("ab碁碁"));
    QCOMPARE(Q(form.Text1.Text()), QStringLiteral("ab碁碁"));
    QCOMPARE(text->maxLength(), 5);

    // Closing a window without an exit entry unloads it.
    v->close();
    QTRY_COMPARE(form.State(), WindowState::Unloaded);
    QVERIFY(!v->isVisible());
  }

  void longListKeepsLineAndTopInStepWithTheProgram() {
    extra_ = std::make_unique<ListForm>(*platform_);
    ListForm& form = *extra_;
    auto fill = [&form](const QString& tag) {
      form.List1.Clear();
      for (int i = 0; i < 3000; ++i) form.List1.AddItem((tag + QString::number(i)).toStdU16String());
    };
    fill(QStringLiteral("一"));
    form.Show();
    FormView* v = ViewOf(form);
    QVERIFY(v && QTest::qWaitForWindowExposed(v));
    auto* list = v->Widget<QListView>("List1");
    QVERIFY(list);
    auto topLine = [list] { return list->indexAt(QPoint(2, 2)).row(); };

    // The line and the top line the program sets show, far down the list.
    form.List1.SetTopIndex(2000);
    form.List1.SetListIndex(2010);
    RefreshAllViews();
    QCOMPARE(topLine(), 2000);
    QCOMPARE(CurrentLine(list), 2010);
    QCOMPARE(list->selectionModel()->selectedIndexes().size(), 1);
    QCOMPARE(list->selectionModel()->selectedIndexes().front().row(), 2010);
    // A key in the view moves the program's line.
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(form.List1.ListIndex(), 2011);
    QCOMPARE(form.selected.back(), 2011);

    // Lines read anew, with the same top line as before: the view shows the
    // new lines from there, and no line chosen.
    fill(QStringLiteral("二"));
    form.List1.SetTopIndex(2000);
    RefreshAllViews();
    QCOMPARE(LineText(list, 2000), QStringLiteral("二2000"));
    QCOMPARE(topLine(), 2000);
    QCOMPARE(CurrentLine(list), -1);
    QVERIFY(!list->selectionModel()->hasSelection());
  }
};

QTEST_MAIN(GuiTest)
#include "gui_test.moc"
