#include "window/ResultsLog.h"

#include <QBoxLayout>
#include <QFontDatabase>
#include <QKeySequence>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QTextBlock>
#include <QTextDocumentFragment>
#include <QTimer>
#include <algorithm>

#include "window/Errors.h"
#include "window/LogPrinting.h"
#include "window/Platform.h"
#include "window/Session.h"

namespace window {

namespace {

// The log's distance from the window's left edge, in device-independent
// pixels, and the lines it shows at the window's smallest.
constexpr int kMemoLeft = 8;
constexpr int kMemoMinLines = 5;

// The clipboard takes the platform's line ends.
#ifdef Q_OS_WIN
constexpr char kClipboardLineEnd[] = "\r\n";
#else
constexpr char kClipboardLineEnd[] = "\n";
#endif

// The length of the longest line of `text`.
qsizetype LongestLine(const QString& text) {
  qsizetype longest = 0;
  for (qsizetype start = 0; start <= text.size();) {
    qsizetype end = text.indexOf(QLatin1Char('\n'), start);
    if (end < 0) end = text.size();
    longest = std::max(longest, end - start);
    start = end + 1;
  }
  return longest;
}

}  // namespace

TResultsLog::TResultsLog(TSession& session, TPlatform& platform, QWidget* parent)
    : QWidget(parent), session_(session), platform_(platform), keep_(session.KeepLog()) {
  setObjectName(QStringLiteral("ResultsLog"));
  Memo = new QPlainTextEdit(this);
  Memo->setObjectName(QStringLiteral("Memo"));
  Memo->setAccessibleName(QStringLiteral("Results log"));
  Memo->setAccessibleDescription(
      QStringLiteral("Two lines per result, the newest last; editable, and kept between runs"));
  Memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  Memo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  Memo->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  // The columns of the result lines align in a fixed-pitch font.
  Memo->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  if (const std::optional<QFont> font = session_.LogFont()) Memo->setFont(*font);
  // Tab enters the log and leaves it again: it never types a tab.
  Memo->setTabChangesFocus(true);
  Memo->setFocusPolicy(Qt::StrongFocus);
  Memo->setMinimumHeight(Memo->fontMetrics().lineSpacing() * kMemoMinLines +
                         2 * Memo->frameWidth());
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(kMemoLeft, 0, 0, 0);
  layout->addWidget(Memo);
  setFocusProxy(Memo);

  saveTimer_ = new QTimer(this);
  saveTimer_->setSingleShot(true);
  saveTimer_->setInterval(kSaveDelayMs);
  connect(saveTimer_, &QTimer::timeout, this, &TResultsLog::SaveNow);
  connect(Memo->document(), &QTextDocument::contentsChanged, this, &TResultsLog::Changed);
  connect(Memo->document(), &QTextDocument::contentsChange, this,
          [this](int from, int, int added) { FitWrapToLines(from, added); });
  connect(Memo, &QPlainTextEdit::undoAvailable, this, &TResultsLog::undoAvailable);
}

QStringList TResultsLog::Lines() const {
  QStringList lines = Memo->toPlainText().split(QLatin1Char('\n'));
  // After a final line end there is no further line, as in a text file.
  if (lines.last().isEmpty()) lines.removeLast();
  return lines;
}

// Each line at the end of the log.  An empty last line (the user ended the
// log with Enter) takes the text itself.  The caret goes to the end of the
// new line, so the log shows it.
void TResultsLog::Append(const QStringList& lines) {
  QTextCursor cursor(Memo->document());
  for (const QString& line : lines) {
    cursor.movePosition(QTextCursor::End);
    if (!cursor.block().text().isEmpty()) cursor.insertBlock();
    cursor.insertText(line);
  }
  Memo->setTextCursor(cursor);
  Memo->ensureCursorVisible();
}

// A saved log that cannot be read is left alone: the status bar says so and
// this run's results stay only in the pane (Save As still writes them).
void TResultsLog::Restore() {
  if (restored_) return;
  TSession::TSavedLog saved;
  if (keep_) saved = session_.LoadLog();
  // Before the text: a layout at word boundaries would already be slow.
  if (LongestLine(saved.text) > kLongestWordWrappedLine)
    Memo->setWordWrapMode(QTextOption::WrapAnywhere);
  Memo->setPlainText(saved.text);
  writable_ = saved.writable;
  if (!saved.problem.isEmpty()) emit message(saved.problem);
  restored_ = true;
  Memo->moveCursor(QTextCursor::End);
  Memo->ensureCursorVisible();
}

// Qt lays out a line with a word longer than the log is wide in time that
// grows with the square of the word's length (15 s for 250 KB): its search
// for a word boundary starts again for each piece.  Once the log holds a
// line longer than kLongestWordWrappedLine, lines wrap anywhere instead,
// which takes linear time; the text itself is unchanged.
void TResultsLog::FitWrapToLines(int from, int added) {
  if (added < kLongestWordWrappedLine || Memo->wordWrapMode() == QTextOption::WrapAnywhere) return;
  const QTextDocument* document = Memo->document();
  const QTextBlock last = document->findBlock(from + added);
  for (QTextBlock block = document->findBlock(from); block.isValid(); block = block.next()) {
    if (block.length() > kLongestWordWrappedLine) {
      Memo->setWordWrapMode(QTextOption::WrapAnywhere);
      return;
    }
    if (block == last) break;
  }
}

// Any change but Delete All and its undoing ends the way back to the
// deleted log.
void TResultsLog::Changed() {
  if (!restoring_) deleted_.reset();
  if (restored_ && keep_) saveTimer_->start();
}

// A log that cannot be kept is said in the status bar; the window carries on.
void TResultsLog::SaveNow() {
  saveTimer_->stop();
  if (!restored_ || !keep_ || !writable_) return;
  try {
    session_.SaveLog(Memo->toPlainText());
  } catch (const EWindowError& error) {
    emit message(QString::fromStdString(error.what()));
  }
}

void TResultsLog::Flush() {
  if (saveTimer_->isActive()) SaveNow();
}

void TResultsLog::SetKeep(bool keep) {
  keep_ = keep;
  session_.SetKeepLog(keep);
  if (keep) {
    SaveNow();
  } else if (writable_) {
    saveTimer_->stop();
    session_.RemoveLog();
  }
}

// The selection, or the whole log when nothing is selected; the caret goes
// to the start of what was copied.
void TResultsLog::Copy() {
  if (!Memo->textCursor().hasSelection()) SelectAll();
  QTextCursor cursor = Memo->textCursor();
  QString text = cursor.selection().toPlainText();
  text.replace(QLatin1Char('\n'), QString::fromLatin1(kClipboardLineEnd));
  platform_.SetClipboardText(text);
  cursor.setPosition(cursor.selectionStart());
  Memo->setTextCursor(cursor);
}

void TResultsLog::SelectAll() {
  Memo->setFocus(Qt::OtherFocusReason);
  Memo->selectAll();
}

// One step of the log's undo history.  The kept file of the log as it was
// stays beside the log until the next Compute.
void TResultsLog::DeleteAll() {
  const QString text = Memo->toPlainText();
  if (text.isEmpty()) return;
  if (restored_ && keep_ && writable_) {
    try {
      session_.SaveLogBackup(text);
    } catch (const EWindowError& error) {
      emit message(QString::fromStdString(error.what()));
    }
  }
  restoring_ = true;
  QTextCursor cursor(Memo->document());
  cursor.select(QTextCursor::Document);
  cursor.removeSelectedText();
  restoring_ = false;
  deleted_ = text;
  emit message(QStringLiteral("Log deleted \u2014 %1 restores it")
                   .arg(QKeySequence(QKeySequence::Undo).toString(QKeySequence::NativeText)));
}

// The deleted log comes back as the undo history has it, or, should the
// history have merged the deletion with an earlier step, as it was deleted.
void TResultsLog::Undo() {
  if (!deleted_) {
    Memo->undo();
    return;
  }
  const QString text = *deleted_;
  restoring_ = true;
  Memo->undo();
  if (Memo->toPlainText() != text) {
    QTextCursor cursor(Memo->document());
    cursor.select(QTextCursor::Document);
    cursor.insertText(text);
  }
  restoring_ = false;
  deleted_.reset();
  Memo->moveCursor(QTextCursor::End);
  Memo->ensureCursorVisible();
  emit message(QString());
}

void TResultsLog::DropBackup() {
  if (writable_) session_.RemoveLogBackup();
}

// A log whose caret stands at its end keeps showing its last line when the
// window shrinks.
void TResultsLog::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (Memo->textCursor().atEnd()) Memo->ensureCursorVisible();
}

void TResultsLog::ChooseFont(QWidget* dialogParent) {
  const std::optional<QFont> font = platform_.ChooseFont(dialogParent, Memo->font());
  if (!font) return;
  Memo->setFont(*font);
  session_.SetLogFont(*font);
}

void TResultsLog::Print(QPrinter& printer, long double scale, int copies, const QString& title,
                        const TPlotPane* plot) {
  const QFont font = PrintFont(Memo->font(), scale);
  const QStringList lines = Lines();
  for (int copy = 0; copy < copies; ++copy) {
    QPainter painter;
    StartPrintJob(platform_, painter, printer);
    PrintLines(painter, printer, font, lines, title, plot);
    platform_.EndPrintJob(painter);
  }
}

}  // namespace window
