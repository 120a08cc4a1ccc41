// Activation of the finished window and its version check on a worker
// thread, against a scripted HTTP server on 127.0.0.1.
#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QTimer>

#include "FormFixture.h"
#include "StartupFixture.h"
#include "window/QtPlatform.h"
#include "window/VersionCheck.h"

using namespace startup_test;

namespace {

const QString kNormalHeader = "Normal Distribution, mean=0.000000, variance=1.000000:";

QString NewVersionText(const std::string& host) {
  return "A new version is available. Check " + QString::fromStdString(host) + ".";
}

// Closes the next modal box that opens, as a user pressing OK would, and
// counts the boxes so closed.
class TBoxCloser : public QObject {
 public:
  TBoxCloser() {
    timer_.setInterval(20);
    timer_.callOnTimeout(this, [this] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr || !box->isVisible()) return;
      titles << box->windowTitle();
      texts << box->text();
      box->button(QMessageBox::Ok)->click();
    });
    timer_.start();
  }
  QStringList titles;
  QStringList texts;

 private:
  QTimer timer_;
};

}  // namespace

class TStartupTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { SilencePlatformNoise(); }
  void applicationTitle();
  void versionAddressAndMessage();
  void reservedHosts_data();
  void reservedHosts();
  void firstActivationEmptiesLogLaterOnesDoNot();
  void activationRequest();
  void versionBodies_data();
  void versionBodies();
  void failuresAreSilent_data();
  void failuresAreSilent();
  void keptAliveConnectionIsReused();
  void newVersionBoxIsNoActivation();
  void windowAnswersWhileCheckHangs();
};

void TStartupTest::applicationTitle() {
  QCOMPARE(QCoreApplication::applicationName(), QString("Probex"));
  QCOMPARE(QGuiApplication::desktopFileName(), QString("probex"));
  QVERIFY(!QApplication::windowIcon().isNull());
}

void TStartupTest::versionAddressAndMessage() {
  QCOMPARE(window::VersionFileAddress("probex.example"),
           std::string("http://probex.example/pxversion.txt"));
  QCOMPARE(window::VersionFileAddress("127.0.0.1:8765"),
           std::string("http://127.0.0.1:8765/pxversion.txt"));
  QCOMPARE(window::NewVersionMessage("probex.example"),
           QString("A new version is available. Check probex.example."));
  QCOMPARE(QString(window::kProgramVersion), QString("1.0.0.1"));
  // The form asks the host it was given, and by default the build's host.
  TScriptedPlatform platform;
  QCOMPARE(window::TDistributionForm(platform, "127.0.0.1:1").VersionHost(),
           std::string("127.0.0.1:1"));
  QCOMPARE(window::TDistributionForm(platform).VersionHost(), window::DefaultVersionHost());
}

void TStartupTest::reservedHosts_data() {
  QTest::addColumn<QString>("host");
  QTest::addColumn<bool>("reserved");
  QTest::newRow("default host") << "probex.example" << true;
  QTest::newRow("with port") << "probex.example:8080" << true;
  QTest::newRow("upper case") << "PROBEX.Example" << true;
  QTest::newRow("fully qualified") << "probex.example." << true;
  QTest::newRow("bare label") << "example" << true;
  QTest::newRow("invalid domain") << "www.probex.invalid" << true;
  QTest::newRow("com domain") << "example.com" << false;
  QTest::newRow("label ends in example") << "probexample" << false;
  QTest::newRow("test domain") << "probex.test" << false;
  QTest::newRow("loopback address") << "127.0.0.1:8765" << false;
  QTest::newRow("localhost") << "localhost" << false;
  QTest::newRow("IPv6 literal") << "[::1]:8080" << false;
  QTest::newRow("empty") << "" << false;
}

void TStartupTest::reservedHosts() {
  QFETCH(QString, host);
  QFETCH(bool, reserved);
  QCOMPARE(window::IsReservedHost(host.toStdString()), reserved);
}

void TStartupTest::firstActivationEmptiesLogLaterOnesDoNot() {
  TProbexFixture f(Answers("1.0.0.1", 3), false);
  f.Memo()->setPlainText("left from the designer");
  f.form->show();
  f.form->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(f.form.get()));
  QVERIFY(f.form->LogLines().isEmpty());
  QCOMPARE(f.Requests(), 1);

  QTest::mouseClick(f.Compute(), Qt::LeftButton);
  QCOMPARE(f.form->LogLines().size(), 2);
  for (int activation = 2; activation <= 3; ++activation) {
    QVERIFY(f.OpenAbout());
    QTest::mouseClick(f.OKButton(), Qt::LeftButton);
    QVERIFY(QTest::qWaitForWindowActive(f.form.get()));
    QCOMPARE(f.Requests(), activation);
    QCOMPARE(f.form->LogLines().size(), 2);
    QCOMPARE(f.form->LogLines().first(), kNormalHeader);
  }
  QVERIFY(f.platform.informations.isEmpty());
}

void TStartupTest::activationRequest() {
  TProbexFixture f(Answers("1.0.0.1", 1));
  QVERIFY(f.active);
  QVERIFY(f.server->WaitForSteps(0, 2, 2000));
  const std::string received = f.server->Received(0);
  const std::string expected =
      "GET /pxversion.txt HTTP/1.1\r\n"
      "Content-Type: text/html\r\n"
      "Host: " +
      f.host +
      "\r\n"
      "Accept: text/html, */*\r\n"
      "User-Agent: Mozilla/3.0 (compatible; Probex)\r\n"
      "\r\n";
  QCOMPARE(QString::fromStdString(received), QString::fromStdString(expected));
}

void TStartupTest::versionBodies_data() {
  QTest::addColumn<QByteArray>("body");
  QTest::addColumn<bool>("message");
  QTest::newRow("the program's version") << QByteArray("1.0.0.1") << false;
  QTest::newRow("with CR LF") << QByteArray("1.0.0.1\r\n") << true;
  QTest::newRow("with LF") << QByteArray("1.0.0.1\n") << true;
  QTest::newRow("leading blank") << QByteArray(" 1.0.0.1") << true;
  QTest::newRow("trailing blank") << QByteArray("1.0.0.1 ") << true;
  QTest::newRow("newer") << QByteArray("1.0.0.2") << true;
  QTest::newRow("older") << QByteArray("1.0.0.0") << true;
  QTest::newRow("longer") << QByteArray("1.0.0.10") << true;
  QTest::newRow("shorter") << QByteArray("1.0.0.") << true;
  QTest::newRow("empty body") << QByteArray("") << true;
  QTest::newRow("with NUL") << QByteArray("1.0.0.1\0", 8) << true;
}

// A body other than exactly the seven characters shows the box, and only
// then.
void TStartupTest::versionBodies() {
  QFETCH(QByteArray, body);
  QFETCH(bool, message);
  TProbexFixture f(Answers(body.toStdString(), 1));
  QVERIFY(f.active);
  QCOMPARE(f.Requests(), 1);
  if (message) {
    QCOMPARE(f.platform.informations.size(), 1);
    QCOMPARE(f.platform.informations[0].title, QString("Information"));
    QCOMPARE(f.platform.informations[0].text, NewVersionText(f.host));
  } else {
    QVERIFY(f.platform.informations.isEmpty());
  }
  QVERIFY(f.platform.errors.isEmpty());
}

void TStartupTest::failuresAreSilent_data() {
  QTest::addColumn<bool>("withServer");
  QTest::addColumn<QByteArray>("response");
  QTest::newRow("no server") << false << QByteArray();
  QTest::newRow("404 with the version as body")
      << true
      << QByteArray(
             "HTTP/1.1 404 Not Found\r\nContent-Length: 7\r\nConnection: close\r\n\r\n1.0.0.1");
  QTest::newRow("404 with another body")
      << true << QByteArray("HTTP/1.1 404 Not Found\r\nContent-Length: 9\r\n\r\nNot Found");
  QTest::newRow("500") << true
                       << QByteArray(
                              "HTTP/1.1 500 Internal Server Error\r\nContent-Length: 0\r\n\r\n");
  QTest::newRow("redirect") << true
                            << QByteArray(
                                   "HTTP/1.1 302 Found\r\nLocation: http://127.0.0.1:1/\r\n"
                                   "Content-Length: 0\r\n\r\n");
  QTest::newRow("200 with Location")
      << true << QByteArray("HTTP/1.1 200 OK\r\nLocation: /x\r\nContent-Length: 3\r\n\r\nnew");
  QTest::newRow("closed without answer") << true << QByteArray();
  QTest::newRow("not HTTP") << true << QByteArray("SSH-2.0-OpenSSH\r\n");
}

// Every failure of the fetch is swallowed: no box, no error, and the window
// computes afterwards.
void TStartupTest::failuresAreSilent() {
  QFETCH(bool, withServer);
  QFETCH(QByteArray, response);
  std::optional<std::vector<TScript>> scripts;
  if (withServer) scripts = std::vector<TScript>{Answer(response.toStdString())};
  QElapsedTimer timer;
  timer.start();
  TProbexFixture f(scripts);
  QVERIFY(f.active);
  QCOMPARE(f.Requests(), withServer ? 1 : 0);
  QVERIFY2(timer.elapsed() < 2500, "no wait for a time limit");
  QVERIFY(f.platform.informations.isEmpty());
  QVERIFY(f.platform.errors.isEmpty());
  QVERIFY(!f.form->VersionClient().Connected());

  f.Type(1, "100");
  QTest::mouseClick(f.Compute(), Qt::LeftButton);
  QCOMPARE(f.form->LogLines().size(), 2);
  QCOMPARE(f.form->LogLines().first(),
           QString("Normal Distribution, mean=100.000000, variance=1.000000:"));
}

// The client lives with the window: a server that keeps the connection open
// gets the second activation's request on the same connection.
void TStartupTest::keptAliveConnectionIsReused() {
  const std::string ok = http_test::Ok("1.0.0.1");
  TProbexFixture f(
      std::vector<TScript>{{TStep::ReadRequest(), TStep::Send(ok), TStep::ReadRequest(),
                            TStep::Send(ok), TStep::AwaitClientClose(5000)}});
  QVERIFY(f.active);
  QVERIFY(f.OpenAbout());
  QTest::mouseClick(f.OKButton(), Qt::LeftButton);
  QVERIFY(QTest::qWaitForWindowActive(f.form.get()));
  QVERIFY(f.server->WaitForSteps(0, 5, 2000));
  QCOMPARE(f.Requests(), 1);
  QCOMPARE(f.form->VersionClient().ConnectionsOpened(), 1);
  const QString received = QString::fromStdString(f.server->Received(0));
  QCOMPARE(received.count("GET /pxversion.txt HTTP/1.1\r\n"), 2);
  QVERIFY(f.platform.informations.isEmpty());
}

// The new-version message is a real modal box here.  Closing it gives the
// activation back to the window, which is no new activation: otherwise each
// box would start another version check and another box without end.  Later
// activations check again, but the message appears once per run.
void TStartupTest::newVersionBoxIsNoActivation() {
  window::TQtPlatform desktop;
  TBoxCloser closer;
  TProbexFixture f(Answers("1.0.0.2", 4), false);
  f.platform.showInformation = [&desktop](QWidget* parent, const QString& title,
                                          const QString& text) {
    desktop.ShowInformation(parent, title, text);
  };
  f.form->show();
  f.form->activateWindow();
  QTRY_COMPARE(closer.texts.size(), 1);
  // Wherever the desktop puts the activation after the box, the window
  // takes it back.
  f.form->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(f.form.get()));
  QTest::qWait(300);
  QCOMPARE(closer.titles, QStringList{"Information"});
  QCOMPARE(closer.texts, QStringList{NewVersionText(f.host)});
  QCOMPARE(f.Requests(), 1);

  QVERIFY(f.OpenAbout());
  QTest::mouseClick(f.OKButton(), Qt::LeftButton);
  QVERIFY(QTest::qWaitForWindowActive(f.form.get()));
  QTest::qWait(300);
  QCOMPARE(f.Requests(), 2);
  QCOMPARE(closer.texts.size(), 1);
  QCOMPARE(f.platform.informations.size(), 1);
}

// A server that takes the request and never answers: the window is arranged
// and computes while the check waits on its worker thread, and an
// activation meanwhile starts no second request on the same client.
void TStartupTest::windowAnswersWhileCheckHangs() {
  TProbexFixture f(std::vector<TScript>{{TStep::ReadRequest(), TStep::AwaitClientClose(10000)}});
  QVERIFY(f.active);
  QVERIFY(f.server->WaitForSteps(0, 2, 2000));
  QCOMPARE(f.form->findChild<QLabel*>("Label_1")->text(), QString("Mean"));
  QCOMPARE(f.Edit(1)->text(), QString("0"));
  QTest::mouseClick(f.Compute(), Qt::LeftButton);
  QCOMPARE(f.form->LogLines().value(0), kNormalHeader);
  QVERIFY(f.OpenAbout());
  QTest::mouseClick(f.OKButton(), Qt::LeftButton);
  QVERIFY(QTest::qWaitForWindowActive(f.form.get()));
  QVERIFY(f.form->VersionCheckRunning());
  QCOMPARE(f.server->Accepted(), 1);
}

PROBEX_WINDOW_TEST_MAIN(TStartupTest)
#include "StartupTest.moc"
