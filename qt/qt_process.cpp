#include "qt/qt_process.h"

#include <QEventLoop>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <memory>

namespace sol {

namespace {

Str Q2S(const QString& s) { return Str(reinterpret_cast<const char16_t*>(s.utf16()), static_cast<size_t>(s.size())); }

class QtProcess : public ChildProcess {
 public:
  explicit QtProcess(std::unique_ptr<QProcess> p) : process_(std::move(p)) {}
  ~QtProcess() override {
    Interrupt();
    if (process_->state() != QProcess::NotRunning) {
      process_->closeWriteChannel();
      if (!process_->waitForFinished(500)) {
        process_->kill();
        process_->waitForFinished(2000);
      }
    }
  }

  bool Write(std::string_view bytes) override {
    if (process_->state() != QProcess::Running) return false;
    return process_->write(bytes.data(), static_cast<qint64>(bytes.size())) == static_cast<qint64>(bytes.size());
  }

  std::string Read(int ms) override {
    if (process_->bytesAvailable() == 0 && process_->state() == QProcess::Running) {
      QEventLoop loop;
      loop_ = &loop;
      QTimer timer;
      timer.setSingleShot(true);
      QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
      QObject::connect(process_.get(), &QProcess::readyReadStandardOutput, &loop, &QEventLoop::quit);
      QObject::connect(process_.get(), &QProcess::finished, &loop, &QEventLoop::quit);
      timer.start(ms);
      loop.exec();
      loop_ = nullptr;
    }
    const QByteArray got = process_->readAllStandardOutput();
    return std::string(got.constData(), static_cast<size_t>(got.size()));
  }

  bool Running() override { return process_->state() == QProcess::Running || process_->bytesAvailable() > 0; }

  void Interrupt() override {
    if (loop_) loop_->quit();
  }

 private:
  std::unique_ptr<QProcess> process_;
  QEventLoop* loop_ = nullptr;
};

}  // namespace

ProcessStart StartQtProcess(const std::vector<std::string>& argv, const std::string& folder) {
  if (argv.empty()) return {nullptr, u"起動するプログラムが指定されていません。"};
  const QString program = QString::fromStdString(argv.front());
  // Debian puts games in /usr/games, which not every PATH holds.
  QString found = QStandardPaths::findExecutable(program);
  if (found.isEmpty() && !program.contains('/'))
    found = QStandardPaths::findExecutable(program, {QStringLiteral("/usr/games"), QStringLiteral("/usr/local/games")});
  if (found.isEmpty() && !program.contains('/'))
    return {nullptr, u"プログラム「" + Q2S(program) + u"」が見つかりません。"};
  auto p = std::make_unique<QProcess>();
  QStringList args;
  for (size_t i = 1; i < argv.size(); ++i) args << QString::fromStdString(argv[i]);
  p->setProgram(found.isEmpty() ? program : found);
  p->setArguments(args);
  if (!folder.empty()) p->setWorkingDirectory(QString::fromStdString(folder));
  p->setStandardErrorFile(QProcess::nullDevice());
  p->start();
  if (!p->waitForStarted(10000))
    return {nullptr, u"プログラム「" + Q2S(program) + u"」を起動できません（" + Q2S(p->errorString()) + u"）。"};
  return {std::make_unique<QtProcess>(std::move(p)), {}};
}

}  // namespace sol
