// The main window's menus (DistributionForm.h) and the commands of their
// entries: the log's File and Edit commands, the Tools and the Help.
#include <QAction>
#include <QDateTime>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>

#include "calculator/FieldParsing.h"
#include "window/AboutBox.h"
#include "window/Application.h"
#include "window/DistributionForm.h"
#include "window/Errors.h"
#include "window/FieldForm.h"
#include "window/HelpViewer.h"
#include "window/LogFile.h"
#include "window/LogPrinting.h"
#include "window/Obfuscated.h"
#include "window/Platform.h"
#include "window/PlotPane.h"
#include "window/ResultsLog.h"
#include "window/SettingsDialog.h"
#include "window/TableWindow.h"

namespace window {

namespace {

constexpr char kReplaceTitle[] = "Confirm Save As";
constexpr char kPrintTimeFormat[] = "yyyy-MM-dd HH:mm";

constexpr int kFortyTwo = 42;
constexpr int kFortyTwoFields = 4;

}  // namespace

QString TDistributionForm::FortyTwoNotice() {
  return QStringLiteral(
      "Forty-two in each field: you found the answer. Thank you for computing with Probex, and "
      "may all your tails be as thin as you like!");
}

void TDistributionForm::createMenus() {
  MainMenu1 = menuBar();
  MainMenu1->setObjectName(QStringLiteral("MainMenu1"));

  // Every menu and entry starts with help context 0; the activation gives
  // most of them their context.
  const auto addMenu = [this](const char* name, const QString& caption) {
    QMenu* menu = MainMenu1->addMenu(caption);
    menu->setObjectName(QString::fromLatin1(name));
    menu->setProperty(kHelpContextProperty, 0);
    // F1 inside the open menu asks for context help.
    menu->installEventFilter(this);
    return menu;
  };
  const auto addItem = [](QMenu* menu, const char* name, const QString& caption,
                          const QKeySequence& shortcut = {}) {
    QAction* item = menu->addAction(caption);
    item->setObjectName(QString::fromLatin1(name));
    item->setShortcut(shortcut);
    item->setProperty(kHelpContextProperty, 0);
    return item;
  };
  const auto addSeparator = [](QMenu* menu, const char* name) {
    QAction* separator = menu->addSeparator();
    separator->setObjectName(QString::fromLatin1(name));
    separator->setProperty(kHelpContextProperty, 0);
    return separator;
  };
  setProperty(kHelpContextProperty, 0);

  FileMenu = addMenu("FileMenu", QStringLiteral("F&ile"));
  SaveAsItem = addItem(FileMenu, "SaveAsItem", QStringLiteral("&Save As..."), Qt::CTRL | Qt::Key_S);
  PrintSetupItem = addItem(FileMenu, "PrintSetupItem", QStringLiteral("P&rint Setup..."));
  PrintItem = addItem(FileMenu, "PrintItem", QStringLiteral("&Print..."), Qt::CTRL | Qt::Key_P);
  N1 = addSeparator(FileMenu, "N1");
  ExitItem = addItem(FileMenu, "ExitItem", QStringLiteral("E&xit"), Qt::CTRL | Qt::Key_Q);

  EditMenu = addMenu("EditMenu", QStringLiteral("&Edit"));
  UndoItem = addItem(EditMenu, "UndoItem", QStringLiteral("&Undo"), Qt::CTRL | Qt::Key_Z);
  UndoItem->setEnabled(false);
  N3 = addSeparator(EditMenu, "N3");
  CopyItem = addItem(EditMenu, "CopyItem", QStringLiteral("&Copy"), Qt::CTRL | Qt::Key_C);
  SelectAllItem =
      addItem(EditMenu, "SelectAllItem", QStringLiteral("&Select All"), Qt::CTRL | Qt::Key_A);
  Clear = addItem(EditMenu, "Clear", QStringLiteral("&Delete All"));
  N2 = addSeparator(EditMenu, "N2");
  FontItem = addItem(EditMenu, "FontItem", QStringLiteral("&Font..."));

  // The panes add their toggles here.  The access keys V, T and O belong to
  // the inverse option, the t distribution and Compute.
  ViewMenu = addMenu("ViewMenu", QStringLiteral("Vie&w"));
  StatusBarItem = addItem(ViewMenu, "StatusBarItem", QStringLiteral("&Status Bar"));
  StatusBarItem->setCheckable(true);
  StatusBarItem->setChecked(true);

  ToolsMenu = addMenu("ToolsMenu", QStringLiteral("Too&ls"));
  SettingsItem = addItem(ToolsMenu, "SettingsItem", QStringLiteral("&Settings..."));

  HelpMenu = addMenu("HelpMenu", QStringLiteral("&Help"));
  HelpTopicsItem = addItem(HelpMenu, "HelpTopicsItem", QStringLiteral("&Help Topics"));
  FunctionHelpItem = addItem(HelpMenu, "FunctionHelpItem", QStringLiteral("Help on This &Function"),
                             QKeySequence(Qt::Key_F1));
  HomePage1 = addItem(HelpMenu, "HomePage1", QStringLiteral("Home &Page"));
  AboutItem = addItem(HelpMenu, "AboutItem", QStringLiteral("&About Probex"));
}

THelpViewer& TDistributionForm::Viewer() {
  if (!helpViewer_) helpViewer_ = std::make_unique<THelpViewer>();
  return *helpViewer_;
}

void TDistributionForm::HelpTopicsItemClick() {
  Viewer().ShowTopic(TApplication::HelpFile(), QString::fromLatin1(kContentsTopic));
}

// Each function's section of the help file has its command name as anchor.
void TDistributionForm::FunctionHelpItemClick() {
  Viewer().ShowTopic(TApplication::HelpFile(),
                     QString::fromLatin1(calculator::AboutFunction(selected_).commandName));
}

// The help context of the highlighted entry of an open menu: its own, else
// its menu's, else the window's.
int TDistributionForm::MenuHelpContext(const QMenu& menu) const {
  for (const QObject* holder :
       {static_cast<const QObject*>(menu.activeAction()), static_cast<const QObject*>(&menu),
        static_cast<const QObject*>(this)}) {
    const int context = holder != nullptr ? holder->property(kHelpContextProperty).toInt() : 0;
    if (context != 0) return context;
  }
  return 0;
}

void TDistributionForm::ContextHelp(int context) {
  Viewer().ShowContext(TApplication::HelpFile(), context);
}

void TDistributionForm::HomePage1Click() {
  OpenWebAddress(platform_, this, HomePageAddress());
}

void TDistributionForm::AboutItemClick() {
  if (aboutBox_ == nullptr) return;
  aboutBox_->show();
  aboutBox_->raise();
  aboutBox_->activateWindow();
}

void TDistributionForm::SaveAsItemClick() {
  const std::optional<QString> fileName =
      platform_.GetSaveFileName(this, saveFileName_, saveFilters_);
  if (!fileName) return;
  saveFileName_ = *fileName;
  const QFileInfo target(*fileName);
  if (target.exists() && !target.isDir() &&
      !platform_.AskYesNo(
          this, QString::fromLatin1(kReplaceTitle),
          QStringLiteral("%1 already exists.\nDo you want to replace it?").arg(target.fileName())))
    return;
  SaveLogFile(*fileName, LogLines());
}

void TDistributionForm::PrintSetupItemClick() {
  platform_.PrinterSetup(this, *printer_);
}

void TDistributionForm::PrintItemClick() {
  const long double scale = PrintScale(MeasuringSize(*printer_));
  const std::optional<int> copies = platform_.PrintDialog(this, *printer_);
  if (!copies) return;
  const bool withPlot =
      plotPane_->HasPlot() && platform_.AskYesNo(this, QString::fromLatin1(kCaption),
                                                 QStringLiteral("Print the plot below the log?"));
  const QString title =
      QString::fromLatin1(kCaption) + QStringLiteral(", ") +
      QDateTime::currentDateTime().toString(QString::fromLatin1(kPrintTimeFormat));
  resultsLog_->Print(*printer_, scale, *copies, title, withPlot ? plotPane_ : nullptr);
}

void TDistributionForm::ExitItemClick() {
  close();
}

void TDistributionForm::UndoItemClick() {
  resultsLog_->Undo();
}

void TDistributionForm::CopyItemClick() {
  // The four fields of every function (the bound B is a field of one question).
  bool allFortyTwo = true;
  for (int i = 0; i < kFortyTwoFields; ++i)
    if (calculator::ParseInteger(fieldForm_->Edit(i)->text().toStdString()).value != kFortyTwo)
      allFortyTwo = false;
  if (allFortyTwo) setWindowTitle(FortyTwoNotice());
  resultsLog_->Copy();
}

void TDistributionForm::SelectAllItemClick() {
  resultsLog_->SelectAll();
}

void TDistributionForm::ClearClick() {
  resultsLog_->DeleteAll();
}

void TDistributionForm::FontItemClick() {
  resultsLog_->ChooseFont(this);
}

// The Table of Values is one non-modal window; opened again, it shows the
// function and fields the main window has now.
void TDistributionForm::TableItemClick() {
  if (tableWindow_ == nullptr)
    tableWindow_ = new TTableWindow(platform_, selected_, CurrentFieldTexts(), this);
  else
    tableWindow_->SetFunction(selected_, CurrentFieldTexts());
  tableWindow_->setWindowFlag(Qt::Window);
  tableWindow_->show();
  tableWindow_->raise();
  tableWindow_->activateWindow();
}

void TDistributionForm::SettingsItemClick() {
  TSettingsDialog dialog(this);
  dialog.SetKeepLog(resultsLog_->KeepsLog());
  if (platform_.RunDialog(dialog)) resultsLog_->SetKeep(dialog.KeepLog());
}

}  // namespace window
