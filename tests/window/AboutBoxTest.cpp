// The about box: its texts, look and place, the rebuilt address and notice,
// how it closes, and the home page.
#include <QGuiApplication>
#include <QScreen>

#include "FormFixture.h"
#include "StartupFixture.h"
#include "window/Obfuscated.h"

using namespace startup_test;

namespace {

const QString kHomePage = "http://www.probex.example/";
const QString kNotice = "Copyright (c) 2026 The Probex authors";

// The disguise is made by the compiler.
static_assert(window::Obfuscate("A", 7).Codes[0] == 'A' + 1 + 7);
static_assert(window::Obfuscate("ab", 3).Codes[1] == 'b' + 2 + 3);
static_assert(window::kHomePageLength == 26);

}  // namespace

class TAboutBoxTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { SilencePlatformNoise(); }
  void storedTexts_data();
  void storedTexts();
  void createdHidden();
  void textsAtActivation_data();
  void textsAtActivation();
  void look();
  void picture();
  void centredOnScreen();
  void closes_data();
  void closes();
  void tabOnOkKeepsItOpen();
  void addressLabelOpensHomePage();
  void homePageItem();
};

void TAboutBoxTest::storedTexts_data() {
  QTest::addColumn<QString>("plain");
  QTest::addColumn<QByteArray>("stored");
  QTest::addColumn<int>("shift");
  QTest::addColumn<QString>("rebuilt");
  const auto& home = window::StoredHomePage();
  QTest::newRow("home page") << kHomePage
                             << QByteArray(reinterpret_cast<const char*>(home.Codes.data()),
                                           static_cast<qsizetype>(home.Codes.size()))
                             << 7 << window::HomePageAddress();
  const auto notice = window::StoredNotice();
  QTest::newRow("notice") << kNotice
                          << QByteArray(reinterpret_cast<const char*>(notice.data()),
                                        static_cast<qsizetype>(notice.size()))
                          << 3 << window::AboutNotice();
}

// Character i (from 1) is kept as its code + i + shift; rebuilding gives the
// text back.
void TAboutBoxTest::storedTexts() {
  QFETCH(QString, plain);
  QFETCH(QByteArray, stored);
  QFETCH(int, shift);
  QFETCH(QString, rebuilt);
  QCOMPARE(rebuilt, plain);
  QCOMPARE(stored.size(), plain.size());
  for (qsizetype i = 0; i < plain.size(); ++i)
    QCOMPARE(static_cast<unsigned char>(stored[i]), plain[i].unicode() + (i + 1) + shift);
  QVERIFY(!stored.contains(plain.toLatin1()));
}

void TAboutBoxTest::createdHidden() {
  TProbexFixture f(std::nullopt);
  QVERIFY(f.active);
  QVERIFY(!f.about->isVisible());
  QVERIFY(f.about->parent() == nullptr);
  QVERIFY(!f.about->isModal());
  // Its labels stay empty until it is first activated.
  QCOMPARE(f.AboutLabel("ProductName")->text(), QString());
  QCOMPARE(f.AboutLabel("InternetAddrLabel")->text(), QString());
}

void TAboutBoxTest::textsAtActivation_data() {
  QTest::addColumn<QString>("label");
  QTest::addColumn<QString>("text");
  QTest::addColumn<QPoint>("place");
  QTest::newRow("ProductName") << "ProductName"
                               << "Probex for Linux" << QPoint(8, 8);
  QTest::newRow("Version") << "Version"
                           << "Version 1.0.0.1" << QPoint(8, 24);
  QTest::newRow("Copyright") << "Copyright" << kNotice << QPoint(8, 56);
  QTest::newRow("Comments") << "Comments"
                            << "This program is free to use. All other rights reserved."
                            << QPoint(8, 80);
  QTest::newRow("InternetAddrLabel") << "InternetAddrLabel" << kHomePage << QPoint(72, 168);
}

void TAboutBoxTest::textsAtActivation() {
  QFETCH(QString, label);
  QFETCH(QString, text);
  QFETCH(QPoint, place);
  TProbexFixture f(Answers("1.0.0.1", 3));
  QVERIFY(f.OpenAbout());
  QLabel* shown = f.AboutLabel(label.toLatin1());
  QVERIFY(shown);
  QCOMPARE(shown->text(), text);
  QCOMPARE(shown->pos(), place);
  // Auto-sized: the whole text shows.
  QVERIFY(shown->width() >= shown->sizeHint().width());
  QVERIFY(shown->isVisible());
  QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(f.OKButton()));
  // Each activation sets the texts again.
  shown->setText("changed");
  QTest::mouseClick(f.OKButton(), Qt::LeftButton);
  QVERIFY(QTest::qWaitForWindowActive(f.form.get()));
  QVERIFY(f.OpenAbout());
  if (label != "Comments") QCOMPARE(shown->text(), text);
}

void TAboutBoxTest::look() {
  TProbexFixture f(Answers("1.0.0.1", 2));
  QVERIFY(f.OpenAbout());
  QCOMPARE(f.about->windowTitle(), QString("About Probex"));
  QCOMPARE(f.about->size(), QSize(383, 209));
  QCOMPARE(f.about->minimumSize(), QSize(383, 209));
  QCOMPARE(f.about->maximumSize(), QSize(383, 209));
  for (const char* name : {"ProductName", "Version", "Copyright", "Comments"}) {
    QLabel* label = f.AboutLabel(name);
    QCOMPARE(label->palette().color(QPalette::WindowText), QColor(Qt::white));
    QVERIFY(label->font().bold());
    QCOMPARE(label->font().pixelSize(), 11);
    QVERIFY(!label->autoFillBackground());
  }
  QLabel* address = f.AboutLabel("InternetAddrLabel");
  QCOMPARE(address->palette().color(QPalette::WindowText), QColor(Qt::blue));
  QVERIFY(address->font().bold());
  QVERIFY(address->font().underline());
  QCOMPARE(address->font().pixelSize(), 11);
  QCOMPARE(address->cursor().shape(), Qt::PointingHandCursor);
  QPushButton* ok = f.OKButton();
  QCOMPARE(ok->text(), QString("&OK"));
  QCOMPARE(ok->geometry(), QRect(8, 160, 41, 25));
  QVERIFY(ok->font().bold());
  QCOMPARE(ok->font().pixelSize(), 11);
  QCOMPARE(ok->palette().color(QPalette::ButtonText), QColor(Qt::black));
}

void TAboutBoxTest::picture() {
  const QImage picture = window::TAboutBox::Picture();
  QCOMPARE(picture.size(), QSize(302, 300));
  QCOMPARE(picture.format(), QImage::Format_Indexed8);
  QVERIFY(picture.colorCount() <= 256);
  QVERIFY(picture.colorCount() > 16);  // a picture, not a flat fill
  TProbexFixture f(std::nullopt, false);
  auto* image = f.about->findChild<QLabel*>("Image");
  QVERIFY(image);
  QVERIFY(image->hasScaledContents());
  QCOMPARE(image->geometry(), QRect(0, 0, 383, 209));
  QCOMPARE(image->pixmap().size(), QSize(302, 300));
}

void TAboutBoxTest::centredOnScreen() {
  TProbexFixture f(Answers("1.0.0.1", 2));
  QVERIFY(f.OpenAbout());
  const QRect screen = f.about->screen()->availableGeometry();
  // Shown a second time, when its frame is known, the frame is centred.
  QTest::mouseClick(f.OKButton(), Qt::LeftButton);
  QVERIFY(QTest::qWaitForWindowActive(f.form.get()));
  QVERIFY(f.OpenAbout());
  const QPoint centre = f.about->frameGeometry().center();
  QVERIFY2(std::abs(centre.x() - screen.center().x()) <= 1 &&
               std::abs(centre.y() - screen.center().y()) <= 1,
           qPrintable(QStringLiteral("frame centre (%1, %2), screen centre (%3, %4)")
                          .arg(centre.x())
                          .arg(centre.y())
                          .arg(screen.center().x())
                          .arg(screen.center().y())));
}

void TAboutBoxTest::closes_data() {
  QTest::addColumn<QString>("how");
  QTest::newRow("OK clicked") << "click";
  QTest::newRow("character key on OK") << "a";
  QTest::newRow("digit on OK") << "7";
  QTest::newRow("space on OK") << " ";
  QTest::newRow("Enter on OK") << "enter";
  QTest::newRow("Escape") << "escape";
  QTest::newRow("main window activated") << "deactivate";
}

// Every way of closing hides the box and returns to the window, which runs
// its activation again: the version file fetched again, the fields and the
// log kept.
void TAboutBoxTest::closes() {
  QFETCH(QString, how);
  TProbexFixture f(Answers("1.0.0.1", 3));
  QTest::mouseClick(f.Compute(), Qt::LeftButton);
  f.Type(1, "5");
  QVERIFY(f.OpenAbout());
  QCOMPARE(f.Requests(), 1);
  QPushButton* ok = f.OKButton();
  if (how == "click")
    QTest::mouseClick(ok, Qt::LeftButton);
  else if (how == "enter")
    QTest::keyClick(ok, Qt::Key_Return);
  else if (how == "escape")
    QTest::keyClick(ok, Qt::Key_Escape);
  else if (how == "deactivate")
    f.form->activateWindow();
  else
    QTest::keyClicks(ok, how);
  QVERIFY(QTest::qWaitForWindowActive(f.form.get()));
  QVERIFY(!f.about->isVisible());
  QCOMPARE(f.Requests(), 2);
  QCOMPARE(f.Edit(1)->text(), QString("5"));
  QCOMPARE(f.form->LogLines().size(), 2);
  // It opens again, as often as asked.
  QVERIFY(f.OpenAbout());
  QVERIFY(f.about->isVisible());
}

void TAboutBoxTest::tabOnOkKeepsItOpen() {
  TProbexFixture f(Answers("1.0.0.1", 2));
  QVERIFY(f.OpenAbout());
  QTest::keyClick(f.OKButton(), Qt::Key_Tab);
  QTest::keyClick(f.OKButton(), Qt::Key_Shift);
  QTest::keyClick(f.OKButton(), Qt::Key_F5);
  QVERIFY(f.about->isVisible());
  QVERIFY(f.about->isActiveWindow());
  QCOMPARE(f.Requests(), 1);
}

void TAboutBoxTest::addressLabelOpensHomePage() {
  TProbexFixture f(Answers("1.0.0.1", 2));
  QVERIFY(f.OpenAbout());
  QTest::mouseClick(f.AboutLabel("InternetAddrLabel"), Qt::LeftButton);
  QCOMPARE(f.platform.opened.size(), 1);
  QCOMPARE(f.platform.opened[0].address, kHomePage);
  QCOMPARE(f.platform.opened[0].owner, static_cast<QWidget*>(f.about.get()));
  // A click beside the address opens nothing.
  QTest::mouseClick(f.AboutLabel("Version"), Qt::LeftButton);
  QCOMPARE(f.platform.opened.size(), 1);
}

void TAboutBoxTest::homePageItem() {
  TProbexFixture f(Answers("1.0.0.1", 1));
  f.Item("HomePage1")->trigger();
  QCOMPARE(f.platform.opened.size(), 1);
  QCOMPARE(f.platform.opened[0].address, kHomePage);
  QCOMPARE(f.platform.opened[0].address.size(), 26);
  QCOMPARE(f.platform.opened[0].owner, static_cast<QWidget*>(f.form.get()));
  QVERIFY(f.form->isActiveWindow());
  QVERIFY(f.platform.errors.isEmpty());
  // Without a browser the user learns so, with the address to open by hand.
  f.platform.openFails = true;
  f.Item("HomePage1")->trigger();
  QCOMPARE(f.platform.errors.size(), 1);
  QCOMPARE(f.platform.errors[0].text, "No web browser could be started for " + kHomePage +
                                          "; please open the address yourself.");
}

PROBEX_WINDOW_TEST_MAIN(TAboutBoxTest)
#include "AboutBoxTest.moc"
