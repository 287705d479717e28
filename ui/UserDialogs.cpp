#include "ui/UserDialogs.h"

#include "image/Texts.h"
#include "ui/FormHelpers.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

namespace {

// A message box that tells a close by the title-bar button apart from Escape.
class GermanMessageBox : public QMessageBox {
 public:
  using QMessageBox::QMessageBox;
  bool closedByTitleBar = false;

 protected:
  void closeEvent(QCloseEvent* event) override {
    if (clickedButton() == nullptr) closedByTitleBar = true;
    QMessageBox::closeEvent(event);
  }
};

QString captionOf(BoxKind kind) {
  switch (kind) {
    case BoxKind::Error:
      return QStringLiteral("Fehler");
    case BoxKind::Warning:
      return QStringLiteral("Warnung");
    case BoxKind::Confirmation:
      return QStringLiteral("Bestätigen");
    case BoxKind::Information:
      break;
  }
  return QStringLiteral("Information");
}

QMessageBox::Icon iconOf(BoxKind kind) {
  switch (kind) {
    case BoxKind::Error:
      return QMessageBox::Critical;
    case BoxKind::Warning:
      return QMessageBox::Warning;
    case BoxKind::Confirmation:
      return QMessageBox::Question;
    case BoxKind::Information:
      break;
  }
  return QMessageBox::Information;
}

void prepareFileDialog(QFileDialog& dialog, const FileDialogRequest& request) {
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setWindowTitle(request.title);
  dialog.setNameFilter(request.filterDescription + QStringLiteral(" (") + request.filterPattern +
                       QStringLiteral(")"));
  if (!request.folder.isEmpty() && QDir(request.folder).exists()) {
    dialog.setDirectory(request.folder);
  }
  if (!request.fileName.isEmpty() && !request.fileName.contains(u'*')) {
    dialog.selectFile(request.fileName);
  }
  dialog.setLabelText(QFileDialog::LookIn, QStringLiteral("Suchen in:"));
  dialog.setLabelText(QFileDialog::FileName, QStringLiteral("Dateiname:"));
  dialog.setLabelText(QFileDialog::FileType, QStringLiteral("Dateityp:"));
}

// The modes reset the buttons' texts, so the German ones are set after them.
void setButtonTexts(QFileDialog& dialog, const QString& accept) {
  dialog.setLabelText(QFileDialog::Accept, accept);
  dialog.setLabelText(QFileDialog::Reject, AbortCaption);
}

QString chosenPath(QFileDialog& dialog) {
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().constFirst();
}

}  // namespace

ModalResult QtUserDialogs::ShowMessage(QWidget* parent, BoxKind kind, const QString& text,
                                       BoxButtons buttons) {
  GermanMessageBox box(iconOf(kind), captionOf(kind), text, QMessageBox::NoButton, parent);
  const auto add = [&box](const QString& caption, QMessageBox::ButtonRole role) {
    return box.addButton(caption, role);
  };
  QPushButton* ok = nullptr;
  QPushButton* cancel = nullptr;
  QPushButton* yes = nullptr;
  QPushButton* no = nullptr;
  QPushButton* abort = nullptr;
  switch (buttons) {
    case BoxButtons::Ok:
      ok = add(OkCaption, QMessageBox::AcceptRole);
      box.setEscapeButton(ok);
      break;
    case BoxButtons::OkCancel:
      ok = add(OkCaption, QMessageBox::AcceptRole);
      cancel = add(AbortCaption, QMessageBox::RejectRole);
      box.setEscapeButton(cancel);
      break;
    case BoxButtons::YesNo:
    case BoxButtons::YesNoDefaultNo:
      yes = add(YesCaption, QMessageBox::YesRole);
      no = add(NoCaption, QMessageBox::NoRole);
      box.setEscapeButton(no);
      break;
    case BoxButtons::YesNoAbort:
      yes = add(YesCaption, QMessageBox::YesRole);
      no = add(NoCaption, QMessageBox::NoRole);
      abort = add(AbortCaption, QMessageBox::RejectRole);
      // Escape is a "no" here, not an abort: the question only offers something extra.
      box.setEscapeButton(no);
      break;
  }
  box.setDefaultButton(ok != nullptr ? ok : buttons == BoxButtons::YesNoDefaultNo ? no : yes);
  box.exec();
  if (box.closedByTitleBar) return buttons == BoxButtons::Ok ? mrOk : mrCancel;
  const auto* clicked = box.clickedButton();
  if (clicked == nullptr) return mrCancel;
  if (clicked == ok) return mrOk;
  if (clicked == cancel) return mrCancel;
  if (clicked == yes) return mrYes;
  if (clicked == no) return mrNo;
  if (clicked == abort) return mrAbort;
  return mrCancel;
}

QString QtUserDialogs::AskOpenFileName(QWidget* parent, const FileDialogRequest& request) {
  QFileDialog dialog(parent);
  prepareFileDialog(dialog, request);
  // The user may type a name that does not exist yet: the program completes it with ".ukova".
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  setButtonTexts(dialog, QStringLiteral("Ö&ffnen"));
  return chosenPath(dialog);
}

QString QtUserDialogs::AskSaveFileName(QWidget* parent, const FileDialogRequest& request) {
  QFileDialog dialog(parent);
  prepareFileDialog(dialog, request);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  // The program asks about overwriting itself, after it has completed the extension.
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  setButtonTexts(dialog, QStringLiteral("&Speichern"));
  return chosenPath(dialog);
}

QString QtUserDialogs::AskFolder(QWidget* parent, const QString& instruction,
                                 const QString& startFolder) {
  QFileDialog dialog(parent);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setOption(QFileDialog::ShowDirsOnly);
  dialog.setFileMode(QFileDialog::Directory);
  dialog.setWindowTitle(instruction);
  dialog.setLabelText(QFileDialog::LookIn, QStringLiteral("Suchen in:"));
  dialog.setLabelText(QFileDialog::FileName, QStringLiteral("Verzeichnis:"));
  setButtonTexts(dialog, OkCaption);
  dialog.setDirectory(QDir::home());
  if (!startFolder.isEmpty() && QDir(startFolder).exists()) dialog.setDirectory(startFolder);
  return chosenPath(dialog);
}

QString AskSavePath(UserDialogs& dialogs, QWidget* parent, const FileDialogRequest& request,
                    const QString& extension) {
  const QString chosen = dialogs.AskSaveFileName(parent, request);
  if (chosen.isEmpty()) return {};
  const QString target =
      chosen.endsWith(extension, Qt::CaseInsensitive) ? chosen : chosen + extension;
  if (QFileInfo::exists(target) &&
      dialogs.ShowInformation(parent, Text(Msg::FileExistsOverwrite), BoxButtons::YesNo) != mrYes)
    return {};
  return target;
}
