#include "window/QtPlatform.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFontDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QUrl>

#include "window/Errors.h"

namespace window {

std::optional<QString> TQtPlatform::GetSaveFileName(QWidget* parent, const QString& initialName,
                                                    const QStringList& filters) {
  QFileDialog dialog(parent);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  dialog.setNameFilters(filters);
  if (!filters.isEmpty()) dialog.selectNameFilter(filters.first());
  dialog.selectFile(initialName);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().first();
}

void TQtPlatform::PrinterSetup(QWidget* parent, QPrinter& printer) {
  QPageSetupDialog dialog(&printer, parent);
  dialog.exec();
}

std::optional<int> TQtPlatform::PrintDialog(QWidget* parent, QPrinter& printer) {
  QPrintDialog dialog(&printer, parent);
  // The whole log is printed: no page range, no selection.
  dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const int copies = printer.copyCount();
  // Each copy becomes a job of its own; left at more than one, the print
  // system would multiply every job once more.
  printer.setCopyCount(1);
  return copies;
}

std::optional<QFont> TQtPlatform::ChooseFont(QWidget* parent, const QFont& initial) {
  bool ok = false;
  const QFont font = QFontDialog::getFont(&ok, initial, parent);
  if (!ok) return std::nullopt;
  return font;
}

void TQtPlatform::ShowError(QWidget* parent, const QString& title, const QString& text) {
  QMessageBox box(QMessageBox::Critical, title, text, QMessageBox::Ok, parent);
  box.exec();
}

void TQtPlatform::ShowInformation(QWidget* parent, const QString& title, const QString& text) {
  QMessageBox box(QMessageBox::Information, title, text, QMessageBox::Ok, parent);
  box.exec();
}

bool TQtPlatform::AskYesNo(QWidget* parent, const QString& title, const QString& text) {
  QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No, parent);
  box.setDefaultButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

bool TQtPlatform::RunDialog(QDialog& dialog) {
  return dialog.exec() == QDialog::Accepted;
}

void TQtPlatform::SetClipboardText(const QString& text) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (clipboard != nullptr) clipboard->setText(text, QClipboard::Clipboard);
  // QClipboard reports no failure; reading back is the only way to learn
  // that the text did not arrive.
  if (clipboard == nullptr || clipboard->text(QClipboard::Clipboard) != text)
    throw EWindowError("Cannot open clipboard");
}

void TQtPlatform::SetClipboardImage(const QImage& image) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (clipboard != nullptr) clipboard->setImage(image, QClipboard::Clipboard);
  if (clipboard == nullptr || clipboard->image(QClipboard::Clipboard).isNull())
    throw EWindowError("Cannot open clipboard");
}

bool TQtPlatform::BeginPrintJob(QPainter& painter, QPrinter& printer) {
  return painter.begin(&printer);
}

void TQtPlatform::EndPrintJob(QPainter& painter) {
  painter.end();
}

// The desktop's handler (xdg-open on Linux) chooses the browser and its
// window; Qt has no owner window to hand it.  Qt answers false when it could
// not start the handler.
bool TQtPlatform::OpenAddress(QWidget*, const QString& address) {
  return QDesktopServices::openUrl(QUrl(address, QUrl::StrictMode));
}

}  // namespace window
