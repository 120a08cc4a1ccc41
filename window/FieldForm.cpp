#include "window/FieldForm.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <cmath>
#include <limits>
#include <tuple>
#include <utility>

#include "window/Application.h"
#include "window/ComputeGlyph.h"
#include "window/FieldPlaces.h"
#include "window/Session.h"

namespace window {

using calculator::kSlotCount;
using calculator::Mode;

namespace {

// Sizes in device-independent pixels (96 dpi): the indent of a field under
// its label, the gaps of the two columns, the fields' widths.
constexpr int kFieldIndent = 16;
constexpr int kLabelGap = 4;
constexpr int kRowGap = 10;
constexpr int kColumnGap = 12;
constexpr int kEditMinWidth = 120;
constexpr int kEditMaxWidth = 320;
constexpr QSize kGlyphSize{16, 16};

// The tint of an invalid field: the palette's base colour mixed with this
// red, in this proportion, so that it shows on light and dark palettes.
constexpr QRgb kErrorRed = 0xffd32f2f;
constexpr qreal kErrorTint = 0.35;

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

// An option indented as far as the fields under their labels.
QLayout* Indented(QWidget* widget) {
  auto* row = new QHBoxLayout;
  row->addSpacing(kFieldIndent);
  row->addWidget(widget);
  row->addStretch(1);
  return row;
}

// The controls sorted by their places into the Tab order.
QList<QWidget*> InTabOrder(std::vector<std::pair<TPlace, QWidget*>> stops) {
  std::stable_sort(stops.begin(), stops.end(),
                   [](const auto& a, const auto& b) { return TabsBefore(a.first, b.first); });
  QList<QWidget*> chain;
  for (const auto& stop : stops) chain << stop.second;
  return chain;
}

// A hidden control keeps its place, so that nothing moves when the
// function changes.
void KeepPlaceWhenHidden(QWidget* widget) {
  QSizePolicy policy = widget->sizePolicy();
  policy.setRetainSizeWhenHidden(true);
  widget->setSizePolicy(policy);
}

// The field of a function that has another reading, where it has one.
const calculator::FieldAbout* RootField(const calculator::FunctionAbout& about) {
  for (const calculator::FieldAbout& field : about.fields)
    if (field.root != nullptr) return &field;
  return nullptr;
}

}  // namespace

TFieldForm::TFieldForm(TSession& session, calculator::Function function, QWidget* parent)
    : QWidget(parent), session_(session), function_(function) {
  setObjectName(QStringLiteral("FieldForm"));
  createControls();
  setLayout(createFieldsLayout());
  connectSignals();
  Arrange();
}

void TFieldForm::createControls() {
  ComputeBtn = new QPushButton(ComputeGlyph(palette()), QStringLiteral("C&ompute"), this);
  ComputeBtn->setObjectName(QStringLiteral("ComputeBtn"));
  ComputeBtn->setIconSize(kGlyphSize);
  ComputeBtn->setAutoDefault(false);

  for (int i = 0; i < kSlotCount; ++i) {
    const QString number = QString::number(i + 1);
    auto* label = new QLabel(this);
    label->setObjectName(QStringLiteral("Label_") + number);
    label->setTextFormat(Qt::PlainText);
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QStringLiteral("Edit_") + number);
    edit->setMinimumWidth(kEditMinWidth);
    edit->setMaximumWidth(kEditMaxWidth);
    edit->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    // Any length: parsing refuses what no number can be, and a cut text
    // would compute another number than the one given.
    edit->setMaxLength(std::numeric_limits<int>::max());
    // Screen readers name the field after its label.
    label->setBuddy(edit);
    KeepPlaceWhenHidden(label);
    KeepPlaceWhenHidden(edit);
    labels_[i] = label;
    edits_[i] = edit;
  }

  // The question options: at most one of inverse and between is checked
  // (neither: the tails at the x-value); the standard deviation option
  // shows for a function with a field that has that reading.
  const auto option = [this](const char* caption, const char* name) {
    auto* box = new QCheckBox(QString::fromUtf8(caption), this);
    box->setObjectName(QString::fromLatin1(name));
    KeepPlaceWhenHidden(box);
    return box;
  };
  InversCheckBox = option("In&verse Distribution", "InversCheckBox");
  BetweenCheckBox = option("Between A an&d B", "BetweenCheckBox");
  SdCheckBox = option("&Standard deviation", "SdCheckBox");
  BetweenCheckBox->setAccessibleDescription(
      QStringLiteral("The probability between the bounds A and B and outside them"));
  SdCheckBox->setAccessibleDescription(
      QStringLiteral("Type the standard deviation instead of the variance"));
}

// Compute above two columns, each control where PlaceFields puts it over
// the table of functions: the parameters at the left, the x-value and the
// bound B at the right, the options below them.  The Tab order follows.
QLayout* TFieldForm::createFieldsLayout() {
  const TFieldPlaces places = PlaceFields(SlotUses(calculator::Functions(), kSlotCount));
  auto* grid = new QGridLayout;
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setHorizontalSpacing(kColumnGap);
  grid->setVerticalSpacing(kRowGap);
  std::vector<std::pair<TPlace, QWidget*>> tabStops{{places.compute, ComputeBtn}};
  grid->addWidget(ComputeBtn, places.compute.row, places.compute.column, Qt::AlignLeft);
  for (int i = 0; i < kSlotCount; ++i) {
    const TPlace place = places.fields[static_cast<std::size_t>(i)];
    if (!place.Placed()) {
      // No function uses the slot: the pair never shows, and takes no part
      // in the Tab order (a hidden field left in the focus chain sends Tab
      // astray where the chain wraps round).
      edits_[i]->setFocusPolicy(Qt::NoFocus);
      continue;
    }
    grid->addLayout(FieldPair(labels_[i], edits_[i]), place.row, place.column);
    tabStops.emplace_back(place, edits_[i]);
  }
  for (const auto& [box, place, alignment] :
       {std::tuple{InversCheckBox, places.inverse, Qt::AlignBottom},
        std::tuple{BetweenCheckBox, places.between, Qt::AlignTop},
        std::tuple{SdCheckBox, places.sd, Qt::AlignTop}}) {
    grid->addLayout(Indented(box), place.row, place.column, alignment);
    tabStops.emplace_back(place, box);
  }
  grid->setRowStretch(places.endRow, 1);
  tabChain_ = InTabOrder(std::move(tabStops));
  return grid;
}

void TFieldForm::connectSignals() {
  connect(ComputeBtn, &QPushButton::clicked, this, &TFieldForm::computeRequested);
  for (int i = 0; i < kSlotCount; ++i) {
    QLineEdit* edit = edits_[i];
    // Enter in a field computes, as the button does.
    connect(edit, &QLineEdit::returnPressed, this, &TFieldForm::computeRequested);
    // A field the user edits is no longer marked invalid.
    connect(edit, &QLineEdit::textEdited, this, [this, i] {
      MarkField(i, QString());
      emit edited();
    });
  }
  const auto handle = [this](QCheckBox* box, void (TFieldForm::*handler)()) {
    connect(box, &QCheckBox::toggled, this, [this, handler] {
      RunCommand([this, handler] {
        (this->*handler)();
        emit edited();
      });
    });
  };
  handle(InversCheckBox, &TFieldForm::InversCheckBoxClick);
  handle(BetweenCheckBox, &TFieldForm::BetweenCheckBoxClick);
  handle(SdCheckBox, &TFieldForm::SdCheckBoxClick);
}

void TFieldForm::SetFunction(calculator::Function function) {
  if (function == function_) return;
  Remember();
  function_ = function;
  Arrange();
}

calculator::FieldTexts TFieldForm::TypedTexts() const {
  calculator::FieldTexts texts;
  for (int i = 0; i < kSlotCount; ++i) texts[i] = edits_[i]->text().toStdString();
  return texts;
}

calculator::FieldTexts TFieldForm::Texts() const {
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

Mode TFieldForm::CurrentMode() const {
  const calculator::FunctionAbout& about = calculator::AboutFunction(function_);
  if (about.HasInverse() && InversCheckBox->isChecked()) return Mode::Inverse;
  if (about.modes.Has(Mode::Interval) && BetweenCheckBox->isChecked()) return Mode::Interval;
  return Mode::Forward;
}

calculator::Readings TFieldForm::CurrentReadings() const {
  const calculator::FieldAbout* field = RootField(calculator::AboutFunction(function_));
  if (field == nullptr || !SdCheckBox->isChecked()) return {};
  return calculator::Readings::RootAt(field->slot);
}

void TFieldForm::Remember() {
  session_.SetFields(function_, {TypedTexts(), CurrentMode(), CurrentReadings()});
}

// The function's captions, with the texts and the options the user left it
// with, or its defaults and the options unchecked.  An option the function
// does not offer is hidden and keeps its state.
void TFieldForm::Arrange() {
  const calculator::FunctionAbout& about = calculator::AboutFunction(function_);
  const std::optional<TFieldMemory> memory = session_.Fields(function_);
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
    if (!box->isVisibleTo(this) && !checked) continue;
    const QSignalBlocker blocker(box);
    box->setChecked(checked);
  }
  ShowFields(memory ? &memory->texts : nullptr);
}

// The x-value's field and the bound B take the defaults of the question
// now asked; the parameters keep what was typed.
void TFieldForm::ShowQuestionFields() {
  const calculator::FunctionAbout& about = calculator::AboutFunction(function_);
  calculator::FieldTexts texts = TypedTexts();
  if (const calculator::FieldAbout* x = about.XField()) texts[x->slot].clear();
  texts[about.BoundSlot()].clear();
  ShowFields(&texts);
}

// The fields of the current mode and readings: the given texts where there
// are some, the defaults of the mode otherwise.
void TFieldForm::ShowFields(const calculator::FieldTexts* texts) {
  const calculator::FunctionAbout& about = calculator::AboutFunction(function_);
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
    const bool given = texts != nullptr && !(*texts)[i].empty();
    const char* text = given ? (*texts)[i].c_str() : calculator::FieldDefault(about, *field, mode);
    SetField(i, calculator::FieldCaption(about, *field, mode, CurrentReadings()), text);
  }
}

// One label/edit pair: a null caption hides it.  setText would reset the
// cursor and the undo history of an unchanged field, so an equal text is
// left alone.
void TFieldForm::SetField(int index, const char* caption, const char* text) {
  const bool visible = caption != nullptr;
  if (visible) {
    labels_[index]->setText(QString::fromUtf8(caption));
    const QString fieldText = QString::fromUtf8(text);
    if (edits_[index]->text() != fieldText) edits_[index]->setText(fieldText);
  }
  labels_[index]->setVisible(visible);
  edits_[index]->setVisible(visible);
}

// The x-value's field (and the bound B) change caption and default with
// the question; the two question options exclude each other.
void TFieldForm::InversCheckBoxClick() {
  if (InversCheckBox->isChecked()) {
    const QSignalBlocker blocker(BetweenCheckBox);
    BetweenCheckBox->setChecked(false);
  }
  ShowQuestionFields();
}

void TFieldForm::BetweenCheckBoxClick() {
  if (BetweenCheckBox->isChecked()) {
    const QSignalBlocker blocker(InversCheckBox);
    InversCheckBox->setChecked(false);
  }
  ShowQuestionFields();
}

// Switching between the variance and the standard deviation keeps the
// distribution: the text becomes the other reading of the same value.
void TFieldForm::SdCheckBoxClick() {
  const calculator::FieldAbout* root = RootField(calculator::AboutFunction(function_));
  if (root == nullptr) return;
  QLineEdit* edit = edits_[root->slot];
  bool ok = false;
  const double value = edit->text().trimmed().toDouble(&ok);
  if (ok && value > 0) {
    const double other = SdCheckBox->isChecked() ? std::sqrt(value) : value * value;
    edit->setText(QString::number(other, 'g', 15));
  }
  const calculator::FieldTexts texts = TypedTexts();
  ShowFields(&texts);
}

void TFieldForm::ClearMarks() {
  for (int i = 0; i < kSlotCount; ++i) MarkField(i, QString());
}

void TFieldForm::ShowFaults(const calculator::Result& result) {
  for (const calculator::FieldFault& fault : result.faults)
    MarkField(fault.index, QString::fromStdString(fault.Message()));
  const std::optional<int> focus = result.FocusField();
  if (!focus) return;
  QLineEdit* invalid = edits_[*focus];
  invalid->setFocus(Qt::OtherFocusReason);
  // Entering a field selects its text, so typing replaces it.
  invalid->selectAll();
}

// "Degrees of freedom: a whole number from 1 to 1073741823": the rule of the
// first marked field, in field order.
QString TFieldForm::FirstMark() const {
  for (int i = 0; i < kSlotCount; ++i)
    if (!marks_[i].isEmpty()) return edits_[i]->toolTip();
  return {};
}

void TFieldForm::MarkField(int index, const QString& rule) {
  if (marks_[index] == rule) return;
  marks_[index] = rule;
  ShowMark(index);
  emit marksChanged(FirstMark());
}

// A marked field is tinted with the palette's base mixed with red, and says
// its rule as a tool tip and to screen readers.
void TFieldForm::ShowMark(int index) {
  QLineEdit* edit = edits_[index];
  const QString& rule = marks_[index];
  if (rule.isEmpty()) {
    edit->setPalette(QPalette());
  } else {
    // The form's palette: a palette change reaches the form before its
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

// The glyph and the marks of invalid fields follow a new palette.
void TFieldForm::changeEvent(QEvent* event) {
  if (event->type() == QEvent::PaletteChange && ComputeBtn != nullptr) {
    ComputeBtn->setIcon(ComputeGlyph(palette()));
    for (int i = 0; i < kSlotCount; ++i) ShowMark(i);
  }
  QWidget::changeEvent(event);
}

}  // namespace window
