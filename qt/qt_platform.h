// The platform of the desktop program: Qt message boxes, input boxes and
// file dialogs,
// sound through QSoundEffect, the help viewer, printing (or PDF), and the
// views of the windows.
#pragma once

#include <QPointer>
#include <QString>
#include <map>
#include <memory>
#include <random>
#include <vector>

#include "qt/form_view.h"
#include "qt/help_viewer.h"
#include "ui/platform.h"

class QSoundEffect;

namespace sol {

class QtPlatform : public Platform {
 public:
  // `shareDir` holds the sounds/ folder, `dataDir` receives PDF files;
  // empty means the executable's directory, and the data folder defaults to
  // the shared one.
  explicit QtPlatform(QString shareDir = {}, QString dataDir = {});
  ~QtPlatform() override;

  Answer MsgBox(const Str& text, Buttons buttons, Icon icon, const Str& title) override;
  std::optional<Str> InputBox(const Str& prompt, const Str& caption, const Str& defaultText) override;
  std::vector<std::string> ChooseFiles(FileDialog kind, const Str& title, const Str& filter,
                                       const std::string& suggested) override;
  void PlayWave(const Str& path) override;
  void Beep() override;
  void HelpContents(const Str& helpFile) override;
  void ContextHelp(Window& window) override;
  Str PrintWindow(Window& window, const Str& title) override;
  Date Today() override;
  double Random() override;
  void ShowWindow(Window& window, bool modal) override;
  void HideWindow(Window& window) override;
  void UnloadWindow(Window& window) override;
  void Quit() override;
  std::optional<Str> AskEngineGame(const Str& prompt, const Str& title, const Str& current) override;
  ProcessStart StartProcess(const std::vector<std::string>& argv, const std::string& folder) override;

  // Makes the view of each window up front (a window shown without one
  // gets it then).
  void CreateViews(const std::vector<Form*>& forms);
  // Destroys the views; call before the windows themselves go.
  void DestroyViews();
  FormView* View(Window& window);
  // Closes every window of the program and the help viewer.
  void CloseAllWindows();

  // The file a program sound path plays (the two cues map into sounds/).
  QString WaveFileFor(const Str& path) const;
  // Off: printing writes a PDF into the data folder without asking, even when
  // a printer is installed. Off from the start on the offscreen platform and
  // when SOLNEKA_PRINT_TO_PDF is set, where no one could answer the dialog.
  bool usePrinter = true;
  // The PDF file printing without a printer writes for `title`; never one
  // that exists.
  QString PdfFileFor(const Str& title) const;
  HelpViewer* Help() const { return help_; }

 private:
  QSoundEffect* EffectFor(const QString& file);

  QString shareDir_;
  QString dataDir_;
  std::vector<std::unique_ptr<FormView>> views_;
  std::map<QString, std::unique_ptr<QSoundEffect>> effects_;
  QPointer<HelpViewer> help_;
  std::mt19937 rng_;
};

}  // namespace sol
