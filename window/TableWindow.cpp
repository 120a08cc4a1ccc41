#include "window/TableWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPrinter>
#include <QProgressBar>
#include <QPromise>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>

#include "files/WholeFile.h"
#include "window/Application.h"
#include "window/Errors.h"
#include "window/Platform.h"
#include "window/TableModel.h"
#include "window/TablePrinting.h"

namespace window {

namespace {

using tables::Field;

// The table fields below the parameters, in the order of the form.
constexpr Field kTableFields[] = {Field::From,     Field::To,           Field::Step,
                                  Field::Alphas,   Field::Degrees,      Field::Degrees1,
                                  Field::Degrees2, Field::Probabilities};

// The choices of a column's header menu: more significant digits.
constexpr int kDigitChoices[] = {8, 10, 12, 15, 18};

constexpr double kMillisecondsPerSecond = 1000;

// Pixels above and below a row's text.
constexpr int kRowPadding = 4;

// The background of a field that broke its rule.
const QColor kFaultColor(0xff, 0xe0, 0xe0);

QString KindCaption(tables::Kind kind) {
  switch (kind) {
    case tables::Kind::Range:
      return QStringLiteral("Probabilities over a range");
    case tables::Kind::Critical:
      return QStringLiteral("Critical values");
    case tables::Kind::ZTable:
      return QStringLiteral("z table");
    case tables::Kind::Quantiles:
      return QStringLiteral("Quantiles");
  }
  return {};
}

QString FromModel(const std::string& text) {
  return QString::fromStdString(text);
}

std::string ToModel(const QLineEdit* edit) {
  return edit->text().toStdString();
}

}  // namespace

TTableWindow::TTableWindow(TPlatform& platform, calculator::Function function,
                           const calculator::FieldTexts& texts, QWidget* parent)
    : QWidget(parent, Qt::Window), platform_(platform), function_(function) {
  setWindowTitle(QStringLiteral("Table of Values"));
  createControls();
  connectSignals();
  ShowFunction(function, texts);
}

TTableWindow::~TTableWindow() {
  // The worker reads nothing of the window (it owns its plan), so closing
  // does not wait for it: cancelled, it stops at its next cell, and its
  // result goes to a future nobody watches.
  watcher_.disconnect(this);
  *stop_ = true;
}

void TTableWindow::createControls() {
  auto* layout = new QVBoxLayout(this);
  title_ = new QLabel(this);
  QFont bold = title_->font();
  bold.setBold(true);
  title_->setFont(bold);
  layout->addWidget(title_);

  auto* fields = new QGridLayout;
  kinds_ = new QComboBox(this);
  auto* kindLabel = new QLabel(QStringLiteral("&Table:"), this);
  kindLabel->setBuddy(kinds_);
  fields->addWidget(kindLabel, 0, 0);
  fields->addWidget(kinds_, 0, 1);
  int row = 1;
  for (int i = 0; i < calculator::kSlotCount; ++i, ++row) {
    parameterLabels_[i] = new QLabel(this);
    parameters_[i] = new QLineEdit(this);
    parameterLabels_[i]->setBuddy(parameters_[i]);
    fields->addWidget(parameterLabels_[i], row, 0);
    fields->addWidget(parameters_[i], row, 1);
  }
  for (Field field : kTableFields) {
    labels_[field] = new QLabel(this);
    edits_[field] = new QLineEdit(this);
    labels_[field]->setBuddy(edits_[field]);
    fields->addWidget(labels_[field], row, 0);
    fields->addWidget(edits_[field], row++, 1);
  }
  // Critical values of a symmetric distribution: the alphas as two-sided.
  twoSided_ = new QCheckBox(QStringLiteral("T&wo-sided alpha (x with P(X>x) = alpha/2)"), this);
  twoSided_->setObjectName(QStringLiteral("TwoSidedCheckBox"));
  fields->addWidget(twoSided_, row++, 1);
  fields->setColumnStretch(1, 1);
  layout->addLayout(fields);

  auto* buttons = new QHBoxLayout;
  computeButton_ = new QPushButton(QStringLiteral("C&ompute"), this);
  computeButton_->setDefault(true);
  copyButton_ = new QPushButton(QStringLiteral("&Copy"), this);
  saveButton_ = new QPushButton(QStringLiteral("&Save As..."), this);
  printButton_ = new QPushButton(QStringLiteral("&Print..."), this);
  closeButton_ = new QPushButton(QStringLiteral("Clos&e"), this);
  for (QPushButton* button : {computeButton_, copyButton_, saveButton_, printButton_})
    buttons->addWidget(button);
  buttons->addStretch(1);
  buttons->addWidget(closeButton_);
  layout->addLayout(buttons);

  // The status line: the faults, the size of the table, or while the worker
  // runs its progress and Cancel.
  auto* statusRow = new QHBoxLayout;
  status_ = new QLabel(this);
  status_->setWordWrap(true);
  progress_ = new QProgressBar(this);
  cancelButton_ = new QPushButton(QStringLiteral("Cancel"), this);
  statusRow->addWidget(status_, 1);
  statusRow->addWidget(progress_, 1);
  statusRow->addWidget(cancelButton_);
  layout->addLayout(statusRow);
  progress_->hide();
  cancelButton_->hide();

  tableTitle_ = new QLabel(this);
  tableTitle_->setWordWrap(true);
  layout->addWidget(tableTitle_);

  model_ = new TTableModel(this);
  view_ = new QTableView(this);
  view_->setModel(model_);
  view_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  view_->verticalHeader()->hide();
  // Rows as high as the fixed font's lines, not the header's default.
  view_->verticalHeader()->setDefaultSectionSize(view_->fontMetrics().height() + kRowPadding);
  view_->setSelectionMode(QAbstractItemView::ContiguousSelection);
  view_->horizontalHeader()->setContextMenuPolicy(Qt::CustomContextMenu);
  layout->addWidget(view_, 1);
  resize(560, 620);
}

void TTableWindow::connectSignals() {
  // Any change of the choice, by the mouse, the keyboard or a call: by the
  // time `activated` comes the combo box already shows the new kind.
  connect(kinds_, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (index >= 0) SetKind(static_cast<tables::Kind>(kinds_->itemData(index).toInt()));
  });
  connect(computeButton_, &QPushButton::clicked, this,
          [this] { RunCommand([this] { ComputeClick(); }); });
  connect(copyButton_, &QPushButton::clicked, this,
          [this] { RunCommand([this] { CopyClick(); }); });
  connect(saveButton_, &QPushButton::clicked, this,
          [this] { RunCommand([this] { SaveAsClick(); }); });
  connect(printButton_, &QPushButton::clicked, this,
          [this] { RunCommand([this] { PrintClick(); }); });
  connect(closeButton_, &QPushButton::clicked, this, &QWidget::close);
  connect(cancelButton_, &QPushButton::clicked, this, &TTableWindow::CancelClick);
  connect(&watcher_, &QFutureWatcher<tables::Table>::progressValueChanged, this,
          &TTableWindow::ShowProgress);
  connect(&watcher_, &QFutureWatcher<tables::Table>::finished, this, &TTableWindow::Done);
  connect(view_->horizontalHeader(), &QHeaderView::customContextMenuRequested, this,
          &TTableWindow::HeaderMenu);
  for (QLineEdit* edit : parameters_) {
    connect(edit, &QLineEdit::returnPressed, this,
            [this] { RunCommand([this] { ComputeClick(); }); });
    connect(edit, &QLineEdit::textEdited, this, &TTableWindow::FollowParameters);
  }
  for (const auto& [field, edit] : edits_)
    connect(edit, &QLineEdit::returnPressed, this,
            [this] { RunCommand([this] { ComputeClick(); }); });
}

void TTableWindow::SetFunction(calculator::Function function, const calculator::FieldTexts& texts) {
  if (function != function_) {
    ShowFunction(function, texts);
    return;
  }
  for (int i = 0; i < calculator::kSlotCount; ++i) parameters_[i]->setText(FromModel(texts[i]));
  FollowParameters();
}

void TTableWindow::ShowFunction(calculator::Function function,
                                const calculator::FieldTexts& texts) {
  if (Computing()) *stop_ = true;
  function_ = function;
  const calculator::FunctionAbout& about = calculator::AboutFunction(function);
  for (int i = 0; i < calculator::kSlotCount; ++i) {
    const calculator::FieldAbout* field = about.FieldAt(i);
    parameterLabels_[i]->setText(field ? QString::fromUtf8(calculator::FieldCaption(
                                             about, *field, calculator::Mode::Forward)) +
                                             QStringLiteral(":")
                                       : QString());
    parameters_[i]->setText(FromModel(texts[i]));
  }
  title_->setText(FromModel(tables::DistributionName(function)));
  const std::vector<tables::Kind> kinds = tables::KindsOf(function);
  kind_ = kinds.empty() ? tables::Kind::Range : kinds.front();
  {
    const QSignalBlocker quiet(kinds_);  // the fields are arranged below
    kinds_->clear();
    for (tables::Kind kind : kinds) kinds_->addItem(KindCaption(kind), static_cast<int>(kind));
  }
  const tables::Request presets = tables::DefaultRequest(function, kind_, texts);
  defaultRange_ = {presets.from, presets.to, presets.step};
  const std::map<Field, std::string> presetTexts{
      {Field::From, presets.from},         {Field::To, presets.to},
      {Field::Step, presets.step},         {Field::Alphas, presets.alphas},
      {Field::Degrees, presets.degrees},   {Field::Degrees1, presets.degrees1},
      {Field::Degrees2, presets.degrees2}, {Field::Probabilities, presets.probabilities}};
  for (const auto& [field, text] : presetTexts) {
    edits_[field]->setText(FromModel(text));
    edits_[field]->setCursorPosition(0);  // a long list shows its start
    labels_[field]->setText(FromModel(tables::FieldCaption(field, function)) + ":");
  }
  digits_.clear();
  model_->SetTable({});
  tableTitle_->clear();
  ClearFaults();
  status_->setText(kinds.empty() ? QStringLiteral("The counting functions have no tables.")
                                 : QString());
  computeButton_->setEnabled(!kinds.empty());
  ArrangeFields();
}

void TTableWindow::SetKind(tables::Kind kind) {
  const int index = kinds_->findData(static_cast<int>(kind));
  if (index < 0 || kind == kind_) return;
  kind_ = kind;
  {
    const QSignalBlocker quiet(kinds_);
    kinds_->setCurrentIndex(index);
  }
  digits_.clear();
  model_->SetTable({});
  tableTitle_->clear();
  ClearFaults();
  status_->clear();
  ArrangeFields();
}

tables::Kind TTableWindow::Kind() const {
  return kind_;
}

void TTableWindow::FollowParameters() {
  const tables::RangeTexts shown{ToModel(edits_.at(Field::From)), ToModel(edits_.at(Field::To)),
                                 ToModel(edits_.at(Field::Step))};
  if (kinds_->count() == 0 || shown != defaultRange_) return;  // a range of the user's own stays
  calculator::FieldTexts texts;
  for (int i = 0; i < calculator::kSlotCount; ++i) texts[i] = ToModel(parameters_[i]);
  defaultRange_ = tables::DefaultRange(function_, texts);
  edits_.at(Field::From)->setText(FromModel(defaultRange_.from));
  edits_.at(Field::To)->setText(FromModel(defaultRange_.to));
  edits_.at(Field::Step)->setText(FromModel(defaultRange_.step));
}

void TTableWindow::ArrangeFields() {
  const bool any = kinds_->count() > 0;
  const tables::Kind kind = Kind();
  for (int i = 0; i < calculator::kSlotCount; ++i) {
    const bool shown = any && tables::UsesParameter(kind, function_, i);
    parameterLabels_[i]->setVisible(shown);
    parameters_[i]->setVisible(shown);
  }
  const std::vector<Field> used = any ? tables::FieldsOf(kind, function_) : std::vector<Field>{};
  for (Field field : kTableFields) {
    const bool shown = std::find(used.begin(), used.end(), field) != used.end();
    labels_[field]->setVisible(shown);
    edits_[field]->setVisible(shown);
  }
  twoSided_->setVisible(any && tables::TwoSidedOffered(kind, function_));
  const bool hasTable = !model_->Table().headings.empty();
  for (QPushButton* button : {copyButton_, saveButton_, printButton_}) button->setEnabled(hasTable);
}

QLineEdit* TTableWindow::Edit(Field field, int index) const {
  if (field == Field::Parameter) return parameters_.at(index);
  return edits_.at(field);
}

tables::Request TTableWindow::ReadRequest() const {
  tables::Request request;
  request.kind = Kind();
  request.function = function_;
  for (int i = 0; i < calculator::kSlotCount; ++i) request.texts[i] = ToModel(parameters_[i]);
  request.from = ToModel(edits_.at(Field::From));
  request.to = ToModel(edits_.at(Field::To));
  request.step = ToModel(edits_.at(Field::Step));
  request.alphas = ToModel(edits_.at(Field::Alphas));
  request.degrees = ToModel(edits_.at(Field::Degrees));
  request.degrees1 = ToModel(edits_.at(Field::Degrees1));
  request.degrees2 = ToModel(edits_.at(Field::Degrees2));
  request.probabilities = ToModel(edits_.at(Field::Probabilities));
  request.twoSided = tables::TwoSidedOffered(request.kind, function_) && twoSided_->isChecked();
  request.digits = digits_;
  return request;
}

void TTableWindow::ComputeClick() {
  if (kinds_->count() == 0) return;
  ClearFaults();
  const tables::Prepared prepared = tables::Prepare(ReadRequest());
  if (!prepared.plan) {
    ShowFaults(prepared.faults);
    emit Finished();
    return;
  }
  Start(*prepared.plan);
}

void TTableWindow::ShowFaults(const std::vector<tables::Fault>& faults) {
  QStringList sentences;
  for (const tables::Fault& fault : faults) {
    QLineEdit* edit = Edit(fault.field, fault.index);
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, kFaultColor);
    edit->setPalette(palette);
    edit->setProperty("fault", true);
    sentences << FromModel(tables::FaultText(fault, function_)) + ".";
  }
  status_->setText(sentences.join('\n'));
  // As in the main window, the last faulty field takes the focus with its
  // text selected, so typing replaces it.
  QLineEdit* last = Edit(faults.back().field, faults.back().index);
  last->setFocus(Qt::OtherFocusReason);
  last->selectAll();
}

void TTableWindow::ClearFaults() {
  for (QLineEdit* edit : findChildren<QLineEdit*>()) {
    if (!edit->property("fault").toBool()) continue;
    edit->setPalette(QPalette());
    edit->setProperty("fault", false);
  }
}

void TTableWindow::Start(const tables::Plan& plan) {
  // A new future for the watcher: the old computation's rows are not wanted.
  if (Computing()) *stop_ = true;
  stop_ = std::make_shared<std::atomic<bool>>(false);
  columns_ = plan.Columns();
  auto shared = std::make_shared<const tables::Plan>(plan);
  const int rows = static_cast<int>(shared->RowCount());
  progress_->setRange(0, rows);
  progress_->setValue(0);
  progress_->show();
  cancelButton_->show();
  status_->setText(QStringLiteral("Computing %1 rows...").arg(rows));
  started_.start();
  ShowProgress(0);
  watcher_.setFuture(QtConcurrent::run([shared, stop = stop_](QPromise<tables::Table>& promise) {
    promise.setProgressRange(0, static_cast<int>(shared->RowCount()));
    promise.addResult(tables::ComputeTable(
        *shared,
        [&promise, &stop](std::size_t done) {
          promise.setProgressValue(static_cast<int>(done));
          return !*stop;
        },
        [&stop] { return stop->load(); }));
  }));
}

void TTableWindow::ShowProgress(int done) {
  progress_->setValue(done);
  const std::string left = tables::TimeLeftText(
      static_cast<double>(started_.elapsed()) / kMillisecondsPerSecond,
      static_cast<std::size_t>(done), static_cast<std::size_t>(progress_->maximum()));
  // The percentage, then the time left once there is a rate to tell it by.
  progress_->setFormat(left.empty() ? QStringLiteral("%p%") : "%p%, " + FromModel(left));
}

void TTableWindow::CancelClick() {
  *stop_ = true;
}

void TTableWindow::Done() {
  progress_->hide();
  cancelButton_->hide();
  const QFuture<tables::Table> future = watcher_.future();
  if (future.resultCount() > 0) {
    const tables::Table& table = future.result();
    model_->SetTable(table);
    view_->resizeColumnsToContents();
    tableTitle_->setText(FromModel(table.title));
    status_->setText(table.partial ? QStringLiteral("Cancelled: %1 of %2 rows, a partial table.")
                                         .arg(model_->rowCount())
                                         .arg(progress_->maximum())
                                   : QStringLiteral("%1 rows.").arg(model_->rowCount()));
  } else {
    status_->setText(QStringLiteral("Cancelled."));
  }
  ArrangeFields();
  emit Finished();
}

bool TTableWindow::Computing() const {
  return watcher_.isRunning();
}

const tables::Table& TTableWindow::Table() const {
  return model_->Table();
}

QString TTableWindow::Status() const {
  return status_->text();
}

void TTableWindow::SetColumnDigits(int column, int digits) {
  if (digits == 0)
    digits_.erase(column);
  else
    digits_[column] = std::clamp(digits, tables::kFewestDigits, tables::kMostDigits);
  ComputeClick();
}

void TTableWindow::HeaderMenu(const QPoint& position) {
  const int column = view_->horizontalHeader()->logicalIndexAt(position);
  if (column < 0 || column >= static_cast<int>(columns_.size()) || !columns_[column].digitsOption)
    return;
  const int current = digits_.count(column) ? digits_.at(column) : 0;
  QMenu menu(this);
  QAction* asLog = menu.addAction(QStringLiteral("As the log"));
  asLog->setCheckable(true);
  asLog->setChecked(current == 0);
  asLog->setData(0);
  for (int digits : kDigitChoices) {
    QAction* action = menu.addAction(QStringLiteral("%1 significant digits").arg(digits));
    action->setCheckable(true);
    action->setChecked(current == digits);
    action->setData(digits);
  }
  if (QAction* chosen = menu.exec(view_->horizontalHeader()->mapToGlobal(position)))
    RunCommand([&] { SetColumnDigits(column, chosen->data().toInt()); });
}

tables::Table TTableWindow::Selection() const {
  const tables::Table& table = model_->Table();
  const QModelIndexList selected = view_->selectionModel()->selectedIndexes();
  if (selected.isEmpty()) return table;
  int top = selected.front().row(), bottom = top;
  int left = selected.front().column(), right = left;
  for (const QModelIndex& index : selected) {
    top = std::min(top, index.row());
    bottom = std::max(bottom, index.row());
    left = std::min(left, index.column());
    right = std::max(right, index.column());
  }
  tables::Table part{table.title, {}, {}};
  part.headings.assign(table.headings.begin() + left, table.headings.begin() + right + 1);
  for (int row = top; row <= bottom; ++row) {
    const tables::Row& cells = table.rows[row];
    part.rows.emplace_back(cells.begin() + left, cells.begin() + right + 1);
  }
  return part;
}

void TTableWindow::CopyClick() {
  if (model_->Table().headings.empty()) return;
  platform_.SetClipboardText(FromModel(tables::TabText(Selection())));
}

void TTableWindow::SaveAsClick() {
  if (model_->Table().headings.empty()) return;
  const std::optional<QString> fileName = platform_.GetSaveFileName(
      this, saveFileName_.isEmpty() ? QStringLiteral("table.csv") : saveFileName_,
      {QStringLiteral("CSV files (*.csv)"), QStringLiteral("All files (*)")});
  if (!fileName) return;
  if (QFileInfo::exists(*fileName) &&
      !platform_.AskYesNo(this, QString::fromLatin1(kApplicationTitle),
                          QStringLiteral("%1 already exists.\nDo you want to replace it?")
                              .arg(QFileInfo(*fileName).fileName())))
    return;
  saveFileName_ = *fileName;
  // The old file is replaced only once the whole table is on the disk; a
  // device or FIFO is refused.
  const QString failure =
      files::WriteWhole(*fileName, QByteArray::fromStdString(tables::CsvText(model_->Table())));
  if (!failure.isEmpty())
    throw EWindowError(
        QStringLiteral("Cannot create file \"%1\". %2").arg(*fileName, failure).toStdString());
}

void TTableWindow::PrintClick() {
  if (model_->Table().headings.empty()) return;
  if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  const std::optional<int> copies = platform_.PrintDialog(this, *printer_);
  if (!copies) return;
  for (int copy = 0; copy < *copies; ++copy) {
    QPainter painter;
    StartPrintJob(platform_, painter, *printer_);
    PrintTable(painter, *printer_, model_->Table());
    platform_.EndPrintJob(painter);
  }
}

}  // namespace window
