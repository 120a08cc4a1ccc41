#include "window/DistributionForm.h"

#include <QAction>
#include <QApplication>
#include <QBoxLayout>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDateTime>
#include <QDockWidget>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFrame>
#include <QFutureWatcher>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QStatusBar>
#include <QTextBlock>
#include <QTextDocumentFragment>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "calculator/ErrorHints.h"
#include "calculator/FieldParsing.h"
#include "window/AboutBox.h"
#include "window/Application.h"
#include "window/ComputeGlyph.h"
#include "window/DetailsPane.h"
#include "window/Errors.h"
#include "window/FunctionChooser.h"
#include "window/HelpViewer.h"
#include "window/LogFile.h"
#include "window/LogPrinting.h"
#include "window/Obfuscated.h"
#include "window/Platform.h"
#include "window/PlotPane.h"
#include "window/SettingsDialog.h"
#include "window/TableWindow.h"

namespace window {

using calculator::Function;
using calculator::kSlotCount;
using calculator::Mode;

namespace {

// Sizes in device-independent pixels (96 dpi).  The window's size before it
// is first maximized; the controls' font; the margins and gaps of the
// arrangement: the function chooser at the left, Compute and two columns of
// labelled fields beside it, the log below.
constexpr QRect kRestoredGeometry{199, 195, 648, 488};
constexpr int kFontPixels = 13;
constexpr QMargins kControlsMargins{8, 14, 8, 8};
constexpr int kPanelGap = 7;
constexpr int kFieldIndent = 16;
constexpr int kLabelGap = 4;
constexpr int kRowGap = 14;
constexpr int kColumnGap = 15;
constexpr int kMemoLeft = 8;
constexpr int kBevelHeight = 2;
constexpr int kEditMinWidth = 153;
constexpr int kEditMaxWidth = 320;
// The log shows at least this many lines at the window's smallest.
constexpr int kMemoMinLines = 5;
constexpr QSize kGlyphSize{16, 16};

// The tint of an invalid field: the palette's base colour mixed with this
// red, in this proportion, so that it shows on light and dark palettes.
constexpr QRgb kErrorRed = 0xffd32f2f;
constexpr qreal kErrorTint = 0.35;

constexpr char kCaption[] = "Probex";
constexpr char kInitialSaveName[] = "table.txt";
constexpr char kHelpFileName[] = "Probex.html";
constexpr char kNewVersionTitle[] = "Information";
constexpr char kReplaceTitle[] = "Confirm Save As";
constexpr char kPrintTimeFormat[] = "yyyy-MM-dd HH:mm";

// The clipboard takes the platform's line ends.
#ifdef Q_OS_WIN
constexpr char kClipboardLineEnd[] = "\r\n";
#else
constexpr char kClipboardLineEnd[] = "\n";
#endif

constexpr int kFortyTwo = 42;
constexpr int kFortyTwoFields = 4;

QString FromModel(const std::string& text) {
  return QString::fromStdString(text);
}

QColor Mix(const QColor& a, const QColor& b, qreal share) {
  return QColor::fromRgbF(a.redF() + (b.redF() - a.redF()) * share,
                          a.greenF() + (b.greenF() - a.greenF()) * share,
                          a.blueF() + (b.blueF() - a.blueF()) * share);
}

// A label over its field, the field indented.
QLayout* FieldPair(QWidget* label, QWidget* field) {
  auto* indented = new QHBoxLayout;
  indented->addSpacing(kFieldIndent);
  indented->addWidget(field);
  auto* pair = new QVBoxLayout;
  pair->setSpacing(kLabelGap);
  pair->addWidget(label);
  pair->addLayout(indented);
  return pair;
}

// The length of the longest line of `text`.
qsizetype LongestLine(const QString& text) {
  qsizetype longest = 0;
  for (qsizetype start = 0; start <= text.size();) {
    qsizetype end = text.indexOf(QLatin1Char('\n'), start);
    if (end < 0) end = text.size();
    longest = std::max(longest, end - start);
    start = end + 1;
  }
  return longest;
}

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
}

void TDistributionForm::SetAboutBox(TAboutBox* aboutBox) {
  aboutBox_ = aboutBox;
  if (aboutBox_ != nullptr) aboutBox_->SetMainWindow(this);
}

QString TDistributionForm::FortyTwoNotice() {
  return QStringLiteral(
      "Forty-two in each field: you found the answer. Thank you for computing with Probex, and "
      "may all your tails be as thin as you like!");
}

void TDistributionForm::createControls() {
  setObjectName(QStringLiteral("DistributionForm"));
  setWindowTitle(QString::fromLatin1(kCaption));
  setGeometry(kRestoredGeometry);

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

  Panel1 = new TFunctionChooser(calculator::Functions(), client_);
  Panel1->setObjectName(QStringLiteral("Panel1"));
  Panel1->Select(selected_);

  ComputeBtn = new QPushButton(ComputeGlyph(palette()), QStringLiteral("C&ompute"), client_);
  ComputeBtn->setObjectName(QStringLiteral("ComputeBtn"));
  ComputeBtn->setIconSize(kGlyphSize);
  ComputeBtn->setAutoDefault(false);

  for (int i = 0; i < kSlotCount; ++i) {
    const QString number = QString::number(i + 1);
    auto* label = new QLabel(client_);
    label->setObjectName(QStringLiteral("Label_") + number);
    label->setTextFormat(Qt::PlainText);
    auto* edit = new QLineEdit(client_);
    edit->setObjectName(QStringLiteral("Edit_") + number);
    edit->setMinimumWidth(kEditMinWidth);
    edit->setMaximumWidth(kEditMaxWidth);
    edit->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    // Any length: parsing refuses what no number can be, and a cut text
    // would compute another number than the one given.
    edit->setMaxLength(std::numeric_limits<int>::max());
    // Screen readers name the field after its label.
    label->setBuddy(edit);
    // A hidden pair keeps its place, so that no field moves when the
    // function changes.
    for (QWidget* w : {static_cast<QWidget*>(label), static_cast<QWidget*>(edit)}) {
      QSizePolicy policy = w->sizePolicy();
      policy.setRetainSizeWhenHidden(true);
      w->setSizePolicy(policy);
    }
    labels_[i] = label;
    edits_[i] = edit;
  }

  // The question options: at most one of inverse and between is checked
  // (neither: the tails at the x-value); the standard deviation option
  // shows for a function with a field that has that reading.
  const auto option = [this](const char* caption, const char* name) {
    auto* box = new QCheckBox(QString::fromUtf8(caption), client_);
    box->setObjectName(QString::fromLatin1(name));
    QSizePolicy keepPlace = box->sizePolicy();
    keepPlace.setRetainSizeWhenHidden(true);
    box->setSizePolicy(keepPlace);
    return box;
  };
  InversCheckBox = option("In&verse Distribution", "InversCheckBox");
  BetweenCheckBox = option("Between A an&d B", "BetweenCheckBox");
  SdCheckBox = option("&Standard deviation", "SdCheckBox");
  BetweenCheckBox->setAccessibleDescription(
      QStringLiteral("The probability between the bounds A and B and outside them"));
  SdCheckBox->setAccessibleDescription(
      QStringLiteral("Type the standard deviation instead of the variance"));

  Memo = new QPlainTextEdit(client_);
  Memo->setObjectName(QStringLiteral("Memo"));
  Memo->setAccessibleName(QStringLiteral("Results log"));
  Memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  Memo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  Memo->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  // The columns of the result lines align in a fixed-pitch font.
  Memo->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  // Tab leaves the log and never enters it; a click still does.
  Memo->setTabChangesFocus(true);
  Memo->setFocusPolicy(Qt::ClickFocus);
  Memo->setMinimumHeight(Memo->fontMetrics().lineSpacing() * kMemoMinLines +
                         2 * Memo->frameWidth());

  auto* controls = new QHBoxLayout;
  controls->setContentsMargins(kControlsMargins);
  controls->setSpacing(kPanelGap);
  controls->addWidget(Panel1, 0, Qt::AlignTop);
  // The list keeps its smallest height (it scrolls); extra room goes to the log.
  Panel1->setSizePolicy(Panel1->sizePolicy().horizontalPolicy(), QSizePolicy::Maximum);
  Panel1->setMaximumHeight(Panel1->minimumSizeHint().height());
  controls->addLayout(createFieldsLayout(), 2);
  controls->addStretch(1);
  auto* memoRow = new QHBoxLayout;
  memoRow->setContentsMargins(kMemoLeft, 0, 0, 0);
  memoRow->addWidget(Memo);
  auto* client = new QVBoxLayout(client_);
  client->setContentsMargins(0, 0, 0, 0);
  client->setSpacing(0);
  client->addWidget(Bevel);
  client->addLayout(controls);
  client->addLayout(memoRow, 1);

  // Tab order: the chooser's checked radio button (the others are reached
  // with the arrow keys), Compute, the fields, the inverse option.
  QList<QWidget*> chain = Panel1->Buttons();
  chain << ComputeBtn << edits_[0] << edits_[1] << SdCheckBox << edits_[2] << edits_[3] << edits_[4]
        << InversCheckBox << BetweenCheckBox;
  for (qsizetype i = 0; i + 1 < chain.size(); ++i) setTabOrder(chain[i], chain[i + 1]);

  statusBar()->setObjectName(QStringLiteral("StatusBar"));
}

// Compute above two columns: Edit_1 to Edit_3 at the left, Edit_4 and the
// inverse option (level with Edit_2) at the right.
QLayout* TDistributionForm::createFieldsLayout() {
  auto* grid = new QGridLayout;
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setHorizontalSpacing(kColumnGap);
  grid->setVerticalSpacing(kRowGap);
  grid->addWidget(ComputeBtn, 0, 0, Qt::AlignLeft);
  grid->addLayout(FieldPair(labels_[0], edits_[0]), 1, 0);
  grid->addLayout(FieldPair(labels_[1], edits_[1]), 2, 0);
  grid->addLayout(FieldPair(labels_[2], edits_[2]), 3, 0);
  grid->addLayout(FieldPair(labels_[3], edits_[3]), 1, 1);
  grid->addLayout(FieldPair(labels_[4], edits_[4]), 2, 1);
  const auto indented = [](std::initializer_list<QWidget*> widgets) {
    auto* row = new QHBoxLayout;
    row->addSpacing(kFieldIndent);
    for (QWidget* w : widgets) row->addWidget(w);
    row->addStretch(1);
    return row;
  };
  grid->addLayout(indented({InversCheckBox}), 3, 1, Qt::AlignBottom);
  grid->addLayout(indented({BetweenCheckBox}), 4, 1, Qt::AlignTop);
  grid->addLayout(indented({SdCheckBox}), 4, 0, Qt::AlignTop);
  grid->setRowStretch(5, 1);
  return grid;
}

void TDistributionForm::createPanes() {
  const auto addDock = [this](const char* name, const QString& title, QWidget* pane,
                              const char* itemName) {
    auto* dock = new QDockWidget(title, this);
    dock->setObjectName(QString::fromLatin1(name));  // saveState finds docks by name
    dock->setWidget(pane);
    addDockWidget(Qt::RightDockWidgetArea, dock);
    QAction* item = dock->toggleViewAction();
    item->setObjectName(QString::fromLatin1(itemName));
    ViewMenu->addAction(item);
    return dock;
  };
  detailsPane_ = new TDetailsPane;
  plotPane_ = new TPlotPane(platform_);
  QDockWidget* details =
      addDock("DetailsDock", QStringLiteral("Details"), detailsPane_, "DetailsPaneItem");
  QDockWidget* plot = addDock("PlotDock", QStringLiteral("Plot"), plotPane_, "PlotPaneItem");
  splitDockWidget(details, plot, Qt::Vertical);
  // Tab keeps going round the calculator's controls, as before the panes;
  // a click still enters them.
  for (QWidget* pane : {static_cast<QWidget*>(detailsPane_), static_cast<QWidget*>(plotPane_)})
    for (QWidget* child : pane->findChildren<QWidget*>())
      if (child->focusPolicy() & Qt::TabFocus) child->setFocusPolicy(Qt::ClickFocus);

  FileMenu->insertAction(N1, plotPane_->SavePlotAction());
  FileMenu->insertAction(N1, plotPane_->CopyPlotAction());

  TableItem = ToolsMenu->addAction(QStringLiteral("&Table of Values..."));
  TableItem->setObjectName(QStringLiteral("TableItem"));
  TableItem->setShortcut(Qt::CTRL | Qt::Key_T);
  ToolsMenu->insertAction(SettingsItem, TableItem);
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
  HelpTopicsItem =
      addItem(HelpMenu, "HelpTopicsItem", QStringLiteral("&Help Topics"), QKeySequence(Qt::Key_F1));
  HomePage1 = addItem(HelpMenu, "HomePage1", QStringLiteral("Home &Page"));
  AboutItem = addItem(HelpMenu, "AboutItem", QStringLiteral("&About Probex"));
}

void TDistributionForm::createDialogs() {
  saveFileName_ = QString::fromLatin1(kInitialSaveName);
  saveFilters_ = {QStringLiteral("Text Files (*.txt)"), QStringLiteral("All (*.*)")};
  printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  const qreal margin = kDefaultMarginMillimetres;
  printer_->setPageMargins(QMarginsF(margin, margin, margin, margin), QPageLayout::Millimeter);
  logSaveTimer_ = new QTimer(this);
  logSaveTimer_->setSingleShot(true);
  logSaveTimer_->setInterval(kLogSaveDelayMs);
  versionWatcher_ = new QFutureWatcher<TVersionAnswer>(this);
}

void TDistributionForm::connectSignals() {
  using T = TDistributionForm;
  connect(ComputeBtn, &QPushButton::clicked, this, &T::Run<&T::ComputeBtnClick>);
  ComputeBtn->installEventFilter(this);
  for (int i = 0; i < kSlotCount; ++i) {
    QLineEdit* edit = edits_[i];
    // Enter in a field computes, as the button does.
    connect(edit, &QLineEdit::returnPressed, this, &T::Run<&T::ComputeBtnClick>);
    // A field the user edits is no longer marked invalid.
    connect(edit, &QLineEdit::textEdited, this, [this, i] { MarkField(i, QString()); });
    // Some of the window's shortcuts come before the field's own keys.
    edit->installEventFilter(this);
  }
  Memo->installEventFilter(this);
  connect(Memo->document(), &QTextDocument::contentsChanged, this, &T::ScheduleLogSave);
  connect(Memo->document(), &QTextDocument::contentsChange, this,
          [this](int from, int, int added) { FitWrapToLines(from, added); });
  connect(logSaveTimer_, &QTimer::timeout, this, &T::SaveLogNow);
  connect(Memo, &QPlainTextEdit::undoAvailable, UndoItem, &QAction::setEnabled);
  connect(versionWatcher_, &QFutureWatcherBase::finished, this, &T::VersionAnswered);

  connect(InversCheckBox, &QCheckBox::toggled, this, &T::Run<&T::InversCheckBoxClick>);
  connect(BetweenCheckBox, &QCheckBox::toggled, this, &T::Run<&T::BetweenCheckBoxClick>);
  connect(SdCheckBox, &QCheckBox::toggled, this, &T::Run<&T::SdCheckBoxClick>);
  // The handler hears a button becoming checked (by click, arrow key, access
  // key or the find field), never an already checked button clicked again.
  connect(Panel1, &TFunctionChooser::FunctionChosen, this, [this](Function function) {
    RunCommand([this, function] { FunctionChosen(function); });
  });

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
  connect(SettingsItem, &QAction::triggered, this, &T::Run<&T::SettingsItemClick>);
  connect(TableItem, &QAction::triggered, this, &T::Run<&T::TableItemClick>);
  connect(this, &T::resultComputed, detailsPane_, &TDetailsPane::ShowResult);
  connect(this, &T::resultComputed, plotPane_, &TPlotPane::ShowResult);
  connect(HelpTopicsItem, &QAction::triggered, this, &T::Run<&T::HelpTopicsItemClick>);
  connect(HomePage1, &QAction::triggered, this, &T::Run<&T::HomePage1Click>);
  connect(AboutItem, &QAction::triggered, this, &T::Run<&T::AboutItemClick>);
}

// The function, its fields and the log's font as the last run left them.
void TDistributionForm::restoreSession() {
  keepLog_ = session_.KeepLog();
  selected_ = session_.SelectedFunction().value_or(calculator::FirstFunction());
  // The chooser shows the function; ArrangeFields below fills its fields.
  Panel1->Select(selected_);
  ArrangeFields();
  if (const std::optional<QFont> font = session_.LogFont()) Memo->setFont(*font);
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
  QStringList lines = Memo->toPlainText().split(QLatin1Char('\n'));
  // After a final line end there is no further line, as in a text file.
  if (lines.last().isEmpty()) lines.removeLast();
  return lines;
}

// One more line at the end of the log.  An empty last line (the user ended
// the log with Enter) takes the text itself.  The caret goes to the end of
// the new line, so the log shows it.
void TDistributionForm::AppendLogLine(const QString& line) {
  QTextCursor cursor(Memo->document());
  cursor.movePosition(QTextCursor::End);
  if (!cursor.block().text().isEmpty()) cursor.insertBlock();
  cursor.insertText(line);
  Memo->setTextCursor(cursor);
  Memo->ensureCursorVisible();
}

// The field texts; where the locale writes a decimal comma, a comma in a
// text without a point reads as the point ("1,5" is 1.5).
calculator::FieldTexts TDistributionForm::CurrentFieldTexts() const {
  const bool decimalComma = locale().decimalPoint() == QLatin1Char(',');
  calculator::FieldTexts texts;
  for (int i = 0; i < kSlotCount; ++i) {
    QString text = edits_[i]->text();
    if (decimalComma && !text.contains(QLatin1Char('.')) && text.count(QLatin1Char(',')) == 1)
      text.replace(QLatin1Char(','), QLatin1Char('.'));
    texts[i] = text.toStdString();
  }
  return texts;
}

Mode TDistributionForm::CurrentMode() const {
  const calculator::FunctionAbout& about = calculator::AboutFunction(selected_);
  if (about.HasInverse() && InversCheckBox->isChecked()) return Mode::Inverse;
  if (about.modes.Has(Mode::Interval) && BetweenCheckBox->isChecked()) return Mode::Interval;
  return Mode::Forward;
}

namespace {

// The field of a function that has another reading, where it has one.
const calculator::FieldAbout* RootField(const calculator::FunctionAbout& about) {
  for (const calculator::FieldAbout& field : about.fields)
    if (field.root != nullptr) return &field;
  return nullptr;
}

}  // namespace

calculator::Readings TDistributionForm::CurrentReadings() const {
  const calculator::FieldAbout* field = RootField(calculator::AboutFunction(selected_));
  if (field == nullptr || !SdCheckBox->isChecked()) return {};
  return calculator::Readings::RootAt(field->slot);
}

// One label/edit pair: a null caption hides it.  setText would reset the
// cursor and the undo history of an unchanged field, so an equal text is
// left alone.
void TDistributionForm::SetField(int index, const char* caption, const char* text) {
  const bool visible = caption != nullptr;
  if (visible) {
    labels_[index]->setText(QString::fromUtf8(caption));
    const QString fieldText = QString::fromUtf8(text);
    if (edits_[index]->text() != fieldText) edits_[index]->setText(fieldText);
  }
  labels_[index]->setVisible(visible);
  edits_[index]->setVisible(visible);
}

// The selected function's captions, with the texts and the options the
// user left it with, or its defaults and the options unchecked.  An option
// the function does not offer is hidden and keeps its state.
void TDistributionForm::ArrangeFields() {
  const calculator::FunctionAbout& about = calculator::AboutFunction(selected_);
  const std::optional<TFieldMemory> memory = session_.Fields(selected_);
  const Mode remembered = memory ? memory->mode : Mode::Forward;
  const Mode mode = about.modes.Has(remembered) ? remembered : Mode::Forward;
  const calculator::FieldAbout* root = RootField(about);
  InversCheckBox->setVisible(about.HasInverse());
  BetweenCheckBox->setVisible(about.modes.Has(Mode::Interval));
  SdCheckBox->setVisible(root != nullptr);
  for (const auto& [box, checked] :
       {std::pair{InversCheckBox, mode == Mode::Inverse},
        std::pair{BetweenCheckBox, mode == Mode::Interval},
        std::pair{SdCheckBox, root != nullptr && memory && memory->readings.Root(root->slot)}}) {
    if (!box->isVisible() && !checked) continue;
    const QSignalBlocker blocker(box);
    box->setChecked(checked);
  }
  ShowFields(memory ? &memory->texts : nullptr);
}

// The fields of the current mode and readings: the remembered texts where
// there are some, the defaults of the mode otherwise.
void TDistributionForm::ShowFields(const calculator::FieldTexts* texts) {
  const calculator::FunctionAbout& about = calculator::AboutFunction(selected_);
  const Mode mode = CurrentMode();
  const std::vector<calculator::FieldAbout> fields = calculator::FieldsIn(about, mode);
  for (int i = 0; i < kSlotCount; ++i) {
    MarkField(i, QString());
    const auto field = std::find_if(fields.begin(), fields.end(),
                                    [i](const calculator::FieldAbout& f) { return f.slot == i; });
    if (field == fields.end()) {
      SetField(i, nullptr, nullptr);
      continue;
    }
    const bool remembered = texts != nullptr && !(*texts)[i].empty();
    const char* text =
        remembered ? (*texts)[i].c_str() : calculator::FieldDefault(about, *field, mode);
    SetField(i, calculator::FieldCaption(about, *field, mode, CurrentReadings()), text);
  }
}

void TDistributionForm::RememberFields() {
  calculator::FieldTexts texts;
  for (int i = 0; i < kSlotCount; ++i) texts[i] = edits_[i]->text().toStdString();
  session_.SetFields(selected_, {texts, CurrentMode(), CurrentReadings()});
}

void TDistributionForm::MarkField(int index, const QString& rule) {
  if (marks_[index] == rule) return;
  marks_[index] = rule;
  ShowMark(index);
  ShowFirstMark();
}

// A marked field is tinted with the palette's base mixed with red, and says
// its rule as a tool tip and to screen readers.
void TDistributionForm::ShowMark(int index) {
  QLineEdit* edit = edits_[index];
  const QString& rule = marks_[index];
  if (rule.isEmpty()) {
    edit->setPalette(QPalette());
  } else {
    // The window's palette: a palette change reaches the window before its
    // controls.
    QPalette palette = this->palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
      palette.setColor(group, QPalette::Base,
                       Mix(palette.color(group, QPalette::Base), QColor(kErrorRed), kErrorTint));
    edit->setPalette(palette);
  }
  const QString sentence = rule.isEmpty() ? QString() : labels_[index]->text() + ": " + rule;
  edit->setToolTip(sentence);
  edit->setAccessibleDescription(sentence);
  edit->setProperty("invalid", !rule.isEmpty());
}

// "Degrees of freedom: a whole number from 1 to 1073741823": the rule of the
// first marked field, in field order.
void TDistributionForm::ShowFirstMark() {
  for (int i = 0; i < kSlotCount; ++i) {
    if (marks_[i].isEmpty()) continue;
    statusBar()->showMessage(edits_[i]->toolTip());
    return;
  }
  statusBar()->clearMessage();
}

void TDistributionForm::ComputeBtnClick() {
  const calculator::FieldTexts texts = CurrentFieldTexts();
  calculator::Result result;
  {
    const TBusyPointer busy;
    result = calculator::Compute(selected_, texts, CurrentMode(), CurrentReadings());
  }
  RememberFields();
  for (int i = 0; i < kSlotCount; ++i) MarkField(i, QString());
  if (result.Ok())
    for (const std::string& line : result.lines) AppendLogLine(FromModel(line));
  emit resultComputed(result);
  if (!result.Ok()) ShowFailure(result, texts);
}

void TDistributionForm::ShowFailure(const calculator::Result& result,
                                    const calculator::FieldTexts& texts) {
  if (result.outcome == calculator::Outcome::Error) {
    std::string text = calculator::ErrorBoxText(result.message);
    if (const std::optional<std::string> hint = calculator::ErrorHint(result, texts))
      text += "\n" + *hint;
    throw EComputeError(text);
  }
  for (const calculator::FieldFault& fault : result.faults)
    MarkField(fault.index, FromModel(fault.Message()));
  QLineEdit* invalid = edits_[*result.FocusField()];
  invalid->setFocus(Qt::OtherFocusReason);
  // Entering a field selects its text, so typing replaces it.
  invalid->selectAll();
}

// The x-value's field (and the bound B) change caption and default with
// the question; the two question options exclude each other.
void TDistributionForm::InversCheckBoxClick() {
  if (InversCheckBox->isChecked()) {
    const QSignalBlocker blocker(BetweenCheckBox);
    BetweenCheckBox->setChecked(false);
  }
  ShowQuestionFields();
}

void TDistributionForm::BetweenCheckBoxClick() {
  if (BetweenCheckBox->isChecked()) {
    const QSignalBlocker blocker(InversCheckBox);
    InversCheckBox->setChecked(false);
  }
  ShowQuestionFields();
}

// The x-value's field and the bound B take the defaults of the question
// now asked; the parameters keep what was typed.
void TDistributionForm::ShowQuestionFields() {
  const calculator::FunctionAbout& about = calculator::AboutFunction(selected_);
  calculator::FieldTexts texts;
  for (int i = 0; i < kSlotCount; ++i) texts[i] = edits_[i]->text().toStdString();
  if (const calculator::FieldAbout* x = about.XField()) texts[x->slot].clear();
  texts[calculator::kEdit5].clear();
  ShowFields(&texts);
}

// Switching between the variance and the standard deviation keeps the
// distribution: the text becomes the other reading of the same value.
void TDistributionForm::SdCheckBoxClick() {
  const calculator::FieldAbout* root = RootField(calculator::AboutFunction(selected_));
  if (root == nullptr) return;
  QLineEdit* edit = edits_[root->slot];
  bool ok = false;
  const double value = edit->text().trimmed().toDouble(&ok);
  if (ok && value > 0) {
    const double other = SdCheckBox->isChecked() ? std::sqrt(value) : value * value;
    edit->setText(QString::number(other, 'g', 15));
  }
  calculator::FieldTexts texts;
  for (int i = 0; i < kSlotCount; ++i) texts[i] = edits_[i]->text().toStdString();
  ShowFields(&texts);
}

void TDistributionForm::FunctionChosen(Function function) {
  if (function == selected_) return;
  RememberFields();
  selected_ = function;
  session_.SetSelectedFunction(function);
  ArrangeFields();
}

void TDistributionForm::ActivateHelp() {
  setProperty(kHelpContextProperty, kMainHelpContext);
  for (QObject* entry : std::initializer_list<QObject*>{
           FileMenu, EditMenu, HelpMenu, SaveAsItem, PrintItem, N1, ExitItem, CopyItem,
           SelectAllItem, FontItem, HelpTopicsItem, AboutItem})
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

THelpViewer& TDistributionForm::Viewer() {
  if (!helpViewer_) helpViewer_ = std::make_unique<THelpViewer>();
  return *helpViewer_;
}

void TDistributionForm::HelpTopicsItemClick() {
  Viewer().ShowTopic(TApplication::HelpFile(), QString::fromLatin1(kContentsTopic));
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

// The fields keep what the user typed: they were arranged when the window
// was made, and an activation leaves them alone.
void TDistributionForm::FormActivate() {
  ActivateHelp();
  setWindowTitle(QString::fromLatin1(kCaption));
  if (firstActivation_) {
    firstActivation_ = false;
    RestoreLog();
  }
  VersionCheck();
}

// A saved log that cannot be read is left alone: the window says so and keeps
// this run's results only in the pane (Save As still writes them).
void TDistributionForm::RestoreLog() {
  TSession::TSavedLog saved;
  if (keepLog_) saved = session_.LoadLog();
  // Before the text: a layout at word boundaries would already be slow.
  if (LongestLine(saved.text) > kLongestWordWrappedLine)
    Memo->setWordWrapMode(QTextOption::WrapAnywhere);
  Memo->setPlainText(saved.text);
  logWritable_ = saved.writable;
  if (!saved.problem.isEmpty()) statusBar()->showMessage(saved.problem);
  logRestored_ = true;
  Memo->moveCursor(QTextCursor::End);
  Memo->ensureCursorVisible();
}

// Qt lays out a line with a word longer than the log is wide in time that
// grows with the square of the word's length (15 s for 250 KB): its search
// for a word boundary starts again for each piece.  Once the log holds a
// line longer than kLongestWordWrappedLine, lines wrap anywhere instead,
// which takes linear time; the text itself is unchanged.
void TDistributionForm::FitWrapToLines(int from, int added) {
  if (added < kLongestWordWrappedLine || Memo->wordWrapMode() == QTextOption::WrapAnywhere) return;
  const QTextDocument* document = Memo->document();
  const QTextBlock last = document->findBlock(from + added);
  for (QTextBlock block = document->findBlock(from); block.isValid(); block = block.next()) {
    if (block.length() > kLongestWordWrappedLine) {
      Memo->setWordWrapMode(QTextOption::WrapAnywhere);
      return;
    }
    if (block == last) break;
  }
}

void TDistributionForm::ScheduleLogSave() {
  if (logRestored_ && keepLog_) logSaveTimer_->start();
}

// A log that cannot be kept is said in the status bar; the window carries on.
void TDistributionForm::SaveLogNow() {
  logSaveTimer_->stop();
  if (!logRestored_ || !keepLog_ || !logWritable_) return;
  try {
    session_.SaveLog(Memo->toPlainText());
  } catch (const EWindowError& error) {
    statusBar()->showMessage(QString::fromStdString(error.what()));
  }
}

void TDistributionForm::SetKeepLog(bool keep) {
  keepLog_ = keep;
  session_.SetKeepLog(keep);
  if (keep) {
    SaveLogNow();
  } else if (logWritable_) {
    logSaveTimer_->stop();
    session_.RemoveLog();
  }
}

void TDistributionForm::SaveSession() {
  RememberFields();
  session_.SetGeometry(saveGeometry());
  session_.SetDockState(saveState());
  if (logSaveTimer_->isActive()) SaveLogNow();
}

void TDistributionForm::closeEvent(QCloseEvent* event) {
  SaveSession();
  QMainWindow::closeEvent(event);
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
  const QFont font = PrintFont(Memo->font(), scale);
  const QStringList lines = LogLines();
  const bool withPlot =
      plotPane_->HasPlot() && platform_.AskYesNo(this, QString::fromLatin1(kCaption),
                                                 QStringLiteral("Print the plot below the log?"));
  const QString title =
      QString::fromLatin1(kCaption) + QStringLiteral(", ") +
      QDateTime::currentDateTime().toString(QString::fromLatin1(kPrintTimeFormat));
  for (int copy = 0; copy < *copies; ++copy) {
    QPainter painter;
    StartPrintJob(platform_, painter, *printer_);
    PrintLines(painter, *printer_, font, lines, title, withPlot ? plotPane_ : nullptr);
    platform_.EndPrintJob(painter);
  }
}

void TDistributionForm::ExitItemClick() {
  close();
}

void TDistributionForm::UndoItemClick() {
  Memo->undo();
}

void TDistributionForm::CopyItemClick() {
  // The four fields of every function (the bound B is a field of one question).
  bool allFortyTwo = true;
  for (int i = 0; i < kFortyTwoFields; ++i)
    if (calculator::ParseInteger(edits_[i]->text().toStdString()).value != kFortyTwo)
      allFortyTwo = false;
  if (allFortyTwo) setWindowTitle(FortyTwoNotice());

  if (!Memo->textCursor().hasSelection()) {
    Memo->setFocus(Qt::OtherFocusReason);
    Memo->selectAll();
  }
  QTextCursor cursor = Memo->textCursor();
  QString text = cursor.selection().toPlainText();
  text.replace(QLatin1Char('\n'), QString::fromLatin1(kClipboardLineEnd));
  platform_.SetClipboardText(text);
  cursor.setPosition(cursor.selectionStart());
  Memo->setTextCursor(cursor);
}

void TDistributionForm::SelectAllItemClick() {
  Memo->setFocus(Qt::OtherFocusReason);
  Memo->selectAll();
}

// One step of the log's undo history, so that Edit > Undo brings it back.
void TDistributionForm::ClearClick() {
  QTextCursor cursor(Memo->document());
  cursor.select(QTextCursor::Document);
  cursor.removeSelectedText();
}

void TDistributionForm::FontItemClick() {
  const std::optional<QFont> font = platform_.ChooseFont(this, Memo->font());
  if (!font) return;
  Memo->setFont(*font);
  session_.SetLogFont(*font);
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
  dialog.SetKeepLog(keepLog_);
  if (platform_.RunDialog(dialog)) SetKeepLog(dialog.KeepLog());
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

// The glyph and the marks of invalid fields follow a new palette.  The
// window hears of it before its controls, so its own palette is the new one.
void TDistributionForm::changeEvent(QEvent* event) {
  if (event->type() == QEvent::PaletteChange && ComputeBtn != nullptr) {
    ComputeBtn->setIcon(ComputeGlyph(palette()));
    for (int i = 0; i < kSlotCount; ++i) ShowMark(i);
  }
  QMainWindow::changeEvent(event);
}

// Keys act where the focus is: a field takes its own editing keys (Ctrl+A,
// Ctrl+C on a selection, Ctrl+X, Ctrl+V, Ctrl+Z).  The window keeps Exit and
// Help Topics everywhere, Copy in a field without a selection (it copies the
// log, as the menu does), and Copy and Select All in the log, whose own
// would bypass the menu's commands.
bool TDistributionForm::IsWindowShortcut(const QObject* watched, const QKeyEvent& key) const {
  const QKeySequence pressed(key.keyCombination());
  if (ExitItem->shortcut() == pressed || HelpTopicsItem->shortcut() == pressed) return true;
  if (watched == Memo)
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
    // F1 in an open menu is context help, not the shortcut of Help Topics:
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
  if (watched == ComputeBtn && event->type() == QEvent::KeyPress &&
      (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
    // Return presses a focused Compute, as Space does.
    ComputeBtn->click();
    return true;
  }
  return QMainWindow::eventFilter(watched, event);
}

}  // namespace window
