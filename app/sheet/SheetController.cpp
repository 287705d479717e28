#include "app/sheet/SheetController.h"

#include "app/Main.h"
#include "app/MainTransmitter.h"
#include "image/Texts.h"
#include "ui/UserDialogs.h"

#include <QFileInfo>
#include <QMenu>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

namespace {

QString ValueOf(const QWidget* control) {
  if (const auto* box = qobject_cast<const QCheckBox*>(control))
    return Text(box->isChecked() ? Msg::Yes : Msg::No);
  return static_cast<const QLineEdit*>(control)->text();
}

bool ChooseWithPrintDialog(QPrinter& printer, QWidget* parent) {
  QPrintDialog dialog(&printer, parent);
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace

SheetController::SheetController(TfrmMain& window, QMenu& fileMenu, QAction* before,
                                 UserDialogs& dialogs, RecipientSource recipientOf)
    : QObject(&window),
      mnuFilePrint(new QAction(Text(Msg::MenuFilePrint), &window)),
      mnuFileSavePdf(new QAction(Text(Msg::MenuFileSavePdf), &window)),
      window_(window),
      dialogs_(dialogs),
      recipientOf_(std::move(recipientOf)),
      choosePrinter_(ChooseWithPrintDialog) {
  mnuFilePrint->setObjectName(QStringLiteral("mnuFilePrint"));
  mnuFilePrint->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
  mnuFileSavePdf->setObjectName(QStringLiteral("mnuFileSavePdf"));
  fileMenu.insertActions(before, {mnuFilePrint, mnuFileSavePdf});
  connect(mnuFilePrint, &QAction::triggered, this, &SheetController::mnuFilePrintClick);
  connect(mnuFileSavePdf, &QAction::triggered, this, &SheetController::mnuFileSavePdfClick);
}

SinceRead SheetController::StateSinceRead() const {
  if (window_.ImageSource != SourceTransmitter) return SinceRead::Unchanged;
  // The window's fields over the read's bytes, so that bytes no field owns count as read.
  ParameterImage window = window_.ReceivedImage;
  (void)window_.Document().Build(window, OriginRead);
  const CodecContext context = window_.Document().Context();
  if (!WindowChangedSinceRead(window_.ReceivedImage, window, context)) return SinceRead::Unchanged;
  // A write after the read left the pendant's newest backup; the cells the read did not deliver
  // still count as unknown.
  const std::optional<ImageBytes> kept =
      window_.Transmitter().LastKnownImage(window_.RadioCodeOldText());
  if (!kept) return SinceRead::Changed;
  ParameterImage pendant = window_.ReceivedImage;
  for (int address = 0; address < ImageSize; ++address)
    pendant[address].value = (*kept)[static_cast<std::size_t>(address)];
  return WindowChangedSinceRead(pendant, window, context) ? SinceRead::Changed
                                                          : SinceRead::ChangedAndWritten;
}

SheetContent SheetController::ConfigurationSheet() const {
  const TfrmMain& w = window_;
  // The limit's unit is shown beside it; in service mode the raw count has none.
  QString limit = w.form.edtInactivityLimit->text();
  if (w.InactivityLimitMode() == LimitAsTime &&
      !w.form.cbbxInactivityLimitUnit->currentText().isEmpty())
    limit += u' ' + w.form.cbbxInactivityLimitUnit->currentText();
  SheetContent sheet = BuildConfigurationSheet(
      w.form.edtRadioCodeOld->text(),
      SheetSourceText(w.ImageSource, w.vembaData.CurrentFilePath, w.ReadTime, StateSinceRead()),
      w.InactivityLimitMode(), [&w, &limit](Field field) {
        return field == Field::edtInactivityLimit ? limit : ValueOf(w.form.ControlOf(field));
      });
  sheet.signOff = SheetSignOff(recipientOf_(w.RadioCodeOldText()));
  return sheet;
}

void SheetController::mnuFilePrintClick() {
  QPrinter printer(QPrinter::HighResolution);
  // The margins of the PDF: a printer's own would put the sheet at the paper's edge.
  printer.setPageLayout(SheetPageLayout());
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
  QString suggested = window_.SuggestedFileName();
  if (suggested.isEmpty() && !current.isEmpty()) suggested = QFileInfo(current).completeBaseName();
  const QString target =
      AskSavePath(dialogs_, &window_,
                  FileDialogRequest{Text(Msg::SavePdfTitle), Text(Msg::PdfFileFilter),
                                    QStringLiteral("*.pdf"), suggested, window_.DefaultFolder},
                  QStringLiteral(".pdf"));
  if (target.isEmpty()) return;
  QString error;
  if (!WriteConfigurationSheetPdf(target, ConfigurationSheet(), error)) {
    dialogs_.ShowError(&window_, FormatText(Msg::SheetNotSaved, {error}));
    return;
  }
  window_.SetStatusText(FormatText(Msg::SheetSaved, {QFileInfo(target).fileName()}));
}
