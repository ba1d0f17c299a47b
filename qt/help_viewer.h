// The help window: the HTML help file in a browser with contents, back and
// forward buttons. It does not block the program's windows.
#pragma once

#include <QWidget>

class QPushButton;
class QTextBrowser;

namespace sol {

class HelpViewer : public QWidget {
  Q_OBJECT

 public:
  explicit HelpViewer(QWidget* parent = nullptr);
  // Shows the file from its top and brings the window to the front.
  void Open(const QString& path);
  QTextBrowser* Browser() const { return browser_; }

 private:
  QTextBrowser* browser_;
  QPushButton* contents_;
  QPushButton* back_;
  QPushButton* forward_;
};

}  // namespace sol
