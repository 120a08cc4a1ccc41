#include "window/DetailsPane.h"

#include <QLabel>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "calculator/DetailsText.h"
#include "calculator/ResultDetails.h"

namespace window {

namespace {

QString Html(const std::string& text) {
  return QString::fromStdString(text).toHtmlEscaped();
}

}  // namespace

QString TDetailsPane::Contents(const calculator::Result& result) {
  if (!result.Ok()) return {};
  const calculator::ResultDetails details = calculator::DetailsOf(result);
  QString html = QStringLiteral("<p><b>") + Html(result.lines[0]) + QStringLiteral("</b></p>");
  html += QStringLiteral("<table cellspacing='0' cellpadding='2'>");
  for (const calculator::DetailRow& row : calculator::DetailRows(details))
    html += QStringLiteral("<tr><td>") + Html(row.label) +
            QStringLiteral("&nbsp;&nbsp;</td><td>") + Html(row.text) + QStringLiteral("</td></tr>");
  html += QStringLiteral("</table>");
  for (const std::string& remark : details.remarks)
    html += QStringLiteral("<p>") + Html(remark) + QStringLiteral("</p>");
  return html;
}

TDetailsPane::TDetailsPane(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("DetailsPane"));
  status_ = new QLabel(this);
  status_->setObjectName(QStringLiteral("DetailsStatus"));
  status_->setWordWrap(true);
  status_->hide();
  text_ = new QTextBrowser(this);
  text_->setObjectName(QStringLiteral("DetailsText"));
  text_->setAccessibleName(QStringLiteral("Details of the last result"));
  // Long exact integers wrap anywhere instead of widening the pane.
  text_->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  text_->setPlaceholderText(QStringLiteral("Compute a result to see its details."));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addWidget(status_);
  layout->addWidget(text_);
}

void TDetailsPane::ShowResult(const calculator::Result& result, const QString& contents) {
  if (!result.Ok()) {
    status_->setText(hasDetails_ ? QStringLiteral("The last input gave no result: the details below "
                                                  "belong to the previous result.")
                                 : QStringLiteral("The last input gave no result."));
    status_->show();
    return;
  }
  status_->hide();
  text_->setHtml(contents);
  hasDetails_ = true;
}

QString TDetailsPane::PlainText() const {
  return text_->toPlainText();
}

}  // namespace window
