// The main window: the function chooser (FunctionChooser.h) and the field
// form (FieldForm.h: Compute, the labelled fields and the question options)
// above the results log (ResultsLog.h), the Details and Plot panes docked
// beside them, the menus, and a status bar.
//
// The window composes those widgets and carries what passes between them:
// the function the chooser checks goes to the field form; Compute hands the
// function, the field texts and the question to calculator::Compute and
// appends the result's two lines to the log; an invalid input marks every
// field that breaks its rule, names the first rule in the status bar and
// gives the last such field the focus; a run-time error goes to the error
// box with a hint naming the field and its limit (calculator/ErrorHints.h).
// Every result is also announced by resultComputed.  The computing, the
// panes' part of it too, runs on a worker thread (ComputeRunner.h): an
// answer later than kAnswerWaitMs comes when it is there, the status bar
// saying "Computing…" meanwhile and offering Cancel (also Esc), and the
// window responding as ever.  One input at a time: a Compute while one
// computes is refused with a word in the status bar, so that the log keeps
// the order of the inputs and never fills with answers to inputs long
// since changed.  The menus save, print, copy, select, delete (undoably from
// anywhere in the window) and re-font the log (DistributionMenus.cpp: the
// menus and the commands of their entries).
//
// Nothing the user gives is lost (Session.h): each function keeps its last
// field texts and options, and the dock and status bar choices are kept,
// within kStateSaveDelayMs of a change, not only when the window closes; the
// log keeps itself.  At the first activation the panes show the log's last
// result again, computed anew from what the fields remember.
//
// The window fits a small screen: at its smallest it is at most
// kSmallestWindow (device-independent pixels, the title bar not counted),
// which a 1600x1000 screen at a scale of 2 holds; the chooser scrolls and
// the panes stack in tabs below their width.
//
// Dialogs, message boxes, printer jobs, the clipboard and the desktop's
// browser are reached through TPlatform, so that tests answer them.
//
// Every activation of the window (FormActivate) sets up the help and the
// caption (the first one also restores the log) and asks the maker's web
// host, on a worker thread through the HTTP client that the window owns,
// whether a newer version is out; the answer comes back to this thread, and
// a newer version is announced once per run.
#pragma once

#include <QMainWindow>
#include <QSize>
#include <QStringList>
#include <memory>
#include <optional>
#include <string>

#include "calculator/Calculator.h"
#include "http/HttpClient.h"
#include "window/ComputeRunner.h"
#include "window/Session.h"
#include "window/VersionCheck.h"

template <typename T>
class QFutureWatcher;

class QAction;
class QDockWidget;
class QFrame;
class QMenu;
class QMenuBar;
class QPrinter;
class QTimer;

namespace window {

class TAboutBox;
class TDetailsPane;
class TFieldForm;
class TFunctionChooser;
class TResultsLog;
class TPlotPane;
class TTableWindow;
class THelpViewer;
class TPlatform;

class TDistributionForm : public QMainWindow {
  Q_OBJECT

 public:
  // `versionHost`: the web host (with ":port" when not 80) that the version
  // check asks; tests give a server of their own on the loopback address.
  explicit TDistributionForm(TPlatform& platform, std::string versionHost = DefaultVersionHost());
  ~TDistributionForm() override;

  // The about box that Help > About shows (the start-up code makes it).
  void SetAboutBox(TAboutBox* aboutBox);

  // The name of the dynamic property that holds the help context number of
  // the window and of its menus and menu entries.
  static constexpr char kHelpContextProperty[] = "helpContext";

  const std::string& VersionHost() const { return versionHost_; }
  // The client of the version check.  A check runs on a worker thread:
  // read it only while VersionCheckRunning() is false.
  const http::THttpClient& VersionClient() const { return *IdHTTP1; }
  bool VersionCheckRunning() const { return versionCheckRunning_; }
  // The help window, created at the first help request; null until then.
  THelpViewer* HelpViewer() const { return helpViewer_.get(); }

  // The caption Copy shows when all four fields read 42: 130 characters.
  static QString FortyTwoNotice();

  // The results log: the lines of `Memo`, which the user may have edited.
  QStringList LogLines() const;

  // The input as the user sees it, for the windows that show more of it.
  calculator::Function SelectedFunction() const { return selected_; }
  calculator::FieldTexts CurrentFieldTexts() const;
  calculator::Mode CurrentMode() const;
  // The fields read by their other reading (the normal's standard deviation).
  calculator::Readings CurrentReadings() const;

  // Shows the window with the size, place and dock state it had at the end
  // of the last run; maximized the first time.
  void ShowAsRemembered();

  // How long the fields, the options and the docks wait after a change
  // before they are kept, so that typing does not write at every key.
  static constexpr int kStateSaveDelayMs = 400;
  // The largest smallest size of the window, without its title bar.
  static constexpr QSize kSmallestWindow{800, 430};

  // Whether a computation runs beyond kAnswerWaitMs, its answer to come.
  bool Computing() const { return runner_->Running(); }
  // For tests: what Compute computes (ComputeAll), and how long it waits
  // for the answer before it lets the window go on.
  void SetComputeFunction(TComputeFunction function);
  void SetAnswerWait(int milliseconds);

  // Control events.
  void ComputeBtnClick();
  // Esc, or Cancel in the status bar: the running computation's answer is dropped.
  void CancelComputeClick();
  // The user chose another function in the chooser.
  void FunctionChosen(calculator::Function function);

  // Window events.
  void FormActivate();

  // Menu commands on the results log.
  void SaveAsItemClick();
  void PrintSetupItemClick();
  void PrintItemClick();
  void ExitItemClick();
  void UndoItemClick();
  void CopyItemClick();
  void SelectAllItemClick();
  void ClearClick();
  void FontItemClick();
  void SettingsItemClick();
  void TableItemClick();

 signals:
  // After every Compute, whatever its outcome: the panes and tables read it.
  void resultComputed(const calculator::Result& result);

 protected:
  // The Help menu.  Virtual, as are the two steps of FormActivate below, so
  // that the window's own tests can count them without a help window or a
  // web server.
  virtual void HelpTopicsItemClick();
  // F1: the help at the section of the function chosen.
  virtual void FunctionHelpItemClick();
  virtual void HomePage1Click();
  virtual void AboutItemClick();
  // First step of FormActivate: help contexts and the help file.
  virtual void ActivateHelp();
  // Last step of FormActivate; never raises.
  virtual void VersionCheck();

  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void moveEvent(QMoveEvent* event) override;

 private:
  void createControls();
  void createMenus();
  // The Details and Plot docks, their View entries, the plot's File entries
  // and the Table of Values under Tools.
  void createPanes();
  void createDialogs();
  void connectSignals();
  void restoreSession();
  void setTabChain();
  // The panes one above the other on a wide window, in tabs on a narrow one.
  void FitPanes();

  // A handler run from a signal: run-time errors go to the error box.
  template <void (TDistributionForm::*Handler)()>
  void Run();

  bool IsWindowShortcut(const QObject* watched, const QKeyEvent& key) const;
  void ShowComputed(const TComputed& computed);
  void AppendToLog(const calculator::Result& result);
  void ShowFailure(const TComputed& computed);
  void ShowComputing(bool running);
  void ShowMessage(const QString& text);

  // The fields, options, docks and status bar: kept soon after a change.
  void ScheduleStateSave();
  void SaveSession();
  // The panes show the log's last result, computed again from the fields.
  void ShowLastResult();

  void StartVersionCheck();
  void VersionAnswered();

  THelpViewer& Viewer();
  int MenuHelpContext(const QMenu& menu) const;
  void ContextHelp(int context);

  // The window's caption.
  static constexpr char kCaption[] = "Probex";

  TPlatform& platform_;
  TSession session_;
  // The function of the chooser's checked radio button.
  calculator::Function selected_{};
  const std::string versionHost_;
  // Shared with the worker thread of a running check, which may outlive
  // the window until the check's own time limits end it.
  std::shared_ptr<http::THttpClient> IdHTTP1;
  QFutureWatcher<TVersionAnswer>* versionWatcher_ = nullptr;
  bool versionCheckRunning_ = false;
  // An activation came while a check was running: one more check follows.
  bool versionCheckPending_ = false;
  bool newVersionShown_ = false;

  // Controls, by their designed names.
  QWidget* client_ = nullptr;  // the client area below the menu bar
  QFrame* Bevel = nullptr;
  TFunctionChooser* Panel1 = nullptr;  // the radio buttons of Functions()
  TFieldForm* fieldForm_ = nullptr;
  TResultsLog* resultsLog_ = nullptr;
  TComputeRunner* runner_ = nullptr;
  TComputingBar* computingBar_ = nullptr;  // in the status bar

  QMenuBar* MainMenu1 = nullptr;
  QMenu* FileMenu = nullptr;
  QAction* SaveAsItem = nullptr;
  QAction* PrintSetupItem = nullptr;
  QAction* PrintItem = nullptr;
  QAction* N1 = nullptr;
  QAction* ExitItem = nullptr;
  QMenu* EditMenu = nullptr;
  QAction* UndoItem = nullptr;
  QAction* N3 = nullptr;
  QAction* CopyItem = nullptr;
  QAction* SelectAllItem = nullptr;
  QAction* Clear = nullptr;
  QAction* N2 = nullptr;
  QAction* FontItem = nullptr;
  QMenu* ViewMenu = nullptr;
  QAction* StatusBarItem = nullptr;
  QMenu* ToolsMenu = nullptr;
  QAction* SettingsItem = nullptr;
  QAction* TableItem = nullptr;
  QAction* CancelComputeItem = nullptr;  // Esc, in no menu
  TDetailsPane* detailsPane_ = nullptr;
  TPlotPane* plotPane_ = nullptr;
  QDockWidget* detailsDock_ = nullptr;
  QDockWidget* plotDock_ = nullptr;
  // Whether the window was narrower than kPanesTabbedBelow at the last resize.
  std::optional<bool> narrow_;
  TTableWindow* tableWindow_ = nullptr;  // made at the first Table of Values
  QMenu* HelpMenu = nullptr;
  QAction* HelpTopicsItem = nullptr;
  QAction* FunctionHelpItem = nullptr;
  QAction* HomePage1 = nullptr;
  QAction* AboutItem = nullptr;

  // SaveDialog: the name offered next time (the last one chosen) and the
  // filters.  The other dialogs keep nothing of their own.
  QString saveFileName_;
  QStringList saveFilters_;
  // The printer that Print Setup adjusts and Print uses.
  std::unique_ptr<QPrinter> printer_;
  // Windows of their own (no parent, see TAboutBox); the about box belongs
  // to the start-up code.
  std::unique_ptr<THelpViewer> helpViewer_;
  TAboutBox* aboutBox_ = nullptr;

  bool firstActivation_ = true;
  QTimer* stateSaveTimer_ = nullptr;
  // Whether the next WindowActivate is an activation of the program's
  // focused window (see event()).
  bool activateOnReturn_ = true;
};

}  // namespace window
