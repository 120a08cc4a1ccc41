// The results log: the text pane `Memo` that every Compute appends its two
// lines to, which the user may also edit by hand, with what the window's
// menus do to it: copy, select all, delete all, undo, change its font, print.
//
// The log is kept from one run to the next (Session.h): restored once, at
// the window's first activation, and saved a moment after each change
// (kSaveDelayMs), so that typing in it does not write the file at every
// key; a kept log that cannot be read is never written over.
//
// Delete All is one step of the log's undo history, and a step that Undo
// reaches from anywhere in the window until the log next changes
// (CanRestore): the window gives Ctrl+Z to the log then, whichever control
// has the focus.  Until the next Compute the deleted log also stays on disk
// beside the kept one (TSession::BackupFileName).
//
// Lines longer than kLongestWordWrappedLine make the pane wrap anywhere
// instead of at word boundaries, which Qt lays out in quadratic time.
#pragma once

#include <QStringList>
#include <QWidget>
#include <optional>

class QFont;
class QPainter;
class QPlainTextEdit;
class QPrinter;
class QTimer;

namespace window {

class TPlatform;
class TPlotPane;
class TSession;

class TResultsLog : public QWidget {
  Q_OBJECT

 public:
  TResultsLog(TSession& session, TPlatform& platform, QWidget* parent = nullptr);

  // How long the log waits after a change before it is saved.
  static constexpr int kSaveDelayMs = 300;
  // The longest line that wraps at word boundaries (see FitWrapToLines).
  static constexpr int kLongestWordWrappedLine = 4096;

  QPlainTextEdit* Pane() const { return Memo; }
  // The lines of the log, which the user may have edited.
  QStringList Lines() const;
  // Appends lines at the end of the log and shows the last one.
  void Append(const QStringList& lines);

  // Restores the kept log (once); until then nothing overwrites it.
  void Restore();
  bool KeepsLog() const { return keep_; }
  // Keeping on saves the log now; keeping off removes the kept file.
  void SetKeep(bool keep);
  // Saves a pending change at once (the window closes).
  void Flush();

  void Copy();
  void SelectAll();
  void DeleteAll();
  // Undoes the last change of the log; after Delete All, brings the log back.
  void Undo();
  // Whether Undo now brings back a deleted log.
  bool CanRestore() const { return deleted_.has_value(); }
  // A Compute ends the deleted log's backup.
  void DropBackup();
  void ChooseFont(QWidget* dialogParent);

  // `copies` print jobs of the log, each with `title` on every page and,
  // where `plot` is given, the plot on a page of its own after the log's.
  void Print(QPrinter& printer, long double scale, int copies, const QString& title,
             const TPlotPane* plot = nullptr);

 signals:
  // Words for the status bar: a log that cannot be kept, a deleted log.
  void message(const QString& text);
  void undoAvailable(bool available);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void FitWrapToLines(int from, int added);
  void Changed();
  void SaveNow();

  TSession& session_;
  TPlatform& platform_;
  QPlainTextEdit* Memo = nullptr;
  QTimer* saveTimer_ = nullptr;
  // Whether the log is kept from run to run, and whether the kept log has
  // been restored (until then nothing may overwrite it).
  bool keep_ = true;
  bool restored_ = false;
  // False when the kept log could not be read: it is then never written over.
  bool writable_ = true;
  // The text Delete All removed, while Undo can still bring it back.
  std::optional<QString> deleted_;
  // The log changes by Delete All or its undoing, not by a new change.
  bool restoring_ = false;
};

}  // namespace window
