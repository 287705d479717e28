// The configuration sheet of the main window (files/ConfigurationSheet.h): every group and field
// as caption and value, printed or written as a PDF.

#include "app/Main.h"
#include "files/ConfigurationSheet.h"
#include "ui/Texts.h"
#include "ui/UserDialogs.h"

#include <QFileInfo>
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

void TfrmMain::BindConfigurationSheet() {
  choosePrinter_ = ChooseWithPrintDialog;
  connect(mnuFilePrint, &QAction::triggered, this, &TfrmMain::mnuFilePrintClick);
  connect(mnuFileSavePdf, &QAction::triggered, this, &TfrmMain::mnuFileSavePdfClick);
}

SheetContent TfrmMain::ConfigurationSheet() const {
  SheetContent sheet;
  sheet.title = Text(Msg::SheetTitle);
  sheet.header = {
      {CaptionOf(lblRadioCodeId), edtRadioCodeOld->text()},
      {Text(Msg::SheetSource), SheetSourceText(ImageSource, vembaData.CurrentFilePath, ReadTime)},
      {Text(Msg::SheetCreatedAt), SheetTimeText(QDateTime::currentDateTime())},
      {Text(Msg::SheetCreatedWith),
       FormatText(Msg::ProgramAndVersion, {Text(Msg::ProgramTitle), GetProgramVersion()})},
  };
  // The limit's unit is shown beside it; in service mode the raw count has none.
  QString limit = edtInactivityLimit->text();
  if (InactivityLimitMode() == LimitAsTime && !cbbxInactivityLimitUnit->currentText().isEmpty())
    limit += u' ' + cbbxInactivityLimitUnit->currentText();
  sheet.groups = {
      {gbxRadioParameters->title(),
       {{CaptionOf(lblRadioCodeId) + QStringLiteral(" – ") + CaptionOf(lblOld),
         edtRadioCodeOld->text()},
        {CaptionOf(lblRadioCodeId) + QStringLiteral(" – ") + CaptionOf(lblNew),
         edtRadioCodeNew->text()},
        RowOf(lblNoOfShortTransmissions, edtNoShortTx),
        RowOf(lblNoOfLongTransmissions, edtNoLongTx)}},
      {gbxTechnicalAlarmsInfo->title(),
       {RowOf(lblActivityAlarmActive, cbConfig_D3),
        RowOf(lblActivityAlarmInterval, edtActivityAlarmInterval),
        RowOf(lblRadioTestAlarmActive, cbRadioTestAlarmActive),
        RowOf(lblRadioTestAlarmInterval, edtRadioTestAlarmInterval),
        RowOf(lblTransmitTestAlarmWithButtonCounterValue, cbConfig_D2),
        RowOf(lblNoOfMissedAckBeforeSleep, edtMissedAck),
        RowOf(lblBatteryTestInterval, edtBatteryTestInterval),
        RowOf(lblButtonCounter, edtButtonCounter), RowOf(lblTotalTxCounter, edtTotalTxCounter),
        RowOf(lblCompatibleAlarmTypes, cbConfig_D4)}},
      {gbxUserAlarms->title(),
       {RowOf(lblAlarmButtonActive, cbConfig_D1),
        RowOf(lblButtonActivationDelay, edtButtonActivationDelay),
        RowOf(lblDementiaBlockTime, edtDementiaBlockTime),
        RowOf(lblInactivitySenseActive, cbConfig_D0),
        {CaptionOf(lblInactivityLimit), limit},
        RowOf(lblInactivitySampleInterval, edtInactivitySampleInterval),
        RowOf(lblInactivityTiltThreshold, edtInactivityTiltThreshold),
        RowOf(lblInactivityRetransmissionAttempts, edtInactivityRetransmissionAttempts),
        RowOf(lblIgnoreRetransmissionAck, cbConfig_D5)}},
      {gbxProductInformation->title(),
       {RowOf(lblFirmwareVersion, edtFirmwareVersion), RowOf(lblProductionDate, edtProductionDate),
        RowOf(lblFirmwareType, edtFirmwareType)}},
  };
  return sheet;
}

void TfrmMain::mnuFilePrintClick() {
  QPrinter printer(QPrinter::HighResolution);
  printer.setPageSize(QPageSize(QPageSize::A4));
  printer.setDocName(Text(Msg::SheetTitle));
  if (!choosePrinter_(printer, this)) return;
  QPainter painter;
  if (!painter.begin(&printer)) {
    environment_.dialogs->ShowError(this, Text(Msg::SheetNotPrinted));
    return;
  }
  PaintConfigurationSheet(painter, printer, ConfigurationSheet());
  painter.end();
  SetStatusText(Text(Msg::SheetPrinted));
}

void TfrmMain::mnuFileSavePdfClick() {
  const QString& current = vembaData.CurrentFilePath;
  const QString suggested = current.isEmpty() ? QString() : QFileInfo(current).completeBaseName();
  const QString chosen = environment_.dialogs->AskSaveFileName(
      this, FileDialogRequest{Text(Msg::SavePdfTitle), Text(Msg::PdfFileFilter),
                              QStringLiteral("*.pdf"), suggested, DefaultFolder});
  if (chosen.isEmpty()) return;
  const QString target = WithPdfExtension(chosen);
  if (QFileInfo::exists(target) &&
      environment_.dialogs->ShowInformation(this, Text(Msg::FileExistsOverwrite),
                                            BoxButtons::YesNo) != mrYes)
    return;
  QString error;
  if (!WriteConfigurationSheetPdf(target, ConfigurationSheet(), error)) {
    environment_.dialogs->ShowError(this, FormatText(Msg::SheetNotSaved, {error}));
    return;
  }
  SetStatusText(FormatText(Msg::SheetSaved, {QFileInfo(target).fileName()}));
}
