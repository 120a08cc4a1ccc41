// The function chooser over a table of 23 functions (TwentyThreeFunctions.h)
// and over the calculator's own: grouping, finding, keys and size.
#include <QBoxLayout>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>

#include "FormFixture.h"
#include "TwentyThreeFunctions.h"
#include "window/FunctionChooser.h"

namespace {

const std::vector<calculator::FunctionAbout> kTable = window_test::TwentyThreeFunctions();

struct TFinding {
  const char* typed;
  const char* shown;  // buttons and groups, top to bottom
  Qt::Key key;
  const char* checked;
  const char* left;   // the find field's text afterwards
  const char* focus;  // empty: the find field
};
const TFinding kFindings[] = {
    {"GAM", "ContinuousGroup GammaRadio", Qt::Key_Return, "GammaRadio", "", "GammaRadio"},
    {"log", "ContinuousGroup LognormalRadio LogisticRadio", Qt::Key_Enter, "LognormalRadio", "",
     "LognormalRadio"},
    {"log ", "ContinuousGroup LognormalRadio LogisticRadio", Qt::Key_Down, "LognormalRadio", "log ",
     "LognormalRadio"},
    {"chisq", "ContinuousGroup ChiSquareRadio NoncentralChiSquareRadio", Qt::Key_Escape,
     "NormalRadio", "", ""},
    {"nomial Coef", "CountingGroup BinoCoefRadio", Qt::Key_Down, "BinoCoefRadio", "nomial Coef",
     "BinoCoefRadio"},
    {"uniform ", "ContinuousGroup UniformRadio DiscreteGroup DiscreteUniformRadio", Qt::Key_Return,
     "UniformRadio", "", "UniformRadio"},
    {"xyz", "", Qt::Key_Return, "NormalRadio", "xyz", ""},
};

// A chooser alone in a shown and active window.
struct TChooser {
  explicit TChooser(std::span<const calculator::FunctionAbout> table)
      : chooser(new window::TFunctionChooser(table)) {
    (new QVBoxLayout(&top))->addWidget(chooser);
    top.show();
    top.activateWindow();
    active = QTest::qWaitForWindowActive(&top);
  }
  QWidget* Named(const QString& name) const { return chooser->findChild<QWidget*>(name); }
  bool Checked(const QString& name) const { return Named(name)->property("checked").toBool(); }
  QLineEdit* Find() const { return chooser->FindField(); }
  QStringList Shown() const {  // buttons and groups, top to bottom
    QStringList names;
    for (QWidget* w : chooser->findChildren<QWidget*>())
      if ((w->inherits("QRadioButton") || w->objectName().endsWith("Group")) &&
          w->isVisibleTo(chooser))
        names << w->objectName();
    return names;
  }
  QWidget top;
  window::TFunctionChooser* chooser;
  QSignalSpy chosen{chooser, &window::TFunctionChooser::FunctionChosen};
  bool active = false;
};

}  // namespace

class TFunctionChooserTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { SilencePlatformNoise(); }

  // Headings and buttons top to bottom: by family, in table order within each.
  void groupingOrder() {
    TChooser f(kTable);
    int previous = -1;
    for (const QString& name :
         QStringLiteral("ContinuousGroupHeading NormalRadio ChiSquareRadio TRadio FRadio "
                        "ExponentialRadio GammaRadio "
                        "BetaRadio UniformRadio LognormalRadio WeibullRadio CauchyRadio "
                        "LogisticRadio NoncentralTRadio NoncentralChiSquareRadio "
                        "NoncentralFRadio DiscreteGroupHeading BinomialRadio PoissonRadio "
                        "HyperRadio GeometricRadio "
                        "NegativeBinomialRadio DiscreteUniformRadio CountingGroupHeading "
                        "FactorialRadio BinoCoefRadio")
             .split(' ')) {
      QWidget* w = f.Named(name);
      QVERIFY2(w && w->mapTo(f.Named("FunctionList"), QPoint()).y() > previous, qPrintable(name));
      previous = w->mapTo(f.Named("FunctionList"), QPoint(0, w->height() - 1)).y();
    }
    QCOMPARE(f.Named("DiscreteGroup")->accessibleName(), QString("Discrete distributions"));
    QCOMPARE(f.Find()->placeholderText(), f.Find()->accessibleName());
  }

  // Typed text (case, "&" and surrounding blanks aside) and what then shows;
  // then a key and the function checked, the text left and the focus.
  void finding_data() {
    QTest::addColumn<int>("row");
    for (int row = 0; row < int(std::size(kFindings)); ++row)
      QTest::newRow(kFindings[row].typed) << row;
  }
  void finding() {
    QFETCH(int, row);
    const auto& [typed, shownText, key, checked, left, focus] = kFindings[row];
    const QString shown = QString::fromLatin1(shownText);
    TChooser f(kTable);
    // The first letter, typed on the list, starts the search.
    QTest::keyClick(f.Named("NormalRadio"), typed[0]);
    QCOMPARE(QApplication::focusWidget(), f.Find());
    QTest::keyClicks(f.Find(), typed + 1);
    QCOMPARE(f.Shown().join(' '), shown);
    QCOMPARE(f.Named("NoFunctionMatches")->isVisibleTo(f.chooser), shown.isEmpty());
    QTest::keyClick(f.Find(), key);
    QVERIFY(f.Checked(checked));
    QCOMPARE(f.chosen.size(), QLatin1String(checked) == "NormalRadio" ? 0 : 1);
    QCOMPARE(f.Find()->text(), left);
    QCOMPARE(QApplication::focusWidget(), *focus == 0 ? f.Find() : f.Named(focus));
    QCOMPARE(f.Shown().size(), *left == 0 ? 26 : shown.count(' ') + !shown.isEmpty());
  }

  // Ctrl+F enters the find field; the arrow keys move through the buttons shown.
  void arrowsInTheShortenedList() {
    TChooser f(kTable);
    QTest::keyClick(f.Named("NormalRadio"), Qt::Key_F, Qt::ControlModifier);
    QTest::keyClicks(QApplication::focusWidget(), "log");
    QTest::keyClick(f.Find(), Qt::Key_Down);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QVERIFY(f.Checked("LogisticRadio"));
  }

  // The access keys of the calculator's captions, in table order, each
  // pressed while another function is checked.
  void accessKeys() {
    std::vector<calculator::Function> keyed;
    for (const calculator::FunctionAbout& about : calculator::Functions())
      if (QString::fromLatin1(about.caption).contains('&')) keyed.push_back(about.function);
    QCOMPARE(keyed.size(), size_t{9});
    for (int i = 0; i < 9; ++i) {
      TChooser f(calculator::Functions());
      f.chooser->Select(keyed[(i + 1) % 9]);
      QTest::keyClick(&f.top, "NCTFBPYAM"[i], Qt::AltModifier);
      QTRY_COMPARE(f.chooser->Current(), keyed[i]);
      QCOMPARE(f.chosen.size(), 1);
      QCOMPARE(f.chosen[0][0].value<calculator::Function>(), keyed[i]);
    }
  }

  // At its smallest the chooser's height does not grow with the table; the
  // calculator's nine functions show without scrolling, and no caption is cut.
  void smallestSize() {
    std::vector<calculator::FunctionAbout> doubled = kTable;
    doubled.insert(doubled.end(), kTable.begin(), kTable.end());
    QCOMPARE(window::TFunctionChooser(doubled).minimumSizeHint().height(),
             window::TFunctionChooser(kTable).minimumSizeHint().height());
    // Nine functions fit the smallest list; more scroll.
    const std::span nine = calculator::Functions().first(9);
    for (const auto table : {std::span(kTable), nine}) {
      TChooser f(table);
      f.top.resize(f.top.minimumSizeHint());
      QTRY_COMPARE(f.chooser->size(), f.chooser->minimumSizeHint());
      QScrollBar* bar = f.chooser->findChild<QScrollArea*>()->verticalScrollBar();
      QCOMPARE(bar->isVisibleTo(f.chooser), table.size() > nine.size());
      for (QWidget* button : f.chooser->Buttons())
        QVERIFY2(button->width() >= button->sizeHint().width(), qPrintable(button->objectName()));
    }
  }
};

QTEST_MAIN(TFunctionChooserTest)
#include "FunctionChooserTest.moc"
