#include "window/FunctionChooser.h"

#include <QBoxLayout>
#include <QButtonGroup>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QStyle>
#include <algorithm>
#include <array>

namespace window {

using calculator::Family;
using calculator::Function;
using calculator::FunctionAbout;

namespace {

// Sizes in device-independent pixels (96 dpi): the margins inside the
// chooser's raised frame, the gap below the find field, the margins of the
// list, the gap above each heading after the first, and the indent of the
// buttons under their heading.  A button's own height leaves room enough
// between two buttons; the list is tight, so that the calculator's nine
// functions show whole in a window that fits a 1600 x 1000 screen at scale 2.
constexpr QMargins kChooserMargins{4, 4, 4, 4};
constexpr int kFindGap = 4;
constexpr QMargins kListMargins{4, 0, 4, 0};
constexpr int kHeadingGap = 4;
constexpr int kButtonIndent = 4;

constexpr char kFindPlaceholder[] = "Find a function";
constexpr char kFindToolTip[] =
    "Find a function by its name (Ctrl+F); Enter chooses the first one shown";
constexpr char kNoMatch[] = "No function matches";

// The families in the order of their groups, with their headings and the
// names screen readers give the groups.
struct TFamilyHeading {
  Family family;
  const char* heading;
  const char* accessibleName;
  const char* objectName;
};
constexpr std::array<TFamilyHeading, 3> kFamilies{{
    {Family::Continuous, "Continuous", "Continuous distributions", "ContinuousGroup"},
    {Family::Discrete, "Discrete", "Discrete distributions", "DiscreteGroup"},
    {Family::Counting, "Counting", "Counting functions", "CountingGroup"},
}};

// A button's text: the caption without the " Distribution" its heading
// already says ("Noncentral Chi Square"), keeping the access key.
QString ButtonText(const FunctionAbout& about) {
  QString text = QString::fromLatin1(about.caption);
  const QLatin1String kSaid(" Distribution");
  if (about.family != calculator::Family::Counting && text.endsWith(kSaid)) text.chop(kSaid.size());
  return text;
}

// A caption as the user reads it: without the "&" of its access key.
QString ShownCaption(const FunctionAbout& about) {
  return QString::fromLatin1(about.caption).remove(QLatin1Char('&'));
}

bool Matches(const FunctionAbout& about, const QString& needle) {
  return needle.isEmpty() || ShownCaption(about).contains(needle, Qt::CaseInsensitive) ||
         QString::fromLatin1(about.commandName).contains(needle, Qt::CaseInsensitive);
}

// A key that starts a search from the list: a letter or digit typed without
// Ctrl, Alt or Meta (those are shortcuts and access keys).
bool StartsSearch(const QKeyEvent& key) {
  const Qt::KeyboardModifiers commands = Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
  return !(key.modifiers() & commands) && !key.text().isEmpty() && key.text()[0].isLetterOrNumber();
}

}  // namespace

TFunctionChooser::TFunctionChooser(std::span<const FunctionAbout> functions, QWidget* parent)
    : QFrame(parent), functions_(functions) {
  setObjectName(QStringLiteral("FunctionChooser"));
  setFrameStyle(QFrame::Panel | QFrame::Raised);
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);

  find_ = new QLineEdit(this);
  find_->setObjectName(QStringLiteral("FunctionFind"));
  find_->setPlaceholderText(QString::fromLatin1(kFindPlaceholder));
  find_->setAccessibleName(QString::fromLatin1(kFindPlaceholder));
  find_->setToolTip(QString::fromLatin1(kFindToolTip));
  find_->setClearButtonEnabled(true);
  // Reached by Ctrl+F, a click or typing in the list; Tab keeps stopping at
  // the checked button only.
  find_->setFocusPolicy(Qt::ClickFocus);
  find_->installEventFilter(this);

  list_ = new QWidget;
  list_->setObjectName(QStringLiteral("FunctionList"));
  group_ = new QButtonGroup(this);
  buildGroups();

  scroll_ = new QScrollArea(this);
  scroll_->setObjectName(QStringLiteral("FunctionScroll"));
  scroll_->setWidget(list_);
  scroll_->setWidgetResizable(true);
  scroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  scroll_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  for (QWidget* w : {static_cast<QWidget*>(scroll_), static_cast<QWidget*>(list_),
                     static_cast<QWidget*>(scroll_->verticalScrollBar())})
    w->setFocusPolicy(Qt::NoFocus);
  FitWidth();

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(kChooserMargins);
  layout->setSpacing(kFindGap);
  layout->addWidget(find_);
  layout->addWidget(scroll_, 1);

  if (!buttons_.empty()) buttons_.front()->setChecked(true);
  UpdateButtonFocus();

  connect(group_, &QButtonGroup::idToggled, this, &TFunctionChooser::ButtonToggled);
  connect(find_, &QLineEdit::textChanged, this, &TFunctionChooser::Filter);
  auto* findKey = new QShortcut(QKeySequence::Find, this);
  findKey->setContext(Qt::WindowShortcut);
  connect(findKey, &QShortcut::activated, this, [this] {
    find_->setFocus(Qt::ShortcutFocusReason);
    find_->selectAll();
  });
}

// One box per family with entries: its heading, then its buttons in table
// order, indented.
void TFunctionChooser::buildGroups() {
  auto* column = new QVBoxLayout(list_);
  column->setContentsMargins(kListMargins);
  column->setSpacing(kHeadingGap);
  for (const TFamilyHeading& family : kFamilies) {
    TGroup group{new QWidget(list_), nullptr, {}};
    group.box->setObjectName(QString::fromLatin1(family.objectName));
    group.box->setAccessibleName(QString::fromLatin1(family.accessibleName));
    auto* heading = new QLabel(QString::fromLatin1(family.heading), group.box);
    group.heading = heading;
    heading->setObjectName(QString::fromLatin1(family.objectName) + QStringLiteral("Heading"));
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    auto* rows = new QVBoxLayout(group.box);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(0);
    rows->addWidget(heading);
    for (int id = 0; id < static_cast<int>(functions_.size()); ++id) {
      const FunctionAbout& about = functions_[id];
      if (about.family != family.family) continue;
      auto* button = new QRadioButton(ButtonText(about), group.box);
      button->setAccessibleName(ShownCaption(about));
      button->setObjectName(QString::fromLatin1(about.radioName));
      button->installEventFilter(this);
      auto* indented = new QHBoxLayout;
      indented->addSpacing(kButtonIndent);
      // As wide as its caption: a click beside the caption is no click on it.
      indented->addWidget(button, 0, Qt::AlignLeft);
      rows->addLayout(indented);
      group_->addButton(button, id);
      group.buttons.push_back(button);
      buttons_.push_back(button);
    }
    if (group.buttons.empty()) {
      delete group.box;
      continue;
    }
    column->addWidget(group.box);
    groups_.push_back(std::move(group));
  }
  noMatch_ = new QLabel(QString::fromLatin1(kNoMatch), list_);
  noMatch_->setObjectName(QStringLiteral("NoFunctionMatches"));
  noMatch_->setEnabled(false);
  noMatch_->hide();
  column->addWidget(noMatch_);
  column->addStretch(1);
}

void TFunctionChooser::Select(Function function) {
  for (QAbstractButton* button : group_->buttons()) {
    if (functions_[group_->id(button)].function != function) continue;
    {
      const QSignalBlocker blocker(group_);
      button->setChecked(true);
    }
    UpdateButtonFocus();
    scroll_->ensureWidgetVisible(button);
    return;
  }
}

Function TFunctionChooser::Current() const {
  const int id = group_->checkedId();
  return functions_[id >= 0 ? id : 0].function;
}

QList<QWidget*> TFunctionChooser::Buttons() const {
  return QList<QWidget*>(buttons_.begin(), buttons_.end());
}

// Room for the widest caption beside the scroll bar, whether it shows or not.
void TFunctionChooser::FitWidth() {
  scroll_->setMinimumWidth(list_->sizeHint().width() +
                           style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, scroll_) +
                           2 * scroll_->frameWidth());
}

// `buttons` buttons under the three headings, or the whole list when it is
// shorter, with the scroll area's frame.  The whole list is measured without
// a filter, so that finding does not resize the chooser.
int TFunctionChooser::ListHeight(int buttons) const {
  if (groups_.empty()) return 2 * scroll_->frameWidth();
  const int families = static_cast<int>(kFamilies.size());
  const int part =
      kListMargins.top() + kListMargins.bottom() + buttons * buttons_.front()->sizeHint().height() +
      families * groups_.front().heading->sizeHint().height() + (families - 1) * kHeadingGap;
  if (find_->text().isEmpty()) wholeListHeight_ = list_->sizeHint().height();
  return std::min(wholeListHeight_, part) + 2 * scroll_->frameWidth();
}

QSize TFunctionChooser::HintWithList(int buttons) const {
  const int height = 2 * frameWidth() + kChooserMargins.top() + kChooserMargins.bottom() +
                     find_->sizeHint().height() + kFindGap + ListHeight(buttons);
  return {QFrame::minimumSizeHint().width(), height};
}

QSize TFunctionChooser::sizeHint() const {
  return HintWithList(kButtonsWanted);
}

QSize TFunctionChooser::minimumSizeHint() const {
  return HintWithList(kButtonsAtSmallest);
}

void TFunctionChooser::changeEvent(QEvent* event) {
  QFrame::changeEvent(event);
  if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
    FitWidth();
    updateGeometry();
  }
}

void TFunctionChooser::showEvent(QShowEvent* event) {
  QFrame::showEvent(event);
  if (QAbstractButton* checked = group_->checkedButton()) scroll_->ensureWidgetVisible(checked);
}

void TFunctionChooser::ButtonToggled(int id, bool checked) {
  if (!checked) return;  // the button that lost its check
  UpdateButtonFocus();
  emit FunctionChosen(functions_[id].function);
}

// As in a dialog of the desktop, Tab stops at the checked button only.
void TFunctionChooser::UpdateButtonFocus() {
  for (QRadioButton* button : buttons_)
    button->setFocusPolicy(button->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
}

void TFunctionChooser::Filter(const QString& text) {
  const QString needle = text.trimmed();
  bool any = false;
  for (const TGroup& group : groups_) {
    bool shown = false;
    for (QRadioButton* button : group.buttons) {
      const bool match = Matches(functions_[group_->id(button)], needle);
      button->setHidden(!match);
      shown = shown || match;
    }
    group.box->setHidden(!shown);
    any = any || shown;
  }
  noMatch_->setHidden(any);
}

QRadioButton* TFunctionChooser::FirstShown() const {
  for (QRadioButton* button : buttons_)
    if (!button->isHidden()) return button;
  return nullptr;
}

void TFunctionChooser::ChooseFirstShown(bool keepFilter) {
  QRadioButton* first = FirstShown();
  if (first == nullptr) return;
  first->setChecked(true);
  if (!keepFilter) find_->clear();
  first->setFocus(Qt::OtherFocusReason);
  scroll_->ensureWidgetVisible(first);
}

void TFunctionChooser::GoToChecked() {
  QAbstractButton* checked = group_->checkedButton();
  if (checked == nullptr || checked->isHidden()) return;
  checked->setFocus(Qt::OtherFocusReason);
  scroll_->ensureWidgetVisible(checked);
}

bool TFunctionChooser::FindKey(const QKeyEvent& key) {
  if (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
  switch (key.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (find_->text().trimmed().isEmpty())
        GoToChecked();
      else
        ChooseFirstShown(false);
      return true;
    case Qt::Key_Down:
      ChooseFirstShown(true);
      return true;
    case Qt::Key_Escape:
      if (find_->text().isEmpty())
        GoToChecked();
      else
        find_->clear();
      return true;
    default:
      return false;
  }
}

// A letter or digit typed on a button starts a new search with it.
bool TFunctionChooser::ListKey(const QKeyEvent& key) {
  if (!StartsSearch(key)) return false;
  find_->setFocus(Qt::OtherFocusReason);
  find_->setText(key.text());
  return true;
}

bool TFunctionChooser::eventFilter(QObject* watched, QEvent* event) {
  if (watched == find_ && event->type() == QEvent::KeyPress)
    return FindKey(*static_cast<QKeyEvent*>(event)) || QFrame::eventFilter(watched, event);
  auto* button = qobject_cast<QRadioButton*>(watched);
  if (button == nullptr || !group_->buttons().contains(button))
    return QFrame::eventFilter(watched, event);
  if (event->type() == QEvent::KeyPress && ListKey(*static_cast<QKeyEvent*>(event))) return true;
  // A button the arrow keys or an access key reach is scrolled into sight.
  if (event->type() == QEvent::FocusIn) scroll_->ensureWidgetVisible(button);
  return QFrame::eventFilter(watched, event);
}

}  // namespace window
