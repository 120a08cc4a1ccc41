// The window's computations on worker threads, so that no input, however
// slow, freezes the window, and what the status bar shows of them.
//
// Start hands one input to a thread of the computations' own pool and
// waits up to kAnswerWaitMs for its answer.  An answer in that time arrives
// (`answered`) before Start returns, as if the window had computed it
// itself: that is the usual case.  A later answer arrives through the event
// loop, and the window keeps responding meanwhile; `runningChanged` says
// when such a computation starts and ends.  Cancel drops the answer of the
// running computation.  The computation itself cannot be interrupted: it
// runs to its end on its thread and its answer goes nowhere.  Neither
// Cancel nor the window's close waits for it; the end of the program does
// (the pool belongs to the application object), once the windows are gone.
//
// The worker does all the computing a result needs (ComputeAll):
// calculator::Compute, the Details pane's text and the Plot pane's pictures.
// The mathematics keeps no state between calls, and the floating-point
// flags it tests are each thread's own, set up and cleared by thread-local
// scopes (Distr::FloatScope, models::HeldFloatEnvironment).
//
// TComputingBar is the status bar's part: "Computing…" and Cancel, shown
// while a computation runs beyond the wait.
#pragma once

#include <QWidget>
#include <exception>
#include <functional>

#include "calculator/Calculator.h"
#include "window/PlotPane.h"

template <typename T>
class QFutureWatcher;

namespace window {

// One input of the window, as calculator::Compute takes it.
struct TComputeInput {
  calculator::Function function{};
  calculator::FieldTexts texts;
  calculator::Mode mode = calculator::Mode::Forward;
  calculator::Readings readings;
  // Whether the result goes to the log, or only to the panes (the log's
  // last result shown again).
  bool toLog = true;
};

// A result with what the panes show of it.
struct TComputed {
  TComputeInput input;
  calculator::Result result;
  QString details;  // TDetailsPane::Contents
  TPlotModels plot;
  // A run-time error of the panes' part; the result itself never raises.
  std::exception_ptr failure;
};

using TComputeFunction = std::function<TComputed(const TComputeInput& input)>;

// The whole computation of one input; runs on any thread.
TComputed ComputeAll(const TComputeInput& input);

class TComputeRunner : public QObject {
  Q_OBJECT

 public:
  // How long Compute waits for an answer before it lets the window go on.
  static constexpr int kAnswerWaitMs = 50;

  explicit TComputeRunner(QObject* parent = nullptr);
  ~TComputeRunner() override;

  // Computes `input`, dropping the answer of a computation still running.
  void Start(const TComputeInput& input);
  // Whether a computation runs beyond the wait, its answer still to come.
  bool Running() const { return watcher_ != nullptr; }
  // The input of the computation running, or of the last one.
  const TComputeInput& Input() const { return input_; }
  // Drops the running computation's answer.
  void Cancel();

  // For tests: the computation (ComputeAll unless set), and the wait.
  void SetFunction(TComputeFunction function) { function_ = std::move(function); }
  void SetAnswerWait(int milliseconds) { answerWaitMs_ = milliseconds; }

 signals:
  void answered(const TComputed& computed);
  void runningChanged(bool running);

 private:
  void Finished();

  TComputeFunction function_ = ComputeAll;
  int answerWaitMs_ = kAnswerWaitMs;
  TComputeInput input_;
  // Watches the computation that runs beyond the wait; null when none does.
  QFutureWatcher<TComputed>* watcher_ = nullptr;
};

// "Computing…" and its Cancel button, for the status bar.
class TComputingBar : public QWidget {
  Q_OBJECT

 public:
  explicit TComputingBar(QWidget* parent = nullptr);

 signals:
  void cancelClicked();
};

}  // namespace window
