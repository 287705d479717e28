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

bool SheetController::ChangedSinceRead() const {
  if (window_.ImageSource != SourceTransmitter) return false;
  // The window's fields over the read's bytes, so that bytes no field owns count as read.
  ParameterImage window = window_.ReceivedImage;
  (void)window_.BuildImage(window, OriginRead);
  return WindowChangedSinceRead(window_.ReceivedImage, window, window_.ShownCodecContext());
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
      SheetSourceText(w.ImageSource, w.vembaData.CurrentFilePath, w.ReadTime, ChangedSinceRead()),
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
