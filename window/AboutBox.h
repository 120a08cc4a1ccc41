// The about box: product name, version, notice and the home-page address on
// a stretched picture, with an OK button.
//
// It is a window of its own, not modal, created hidden at start and kept
// until the program ends.  Each activation sets its texts again; it closes
// on OK, on any character key typed on OK, and as soon as it loses the
// activation (a click on the main window).  Closing with OK or a key gives
// the activation back to the main window.
#pragma once

#include <QDialog>
#include <QImage>
#include <QPointer>

class QLabel;
class QPushButton;

namespace window {

class TPlatform;

class TAboutBox : public QDialog {
  Q_OBJECT

 public:
  // No parent: a dialog with the main window as parent would share its
  // activation, and returning from the box would be no activation of the
  // main window.
  explicit TAboutBox(TPlatform& platform);

  // The window that takes the activation back when the box is closed with
  // OK or a key.
  void SetMainWindow(QWidget* mainWindow) { mainWindow_ = mainWindow; }

  // "Probex for Linux": the product and the system it runs on.
  static QString ProductNameText();

  // The picture behind the texts: 302 x 300 pixels in 256 colours.
  static QImage Picture();

  // Events.
  void FormActivate();
  void FormDeactivate();
  void OKButtonClick();
  void InternetAddrLabelClick();

  // Every close but the one on losing the activation: OK, a key on OK,
  // Escape, the close box.
  void done(int result) override;

 protected:
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void createControls();

  TPlatform& platform_;
  QPointer<QWidget> mainWindow_;

  QLabel* Image = nullptr;
  QLabel* ProductName = nullptr;
  QLabel* Version = nullptr;
  QLabel* Copyright = nullptr;
  QLabel* Comments = nullptr;
  QLabel* InternetAddrLabel = nullptr;
  QPushButton* OKButton = nullptr;
};

}  // namespace window
