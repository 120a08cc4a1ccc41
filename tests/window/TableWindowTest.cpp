// The Table of Values window: its fields per kind of table, faults, the
// worker with Cancel, more digits, Copy, Save As, Print, and screen grabs
// of the window for people to look at (in $PROBEX_ARTIFACTS).
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

#include "FormFixture.h"
#include "ScriptedPlatform.h"
#include "window/TableWindow.h"

using calculator::Function;
using tables::Field;
using tables::Kind;
using window::TTableWindow;

namespace {

constexpr int kWaitMs = 60000;

calculator::FieldTexts Defaults(Function function) {
  return calculator::DefaultTexts(function);
}

// Compute, then wait until the table (or the refusal) is there.
bool ComputeAndWait(TTableWindow& w) {
  QSignalSpy finished(&w, &TTableWindow::Finished);
  w.ComputeClick();
  return finished.count() > 0 || finished.wait(kWaitMs);
}

QString Run(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.start(program, arguments);
  if (!process.waitForFinished(kWaitMs) || process.exitCode() != 0)
    return "<" + program + " failed>";
  return QString::fromUtf8(process.readAllStandardOutput());
}

void SaveGrab(QWidget& widget, const QString& name) {
  const QString dir = qEnvironmentVariable("PROBEX_ARTIFACTS", "artifacts");
  QDir().mkpath(dir);
  QCoreApplication::processEvents();  // the layout follows the new texts
  QVERIFY(widget.grab().save(dir + "/" + name + ".png"));
}

}  // namespace

class TTableWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { SilencePlatformNoise(); }
  void textbookTOfCriticalValues();
  void faultsAreMarkedAndNamed();
  void cancelStopsALargeTable();
  void cancelStopsInsideALongRow();
  void moreDigitsForOneColumn();
  void copySaveAndPrint();
  void countingFunctionsHaveNoTables();
  void choosingAKindShowsItsFieldsAtOnce();
  void twoSidedForSymmetricCriticalValues();
  void theRangeFollowsTheParameters();

 private:
  TScriptedPlatform platform_;
  QTemporaryDir dir_;
};

void TTableWindowTest::textbookTOfCriticalValues() {
  TTableWindow w(platform_, Function::T, Defaults(Function::T));
  w.show();
  w.SetKind(Kind::Critical);
  QVERIFY(w.Edit(Field::Degrees)->isVisible());
  QVERIFY(!w.Edit(Field::Parameter, calculator::kEdit1)->isVisible());  // a list replaces it
  QVERIFY(!w.Edit(Field::From)->isVisible());
  QVERIFY(ComputeAndWait(w));
  QCOMPARE(w.Table().rows.size(), std::size_t{33});
  QCOMPARE(w.Table().rows[0][2].text, std::string("6.313752"));
  QCOMPARE(w.Table().rows[29][3].text, std::string("2.042272"));
  SaveGrab(w, "table-window-t-critical");
  w.SetFunction(Function::Normal, {"100", "225", "", "130"});
  QCOMPARE(w.Edit(Field::Parameter, calculator::kEdit2)->text(), QString("225"));
  w.Edit(Field::From)->setText("40");
  w.Edit(Field::To)->setText("160");
  w.Edit(Field::Step)->setText("5");
  QVERIFY(ComputeAndWait(w));
  QCOMPARE(w.Table().rows[18][0].text, std::string("130.000000"));
  QCOMPARE(w.Table().rows[18][2].text, std::string("0.022750"));  // the log's P(X>130)
  SaveGrab(w, "table-window-normal-range");
}

void TTableWindowTest::faultsAreMarkedAndNamed() {
  TTableWindow w(platform_, Function::Normal, {"0", "0", "", "0"});
  w.show();
  w.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&w));
  w.Edit(Field::Step)->setText("0");
  QVERIFY(ComputeAndWait(w));
  QCOMPARE(w.Status(), QString("Variance: a number of at least 0.000001.\n"
                               "Step: a number greater than 0."));
  QVERIFY(w.Edit(Field::Parameter, calculator::kEdit2)->property("fault").toBool());
  QVERIFY(w.Edit(Field::Step)->hasFocus());  // the last fault keeps the focus
  QCOMPARE(w.Edit(Field::Step)->selectedText(), QString("0"));
  w.Edit(Field::Parameter, calculator::kEdit2)->setText("1");
  w.Edit(Field::Step)->setText("0.00001");
  QVERIFY(ComputeAndWait(w));
  QVERIFY(w.Status().contains("at most 100000 rows"));
  QVERIFY(!w.Edit(Field::Parameter, calculator::kEdit2)->property("fault").toBool());
}

void TTableWindowTest::cancelStopsALargeTable() {
  // About 0.3 ms a row: half a minute for the whole table.
  TTableWindow w(platform_, Function::Binomial, {"0.3", "10000000", "", "0"});
  w.Edit(Field::From)->setText("2950000");
  w.Edit(Field::To)->setText("3049999");  // the longest table: 100000 rows
  w.Edit(Field::Step)->setText("1");
  QSignalSpy finished(&w, &TTableWindow::Finished);
  w.ComputeClick();
  QVERIFY(w.Computing());
  w.show();
  auto* progress = w.findChild<QProgressBar*>();
  QTRY_VERIFY_WITH_TIMEOUT(progress->value() >= progress->maximum() / 20, kWaitMs);
  QTRY_VERIFY_WITH_TIMEOUT(
      progress->text().contains(QRegularExpression("%, about \\d+ (s|min) left$")), kWaitMs);
  SaveGrab(w, "table-window-progress");
  w.CancelClick();
  QVERIFY(finished.wait(kWaitMs));
  // The rows computed by then stay, marked as a partial table.
  QVERIFY(w.Status().startsWith("Cancelled: "));
  QVERIFY(w.Status().endsWith(" of 100000 rows, a partial table."));
  QVERIFY(w.Table().partial);
  QVERIFY(w.Table().rows.size() >= 100000 / 20);
  QCOMPARE(w.Table().rows.front().front().text, std::string("2950000"));
}

// A row of a thousand critical values at 2^30 - 1 degrees of freedom takes
// minutes; Cancel stops it at its next cell.
void TTableWindowTest::cancelStopsInsideALongRow() {
  TTableWindow w(platform_, Function::ChiSquare, Defaults(Function::ChiSquare));
  w.SetKind(Kind::Critical);
  QString alphas = "0.5";
  for (int i = 1; i < 1000; ++i) alphas += QString(", 0.%1").arg(i, 4, 10, QChar('0'));
  w.Edit(Field::Alphas)->setText(alphas);
  w.Edit(Field::Degrees)->setText("1073741823");
  QSignalSpy finished(&w, &TTableWindow::Finished);
  w.ComputeClick();
  QVERIFY(w.Computing());
  w.CancelClick();
  QVERIFY(finished.wait(kWaitMs));
  QVERIFY(w.Table().rows.empty());
  QVERIFY(w.Status().startsWith("Cancelled: 0 of 1 rows"));
}

void TTableWindowTest::moreDigitsForOneColumn() {
  TTableWindow w(platform_, Function::ChiSquare, Defaults(Function::ChiSquare));
  w.SetKind(Kind::Critical);
  QSignalSpy finished(&w, &TTableWindow::Finished);
  w.SetColumnDigits(2, 12);  // recomputes
  QVERIFY(finished.wait(kWaitMs));
  QCOMPARE(w.Table().rows[0][2].text, std::string("3.84145882069"));
  QCOMPARE(w.Table().rows[0][1].text, std::string("2.705543"));
}

void TTableWindowTest::copySaveAndPrint() {
  TTableWindow w(platform_, Function::Binomial, {"0.3", "400", "", "0"});
  w.Edit(Field::From)->setText("0");
  w.Edit(Field::To)->setText("400");
  w.Edit(Field::Step)->setText("1");
  QVERIFY(ComputeAndWait(w));
  w.CopyClick();
  QCOMPARE(platform_.clipboard.last().section('\n', 0, 1),
           QString("x\tP(X<=x)\tP(X>=x)\tP(X=x)\n0\t0.000000\t1.000000\t0.000000"));
  auto* view = w.findChild<QTableView*>();
  view->selectionModel()->select(
      QItemSelection(view->model()->index(120, 1), view->model()->index(121, 3)),
      QItemSelectionModel::Select);
  w.CopyClick();
  QCOMPARE(platform_.clipboard.last().count('\n'), 3);  // the headings and two rows

  const QString csv = dir_.filePath("table.csv");
  platform_.saveAnswers = {csv, csv, csv};
  w.SaveAsClick();
  QVERIFY(platform_.questions.isEmpty());  // a new file is written without asking
  QFile::remove(csv);
  QFile(csv).open(QIODevice::WriteOnly);
  platform_.questionAnswers = {false, true};
  w.SaveAsClick();
  QCOMPARE(QFileInfo(csv).size(), 0);  // No keeps the old file
  w.SaveAsClick();
  QCOMPARE(platform_.questions.size(), 2);
  QFile file(csv);
  QVERIFY(file.open(QIODevice::ReadOnly));
  QCOMPARE(file.readAll().toStdString(), tables::CsvText(w.Table()));

  const QString pdf = dir_.filePath("table.pdf");
  platform_.printAnswers.push_back({1, [pdf](QPrinter& printer) {
                                      printer.setOutputFormat(QPrinter::PdfFormat);
                                      printer.setOutputFileName(pdf);
                                    }});
  w.PrintClick();
  const QString info = Run("pdfinfo", {pdf});
  const QString pages = QRegularExpression("Pages:\\s+(\\d+)").match(info).captured(1);
  QVERIFY2(pages.toInt() > 1, qPrintable(info));
  const QString text = Run("pdftotext", {"-layout", pdf, "-"});
  QVERIFY(text.contains("Binomial Distribution, p=0.300000, n=400: x from 0 to 400 in steps of 1"));
  QVERIFY(text.contains("Page 1 of " + pages));
  QVERIFY(text.contains("Page " + pages + " of " + pages));
  QVERIFY(platform_.unexpected.isEmpty());
}

void TTableWindowTest::countingFunctionsHaveNoTables() {
  TTableWindow w(platform_, Function::T, Defaults(Function::T));
  w.SetFunction(Function::Factorial, Defaults(Function::Factorial));
  QCOMPARE(w.Status(), QString("The counting functions have no tables."));
  w.ComputeClick();
  QVERIFY(!w.Computing());
  QVERIFY(w.Table().headings.empty());
}

// The two-sided option shows with the critical values of t, not of
// chi-square, and halves each alpha: t(10) at two-sided 0.05 is 2.228139.
void TTableWindowTest::twoSidedForSymmetricCriticalValues() {
  TTableWindow w(platform_, Function::ChiSquare, Defaults(Function::ChiSquare));
  w.show();
  auto* twoSided = w.findChild<QCheckBox*>("TwoSidedCheckBox");
  w.SetKind(Kind::Critical);
  QVERIFY(!twoSided->isVisible());
  w.SetFunction(Function::T, Defaults(Function::T));
  w.SetKind(Kind::Critical);
  QVERIFY(twoSided->isVisible());
  twoSided->setChecked(true);
  w.Edit(Field::Alphas)->setText("0.05");
  w.Edit(Field::Degrees)->setText("10");
  QVERIFY(ComputeAndWait(w));
  QCOMPARE(QString::fromStdString(w.Table().rows.at(0).at(1).text), QString("2.228139"));
}

// Each kind chosen from the keyboard shows its own fields at once.
void TTableWindowTest::choosingAKindShowsItsFieldsAtOnce() {
  for (const calculator::FunctionAbout& about : calculator::Functions()) {
    const std::vector<Kind> kinds = tables::KindsOf(about.function);
    TTableWindow w(platform_, about.function, Defaults(about.function));
    w.show();
    for (std::size_t i = 1; i <= kinds.size() && kinds.size() > 1; ++i) {
      const Kind kind = kinds[i % kinds.size()];
      QTest::keyClick(w.findChild<QComboBox*>(), i < kinds.size() ? Qt::Key_Down : Qt::Key_Home);
      const std::vector<Field> shown = tables::FieldsOf(kind, about.function);
      for (Field field :
           {Field::From, Field::Alphas, Field::Degrees, Field::Degrees2, Field::Probabilities})
        QCOMPARE(w.Edit(field)->isVisible(), std::count(shown.begin(), shown.end(), field) > 0);
      for (int slot = 0; slot < calculator::kSlotCount; ++slot)
        QCOMPARE(w.Edit(Field::Parameter, slot)->isVisible(),
                 tables::UsesParameter(kind, about.function, slot));
      QVERIFY(ComputeAndWait(w));
      const char* names[] = {"range", "critical", "z-table", "quantiles"};
      SaveGrab(w, QString("table-window-kind-%1-%2").arg(about.commandName, names[int(kind)]));
    }
  }
}

// The range follows new parameters until the user types one: the bulk of
// Normal(0, 1) from -3.2 in steps of 0.2, of Normal(0, 100) from -32 in 2.
void TTableWindowTest::theRangeFollowsTheParameters() {
  TTableWindow w(platform_, Function::Normal, {"50", "100", "", ""});
  w.SetFunction(Function::Normal, {"0", "1", "", ""});
  QCOMPARE(w.Edit(Field::From)->text() + " " + w.Edit(Field::Step)->text(), QString("-3.2 0.2"));
  QTest::keyClicks(w.Edit(Field::Parameter, calculator::kEdit2), "00");  // variance 100
  QCOMPARE(w.Edit(Field::From)->text() + " " + w.Edit(Field::Step)->text(), QString("-32 2"));
  w.Edit(Field::From)->setText("5");
  w.SetFunction(Function::Normal, {"50", "100", "", ""});
  QCOMPARE(w.Edit(Field::From)->text() + " " + w.Edit(Field::To)->text(), QString("5 32"));
}

PROBEX_WINDOW_TEST_MAIN(TTableWindowTest)
#include "TableWindowTest.moc"
