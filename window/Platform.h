// What the window asks of the desktop: the common dialogs, the message boxes,
// the window's own dialogs, the printer's print jobs, the clipboard and the
// shell that opens web addresses.
//
// The window reaches them only through this interface, so that a test can
// answer a dialog without a person and count the print jobs.  TQtPlatform
// (QtPlatform.h) is the implementation on Qt's own dialogs.
#pragma once

#include <QFont>
#include <QImage>
#include <QPrinter>
#include <QString>
#include <QStringList>
#include <optional>

#include "window/Errors.h"

class QDialog;
class QPainter;
class QWidget;

namespace window {

class TPlatform {
 public:
  virtual ~TPlatform() = default;

  // The save-file dialog, opened on `initialName`, with `filters` (the first
  // selected).  The dialog asks nothing when the chosen file exists; the
  // window asks with AskYesNo.  Empty: cancelled.
  virtual std::optional<QString> GetSaveFileName(QWidget* parent, const QString& initialName,
                                                 const QStringList& filters) = 0;

  // The printer set-up dialog; what the user chooses stays in `printer`.
  virtual void PrinterSetup(QWidget* parent, QPrinter& printer) = 0;

  // The print dialog on `printer`.  The number of copies the user asked for,
  // or empty when cancelled.  The window prints each copy as a job of its
  // own, so `printer` is left set to one copy.
  virtual std::optional<int> PrintDialog(QWidget* parent, QPrinter& printer) = 0;

  // The font dialog preset with `initial`.  Empty: cancelled.
  virtual std::optional<QFont> ChooseFont(QWidget* parent, const QFont& initial) = 0;

  // Modal message boxes with an OK button: the error kind and the
  // information kind.
  virtual void ShowError(QWidget* parent, const QString& title, const QString& text) = 0;
  virtual void ShowInformation(QWidget* parent, const QString& title, const QString& text) = 0;

  // A modal question with Yes and No buttons, No the default.  True: Yes.
  virtual bool AskYesNo(QWidget* parent, const QString& title, const QString& text) = 0;

  // Runs one of the window's own dialogs modally.  True: accepted.
  virtual bool RunDialog(QDialog& dialog) = 0;

  // Puts plain text on the clipboard; raises EWindowError
  // "Cannot open clipboard" when the clipboard does not take it.
  virtual void SetClipboardText(const QString& text) = 0;
  // Puts an image on the clipboard; raises EWindowError "Cannot open
  // clipboard" when the clipboard does not take it.
  virtual void SetClipboardImage(const QImage& image) = 0;

  // Start and end of one print job on `printer`, drawn through `painter`.
  // BeginPrintJob answers false when the printer cannot start a job.
  virtual bool BeginPrintJob(QPainter& painter, QPrinter& printer) = 0;
  virtual void EndPrintJob(QPainter& painter) = 0;

  // Asks the desktop to open `address` with its default action (a web
  // address in the user's browser), `owner` being the window that asks.
  // False when the desktop could start nothing to open it.
  virtual bool OpenAddress(QWidget* owner, const QString& address) = 0;
};

// Starts a print job through `platform`, or raises EWindowError: "There is
// no default printer currently selected" without any printer (Qt then
// falls back to writing PDF, which needs a file), else "Printer selected is
// not valid".
inline void StartPrintJob(TPlatform& platform, QPainter& painter, QPrinter& printer) {
  if (platform.BeginPrintJob(painter, printer)) return;
  const bool noPrinter = printer.printerName().isEmpty() && printer.outputFileName().isEmpty();
  throw EWindowError(noPrinter ? "There is no default printer currently selected"
                               : "Printer selected is not valid");
}

// Opens a web address through `platform`.  A desktop without a browser
// would otherwise look as if nothing happened: that raises EWindowError,
// whose box gives the address to open by hand.
inline void OpenWebAddress(TPlatform& platform, QWidget* owner, const QString& address) {
  if (!platform.OpenAddress(owner, address))
    throw EWindowError("No web browser could be started for " + address.toStdString() +
                       "; please open the address yourself");
}

}  // namespace window
