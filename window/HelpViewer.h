// The program's help viewer: a window of its own that shows the HTML help
// file in a QTextBrowser, at a topic (an anchor of the file) or for a help
// context number.
#pragma once

#include <QString>
#include <QWidget>

class QTextBrowser;

namespace window {

// The help context of the main window and its menu entries.
inline constexpr int kMainHelpContext = 10000;
// The topic that kMainHelpContext stands for.
inline constexpr char kContentsTopic[] = "Contents";

class THelpViewer : public QWidget {
  Q_OBJECT

 public:
  // A window without parent: it is activated on its own, as a help viewer
  // of the desktop would be.
  THelpViewer();

  // Shows `topic` of `helpFile` and brings the viewer to the front.  When the
  // file does not exist, the viewer says so instead.
  void ShowTopic(const QString& helpFile, const QString& topic);
  // The same for the topic of a help context number.
  void ShowContext(const QString& helpFile, int context);

  // The topic of a help context: "Contents" for 10000; empty, the start of
  // the file, for every other number.
  static QString TopicOfContext(int context);
  // The text shown for a help file that cannot be found.
  static QString MissingFileText(const QString& helpFile);

  // What the viewer shows: the file and its topic (the anchor scrolled to),
  // empty when the file was missing.
  QString ShownFile() const { return shownFile_; }
  QString ShownTopic() const { return shownTopic_; }
  QTextBrowser* Browser() const { return browser_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QTextBrowser* browser_ = nullptr;
  QString shownFile_;
  QString shownTopic_;
};

}  // namespace window
