#include "files/RecordWindow.h"

#include "files/Backups.h"
#include "ui/FormHelpers.h"
#include "ui/Texts.h"
#include "ui/UserDialogs.h"

#include <QAbstractTableModel>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// What the window reads of the file at once: the newest part first, then the rest a part at a
// time between the user's events.
constexpr qint64 FirstPartBytes = 256 * 1024;
constexpr qint64 LaterPartBytes = 1024 * 1024;

QString cutShort(const QString& text) {
  if (text.size() <= TfrmRecord::LongestCellShown) return text;
  return text.left(TfrmRecord::LongestCellShown - 1) + u'\u2026';
}

}  // namespace

// The entries, newest first, and the rows that pass the radio-code filter. Rows come and go as
// whole parts, so the view keeps its selection while older entries arrive.
class RecordTableModel : public QAbstractTableModel {
 public:
  explicit RecordTableModel(QObject* parent)
      : QAbstractTableModel(parent), heads_(RecordColumnHeads()) {}

  int rowCount(const QModelIndex& parent = {}) const override {
    return parent.isValid() ? 0 : static_cast<int>(shown_.size());
  }
  int columnCount(const QModelIndex& parent = {}) const override {
    return parent.isValid() ? 0 : static_cast<int>(heads_.size());
  }
  QVariant data(const QModelIndex& index, int role) const override {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::ToolTipRole)) return {};
    const QString column = RecordColumns(Entry(index.row()))[index.column()];
    // The whole column stays readable in the tool tip.
    return role == Qt::DisplayRole ? cutShort(column) : column;
  }
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    return heads_.value(section);
  }

  [[nodiscard]] const RecordEntry& Entry(int row) const {
    return entries_[shown_[static_cast<std::size_t>(row)]];
  }

  void Clear() {
    beginResetModel();
    entries_.clear();
    shown_.clear();
    endResetModel();
  }

  // Older entries go below the ones there are.
  void AddOlder(std::vector<RecordEntry> older) {
    const std::size_t first = entries_.size();
    entries_.insert(entries_.end(), std::make_move_iterator(older.begin()),
                    std::make_move_iterator(older.end()));
    std::vector<std::size_t> passing;
    for (std::size_t index = first; index < entries_.size(); ++index) {
      if (Passes(entries_[index])) passing.push_back(index);
    }
    if (passing.empty()) return;
    beginInsertRows({}, rowCount(), rowCount() + static_cast<int>(passing.size()) - 1);
    shown_.insert(shown_.end(), passing.begin(), passing.end());
    endInsertRows();
  }

  void Filter(const QString& code) {
    beginResetModel();
    code_ = code;
    shown_.clear();
    for (std::size_t index = 0; index < entries_.size(); ++index) {
      if (Passes(entries_[index])) shown_.push_back(index);
    }
    endResetModel();
  }

 private:
  [[nodiscard]] bool Passes(const RecordEntry& entry) const {
    return code_.isEmpty() || entry.codeBefore == code_ || entry.codeAfter == code_;
  }

  QStringList heads_;
  std::vector<RecordEntry> entries_;  // newest first
  std::vector<std::size_t> shown_;    // indices into entries_
  QString code_;                      // empty: every entry
};

TfrmRecord::TfrmRecord(UserDialogs& dialogs, QWidget* parent)
    : QDialog(parent),
      lblRadioCode(named(new QLabel(Text(Msg::RecordFilterCode), this), "lblRadioCode")),
      cbbxRadioCode(named(new QComboBox(this), "cbbxRadioCode")),
      lblCount(named(new QLabel(this), "lblCount")),
      tblRecord(named(new QTableView(this), "tblRecord")),
      btnOpenBackup(named(new QPushButton(Text(Msg::RecordOpenBackup), this), "btnOpenBackup")),
      btnClose(named(new QPushButton(Text(Msg::ButtonClose), this), "btnClose")),
      dialogs_(dialogs),
      model_(new RecordTableModel(this)) {
  setObjectName(QStringLiteral("frmRecord"));
  setWindowTitle(Text(Msg::RecordTitle));
  resize(1000, 520);
  tblRecord->setModel(model_);
  tblRecord->setEditTriggers(QAbstractItemView::NoEditTriggers);
  tblRecord->setSelectionBehavior(QAbstractItemView::SelectRows);
  tblRecord->setSelectionMode(QAbstractItemView::SingleSelection);
  tblRecord->setWordWrap(false);
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
  connect(tblRecord, &QTableView::doubleClicked, this, &TfrmRecord::btnOpenBackupClick);
  connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);
  readTimer_.setSingleShot(true);
  readTimer_.setInterval(0);
  connect(&readTimer_, &QTimer::timeout, this, &TfrmRecord::ReadOlderEntries);
}

void TfrmRecord::done(int result) {
  readTimer_.stop();
  QDialog::done(result);
}

bool TfrmRecord::LoadRecord(const QString& dataFolder) {
  dataFolder_ = dataFolder;
  readTimer_.stop();
  model_->Clear();
  {
    const QSignalBlocker quiet(cbbxRadioCode);
    cbbxRadioCode->clear();
    cbbxRadioCode->addItem(Text(Msg::RecordFilterAll));
  }
  const QString path = dataFolder + RecordFileName;
  if (!reader_.Open(path)) {
    dialogs_.ShowError(parentWidget(), FormatText(Msg::RecordNotReadable, {path}));
    return false;
  }
  std::vector<RecordEntry> newest = reader_.ReadOlder(FirstPartBytes);
  AddCodes(newest);
  model_->AddOlder(std::move(newest));
  // Only the widths of the newest entries: measuring every row would read them all again.
  tblRecord->resizeColumnsToContents();
  if (model_->rowCount() > 0) tblRecord->selectRow(0);
  ShowCount();
  if (IsLoading()) readTimer_.start();
  return true;
}

bool TfrmRecord::IsLoading() const {
  return !reader_.AtStart();
}

void TfrmRecord::ReadOlderEntries() {
  if (!IsLoading()) return;
  std::vector<RecordEntry> older = reader_.ReadOlder(LaterPartBytes);
  AddCodes(older);
  const bool wasEmpty = model_->rowCount() == 0;
  model_->AddOlder(std::move(older));
  if (wasEmpty && model_->rowCount() > 0) tblRecord->selectRow(0);
  ShowCount();
  if (IsLoading()) readTimer_.start();
}

void TfrmRecord::AddCodes(const std::vector<RecordEntry>& entries) {
  // The list stays sorted after "(alle)"; a code the user chose stays chosen.
  const QSignalBlocker quiet(cbbxRadioCode);
  for (const RecordEntry& entry : entries) {
    for (const QString& code : {entry.codeBefore, entry.codeAfter}) {
      if (code.isEmpty() || cbbxRadioCode->findData(code) >= 0) continue;
      int at = 1;
      while (at < cbbxRadioCode->count() && cbbxRadioCode->itemData(at).toString() < code) ++at;
      cbbxRadioCode->insertItem(at, code, code);
    }
  }
}

void TfrmRecord::ShowCount() {
  QString count = FormatText(Msg::RecordEntryCount, {QString::number(model_->rowCount())});
  if (IsLoading()) {
    count += u' ' + Text(Msg::RecordStillReading);
  } else if (reader_.LeavesOlderLines()) {
    count += u' ' + Text(Msg::RecordOlderNotShown);
  }
  lblCount->setText(count);
}

void TfrmRecord::cbbxRadioCodeChange() {
  model_->Filter(cbbxRadioCode->currentData().toString());
  if (model_->rowCount() > 0) tblRecord->selectRow(0);
  ShowCount();
}

const RecordEntry* TfrmRecord::SelectedEntry() const {
  const QModelIndex current = tblRecord->currentIndex();
  return current.isValid() ? &model_->Entry(current.row()) : nullptr;
}

QString TfrmRecord::CellText(int row, int column) const {
  return model_->index(row, column).data().toString();
}

QString TfrmRecord::SelectedBackupPath() const {
  const RecordEntry* entry = SelectedEntry();
  return entry == nullptr ? QString() : BackupPathInFolder(dataFolder_, entry->backup);
}

void TfrmRecord::btnOpenBackupClick() {
  const RecordEntry* entry = SelectedEntry();
  const QString backup = entry == nullptr ? QString() : entry->backup;
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
