#include "window/DistributionForm.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTextBlock>
#include <QTextDocumentFragment>
#include <algorithm>
#include <utility>

#include "calculator/FieldParsing.h"
#include "window/AboutBox.h"
#include "window/Application.h"
#include "window/ComputeGlyph.h"
#include "window/Errors.h"
#include "window/HelpViewer.h"
#include "window/LogFile.h"
#include "window/LogPrinting.h"
#include "window/Obfuscated.h"
#include "window/Platform.h"

namespace window {

using calculator::Function;
using calculator::kFieldCount;

namespace {

// Places in device-independent pixels (96 dpi), inside the client area;
// the radio buttons inside Panel1.
constexpr QRect kRestoredGeometry{199, 195, 648, 488};
constexpr int kFontPixels = 13;
constexpr QRect kPanel1{8, 16, 225, 225};
constexpr QRect kComputeBtn{240, 16, 89, 33};
constexpr std::array<QPoint, kFieldCount> kLabels{{{240, 64}, {240, 128}, {240, 192}, {424, 64}}};
constexpr std::array<QPoint, kFieldCount> kEdits{{{256, 88}, {256, 152}, {256, 216}, {440, 88}}};
constexpr QSize kEditSize{153, 24};
constexpr QRect kInversCheckBox{440, 152, 145, 17};
constexpr QPoint kMemo{8, 256};
constexpr int kBevelHeight = 2;
constexpr int kRadioLeft = 16;
constexpr int kRadioHeight = 17;
// The radio buttons stand one below the other.  The designed widths of the
// first ones; any other button is as wide as its caption needs.
constexpr int kRadioTop = 8;
constexpr int kRadioStep = 24;
constexpr int kRadioMinWidth = 113;
struct RadioWidth {
  const char* name;
  int width;
};
constexpr RadioWidth kRadioWidths[] = {
    {"NormalRadio", 161},  {"ChiSquareRadio", 169}, {"BinomialRadio", 161},
    {"PoissonRadio", 169}, {"HyperRadio", 201},     {"FactorialRadio", 193},
    {"BinoCoefRadio", 177},
};

int DesignedRadioWidth(const char* name) {
  for (const RadioWidth& r : kRadioWidths)
    if (std::string_view(r.name) == name) return r.width;
  return kRadioMinWidth;
}

constexpr char kCaption[] = "Probex";
constexpr char kInitialSaveName[] = "table.txt";
constexpr char kHelpFileName[] = "Probex.html";
constexpr char kNewVersionTitle[] = "Information";

// The clipboard takes the platform's line ends.
#ifdef Q_OS_WIN
constexpr char kClipboardLineEnd[] = "\r\n";
#else
constexpr char kClipboardLineEnd[] = "\n";
#endif

constexpr int kFortyTwo = 42;

QString FromModel(const std::string& text) {
  return QString::fromStdString(text);
}

// A control at its designed place.  Where the platform's font and style need
// more room than the designed size, the control grows to its size hint: to
// the right, and in height evenly about its designed middle, so that nothing
// is cut and the rows keep their lines.
void Place(QWidget* control, const QRect& designed) {
  QRect place = designed;
  const QSize hint = control->sizeHint();
  if (hint.width() > place.width()) place.setWidth(hint.width());
  if (hint.height() > place.height()) {
    place.moveTop(designed.top() - (hint.height() - designed.height()) / 2);
    place.setHeight(hint.height());
  }
  control->setGeometry(place);
}

}  // namespace

TDistributionForm::TDistributionForm(TPlatform& platform, std::string versionHost)
    : platform_(platform), versionHost_(std::move(versionHost)) {
  createControls();
  createMenus();
  createDialogs();
  connectSignals();
  // Until the first activation arranges them, the fields show their names.
  for (int i = 0; i < kFieldCount; ++i) {
    const std::string number = std::to_string(i + 1);
    SetField(i, ("Label_" + number).c_str(), ("Edit_" + number).c_str());
  }
  UpdateRadioFocus();
}

TDistributionForm::~TDistributionForm() = default;

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
  Bevel->setGeometry(0, 0, client_->width(), kBevelHeight);

  Panel1 = new QFrame(client_);
  Panel1->setObjectName(QStringLiteral("Panel1"));
  Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
  int panelWidth = kPanel1.width();
  functionGroup_ = new QButtonGroup(this);
  int id = 0;
  for (const calculator::FunctionSpec& spec : calculator::Functions()) {
    auto* radio = new QRadioButton(QString::fromLatin1(spec.caption), Panel1);
    radio->setObjectName(QString::fromLatin1(spec.radioName));
    Place(radio, QRect(kRadioLeft, kRadioTop + id * kRadioStep, DesignedRadioWidth(spec.radioName),
                       kRadioHeight));
    functionGroup_->addButton(radio, id++);
    panelWidth = std::max(panelWidth, radio->geometry().right() + 1 + Panel1->frameWidth());
  }
  functionGroup_->button(static_cast<int>(selected_))->setChecked(true);
  // A wide font may need a few pixels more; the gap before Compute takes them.
  Panel1->setGeometry(kPanel1.left(), kPanel1.top(), panelWidth, kPanel1.height());

  ComputeBtn = new QPushButton(ComputeGlyph(), QStringLiteral("C&ompute"), client_);
  ComputeBtn->setObjectName(QStringLiteral("ComputeBtn"));
  ComputeBtn->setIconSize(QSize(16, 16));
  ComputeBtn->setAutoDefault(false);
  Place(ComputeBtn, kComputeBtn);

  for (int i = 0; i < kFieldCount; ++i) {
    const QString number = QString::number(i + 1);
    auto* label = new QLabel(client_);
    label->setObjectName(QStringLiteral("Label_") + number);
    label->setTextFormat(Qt::PlainText);
    label->move(kLabels[i]);
    auto* edit = new QLineEdit(client_);
    edit->setObjectName(QStringLiteral("Edit_") + number);
    edit->setGeometry(QRect(kEdits[i], kEditSize));
    // Screen readers name the field after its label.
    label->setBuddy(edit);
    labels_[i] = label;
    edits_[i] = edit;
  }

  InversCheckBox = new QCheckBox(QStringLiteral("In&vers Distribution"), client_);
  InversCheckBox->setObjectName(QStringLiteral("InversCheckBox"));
  Place(InversCheckBox, kInversCheckBox);

  Memo = new QPlainTextEdit(client_);
  Memo->setObjectName(QStringLiteral("Memo"));
  Memo->setAccessibleName(QStringLiteral("Results log"));
  Memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  Memo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  Memo->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  // Tab leaves the log and never enters it; a click still does.
  Memo->setTabChangesFocus(true);
  Memo->setFocusPolicy(Qt::ClickFocus);
  Memo->move(kMemo);

  // Tab order: the checked radio button (the others are reached with the
  // arrow keys, see UpdateRadioFocus), Compute, the fields, the inverse option.
  QList<QWidget*> chain;
  for (QAbstractButton* radio : functionGroup_->buttons()) chain << radio;
  chain << ComputeBtn << edits_[0] << edits_[1] << edits_[2] << edits_[3] << InversCheckBox;
  for (qsizetype i = 0; i + 1 < chain.size(); ++i) setTabOrder(chain[i], chain[i + 1]);
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
  SaveAsItem = addItem(FileMenu, "SaveAsItem", QStringLiteral("&Save As..."));
  PrintSetupItem = addItem(FileMenu, "PrintSetupItem", QStringLiteral("P&rint Setup..."));
  PrintItem = addItem(FileMenu, "PrintItem", QStringLiteral("&Print..."));
  N1 = addSeparator(FileMenu, "N1");
  ExitItem = addItem(FileMenu, "ExitItem", QStringLiteral("E&xit"), Qt::CTRL | Qt::Key_Q);

  EditMenu = addMenu("EditMenu", QStringLiteral("&Edit"));
  CopyItem = addItem(EditMenu, "CopyItem", QStringLiteral("&Copy"), Qt::CTRL | Qt::Key_C);
  SelectAllItem =
      addItem(EditMenu, "SelectAllItem", QStringLiteral("&Select All"), Qt::CTRL | Qt::Key_A);
  Clear = addItem(EditMenu, "Clear", QStringLiteral("&Delete All"));
  N2 = addSeparator(EditMenu, "N2");
  FontItem = addItem(EditMenu, "FontItem", QStringLiteral("&Font..."));

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
}

void TDistributionForm::connectSignals() {
  using T = TDistributionForm;
  connect(ComputeBtn, &QPushButton::clicked, this, &T::Run<&T::ComputeBtnClick>);
  for (QLineEdit* edit : edits_) {
    // Enter in a field computes, as the button does.
    connect(edit, &QLineEdit::returnPressed, this, &T::Run<&T::ComputeBtnClick>);
    // The window's shortcuts come before the field's own Ctrl+C and Ctrl+A.
    edit->installEventFilter(this);
  }
  Memo->installEventFilter(this);
  client_->installEventFilter(this);

  connect(InversCheckBox, &QCheckBox::toggled, this, &T::Run<&T::InversCheckBoxClick>);
  // idToggled: the handler hears a button becoming checked (by click or arrow
  // key), never an already checked button clicked again.
  connect(functionGroup_, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
    RunCommand([this, id, checked] { FunctionToggled(id, checked); });
  });

  connect(SaveAsItem, &QAction::triggered, this, &T::Run<&T::SaveAsItemClick>);
  connect(PrintSetupItem, &QAction::triggered, this, &T::Run<&T::PrintSetupItemClick>);
  connect(PrintItem, &QAction::triggered, this, &T::Run<&T::PrintItemClick>);
  connect(ExitItem, &QAction::triggered, this, &T::Run<&T::ExitItemClick>);
  connect(CopyItem, &QAction::triggered, this, &T::Run<&T::CopyItemClick>);
  connect(SelectAllItem, &QAction::triggered, this, &T::Run<&T::SelectAllItemClick>);
  connect(Clear, &QAction::triggered, this, &T::Run<&T::ClearClick>);
  connect(FontItem, &QAction::triggered, this, &T::Run<&T::FontItemClick>);
  connect(HelpTopicsItem, &QAction::triggered, this, &T::Run<&T::HelpTopicsItemClick>);
  connect(HomePage1, &QAction::triggered, this, &T::Run<&T::HomePage1Click>);
  connect(AboutItem, &QAction::triggered, this, &T::Run<&T::AboutItemClick>);
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

calculator::FieldTexts TDistributionForm::FieldTexts() const {
  calculator::FieldTexts texts;
  for (int i = 0; i < kFieldCount; ++i) texts[i] = edits_[i]->text().toStdString();
  return texts;
}

// One label/edit pair: a null caption hides it.  setText would reset the
// cursor and the undo history of an unchanged field, so an equal text is
// left alone.
void TDistributionForm::SetField(int index, const char* caption, const char* text) {
  const bool visible = caption != nullptr;
  if (visible) {
    labels_[index]->setText(QString::fromLatin1(caption));
    labels_[index]->adjustSize();  // labels size themselves to their caption
    const QString fieldText = QString::fromLatin1(text);
    if (edits_[index]->text() != fieldText) edits_[index]->setText(fieldText);
  }
  labels_[index]->setVisible(visible);
  edits_[index]->setVisible(visible);
}

// The selected function's captions and default texts.  A function with an
// inverse shows the option unchecked; for the others it is hidden and keeps
// its state.
void TDistributionForm::ArrangeFields() {
  const calculator::FunctionSpec& spec = calculator::SpecOf(selected_);
  InversCheckBox->setVisible(spec.HasInverse());
  if (spec.HasInverse()) {
    const QSignalBlocker blocker(InversCheckBox);
    InversCheckBox->setChecked(false);
  }
  for (int i = 0; i < kFieldCount; ++i)
    SetField(i, calculator::FieldCaption(spec, i, false), calculator::FieldDefault(spec, i, false));
  UpdateRadioFocus();
}

// As in a dialog of the desktop, Tab stops at the checked radio button only;
// the arrow keys move between them.
void TDistributionForm::UpdateRadioFocus() {
  for (QAbstractButton* radio : functionGroup_->buttons())
    radio->setFocusPolicy(radio->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
}

void TDistributionForm::ComputeBtnClick() {
  calculator::Result result;
  {
    const TBusyPointer busy;
    result = calculator::Compute(selected_, FieldTexts(), InversCheckBox->isChecked());
  }
  switch (result.outcome) {
    case calculator::Outcome::Ok:
      for (const std::string& line : result.lines) AppendLogLine(FromModel(line));
      break;
    case calculator::Outcome::Invalid: {
      QLineEdit* invalid = edits_[*result.FocusField()];
      invalid->setFocus(Qt::OtherFocusReason);
      // Entering a field selects its text, so typing replaces it.
      invalid->selectAll();
      break;
    }
    case calculator::Outcome::Error:
      throw EComputeError(result.message);
  }
}

void TDistributionForm::InversCheckBoxClick() {
  const calculator::FunctionSpec& spec = calculator::SpecOf(selected_);
  if (!spec.HasInverse()) return;  // the option is hidden then
  const bool inverse = InversCheckBox->isChecked();
  SetField(calculator::kEdit4, calculator::FieldCaption(spec, calculator::kEdit4, inverse),
           calculator::FieldDefault(spec, calculator::kEdit4, inverse));
}

void TDistributionForm::FunctionToggled(int id, bool checked) {
  if (!checked) return;  // the button that lost its check
  const Function function = calculator::Functions()[id].function;
  if (function == selected_) return;
  selected_ = function;
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
  if (CheckVersion(IdHTTP1, versionHost_) == TVersionAnswer::NewVersion)
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
  platform_.OpenAddress(this, HomePageAddress());
}

void TDistributionForm::AboutItemClick() {
  if (aboutBox_ == nullptr) return;
  aboutBox_->show();
  aboutBox_->raise();
  aboutBox_->activateWindow();
}

void TDistributionForm::FormActivate() {
  ActivateHelp();
  Bevel->resize(Bevel->width(), kBevelHeight);
  setWindowTitle(QString::fromLatin1(kCaption));
  if (firstActivation_) {
    firstActivation_ = false;
    Memo->clear();
  }
  FormResize();
  ArrangeFields();
  VersionCheck();
}

void TDistributionForm::FormResize() {
  Bevel->resize(client_->width(), Bevel->height());
  Memo->setGeometry(kMemo.x(), kMemo.y(), client_->width() - kMemo.x(),
                    client_->height() - kMemo.y());
}

void TDistributionForm::SaveAsItemClick() {
  const std::optional<QString> fileName =
      platform_.GetSaveFileName(this, saveFileName_, saveFilters_);
  if (!fileName) return;
  saveFileName_ = *fileName;
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
  for (int copy = 0; copy < *copies; ++copy) {
    QPainter painter;
    if (!platform_.BeginPrintJob(painter, *printer_)) {
      // Without any printer Qt falls back to writing PDF, which needs a file.
      const bool noPrinter =
          printer_->printerName().isEmpty() && printer_->outputFileName().isEmpty();
      throw EWindowError(noPrinter ? "There is no default printer currently selected"
                                           : "Printer selected is not valid");
    }
    PrintLines(painter, *printer_, font, lines);
    platform_.EndPrintJob(painter);
  }
}

void TDistributionForm::ExitItemClick() {
  close();
}

void TDistributionForm::CopyItemClick() {
  bool allFortyTwo = true;
  for (const QLineEdit* edit : edits_)
    if (calculator::ParseInteger(edit->text().toStdString()).value != kFortyTwo)
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

void TDistributionForm::ClearClick() {
  Memo->clear();
}

void TDistributionForm::FontItemClick() {
  const std::optional<QFont> font = platform_.ChooseFont(this, Memo->font());
  if (font) Memo->setFont(*font);
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

bool TDistributionForm::IsWindowShortcut(const QKeyEvent& key) const {
  const QKeySequence pressed(key.keyCombination());
  for (const QAction* item : {ExitItem, CopyItem, SelectAllItem, HelpTopicsItem})
    if (item->shortcut() == pressed) return true;
  return false;
}

bool TDistributionForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == client_ && event->type() == QEvent::Resize) {
    FormResize();
  } else if ((event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress) &&
             static_cast<QKeyEvent*>(event)->keyCombination() == QKeyCombination(Qt::Key_F1) &&
             (watched == FileMenu || watched == EditMenu || watched == HelpMenu)) {
    // F1 in an open menu is context help, not the shortcut of Help Topics:
    // the menu takes the key over the shortcut and answers it itself.
    if (event->type() == QEvent::ShortcutOverride) {
      event->accept();
      return true;
    }
    auto* menu = static_cast<QMenu*>(watched);
    const int context = MenuHelpContext(*menu);
    // The menu closes, as it would when the help window takes the activation.
    menu->close();
    RunCommand([this, context] { ContextHelp(context); });
    return true;
  } else if (event->type() == QEvent::ShortcutOverride &&
             IsWindowShortcut(*static_cast<QKeyEvent*>(event))) {
    // Left unaccepted, the key goes to the menu's shortcut and not to the
    // line edit or the text pane, which would take Ctrl+C and Ctrl+A.
    event->ignore();
    return true;
  }
  return QMainWindow::eventFilter(watched, event);
}

}  // namespace window
