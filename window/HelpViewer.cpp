#include "window/HelpViewer.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace window {

namespace {

constexpr char kCaption[] = "Probex Help";
constexpr QSize kSize{680, 560};

}  // namespace

THelpViewer::THelpViewer() {
  setObjectName(QStringLiteral("HelpViewer"));
  setWindowTitle(QString::fromLatin1(kCaption));
  // Closing the main window ends the program, also while help is open.
  setAttribute(Qt::WA_QuitOnClose, false);
  resize(kSize);
  browser_ = new QTextBrowser(this);
  browser_->setObjectName(QStringLiteral("HelpBrowser"));
  // Links inside the file stay in the viewer; a web address goes to the
  // desktop's browser.
  browser_->setOpenExternalLinks(true);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(browser_);
}

QString THelpViewer::TopicOfContext(int context) {
  return context == kMainHelpContext ? QString::fromLatin1(kContentsTopic) : QString();
}

QString THelpViewer::MissingFileText(const QString& helpFile) {
  return QStringLiteral("The help file %1 cannot be found.")
      .arg(QDir::toNativeSeparators(helpFile));
}

void THelpViewer::ShowTopic(const QString& helpFile, const QString& topic) {
  // QTextBrowser would show an empty page for a file it cannot read.
  if (QFileInfo(helpFile).isFile()) {
    QUrl address = QUrl::fromLocalFile(QFileInfo(helpFile).absoluteFilePath());
    if (!topic.isEmpty()) address.setFragment(topic);
    // Another topic of the document shown only scrolls to its anchor.
    browser_->setSource(address, QTextDocument::HtmlResource);
    shownFile_ = helpFile;
    shownTopic_ = topic;
  } else {
    browser_->setPlainText(MissingFileText(helpFile));
    shownFile_.clear();
    shownTopic_.clear();
  }
  show();
  raise();
  activateWindow();
}

void THelpViewer::ShowContext(const QString& helpFile, int context) {
  ShowTopic(helpFile, TopicOfContext(context));
}

void THelpViewer::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}

}  // namespace window
