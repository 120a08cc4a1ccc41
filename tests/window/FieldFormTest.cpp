// The field form on its own: each function's texts and options remembered
// through the session, marks from an invalid result, and the signals the
// window listens to.
#include <QCheckBox>
#include <QLabel>
#include <QSignalSpy>

#include "FormFixture.h"
#include "window/FieldForm.h"
#include "window/Session.h"

using calculator::Function;
using calculator::Mode;

class TFieldFormTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { SilencePlatformNoise(); }
  void init() { window_test::ForgetSession(); }
  void functionKeepsTextsAndOptions_data();
  void functionKeepsTextsAndOptions();
  void faultsMarkFields();
  void editedFollowsTheUser();
};

void TFieldFormTest::functionKeepsTextsAndOptions_data() {
  QTest::addColumn<int>("function");
  QTest::addColumn<QString>("option");  // the option checked before the text is typed
  QTest::addColumn<int>("mode");
  QTest::newRow("normal, inverse")
      << int(Function::Normal) << "InversCheckBox" << int(Mode::Inverse);
  QTest::newRow("normal, between")
      << int(Function::Normal) << "BetweenCheckBox" << int(Mode::Interval);
  QTest::newRow("t, no option") << int(Function::T) << "" << int(Mode::Forward);
}

// Away to another function and back, and in a new form on the same session.
void TFieldFormTest::functionKeepsTextsAndOptions() {
  QFETCH(int, function);
  QFETCH(QString, option);
  QFETCH(int, mode);
  window::TSession session;
  {
    window::TFieldForm form(session, Function::F);
    form.SetFunction(Function(function));
    if (!option.isEmpty()) form.findChild<QCheckBox*>(option)->setChecked(true);
    window_test::TypeInto(form.Edit(calculator::kEdit1), "3.25");
    form.SetFunction(Function::Binomial);
    QCOMPARE(form.Edit(calculator::kEdit1)->text().toStdString(),
             calculator::DefaultTexts(Function::Binomial)[calculator::kEdit1]);
    form.SetFunction(Function(function));
    QCOMPARE(form.Edit(calculator::kEdit1)->text(), QString("3.25"));
    QCOMPARE(int(form.CurrentMode()), mode);
  }
  window::TFieldForm again(session, Function(function));
  QCOMPARE(again.Edit(calculator::kEdit1)->text(), QString("3.25"));
  QCOMPARE(int(again.CurrentMode()), mode);
}

// Each invalid field is marked with its caption and rule; the first one's
// sentence is announced, the last one takes the focus; typing unmarks.
void TFieldFormTest::faultsMarkFields() {
  window::TSession session;
  window::TFieldForm form(session, Function::Normal);
  form.show();
  QVERIFY(QTest::qWaitForWindowActive(&form));
  QSignalSpy marks(&form, &window::TFieldForm::marksChanged);
  window_test::TypeInto(form.Edit(calculator::kEdit2), "-1");
  window_test::TypeInto(form.Edit(calculator::kEdit4), "x");
  const calculator::Result result =
      calculator::Compute(Function::Normal, form.Texts(), Mode::Forward);
  QCOMPARE(result.faults.size(), 2u);
  form.ShowFaults(result);
  const QString first = form.findChild<QLabel*>("Label_2")->text() + ": " +
                        QString::fromStdString(result.faults[0].Message());
  QCOMPARE(form.FirstMark(), first);
  QCOMPARE(marks.last()[0].toString(), first);
  QCOMPARE(form.Edit(calculator::kEdit2)->accessibleDescription(), first);
  QCOMPARE(QApplication::focusWidget(), form.Edit(calculator::kEdit4));
  QTest::keyClicks(form.Edit(calculator::kEdit2), "5");
  QVERIFY(form.FirstMark().startsWith(form.findChild<QLabel*>("Label_4")->text()));
  form.ClearMarks();
  QVERIFY(form.FirstMark().isEmpty());
  QCOMPARE(marks.last()[0].toString(), QString());
}

// Typing and the options are the user's edits; a change of function is not.
void TFieldFormTest::editedFollowsTheUser() {
  window::TSession session;
  window::TFieldForm form(session, Function::Normal);
  QSignalSpy edited(&form, &window::TFieldForm::edited);
  QSignalSpy compute(&form, &window::TFieldForm::computeRequested);
  form.SetFunction(Function::ChiSquare);
  form.SetFunction(Function::Normal);
  QCOMPARE(edited.size(), 0);
  QTest::keyClicks(form.Edit(calculator::kEdit1), "7");
  form.findChild<QCheckBox*>("SdCheckBox")->click();
  form.findChild<QCheckBox*>("InversCheckBox")->click();
  QCOMPARE(edited.size(), 3);
  QTest::keyClick(form.Edit(calculator::kEdit1), Qt::Key_Return);
  form.ComputeButton()->click();
  QCOMPARE(compute.size(), 2);
}

PROBEX_WINDOW_TEST_MAIN(TFieldFormTest)
#include "FieldFormTest.moc"
