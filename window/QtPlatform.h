// The desktop as Qt offers it: QFileDialog, QPageSetupDialog, QPrintDialog,
// QFontDialog, QMessageBox, the system clipboard and QDesktopServices.
#pragma once

#include "window/Platform.h"

namespace window {

class TQtPlatform : public TPlatform {
 public:
  std::optional<QString> GetSaveFileName(QWidget* parent, const QString& initialName,
                                         const QStringList& filters) override;
  void PrinterSetup(QWidget* parent, QPrinter& printer) override;
  std::optional<int> PrintDialog(QWidget* parent, QPrinter& printer) override;
  std::optional<QFont> ChooseFont(QWidget* parent, const QFont& initial) override;
  void ShowError(QWidget* parent, const QString& title, const QString& text) override;
  void ShowInformation(QWidget* parent, const QString& title, const QString& text) override;
  bool AskYesNo(QWidget* parent, const QString& title, const QString& text) override;
  bool RunDialog(QDialog& dialog) override;
  void SetClipboardText(const QString& text) override;
  void SetClipboardImage(const QImage& image) override;
  bool BeginPrintJob(QPainter& painter, QPrinter& printer) override;
  void EndPrintJob(QPainter& painter) override;
  bool OpenAddress(QWidget* owner, const QString& address) override;
};

}  // namespace window
