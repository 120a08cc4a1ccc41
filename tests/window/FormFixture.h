// A shown and active DistributionForm on a scripted platform, with the
// controls found by their names, for the widget tests.
#pragma once

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <memory>

#include "FormControls.h"
#include "ScriptedPlatform.h"
#include "TestSession.h"
#include "window/Application.h"
#include "window/DistributionForm.h"

// The form with its Help commands, help set-up and version check counted
// instead of run: no help window, and no network.
class TTestForm : public window::TDistributionForm {
 public:
  using TDistributionForm::TDistributionForm;

  int helpTopics = 0;
  int functionHelp = 0;
  int homePage = 0;
  int about = 0;
  int helpSetups = 0;
  int versionChecks = 0;

 protected:
  void HelpTopicsItemClick() override { ++helpTopics; }
  void FunctionHelpItemClick() override { ++functionHelp; }
  void HomePage1Click() override { ++homePage; }
  void AboutItemClick() override { ++about; }
  void ActivateHelp() override { ++helpSetups; }
  void VersionCheck() override { ++versionChecks; }
};

class TFormFixture {
 public:
  // Builds the form (run `beforeShow` on it first) and waits until it is
  // shown and active, which runs its first activation.
  explicit TFormFixture(const std::function<void(TTestForm&)>& beforeShow = {},
                        bool forget = true) {
    if (forget) window_test::ForgetSession();
    app()->SetPlatform(&platform);
    form = std::make_unique<TTestForm>(platform);
    form->SetAnswerWait(window_test::kUnhurriedAnswerMs);
    if (beforeShow) beforeShow(*form);
    form->show();
    form->activateWindow();
    active = QTest::qWaitForWindowActive(form.get());
  }
  ~TFormFixture() {
    form.reset();
    app()->SetPlatform(nullptr);
  }

  static window::TApplication* app() {
    return qobject_cast<window::TApplication*>(QCoreApplication::instance());
  }

  QLineEdit* Edit(int number) const {
    return form->findChild<QLineEdit*>(QStringLiteral("Edit_%1").arg(number));
  }
  QLabel* Label(int number) const {
    return form->findChild<QLabel*>(QStringLiteral("Label_%1").arg(number));
  }
  QRadioButton* Radio(const char* name) const { return form->findChild<QRadioButton*>(name); }
  QCheckBox* Invers() const { return form->findChild<QCheckBox*>("InversCheckBox"); }
  QPushButton* Compute() const { return form->findChild<QPushButton*>("ComputeBtn"); }
  QPlainTextEdit* Memo() const { return form->findChild<QPlainTextEdit*>("Memo"); }
  QAction* Item(const char* name) const { return form->findChild<QAction*>(name); }

  // A user's click on a radio button, the check box or the button.
  void Click(QAbstractButton* button) const { QTest::mouseClick(button, Qt::LeftButton); }

  // Replaces a field's text by typing it, leaving the focus in the field.
  void Type(int number, const QString& text) const { window_test::TypeInto(Edit(number), text); }

  TScriptedPlatform platform;
  std::unique_ptr<TTestForm> form;
  bool active = false;
};

// Drops the offscreen platform's warnings about size hints, raising and
// keyboard grabs, which it prints at every show, raise and popup; every other message goes to Qt
// Test as before.  Call from initTestCase, after Qt Test has installed its own handler.
inline void SilencePlatformNoise() {
  static QtMessageHandler testHandler = nullptr;
  testHandler = qInstallMessageHandler(
      [](QtMsgType type, const QMessageLogContext& context, const QString& message) {
        // The offscreen platform's notes on what it does not do.
        for (const char* note : {"This plugin does not support propagateSizeHints()",
                                 "This plugin does not support raise()",
                                 "This plugin does not support grabbing the keyboard"})
          if (message == QLatin1String(note)) return;
        testHandler(type, context, message);
      });
}

// Qt Test's main with the application object of Probex, whose error handler
// the tests exercise, in a home of its own.
#define PROBEX_WINDOW_TEST_MAIN(TestClass)  \
  int main(int argc, char** argv) {         \
    const QTemporaryDir home;               \
    window_test::IsolateHome(home);         \
    window::TApplication app(argc, argv);   \
    TestClass test;                         \
    return QTest::qExec(&test, argc, argv); \
  }
