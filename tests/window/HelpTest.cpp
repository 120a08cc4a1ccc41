// Help: the help contexts and the help file that each activation sets (beside
// the program, else installed in the data folder), F1 and Help Topics opening
// the help window at "Contents", context help in an open menu, and a missing
// help file.
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QRadioButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <utility>

#include "FormFixture.h"
#include "StartupFixture.h"

using namespace startup_test;

namespace {

constexpr char kHelpContext[] = "helpContext";

QString HelpFileBesideTest() {
  return QCoreApplication::applicationDirPath() + "/Probex.html";
}

int ContextOf(const QObject* holder) {
  return holder->property(kHelpContext).toInt();
}

}  // namespace

class THelpTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { SilencePlatformNoise(); }
  void helpContexts_data();
  void helpContexts();
  void helpFileBesideExecutable();
  void installedHelpFile_data();
  void installedHelpFile();
  void topicOfContext_data();
  void topicOfContext();
  void f1ShowsFunctionSection_data();
  void f1ShowsFunctionSection();
  void helpTopicsItemShowsContents();
  void topicScrollsToItsAnchor();
  void contextHelpInOpenMenu_data();
  void contextHelpInOpenMenu();
  void missingHelpFile();
  void returnFromHelpIsNoActivation();
};

void THelpTest::helpContexts_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<int>("context");  // after an activation; 0 before
  QTest::newRow("window") << "DistributionForm" << 10000;
  QTest::newRow("FileMenu") << "FileMenu" << 10000;
  QTest::newRow("EditMenu") << "EditMenu" << 10000;
  QTest::newRow("HelpMenu") << "HelpMenu" << 10000;
  QTest::newRow("SaveAsItem") << "SaveAsItem" << 10000;
  QTest::newRow("PrintSetupItem") << "PrintSetupItem" << 0;
  QTest::newRow("PrintItem") << "PrintItem" << 10000;
  QTest::newRow("N1") << "N1" << 10000;
  QTest::newRow("ExitItem") << "ExitItem" << 10000;
  QTest::newRow("CopyItem") << "CopyItem" << 10000;
  QTest::newRow("SelectAllItem") << "SelectAllItem" << 10000;
  QTest::newRow("Clear") << "Clear" << 0;
  QTest::newRow("N2") << "N2" << 0;
  QTest::newRow("FontItem") << "FontItem" << 10000;
  QTest::newRow("HelpTopicsItem") << "HelpTopicsItem" << 10000;
  QTest::newRow("FunctionHelpItem") << "FunctionHelpItem" << 10000;
  QTest::newRow("HomePage1") << "HomePage1" << 0;
  QTest::newRow("AboutItem") << "AboutItem" << 10000;
}

void THelpTest::helpContexts() {
  QFETCH(QString, name);
  QFETCH(int, context);
  TProbexFixture f(std::nullopt, false);
  const auto find = [&f, &name]() -> QObject* {
    if (f.form->objectName() == name) return f.form.get();
    return f.form->findChild<QObject*>(name);
  };
  QVERIFY(find());
  QVERIFY(find()->property(kHelpContext).isValid());
  QCOMPARE(ContextOf(find()), 0);
  f.form->show();
  f.form->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(f.form.get()));
  QCOMPARE(ContextOf(find()), context);
}

void THelpTest::helpFileBesideExecutable() {
  window::TApplication::SetHelpFile(QString());
  TProbexFixture f(std::nullopt);
  QVERIFY(f.active);
  QCOMPARE(window::TApplication::HelpFile(), HelpFileBesideTest());
  QVERIFY(QFileInfo(HelpFileBesideTest()).isFile());
}

// A program in <prefix>/bin, its help file beside it or in
// <prefix>/share/probex as installed: the file beside it wins.
void THelpTest::installedHelpFile_data() {
  QTest::addColumn<bool>("beside");
  QTest::addColumn<bool>("installed");
  QTest::addColumn<QString>("expected");  // relative to <prefix>
  QTest::newRow("beside only") << true << false << "bin/Probex.html";
  QTest::newRow("installed only") << false << true << "share/probex/Probex.html";
  QTest::newRow("both") << true << true << "bin/Probex.html";
  QTest::newRow("neither: the first place looked") << false << false << "bin/Probex.html";
}

void THelpTest::installedHelpFile() {
  QFETCH(bool, beside);
  QFETCH(bool, installed);
  QFETCH(QString, expected);
  QTemporaryDir prefix;
  QVERIFY(QDir(prefix.path()).mkpath("bin") && QDir(prefix.path()).mkpath("share/probex"));
  for (const auto& [wanted, file] :
       {std::pair{beside, "bin/Probex.html"}, std::pair{installed, "share/probex/Probex.html"}}) {
    QFile help(prefix.filePath(file));
    QVERIFY(!wanted || help.open(QIODevice::WriteOnly));
  }
  QCOMPARE(window::InstalledHelpFile(prefix.filePath("bin/Probex.html")),
           prefix.filePath(expected));
}

void THelpTest::topicOfContext_data() {
  QTest::addColumn<int>("context");
  QTest::addColumn<QString>("topic");
  QTest::newRow("main window") << 10000 << "Contents";
  QTest::newRow("none") << 0 << "";
  QTest::newRow("next number") << 10001 << "";
  QTest::newRow("negative") << -10000 << "";
}

void THelpTest::topicOfContext() {
  QFETCH(int, context);
  QFETCH(QString, topic);
  QCOMPARE(window::THelpViewer::TopicOfContext(context), topic);
}

// F1 opens the help at the section of the function chosen, whose anchor is
// the function's command name; Help Topics opens the contents.
void THelpTest::f1ShowsFunctionSection_data() {
  QTest::addColumn<QString>("radio");
  QTest::addColumn<QString>("focus");
  QTest::addColumn<QString>("topic");
  QTest::newRow("field") << "NormalRadio" << "Edit_1" << "normal";
  QTest::newRow("results log") << "NormalRadio" << "Memo" << "normal";
  QTest::newRow("radio button") << "ChiSquareRadio" << "ChiSquareRadio" << "chisquare";
  QTest::newRow("Compute") << "PoissonRadio" << "ComputeBtn" << "poisson";
  QTest::newRow("inverse option") << "TRadio" << "InversCheckBox" << "t";
  QTest::newRow("details pane") << "HyperRadio" << "DetailsText" << "hypergeometric";
}

void THelpTest::f1ShowsFunctionSection() {
  QFETCH(QString, radio);
  QFETCH(QString, focus);
  QFETCH(QString, topic);
  TProbexFixture f(std::nullopt);
  QVERIFY(f.active);
  QVERIFY(f.form->HelpViewer() == nullptr);
  f.form->findChild<QAbstractButton*>(radio)->click();
  auto* control = f.form->findChild<QWidget*>(focus);
  control->setFocus();
  QTest::keyClick(control, Qt::Key_F1);
  window::THelpViewer* viewer = f.form->HelpViewer();
  QVERIFY(viewer);
  QVERIFY(viewer->isVisible());
  QVERIFY(QTest::qWaitForWindowActive(viewer));
  QCOMPARE(viewer->ShownFile(), HelpFileBesideTest());
  QCOMPARE(viewer->ShownTopic(), topic);
  QCOMPARE(viewer->Browser()->source().fragment(), topic);
  QCOMPARE(viewer->Browser()->source().toLocalFile(), HelpFileBesideTest());
  QCOMPARE(viewer->Browser()->documentTitle(), QString("Probex Help"));
  // The section lies below the contents: the viewer scrolled to it.
  QVERIFY(viewer->Browser()->verticalScrollBar()->value() > 0);
}

void THelpTest::helpTopicsItemShowsContents() {
  TProbexFixture f(std::nullopt);
  f.Item("HelpTopicsItem")->trigger();
  QVERIFY(f.form->HelpViewer());
  QCOMPARE(f.form->HelpViewer()->ShownTopic(), QString("Contents"));
  QVERIFY(f.form->HelpViewer()->isVisible());
  // Escape closes the help window; asked again, the same window opens.
  window::THelpViewer* viewer = f.form->HelpViewer();
  QTest::keyClick(viewer->Browser(), Qt::Key_Escape);
  QVERIFY(!viewer->isVisible());
  f.form->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(f.form.get()));
  f.Item("HelpTopicsItem")->trigger();
  QCOMPARE(f.form->HelpViewer(), viewer);
  QVERIFY(viewer->isVisible());
}

// "Contents" heads the file: showing it scrolls back to the top after
// another topic.
void THelpTest::topicScrollsToItsAnchor() {
  TProbexFixture f(std::nullopt);
  f.Item("HelpTopicsItem")->trigger();
  window::THelpViewer* viewer = f.form->HelpViewer();
  QVERIFY(viewer);
  QVERIFY(QTest::qWaitForWindowExposed(viewer));
  QScrollBar* scroll = viewer->Browser()->verticalScrollBar();
  // The heading's margin may stand above the anchor.
  const int top = 10;
  QVERIFY(scroll->value() <= top);
  viewer->ShowTopic(HelpFileBesideTest(), "keys");
  QCOMPARE(viewer->ShownTopic(), QString("keys"));
  QVERIFY(scroll->value() > 20 * top);
  viewer->ShowContext(HelpFileBesideTest(), 10000);
  QCOMPARE(viewer->ShownTopic(), QString("Contents"));
  QVERIFY(scroll->value() <= top);
}

void THelpTest::contextHelpInOpenMenu_data() {
  QTest::addColumn<QString>("menu");
  QTest::addColumn<QString>("item");
  QTest::addColumn<int>("itemContext");  // -1: as the activation left it
  QTest::addColumn<QString>("topic");
  QTest::newRow("entry with the context") << "FileMenu"
                                          << "SaveAsItem" << -1 << "Contents";
  QTest::newRow("entry without: its menu's") << "HelpMenu"
                                             << "HomePage1" << -1 << "Contents";
  QTest::newRow("Delete All: its menu's") << "EditMenu"
                                          << "Clear" << -1 << "Contents";
  QTest::newRow("entry's own context first") << "EditMenu"
                                             << "CopyItem" << 10001 << "";
  QTest::newRow("no entry highlighted") << "HelpMenu"
                                        << "" << -1 << "Contents";
}

// F1 in an open menu asks for the help of the highlighted entry (context
// help), not for Help Topics, and closes the menu.
void THelpTest::contextHelpInOpenMenu() {
  QFETCH(QString, menu);
  QFETCH(QString, item);
  QFETCH(int, itemContext);
  QFETCH(QString, topic);
  TProbexFixture f(std::nullopt);
  QVERIFY(f.active);
  auto* popup = f.form->findChild<QMenu*>(menu);
  QAction* action = item.isEmpty() ? nullptr : f.Item(item.toLatin1());
  if (action != nullptr && itemContext >= 0) action->setProperty(kHelpContext, itemContext);
  popup->popup(f.form->mapToGlobal(QPoint(10, 10)));
  QVERIFY(QTest::qWaitForWindowExposed(popup));
  popup->setActiveAction(action);
  // The open menu takes F1 over the shortcut of Help Topics.
  QKeyEvent override(QEvent::ShortcutOverride, Qt::Key_F1, Qt::NoModifier);
  override.ignore();
  QApplication::sendEvent(popup, &override);
  QVERIFY(override.isAccepted());
  QTest::keyClick(popup, Qt::Key_F1);
  QVERIFY(f.form->HelpViewer());
  QCOMPARE(f.form->HelpViewer()->ShownTopic(), topic);
  QCOMPARE(f.form->HelpViewer()->ShownFile(), HelpFileBesideTest());
  QTRY_VERIFY(!popup->isVisible());
}

void THelpTest::missingHelpFile() {
  const QString missing = QDir::tempPath() + "/no-such-folder-of-probex/Probex.html";
  window::THelpViewer viewer;
  viewer.ShowTopic(missing, "Contents");
  QVERIFY(viewer.isVisible());
  QCOMPARE(viewer.Browser()->toPlainText(),
           QString("The help file %1 cannot be found.").arg(QDir::toNativeSeparators(missing)));
  QCOMPARE(viewer.ShownFile(), QString());
  // The file shown before, then missing, then there again.
  viewer.ShowTopic(HelpFileBesideTest(), "Contents");
  QCOMPARE(viewer.Browser()->documentTitle(), QString("Probex Help"));
  viewer.ShowTopic(missing, "Contents");
  QVERIFY(viewer.Browser()->toPlainText().startsWith("The help file "));
  viewer.ShowTopic(HelpFileBesideTest(), "Contents");
  QVERIFY(viewer.Browser()->toPlainText().contains("Keyboard summary"));
}

// The help window stands for the desktop's help viewer, another program:
// going back from it to the window is no activation (the fields keep their
// texts and the version file is not fetched again).
void THelpTest::returnFromHelpIsNoActivation() {
  TProbexFixture f(Answers("1.0.0.1", 2));
  QVERIFY(f.active);
  f.Type(1, "5");
  QTest::keyClick(f.Edit(1), Qt::Key_F1);
  QVERIFY(QTest::qWaitForWindowActive(f.form->HelpViewer()));
  f.form->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(f.form.get()));
  QCOMPARE(f.Requests(), 1);
  QCOMPARE(f.Edit(1)->text(), QString("5"));
}

PROBEX_WINDOW_TEST_MAIN(THelpTest)
#include "HelpTest.moc"
