#include "window/DistributionForm.h"

#include <QAction>
#include <QApplication>
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

#include "Distr/Errors.h"
#include "calculator/FieldParsing.h"
#include "window/AboutBox.h"
#include "window/Application.h"
#include "window/ComputeGlyph.h"
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
// Top and width of each radio button, in the order of FunctionCatalogue().
struct RadioPlace {
  int top;
  int width;
};
constexpr std::array<RadioPlace, 9> kRadios{{
    {8, 161},    // NormalRadio
    {32, 169},   // ChiSquareRadio
    {56, 113},   // TRadio
    {80, 113},   // FRadio
    {104, 161},  // BinomialRadio
    {128, 169},  // PoissonRadio
    {152, 201},  // HyperRadio
    {176, 193},  // FactorialRadio
    {200, 177},  // BinoCoefRadio
}};

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
  MirrorModel();
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
  for (size_t i = 0; i < radios_.size(); ++i) {
    const calculator::FunctionInfo& info = calculator::FunctionCatalogue()[i];
    auto* radio = new QRadioButton(QString::fromLatin1(info.caption), Panel1);
    radio->setObjectName(QString::fromLatin1(info.radioName));
    Place(radio, QRect(kRadioLeft, kRadios[i].top, kRadios[i].width, kRadioHeight));
    radios_[i] = radio;
    panelWidth = std::max(panelWidth, radio->geometry().right() + 1 + Panel1->frameWidth());
  }
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
  // arrow keys, see MirrorModel), Compute, the fields, the inverse option.
  QList<QWidget*> chain(radios_.begin(), radios_.end());
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
  // toggled: the handlers hear a button becoming checked (by click or arrow
  // key), never an already checked button clicked again.
  const std::array handlers{&T::Run<&T::NormalRadioClick>,   &T::Run<&T::ChiSquareRadioClick>,
                            &T::Run<&T::TRadioClick>,        &T::Run<&T::FRadioClick>,
                            &T::Run<&T::BinomialRadioClick>, &T::Run<&T::PoissonRadioClick>,
                            &T::Run<&T::HyperRadioClick>,    &T::Run<&T::FactorialRadioClick>,
                            &T::Run<&T::BinoCoefRadioClick>};
  for (size_t i = 0; i < radios_.size(); ++i)
    connect(radios_[i], &QRadioButton::toggled, this, handlers[i]);

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

  model_.SetAppendObserver([this](const std::string& line) { AppendLogLine(FromModel(line)); });
  model_.SetPointerObserver([](calculator::PointerShape shape) {
    if (shape == calculator::PointerShape::Busy)
      QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    else if (QGuiApplication::overrideCursor() != nullptr)
      QGuiApplication::restoreOverrideCursor();
  });
}

template <void (TDistributionForm::*Handler)()>
void TDistributionForm::Run() {
  RunCommand([this] { (this->*Handler)(); });
}

QRadioButton* TDistributionForm::Radio(Function function) const {
  for (size_t i = 0; i < radios_.size(); ++i)
    if (calculator::FunctionCatalogue()[i].function == function) return radios_[i];
  throw Distr::ERangeError();
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

// The model hears what the user typed before every command.
void TDistributionForm::PullFields() {
  for (int i = 0; i < kFieldCount; ++i) model_.SetFieldText(i, edits_[i]->text().toStdString());
}

// The controls show the model's state; the signal blockers keep this from
// running the handlers again.
void TDistributionForm::MirrorModel() {
  for (int i = 0; i < kFieldCount; ++i) {
    labels_[i]->setText(FromModel(model_.LabelCaption(i)));
    labels_[i]->adjustSize();  // labels size themselves to their caption
    const QString text = FromModel(model_.FieldText(i));
    // setText would reset the cursor and the undo history of an unchanged field.
    if (edits_[i]->text() != text) edits_[i]->setText(text);
    labels_[i]->setVisible(model_.FieldVisible(i));
    edits_[i]->setVisible(model_.FieldVisible(i));
  }
  {
    const QSignalBlocker blocker(InversCheckBox);
    InversCheckBox->setChecked(model_.InverseChecked());
    InversCheckBox->setVisible(model_.InverseVisible());
  }
  for (size_t i = 0; i < radios_.size(); ++i) {
    const bool selected = calculator::FunctionCatalogue()[i].function == model_.Selected();
    const QSignalBlocker blocker(radios_[i]);
    if (selected) radios_[i]->setChecked(true);
    // As in a dialog of the desktop, Tab stops at the checked radio button
    // only; the arrow keys move between them.
    radios_[i]->setFocusPolicy(selected ? Qt::StrongFocus : Qt::ClickFocus);
  }
}

void TDistributionForm::ComputeBtnClick() {
  PullFields();
  model_.SetFocusedField(std::nullopt);
  model_.ComputeBtnClick();
  MirrorModel();
  if (!model_.LastComputeValid() && model_.FocusedField()) {
    QLineEdit* invalid = edits_[*model_.FocusedField()];
    invalid->setFocus(Qt::OtherFocusReason);
    // Entering a field selects its text, so typing replaces it.
    invalid->selectAll();
  }
}

void TDistributionForm::InversCheckBoxClick() {
  PullFields();
  model_.SetInverseChecked(InversCheckBox->isChecked());
  MirrorModel();
}

void TDistributionForm::RadioClick(Function function) {
  if (!Radio(function)->isChecked()) return;  // the button that lost its check
  PullFields();
  model_.SelectFunction(function);
  MirrorModel();
}

void TDistributionForm::NormalRadioClick() {
  RadioClick(Function::Normal);
}

void TDistributionForm::ChiSquareRadioClick() {
  RadioClick(Function::ChiSquare);
}

void TDistributionForm::TRadioClick() {
  RadioClick(Function::T);
}

void TDistributionForm::FRadioClick() {
  RadioClick(Function::F);
}

void TDistributionForm::BinomialRadioClick() {
  RadioClick(Function::Binomial);
}

void TDistributionForm::PoissonRadioClick() {
  RadioClick(Function::Poisson);
}

void TDistributionForm::HyperRadioClick() {
  RadioClick(Function::Hypergeometric);
}

void TDistributionForm::FactorialRadioClick() {
  RadioClick(Function::Factorial);
}

void TDistributionForm::BinoCoefRadioClick() {
  RadioClick(Function::BinomialCoefficient);
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
    model_.ClearLog();
  }
  FormResize();
  PullFields();
  model_.ArrangeFields();
  MirrorModel();
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
      throw Distr::ERunTimeError(noPrinter ? "There is no default printer currently selected"
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
  model_.ClearLog();
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
