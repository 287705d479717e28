#include "link/Receiveradio.h"

#include "ui/FormHelpers.h"
#include "ui/UserDialogs.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QStyle>

namespace {

constexpr double ActionWidthShare = 0.58;
constexpr int ActionTextHeight = 105;

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
  btbtnAbort->setIcon(style()->standardIcon(QStyle::SP_DialogAbortButton));
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

void TfrmReceiveRadio::FormShow() {
  CentreOnScreen(*this);
  btbtnAbort->setText(AbortCaption);
}

void TfrmReceiveRadio::btbtnAbortClick() {
  done(mrAbort);
}

void TfrmReceiveRadio::reject() {
  btbtnAbortClick();
}
