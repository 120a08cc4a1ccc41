// The window's controls against the calculator model: arrangement, the
// inverse option, Compute, validation by focus, the error box, shortcuts,
// activation, layout and menus.
#include <QDialog>
#include <QFrame>
#include <QMenu>
#include <QMenuBar>
#include <cmath>

#include "FormFixture.h"
#include "Distr/Errors.h"

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
  void sameRadioAgainKeepsTypedTexts();
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
  void shortcutsFromInsideFields_data();
  void shortcutsFromInsideFields();
  void firstActivationEmptiesLog();
  void modalDialogIsNoActivation();
  void returnFromOtherWindowActivates();
  void returnFromOtherProgramIsNoActivation();
  void controlsAtDesignedPlaces_data();
  void controlsAtDesignedPlaces();
  void nothingClipped();
  void memoFillsClientArea();
  void tabOrder();
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
                            << QStringList{"0.5", "1", "", "0"} << false;
  QTest::newRow("Poisson") << "PoissonRadio" << QStringList{"lambda (Mean)", "", "", "x-value"}
                           << QStringList{"1", "", "", "0"} << false;
  QTest::newRow("Hypergeometric") << "HyperRadio"
                                  << QStringList{"Blue (B)", "Red (R)", "Sample (n)",
                                                 "Blue in sample (x)"}
                                  << QStringList{"1", "1", "1", "1"} << false;
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

void TFormTest::sameRadioAgainKeepsTypedTexts() {
  TFormFixture f;
  f.Type(1, "2.5");
  f.Type(2, "4");
  f.Click(f.Radio("NormalRadio"));  // already checked: no click handler runs
  QCOMPARE(f.Edit(1)->text(), QString("2.5"));
  QCOMPARE(f.Edit(2)->text(), QString("4"));
  f.Click(f.Radio("ChiSquareRadio"));
  f.Click(f.Radio("NormalRadio"));
  QCOMPARE(f.Edit(1)->text(), QString("0"));
  QCOMPARE(f.Edit(2)->text(), QString("1"));
  QCOMPARE(f.Edit(4)->text(), QString("0"));
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
  f.Click(f.Radio("BinomialRadio"));
  QVERIFY(!f.Invers()->isVisible());
  QVERIFY(f.Invers()->isChecked());  // hidden, still checked
  f.Click(f.Radio("PoissonRadio"));
  f.Click(f.Radio("NormalRadio"));
  QVERIFY(f.Invers()->isVisible());
  QVERIFY(!f.Invers()->isChecked());
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
  QTest::newRow("mean not a number")
      << "NormalRadio" << false << QStringList{"abc", "-", "-", "-"} << 1;
  QTest::newRow("variance 0") << "NormalRadio" << false << QStringList{"-", "0", "-", "-"} << 2;
  QTest::newRow("x-value with a comma")
      << "NormalRadio" << false << QStringList{"-", "-", "-", "1,5"} << 4;
  QTest::newRow("two invalid: the later one")
      << "NormalRadio" << false << QStringList{"x", "-", "-", "1,5"} << 4;
  QTest::newRow("mean and variance: the variance")
      << "NormalRadio" << false << QStringList{"", "-1", "-", "-"} << 2;
  QTest::newRow("percentile 1") << "NormalRadio" << true << QStringList{"-", "-", "-", "1"} << 4;
  QTest::newRow("degrees of freedom 0")
      << "ChiSquareRadio" << false << QStringList{"0", "-", "-", "-"} << 1;
  QTest::newRow("degrees of freedom 1.0")
      << "ChiSquareRadio" << false << QStringList{"1.0", "-", "-", "-"} << 1;
  QTest::newRow("x-value with a trailing space")
      << "ChiSquareRadio" << false << QStringList{"-", "-", "-", "1 "} << 4;
}

void TFormTest::invalidFieldTakesFocus() {
  QFETCH(QString, radio);
  QFETCH(bool, inverse);
  QFETCH(QStringList, texts);
  QFETCH(int, focused);
  TFormFixture f;
  f.Memo()->setPlainText("an earlier line");
  if (radio != "NormalRadio") f.Click(f.Radio(radio.toLatin1()));
  if (inverse) f.Click(f.Invers());
  for (int n = 1; n <= 4; ++n)
    if (texts[n - 1] != "-") f.Type(n, texts[n - 1]);
  f.Click(f.Compute());
  QCOMPARE(FocusWidget(), f.Edit(focused));
  QCOMPARE(f.Edit(focused)->selectedText(), f.Edit(focused)->text());
  QCOMPARE(f.form->LogLines(), QStringList{"an earlier line"});
  QVERIFY(f.platform.errors.isEmpty());
  for (int n = 1; n <= 4; ++n)  // the fields keep what was typed
    if (texts[n - 1] != "-") QCOMPARE(f.Edit(n)->text(), texts[n - 1]);
}

void TFormTest::runTimeErrorShowsBox() {
  TFormFixture f;
  f.Click(f.Compute());
  const QStringList log = f.form->LogLines();
  QCOMPARE(log.size(), 2);
  f.Click(f.Radio("ChiSquareRadio"));
  f.Click(f.Invers());
  f.Type(1, "1073741824");  // 2 x degrees of freedom leaves the 32-bit range
  f.Click(f.Compute());
  QCOMPARE(f.platform.errors.size(), 1);
  QCOMPARE(f.platform.errors[0].title, QString("Probex"));
  QCOMPARE(f.platform.errors[0].text, QString("Integer overflow."));
  QCOMPARE(f.form->LogLines(), log);
  QCOMPARE(f.Edit(1)->text(), QString("1073741824"));
  QCOMPARE(f.Edit(4)->text(), QString("0.95"));
  QCOMPARE(QGuiApplication::overrideCursor(), nullptr);

  // The program carries on: the same error by Enter, then a good Compute.
  QTest::keyClick(f.Edit(1), Qt::Key_Return);
  QCOMPARE(f.platform.errors.size(), 2);
  f.Type(1, "10");
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

void TFormTest::shortcutsFromInsideFields_data() {
  QTest::addColumn<QString>("focus");  // the control that has the focus
  QTest::addColumn<int>("key");
  QTest::addColumn<QString>("effect");
  for (const char* focus : {"Edit_1", "Edit_4", "Memo"}) {
    QTest::addRow("Ctrl+C in %s", focus) << focus << int(Qt::Key_C) << "copy";
    QTest::addRow("Ctrl+A in %s", focus) << focus << int(Qt::Key_A) << "select all";
    QTest::addRow("Ctrl+Q in %s", focus) << focus << int(Qt::Key_Q) << "exit";
    QTest::addRow("F1 in %s", focus) << focus << int(Qt::Key_F1) << "help";
  }
}

void TFormTest::shortcutsFromInsideFields() {
  QFETCH(QString, focus);
  QFETCH(int, key);
  QFETCH(QString, effect);
  TFormFixture f;
  f.Click(f.Compute());
  f.Type(1, "12345");
  QWidget* control = f.form->findChild<QWidget*>(focus);
  control->setFocus();
  if (auto* edit = qobject_cast<QLineEdit*>(control)) edit->setSelection(1, 2);
  QCOMPARE(FocusWidget(), control);

  const auto modifiers = key == Qt::Key_F1 ? Qt::NoModifier : Qt::ControlModifier;
  QTest::keyClick(control, Qt::Key(key), modifiers);
  if (effect == "copy") {
    // The log, not the field's text.
    QCOMPARE(f.platform.clipboard, QStringList{kNormalHeader + "\n" + kNormalHalves});
  } else if (effect == "select all") {
    QCOMPARE(FocusWidget(), static_cast<QWidget*>(f.Memo()));
    QCOMPARE(f.Memo()->textCursor().selectedText(),
             kNormalHeader + QChar::ParagraphSeparator + kNormalHalves);
  } else if (effect == "exit") {
    QVERIFY(!f.form->isVisible());
  } else {
    QCOMPARE(f.form->helpTopics, 1);
  }
  if (effect != "copy") QVERIFY(f.platform.clipboard.isEmpty());
  if (effect != "help") QCOMPARE(f.form->helpTopics, 0);
  QCOMPARE(f.Edit(1)->text(), QString("12345"));
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
  QCOMPARE(f.Edit(1)->text(), QString("0"));
  QVERIFY(!f.Invers()->isChecked());
  QCOMPARE(f.form->LogLines().size(), 2);  // only the first activation empties the log
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

void TFormTest::controlsAtDesignedPlaces_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<QRect>("designed");  // inside the client area, or the panel for radios
  QTest::newRow("Panel1") << "Panel1" << QRect(8, 16, 225, 225);
  QTest::newRow("ComputeBtn") << "ComputeBtn" << QRect(240, 16, 89, 33);
  QTest::newRow("Edit_1") << "Edit_1" << QRect(256, 88, 153, 24);
  QTest::newRow("Edit_2") << "Edit_2" << QRect(256, 152, 153, 24);
  QTest::newRow("Edit_3") << "Edit_3" << QRect(256, 216, 153, 24);
  QTest::newRow("Edit_4") << "Edit_4" << QRect(440, 88, 153, 24);
  QTest::newRow("InversCheckBox") << "InversCheckBox" << QRect(440, 152, 145, 17);
  QTest::newRow("Label_1") << "Label_1" << QRect(240, 64, 0, 0);
  QTest::newRow("Label_2") << "Label_2" << QRect(240, 128, 0, 0);
  QTest::newRow("Label_3") << "Label_3" << QRect(240, 192, 0, 0);
  QTest::newRow("Label_4") << "Label_4" << QRect(424, 64, 0, 0);
  QTest::newRow("NormalRadio") << "NormalRadio" << QRect(16, 8, 161, 17);
  QTest::newRow("ChiSquareRadio") << "ChiSquareRadio" << QRect(16, 32, 169, 17);
  QTest::newRow("TRadio") << "TRadio" << QRect(16, 56, 113, 17);
  QTest::newRow("FRadio") << "FRadio" << QRect(16, 80, 113, 17);
  QTest::newRow("BinomialRadio") << "BinomialRadio" << QRect(16, 104, 161, 17);
  QTest::newRow("PoissonRadio") << "PoissonRadio" << QRect(16, 128, 169, 17);
  QTest::newRow("HyperRadio") << "HyperRadio" << QRect(16, 152, 201, 17);
  QTest::newRow("FactorialRadio") << "FactorialRadio" << QRect(16, 176, 193, 17);
  QTest::newRow("BinoCoefRadio") << "BinoCoefRadio" << QRect(16, 200, 177, 17);
}

void TFormTest::controlsAtDesignedPlaces() {
  QFETCH(QString, name);
  QFETCH(QRect, designed);
  TFormFixture f;
  const QWidget* control = f.form->findChild<QWidget*>(name);
  QVERIFY(control);
  const QRect place = control->geometry();
  QCOMPARE(place.left(), designed.left());
  if (name == "Panel1") {  // may be wider for a wide font: nothingClipped
    QCOMPARE(place.top(), designed.top());
    QCOMPARE(place.height(), designed.height());
    return;
  }
  if (designed.isEmpty()) {  // labels size themselves
    QCOMPARE(place.top(), designed.top());
    return;
  }
  // At least the designed size; more only where the platform's font and
  // style need it, then grown about the designed middle line.
  const QSize needed = designed.size().expandedTo(control->sizeHint());
  QVERIFY2(place.width() == designed.width() || place.width() == needed.width(),
           qPrintable(QString::number(place.width())));
  QCOMPARE(place.height(), needed.height());
  QVERIFY2(std::abs(2 * place.top() + place.height() - 2 * designed.top() - designed.height()) <= 1,
           qPrintable(QString::number(place.top())));
}

void TFormTest::nothingClipped() {
  TFormFixture f;
  const QFrame* panel = f.form->findChild<QFrame*>("Panel1");
  for (const char* name : {"NormalRadio", "ChiSquareRadio", "TRadio", "FRadio", "BinomialRadio",
                           "PoissonRadio", "HyperRadio", "FactorialRadio", "BinoCoefRadio"}) {
    const QWidget* radio = f.Radio(name);
    QVERIFY2(radio->sizeHint().width() <= radio->width(), name);
    QVERIFY2(radio->sizeHint().height() <= radio->height(), name);
    QVERIFY2(panel->contentsRect().contains(radio->geometry()), name);
  }
  // The panel grows only as far as the gap before Compute.
  QVERIFY(panel->width() >= 225);
  QVERIFY(panel->geometry().right() < f.Compute()->geometry().left());
  for (const QWidget* control :
       {static_cast<QWidget*>(f.Compute()), static_cast<QWidget*>(f.Invers())}) {
    QVERIFY2(control->sizeHint().width() <= control->width(), qPrintable(control->objectName()));
    QVERIFY2(control->sizeHint().height() <= control->height(), qPrintable(control->objectName()));
  }
  // Every caption of every arrangement fits its label, and the labels of the
  // second column stay clear of Edit_4's column neighbour.
  for (const char* radio : {"HyperRadio", "FRadio", "PoissonRadio", "NormalRadio"}) {
    f.Click(f.Radio(radio));
    for (int n = 1; n <= 4; ++n) {
      if (!f.Label(n)->isVisible()) continue;
      QCOMPARE(f.Label(n)->size(), f.Label(n)->sizeHint());
      if (n < 4) QVERIFY2(f.Label(n)->geometry().right() < 424, qPrintable(f.Label(n)->text()));
    }
  }
  QVERIFY(f.Label(4)->geometry().right() < f.form->centralWidget()->width());
}

void TFormTest::memoFillsClientArea() {
  TFormFixture f;
  for (const QSize size : {QSize(800, 600), QSize(640, 480), QSize(1000, 700)}) {
    f.form->resize(size);
    QTRY_COMPARE(f.form->size(), size);
    const QWidget* client = f.form->centralWidget();
    QCOMPARE(f.Memo()->geometry(), QRect(8, 256, client->width() - 8, client->height() - 256));
    QCOMPARE(f.form->findChild<QFrame*>("Bevel")->geometry(), QRect(0, 0, client->width(), 2));
  }
}

void TFormTest::tabOrder() {
  TFormFixture f;
  f.Radio("NormalRadio")->setFocus();
  const QList<QWidget*> chain{f.Compute(), f.Edit(1),  f.Edit(2),
                              f.Edit(4),   f.Invers(), f.Radio("NormalRadio")};
  for (QWidget* next : chain) {
    QTest::keyClick(FocusWidget(), Qt::Key_Tab);
    QCOMPARE(FocusWidget(), next);
  }
  // With Chi Square checked, Tab enters the panel at that button.
  f.Click(f.Radio("ChiSquareRadio"));
  f.Invers()->setFocus();
  QTest::keyClick(FocusWidget(), Qt::Key_Tab);
  QCOMPARE(FocusWidget(), static_cast<QWidget*>(f.Radio("ChiSquareRadio")));
}

void TFormTest::accessibility() {
  TFormFixture f;
  for (int n = 1; n <= 4; ++n) QCOMPARE(f.Label(n)->buddy(), static_cast<QWidget*>(f.Edit(n)));
  QVERIFY(!(f.Memo()->focusPolicy() & Qt::TabFocus));
  QVERIFY(!f.Memo()->isReadOnly());
  QCOMPARE(f.Memo()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  QCOMPARE(f.Memo()->lineWrapMode(), QPlainTextEdit::WidgetWidth);
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
                           << "&Save As..." << none;
  QTest::newRow("Print Setup") << "FileMenu"
                               << "F&ile"
                               << "PrintSetupItem"
                               << "P&rint Setup..." << none;
  QTest::newRow("Print") << "FileMenu"
                         << "F&ile"
                         << "PrintItem"
                         << "&Print..." << none;
  QTest::newRow("N1") << "FileMenu"
                      << "F&ile"
                      << "N1"
                      << "" << none;
  QTest::newRow("Exit") << "FileMenu"
                        << "F&ile"
                        << "ExitItem"
                        << "E&xit" << QKeySequence(Qt::CTRL | Qt::Key_Q);
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
  QTest::newRow("Help Topics") << "HelpMenu"
                               << "&Help"
                               << "HelpTopicsItem"
                               << "&Help Topics" << QKeySequence(Qt::Key_F1);
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

PROBEX_WINDOW_TEST_MAIN(TFormTest)
#include "FormTest.moc"
