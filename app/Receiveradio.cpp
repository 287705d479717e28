#include "app/Receiveradio.h"

#include "ui/FormHelpers.h"
#include "ui/UserDialogs.h"

#include <QApplication>
#include <QGroupBox>
#include <QHideEvent>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QPen>
#include <QPixmap>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>

namespace {

constexpr double ActionWidthShare = 0.58;
constexpr int ActionTextHeight = 105;

// The abort glyph: a red disc with a white cross, drawn here because a desktop without an icon
// theme has none for our style.
QIcon AbortGlyph() {
  QIcon icon;
  for (const int size : {16, 24, 32}) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xC0, 0x1C, 0x1C));
    painter.drawEllipse(QRectF(0.5, 0.5, size - 1.0, size - 1.0));
    painter.setPen(QPen(Qt::white, size / 8.0, Qt::SolidLine, Qt::RoundCap));
    const double from = size * 0.32;
    const double to = size - from;
    painter.drawLine(QPointF(from, from), QPointF(to, to));
    painter.drawLine(QPointF(to, from), QPointF(from, to));
    painter.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}

}  // namespace

TfrmReceiveRadio::TfrmReceiveRadio(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      gbxReceiveRadio(named(new QGroupBox(this), "gbxReceiveRadio")),
      imgTransmitter(named(new QLabel(gbxReceiveRadio), "imgTransmitter")),
      lblAction(named(new QLabel(gbxReceiveRadio), "lblAction")),
      btbtnAbort(named(new QPushButton(gbxReceiveRadio), "btbtnAbort")) {
  setObjectName(QStringLiteral("frmReceiveRadio"));
  setFixedSize(398, 220);
  gbxReceiveRadio->setGeometry(8, 8, 385, 201);
  imgTransmitter->setGeometry(16, 24, 121, 160);
  imgTransmitter->setScaledContents(true);
  imgTransmitter->setPixmap(PendantPicture());
  lblAction->setGeometry(144, 40, lblAction->width(), ActionTextHeight);
  lblAction->setWordWrap(true);
  lblAction->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  btbtnAbort->setGeometry(256, 152, 113, 33);
  btbtnAbort->setIcon(AbortGlyph());
  btbtnAbort->setText(AbortCaption);
  connect(btbtnAbort, &QPushButton::clicked, this, &TfrmReceiveRadio::btbtnAbortClick);
  lblAction->clear();
  setWindowTitle(QString());
  gbxReceiveRadio->setTitle(QString());
}

void TfrmReceiveRadio::SetTitle(const QString& text) {
  setWindowTitle(text);
}

void TfrmReceiveRadio::SetGroupCaption(const QString& text) {
  gbxReceiveRadio->setTitle(text);
}

void TfrmReceiveRadio::SetActionText(const QString& text) {
  lblAction->resize(static_cast<int>(gbxReceiveRadio->width() * ActionWidthShare),
                    lblAction->height());
  lblAction->setText(text);
}

void TfrmReceiveRadio::showEvent(QShowEvent* event) {
  if (!event->spontaneous()) FormShow();
  QDialog::showEvent(event);
}

void TfrmReceiveRadio::hideEvent(QHideEvent* event) {
  QDialog::hideEvent(event);
  // The dialog is shown for every operation: it must not collect a connection each time.
  ReleaseFocusTracking(*this);
}

void TfrmReceiveRadio::FormShow() {
  CentreOnScreen(*this);
  btbtnAbort->setText(AbortCaption);
  // The technician watches the pendant, not the screen: once on the screen the prompt comes to
  // the front, and where the desktop keeps the focus elsewhere the taskbar asks for attention.
  QTimer::singleShot(0, this, [this] {
    raise();
    activateWindow();
    QApplication::alert(this);
  });
}

void TfrmReceiveRadio::btbtnAbortClick() {
  done(mrAbort);
}

void TfrmReceiveRadio::reject() {
  btbtnAbortClick();
}
