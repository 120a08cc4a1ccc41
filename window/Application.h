// The application object and its one handler of run-time errors.
//
// A command that raises a run-time error (Errors.h, or any std::exception) ends at
// once; the handler shows the message in a modal error box titled with the
// application title, with the error icon and OK, and the program carries on.
// Nothing is rolled back, and the pointer shape returns to the default.
//
// Errors reach the handler by two roads.  notify() catches what an event
// handler of ours lets escape.  The commands run from signals go through
// RunCommand instead: Debian builds Qt Widgets without exception support, so
// an exception must not unwind through its frames (a button would be left
// half-clicked); RunCommand passes it to the same handler where it leaves our
// code.
#pragma once

#include <QApplication>
#include <QGuiApplication>
#include <QString>
#include <exception>

namespace window {

class TPlatform;

// The name the desktop shows for the running program, and the caption of the
// error box.
inline constexpr char kApplicationTitle[] = "Probex";

class TApplication : public QApplication {
  Q_OBJECT

 public:
  TApplication(int& argc, char** argv);

  // The message boxes go through `platform`, which must outlive its use.
  void SetPlatform(TPlatform* platform) { platform_ = platform; }

  bool notify(QObject* receiver, QEvent* event) override;

  // Shows the error box for `error` (an exception caught by the caller).
  // Without a TApplication (or a platform) the error is rethrown.
  static void HandleRunTimeError(std::exception_ptr error);

  // The application's help file, which the help viewer opens.  Empty until
  // set, and without a TApplication.  A help file named beside the program
  // but not there is taken from the data folder (InstalledHelpFile).
  static void SetHelpFile(const QString& helpFile);
  static QString HelpFile();

 private:
  static TApplication* Instance();
  void ShowErrorBox(const QString& message);

  TPlatform* platform_ = nullptr;
  QString helpFile_;
};

// The busy pointer for the lifetime of the guard, also when a command raises.
class TBusyPointer {
 public:
  TBusyPointer() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
  ~TBusyPointer() {
    // The error box may have put every pointer back already.
    if (QGuiApplication::overrideCursor() != nullptr) QGuiApplication::restoreOverrideCursor();
  }
  TBusyPointer(const TBusyPointer&) = delete;
  TBusyPointer& operator=(const TBusyPointer&) = delete;
};

// `besideProgram` when that file exists; else its namesake in the data folder
// where `cmake --install` and the package put it (../share/probex/ from the
// program's folder), when that one exists; else `besideProgram`, so that a
// missing help file is reported where it was looked for first.
QString InstalledHelpFile(const QString& besideProgram);

// Runs one command; a run-time error it raises goes to the error box.
template <typename Command>
void RunCommand(Command&& command) {
  try {
    command();
  } catch (const std::exception&) {
    TApplication::HandleRunTimeError(std::current_exception());
  }
}

}  // namespace window
