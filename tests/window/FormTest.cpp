// The window's controls against the calculator model: arrangement, the
// inverse option, Compute, validation by marks and focus, the error box,
// keys, activation, layout and menus.
#include <QButtonGroup>
#include <QClipboard>
#include <QDialog>
#include <QDockWidget>
#include <QFontMetricsF>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <cmath>

#include "Distr/Errors.h"
#include "FormFixture.h"
#include "window/DetailsPane.h"
#include "window/PlotPane.h"
#include "window/TableWindow.h"

namespace {

const QString kNormalHeader = "Normal Distribution, mean=0.000000, variance=1.000000:";
const QString kNormalHalves = "   P(X<0.000000)=0.500000      P(X>0.000000)=0.500000";

// A receiver whose event handler raises the error it is given.
class TThrowingObject : public QObject {
 public:
  explicit TThrowingObject(std::function<void()> raise) : raise_(std::move(raise)) {}
  bool event(QEvent* event) override {
    if (event->type() == QEvent::User) raise_();
    return QObject::event(event);
  }

 private:
  std::function<void()> raise_;
};

QWidget* FocusWidget() {
  return QApplication::focusWidget();
}

}  // namespace

class TFormTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { SilencePlatformNoise(); }
  void fieldsAfterEachRadioButton_data();
  void fieldsAfterEachRadioButton();
  void functionKeepsItsFields();
  void arrowKeyChecksNextRadio();
  void inverseOption_data();
  void inverseOption();
  void inverseOptionAcrossFunctions();
  void computeAppendsTwoLines_data();
  void computeAppendsTwoLines();
  void invalidFieldTakesFocus_data();
  void invalidFieldTakesFocus();
  void runTimeErrorShowsBox();
  void errorFromEventHandler_data();
  void errorFromEventHandler();
  void keysActWhereTheFocusIs_data();
  void keysActWhereTheFocusIs();
  void longFieldTextIsKept();
  void resultSignal();
  void firstActivationEmptiesLog();
  void modalDialogIsNoActivation();
  void returnFromOtherWindowActivates();
  void returnFromOtherProgramIsNoActivation();
  void arrangement();
  void nothingClipped();
  void drawingsFollowPalette();
  void tabOrder();
  void smallestWindowFitsSmallScreens();
  void panesAndTableFollowTheWindow();
  void accessibility();
  void menuItems_data();
  void menuItems();
};

void TFormTest::fieldsAfterEachRadioButton_data() {
  QTest::addColumn<QString>("radio");
  // Caption and text of each pair; an empty caption: the pair is hidden.
  QTest::addColumn<QStringList>("captions");
  QTest::addColumn<QStringList>("texts");
  QTest::addColumn<bool>("inverseShown");
  QTest::newRow("Normal") << "NormalRadio" << QStringList{"Mean", "Variance", "", "x-value"}
                          << QStringList{"0", "1", "", "0"} << true;
  QTest::newRow("Chi Square") << "ChiSquareRadio"
                              << QStringList{"Degrees of freedom", "", "", "x-value"}
                              << QStringList{"1", "", "", "0"} << true;
  QTest::newRow("t") << "TRadio" << QStringList{"Degrees of freedom", "", "", "x-value"}
                     << QStringList{"1", "", "", "0"} << true;
  QTest::newRow("F") << "FRadio"
                     << QStringList{"(1) Degrees of freedom", "(2) Degrees of freedom", "",
                                    "x-value"}
                     << QStringList{"1", "1", "", "0"} << true;
  QTest::newRow("Binomial") << "BinomialRadio" << QStringList{"p", "n", "", "x-value"}
                            << QStringList{"0.5", "1", "", "0"} << true;
  QTest::newRow("Poisson") << "PoissonRadio" << QStringList{"lambda (Mean)", "", "", "x-value"}
                           << QStringList{"1", "", "", "0"} << true;
  QTest::newRow("Hypergeometric") << "HyperRadio"
                                  << QStringList{"Blue (B)", "Red (R)", "Sample (n)",
                                                 "Blue in sample (x)"}
                                  << QStringList{"1", "1", "1", "1"} << true;
  QTest::newRow("Factorial") << "FactorialRadio" << QStringList{"n", "", "", ""}
                             << QStringList{"1", "", "", ""} << false;
  QTest::newRow("Binomial coefficient")
      << "BinoCoefRadio" << QStringList{"n", "k", "", ""} << QStringList{"1", "1", "", ""} << false;
}

void TFormTest::fieldsAfterEachRadioButton() {
  QFETCH(QString, radio);
  QFETCH(QStringList, captions);
  QFETCH(QStringList, texts);
  QFETCH(bool, inverseShown);
  TFormFixture f;
  QVERIFY(f.active);
  // Start from Hypergeometric (all four fields shown), or from Normal for
  // Hypergeometric itself, and type over every field.
  f.Click(f.Radio(radio == "HyperRadio" ? "NormalRadio" : "HyperRadio"));
  for (int n = 1; n <= 4; ++n) f.Edit(n)->setText(QStringLiteral("typed %1").arg(n));
  QStringList before;
  for (int n = 1; n <= 4; ++n) before << f.Edit(n)->text();

  f.Click(f.Radio(radio.toLatin1()));
  QVERIFY(f.Radio(radio.toLatin1())->isChecked());
  for (int n = 1; n <= 4; ++n) {
    const bool shown = !captions[n - 1].isEmpty();
    QCOMPARE(f.Label(n)->isVisible(), shown);
    QCOMPARE(f.Edit(n)->isVisible(), shown);
    if (shown) {
      QCOMPARE(f.Label(n)->text(), captions[n - 1]);
      QCOMPARE(f.Edit(n)->text(), texts[n - 1]);
    } else {
      QCOMPARE(f.Edit(n)->text(), before[n - 1]);  // a hidden field keeps its text
    }
  }
  QCOMPARE(f.Invers()->isVisible(), inverseShown);
  if (inverseShown) QVERIFY(!f.Invers()->isChecked());
}

// Each function keeps its texts (and inverse option, below) while the user
// works with another.
void TFormTest::functionKeepsItsFields() {
  TFormFixture f;
  f.Type(1, "2.5");
  f.Type(2, "4");
  f.Click(f.Radio("NormalRadio"));  // already checked: no click handler runs
  f.Click(f.Radio("ChiSquareRadio"));
  QCOMPARE(f.Edit(1)->text(), QString("1"));
  f.Type(1, "7");
  f.Click(f.Radio("NormalRadio"));
  QCOMPARE(f.Edit(1)->text() + " " + f.Edit(2)->text(), QString("2.5 4"));
  f.Click(f.Radio("ChiSquareRadio"));
  QCOMPARE(f.Edit(1)->text(), QString("7"));
}

void TFormTest::arrowKeyChecksNextRadio() {
  TFormFixture f;
  f.Radio("NormalRadio")->setFocus();
  QTest::keyClick(f.Radio("NormalRadio"), Qt::Key_Down);
  QVERIFY(f.Radio("ChiSquareRadio")->isChecked());
  QCOMPARE(f.Label(1)->text(), QString("Degrees of freedom"));
  QVERIFY(!f.Edit(2)->isVisible());
}

void TFormTest::inverseOption_data() {
  QTest::addColumn<QString>("radio");
  QTest::addColumn<QString>("percentile");
  QTest::newRow("Normal") << "NormalRadio"
                          << "0.975";
  QTest::newRow("Chi Square") << "ChiSquareRadio"
                              << "0.95";
  QTest::newRow("t") << "TRadio"
                     << "0.975";
  QTest::newRow("F") << "FRadio"
                     << "0.95";
}

void TFormTest::inverseOption() {
  QFETCH(QString, radio);
  QFETCH(QString, percentile);
  TFormFixture f;
  if (radio != "NormalRadio") f.Click(f.Radio(radio.toLatin1()));
  f.Type(1, "10");
  f.Type(4, "3.5");
  f.Click(f.Invers());
  QVERIFY(f.Invers()->isChecked());
  QCOMPARE(f.Label(4)->text(), QString("Percentile"));
  QCOMPARE(f.Edit(4)->text(), percentile);
  QCOMPARE(f.Edit(1)->text(), QString("10"));  // typed parameters stay
  f.Click(f.Invers());
  QVERIFY(!f.Invers()->isChecked());
  QCOMPARE(f.Label(4)->text(), QString("x-value"));
  QCOMPARE(f.Edit(4)->text(), QString("0"));
  QCOMPARE(f.Edit(1)->text(), QString("10"));
}

void TFormTest::inverseOptionAcrossFunctions() {
  TFormFixture f;
  f.Click(f.Invers());
  f.Click(f.Radio("FRadio"));
  QVERIFY(f.Invers()->isVisible());
  QVERIFY(!f.Invers()->isChecked());
  QCOMPARE(f.Label(4)->text(), QString("x-value"));
  QCOMPARE(f.Edit(4)->text(), QString("0"));

  f.Click(f.Invers());
  f.Click(f.Radio("FactorialRadio"));
  QVERIFY(!f.Invers()->isVisible());
  QVERIFY(f.Invers()->isChecked());  // hidden, still checked
  f.Click(f.Radio("BinoCoefRadio"));
  f.Click(f.Radio("NormalRadio"));  // as it was left: inverse
  QVERIFY(f.Invers()->isVisible() && f.Invers()->isChecked());
  QCOMPARE(f.Label(4)->text() + " " + f.Edit(4)->text(), QString("Percentile 0.975"));
}

void TFormTest::computeAppendsTwoLines_data() {
  QTest::addColumn<QString>("radio");
  QTest::addColumn<bool>("inverse");
  QTest::addColumn<QStringList>("fields");  // Edit_1, Edit_4; empty: the default
  QTest::addColumn<QString>("how");         // "button", or the field Enter is pressed in
  QTest::addColumn<QStringList>("lines");
  QTest::newRow("Normal defaults, button") << "NormalRadio" << false << QStringList{"", ""}
                                           << "button" << QStringList{kNormalHeader, kNormalHalves};
  QTest::newRow("Normal defaults, Enter in Edit_1")
      << "NormalRadio" << false << QStringList{"", ""} << "1"
      << QStringList{kNormalHeader, kNormalHalves};
  QTest::newRow("Normal 1.959964, Enter in Edit_4")
      << "NormalRadio" << false << QStringList{"", "1.959964"} << "4"
      << QStringList{kNormalHeader, "   P(X<1.959964)=0.975000      P(X>1.959964)=0.025000"};
  QTest::newRow("Normal inverse 0.975")
      << "NormalRadio" << true << QStringList{"", ""} << "button"
      << QStringList{kNormalHeader, "   P(X<1.959964)=0.975000      P(X>-1.959964)=0.975000"};
  QTest::newRow("Chi Square 10 at 3.940299")
      << "ChiSquareRadio" << false << QStringList{"10", "3.940299"} << "button"
      << QStringList{"Chi Square Distribution, degrees of freedom=10:",
                     "   P(X<3.940299)=0.050000      P(X>3.940299)=0.950000"};
}

void TFormTest::computeAppendsTwoLines() {
  QFETCH(QString, radio);
  QFETCH(bool, inverse);
  QFETCH(QStringList, fields);
  QFETCH(QString, how);
  QFETCH(QStringList, lines);
  TFormFixture f;
  QVERIFY(f.form->LogLines().isEmpty());
  if (radio != "NormalRadio") f.Click(f.Radio(radio.toLatin1()));
  if (inverse) f.Click(f.Invers());
  if (!fields[0].isEmpty()) f.Type(1, fields[0]);
  if (!fields[1].isEmpty()) f.Type(4, fields[1]);
  if (how == "button")
    f.Click(f.Compute());
  else
    QTest::keyClick(f.Edit(how.toInt()), Qt::Key_Return);
  QCOMPARE(f.form->LogLines(), lines);
  QVERIFY(f.platform.errors.isEmpty());
  QCOMPARE(QGuiApplication::overrideCursor(), nullptr);

  // A second Compute appends after the first two lines.
  f.Click(f.Compute());
  QCOMPARE(f.form->LogLines(), lines + lines);
}

void TFormTest::invalidFieldTakesFocus_data() {
  QTest::addColumn<QString>("radio");
  QTest::addColumn<bool>("inverse");
  QTest::addColumn<QStringList>("texts");  // Edit_1 .. Edit_4; "-": leave the default
  QTest::addColumn<int>("focused");
  QTest::addColumn<QString>("marked");  // the numbers of the marked fields
  QTest::addColumn<QString>("status");
  const QString mean = "Mean: a number", x = "x-value: a number";
  const QString comma = x + " (use a decimal point)";
  const QString degrees = "Degrees of freedom: a number greater than 0 and at most 1073741823";
  QTest::newRow("mean not a number")
      << "NormalRadio" << false << QStringList{"abc", "-", "-", "-"} << 1 << "1" << mean;
  QTest::newRow("variance 0") << "NormalRadio" << false << QStringList{"-", "0", "-", "-"} << 2
                              << "2"
                              << "Variance: a number of at least 0.000001";
  QTest::newRow("x-value with a comma")
      << "NormalRadio" << false << QStringList{"-", "-", "-", "1,5"} << 4 << "4" << comma;
  QTest::newRow("two invalid: focus on the later, status on the first")
      << "NormalRadio" << false << QStringList{"x", "-", "-", "1,5"} << 4 << "14" << mean;
  QTest::newRow("mean and variance: the variance")
      << "NormalRadio" << false << QStringList{"", "-1", "-", "-"} << 2 << "12"
      << mean + " (the field is empty)";
  QTest::newRow("percentile 1") << "NormalRadio" << true << QStringList{"-", "-", "-", "1"} << 4
                                << "4"
                                << "Percentile: a probability from 0.000001 to 0.999999";
  QTest::newRow("degrees of freedom 0")
      << "ChiSquareRadio" << false << QStringList{"0", "-", "-", "-"} << 1 << "1" << degrees;
  QTest::newRow("degrees of freedom -2.5")
      << "ChiSquareRadio" << false << QStringList{"-2.5", "-", "-", "-"} << 1 << "1" << degrees;
  QTest::newRow("x-value with a decimal comma")
      << "ChiSquareRadio" << false << QStringList{"-", "-", "-", "1,5"} << 4 << "4" << comma;
  QTest::newRow("k > n") << "BinoCoefRadio" << false << QStringList{"3", "5", "-", "-"} << 1 << "1"
                         << "n: a whole number n with 0 <= k <= n";
}

// Every invalid field is marked (tinted, its rule as tool tip) until it is
// edited; the status bar names the first one's rule; the last keeps the focus.
void TFormTest::invalidFieldTakesFocus() {
  QFETCH(QString, radio);
  QFETCH(bool, inverse);
  QFETCH(QStringList, texts);
  QFETCH(int, focused);
  QFETCH(QString, marked);
  QFETCH(QString, status);
  TFormFixture f;
  f.Memo()->setPlainText("an earlier line");
  if (radio != "NormalRadio") f.Click(f.Radio(radio.toLatin1()));
  if (inverse) f.Click(f.Invers());
  const QColor base = f.Edit(3)->palette().color(QPalette::Base);
  for (int n = 1; n <= 4; ++n)
    if (texts[n - 1] != "-") f.Type(n, texts[n - 1]);
  f.Click(f.Compute());
  QCOMPARE(FocusWidget(), f.Edit(focused));
  QCOMPARE(f.Edit(focused)->selectedText(), f.Edit(focused)->text());
  QCOMPARE(f.form->LogLines(), QStringList{"an earlier line"});
  QVERIFY(f.platform.errors.isEmpty());
  for (int n = 1; n <= 4; ++n) {
    if (texts[n - 1] != "-") QCOMPARE(f.Edit(n)->text(), texts[n - 1]);  // kept as typed
    const bool isMarked = marked.contains(QString::number(n));
    QCOMPARE(f.Edit(n)->palette().color(QPalette::Base) != base, isMarked);
    QCOMPARE(f.Edit(n)->toolTip().isEmpty(), !isMarked);
  }
  QCOMPARE(f.form->statusBar()->currentMessage(), status);
  // Editing a field clears its mark; with none left the status bar clears.
  for (const QChar n : marked) QTest::keyClicks(f.Edit(n.digitValue()), "9");
  for (int n = 1; n <= 4; ++n) QCOMPARE(f.Edit(n)->palette().color(QPalette::Base), base);
  QCOMPARE(f.form->statusBar()->currentMessage(), QString());
}

void TFormTest::runTimeErrorShowsBox() {
  TFormFixture f;
  f.Click(f.Compute());
  const QStringList log = f.form->LogLines();
  QCOMPARE(log.size(), 2);
  f.Click(f.Radio("BinomialRadio"));
  f.Type(2, "1073741823");  // 2 (n + 1) leaves the 32-bit range
  f.Click(f.Compute());
  QCOMPARE(f.platform.errors.size(), 1);
  QCOMPARE(f.platform.errors[0].title, QString("Probex"));
  QCOMPARE(f.platform.errors[0].text, QString("Integer overflow.\nn: at most 1073741822."));
  QCOMPARE(f.form->LogLines(), log);
  QCOMPARE(f.Edit(2)->text(), QString("1073741823"));
  QCOMPARE(QGuiApplication::overrideCursor(), nullptr);

  // The program carries on: the same error by Enter, then a good Compute.
  QTest::keyClick(f.Edit(2), Qt::Key_Return);
  QCOMPARE(f.platform.errors.size(), 2);
  f.Type(2, "10");
  f.Click(f.Compute());
  QCOMPARE(f.form->LogLines().size(), 4);
  QCOMPARE(f.platform.errors.size(), 2);
}

void TFormTest::errorFromEventHandler_data() {
  QTest::addColumn<int>("kind");
  QTest::addColumn<QString>("text");
  QTest::newRow("floating-point division by zero") << 0 << "Floating point division by zero.";
  QTest::newRow("message ending in a full stop") << 1 << "Ends in a full stop.";
  QTest::newRow("empty message") << 2 << "";
  QTest::newRow("any std::exception") << 3 << "boom.";
}

void TFormTest::errorFromEventHandler() {
  QFETCH(int, kind);
  QFETCH(QString, text);
  TFormFixture f;
  TThrowingObject receiver([kind] {
    switch (kind) {
      case 0:
        throw Distr::EZeroDivide();
      case 1:
        throw Distr::ERunTimeError("Ends in a full stop.");
      case 2:
        throw Distr::ERunTimeError("");
      default:
        throw std::logic_error("boom");
    }
  });
  QGuiApplication::setOverrideCursor(Qt::WaitCursor);  // a busy pointer left behind
  QEvent event(QEvent::User);
  QVERIFY(QCoreApplication::sendEvent(&receiver, &event));
  QCOMPARE(f.platform.errors.size(), 1);
  QCOMPARE(f.platform.errors[0].title, QString("Probex"));
  QCOMPARE(f.platform.errors[0].text, text);
  QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
}

void TFormTest::keysActWhereTheFocusIs_data() {
  QTest::addColumn<QString>("focus");  // the control that has the focus
  QTest::addColumn<QKeySequence>("keys");
  QTest::addColumn<QString>("effect");
  const QKeySequence ctrlA(Qt::CTRL | Qt::Key_A), ctrlC(Qt::CTRL | Qt::Key_C);
  QTest::newRow("Ctrl+A in a field, then typing") << "Edit_1" << ctrlA << "field replaced";
  QTest::newRow("Ctrl+C on a field's selection") << "Edit_4" << ctrlC << "field copied";
  QTest::newRow("Ctrl+C in a field without selection") << "Edit_1!" << ctrlC << "log copied";
  QTest::newRow("Ctrl+X in a field") << "Edit_1" << QKeySequence(Qt::CTRL | Qt::Key_X) << "cut";
  QTest::newRow("Ctrl+V in a field") << "Edit_1" << QKeySequence(Qt::CTRL | Qt::Key_V) << "paste";
  QTest::newRow("Ctrl+Z in a field") << "Edit_1" << QKeySequence(Qt::CTRL | Qt::Key_Z) << "undo";
  QTest::newRow("Ctrl+C in the log") << "Memo" << ctrlC << "log copied";
  QTest::newRow("Ctrl+A in the log") << "Memo" << ctrlA << "log selected";
  QTest::newRow("Ctrl+Q in a field") << "Edit_4" << QKeySequence(Qt::CTRL | Qt::Key_Q) << "exit";
  QTest::newRow("F1 in a field") << "Edit_1" << QKeySequence(Qt::Key_F1) << "help";
  // After Delete All, Ctrl+Z brings the log back wherever the focus is.
  const QKeySequence ctrlZ(Qt::CTRL | Qt::Key_Z);
  QTest::newRow("Ctrl+Z in a field after Delete All") << "Edit_1!" << ctrlZ << "log restored";
  QTest::newRow("Ctrl+Z in the log after Delete All") << "Memo" << ctrlZ << "log restored";
  QTest::newRow("Ctrl+Z on a radio after Delete All") << "NormalRadio" << ctrlZ << "log restored";
  QTest::newRow("Ctrl+Z in the find field after Delete All")
      << "FunctionFind" << ctrlZ << "log restored";
  QTest::newRow("Ctrl+Z in the details after Delete All")
      << "DetailsText" << ctrlZ << "log restored";
  QTest::newRow("Ctrl+S in a field") << "Edit_1" << QKeySequence(Qt::CTRL | Qt::Key_S) << "save";
  QTest::newRow("Ctrl+P in the log") << "Memo" << QKeySequence(Qt::CTRL | Qt::Key_P) << "print";
  QTest::newRow("Return on Compute") << "ComputeBtn" << QKeySequence(Qt::Key_Return) << "computed";
  QTest::newRow("Enter on Compute") << "ComputeBtn" << QKeySequence(Qt::Key_Enter) << "computed";
}

// A field takes its editing keys; the window keeps Copy without a selection,
// Exit, Help, Save As and Print; the log's Copy and Select All are the menu's;
// Return presses a focused Compute.
void TFormTest::keysActWhereTheFocusIs() {
  QFETCH(QString, focus);
  QFETCH(QKeySequence, keys);
  QFETCH(QString, effect);
  TFormFixture f;
  f.Click(f.Compute());
  const QStringList log = f.form->LogLines();
  f.Type(1, "12345");
  f.Type(4, "12345");
  QApplication::clipboard()->setText("pasted");
  const bool select = !focus.endsWith('!');
  QWidget* control = f.form->findChild<QWidget*>(focus.remove('!'));
  auto* edit = qobject_cast<QLineEdit*>(control);
  control->setFocus();
  if (edit != nullptr && select) edit->setSelection(1, 2);
  if (effect == "log restored") {
    f.Item("Clear")->trigger();
    QVERIFY(f.form->LogLines().isEmpty());
    QCOMPARE(f.form->statusBar()->currentMessage(), QString("Log deleted \u2014 Ctrl+Z restores it"));
  }
  QTest::keySequence(control, keys);
  if (effect == "field replaced") {
    QTest::keyClicks(control, "2.5");
    QCOMPARE(edit->text(), QString("2.5"));
  } else if (effect == "field copied") {
    QCOMPARE(QApplication::clipboard()->text(), QString("23"));
  } else if (effect == "log copied") {
    QCOMPARE(f.platform.clipboard, QStringList{log.join('\n')});
  } else if (effect == "cut" || effect == "paste" || effect == "undo") {  // undo: the typing
    const QString expected = effect == "cut" ? "145" : effect == "paste" ? "1pasted45" : "0";
    QCOMPARE(edit->text(), expected);
  } else if (effect == "log selected") {
    QCOMPARE(f.Memo()->textCursor().selectedText(), log.join(QChar::ParagraphSeparator));
  } else if (effect == "exit") {
    QVERIFY(!f.form->isVisible());
  } else if (effect == "help") {
    QCOMPARE(f.form->functionHelp, 1);
  } else if (effect == "log restored") {
    QCOMPARE(f.form->LogLines(), log);
    if (edit != nullptr) QCOMPARE(edit->text(), QString(focus == "Edit_1" ? "12345" : ""));
  } else if (effect == "computed") {
    QCOMPARE(f.form->LogLines().mid(0, 2), log);
    QCOMPARE(f.form->LogLines().size(), 4);
    return;
  } else {
    QCOMPARE(int(f.platform.saveInitialNames.size()) + f.platform.printDialogs, 1);
    QCOMPARE(f.platform.unexpected,
             QStringList{effect == "save" ? "GetSaveFileName" : "PrintDialog"});
  }
  if (effect != "log copied") QVERIFY(f.platform.clipboard.isEmpty());
  if (effect != "help") QCOMPARE(f.form->functionHelp, 0);
  QCOMPARE(f.form->helpTopics, 0);
  QCOMPARE(f.form->LogLines(), log);
}

// A pasted text of any length is kept whole and computed as it is.
// A number beyond the range is refused with the field named.
void TFormTest::longFieldTextIsKept() {
  TFormFixture f;
  for (const QString& text : {QString(39999, '0') + "1", "1" + QString(39999, '0')}) {
    QApplication::clipboard()->setText(text);
    f.Edit(1)->setFocus();
    f.Edit(1)->selectAll();
    QTest::keySequence(f.Edit(1), QKeySequence::Paste);
    QCOMPARE(f.Edit(1)->text(), text);
    f.Click(f.Compute());
  }
  QCOMPARE(f.form->LogLines().value(0),
           QString("Normal Distribution, mean=1.000000, variance=1.000000:"));
  QCOMPARE(f.platform.errors.value(0).text,
           "Floating point overflow.\nMean: at most 1e2400 in magnitude.");
}

// Every Compute is announced with its result, and the input can be read back.
void TFormTest::resultSignal() {
  TFormFixture f;
  QList<calculator::Result> results;
  QObject::connect(f.form.get(), &window::TDistributionForm::resultComputed, f.form.get(),
                   [&results](const calculator::Result& result) { results << result; });
  f.Click(f.Radio("BinomialRadio"));
  for (const char* n : {"10", "0", "1073741823"}) {
    f.Type(2, n);
    f.Click(f.Compute());
  }
  QCOMPARE(f.form->SelectedFunction(), calculator::Function::Binomial);
  QCOMPARE(f.form->CurrentFieldTexts()[1] + " " + f.form->CurrentFieldTexts()[3],
           "1073741823 0");
  QCOMPARE(results.size(), 3);
  QCOMPARE(QString::fromStdString(results[0].lines[0]), f.form->LogLines().value(0));
  QCOMPARE(results[1].outcome, calculator::Outcome::Invalid);
  QCOMPARE(results[2].message, std::string("Integer overflow"));
}

void TFormTest::firstActivationEmptiesLog() {
  TFormFixture f([](TTestForm& form) {
    form.findChild<QPlainTextEdit*>("Memo")->setPlainText("designed placeholder");
    form.setWindowTitle("something else");
  });
  QVERIFY(f.active);
  QVERIFY(f.form->LogLines().isEmpty());
  QCOMPARE(f.form->windowTitle(), QString("Probex"));
  QCOMPARE(f.form->findChild<QFrame*>("Bevel")->height(), 2);
  QCOMPARE(f.form->helpSetups, 1);
  QCOMPARE(f.form->versionChecks, 1);
  QCOMPARE(f.Edit(1)->text(), QString("0"));  // arranged for Normal
  QCOMPARE(f.Label(4)->text(), QString("x-value"));
}

// A modal dialog takes the activation from the window and gives it back on
// closing; that is no activation of the program's focused window.  (A dialog
// with the window as parent shares its activation in Qt's styles: the
// window is not even deactivated.  This one has no parent.)
void TFormTest::modalDialogIsNoActivation() {
  TFormFixture f;
  f.Click(f.Compute());
  f.Type(1, "5");
  QDialog dialog;
  dialog.setWindowModality(Qt::ApplicationModal);
  dialog.show();
  dialog.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&dialog));
  QVERIFY(!f.form->isActiveWindow());
  dialog.close();
  f.form->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(f.form.get()));
  QCOMPARE(f.Edit(1)->text(), QString("5"));
  QCOMPARE(f.form->versionChecks, 1);
  QCOMPARE(f.form->LogLines().size(), 2);
}

void TFormTest::returnFromOtherWindowActivates() {
  TFormFixture f;
  f.Click(f.Compute());
  f.Click(f.Invers());
  f.Type(1, "5");
  f.form->setWindowTitle("a notice");
  QWidget other;  // a window of the program that is not modal, as the about box
  other.show();
  other.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&other));
  f.form->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(f.form.get()));
  QCOMPARE(f.form->versionChecks, 2);
  QCOMPARE(f.form->helpSetups, 2);
  QCOMPARE(f.form->windowTitle(), QString("Probex"));
  QCOMPARE(f.Edit(1)->text(), QString("5"));  // the fields keep what was typed
  QVERIFY(f.Invers()->isChecked());
  QCOMPARE(f.form->LogLines().size(), 2);  // only the first activation sets the log
}

void TFormTest::returnFromOtherProgramIsNoActivation() {
  TFormFixture f;
  f.Type(1, "5");
  // What the platform does when the focus goes to another program and back.
  QT_WARNING_PUSH
  QT_WARNING_DISABLE_DEPRECATED
  QApplication::setActiveWindow(nullptr);
  QVERIFY(!f.form->isActiveWindow());
  QApplication::setActiveWindow(f.form.get());
  QT_WARNING_POP
  QVERIFY(f.form->isActiveWindow());
  QCOMPARE(f.form->versionChecks, 1);
  QCOMPARE(f.Edit(1)->text(), QString("5"));
}

// The controls in their arrangement: the radio buttons one below the other
// in their panel (those scrolled into view), Compute beside it above two
// columns of labelled fields, each field indented under its label, the
// bound B level with Edit_2 and the question options with Edit_3, and the
// log below all of them, filling the rest of the window.
void TFormTest::arrangement() {
  TFormFixture f;
  f.Click(f.Radio("HyperRadio"));  // all four fields shown
  const auto at = [&f](QWidget* w) {
    return QRect(w->mapTo(f.form->centralWidget(), QPoint()), w->size());
  };
  const QRect panel = at(f.form->findChild<QWidget*>("Panel1"));
  const QRect compute = at(f.Compute());
  QCOMPARE(compute.top(), panel.top());
  QVERIFY(panel.right() < compute.left());
  int previous = panel.top();
  for (QAbstractButton* radio : f.Radio("NormalRadio")->group()->buttons()) {
    if (radio->visibleRegion() != QRegion(radio->rect())) continue;  // scrolled out of view
    QVERIFY(panel.contains(at(radio)));
    QVERIFY2(at(radio).top() > previous, qPrintable(radio->objectName()));
    previous = at(radio).bottom();
  }
  for (int n = 1; n <= 4; ++n) {
    QVERIFY(at(f.Label(n)).bottom() < at(f.Edit(n)).top());
    QCOMPARE(at(f.Edit(n)).left(), at(f.Label(n)).left() + 16);
  }
  QVERIFY(compute.bottom() < at(f.Label(1)).top());
  QCOMPARE(at(f.Label(4)).top(), at(f.Label(1)).top());
  QVERIFY(at(f.Edit(1)).right() < at(f.Label(4)).left());
  QVERIFY(at(f.Edit(1)).bottom() < at(f.Label(2)).top());
  QVERIFY(at(f.Edit(2)).bottom() < at(f.Label(3)).top());
  const QRect inverse = at(f.Invers());
  QCOMPARE(inverse.left(), at(f.Edit(4)).left());
  QVERIFY(inverse.center().y() >= at(f.Edit(3)).top() &&
          inverse.center().y() <= at(f.Edit(3)).bottom());
  QCOMPARE(at(f.form->findChild<QWidget*>("Label_5")).top(), at(f.Label(2)).top());
  const QRect memo = at(f.Memo());
  const QRect client = f.form->centralWidget()->rect();
  QVERIFY(memo.top() > std::max(panel.bottom(), at(f.Edit(3)).bottom()));
  QCOMPARE(memo.left(), 8);
  QCOMPARE(memo.right(), client.right());
  QCOMPARE(memo.bottom(), client.bottom());
  // The log's columns align: narrow, wide and digit glyphs advance alike.
  // (QFontInfo::fixedPitch() answers false for some fixed-pitch faces,
  // Noto Sans Mono among them.)
  const QFontMetricsF log(f.Memo()->font());
  for (const QChar glyph : QStringLiteral("iW.- "))
    QCOMPARE(log.horizontalAdvance(glyph), log.horizontalAdvance(QLatin1Char('0')));
}

// At the window's smallest every control shows whole, in any arrangement;
// a smaller size is refused.  Extra room goes to the log.
void TFormTest::nothingClipped() {
  TFormFixture f;
  f.form->resize(480, 320);
  QTRY_COMPARE(f.form->size(), f.form->minimumSize());
  QVERIFY(f.form->width() >= 480 && f.form->height() >= 320);
  const QRect client = f.form->centralWidget()->rect();
  for (const char* radio : {"HyperRadio", "FRadio", "PoissonRadio", "NormalRadio"}) {
    f.Click(f.Radio(radio));
    for (QWidget* control : f.form->centralWidget()->findChildren<QWidget*>()) {
      const bool named = control->parentWidget() == f.form->centralWidget() ||
                         control->parentWidget() == f.form->findChild<QWidget*>("FieldForm") ||
                         qobject_cast<QRadioButton*>(control) != nullptr;
      if (!control->isVisible() || !named || control->visibleRegion().isEmpty()) continue;
      const QRect place(control->mapTo(f.form->centralWidget(), QPoint()), control->size());
      const QString name = control->objectName() + " with " + radio;
      QVERIFY2(client.contains(place), qPrintable(name));
      QVERIFY2(control->width() >= control->minimumSizeHint().width(), qPrintable(name));
      QVERIFY2(control->height() >= control->minimumSizeHint().height(), qPrintable(name));
      if (qobject_cast<QLabel*>(control) || qobject_cast<QAbstractButton*>(control))
        QVERIFY2(control->size().expandedTo(control->sizeHint()) == control->size(),
                 qPrintable(name));
    }
  }
  QVERIFY(f.Memo()->height() >= 5 * f.Memo()->fontMetrics().lineSpacing());
  // Extra room goes to the log (the width shared with the panes beside it);
  // the controls keep their places and sizes.
  const QRect memo = f.Memo()->geometry(), edit = f.Edit(1)->geometry();
  const QSize smallest = f.form->size();
  f.form->resize(smallest + QSize(400, 360));
  QTRY_COMPARE(f.form->size(), smallest + QSize(400, 360));
  QCOMPARE(f.Memo()->geometry().topLeft(), memo.topLeft());
  QCOMPARE(f.Memo()->height(), memo.height() + 360);
  QVERIFY(f.Memo()->width() > memo.width());
  QCOMPARE(f.Edit(1)->geometry().topLeft(), edit.topLeft());
}

// The Compute picture and the marks of invalid fields are drawn in the
// palette's colours: on a dark palette the curve is light, the mark dark red.
void TFormTest::drawingsFollowPalette() {
  TFormFixture f;
  QPalette dark;
  for (const auto role : {QPalette::Button, QPalette::Base, QPalette::Window})
    dark.setColor(role, QColor(0x30, 0x30, 0x30));
  dark.setColor(QPalette::ButtonText, QColor(0xf0, 0xf0, 0xf0));
  f.form->setPalette(dark);
  const QImage glyph = f.Compute()->icon().pixmap(QSize(16, 16), 1.0).toImage();
  int lightest = 0;
  for (int y = 0; y < glyph.height(); ++y)
    for (int x = 0; x < glyph.width(); ++x)
      if (qAlpha(glyph.pixel(x, y)) > 128) lightest = std::max(lightest, qGray(glyph.pixel(x, y)));
  QVERIFY2(lightest > 0x30 + 100, qPrintable(QString::number(lightest)));
  f.Type(1, "x");
  f.Click(f.Compute());
  const QColor mark = f.Edit(1)->palette().color(QPalette::Base);
  QVERIFY(mark.red() > mark.green() && qGray(mark.rgb()) < 128);
}

// A 1600x1000 screen at a scale of 2 holds the window at its smallest (the
// tests run at scales 1 and 2): the panes share one place as tabs then, and
// stand one above the other on a wide window.
void TFormTest::smallestWindowFitsSmallScreens() {
  TFormFixture f;
  f.form->resize(1, 1);
  QTRY_COMPARE(f.form->size(), f.form->minimumSize());
  const QSize largest = TTestForm::kSmallestWindow;
  QVERIFY2(f.form->width() <= largest.width() && f.form->height() <= largest.height(),
           qPrintable(QStringLiteral("%1x%2").arg(f.form->width()).arg(f.form->height())));
  auto* details = f.form->findChild<QDockWidget*>("DetailsDock");
  auto* plot = f.form->findChild<QDockWidget*>("PlotDock");
  QCOMPARE(f.form->tabifiedDockWidgets(details), QList<QDockWidget*>{plot});
  f.form->resize(1200, 700);
  QTRY_COMPARE(f.form->size(), QSize(1200, 700));
  QVERIFY(f.form->tabifiedDockWidgets(details).isEmpty());
  QVERIFY(plot->geometry().top() > details->geometry().bottom());
}

void TFormTest::tabOrder() {
  TFormFixture f;
  f.form->resize(1200, 700);  // the panes one above the other
  f.Radio("NormalRadio")->setFocus();
  QWidget* sd = f.form->findChild<QWidget*>("SdCheckBox");
  QWidget* between = f.form->findChild<QWidget*>("BetweenCheckBox");
  QWidget* details = f.form->findChild<QWidget*>("DetailsText");
  QWidget* plot = f.form->findChild<QWidget*>("PlotPane");
  // The plot's option shows for an inverse result only.
  const QList<QWidget*> chain{f.Compute(), f.Edit(1), f.Edit(2), sd,   f.Edit(4), f.Invers(),
                              between,     f.Memo(),  details,   plot, f.Radio("NormalRadio")};
  for (QWidget* next : chain) {
    QTest::keyClick(FocusWidget(), Qt::Key_Tab);
    QCOMPARE(FocusWidget(), next);
  }
  // With Chi Square checked, Tab enters the panel at that button.
  f.Click(f.Radio("ChiSquareRadio"));
  plot->setFocus();
  QTest::keyClick(FocusWidget(), Qt::Key_Tab);
  QCOMPARE(FocusWidget(), static_cast<QWidget*>(f.Radio("ChiSquareRadio")));
}

void TFormTest::accessibility() {
  TFormFixture f;
  for (int n = 1; n <= 4; ++n) QCOMPARE(f.Label(n)->buddy(), static_cast<QWidget*>(f.Edit(n)));
  QVERIFY(f.Memo()->focusPolicy() & Qt::TabFocus);
  QVERIFY(f.Memo()->tabChangesFocus());
  for (const char* name : {"Memo", "DetailsPane", "PlotPane"}) {
    const QWidget* pane = f.form->findChild<QWidget*>(name);
    QVERIFY2(!pane->accessibleName().isEmpty() && !pane->accessibleDescription().isEmpty(), name);
  }
  QVERIFY(!f.Memo()->isReadOnly());
  QCOMPARE(f.Memo()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  QCOMPARE(f.Memo()->lineWrapMode(), QPlainTextEdit::WidgetWidth);
  QCOMPARE(f.Invers()->text(), QString("In&verse Distribution"));
  // Each access key reaches one control (the menus have letters of their own).
  QTest::keyClick(f.form.get(), Qt::Key_V, Qt::AltModifier);
  QTest::keyClick(f.form.get(), Qt::Key_O, Qt::AltModifier);
  QTRY_VERIFY(f.Invers()->isChecked());  // an access key clicks after a moment
  QTRY_COMPARE(f.form->LogLines().size(), 2);
}

void TFormTest::menuItems_data() {
  QTest::addColumn<QString>("menu");
  QTest::addColumn<QString>("menuCaption");
  QTest::addColumn<QString>("item");
  QTest::addColumn<QString>("caption");  // empty: a separator
  QTest::addColumn<QKeySequence>("shortcut");
  const QKeySequence none;
  QTest::newRow("Save As") << "FileMenu"
                           << "F&ile"
                           << "SaveAsItem"
                           << "&Save As..." << QKeySequence(Qt::CTRL | Qt::Key_S);
  QTest::newRow("Print Setup") << "FileMenu"
                               << "F&ile"
                               << "PrintSetupItem"
                               << "P&rint Setup..." << none;
  QTest::newRow("Print") << "FileMenu"
                         << "F&ile"
                         << "PrintItem"
                         << "&Print..." << QKeySequence(Qt::CTRL | Qt::Key_P);
  QTest::newRow("N1") << "FileMenu"
                      << "F&ile"
                      << "N1"
                      << "" << none;
  QTest::newRow("Exit") << "FileMenu"
                        << "F&ile"
                        << "ExitItem"
                        << "E&xit" << QKeySequence(Qt::CTRL | Qt::Key_Q);
  const QKeySequence ctrlZ(Qt::CTRL | Qt::Key_Z);
  QTest::newRow("Undo") << "EditMenu"
                        << "&Edit"
                        << "UndoItem"
                        << "&Undo" << ctrlZ;
  QTest::newRow("N3") << "EditMenu"
                      << "&Edit"
                      << "N3"
                      << "" << none;
  QTest::newRow("Copy") << "EditMenu"
                        << "&Edit"
                        << "CopyItem"
                        << "&Copy" << QKeySequence(Qt::CTRL | Qt::Key_C);
  QTest::newRow("Select All") << "EditMenu"
                              << "&Edit"
                              << "SelectAllItem"
                              << "&Select All" << QKeySequence(Qt::CTRL | Qt::Key_A);
  QTest::newRow("Delete All") << "EditMenu"
                              << "&Edit"
                              << "Clear"
                              << "&Delete All" << none;
  QTest::newRow("N2") << "EditMenu"
                      << "&Edit"
                      << "N2"
                      << "" << none;
  QTest::newRow("Font") << "EditMenu"
                        << "&Edit"
                        << "FontItem"
                        << "&Font..." << none;
  QTest::newRow("Status Bar") << "ViewMenu"
                              << "Vie&w"
                              << "StatusBarItem"
                              << "&Status Bar" << none;
  QTest::newRow("Settings") << "ToolsMenu"
                            << "Too&ls"
                            << "SettingsItem"
                            << "&Settings..." << none;
  QTest::newRow("Help Topics") << "HelpMenu"
                               << "&Help"
                               << "HelpTopicsItem"
                               << "&Help Topics" << none;
  QTest::newRow("Help on This Function") << "HelpMenu"
                                         << "&Help"
                                         << "FunctionHelpItem"
                                         << "Help on This &Function" << QKeySequence(Qt::Key_F1);
  QTest::newRow("Home Page") << "HelpMenu"
                             << "&Help"
                             << "HomePage1"
                             << "Home &Page" << none;
  QTest::newRow("About") << "HelpMenu"
                         << "&Help"
                         << "AboutItem"
                         << "&About Probex" << none;
}

void TFormTest::menuItems() {
  QFETCH(QString, menu);
  QFETCH(QString, menuCaption);
  QFETCH(QString, item);
  QFETCH(QString, caption);
  QFETCH(QKeySequence, shortcut);
  TFormFixture f;
  QCOMPARE(f.form->menuBar()->objectName(), QString("MainMenu1"));
  const QMenu* owner = f.form->findChild<QMenu*>(menu);
  QVERIFY(owner);
  QCOMPARE(owner->title(), menuCaption);
  QVERIFY(f.form->menuBar()->actions().contains(owner->menuAction()));
  QAction* action = f.Item(item.toLatin1());
  QVERIFY(action);
  QVERIFY(owner->actions().contains(action));
  QCOMPARE(action->isSeparator(), caption.isEmpty());
  if (!caption.isEmpty()) QCOMPARE(action->text(), caption);
  QCOMPARE(action->shortcut(), shortcut);
}

// Compute feeds both panes; View toggles them; Ctrl+T opens the Table of
// Values for the selected function.
void TFormTest::panesAndTableFollowTheWindow() {
  TFormFixture f;
  f.Click(f.Radio("ChiSquareRadio"));
  f.Type(4, "40");
  f.Click(f.Compute());
  const auto* details = f.form->findChild<window::TDetailsPane*>();
  const auto* plot = f.form->findChild<window::TPlotPane*>();
  QVERIFY(details && plot);
  QVERIFY2(details->PlainText().contains("2.539628589e-10"), qPrintable(details->PlainText()));
  QVERIFY(plot->HasPlot());
  QAction* item = f.Item("PlotPaneItem");
  QVERIFY(item && item->isChecked());
  item->trigger();
  QVERIFY(!plot->isVisibleTo(f.form.get()));
  f.Item("TableItem")->trigger();
  const auto* table = f.form->findChild<window::TTableWindow*>();
  QVERIFY(table && table->isVisible());
  QCOMPARE(table->Function(), calculator::Function::ChiSquare);
}

PROBEX_WINDOW_TEST_MAIN(TFormTest)
#include "FormTest.moc"
