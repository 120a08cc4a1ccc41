// The Settings dialog (Tools > Settings): whether the results log is kept
// from one run to the next.  It only shows and returns the choice; the
// window applies it.
#pragma once

#include <QDialog>

class QCheckBox;

namespace window {

class TSettingsDialog : public QDialog {
  Q_OBJECT

 public:
  explicit TSettingsDialog(QWidget* parent);

  bool KeepLog() const;
  void SetKeepLog(bool keep);

 private:
  QCheckBox* KeepLogCheckBox = nullptr;
};

}  // namespace window
