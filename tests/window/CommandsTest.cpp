// The commands on the results log: Save As, Copy (with the 42 notice),
// Select All, Delete All with Undo and Font; and what the window keeps from
// one run to the next.
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTextBlock>

#include "FormFixture.h"
#include "window/DetailsPane.h"
#include "window/PlotPane.h"

namespace {

const QString kNormalHeader = "Normal Distribution, mean=0.000000, variance=1.000000:";
const QString kNormalHalves = "   P(X<0.000000)=0.500000      P(X>0.000000)=0.500000";

QByteArray ReadFile(const QString& name) {
  QFile file(name);
  if (!file.open(QIODevice::ReadOnly)) return "<cannot read>";
  return file.readAll();
}

void WriteFile(const QString& name, const QByteArray& bytes) {
  QFile file(name);
  QVERIFY(file.open(QIODevice::WriteOnly));
  QCOMPARE(file.write(bytes), bytes.size());
}

QWidget* FocusWidget() {
  return QApplication::focusWidget();
}

}  // namespace

class TCommandsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { SilencePlatformNoise(); }
  void saveAsBytes_data();
  void saveAsBytes();
  void saveAsAfterCompute();
  void saveAsOffersLastName();
  void saveAsReplacesFileOnlyWhenWritten();
  void saveAsUnwritable_data();
  void saveAsUnwritable();
  void saveAsSpecialFile_data();
  void saveAsSpecialFile();
  void computeAfterHandTypedLineEnd();
  void copyWithoutSelection();
  void copyWithSelection();
  void copyEmptyLog();
  void copyWhenClipboardFails();
  void fortyTwoNotice_data();
  void fortyTwoNotice();
  void noticeIs130Characters();
  void selectAll();
  void deleteAllThenCompute();
  void fontChangesOnlyMemo();
  void fontDialogCancelled();
  void keptFromRunToRun();
  void keptLogThatCannotBeReadIsLeftAlone();
  void keptLogBytesSurviveAsACopy();
  void longLineOfTheKeptLogWrapsAnywhere();
  void stateKeptSoonAfterChange_data();
  void stateKeptSoonAfterChange();
  void panesShowLastResultAtStart_data();
  void panesShowLastResultAtStart();
};

void TCommandsTest::saveAsBytes_data() {
  QTest::addColumn<QString>("log");  // the text of Memo
  QTest::addColumn<QByteArray>("bytes");
  QTest::newRow("empty log") << "" << QByteArray();
  QTest::newRow("two lines") << "L1\nL2" << QByteArray("L1\r\nL2\r\n");
  QTest::newRow("one line") << "only" << QByteArray("only\r\n");
  QTest::newRow("empty line inside") << "a\n\nb" << QByteArray("a\r\n\r\nb\r\n");
  QTest::newRow("final line end typed by hand") << "a\nb\n" << QByteArray("a\r\nb\r\n");
  QTest::newRow("only an empty line") << "\n" << QByteArray("\r\n");
  QTest::newRow("every character in UTF-8")
      << QString::fromUtf8("\xc3\xa9t\xc3\xa9 \xe2\x86\x92 \xc2\xb5")
      << QByteArray("\xc3\xa9t\xc3\xa9 \xe2\x86\x92 \xc2\xb5\r\n");
}

void TCommandsTest::saveAsBytes() {
  QFETCH(QString, log);
  QFETCH(QByteArray, bytes);
  QTemporaryDir dir;
  TFormFixture f;
  f.Memo()->setPlainText(log);
  const QString name = dir.filePath("table.txt");
  f.platform.saveAnswers.push_back(name);
  f.Item("SaveAsItem")->trigger();
  QVERIFY(f.platform.errors.isEmpty());
  QVERIFY(QFile::exists(name));
  QCOMPARE(ReadFile(name), bytes);
  QCOMPARE(f.Memo()->toPlainText(), log);  // the log is unchanged
}

void TCommandsTest::saveAsAfterCompute() {
  QTemporaryDir dir;
  TFormFixture f;
  f.Click(f.Compute());
  const QString name = dir.filePath("results");  // no extension is added
  f.platform.saveAnswers.push_back(name);
  f.Item("SaveAsItem")->trigger();
  QCOMPARE(ReadFile(name), (kNormalHeader + "\r\n" + kNormalHalves + "\r\n").toLatin1());
  QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"results"});
}

void TCommandsTest::saveAsOffersLastName() {
  QTemporaryDir dir;
  TFormFixture f;
  const QString first = dir.filePath("first.txt");
  f.platform.saveAnswers = {first, std::nullopt, dir.filePath("second.log")};
  for (int i = 0; i < 3; ++i) f.Item("SaveAsItem")->trigger();
  QCOMPARE(f.platform.saveInitialNames, (QStringList{"table.txt", first, first}));
  for (const QStringList& filters : f.platform.saveFilters)
    QCOMPARE(filters, (QStringList{"Text Files (*.txt)", "All (*.*)"}));
  // The cancelled dialog wrote nothing.
  QCOMPARE(QDir(dir.path()).entryList(QDir::Files), (QStringList{"first.txt", "second.log"}));
  QVERIFY(f.platform.unexpected.isEmpty());
}

// Replacing a file is asked first.  The old file is never cut short and
// rewritten in place: a second name for the same file (a hard link) still
// shows the old bytes, whole, after the save.
void TCommandsTest::saveAsReplacesFileOnlyWhenWritten() {
  QTemporaryDir dir;
  const QString name = dir.filePath("table.txt");
  const QString link = dir.filePath("old-bytes");
  const QByteArray old(10000, 'x');
  WriteFile(name, old);
  QCOMPARE(::link(QFile::encodeName(name).constData(), QFile::encodeName(link).constData()), 0);
  TFormFixture f;
  f.Memo()->setPlainText("new");
  f.platform.saveAnswers = {name, name};
  f.platform.questionAnswers = {false, true};
  f.Item("SaveAsItem")->trigger();
  QCOMPARE(ReadFile(name), old);
  f.Item("SaveAsItem")->trigger();
  QCOMPARE(f.platform.questions.size(), 2);
  QCOMPARE(f.platform.questions[0].title + ": " + f.platform.questions[0].text,
           QString("Confirm Save As: table.txt already exists.\nDo you want to replace it?"));
  QCOMPARE(ReadFile(name), QByteArray("new\r\n"));
  QCOMPARE(ReadFile(link), old);
  // No temporary file is left behind.
  QCOMPARE(QDir(dir.path()).entryList(QDir::Files), (QStringList{"old-bytes", "table.txt"}));
}

void TCommandsTest::saveAsUnwritable_data() {
  QTest::addColumn<QString>("where");
  QTest::newRow("folder missing") << "missing/table.txt";
  QTest::newRow("name of a folder") << "folder";
}

void TCommandsTest::saveAsUnwritable() {
  QFETCH(QString, where);
  QTemporaryDir dir;
  QVERIFY(QDir(dir.path()).mkdir("folder"));
  const QString name = dir.filePath(where);
  TFormFixture f;
  f.Click(f.Compute());
  const QStringList log = f.form->LogLines();
  f.platform.saveAnswers.push_back(name);
  f.Item("SaveAsItem")->trigger();
  QCOMPARE(f.platform.errors.size(), 1);
  QCOMPARE(f.platform.errors[0].title, QString("Probex"));
  const QString text = f.platform.errors[0].text;
  QVERIFY2(text.startsWith("Cannot create file \"" + name + "\". "), qPrintable(text));
  QVERIFY2(text.size() > QString("Cannot create file \"" + name + "\". ").size() + 1,
           qPrintable(text));  // the system's reason follows
  QVERIFY(text.endsWith('.'));
  QCOMPARE(f.form->LogLines(), log);
  QVERIFY(QFileInfo(name).isDir() || !QFile::exists(name));
  // The name stays offered for the next try.
  f.platform.saveAnswers.push_back(std::nullopt);
  f.Item("SaveAsItem")->trigger();
  QCOMPARE(f.platform.saveInitialNames.last(), name);
}

void TCommandsTest::saveAsSpecialFile_data() {
  QTest::addColumn<uint>("type");
  QTest::newRow("FIFO") << uint(S_IFIFO);
  QTest::newRow("character device") << uint(S_IFCHR);
}

// A device or a FIFO is refused and stays as it was, never replaced by a
// regular file.  The node is made here, in a folder of the test's own, with
// the numbers of /dev/full.
void TCommandsTest::saveAsSpecialFile() {
  QFETCH(uint, type);
  QTemporaryDir dir;
  const QString name = dir.filePath("node");
  const QByteArray path = QFile::encodeName(name);
  if (::mknod(path.constData(), type | 0600, makedev(1, 7)) != 0) QSKIP("mknod refused");
  TFormFixture f;
  f.Click(f.Compute());
  f.platform.saveAnswers.push_back(name);
  f.platform.questionAnswers.push_back(true);  // replace it: yes
  f.Item("SaveAsItem")->trigger();
  QCOMPARE(f.platform.errors.size(), 1);
  QCOMPARE(f.platform.errors[0].text, "Cannot create file \"" + name + "\". Not a regular file.");
  struct stat status {};
  QCOMPARE(::lstat(path.constData(), &status), 0);
  QCOMPARE(uint(status.st_mode & S_IFMT), type);
  QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot),
           QStringList{"node"});
}

void TCommandsTest::computeAfterHandTypedLineEnd() {
  TFormFixture f;
  f.Memo()->setPlainText("my note\n");
  f.Click(f.Compute());
  QCOMPARE(f.form->LogLines(), (QStringList{"my note", kNormalHeader, kNormalHalves}));
  QCOMPARE(f.Memo()->textCursor().position(), f.Memo()->toPlainText().size());
}

void TCommandsTest::copyWithoutSelection() {
  TFormFixture f;
  f.Click(f.Compute());
  f.Click(f.Compute());
  f.Edit(1)->setFocus();
  f.Item("CopyItem")->trigger();
  const QString all =
      QStringList{kNormalHeader, kNormalHalves, kNormalHeader, kNormalHalves}.join('\n');
  QCOMPARE(f.platform.clipboard, QStringList{all});
  QCOMPARE(FocusWidget(), static_cast<QWidget*>(f.Memo()));
  QVERIFY(!f.Memo()->textCursor().hasSelection());
  QCOMPARE(f.Memo()->textCursor().position(), 0);  // the start of the former selection
  QCOMPARE(f.form->windowTitle(), QString("Probex"));
}

void TCommandsTest::copyWithSelection() {
  TFormFixture f;
  f.Click(f.Compute());
  f.Edit(4)->setFocus();
  QTextCursor cursor = f.Memo()->textCursor();
  const int start = kNormalHeader.indexOf("mean");
  cursor.setPosition(start);
  cursor.setPosition(kNormalHeader.size() + 1 + 7, QTextCursor::KeepAnchor);  // into line two
  f.Memo()->setTextCursor(cursor);
  f.Item("CopyItem")->trigger();
  QCOMPARE(f.platform.clipboard, QStringList{"mean=0.000000, variance=1.000000:\n   P(X<"});
  QCOMPARE(FocusWidget(), static_cast<QWidget*>(f.Edit(4)));  // the focus stays
  QVERIFY(!f.Memo()->textCursor().hasSelection());
  QCOMPARE(f.Memo()->textCursor().position(), start);
}

void TCommandsTest::copyEmptyLog() {
  TFormFixture f;
  f.Item("CopyItem")->trigger();
  QCOMPARE(f.platform.clipboard, QStringList{QString()});
  QVERIFY(f.platform.errors.isEmpty());
}

void TCommandsTest::copyWhenClipboardFails() {
  TFormFixture f;
  f.Click(f.Compute());
  f.platform.clipboardFails = true;
  f.Item("CopyItem")->trigger();
  QCOMPARE(f.platform.errors.size(), 1);
  QCOMPARE(f.platform.errors[0].text, QString("Cannot open clipboard."));
  QCOMPARE(f.form->LogLines().size(), 2);
}

void TCommandsTest::fortyTwoNotice_data() {
  QTest::addColumn<QString>("radio");  // arranged first
  QTest::addColumn<QStringList>("texts");
  QTest::addColumn<bool>("notice");
  QTest::newRow("42 in all four") << "HyperRadio" << QStringList{"42", "42", "42", "42"} << true;
  QTest::newRow("leading digits 42")
      << "HyperRadio" << QStringList{"42x", "42.5", "42 ", "-42x"} << true;
  QTest::newRow("hexadecimal and spaces")
      << "HyperRadio" << QStringList{"$2A", "0x2a", "  42", "+42"} << true;
  QTest::newRow("hidden fields count too")
      << "FactorialRadio" << QStringList{"42", "42", "42", "42"} << true;
  QTest::newRow("41 in one field") << "HyperRadio" << QStringList{"42", "42", "41", "42"} << false;
  QTest::newRow("-42 is -42") << "HyperRadio" << QStringList{"42", "-42", "42", "42"} << false;
  QTest::newRow("empty field reads 0")
      << "HyperRadio" << QStringList{"42", "42", "42", ""} << false;
  QTest::newRow("420") << "HyperRadio" << QStringList{"42", "420", "42", "42"} << false;
}

void TCommandsTest::fortyTwoNotice() {
  QFETCH(QString, radio);
  QFETCH(QStringList, texts);
  QFETCH(bool, notice);
  TFormFixture f;
  f.Click(f.Compute());
  f.Click(f.Radio(radio.toLatin1()));
  for (int n = 1; n <= 4; ++n) f.Edit(n)->setText(texts[n - 1]);
  f.Item("CopyItem")->trigger();
  QCOMPARE(f.form->windowTitle(), notice ? TTestForm::FortyTwoNotice() : QString("Probex"));
  // The copy itself happens either way.
  QCOMPARE(f.platform.clipboard.size(), 1);
  QCOMPARE(f.platform.clipboard[0], kNormalHeader + "\n" + kNormalHalves);
}

void TCommandsTest::noticeIs130Characters() {
  QCOMPARE(TTestForm::FortyTwoNotice().size(), 130);
  QVERIFY(TTestForm::FortyTwoNotice() != "Probex");
}

void TCommandsTest::selectAll() {
  TFormFixture f;
  f.Click(f.Compute());
  f.Edit(2)->setFocus();
  f.Item("SelectAllItem")->trigger();
  QCOMPARE(FocusWidget(), static_cast<QWidget*>(f.Memo()));
  QCOMPARE(f.Memo()->textCursor().selectedText(),
           kNormalHeader + QChar::ParagraphSeparator + kNormalHalves);
}

void TCommandsTest::deleteAllThenCompute() {
  TFormFixture f;
  f.Click(f.Compute());
  f.Memo()->appendPlainText("typed by hand");
  const QStringList log = f.form->LogLines();
  f.Item("Clear")->trigger();
  QVERIFY(f.form->LogLines().isEmpty());
  QVERIFY(f.platform.errors.isEmpty());  // no question, no message
  f.Item("UndoItem")->trigger();         // Delete All is one step of the log's undo history
  QCOMPARE(f.form->LogLines(), log);
  f.Item("Clear")->trigger();
  f.Memo()->setFocus();
  QTest::keyClick(f.Memo(), Qt::Key_Z, Qt::ControlModifier);
  QCOMPARE(f.form->LogLines(), log);
  f.Item("Clear")->trigger();
  f.Click(f.Compute());
  QCOMPARE(f.form->LogLines(), (QStringList{kNormalHeader, kNormalHalves}));
}

void TCommandsTest::fontChangesOnlyMemo() {
  TFormFixture f;
  const QFont before = f.Memo()->font();
  const QFont editFont = f.Edit(1)->font();
  QFont chosen("DejaVu Sans Mono", 15);
  chosen.setBold(true);
  chosen.setItalic(true);
  f.platform.fontAnswers.push_back(chosen);
  f.Item("FontItem")->trigger();
  QCOMPARE(f.platform.fontInitials, QList<QFont>{before});  // preset with the log's font
  QCOMPARE(f.Memo()->font(), chosen);
  QCOMPARE(f.Edit(1)->font(), editFont);
  QCOMPARE(f.Label(1)->font(), editFont);
  // The next time the dialog starts with the new font.
  f.platform.fontAnswers.push_back(std::nullopt);
  f.Item("FontItem")->trigger();
  QCOMPARE(f.platform.fontInitials.last(), chosen);
}

// The log, each function's fields, the selected function, the log's font
// and the window's size outlive the window; without the option of Tools >
// Settings the saved log is deleted and the next run starts empty.
void TCommandsTest::keptFromRunToRun() {
  QFont chosen("DejaVu Serif", 15);
  {
    TFormFixture f;
    f.Memo()->setPlainText("a note of mine");
    f.Click(f.Compute());
    f.Type(1, "2.5");
    f.Click(f.Radio("TRadio"));
    f.Click(f.Invers());
    f.Type(1, "10");
    f.platform.fontAnswers.push_back(chosen);
    f.Item("FontItem")->trigger();
    f.form->resize(900, 700);
    QTRY_COMPARE(f.form->size(), QSize(900, 700));
    f.Item("ExitItem")->trigger();
  }
  TFormFixture f({}, false);
  QCOMPARE(f.form->LogLines(), (QStringList{"a note of mine", kNormalHeader, kNormalHalves}));
  QVERIFY(f.Radio("TRadio")->isChecked());
  QCOMPARE(f.Edit(1)->text(), QString("10"));
  QVERIFY(f.Invers()->isChecked());
  QCOMPARE(f.Edit(4)->text(), QString("0.975"));
  f.Click(f.Radio("NormalRadio"));
  QCOMPARE(f.Edit(1)->text(), QString("2.5"));
  QCOMPARE(f.Memo()->font(), chosen);
  f.form->ShowAsRemembered();
  QTRY_COMPARE(f.form->size(), QSize(900, 700));
  f.platform.dialogAnswers.push_back([](QDialog& dialog) {
    dialog.findChild<QCheckBox*>("KeepLogCheckBox")->click();  // on at first: now off
    return true;
  });
  f.Item("SettingsItem")->trigger();
  QVERIFY(!QFile::exists(window::TSession::LogFileName()));
  f.form.reset();
  TFormFixture next({}, false);
  QVERIFY(next.form->LogLines().isEmpty());
}

void TCommandsTest::fontDialogCancelled() {
  TFormFixture f;
  const QFont before = f.Memo()->font();
  f.platform.fontAnswers.push_back(std::nullopt);
  f.Item("FontItem")->trigger();
  QCOMPARE(f.Memo()->font(), before);
}

// A FIFO in the log's place: the start neither waits for a writer nor, later,
// replaces the node with a file of this run's results.
void TCommandsTest::keptLogThatCannotBeReadIsLeftAlone() {
  window_test::ForgetSession();
  const QString name = window::TSession::LogFileName();
  QDir().mkpath(QFileInfo(name).absolutePath());
  QCOMPARE(mkfifo(QFile::encodeName(name).constData(), 0600), 0);
  TFormFixture f({}, false);
  QVERIFY(f.form->statusBar()->currentMessage().contains("cannot be read"));
  f.Click(f.Compute());
  QCOMPARE(f.form->LogLines().size(), 2);
  f.form.reset();  // saves what it keeps
  struct stat status {};
  QCOMPARE(lstat(QFile::encodeName(name).constData(), &status), 0);
  QVERIFY(S_ISFIFO(status.st_mode));
  QFile::remove(name);
}

// Bytes the log would not write back (not UTF-8, CR LF) are kept in a copy
// before the first save.
void TCommandsTest::keptLogBytesSurviveAsACopy() {
  window_test::ForgetSession();
  const QString name = window::TSession::LogFileName();
  QDir().mkpath(QFileInfo(name).absolutePath());
  const QByteArray bytes("caf\xe9 note\r\nsecond line\r\n");
  WriteFile(name, bytes);
  {
    TFormFixture f({}, false);
    QVERIFY(f.form->statusBar()->currentMessage().contains(".orig"));
    f.Click(f.Compute());
  }
  QCOMPARE(ReadFile(name + ".orig"), bytes);
  QVERIFY(ReadFile(name).startsWith("caf"));
  QFile::remove(name + ".orig");
}

// A line with a word far wider than the log (Qt's layout of it at word
// boundaries takes time that grows with the square of its length) makes the
// log wrap anywhere; the file keeps the line whole.
void TCommandsTest::longLineOfTheKeptLogWrapsAnywhere() {
  window_test::ForgetSession();
  const QString name = window::TSession::LogFileName();
  QDir().mkpath(QFileInfo(name).absolutePath());
  const QByteArray line(300000, '7');
  WriteFile(name, "a note\n" + line);
  {
    TFormFixture f({}, false);
    QCOMPARE(f.Memo()->wordWrapMode(), QTextOption::WrapAnywhere);
    f.Click(f.Compute());
  }
  QVERIFY(ReadFile(name).startsWith("a note\n" + line + "\n"));
  TFormFixture fresh;  // a log of short lines wraps at word boundaries
  QCOMPARE(fresh.Memo()->wordWrapMode(), QTextOption::WrapAtWordBoundaryOrAnywhere);
}

void TCommandsTest::stateKeptSoonAfterChange_data() {
  QTest::addColumn<QString>("change");
  QTest::addColumn<QByteArray>("kept");  // what the settings file holds soon after
  QTest::newRow("field text") << "Edit_1" << QByteArray("12.75");
  QTest::newRow("inverse option") << "InversCheckBox" << QByteArray("inverse=true");
  QTest::newRow("function") << "TRadio" << QByteArray("function=t");
  QTest::newRow("status bar") << "StatusBarItem" << QByteArray("statusBar=false");
  QTest::newRow("plot pane hidden: the dock state") << "PlotPaneItem" << QByteArray();
}

// Kept on the disk within a second of the change, as a program killed then
// would find it: not only at Compute or when the window closes.
void TCommandsTest::stateKeptSoonAfterChange() {
  QFETCH(QString, change);
  QFETCH(QByteArray, kept);
  TFormFixture f;
  const QString file = QSettings("Probex", "Probex").fileName();
  QTest::qWait(2 * TTestForm::kStateSaveDelayMs);  // what the window keeps as it opens
  const QByteArray before = ReadFile(file);
  if (!kept.isEmpty()) QVERIFY(!before.contains(kept));
  if (change == "Edit_1") f.Type(1, "12.75");
  if (change.endsWith("Box")) f.Click(f.Invers());
  if (change.endsWith("Radio")) f.Click(f.Radio("TRadio"));
  if (change.endsWith("Item")) f.Item(qPrintable(change))->trigger();
  if (kept.isEmpty())
    QTRY_VERIFY_WITH_TIMEOUT(ReadFile(file) != before, 1000);
  else
    QTRY_VERIFY_WITH_TIMEOUT(ReadFile(file).contains(kept), 1000);
}

void TCommandsTest::panesShowLastResultAtStart_data() {
  QTest::addColumn<bool>("deleted");  // the log deleted before the end of the run
  QTest::newRow("log with results") << false;
  QTest::newRow("empty log") << true;
}

// The panes show the log's last result again, computed from the fields.
void TCommandsTest::panesShowLastResultAtStart() {
  QFETCH(bool, deleted);
  {
    TFormFixture f;
    f.Click(f.Radio("ChiSquareRadio"));
    f.Click(f.Compute());
    if (deleted) f.Item("Clear")->trigger();
    f.Item("ExitItem")->trigger();
  }
  TFormFixture f({}, false);
  const auto* details = f.form->findChild<window::TDetailsPane*>();
  const auto* plot = f.form->findChild<window::TPlotPane*>();
  QCOMPARE(plot->HasPlot(), !deleted);
  QCOMPARE(details->PlainText().isEmpty(), deleted);
  if (!deleted) QVERIFY(details->PlainText().startsWith(f.form->LogLines().at(0)));
}

PROBEX_WINDOW_TEST_MAIN(TCommandsTest)
#include "CommandsTest.moc"
