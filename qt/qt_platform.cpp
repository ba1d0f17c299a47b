#include "qt/qt_platform.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QDate>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLocale>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QSoundEffect>
#include <QSpinBox>
#include <QStatusBar>
#include <QUrl>
#include <QVBoxLayout>
#include <QWhatsThis>
#include <algorithm>
#include <chrono>

#include "core/cues.h"
#include "qt/figure_painter.h"
#include "qt/qt_process.h"

namespace sol {

namespace {

QString Q(const Str& s) { return QString::fromStdU16String(s); }

const QString ProgramName = QStringLiteral("ソルネカ");

// The window a box belongs to: the modal one, else the active one.
QWidget* BoxParent() {
  if (QWidget* w = QApplication::activeModalWidget()) return w;
  if (QWidget* w = QApplication::activeWindow()) return w;
  for (FormView* v : AllViews())
    if (v->isVisible()) return v;
  return nullptr;
}

// A file name made of the title: characters no file system takes become '_'.
QString FileNamePart(const Str& title) {
  QString s = Q(title).trimmed();
  for (QChar& c : s)
    if (c.unicode() < 0x20 || QStringLiteral("\\/:*?\"<>|").contains(c)) c = u'_';
  return s.isEmpty() ? ProgramName : s;
}

}  // namespace

QtPlatform::QtPlatform(QString shareDir, QString dataDir)
    : shareDir_(shareDir.isEmpty() ? QCoreApplication::applicationDirPath() : std::move(shareDir)),
      dataDir_(dataDir.isEmpty() ? shareDir_ : std::move(dataDir)),
      rng_(static_cast<std::mt19937::result_type>(
          std::chrono::high_resolution_clock::now().time_since_epoch().count())) {
  usePrinter = QGuiApplication::platformName() != QStringLiteral("offscreen") &&
               qEnvironmentVariableIsEmpty("SOLNEKA_PRINT_TO_PDF");
  // The cues are loaded now so the first one sounds without delay.
  for (const Str* cue : {&ConfirmCueFile, &EndCueFile}) {
    const QString file = WaveFileFor(*cue);
    if (QFileInfo::exists(file)) EffectFor(file);
  }
}

QtPlatform::~QtPlatform() { DestroyViews(); }

Answer QtPlatform::MsgBox(const Str& text, Buttons buttons, Icon icon, const Str& title) {
  // The player sees the board as it is when the question comes.
  RefreshAllViews();
  QMessageBox box(BoxParent());
  box.setWindowTitle(title.empty() ? ProgramName : Q(title));
  box.setTextFormat(Qt::PlainText);
  box.setText(Q(text));
  switch (icon) {
    case Icon::Information:
      box.setIcon(QMessageBox::Information);
      break;
    case Icon::Question:
      box.setIcon(QMessageBox::Question);
      break;
    case Icon::None:
      box.setIcon(QMessageBox::NoIcon);
      break;
  }
  struct Choice {
    const char16_t* text;
    QMessageBox::ButtonRole role;
    Answer answer;
  };
  std::vector<Choice> choices;
  switch (buttons) {
    case Buttons::OK:
      choices = {{u"OK", QMessageBox::AcceptRole, Answer::OK}};
      break;
    case Buttons::OKCancel:
      choices = {{u"OK", QMessageBox::AcceptRole, Answer::OK},
                 {u"キャンセル", QMessageBox::RejectRole, Answer::Cancel}};
      break;
    case Buttons::YesNo:
      choices = {{u"はい", QMessageBox::YesRole, Answer::Yes}, {u"いいえ", QMessageBox::NoRole, Answer::No}};
      break;
    case Buttons::YesNoCancel:
      choices = {{u"はい", QMessageBox::YesRole, Answer::Yes},
                 {u"いいえ", QMessageBox::NoRole, Answer::No},
                 {u"キャンセル", QMessageBox::RejectRole, Answer::Cancel}};
      break;
  }
  std::vector<std::pair<QAbstractButton*, Answer>> made;
  for (const Choice& c : choices) made.emplace_back(box.addButton(QString::fromUtf16(c.text), c.role), c.answer);
  box.setDefaultButton(static_cast<QPushButton*>(made.front().first));
  box.exec();
  QAbstractButton* clicked = box.clickedButton();
  for (const auto& [button, answer] : made)
    if (button == clicked) return answer;
  // Closed without a button: the box's escape answer.
  return made.back().second;
}

std::optional<Str> QtPlatform::InputBox(const Str& prompt, const Str& caption, const Str& defaultText) {
  RefreshAllViews();
  QInputDialog dialog(BoxParent());
  dialog.setInputMode(QInputDialog::TextInput);
  dialog.setWindowTitle(caption.empty() ? ProgramName : Q(caption));
  dialog.setLabelText(Q(prompt));
  dialog.setTextValue(Q(defaultText));
  dialog.setOkButtonText(QStringLiteral("OK"));
  dialog.setCancelButtonText(QStringLiteral("キャンセル"));
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.textValue().toStdU16String();
}

std::optional<Str> QtPlatform::AskEngineGame(const Str&, const Str& title, const Str& current) {
  RefreshAllViews();
  QDialog dialog(BoxParent());
  dialog.setWindowTitle(title.empty() ? ProgramName : Q(title));
  const QStringList words = Q(current).split(QLatin1Char(' '), Qt::SkipEmptyParts);
  auto* black = new QRadioButton(QStringLiteral("黒（先番）"));
  auto* white = new QRadioButton(QStringLiteral("白"));
  (words.value(0) == QStringLiteral("白") ? white : black)->setChecked(true);
  auto* colours = new QHBoxLayout;
  colours->addWidget(black);
  colours->addWidget(white);
  auto* handicap = new QComboBox;
  handicap->addItem(QStringLiteral("なし"), 0);
  for (int n = 2; n <= 9; ++n) handicap->addItem(QStringLiteral("%1子").arg(n), n);
  handicap->setCurrentIndex(std::max(0, handicap->findData(words.value(1).toInt())));
  auto* komi = new QDoubleSpinBox;
  komi->setLocale(QLocale::c());  // 6.5, as GTP writes it
  komi->setRange(-100, 100);
  komi->setDecimals(1);
  komi->setSingleStep(0.5);
  komi->setValue(words.value(2, QStringLiteral("6.5")).toDouble());
  auto* level = new QSpinBox;
  level->setRange(1, 10);
  level->setValue(std::clamp(words.value(3, QStringLiteral("1")).toInt(), 1, 10));
  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("あなたの色"), colours);
  form->addRow(QStringLiteral("置き石"), handicap);
  form->addRow(QStringLiteral("コミ"), komi);
  form->addRow(QStringLiteral("強さ（GNU Go のレベル）"), level);
  auto* buttons = new QDialogButtonBox;
  buttons->addButton(QStringLiteral("対局開始"), QDialogButtonBox::AcceptRole);
  buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  auto* layout = new QVBoxLayout(&dialog);
  layout->addLayout(form);
  layout->addWidget(buttons);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QString line = QStringLiteral("%1 %2 %3 %4")
                           .arg(white->isChecked() ? QStringLiteral("白") : QStringLiteral("黒"))
                           .arg(handicap->currentData().toInt())
                           .arg(QLocale::c().toString(komi->value(), 'g', 6))
                           .arg(level->value());
  return line.toStdU16String();
}

std::vector<std::string> QtPlatform::ChooseFiles(FileDialog kind, const Str& title, const Str& filter,
                                                 const std::string& suggested) {
  RefreshAllViews();
  const QString start = QString::fromStdString(suggested);
  QFileDialog dialog(BoxParent(), Q(title));
  if (kind != FileDialog::Folder) dialog.setNameFilter(Q(filter));
  switch (kind) {
    case FileDialog::Open:
    case FileDialog::OpenMany:
      dialog.setFileMode(kind == FileDialog::Open ? QFileDialog::ExistingFile : QFileDialog::ExistingFiles);
      dialog.setLabelText(QFileDialog::Accept, QStringLiteral("開く"));
      break;
    case FileDialog::Save:
      dialog.setAcceptMode(QFileDialog::AcceptSave);
      dialog.setFileMode(QFileDialog::AnyFile);
      dialog.setLabelText(QFileDialog::Accept, QStringLiteral("保存"));
      // A name typed without a suffix gets the one of the files offered; the
      // dialog then also asks before replacing that file.
      if (Q(filter).contains(QStringLiteral("*.sgf"), Qt::CaseInsensitive))
        dialog.setDefaultSuffix(QStringLiteral("sgf"));
      break;
    case FileDialog::Folder:
      dialog.setFileMode(QFileDialog::Directory);
      dialog.setOption(QFileDialog::ShowDirsOnly, true);
      dialog.setLabelText(QFileDialog::Accept, QStringLiteral("選択"));
      break;
  }
  dialog.setLabelText(QFileDialog::Reject, QStringLiteral("キャンセル"));
  dialog.setLabelText(QFileDialog::LookIn, QStringLiteral("場所:"));
  dialog.setLabelText(QFileDialog::FileName, QStringLiteral("名前:"));
  dialog.setLabelText(QFileDialog::FileType, QStringLiteral("種類:"));
  if (!start.isEmpty()) {
    // Save proposes a file (a full path also opens its folder); the others
    // start in a folder.
    if (kind == FileDialog::Save)
      dialog.selectFile(start);
    else
      dialog.setDirectory(start);
  }
  std::vector<std::string> chosen;
  if (dialog.exec() != QDialog::Accepted) return chosen;
  for (const QString& f : dialog.selectedFiles())
    chosen.push_back(QDir::toNativeSeparators(QFileInfo(f).absoluteFilePath()).toStdString());
  if (kind != FileDialog::OpenMany && chosen.size() > 1) chosen.resize(1);
  return chosen;
}

QString QtPlatform::WaveFileFor(const Str& path) const {
  const QString p = Q(path);
  if (p.compare(Q(ConfirmCueFile), Qt::CaseInsensitive) == 0) return shareDir_ + QStringLiteral("/sounds/chord.wav");
  if (p.compare(Q(EndCueFile), Qt::CaseInsensitive) == 0) return shareDir_ + QStringLiteral("/sounds/ding.wav");
  return p;
}

QSoundEffect* QtPlatform::EffectFor(const QString& file) {
  auto it = effects_.find(file);
  if (it != effects_.end()) return it->second.get();
  auto effect = std::make_unique<QSoundEffect>();
  effect->setSource(QUrl::fromLocalFile(file));
  return effects_.emplace(file, std::move(effect)).first->second.get();
}

void QtPlatform::PlayWave(const Str& path) {
  const QString file = WaveFileFor(path);
  if (file.isEmpty() || !QFileInfo::exists(file)) return;
  // Without a sound device the effect reports an error status and stays
  // silent; nothing here waits for the sound to end.
  QSoundEffect* effect = EffectFor(file);
  effect->stop();
  effect->play();
}

void QtPlatform::Beep() { QApplication::beep(); }

void QtPlatform::HelpContents(const Str& helpFile) {
  RefreshAllViews();
  const QString file = Q(helpFile);
  if (!QFileInfo(file).isFile()) {
    QMessageBox box(BoxParent());
    box.setWindowTitle(QStringLiteral("ソルネカ ヘルプ"));
    box.setIcon(QMessageBox::Information);
    box.setTextFormat(Qt::PlainText);
    box.setText(QStringLiteral("ヘルプファイル（%1）が見つかりません。").arg(QDir::toNativeSeparators(file)));
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.exec();
    return;
  }
  if (!help_) help_ = new HelpViewer;
  help_->Open(file);
}

void QtPlatform::ContextHelp(Window&) { QWhatsThis::enterWhatsThisMode(); }

Str QtPlatform::PrintWindow(Window& window, const Str& title) {
  FormView* v = View(window);
  if (!v) return u"印刷する画面がありません";
  RefreshAllViews();
  Form& form = v->Model();

  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(Q(title));
  printer.setPageSize(QPageSize(QPageSize::A4));
  printer.setPageOrientation(QPageLayout::Portrait);
  printer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
  const QPrinterInfo info = QPrinterInfo::defaultPrinter();
  const bool toPrinter = usePrinter && !QPrinterInfo::availablePrinters().isEmpty();
  if (toPrinter) {
    if (!info.isNull()) printer.setPrinterName(info.printerName());
    QPrintDialog dialog(&printer, BoxParent());
    dialog.setWindowTitle(QStringLiteral("印刷"));
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    if (dialog.exec() != QDialog::Accepted) return u"印刷を取り消しました";
  } else {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(PdfFileFor(title));
  }

  QPainter p;
  if (!p.begin(&printer)) return u"印刷できませんでした";
  const QRectF page(0, 0, printer.width(), printer.height());
  if (BoardCells* board = form.Board()) {
    QString text;
    if (auto* label = form.Find<Label>(v->Layout().printText); label && label->Visible()) text = Q(label->Caption());
    PaintFigure(p, page, *board, text);
  } else {
    // A window without a board is printed as it looks.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    const QPixmap image = v->Content()->grab();
    const double scale =
        std::min(page.width() / std::max(1, image.width()), page.height() / std::max(1, image.height()));
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    p.drawPixmap(QRectF(0, 0, image.width() * scale, image.height() * scale), image, QRectF(image.rect()));
  }
  if (!p.end()) return u"印刷できませんでした";

  if (!printer.outputFileName().isEmpty())
    return (QStringLiteral("PDF に保存しました: ") + QDir::toNativeSeparators(printer.outputFileName()))
        .toStdU16String();
  return QStringLiteral("プリンタ「%1」に送りました").arg(printer.printerName()).toStdU16String();
}

QString QtPlatform::PdfFileFor(const Str& title) const {
  const QString base = FileNamePart(title) + u'_' + QDate::currentDate().toString(QStringLiteral("yyyyMMdd"));
  QString pdf = QDir(dataDir_).filePath(base + QStringLiteral(".pdf"));
  for (int n = 2; QFileInfo::exists(pdf); ++n) pdf = QDir(dataDir_).filePath(base + QStringLiteral("_%1.pdf").arg(n));
  return pdf;
}

Date QtPlatform::Today() {
  const QDate d = QDate::currentDate();
  return Date{d.year(), d.month(), d.day()};
}

double QtPlatform::Random() { return std::uniform_real_distribution<double>(0.0, 1.0)(rng_); }

void QtPlatform::CreateViews(const std::vector<Form*>& forms) {
  for (Form* f : forms)
    if (!ViewOf(*f)) views_.push_back(MakeView(*f));
}

void QtPlatform::DestroyViews() {
  views_.clear();
  delete help_.data();
}

FormView* QtPlatform::View(Window& window) {
  if (FormView* v = ViewOf(window)) return v;
  auto* form = dynamic_cast<Form*>(&window);
  if (!form) return nullptr;
  views_.push_back(MakeView(*form));
  return views_.back().get();
}

void QtPlatform::ShowWindow(Window& window, bool modal) {
  FormView* v = View(window);
  if (!v) return;
  v->Refresh();
  const Qt::WindowModality modality = modal ? Qt::ApplicationModal : Qt::NonModal;
  // Modality can only change while the window is hidden.
  if (v->isVisible() && v->windowModality() != modality) v->hide();
  v->setWindowModality(modality);
  v->FitOnScreen();
  v->show();
  // The frame is known once the window is shown; fit it again with it.
  v->FitOnScreen();
  v->raise();
  v->activateWindow();
}

void QtPlatform::HideWindow(Window& window) {
  if (FormView* v = ViewOf(window)) v->hide();
}

void QtPlatform::UnloadWindow(Window& window) {
  if (FormView* v = ViewOf(window)) v->hide();
}

void QtPlatform::CloseAllWindows() {
  for (FormView* v : AllViews()) {
    v->AllowClose();
    v->close();
  }
  if (help_) help_->close();
}

void QtPlatform::Quit() {
  CloseAllWindows();
  QCoreApplication::exit(0);
}

ProcessStart QtPlatform::StartProcess(const std::vector<std::string>& argv, const std::string& folder) {
  return StartQtProcess(argv, folder);
}

}  // namespace sol
