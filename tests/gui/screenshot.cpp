// Plays an opening on the real main window and saves a picture of it, for
// looking at the layout and the board by eye:
//   gui_screenshot [window.png] [numbers.png]
// The second picture is a board full of numbered stones (1 to 361), to judge
// how three-digit numbers read. Also prints how long a full board repaint takes.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFontDatabase>
#include <QPainter>
#include <QTemporaryDir>
#include <QtTest>
#include <cstdio>

#include "app/program.h"
#include "core/game_state.h"
#include "qt/board_widget.h"
#include "qt/form_view.h"
#include "qt/qt_platform.h"

using namespace sol;

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QStringList families = QFontDatabase::families();
  if (families.contains(QStringLiteral("Noto Sans CJK JP"))) {
    QFont f = app.font();
    f.setFamily(QStringLiteral("Noto Sans CJK JP"));
    app.setFont(f);
  }
  const QString windowShot = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("/tmp/form2.png");
  const QString numbersShot = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("/tmp/board-numbers.png");

  QTemporaryDir dir;
  // Empty data files, as a fresh installation has them.
  for (const char* name : {GameListFileName, GameMovesFileName}) {
    QFile f(dir.filePath(QString::fromUtf8(name)));
    if (!f.open(QIODevice::WriteOnly)) return 2;
  }
  QtPlatform platform(dir.path());
  int status = 0;
  {
    Program program(platform, dir.path().toStdString());
    platform.CreateViews(program.Forms());
    program.Start();
    FormView* view = ViewOf(program.MainBoard);
    if (!QTest::qWaitForWindowExposed(view)) return 3;
    auto* board = view->Widget<BoardWidget>("Image1");

    const std::pair<int, int> moves[] = {{16, 4},
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
    for (const auto& [col, row] : moves) {
      const int point = BoardSize * (col - 1) + row;
      QTest::mouseClick(board, Qt::LeftButton, {}, board->PointCentre(point).toPoint());
    }
    QTest::qWait(200);
    if (!view->grab().save(windowShot)) status = 4;
    std::printf("window %dx%d saved to %s\n", view->width(), view->height(), qPrintable(windowShot));

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
    if (!pm.save(numbersShot)) status = 4;
    platform.DestroyViews();
  }
  return status;
}
