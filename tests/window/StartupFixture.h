// The finished program's windows for the start-up tests: the real
// DistributionForm with its about box, on a scripted platform, asking a
// scripted HTTP server on 127.0.0.1 for the version file.  Nothing leaves
// the loopback address: without a server the form asks a closed port there.
#pragma once

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "FormControls.h"
#include "ScriptedPlatform.h"
#include "ScriptedServer.h"
#include "TestSession.h"
#include "window/AboutBox.h"
#include "window/Application.h"
#include "window/DistributionForm.h"
#include "window/HelpViewer.h"

namespace startup_test {

using http_test::TScript;
using http_test::TStep;

// One connection: the request, `response`, then the server closes.
inline TScript Answer(const std::string& response) {
  return {TStep::ReadRequest(), TStep::Send(response), TStep::Close()};
}

// A 200 response with `body` that ends the connection.
inline std::string Body(const std::string& body) {
  return http_test::Response(
      "HTTP/1.1 200 OK", {"Content-Length: " + std::to_string(body.size()), "Connection: close"},
      body);
}

// n connections that each answer `body`.
inline std::vector<TScript> Answers(const std::string& body, int n) {
  return std::vector<TScript>(static_cast<std::size_t>(n), Answer(Body(body)));
}

// "127.0.0.1:<port>" of a port that nothing listens on: a connection there is
// refused at once.
inline std::string ClosedLoopbackHost() {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
  getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
  close(fd);
  return "127.0.0.1:" + std::to_string(ntohs(address.sin_port));
}

class TProbexFixture {
 public:
  // Without scripts there is no server.  `show`: show the window and wait
  // for its first activation.
  explicit TProbexFixture(std::optional<std::vector<TScript>> scripts, bool show = true) {
    window_test::ForgetSession();
    app()->SetPlatform(&platform);
    if (scripts) server = std::make_unique<http_test::TScriptedServer>(std::move(*scripts));
    host = server ? "127.0.0.1:" + std::to_string(server->Port()) : ClosedLoopbackHost();
    about = std::make_unique<window::TAboutBox>(platform);
    form = std::make_unique<window::TDistributionForm>(platform, host);
    form->SetAnswerWait(window_test::kUnhurriedAnswerMs);
    form->SetAboutBox(about.get());
    if (show) {
      form->show();
      form->activateWindow();
      active = QTest::qWaitForWindowActive(form.get());
    }
  }
  ~TProbexFixture() {
    form.reset();
    about.reset();
    app()->SetPlatform(nullptr);
  }

  static window::TApplication* app() {
    return qobject_cast<window::TApplication*>(QCoreApplication::instance());
  }

  // Version checks that reached the server (each one connects anew), once
  // the window's check has answered; -1 when it never does.
  int Requests() const {
    if (!QTest::qWaitFor([this] { return !form->VersionCheckRunning(); })) return -1;
    return server ? server->Accepted() : 0;
  }

  QLineEdit* Edit(int number) const {
    return form->findChild<QLineEdit*>(QStringLiteral("Edit_%1").arg(number));
  }
  QPlainTextEdit* Memo() const { return form->findChild<QPlainTextEdit*>("Memo"); }
  QAction* Item(const char* name) const { return form->findChild<QAction*>(name); }
  QPushButton* Compute() const { return form->findChild<QPushButton*>("ComputeBtn"); }
  QLabel* AboutLabel(const char* name) const { return about->findChild<QLabel*>(name); }
  QPushButton* OKButton() const { return about->findChild<QPushButton*>("OKButton"); }

  void Type(int number, const QString& text) const { window_test::TypeInto(Edit(number), text); }

  // Help > About, until the box is the active window.
  bool OpenAbout() const {
    Item("AboutItem")->trigger();
    return QTest::qWaitForWindowActive(about.get());
  }

  TScriptedPlatform platform;
  std::unique_ptr<http_test::TScriptedServer> server;
  std::string host;
  std::unique_ptr<window::TAboutBox> about;
  std::unique_ptr<window::TDistributionForm> form;
  bool active = false;
};

}  // namespace startup_test
