#include "app/sheet/SheetController.h"

#include "app/Main.h"
#include "ui/Texts.h"
#include "ui/UserDialogs.h"

#include <QFileInfo>
#include <QMenu>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

namespace {

const QString PdfExtension = QStringLiteral(".pdf");

// A caption as the sheet prints it: without the blanks some captions carry at their end.
QString CaptionOf(const QLabel* label) {
  return label->text().trimmed();
}

QString ValueOf(const QWidget* control) {
  if (const auto* box = qobject_cast<const QCheckBox*>(control))
    return Text(box->isChecked() ? Msg::Yes : Msg::No);
  return static_cast<const QLineEdit*>(control)->text();
}

SheetRow RowOf(const QLabel* label, const QWidget* control) {
  return SheetRow{CaptionOf(label), ValueOf(control)};
}

QString WithPdfExtension(const QString& path) {
  return path.endsWith(PdfExtension, Qt::CaseInsensitive) ? path : path + PdfExtension;
}

bool ChooseWithPrintDialog(QPrinter& printer, QWidget* parent) {
  QPrintDialog dialog(&printer, parent);
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace

SheetController::SheetController(TfrmMain& window, QMenu& fileMenu, QAction* before,
                                 UserDialogs& dialogs)
    : QObject(&window),
      mnuFilePrint(new QAction(Text(Msg::MenuFilePrint), &window)),
      mnuFileSavePdf(new QAction(Text(Msg::MenuFileSavePdf), &window)),
      window_(window),
      dialogs_(dialogs),
      choosePrinter_(ChooseWithPrintDialog) {
  mnuFilePrint->setObjectName(QStringLiteral("mnuFilePrint"));
  mnuFilePrint->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
  mnuFileSavePdf->setObjectName(QStringLiteral("mnuFileSavePdf"));
  fileMenu.insertActions(before, {mnuFilePrint, mnuFileSavePdf});
  connect(mnuFilePrint, &QAction::triggered, this, &SheetController::mnuFilePrintClick);
  connect(mnuFileSavePdf, &QAction::triggered, this, &SheetController::mnuFileSavePdfClick);
}

SheetContent SheetController::ConfigurationSheet() const {
  const TfrmMain& w = window_;
  SheetContent sheet;
  sheet.title = Text(Msg::SheetTitle);
  sheet.header = {
      {CaptionOf(w.lblRadioCodeId), w.edtRadioCodeOld->text()},
      {Text(Msg::SheetSource),
       SheetSourceText(w.ImageSource, w.vembaData.CurrentFilePath, w.ReadTime)},
      {Text(Msg::SheetCreatedAt), SheetTimeText(QDateTime::currentDateTime())},
      {Text(Msg::SheetCreatedWith),
       FormatText(Msg::ProgramAndVersion, {Text(Msg::ProgramTitle), GetProgramVersion()})},
  };
  // The limit's unit is shown beside it; in service mode the raw count has none.
  QString limit = w.edtInactivityLimit->text();
  if (w.InactivityLimitMode() == LimitAsTime && !w.cbbxInactivityLimitUnit->currentText().isEmpty())
    limit += u' ' + w.cbbxInactivityLimitUnit->currentText();
  sheet.groups = {
      {w.gbxRadioParameters->title(),
       {{CaptionOf(w.lblRadioCodeId) + QStringLiteral(" – ") + CaptionOf(w.lblOld),
         w.edtRadioCodeOld->text()},
        {CaptionOf(w.lblRadioCodeId) + QStringLiteral(" – ") + CaptionOf(w.lblNew),
         w.edtRadioCodeNew->text()},
        RowOf(w.lblNoOfShortTransmissions, w.edtNoShortTx),
        RowOf(w.lblNoOfLongTransmissions, w.edtNoLongTx)}},
      {w.gbxTechnicalAlarmsInfo->title(),
       {RowOf(w.lblActivityAlarmActive, w.cbConfig_D3),
        RowOf(w.lblActivityAlarmInterval, w.edtActivityAlarmInterval),
        RowOf(w.lblRadioTestAlarmActive, w.cbRadioTestAlarmActive),
        RowOf(w.lblRadioTestAlarmInterval, w.edtRadioTestAlarmInterval),
        RowOf(w.lblTransmitTestAlarmWithButtonCounterValue, w.cbConfig_D2),
        RowOf(w.lblNoOfMissedAckBeforeSleep, w.edtMissedAck),
        RowOf(w.lblBatteryTestInterval, w.edtBatteryTestInterval),
        RowOf(w.lblButtonCounter, w.edtButtonCounter),
        RowOf(w.lblTotalTxCounter, w.edtTotalTxCounter),
        RowOf(w.lblCompatibleAlarmTypes, w.cbConfig_D4)}},
      {w.gbxUserAlarms->title(),
       {RowOf(w.lblAlarmButtonActive, w.cbConfig_D1),
        RowOf(w.lblButtonActivationDelay, w.edtButtonActivationDelay),
        RowOf(w.lblDementiaBlockTime, w.edtDementiaBlockTime),
        RowOf(w.lblInactivitySenseActive, w.cbConfig_D0),
        {CaptionOf(w.lblInactivityLimit), limit},
        RowOf(w.lblInactivitySampleInterval, w.edtInactivitySampleInterval),
        RowOf(w.lblInactivityTiltThreshold, w.edtInactivityTiltThreshold),
        RowOf(w.lblInactivityRetransmissionAttempts, w.edtInactivityRetransmissionAttempts),
        RowOf(w.lblIgnoreRetransmissionAck, w.cbConfig_D5)}},
      {w.gbxProductInformation->title(),
       {RowOf(w.lblFirmwareVersion, w.edtFirmwareVersion),
        RowOf(w.lblProductionDate, w.edtProductionDate),
        RowOf(w.lblFirmwareType, w.edtFirmwareType)}},
  };
  return sheet;
}

void SheetController::mnuFilePrintClick() {
  QPrinter printer(QPrinter::HighResolution);
  printer.setPageSize(QPageSize(QPageSize::A4));
  printer.setDocName(Text(Msg::SheetTitle));
  if (!choosePrinter_(printer, &window_)) return;
  QPainter painter;
  if (!painter.begin(&printer)) {
    dialogs_.ShowError(&window_, Text(Msg::SheetNotPrinted));
    return;
  }
  PaintConfigurationSheet(painter, printer, ConfigurationSheet());
  painter.end();
  window_.SetStatusText(Text(Msg::SheetPrinted));
}

void SheetController::mnuFileSavePdfClick() {
  const QString& current = window_.vembaData.CurrentFilePath;
  const QString suggested = current.isEmpty() ? QString() : QFileInfo(current).completeBaseName();
  const QString chosen = dialogs_.AskSaveFileName(
      &window_, FileDialogRequest{Text(Msg::SavePdfTitle), Text(Msg::PdfFileFilter),
                                  QStringLiteral("*.pdf"), suggested, window_.DefaultFolder});
  if (chosen.isEmpty()) return;
  const QString target = WithPdfExtension(chosen);
  if (QFileInfo::exists(target) &&
      dialogs_.ShowInformation(&window_, Text(Msg::FileExistsOverwrite), BoxButtons::YesNo) !=
          mrYes)
    return;
  QString error;
  if (!WriteConfigurationSheetPdf(target, ConfigurationSheet(), error)) {
    dialogs_.ShowError(&window_, FormatText(Msg::SheetNotSaved, {error}));
    return;
  }
  window_.SetStatusText(FormatText(Msg::SheetSaved, {QFileInfo(target).fileName()}));
}
