// A platform whose dialogs answer from a script, for tests without a person.
//
// Each dialog takes the next scripted answer (the window's own dialogs: a
// function that works the real dialog's controls and answers accepted or
// not) (none left: it records the call
// as unexpected and answers "cancelled", or No to a question).  Message boxes,
// questions, clipboard texts and images, print jobs and the addresses given
// to the desktop are recorded.  Print jobs really run on the
// QPrinter, so a test that sets the printer to PDF gets a PDF file; with `jobFiles` set, each job
// writes a file of its own.
#pragma once

#include <QDialog>
#include <QFont>
#include <QPainter>
#include <QPrinter>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <optional>

#include "window/Errors.h"
#include "window/Platform.h"

class TScriptedPlatform : public window::TPlatform {
 public:
  struct Box {
    QString title;
    QString text;
  };
  struct Opened {
    QWidget* owner;
    QString address;
  };

  // Answers, taken front first.
  std::deque<std::optional<QString>> saveAnswers;
  std::deque<std::function<void(QPrinter&)>> printerSetupAnswers;
  // The copies to answer and a change to make to the printer first.
  struct PrintAnswer {
    std::optional<int> copies;
    std::function<void(QPrinter&)> adjust;
  };
  std::deque<PrintAnswer> printAnswers;
  std::deque<std::optional<QFont>> fontAnswers;
  std::deque<bool> questionAnswers;
  std::deque<std::function<bool(QDialog&)>> dialogAnswers;
  // When set, the desktop cannot open an address.
  bool openFails = false;
  bool clipboardFails = false;
  // When set, job n (from 1) prints to jobFiles(n).
  std::function<QString(int)> jobFiles;
  // When set, BeginPrintJob fails.
  bool printerFails = false;
  // When set, an information box is also shown this way (after recording),
  // for example as a real modal message box.
  std::function<void(QWidget*, const QString&, const QString&)> showInformation;

  // What the window asked and showed.
  QStringList saveInitialNames;
  QList<QStringList> saveFilters;
  QList<QFont> fontInitials;
  QList<Box> errors;
  QList<Box> informations;
  QList<Box> questions;
  QStringList clipboard;
  QList<QImage> clipboardImages;
  QList<Opened> opened;
  int jobsBegun = 0;
  int jobsEnded = 0;
  int printDialogs = 0;
  QStringList unexpected;

  std::optional<QString> GetSaveFileName(QWidget*, const QString& initialName,
                                         const QStringList& filters) override {
    saveInitialNames << initialName;
    saveFilters << filters;
    auto answer = Take(saveAnswers, "GetSaveFileName");
    return answer ? *answer : std::nullopt;
  }

  void PrinterSetup(QWidget*, QPrinter& printer) override {
    if (auto answer = Take(printerSetupAnswers, "PrinterSetup"); answer && *answer)
      (*answer)(printer);
  }

  std::optional<int> PrintDialog(QWidget*, QPrinter& printer) override {
    ++printDialogs;
    auto answer = Take(printAnswers, "PrintDialog");
    if (!answer) return std::nullopt;
    if (answer->adjust) answer->adjust(printer);
    return answer->copies;
  }

  std::optional<QFont> ChooseFont(QWidget*, const QFont& initial) override {
    fontInitials << initial;
    auto answer = Take(fontAnswers, "ChooseFont");
    return answer ? *answer : std::nullopt;
  }

  void ShowError(QWidget*, const QString& title, const QString& text) override {
    errors << Box{title, text};
  }

  void ShowInformation(QWidget* parent, const QString& title, const QString& text) override {
    informations << Box{title, text};
    if (showInformation) showInformation(parent, title, text);
  }

  bool AskYesNo(QWidget*, const QString& title, const QString& text) override {
    questions << Box{title, text};
    return Take(questionAnswers, "AskYesNo").value_or(false);
  }

  bool RunDialog(QDialog& dialog) override {
    auto answer = Take(dialogAnswers, "RunDialog");
    return answer && (*answer)(dialog);
  }

  bool OpenAddress(QWidget* owner, const QString& address) override {
    opened << Opened{owner, address};
    return !openFails;
  }

  void SetClipboardText(const QString& text) override {
    if (clipboardFails) throw window::EWindowError("Cannot open clipboard");
    clipboard << text;
  }

  void SetClipboardImage(const QImage& image) override {
    if (clipboardFails) throw window::EWindowError("Cannot open clipboard");
    clipboardImages << image;
  }

  bool BeginPrintJob(QPainter& painter, QPrinter& printer) override {
    ++jobsBegun;
    if (printerFails) return false;
    if (jobFiles) printer.setOutputFileName(jobFiles(jobsBegun));
    return painter.begin(&printer);
  }

  void EndPrintJob(QPainter& painter) override {
    ++jobsEnded;
    painter.end();
  }

 private:
  template <typename T>
  std::optional<T> Take(std::deque<T>& answers, const char* dialog) {
    if (answers.empty()) {
      unexpected << QString::fromLatin1(dialog);
      return std::nullopt;
    }
    T answer = std::move(answers.front());
    answers.pop_front();
    return answer;
  }
};
