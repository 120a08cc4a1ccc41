#include "window/SettingsDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

#include "window/Session.h"

namespace window {

TSettingsDialog::TSettingsDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("SettingsDialog"));
  setWindowTitle(QStringLiteral("Settings"));

  KeepLogCheckBox =
      new QCheckBox(QStringLiteral("&Keep the results log from one run to the next"), this);
  KeepLogCheckBox->setObjectName(QStringLiteral("KeepLogCheckBox"));
  auto* where = new QLabel(
      QStringLiteral("The log is saved after each change in %1. Without this option it starts "
                     "empty at every start, and the saved log is deleted.")
          .arg(TSession::LogFileName()),
      this);
  where->setWordWrap(true);
  where->setTextFormat(Qt::PlainText);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->setObjectName(QStringLiteral("SettingsButtons"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(KeepLogCheckBox);
  layout->addWidget(where);
  layout->addStretch();
  layout->addWidget(buttons);
}

bool TSettingsDialog::KeepLog() const {
  return KeepLogCheckBox->isChecked();
}

void TSettingsDialog::SetKeepLog(bool keep) {
  KeepLogCheckBox->setChecked(keep);
}

}  // namespace window
