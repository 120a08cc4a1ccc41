// A computation that answers late: the window goes on responding, says
// it is computing, cancels with Esc or its Cancel button, and never waits
// for the computation, not even when it closes.
#include <QSemaphore>
#include <QTextBrowser>
#include <QThreadPool>
#include <QStatusBar>
#include <memory>

#include "FormFixture.h"
#include "window/ComputeRunner.h"

namespace {

// How long a computation held by the gate waits at most: a window that
// waited for it would end the wait and fail the test instead of hanging it.
constexpr int kGateMs = 20000;

const QString kNormalHeader = "Normal Distribution, mean=0.000000, variance=1.000000:";

// The window's computation, held until the test opens the gate.
class TGate {
 public:
  static window::TComputeFunction Held(const std::shared_ptr<TGate>& gate) {
    return [gate](const window::TComputeInput& input) {
      (void)gate->opened_.tryAcquire(1, kGateMs);
      window::TComputed computed = window::ComputeAll(input);
      gate->ended_.release();
      return computed;
    };
  }
  void Open() { opened_.release(); }
  bool Ended() { return ended_.tryAcquire(1, kGateMs); }
  bool EndedAlready() const { return ended_.available() > 0; }

 private:
  QSemaphore opened_;
  QSemaphore ended_;
};

// The form with its computations held by `gate` and the window's own wait.
void Hold(TFormFixture& f, const std::shared_ptr<TGate>& gate) {
  f.form->SetComputeFunction(TGate::Held(gate));
  f.form->SetAnswerWait(window::TComputeRunner::kAnswerWaitMs);
}

}  // namespace

class TSlowComputeTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { SilencePlatformNoise(); }
  void lateAnswerComesToTheLog();
  void cancelDropsTheAnswer();
  void closingDoesNotWait();
};

// Typing goes on, a second Compute is refused with a word, and the answer
// to the input of the click comes to the log and the panes.
void TSlowComputeTest::lateAnswerComesToTheLog() {
  TFormFixture f;
  const auto gate = std::make_shared<TGate>();
  Hold(f, gate);
  f.Item("StatusBarItem")->trigger();  // the user hides the status bar
  f.Click(f.Compute());
  QVERIFY(f.form->Computing());
  QVERIFY(f.form->findChild<QWidget*>("ComputingBar")->isVisible());
  f.Type(1, "5");
  QCOMPARE(f.Edit(1)->text(), QString("5"));
  QTest::keyClick(f.Edit(1), Qt::Key_Return);
  QVERIFY(f.form->statusBar()->currentMessage().startsWith("Still computing"));
  QVERIFY(f.form->LogLines().isEmpty());
  gate->Open();
  QTRY_COMPARE(f.form->LogLines().size(), 2);
  QCOMPARE(f.form->LogLines()[0], kNormalHeader);
  QVERIFY(!f.form->Computing() && !f.form->statusBar()->isVisible());
  QVERIFY(f.form->findChild<QTextBrowser*>("DetailsText")->toPlainText().contains(kNormalHeader));
}

// Esc in a field, or the Cancel button: the log never shows that answer,
// and the next Compute runs at once.
void TSlowComputeTest::cancelDropsTheAnswer() {
  TFormFixture f;
  const auto gate = std::make_shared<TGate>();
  Hold(f, gate);
  f.Click(f.Compute());
  QTest::keyClick(f.Edit(1), Qt::Key_Escape);
  QVERIFY(!f.form->Computing());
  QVERIFY(f.form->statusBar()->currentMessage().startsWith("Cancelled"));
  f.Type(1, "2");
  f.Click(f.Compute());
  f.Click(f.form->findChild<QPushButton*>("CancelComputeBtn"));
  QVERIFY(!f.form->Computing());
  for (int i = 0; i < 2; ++i) gate->Open();
  // Both computations over and their answers posted: none may arrive.
  QVERIFY(qApp->findChild<QThreadPool*>("ComputePool")->waitForDone(kGateMs));
  QCoreApplication::processEvents();
  QVERIFY(f.form->LogLines().isEmpty());
  gate->Open();
  f.Click(f.Compute());
  QTRY_COMPARE(f.form->LogLines().size(), 2);
  QVERIFY(f.form->LogLines()[0].startsWith("Normal Distribution, mean=2.000000"));
}

void TSlowComputeTest::closingDoesNotWait() {
  TFormFixture f;
  const auto gate = std::make_shared<TGate>();
  Hold(f, gate);
  f.Click(f.Compute());
  QVERIFY(f.form->Computing());
  f.form->close();
  f.form.reset();
  QVERIFY(!gate->EndedAlready());
  gate->Open();
  QVERIFY(gate->Ended());
}

PROBEX_WINDOW_TEST_MAIN(TSlowComputeTest)
#include "SlowComputeTest.moc"
