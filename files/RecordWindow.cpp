#include "files/RecordWindow.h"

#include "files/Backups.h"
#include "ui/FormHelpers.h"
#include "ui/Texts.h"
#include "ui/UserDialogs.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <set>

namespace {

// The row's index into the entries rides on the first column's item.
constexpr int TimeColumn = 0;

}  // namespace

TfrmRecord::TfrmRecord(UserDialogs& dialogs, QWidget* parent)
    : QDialog(parent),
      lblRadioCode(named(new QLabel(Text(Msg::RecordFilterCode), this), "lblRadioCode")),
      cbbxRadioCode(named(new QComboBox(this), "cbbxRadioCode")),
      lblCount(named(new QLabel(this), "lblCount")),
      tblRecord(named(new QTableWidget(0, static_cast<int>(RecordColumnHeads().size()), this),
                      "tblRecord")),
      btnOpenBackup(named(new QPushButton(Text(Msg::RecordOpenBackup), this), "btnOpenBackup")),
      btnClose(named(new QPushButton(Text(Msg::ButtonClose), this), "btnClose")),
      dialogs_(dialogs) {
  setObjectName(QStringLiteral("frmRecord"));
  setWindowTitle(Text(Msg::RecordTitle));
  resize(1000, 520);
  tblRecord->setHorizontalHeaderLabels(RecordColumnHeads());
  tblRecord->setEditTriggers(QAbstractItemView::NoEditTriggers);
  tblRecord->setSelectionBehavior(QAbstractItemView::SelectRows);
  tblRecord->setSelectionMode(QAbstractItemView::SingleSelection);
  tblRecord->verticalHeader()->setVisible(false);
  tblRecord->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
  tblRecord->horizontalHeader()->setStretchLastSection(true);

  auto* filter = new QHBoxLayout;
  filter->addWidget(lblRadioCode);
  filter->addWidget(cbbxRadioCode);
  filter->addStretch();
  filter->addWidget(lblCount);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(btnOpenBackup);
  buttons->addWidget(btnClose);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(filter);
  layout->addWidget(tblRecord);
  layout->addLayout(buttons);

  connect(cbbxRadioCode, &QComboBox::currentIndexChanged, this, &TfrmRecord::cbbxRadioCodeChange);
  connect(btnOpenBackup, &QPushButton::clicked, this, &TfrmRecord::btnOpenBackupClick);
  connect(tblRecord, &QTableWidget::cellDoubleClicked, this, &TfrmRecord::btnOpenBackupClick);
  connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);
}

bool TfrmRecord::LoadRecord(const QString& dataFolder) {
  dataFolder_ = dataFolder;
  const QString path = dataFolder + RecordFileName;
  std::optional<std::vector<RecordEntry>> entries = ReadRecordFile(path);
  if (!entries) {
    dialogs_.ShowError(parentWidget(), FormatText(Msg::RecordNotReadable, {path}));
    return false;
  }
  entries_.assign(entries->rbegin(), entries->rend());
  FillCodes();
  FillTable();
  return true;
}

void TfrmRecord::FillCodes() {
  std::set<QString> codes;
  for (const RecordEntry& entry : entries_) {
    for (const QString& code : {entry.codeBefore, entry.codeAfter}) {
      if (!code.isEmpty()) codes.insert(code);
    }
  }
  const QSignalBlocker quiet(cbbxRadioCode);
  cbbxRadioCode->clear();
  cbbxRadioCode->addItem(Text(Msg::RecordFilterAll));
  for (const QString& code : codes) cbbxRadioCode->addItem(code, code);
  cbbxRadioCode->setCurrentIndex(0);
}

void TfrmRecord::FillTable() {
  const QString code = cbbxRadioCode->currentData().toString();
  tblRecord->clearContents();
  tblRecord->setRowCount(0);
  for (std::size_t index = 0; index < entries_.size(); ++index) {
    const RecordEntry& entry = entries_[index];
    if (!code.isEmpty() && entry.codeBefore != code && entry.codeAfter != code) continue;
    const int row = tblRecord->rowCount();
    tblRecord->insertRow(row);
    const QStringList cells = RecordColumns(entry);
    for (int column = 0; column < static_cast<int>(cells.size()); ++column) {
      auto* item = new QTableWidgetItem(cells[column]);
      item->setData(Qt::UserRole, static_cast<qulonglong>(index));
      tblRecord->setItem(row, column, item);
    }
  }
  tblRecord->resizeColumnsToContents();
  if (tblRecord->rowCount() > 0) tblRecord->selectRow(0);
  lblCount->setText(FormatText(Msg::RecordEntryCount, {QString::number(tblRecord->rowCount())}));
}

void TfrmRecord::cbbxRadioCodeChange() {
  FillTable();
}

QString TfrmRecord::SelectedBackupPath() const {
  const QTableWidgetItem* item = tblRecord->item(tblRecord->currentRow(), TimeColumn);
  if (item == nullptr) return {};
  return BackupPathInFolder(dataFolder_, entries_[item->data(Qt::UserRole).toULongLong()].backup);
}

void TfrmRecord::btnOpenBackupClick() {
  const QTableWidgetItem* item = tblRecord->item(tblRecord->currentRow(), TimeColumn);
  const QString backup =
      item == nullptr ? QString() : entries_[item->data(Qt::UserRole).toULongLong()].backup;
  if (backup.isEmpty()) {
    dialogs_.ShowInformation(this, Text(Msg::RecordNoBackup));
    return;
  }
  if (BackupPathInFolder(dataFolder_, backup).isEmpty()) {
    dialogs_.ShowInformation(this, FormatText(Msg::RecordBackupOutsideFolder,
                                              {backup, dataFolder_ + BackupsFolderName}));
    return;
  }
  accept();
}
