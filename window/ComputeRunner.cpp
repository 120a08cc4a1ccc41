#include "window/ComputeRunner.h"

#include <QCoreApplication>
#include <QFutureWatcher>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPromise>
#include <QPushButton>
#include <QSemaphore>
#include <QThreadPool>
#include <memory>

#include "window/Application.h"
#include "window/DetailsPane.h"

namespace window {

namespace {

// The computations' pool: a thread for each computation, also when earlier
// ones were cancelled and still run, up to this many.  Not Qt's global pool,
// which the tables share and whose few threads cancelled computations
// could fill.
constexpr int kMostComputeThreads = 16;
constexpr char kPoolName[] = "ComputePool";
// The status bar's part has no margins of its own; the width of its
// moving bar, in device-independent pixels.
constexpr int kBarMargin = 0;
constexpr int kProgressWidth = 80;

// The pool belongs to the application object, which waits for its threads
// when the program ends; a pool of the window's would wait at its close.
QThreadPool& ComputePool() {
  QCoreApplication* app = QCoreApplication::instance();
  auto* pool = app->findChild<QThreadPool*>(QLatin1String(kPoolName), Qt::FindDirectChildrenOnly);
  if (pool == nullptr) {
    pool = new QThreadPool(app);
    pool->setObjectName(QLatin1String(kPoolName));
    pool->setMaxThreadCount(kMostComputeThreads);
  }
  return *pool;
}

// One computation: its answer, and a signal the moment it is there.
struct TJob {
  QPromise<TComputed> promise;
  QSemaphore done;
};

// `function` on `input`; a run-time error is part of the answer, for the
// window's thread to raise.
TComputed Run(const TComputeFunction& function, const TComputeInput& input) {
  try {
    return function(input);
  } catch (const std::exception&) {
    TComputed computed;
    computed.input = input;
    computed.result.outcome = calculator::Outcome::Invalid;
    computed.failure = std::current_exception();
    return computed;
  }
}

}  // namespace

TComputed ComputeAll(const TComputeInput& input) {
  TComputed computed;
  computed.input = input;
  computed.result = calculator::Compute(input.function, input.texts, input.mode, input.readings);
  try {
    computed.details = TDetailsPane::Contents(computed.result);
    computed.plot = TPlotPane::Models(computed.result);
  } catch (const std::exception&) {
    computed.failure = std::current_exception();
  }
  return computed;
}

TComputeRunner::TComputeRunner(QObject* parent) : QObject(parent) {}

// A computation still running keeps its job; its answer goes nowhere.
TComputeRunner::~TComputeRunner() = default;

void TComputeRunner::Start(const TComputeInput& input) {
  Cancel();
  input_ = input;
  auto job = std::make_shared<TJob>();
  QFuture<TComputed> future = job->promise.future();
  job->promise.start();
  ComputePool().start([job, input, function = function_] {
    job->promise.addResult(Run(function, input));
    job->promise.finish();
    job->done.release();
  });
  bool inTime = false;
  {
    const TBusyPointer busy;
    inTime = job->done.tryAcquire(1, answerWaitMs_);
  }
  if (inTime) {
    emit answered(future.result());
    return;
  }
  watcher_ = new QFutureWatcher<TComputed>(this);
  connect(watcher_, &QFutureWatcherBase::finished, this, &TComputeRunner::Finished);
  watcher_->setFuture(future);
  emit runningChanged(true);
}

void TComputeRunner::Cancel() {
  if (!watcher_) return;
  watcher_->disconnect(this);
  watcher_->deleteLater();
  watcher_ = nullptr;
  emit runningChanged(false);
}

void TComputeRunner::Finished() {
  const TComputed computed = watcher_->result();
  watcher_->deleteLater();
  watcher_ = nullptr;
  emit runningChanged(false);
  emit answered(computed);
}

TComputingBar::TComputingBar(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("ComputingBar"));
  auto* label = new QLabel(QStringLiteral("Computing\u2026"), this);
  label->setObjectName(QStringLiteral("ComputingLabel"));
  // Moving all the time: the window has not stopped.
  auto* progress = new QProgressBar(this);
  progress->setRange(0, 0);
  progress->setTextVisible(false);
  progress->setFixedWidth(kProgressWidth);
  progress->setAccessibleName(QStringLiteral("Computing"));
  auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
  cancel->setObjectName(QStringLiteral("CancelComputeBtn"));
  cancel->setToolTip(QStringLiteral("Drop the result of the running computation (Esc)"));
  cancel->setFocusPolicy(Qt::NoFocus);
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(kBarMargin, kBarMargin, kBarMargin, kBarMargin);
  layout->addWidget(label);
  layout->addWidget(progress);
  layout->addWidget(cancel);
  // As wide as its parts: the status bar's message keeps the rest.
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  connect(cancel, &QPushButton::clicked, this, &TComputingBar::cancelClicked);
}

}  // namespace window
