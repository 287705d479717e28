#include "app/Changecode.h"

#include "app/Receiveradio.h"
#include "image/Texts.h"
#include "image/VembaData.h"
#include "link/TransmitterOperations.h"
#include "ui/FieldEdit.h"
#include "ui/FieldHelp.h"
#include "ui/FormHelpers.h"
#include "ui/KeyFilter.h"

#include <QFrame>
#include <QHideEvent>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>

#include <optional>

namespace {

QPushButton* plainButton(QPushButton* button) {
  // Enter in the code field must neither start a change nor close the dialog.
  button->setAutoDefault(false);
  return button;
}

}  // namespace

TfrmChangeCode::TfrmChangeCode(TransmitterOperations& operations, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      pnlChangeIdCode(named(new QFrame(this), "pnlChangeIdCode")),
      lblNote(named(new QLabel(pnlChangeIdCode), "lblNote")),
      lblNewCode(named(new QLabel(pnlChangeIdCode), "lblNewCode")),
      edtNewCode(named(new FieldEdit(pnlChangeIdCode), "edtNewCode")),
      pnlDelimiter(named(new QFrame(pnlChangeIdCode), "pnlDelimiter")),
      btnChange(plainButton(named(new QPushButton(pnlChangeIdCode), "btnChange"))),
      btnOk(plainButton(named(new QPushButton(this), "btnOk"))),
      operations_(operations) {
  setObjectName(QStringLiteral("frmChangeCode"));
  setFixedSize(393, 293);
  pnlChangeIdCode->setGeometry(8, 8, 377, 241);
  pnlChangeIdCode->setFrameStyle(QFrame::Panel | QFrame::Raised);
  lblNote->move(16, 16);
  lblNote->setWordWrap(true);
  lblNote->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  lblNewCode->move(16, 152);
  edtNewCode->setGeometry(296, 144, 65, 21);
  edtNewCode->setTypedMaxLength(4);
  edtNewCode->installEventFilter(new KeyPressFilter(
      [this](QObject* sender, QChar& key) { edtNewCodeKeyPress(sender, key); }, this));
  pnlDelimiter->setGeometry(16, 184, 345, 2);
  pnlDelimiter->setFrameStyle(QFrame::HLine | QFrame::Sunken);
  btnChange->setGeometry(214, 200, 147, 25);
  btnOk->setGeometry(304, 256, 75, 25);
  btnOk->setText(OkCaption);
  connect(btnChange, &QPushButton::clicked, this, &TfrmChangeCode::btnChangeClick);
  connect(btnOk, &QPushButton::clicked, this, &TfrmChangeCode::btnOkClick);
  FormCreate();
}

void TfrmChangeCode::FormCreate() {
  setWindowTitle(Text(Msg::ChangeCodeTitle));
  lblNote->setText(Text(Msg::ChangeCodeInstructions));
  lblNote->resize(pnlDelimiter->width(), lblNote->heightForWidth(pnlDelimiter->width()));
  lblNewCode->setText(Text(Msg::ChangeCodeNewCodeLabel));
  lblNewCode->adjustSize();
  // The new code is read out by its label, with the codes it takes.
  BindRowLabel(lblNewCode, edtNewCode);
  ApplyFieldHelp(edtNewCode, FieldHelp(Field::edtRadioCodeNew, CodecContext{}, NoUnit, {}));
  btnChange->setText(Text(Msg::ChangeCodeButton));
}

void TfrmChangeCode::showEvent(QShowEvent* event) {
  if (!event->spontaneous()) FormShow();
  QDialog::showEvent(event);
}

void TfrmChangeCode::hideEvent(QHideEvent* event) {
  QDialog::hideEvent(event);
  // The dialog is shown for every operation: it must not collect a connection each time.
  ReleaseFocusTracking(*this);
}

void TfrmChangeCode::FormShow() {
  CentreOnScreen(*this);
  edtNewCode->clear();
}

void TfrmChangeCode::edtNewCodeKeyPress(QObject*, QChar& key) {
  // Escape types nothing: it goes on to the dialog, which it closes.
  if (key == QChar(u'\x1b')) return;
  if (!VembaData::IsHexDigitKey(key)) key = QChar();
}

void TfrmChangeCode::btnOkClick() {
  done(mrOk);
}

void TfrmChangeCode::btnChangeClick() {
  (void)operations_.ChangeCode(edtNewCode->text());
}
