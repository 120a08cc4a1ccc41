#include "window/DistributionForm.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QApplication>
#include <QBoxLayout>
#include <QCloseEvent>
#include <QDockWidget>
#include <QFrame>
#include <QFutureWatcher>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QScrollArea>
#include <QStatusBar>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>
#include <utility>

#include "calculator/ErrorHints.h"
#include "window/AboutBox.h"
#include "window/Application.h"
#include "window/DetailsPane.h"
#include "window/Errors.h"
#include "window/FieldForm.h"
#include "window/FunctionChooser.h"
#include "window/HelpViewer.h"
#include "window/LogPrinting.h"
#include "window/Platform.h"
#include "window/PlotPane.h"
#include "window/ResultsLog.h"

namespace window {

using calculator::Function;
using calculator::kSlotCount;
using calculator::Mode;

namespace {

// Sizes in device-independent pixels (96 dpi).  The window's size before it
// is first maximized; the controls' font; the margins and gaps of the
// arrangement: the function chooser at the left, the field form beside it,
// the log below; the panes' smallest width, and the window width below
// which they stack in tabs.
constexpr QRect kRestoredGeometry{199, 195, 648, 488};
constexpr int kFontPixels = 13;
constexpr QMargins kControlsMargins{8, 8, 8, 6};
constexpr int kPanelGap = 7;
constexpr int kBevelHeight = 2;
constexpr int kPaneMinWidth = 200;
constexpr int kPanesTabbedBelow = 1100;

constexpr char kInitialSaveName[] = "table.txt";
constexpr char kHelpFileName[] = "Probex.html";
constexpr char kNewVersionTitle[] = "Information";
constexpr char kStillComputing[] = "Still computing the last input (Esc cancels it).";
constexpr char kCancelled[] = "Cancelled: the result of that input will not be shown.";

}  // namespace

TDistributionForm::TDistributionForm(TPlatform& platform, std::string versionHost)
    : platform_(platform),
      versionHost_(std::move(versionHost)),
      IdHTTP1(std::make_shared<http::THttpClient>()) {
  createControls();
  createMenus();
  createPanes();
  createDialogs();
  connectSignals();
  restoreSession();
}

TDistributionForm::~TDistributionForm() {
  SaveSession();
  // The controls and docks outlive this part of the window: what they
  // announce as they go (a dock hidden, say) must reach no handler of it.
  for (const QObject* child : findChildren<QObject*>()) disconnect(child, nullptr, this, nullptr);
}

void TDistributionForm::SetAboutBox(TAboutBox* aboutBox) {
  aboutBox_ = aboutBox;
  if (aboutBox_ != nullptr) aboutBox_->SetMainWindow(this);
}

void TDistributionForm::createControls() {
  setObjectName(QStringLiteral("DistributionForm"));
  setWindowTitle(QString::fromLatin1(kCaption));
  setGeometry(kRestoredGeometry);
  // The dock area takes the corners, so that the panes stand beside the
  // whole client area and the log keeps the full height below the fields.
  setDockNestingEnabled(true);

  client_ = new QWidget(this);
  client_->setObjectName(QStringLiteral("ClientArea"));
  QFont font = client_->font();
  font.setPixelSize(kFontPixels);
  client_->setFont(font);
  setCentralWidget(client_);

  Bevel = new QFrame(client_);
  Bevel->setObjectName(QStringLiteral("Bevel"));
  Bevel->setFrameStyle(QFrame::HLine | QFrame::Sunken);
  Bevel->setFixedHeight(kBevelHeight);

  selected_ = session_.SelectedFunction().value_or(calculator::FirstFunction());
  Panel1 = new TFunctionChooser(calculator::Functions(), client_);
  Panel1->setObjectName(QStringLiteral("Panel1"));
  Panel1->Select(selected_);
  fieldForm_ = new TFieldForm(session_, selected_, client_);
  resultsLog_ = new TResultsLog(session_, platform_, client_);

  auto* controls = new QHBoxLayout;
  controls->setContentsMargins(kControlsMargins);
  controls->setSpacing(kPanelGap);
  controls->addWidget(Panel1, 0, Qt::AlignTop);
  // The list keeps its smallest height (it scrolls); extra room goes to the log.
  Panel1->setSizePolicy(Panel1->sizePolicy().horizontalPolicy(), QSizePolicy::Maximum);
  Panel1->setMaximumHeight(Panel1->minimumSizeHint().height());
  controls->addWidget(fieldForm_, 2, Qt::AlignTop);
  controls->addStretch(1);
  auto* client = new QVBoxLayout(client_);
  client->setContentsMargins(0, 0, 0, 0);
  client->setSpacing(0);
  client->addWidget(Bevel);
  client->addLayout(controls);
  client->addWidget(resultsLog_, 1);

  statusBar()->setObjectName(QStringLiteral("StatusBar"));
  runner_ = new TComputeRunner(this);
  // In the status bar only while it shows: hidden there, its button would
  // still make the bar taller.
  computingBar_ = new TComputingBar(statusBar());
  computingBar_->hide();
  CancelComputeItem = new QAction(QStringLiteral("Cancel Computing"), this);
  CancelComputeItem->setObjectName(QStringLiteral("CancelComputeItem"));
  CancelComputeItem->setShortcut(Qt::Key_Escape);
  CancelComputeItem->setEnabled(false);
  addAction(CancelComputeItem);
}

// Tab order: the chooser's checked radio button (the others are reached
// with the arrow keys), Compute, the fields, the question options, then the
// log, the Details and the Plot panes.
void TDistributionForm::setTabChain() {
  QList<QWidget*> chain = Panel1->Buttons();
  chain << fieldForm_->TabChain() << resultsLog_->Pane();
  for (QWidget* pane : {static_cast<QWidget*>(detailsPane_), static_cast<QWidget*>(plotPane_)}) {
    if (pane->focusPolicy() & Qt::TabFocus) chain << pane;
    for (QWidget* child : pane->findChildren<QWidget*>())
      if (child->focusPolicy() & Qt::TabFocus) chain << child;
  }
  for (qsizetype i = 0; i + 1 < chain.size(); ++i) setTabOrder(chain[i], chain[i + 1]);
}

void TDistributionForm::createPanes() {
  const auto addDock = [this](const char* name, const QString& title, QWidget* pane,
                              const char* itemName) {
    auto* dock = new QDockWidget(title, this);
    dock->setObjectName(QString::fromLatin1(name));  // saveState finds docks by name
    dock->setWidget(pane);
    dock->setMinimumWidth(kPaneMinWidth);
    addDockWidget(Qt::RightDockWidgetArea, dock);
    QAction* item = dock->toggleViewAction();
    item->setObjectName(QString::fromLatin1(itemName));
    ViewMenu->addAction(item);
    return dock;
  };
  detailsPane_ = new TDetailsPane;
  plotPane_ = new TPlotPane(platform_);
  detailsPane_->setAccessibleName(QStringLiteral("Details"));
  detailsPane_->setAccessibleDescription(
      QStringLiteral("Every value of the last result at full precision"));
  plotPane_->setAccessibleName(QStringLiteral("Plot"));
  plotPane_->setAccessibleDescription(QStringLiteral("The picture of the last result"));
  // The pane itself is a Tab stop, so that a screen reader names it.
  plotPane_->setFocusPolicy(Qt::StrongFocus);
  // The picture keeps its smallest size in a narrow dock and scrolls there.
  auto* plotScroll = new QScrollArea;
  plotScroll->setObjectName(QStringLiteral("PlotScroll"));
  plotScroll->setFrameShape(QFrame::NoFrame);
  plotScroll->setWidgetResizable(true);
  plotScroll->setFocusPolicy(Qt::NoFocus);
  plotScroll->setWidget(plotPane_);
  detailsDock_ = addDock("DetailsDock", QStringLiteral("Details"), detailsPane_, "DetailsPaneItem");
  plotDock_ = addDock("PlotDock", QStringLiteral("Plot"), plotScroll, "PlotPaneItem");
  splitDockWidget(detailsDock_, plotDock_, Qt::Vertical);

  FileMenu->insertAction(N1, plotPane_->SavePlotAction());
  FileMenu->insertAction(N1, plotPane_->CopyPlotAction());

  TableItem = ToolsMenu->addAction(QStringLiteral("&Table of Values..."));
  TableItem->setObjectName(QStringLiteral("TableItem"));
  TableItem->setShortcut(Qt::CTRL | Qt::Key_T);
  ToolsMenu->insertAction(SettingsItem, TableItem);
}

// One above the other the panes need the height of both; on a narrow window
// they share one place as tabs and the log keeps the height it needs.  The
// window arranges them as its width crosses kPanesTabbedBelow, and leaves
// alone what the user arranged in between or elsewhere.
void TDistributionForm::FitPanes() {
  const bool narrow = width() < kPanesTabbedBelow;
  if (narrow == narrow_) return;
  narrow_ = narrow;
  for (QDockWidget* dock : {detailsDock_, plotDock_})
    if (dock->isFloating() || dockWidgetArea(dock) != Qt::RightDockWidgetArea) return;
  const bool tabbed = tabifiedDockWidgets(detailsDock_).contains(plotDock_);
  if (narrow && !tabbed) {
    tabifyDockWidget(detailsDock_, plotDock_);
    plotDock_->raise();
  } else if (!narrow && tabbed) {
    // Out of the tabs, below the Details pane.
    const bool shown = !plotDock_->isHidden();
    removeDockWidget(plotDock_);
    addDockWidget(Qt::RightDockWidgetArea, plotDock_, Qt::Vertical);
    plotDock_->setVisible(shown);
  }
}

void TDistributionForm::createDialogs() {
  saveFileName_ = QString::fromLatin1(kInitialSaveName);
  saveFilters_ = {QStringLiteral("Text Files (*.txt)"), QStringLiteral("All (*.*)")};
  printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  const qreal margin = kDefaultMarginMillimetres;
  printer_->setPageMargins(QMarginsF(margin, margin, margin, margin), QPageLayout::Millimeter);
  stateSaveTimer_ = new QTimer(this);
  stateSaveTimer_->setSingleShot(true);
  stateSaveTimer_->setInterval(kStateSaveDelayMs);
  versionWatcher_ = new QFutureWatcher<TVersionAnswer>(this);
}

void TDistributionForm::connectSignals() {
  using T = TDistributionForm;
  connect(fieldForm_, &TFieldForm::computeRequested, this, &T::Run<&T::ComputeBtnClick>);
  connect(fieldForm_, &TFieldForm::marksChanged, this, &T::ShowMessage);
  connect(fieldForm_, &TFieldForm::edited, this, &T::ScheduleStateSave);
  connect(resultsLog_, &TResultsLog::message, this, &T::ShowMessage);
  connect(resultsLog_, &TResultsLog::undoAvailable, UndoItem, &QAction::setEnabled);
  // Some of the window's shortcuts come before the controls' own keys:
  // every control that takes keys hears them through eventFilter first.
  fieldForm_->ComputeButton()->installEventFilter(this);
  for (QWidget* control : findChildren<QWidget*>())
    if (qobject_cast<QLineEdit*>(control) || qobject_cast<QAbstractScrollArea*>(control))
      control->installEventFilter(this);
  connect(stateSaveTimer_, &QTimer::timeout, this, &T::SaveSession);
  connect(versionWatcher_, &QFutureWatcherBase::finished, this, &T::VersionAnswered);

  // The handler hears a button becoming checked (by click, arrow key, access
  // key or the find field), never an already checked button clicked again.
  connect(Panel1, &TFunctionChooser::FunctionChosen, this, [this](Function function) {
    RunCommand([this, function] { FunctionChosen(function); });
  });
  for (QDockWidget* dock : {detailsDock_, plotDock_}) {
    connect(dock, &QDockWidget::visibilityChanged, this, &T::ScheduleStateSave);
    connect(dock, &QDockWidget::topLevelChanged, this, &T::ScheduleStateSave);
    connect(dock, &QDockWidget::dockLocationChanged, this, &T::ScheduleStateSave);
  }

  connect(SaveAsItem, &QAction::triggered, this, &T::Run<&T::SaveAsItemClick>);
  connect(PrintSetupItem, &QAction::triggered, this, &T::Run<&T::PrintSetupItemClick>);
  connect(PrintItem, &QAction::triggered, this, &T::Run<&T::PrintItemClick>);
  connect(ExitItem, &QAction::triggered, this, &T::Run<&T::ExitItemClick>);
  connect(UndoItem, &QAction::triggered, this, &T::Run<&T::UndoItemClick>);
  connect(CopyItem, &QAction::triggered, this, &T::Run<&T::CopyItemClick>);
  connect(SelectAllItem, &QAction::triggered, this, &T::Run<&T::SelectAllItemClick>);
  connect(Clear, &QAction::triggered, this, &T::Run<&T::ClearClick>);
  connect(FontItem, &QAction::triggered, this, &T::Run<&T::FontItemClick>);
  connect(StatusBarItem, &QAction::toggled, statusBar(), &QStatusBar::setVisible);
  connect(StatusBarItem, &QAction::toggled, this, &T::ScheduleStateSave);
  connect(SettingsItem, &QAction::triggered, this, &T::Run<&T::SettingsItemClick>);
  connect(TableItem, &QAction::triggered, this, &T::Run<&T::TableItemClick>);
  connect(runner_, &TComputeRunner::answered, this, [this](const TComputed& computed) {
    RunCommand([this, &computed] { ShowComputed(computed); });
  });
  connect(runner_, &TComputeRunner::runningChanged, this, &T::ShowComputing);
  connect(computingBar_, &TComputingBar::cancelClicked, this, &T::CancelComputeClick);
  connect(CancelComputeItem, &QAction::triggered, this, &T::CancelComputeClick);
  connect(HelpTopicsItem, &QAction::triggered, this, &T::Run<&T::HelpTopicsItemClick>);
  connect(FunctionHelpItem, &QAction::triggered, this, &T::Run<&T::FunctionHelpItemClick>);
  connect(HomePage1, &QAction::triggered, this, &T::Run<&T::HomePage1Click>);
  connect(AboutItem, &QAction::triggered, this, &T::Run<&T::AboutItemClick>);
}

// The function and its fields were restored with the controls; the status
// bar's choice here, the docks' with the geometry (ShowAsRemembered).
void TDistributionForm::restoreSession() {
  StatusBarItem->setChecked(session_.StatusBarShown());
  setTabChain();
}

void TDistributionForm::ShowAsRemembered() {
  restoreState(session_.DockState());
  const QByteArray geometry = session_.Geometry();
  if (!geometry.isEmpty() && restoreGeometry(geometry))
    show();
  else
    showMaximized();
}

template <void (TDistributionForm::*Handler)()>
void TDistributionForm::Run() {
  RunCommand([this] { (this->*Handler)(); });
}

QStringList TDistributionForm::LogLines() const {
  return resultsLog_->Lines();
}

calculator::FieldTexts TDistributionForm::CurrentFieldTexts() const {
  return fieldForm_->Texts();
}

Mode TDistributionForm::CurrentMode() const {
  return fieldForm_->CurrentMode();
}

calculator::Readings TDistributionForm::CurrentReadings() const {
  return fieldForm_->CurrentReadings();
}

void TDistributionForm::ShowMessage(const QString& text) {
  if (text.isEmpty())
    statusBar()->clearMessage();
  else
    statusBar()->showMessage(text);
}

void TDistributionForm::SetComputeFunction(TComputeFunction function) {
  runner_->SetFunction(std::move(function));
}

void TDistributionForm::SetAnswerWait(int milliseconds) {
  runner_->SetAnswerWait(milliseconds);
}

// The input as the fields have it, kept as it goes to the worker.  A
// Compute while the last one computes is refused; one while the panes
// compute the log's last result again takes their place.
void TDistributionForm::ComputeBtnClick() {
  if (runner_->Running() && runner_->Input().toLog) {
    ShowMessage(QString::fromLatin1(kStillComputing));
    return;
  }
  const TComputeInput input{selected_, CurrentFieldTexts(), CurrentMode(), CurrentReadings()};
  fieldForm_->Remember();
  session_.Sync();
  runner_->Start(input);
}

void TDistributionForm::CancelComputeClick() {
  if (!runner_->Running()) return;
  runner_->Cancel();
  ShowMessage(QString::fromLatin1(kCancelled));
}

// An answer, in time or later: a result for the log goes there and to the
// panes; the log's last result shown again goes to the panes only, where
// it still computes.
void TDistributionForm::ShowComputed(const TComputed& computed) {
  const calculator::Result& result = computed.result;
  if (computed.input.toLog)
    AppendToLog(result);
  else if (!result.Ok())
    return;
  if (computed.failure) std::rethrow_exception(computed.failure);
  detailsPane_->ShowResult(result, computed.details);
  plotPane_->ShowResult(result, computed.plot);
  if (!computed.input.toLog) return;
  emit resultComputed(result);
  if (!result.Ok()) ShowFailure(computed);
}

void TDistributionForm::AppendToLog(const calculator::Result& result) {
  fieldForm_->ClearMarks();
  resultsLog_->DropBackup();
  if (!result.Ok()) return;
  QStringList lines;
  for (const std::string& line : result.lines) lines << QString::fromStdString(line);
  resultsLog_->Append(lines);
}

// An invalid field is marked where the form still asks the question it
// was computed for (a late answer may find another function chosen).
void TDistributionForm::ShowFailure(const TComputed& computed) {
  const calculator::Result& result = computed.result;
  if (result.outcome == calculator::Outcome::Error) {
    std::string text = calculator::ErrorBoxText(result.message);
    if (const std::optional<std::string> hint = calculator::ErrorHint(result, computed.input.texts))
      text += "\n" + *hint;
    throw EComputeError(text);
  }
  if (computed.input.function == selected_ && computed.input.mode == CurrentMode())
    fieldForm_->ShowFaults(result);
}

// While a computation runs beyond the wait, the status bar shows it, also
// when the user hid the status bar, and Esc cancels it.
void TDistributionForm::ShowComputing(bool running) {
  if (running) {
    statusBar()->addPermanentWidget(computingBar_);
    computingBar_->show();
  } else {
    statusBar()->removeWidget(computingBar_);
  }
  CancelComputeItem->setEnabled(running);
  statusBar()->setVisible(running || StatusBarItem->isChecked());
  if (!running && statusBar()->currentMessage() == QLatin1String(kStillComputing))
    statusBar()->clearMessage();
}

void TDistributionForm::FunctionChosen(Function function) {
  if (function == selected_) return;
  selected_ = function;
  fieldForm_->SetFunction(function);
  session_.SetSelectedFunction(function);
  ScheduleStateSave();
}

// The log's last lines came from the fields as they are kept (they are
// kept at every Compute); a result that no longer computes shows nothing.
void TDistributionForm::ShowLastResult() {
  if (resultsLog_->Lines().isEmpty()) return;
  runner_->Start({selected_, CurrentFieldTexts(), CurrentMode(), CurrentReadings(), false});
}

void TDistributionForm::ActivateHelp() {
  setProperty(kHelpContextProperty, kMainHelpContext);
  for (QObject* entry : std::initializer_list<QObject*>{
           FileMenu, EditMenu, HelpMenu, SaveAsItem, PrintItem, N1, ExitItem, CopyItem,
           SelectAllItem, FontItem, HelpTopicsItem, FunctionHelpItem, AboutItem})
    entry->setProperty(kHelpContextProperty, kMainHelpContext);
  TApplication::SetHelpFile(QCoreApplication::applicationDirPath() + QLatin1Char('/') +
                            QString::fromLatin1(kHelpFileName));
}

void TDistributionForm::VersionCheck() {
  StartVersionCheck();
}

// The fetch runs on a worker thread of Qt's pool, the window stays usable;
// its answer comes back through the watcher, on this thread.  One check at
// a time: the client is not shared between two.
void TDistributionForm::StartVersionCheck() {
  if (versionCheckRunning_) {
    versionCheckPending_ = true;
    return;
  }
  versionCheckRunning_ = true;
  std::shared_ptr<http::THttpClient> client = IdHTTP1;
  versionWatcher_->setFuture(
      QtConcurrent::run([client, host = versionHost_] { return CheckVersion(*client, host); }));
}

void TDistributionForm::VersionAnswered() {
  versionCheckRunning_ = false;
  const TVersionAnswer answer = versionWatcher_->result();
  if (versionCheckPending_) {
    versionCheckPending_ = false;
    StartVersionCheck();
  }
  if (answer != TVersionAnswer::NewVersion || newVersionShown_) return;
  newVersionShown_ = true;
  platform_.ShowInformation(this, QString::fromLatin1(kNewVersionTitle),
                            NewVersionMessage(versionHost_));
}

// The fields keep what the user typed: they were arranged when the window
// was made, and an activation leaves them alone.
void TDistributionForm::FormActivate() {
  ActivateHelp();
  setWindowTitle(QString::fromLatin1(kCaption));
  if (firstActivation_) {
    firstActivation_ = false;
    resultsLog_->Restore();
    ShowLastResult();
  }
  VersionCheck();
}

void TDistributionForm::ScheduleStateSave() {
  stateSaveTimer_->start();
}

void TDistributionForm::SaveSession() {
  stateSaveTimer_->stop();
  fieldForm_->Remember();
  session_.SetSelectedFunction(selected_);
  session_.SetGeometry(saveGeometry());
  session_.SetDockState(saveState());
  session_.SetStatusBarShown(StatusBarItem->isChecked());
  session_.Sync();
  resultsLog_->Flush();
}

void TDistributionForm::closeEvent(QCloseEvent* event) {
  SaveSession();
  QMainWindow::closeEvent(event);
}

void TDistributionForm::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  FitPanes();
  if (isVisible()) ScheduleStateSave();
}

void TDistributionForm::moveEvent(QMoveEvent* event) {
  QMainWindow::moveEvent(event);
  if (isVisible()) ScheduleStateSave();
}

bool TDistributionForm::event(QEvent* event) {
  switch (event->type()) {
    case QEvent::WindowActivate:
      if (activateOnReturn_) {
        activateOnReturn_ = false;
        const bool handled = QMainWindow::event(event);
        RunCommand([this] { FormActivate(); });
        return handled;
      }
      break;
    case QEvent::WindowDeactivate: {
      // Qt names the new active window before it deactivates this one.  An
      // activation is the program's focused window changing to this one:
      // coming back from another window of ours is one; coming back from a
      // modal dialog or message box, or from another program, is not.
      // The help window stands for the desktop's help viewer, another
      // program: coming back from it is no activation either.
      const QWidget* next = QApplication::activeWindow();
      activateOnReturn_ =
          next != nullptr && next != this && !next->isModal() && next != helpViewer_.get();
      break;
    }
    default:
      break;
  }
  return QMainWindow::event(event);
}

// Keys act where the focus is: a field takes its own editing keys (Ctrl+A,
// Ctrl+C on a selection, Ctrl+X, Ctrl+V, Ctrl+Z).  The window keeps Exit and
// the function's help everywhere, Undo everywhere while it brings back a
// deleted log, Copy in a field without a selection (it copies the log, as
// the menu does), and Copy and Select All in the log, whose own would
// bypass the menu's commands.
bool TDistributionForm::IsWindowShortcut(const QObject* watched, const QKeyEvent& key) const {
  const QKeySequence pressed(key.keyCombination());
  if (ExitItem->shortcut() == pressed || FunctionHelpItem->shortcut() == pressed) return true;
  if (UndoItem->shortcut() == pressed && resultsLog_->CanRestore()) return true;
  if (watched == resultsLog_->Pane())
    return CopyItem->shortcut() == pressed || SelectAllItem->shortcut() == pressed;
  const auto* edit = qobject_cast<const QLineEdit*>(watched);
  return edit != nullptr && CopyItem->shortcut() == pressed && !edit->hasSelectedText();
}

bool TDistributionForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress)
    return QMainWindow::eventFilter(watched, event);
  const auto* key = static_cast<QKeyEvent*>(event);
  auto* menu = qobject_cast<QMenu*>(watched);
  if (menu != nullptr && key->keyCombination() == QKeyCombination(Qt::Key_F1)) {
    // F1 in an open menu is context help, not the shortcut of the function's help:
    // the menu takes the key over the shortcut and answers it itself.
    if (event->type() == QEvent::ShortcutOverride) {
      event->accept();
      return true;
    }
    const int context = MenuHelpContext(*menu);
    // The menu closes, as it would when the help window takes the activation.
    menu->close();
    RunCommand([this, context] { ContextHelp(context); });
    return true;
  }
  if (event->type() == QEvent::ShortcutOverride && IsWindowShortcut(watched, *key)) {
    // Left unaccepted, the key goes to the menu's shortcut and not to the
    // line edit or the text pane.
    event->ignore();
    return true;
  }
  QPushButton* compute = fieldForm_->ComputeButton();
  if (watched == compute && event->type() == QEvent::KeyPress &&
      (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
    // Return presses a focused Compute, as Space does.
    compute->click();
    return true;
  }
  return QMainWindow::eventFilter(watched, event);
}

}  // namespace window
