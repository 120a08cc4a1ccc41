// The main window: nine radio buttons, four labelled edit fields, the inverse
// option, the Compute button and the results log `Memo`, with the menus that
// save, print, copy, select, clear and re-font the log.
//
// The radio buttons and the fields are built and arranged from the table of
// functions (calculator/Functions.h).  Compute hands the selected function,
// the field texts and the inverse option to calculator::Compute and appends
// the result's two lines to `Memo`, or gives an invalid field the focus; from
// then on the log is the text of `Memo`, which the user may edit by hand, and
// Save As, Print and Copy take that text.
//
// Dialogs, message boxes, printer jobs, the clipboard and the desktop's
// browser are reached through TPlatform, so that tests answer them.
//
// Every activation of the window (FormActivate) sets up the help, the
// caption and the fields again and asks the maker's web host, through the
// HTTP client IdHTTP1 that the window owns, whether a newer version is out.
#pragma once

#include <QMainWindow>
#include <QStringList>
#include <array>
#include <memory>
#include <string>

#include "calculator/Calculator.h"
#include "http/HttpClient.h"
#include "window/VersionCheck.h"

class QAction;
class QButtonGroup;
class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QPrinter;
class QPushButton;
class QRadioButton;

namespace window {

class TAboutBox;
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
  const http::THttpClient& VersionClient() const { return IdHTTP1; }
  // The help window, created at the first help request; null until then.
  THelpViewer* HelpViewer() const { return helpViewer_.get(); }

  // The caption Copy shows when all four fields read 42: 130 characters.
  static QString FortyTwoNotice();

  // The results log: the lines of `Memo`, which the user may have edited.
  QStringList LogLines() const;

  // Control events.
  void ComputeBtnClick();
  void InversCheckBoxClick();
  // A radio button of the group became checked (or lost its check).
  void FunctionToggled(int id, bool checked);

  // Window events.
  void FormActivate();
  void FormResize();

  // Menu commands on the results log.
  void SaveAsItemClick();
  void PrintSetupItemClick();
  void PrintItemClick();
  void ExitItemClick();
  void CopyItemClick();
  void SelectAllItemClick();
  void ClearClick();
  void FontItemClick();

 protected:
  // The Help menu.  Virtual, as are the two steps of FormActivate below, so
  // that the window's own tests can count them without a help window or a
  // web server.
  virtual void HelpTopicsItemClick();
  virtual void HomePage1Click();
  virtual void AboutItemClick();
  // First step of FormActivate: help contexts and the help file.
  virtual void ActivateHelp();
  // Last step of FormActivate; never raises.
  virtual void VersionCheck();

  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void createControls();
  void createMenus();
  void createDialogs();
  void connectSignals();

  // A handler run from a signal: run-time errors go to the error box.
  template <void (TDistributionForm::*Handler)()>
  void Run();

  void AppendLogLine(const QString& line);
  calculator::FieldTexts FieldTexts() const;
  void ArrangeFields();
  void SetField(int index, const char* caption, const char* text);
  void UpdateRadioFocus();
  bool IsWindowShortcut(const QKeyEvent& key) const;
  QRadioButton* Radio(calculator::Function function) const;
  THelpViewer& Viewer();
  int MenuHelpContext(const QMenu& menu) const;
  void ContextHelp(int context);

  TPlatform& platform_;
  // The function of the checked radio button.
  calculator::Function selected_ = calculator::Function::Normal;
  const std::string versionHost_;
  http::THttpClient IdHTTP1;

  // Controls, by their designed names.
  QWidget* client_ = nullptr;  // the client area below the menu bar
  QFrame* Bevel = nullptr;
  QFrame* Panel1 = nullptr;
  QButtonGroup* functionGroup_ = nullptr;  // the radio buttons; ids index Functions()
  QPushButton* ComputeBtn = nullptr;
  std::array<QLabel*, calculator::kFieldCount> labels_{};    // Label_1 .. Label_4
  std::array<QLineEdit*, calculator::kFieldCount> edits_{};  // Edit_1 .. Edit_4
  QCheckBox* InversCheckBox = nullptr;
  QPlainTextEdit* Memo = nullptr;

  QMenuBar* MainMenu1 = nullptr;
  QMenu* FileMenu = nullptr;
  QAction* SaveAsItem = nullptr;
  QAction* PrintSetupItem = nullptr;
  QAction* PrintItem = nullptr;
  QAction* N1 = nullptr;
  QAction* ExitItem = nullptr;
  QMenu* EditMenu = nullptr;
  QAction* CopyItem = nullptr;
  QAction* SelectAllItem = nullptr;
  QAction* Clear = nullptr;
  QAction* N2 = nullptr;
  QAction* FontItem = nullptr;
  QMenu* HelpMenu = nullptr;
  QAction* HelpTopicsItem = nullptr;
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
  // Whether the next WindowActivate is an activation of the program's
  // focused window (see event()).
  bool activateOnReturn_ = true;
};

}  // namespace window
