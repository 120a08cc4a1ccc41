// The Details pane offscreen: full-precision values, remarks in words, the
// previous result kept after an invalid input.
#include <QApplication>
#include <QLabel>
#include <QtTest>

#include "calculator/Calculator.h"
#include "window/DetailsPane.h"

class TDetailsPaneTest : public QObject {
  Q_OBJECT

 private slots:
  void tinyTailIsShownAndNamed() {
    window::TDetailsPane pane;
    pane.ShowResult(calculator::Compute(calculator::Function::Normal, {"0", "1", "", "6"},
                                        calculator::Mode::Forward));
    const QString text = pane.PlainText();
    QVERIFY2(text.contains("9.865876450e-10"), qPrintable(text));  // P(Z>6)
    QVERIFY(text.contains("not exactly 0"));
    QVERIFY(text.contains("Standard deviation"));
  }

  void exactIntegerAndInvalidInput() {
    window::TDetailsPane pane;
    pane.show();
    pane.ShowResult(calculator::Compute(calculator::Function::BinomialCoefficient,
                                        {"122", "61", "", ""}, calculator::Mode::Forward));
    QVERIFY(pane.PlainText().contains("383291933432261050330199012527412832"));
    pane.ShowResult(calculator::Compute(calculator::Function::T, {"0", "", "", "1"},
                                        calculator::Mode::Forward));
    // The details stay, and the pane says whose they are.
    QVERIFY(pane.PlainText().contains("383291933432261050330199012527412832"));
    const auto* status = pane.findChild<QLabel*>("DetailsStatus");
    QVERIFY(status && status->isVisible() && status->text().contains("previous result"));
  }
};

QTEST_MAIN(TDetailsPaneTest)
#include "DetailsPaneTest.moc"
