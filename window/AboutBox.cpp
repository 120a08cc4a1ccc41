#include "window/AboutBox.h"

#include <QEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScreen>
#include <cmath>

#include "window/Application.h"
#include "window/Obfuscated.h"
#include "window/Platform.h"
#include "window/VersionCheck.h"

namespace window {

namespace {

constexpr char kCaption[] = "About Probex";
constexpr QSize kClientSize{383, 209};
constexpr QSize kPictureSize{302, 300};
constexpr QPoint kProductName{8, 8};
constexpr QPoint kVersion{8, 24};
constexpr QPoint kCopyright{8, 56};
constexpr QPoint kCommentsPlace{8, 80};
constexpr QPoint kInternetAddr{72, 168};
constexpr QRect kOKButton{8, 160, 41, 25};
constexpr int kLabelPixels = 11;
constexpr int kButtonPixels = 11;

// The system the program was built for.
#if defined(Q_OS_LINUX)
constexpr char kPlatformName[] = "Linux";
#elif defined(Q_OS_WIN)
constexpr char kPlatformName[] = "Windows";
#elif defined(Q_OS_MACOS)
constexpr char kPlatformName[] = "macOS";
#else
constexpr char kPlatformName[] = "Unix";
#endif
constexpr char kCommentsText[] = "This program is free to use. All other rights reserved.";

QFont LabelFont(bool underline) {
  QFont font;
  // The designed face first; where it is missing, the desktop's sans serif.
  font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("DejaVu Sans"),
                    QStringLiteral("Sans Serif")});
  font.setPixelSize(kLabelPixels);
  font.setBold(true);
  font.setUnderline(underline);
  return font;
}

QLabel* NewLabel(QWidget* parent, const char* name, const QPoint& place, const QColor& colour,
                 bool underline) {
  auto* label = new QLabel(parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setTextFormat(Qt::PlainText);
  label->setFont(LabelFont(underline));
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, colour);
  label->setPalette(palette);
  // Transparent: the picture shows around the letters.
  label->setAutoFillBackground(false);
  label->move(place);
  return label;
}

// The standard normal density, scaled to `peak`.
double Bell(double z, double peak) {
  return peak * std::exp(-0.5 * z * z);
}

}  // namespace

QString TAboutBox::ProductNameText() {
  return QStringLiteral("Probex for ") + QString::fromLatin1(kPlatformName);
}

TAboutBox::TAboutBox(TPlatform& platform)
    : QDialog(nullptr, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                           Qt::MSWindowsFixedSizeDialogHint),
      platform_(platform) {
  // Closing the main window ends the program, also while the box is open.
  setAttribute(Qt::WA_QuitOnClose, false);
  createControls();
}

QImage TAboutBox::Picture() {
  QImage picture(kPictureSize, QImage::Format_RGB32);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  const double width = kPictureSize.width();
  const double height = kPictureSize.height();

  // Night blue above, where the white texts stand; pale below, for the blue
  // address and the button.
  QLinearGradient sky(0, 0, 0, height);
  sky.setColorAt(0.0, QColor(0x0b, 0x1f, 0x45));
  sky.setColorAt(0.5, QColor(0x1f, 0x4f, 0x8f));
  sky.setColorAt(1.0, QColor(0xe4, 0xec, 0xf7));
  painter.fillRect(picture.rect(), sky);

  // A bell curve to the right, low enough to leave the texts on the dark
  // part, over the histogram of a sample; its upper 5 % tail shaded.
  const double baseline = height * 0.88;
  const double centre = width * 0.70;
  const double sigma = width * 0.11;
  const double peak = height * 0.40;
  const double tailFrom = centre + 1.645 * sigma;
  const double barWidth = sigma / 2;
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(255, 255, 255, 60));
  for (double left = centre - 3.5 * sigma; left < width; left += barWidth) {
    const double middle = left + barWidth / 2;
    // The bars wander about the curve as a sample's counts do.
    const double wobble = 1.0 + 0.12 * std::sin(middle * 0.37);
    const double bar = Bell((middle - centre) / sigma, peak) * wobble;
    painter.drawRect(QRectF(left + 1, baseline - bar, barWidth - 2, bar));
  }
  QPainterPath curve;
  QPainterPath tail;
  curve.moveTo(0, baseline);
  tail.moveTo(tailFrom, baseline);
  for (int x = 0; x <= kPictureSize.width(); ++x) {
    const double y = baseline - Bell((x - centre) / sigma, peak);
    curve.lineTo(x, y);
    if (x >= tailFrom) tail.lineTo(x, y);
  }
  QPainterPath area = curve;
  area.lineTo(width, baseline);
  area.closeSubpath();
  tail.lineTo(width, baseline);
  tail.closeSubpath();
  painter.fillPath(area, QColor(0xff, 0xc8, 0x4a, 150));
  painter.fillPath(tail, QColor(0xd0, 0x3a, 0x2b, 200));
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(QColor(0xff, 0xf4, 0xd6), 3));
  painter.drawPath(curve);
  painter.setPen(QPen(QColor(0x1f, 0x3a, 0x6e), 2));
  painter.drawLine(QPointF(0, baseline), QPointF(width, baseline));
  painter.end();
  return picture.convertToFormat(QImage::Format_Indexed8, Qt::DiffuseDither);
}

void TAboutBox::createControls() {
  setObjectName(QStringLiteral("AboutBox"));
  setWindowTitle(QString::fromLatin1(kCaption));
  setFixedSize(kClientSize);
  QFont font = this->font();
  font.setPixelSize(13);
  setFont(font);

  Image = new QLabel(this);
  Image->setObjectName(QStringLiteral("Image"));
  Image->setPixmap(QPixmap::fromImage(Picture()));
  Image->setScaledContents(true);
  Image->setGeometry(QRect(QPoint(0, 0), kClientSize));

  const QColor white(Qt::white);
  ProductName = NewLabel(this, "ProductName", kProductName, white, false);
  Version = NewLabel(this, "Version", kVersion, white, false);
  Copyright = NewLabel(this, "Copyright", kCopyright, white, false);
  Comments = NewLabel(this, "Comments", kCommentsPlace, white, false);
  Comments->setText(QString::fromLatin1(kCommentsText));
  Comments->adjustSize();
  InternetAddrLabel = NewLabel(this, "InternetAddrLabel", kInternetAddr, QColor(Qt::blue), true);
  InternetAddrLabel->installEventFilter(this);

  OKButton = new QPushButton(QStringLiteral("&OK"), this);
  OKButton->setObjectName(QStringLiteral("OKButton"));
  QFont buttonFont;
  buttonFont.setFamilies(
      {QStringLiteral("System"), QStringLiteral("DejaVu Sans"), QStringLiteral("Sans Serif")});
  buttonFont.setPixelSize(kButtonPixels);
  buttonFont.setBold(true);
  OKButton->setFont(buttonFont);
  QPalette buttonPalette = OKButton->palette();
  buttonPalette.setColor(QPalette::ButtonText, Qt::black);
  OKButton->setPalette(buttonPalette);
  OKButton->setGeometry(kOKButton);
  OKButton->setDefault(true);
  OKButton->installEventFilter(this);
  connect(OKButton, &QPushButton::clicked, this, &TAboutBox::OKButtonClick);
}

void TAboutBox::FormActivate() {
  ProductName->setText(ProductNameText());
  ProductName->adjustSize();
  Version->setText(QStringLiteral("Version ") + QString::fromLatin1(kProgramVersion));
  Version->adjustSize();
  InternetAddrLabel->setCursor(Qt::PointingHandCursor);
  InternetAddrLabel->clear();
  InternetAddrLabel->setText(HomePageAddress());
  InternetAddrLabel->adjustSize();
  Copyright->clear();
  Copyright->setText(AboutNotice());
  Copyright->adjustSize();
  OKButton->setFocus(Qt::ActiveWindowFocusReason);
}

void TAboutBox::FormDeactivate() {
  hide();
}

void TAboutBox::OKButtonClick() {
  accept();
}

void TAboutBox::InternetAddrLabelClick() {
  OpenWebAddress(platform_, this, InternetAddrLabel->text());
}

void TAboutBox::done(int result) {
  QDialog::done(result);
  // The desktop may leave the activation nowhere when the active window
  // hides; the main window takes it back, which is its activation.
  if (mainWindow_) mainWindow_->activateWindow();
}

bool TAboutBox::event(QEvent* event) {
  switch (event->type()) {
    case QEvent::WindowActivate:
      RunCommand([this] { FormActivate(); });
      break;
    case QEvent::WindowDeactivate:
      if (isVisible()) FormDeactivate();
      break;
    default:
      break;
  }
  return QDialog::event(event);
}

bool TAboutBox::eventFilter(QObject* watched, QEvent* event) {
  if (watched == OKButton && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    // A character key, not the Tab of the focus chain.
    if (!key->text().isEmpty() && key->key() != Qt::Key_Tab && key->key() != Qt::Key_Backtab) {
      accept();
      return true;
    }
  } else if (watched == InternetAddrLabel && event->type() == QEvent::MouseButtonRelease) {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() == Qt::LeftButton &&
        InternetAddrLabel->rect().contains(mouse->position().toPoint())) {
      RunCommand([this] { InternetAddrLabelClick(); });
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

// Centred on the screen each time it is shown.
void TAboutBox::showEvent(QShowEvent* event) {
  const QScreen* screen =
      this->screen() != nullptr ? this->screen() : QGuiApplication::primaryScreen();
  if (screen != nullptr) {
    // The frame is known once the box has been on the screen; before, the
    // client area is centred instead.
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
  }
  QDialog::showEvent(event);
}

}  // namespace window
