#include "qt/help_viewer.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace sol {

HelpViewer::HelpViewer(QWidget* parent) : QWidget(parent, Qt::Window) {
  setWindowTitle(QStringLiteral("ソルネカ ヘルプ"));
  setObjectName(QStringLiteral("HelpViewer"));
  auto* box = new QVBoxLayout(this);
  box->setContentsMargins(8, 8, 8, 8);
  auto* bar = new QHBoxLayout;
  contents_ = new QPushButton(QStringLiteral("目次"), this);
  back_ = new QPushButton(QStringLiteral("戻る"), this);
  forward_ = new QPushButton(QStringLiteral("進む"), this);
  bar->addWidget(contents_);
  bar->addWidget(back_);
  bar->addWidget(forward_);
  bar->addStretch(1);
  box->addLayout(bar);
  browser_ = new QTextBrowser(this);
  browser_->setOpenExternalLinks(true);
  box->addWidget(browser_, 1);

  back_->setEnabled(false);
  forward_->setEnabled(false);
  connect(contents_, &QPushButton::clicked, browser_, &QTextBrowser::home);
  connect(back_, &QPushButton::clicked, browser_, &QTextBrowser::backward);
  connect(forward_, &QPushButton::clicked, browser_, &QTextBrowser::forward);
  connect(browser_, &QTextBrowser::backwardAvailable, back_, &QPushButton::setEnabled);
  connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QPushButton::setEnabled);
  resize(760, 640);
}

void HelpViewer::Open(const QString& path) {
  // The help file's name does not say it is HTML; tell the browser.
  browser_->setSource(QUrl::fromLocalFile(path), QTextDocument::HtmlResource);
  browser_->verticalScrollBar()->setValue(0);
  show();
  raise();
  activateWindow();
}

}  // namespace sol
