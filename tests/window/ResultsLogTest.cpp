// The results log on its own: Delete All and the way back to the deleted
// log, which any later change ends; the backup beside the kept log; copying
// the selection or the whole log.
#include <QFile>
#include <QPlainTextEdit>
#include <QSignalSpy>

#include "FormFixture.h"
#include "window/ResultsLog.h"
#include "window/Session.h"

namespace {

const QStringList kLines{"Poisson Distribution, lambda=2.000000:",
                         "   P(X<=1)=0.406006      P(X>=1)=0.864665"};

QByteArray ReadFile(const QString& name) {
  QFile file(name);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<none>");
}

// A first run's log, restored (empty) and kept, with two lines appended.
struct TLogFixture {
  struct TFirstRun {
    TFirstRun() {
      window_test::ForgetSession();
      QFile::remove(window::TSession::BackupFileName());
    }
  } firstRun;
  TLogFixture() {
    log.Restore();
    log.Append(kLines);
  }
  TScriptedPlatform platform;
  window::TSession session;
  window::TResultsLog log{session, platform};
};

}  // namespace

class TResultsLogTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { SilencePlatformNoise(); }
  void undoAfterDeleteAll_data();
  void undoAfterDeleteAll();
  void backupUntilDropped();
  void copyTakesSelectionOrAll();
};

void TResultsLogTest::undoAfterDeleteAll_data() {
  QTest::addColumn<QString>("between");  // what happens between Delete All and Undo
  QTest::addColumn<QStringList>("after");
  QTest::newRow("nothing: the log comes back") << "" << kLines;
  QTest::newRow("a typed line: Undo takes only it back") << "typed" << QStringList();
  QTest::newRow("an appended result: Undo takes it back") << "appended" << QStringList();
  QTest::newRow("a second Delete All of the empty log") << "deleted" << kLines;
}

void TResultsLogTest::undoAfterDeleteAll() {
  QFETCH(QString, between);
  QFETCH(QStringList, after);
  TLogFixture f;
  QSignalSpy messages(&f.log, &window::TResultsLog::message);
  f.log.DeleteAll();
  QVERIFY(f.log.Lines().isEmpty());
  QVERIFY(f.log.CanRestore());
  QCOMPARE(messages.size(), 1);
  QVERIFY(messages[0][0].toString().startsWith("Log deleted"));
  if (between == "typed") f.log.Pane()->insertPlainText("x");
  if (between == "appended") f.log.Append({"another line"});
  if (between == "deleted") f.log.DeleteAll();
  QCOMPARE(f.log.CanRestore(), between.isEmpty() || between == "deleted");
  f.log.Undo();
  QCOMPARE(f.log.Lines(), after);
  QVERIFY(!f.log.CanRestore());
}

// The log as it was before Delete All stays on disk beside the kept one
// until DropBackup (the next Compute); the kept log itself follows the pane.
void TResultsLogTest::backupUntilDropped() {
  TLogFixture f;
  const QString backup = window::TSession::BackupFileName();
  QVERIFY(!QFile::exists(backup));
  f.log.DeleteAll();
  QCOMPARE(ReadFile(backup), kLines.join('\n').toUtf8());
  QTRY_COMPARE(ReadFile(window::TSession::LogFileName()), QByteArray());
  f.log.Undo();
  QTRY_COMPARE(ReadFile(window::TSession::LogFileName()), kLines.join('\n').toUtf8());
  QVERIFY(QFile::exists(backup));
  f.log.DropBackup();
  QVERIFY(!QFile::exists(backup));
  // A log that is not kept leaves no backup either.
  f.log.SetKeep(false);
  f.log.DeleteAll();
  QVERIFY(!QFile::exists(backup));
}

void TResultsLogTest::copyTakesSelectionOrAll() {
  TLogFixture f;
  f.log.Copy();
  QTextCursor cursor = f.log.Pane()->textCursor();
  QVERIFY(!cursor.hasSelection());
  cursor.setPosition(3);
  cursor.setPosition(10, QTextCursor::KeepAnchor);
  f.log.Pane()->setTextCursor(cursor);
  f.log.Copy();
  QCOMPARE(f.platform.clipboard, (QStringList{kLines.join('\n'), kLines[0].mid(3, 7)}));
}

PROBEX_WINDOW_TEST_MAIN(TResultsLogTest)
#include "ResultsLogTest.moc"
