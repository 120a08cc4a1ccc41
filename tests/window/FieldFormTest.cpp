// The field form on its own: each function's texts and options remembered
// through the session, marks from an invalid result, and the signals the
// window listens to.
#include <QCheckBox>
#include <QLabel>
#include <QSignalSpy>

#include "FormFixture.h"
#include "window/FieldForm.h"
#include "window/FieldPlaces.h"
#include "window/Session.h"

using calculator::Function;
using calculator::Mode;

class TFieldFormTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { SilencePlatformNoise(); }
  void init() { window_test::ForgetSession(); }
  void functionKeepsTextsAndOptions_data();
  void functionKeepsTextsAndOptions();
  void faultsMarkFields();
  void editedFollowsTheUser();
  void placesOfTodaysTable();
  void placesOfWiderTables();
};

void TFieldFormTest::functionKeepsTextsAndOptions_data() {
  QTest::addColumn<int>("function");
  QTest::addColumn<QString>("option");  // the option checked before the text is typed
  QTest::addColumn<int>("mode");
  QTest::newRow("normal, inverse")
      << int(Function::Normal) << "InversCheckBox" << int(Mode::Inverse);
  QTest::newRow("normal, between")
      << int(Function::Normal) << "BetweenCheckBox" << int(Mode::Interval);
  QTest::newRow("t, no option") << int(Function::T) << "" << int(Mode::Forward);
}

// Away to another function and back, and in a new form on the same session.
void TFieldFormTest::functionKeepsTextsAndOptions() {
  QFETCH(int, function);
  QFETCH(QString, option);
  QFETCH(int, mode);
  window::TSession session;
  {
    window::TFieldForm form(session, Function::F);
    form.SetFunction(Function(function));
    if (!option.isEmpty()) form.findChild<QCheckBox*>(option)->setChecked(true);
    window_test::TypeInto(form.Edit(calculator::kEdit1), "3.25");
    form.SetFunction(Function::Binomial);
    QCOMPARE(form.Edit(calculator::kEdit1)->text().toStdString(),
             calculator::DefaultTexts(Function::Binomial)[calculator::kEdit1]);
    form.SetFunction(Function(function));
    QCOMPARE(form.Edit(calculator::kEdit1)->text(), QString("3.25"));
    QCOMPARE(int(form.CurrentMode()), mode);
  }
  window::TFieldForm again(session, Function(function));
  QCOMPARE(again.Edit(calculator::kEdit1)->text(), QString("3.25"));
  QCOMPARE(int(again.CurrentMode()), mode);
}

// Each invalid field is marked with its caption and rule; the first one's
// sentence is announced, the last one takes the focus; typing unmarks.
void TFieldFormTest::faultsMarkFields() {
  window::TSession session;
  window::TFieldForm form(session, Function::Normal);
  form.show();
  QVERIFY(QTest::qWaitForWindowActive(&form));
  QSignalSpy marks(&form, &window::TFieldForm::marksChanged);
  window_test::TypeInto(form.Edit(calculator::kEdit2), "-1");
  window_test::TypeInto(form.Edit(calculator::kEdit4), "x");
  const calculator::Result result =
      calculator::Compute(Function::Normal, form.Texts(), Mode::Forward);
  QCOMPARE(result.faults.size(), 2u);
  form.ShowFaults(result);
  const QString first = form.findChild<QLabel*>("Label_2")->text() + ": " +
                        QString::fromStdString(result.faults[0].Message());
  QCOMPARE(form.FirstMark(), first);
  QCOMPARE(marks.last()[0].toString(), first);
  QCOMPARE(form.Edit(calculator::kEdit2)->accessibleDescription(), first);
  QCOMPARE(QApplication::focusWidget(), form.Edit(calculator::kEdit4));
  QTest::keyClicks(form.Edit(calculator::kEdit2), "5");
  QVERIFY(form.FirstMark().startsWith(form.findChild<QLabel*>("Label_4")->text()));
  form.ClearMarks();
  QVERIFY(form.FirstMark().isEmpty());
  QCOMPARE(marks.last()[0].toString(), QString());
}

// Typing and the options are the user's edits; a change of function is not.
void TFieldFormTest::editedFollowsTheUser() {
  window::TSession session;
  window::TFieldForm form(session, Function::Normal);
  QSignalSpy edited(&form, &window::TFieldForm::edited);
  QSignalSpy compute(&form, &window::TFieldForm::computeRequested);
  form.SetFunction(Function::ChiSquare);
  form.SetFunction(Function::Normal);
  QCOMPARE(edited.size(), 0);
  QTest::keyClicks(form.Edit(calculator::kEdit1), "7");
  form.findChild<QCheckBox*>("SdCheckBox")->click();
  form.findChild<QCheckBox*>("InversCheckBox")->click();
  QCOMPARE(edited.size(), 3);
  QTest::keyClick(form.Edit(calculator::kEdit1), Qt::Key_Return);
  form.ComputeButton()->click();
  QCOMPARE(compute.size(), 2);
}

namespace {

using window::TPlace;

// A function of the given fields that asks all three questions.
calculator::FunctionAbout Asking(std::span<const calculator::FieldAbout> fields) {
  calculator::FunctionAbout about{};
  about.fields = fields;
  about.modes = {Mode::Forward, Mode::Inverse, Mode::Interval};
  return about;
}

calculator::FieldAbout Field(int slot, calculator::Role role = calculator::Role::Parameter) {
  calculator::FieldAbout field{};
  field.slot = slot;
  field.role = role;
  return field;
}

// The places in Tab order, by name: "0" for slot 0, "c" Compute, "i", "b"
// and "s" the options.
QString TabOrder(const window::TFieldPlaces& places) {
  std::vector<std::pair<TPlace, QString>> stops{{places.compute, "c"}, {places.inverse, "i"},
                                                {places.between, "b"}, {places.sd, "s"}};
  for (std::size_t i = 0; i < places.fields.size(); ++i)
    if (places.fields[i].Placed()) stops.emplace_back(places.fields[i], QString::number(i));
  std::stable_sort(stops.begin(), stops.end(),
                   [](const auto& a, const auto& b) { return window::TabsBefore(a.first, b.first); });
  QString order;
  for (const auto& stop : stops) order += stop.second;
  return order;
}

}  // namespace

// Edit_1 to Edit_3 at the left, the x-value Edit_4 and the bound Edit_5 at
// the right, the inverse option level with Edit_3, the other two below.
void TFieldFormTest::placesOfTodaysTable() {
  const window::TFieldPlaces places =
      window::PlaceFields(window::SlotUses(calculator::Functions(), calculator::kSlotCount));
  const std::vector<TPlace> fields{{1, 0}, {2, 0}, {3, 0}, {1, 1}, {2, 1}};
  QVERIFY(std::equal(fields.begin(), fields.end(), places.fields.begin()));
  QVERIFY(std::none_of(places.fields.begin() + 5, places.fields.end(),
                          [](const TPlace& place) { return place.Placed(); }));
  QVERIFY(places.inverse == TPlace(3, 1) && places.between == TPlace(4, 1));
  QVERIFY(places.sd == TPlace(4, 0) && places.endRow == 5);
  QCOMPARE(TabOrder(places), QString("c012s34ib"));
}

// Seven slots and more: five parameters wrap into five rows at the left; a
// slot some function asks with stays at the right; an unused slot has no place.
void TFieldFormTest::placesOfWiderTables() {
  using calculator::Role;
  const calculator::FieldAbout five[] = {Field(0), Field(1), Field(2), Field(3), Field(4),
                                         Field(5, Role::XValue)};
  const calculator::FieldAbout two[] = {Field(0), Field(1), Field(5, Role::XValue)};
  const calculator::FieldAbout counting[] = {Field(0)};
  const std::vector<calculator::FunctionAbout> wide{Asking(two), Asking(five), Asking(counting)};
  window::TFieldPlaces places = window::PlaceFields(window::SlotUses(wide, 8));
  const std::vector<TPlace> fields{{1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}, {1, 1}, {2, 1}, {}};
  QVERIFY(places.fields == fields);
  QVERIFY(places.inverse == TPlace(5, 1) && places.between == TPlace(6, 1));
  QVERIFY(places.sd == TPlace(6, 0) && places.endRow == 7);
  QCOMPARE(TabOrder(places), QString("c01234s56ib"));
  // Today's functions asking at slot 3 beside the five parameters.
  const calculator::FieldAbout three[] = {Field(0), Field(1), Field(2), Field(3, Role::XValue)};
  const std::vector<calculator::FunctionAbout> mixed{Asking(three), Asking(five)};
  places = window::PlaceFields(window::SlotUses(mixed, 7));
  QCOMPARE(TabOrder(places), QString("c012s3456ib"));
  QVERIFY(places.fields[6] == TPlace(4, 1) && places.inverse == TPlace(5, 1));
}

PROBEX_WINDOW_TEST_MAIN(TFieldFormTest)
#include "FieldFormTest.moc"
