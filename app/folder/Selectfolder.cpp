#include "app/folder/Selectfolder.h"

#include "files/DataFolders.h"
#include "files/VembaIni.h"
#include "image/Texts.h"
#include "ui/FormHelpers.h"
#include "ui/UserDialogs.h"

#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

namespace {

QPushButton* makeButton(QWidget* parent, const char* name, const QRect& geometry) {
  auto* button = new QPushButton(parent);
  named(button, name);
  button->setGeometry(geometry);
  button->setAutoDefault(false);
  return button;
}

}  // namespace

TfrmSelectDirectory::TfrmSelectDirectory(UserDialogs& dialogs, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      gbxSelectDirectory(new QGroupBox(this)),
      lblDirectoryInfo(new QLabel(gbxSelectDirectory)),
      edtActiveConfigDirectory(new QLineEdit(gbxSelectDirectory)),
      btnBrowse(makeButton(gbxSelectDirectory, "btnBrowse", QRect(288, 136, 147, 25))),
      btnOK(makeButton(this, "btnOK", QRect(296, 192, 75, 25))),
      btnCancel(makeButton(this, "btnCancel", QRect(384, 192, 75, 25))),
      userDialogs(dialogs) {
  setObjectName(QStringLiteral("frmSelectDirectory"));
  setFixedSize(469, 226);
  gbxSelectDirectory->setObjectName(QStringLiteral("gbxSelectDirectory"));
  gbxSelectDirectory->setGeometry(8, 8, 449, 177);
  lblDirectoryInfo->setObjectName(QStringLiteral("lblDirectoryInfo"));
  lblDirectoryInfo->setWordWrap(true);
  lblDirectoryInfo->move(16, 24);
  edtActiveConfigDirectory->setObjectName(QStringLiteral("edtActiveConfigDirectory"));
  edtActiveConfigDirectory->setGeometry(16, 104, 417, 21);
  connect(btnBrowse, &QPushButton::clicked, this, &TfrmSelectDirectory::btnBrowseClick);
  connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
  connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
  FormCreate();
}

void TfrmSelectDirectory::FormCreate() {
  setWindowTitle(Text(Msg::SelectFolderTitle));
  gbxSelectDirectory->setTitle(Text(Msg::SelectFolderLabel));
  lblDirectoryInfo->setText(Text(Msg::SelectFolderNote));
  const int labelWidth = static_cast<int>(0.9 * gbxSelectDirectory->width());
  lblDirectoryInfo->resize(labelWidth, lblDirectoryInfo->heightForWidth(labelWidth));
  edtActiveConfigDirectory->clear();
  btnBrowse->setText(Text(Msg::SelectFolderBrowse));
  btnOK->setText(OkCaption);
  btnCancel->setText(AbortCaption);
}

void TfrmSelectDirectory::FormShow() {
  CentreOnOwner(*this);
}

void TfrmSelectDirectory::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void TfrmSelectDirectory::SetFolder(const QString& folder) {
  edtActiveConfigDirectory->setText(QDir::toNativeSeparators(WithoutTrailingSeparator(folder)));
}

QString TfrmSelectDirectory::GetFolder() const {
  return WithoutTrailingSeparator(QDir::fromNativeSeparators(edtActiveConfigDirectory->text()));
}

ModalResult TfrmSelectDirectory::ShowModal() {
  return exec() == QDialog::Accepted ? mrOk : mrCancel;
}

void TfrmSelectDirectory::btnBrowseClick() {
  const QString current = GetFolder();
  const QString preselected = !current.isEmpty() && QDir(current).exists() ? current : QString();
  const QString picked =
      userDialogs.AskFolder(this, Text(Msg::SelectNewDefaultFolder), preselected);
  if (!picked.isEmpty()) SetFolder(picked);
}

bool SelectDefaultFolder(TfrmSelectDirectory& dialog, QString& defaultFolder, VembaIni& settings) {
  dialog.SetFolder(defaultFolder);
  if (dialog.ShowModal() != mrOk) return false;
  defaultFolder = dialog.GetFolder();
  // Written as the platform's own programs write paths: with backslashes on Windows.
  settings.WriteSetting(SetupSection, ConfigDirectoryKey, QDir::toNativeSeparators(defaultFolder));
  return true;
}
