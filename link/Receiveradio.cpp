#include "link/Receiveradio.h"

#include "app/UserDialogs.h"

#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QStyle>

namespace {

constexpr double ActionWidthShare = 0.58;
constexpr int ActionTextHeight = 105;

template <typename Widget>
Widget* named(Widget* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
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
  imgTransmitter->setPixmap(QPixmap(QStringLiteral(":/images/pendant.jpg")));
  lblAction->setGeometry(144, 40, lblAction->width(), ActionTextHeight);
  lblAction->setWordWrap(true);
  lblAction->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  btbtnAbort->setGeometry(256, 152, 113, 33);
  btbtnAbort->setIcon(style()->standardIcon(QStyle::SP_DialogAbortButton));
  btbtnAbort->setText(QStringLiteral("&Abbruch"));
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

void TfrmReceiveRadio::FormShow() {
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QSize area = screen->geometry().size();
    move((area.width() - width()) / 2, (area.height() - height()) / 2);
  }
  btbtnAbort->setText(QStringLiteral("&Abbruch"));
}

void TfrmReceiveRadio::btbtnAbortClick() {
  done(mrAbort);
}

void TfrmReceiveRadio::reject() {
  btbtnAbortClick();
}
