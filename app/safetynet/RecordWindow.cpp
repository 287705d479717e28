#include "app/safetynet/RecordWindow.h"

#include "files/Backups.h"
#include "files/FileLinks.h"
#include "files/RecordExport.h"
#include "files/RecordShown.h"
#include "image/Texts.h"
#include "ui/FormHelpers.h"
#include "ui/UserDialogs.h"

#include <QAbstractTableModel>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// What the window reads of the file at once: the newest part first, then the rest a part at a
// time between the user's events.
constexpr qint64 FirstPartBytes = 256 * 1024;
constexpr qint64 LaterPartBytes = 1024 * 1024;

// The day the date fields show when they set no bound: a day before any record.
const QDate NoBound(2000, 1, 1);

QDateEdit* dayField(QWidget* parent) {
  auto* field = new QDateEdit(parent);
  field->setCalendarPopup(true);
  field->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
  field->setMinimumDate(NoBound);
  field->setSpecialValueText(Text(Msg::RecordFilterAnyDay));
  field->setDate(NoBound);
  return field;
}

QDate boundOf(const QDateEdit* field) {
  return field->date() == NoBound ? QDate() : field->date();
}

// Adds the texts the combo box does not hold yet, sorted after "(alle)"; a text the user chose
// stays chosen.
void addSorted(QComboBox* choices, const QString& text) {
  if (text.isEmpty() || choices->findData(text) >= 0) return;
  int at = 1;
  while (at < choices->count() && choices->itemData(at).toString() < text) ++at;
  choices->insertItem(at, text, text);
}

void resetChoices(QComboBox* choices) {
  const QSignalBlocker quiet(choices);
  choices->clear();
  choices->addItem(Text(Msg::RecordFilterAll));
}

// Read whole in every row; the long paths, checksums and names give way to them.
bool keepsItsWidth(int column) {
  return column == RecordTimeColumn || column == RecordOperationColumn ||
         column == RecordCodeBeforeColumn || column == RecordCodeAfterColumn;
}

class ElidedAtTheEnd final : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
    QStyledItemDelegate::initStyleOption(option, index);
    option->textElideMode = Qt::ElideRight;
  }
};

}  // namespace

// The entries, newest first, and the rows that pass the radio-code filter. Rows come and go as
// whole parts, so the view keeps its selection while older entries arrive.
class RecordTableModel : public QAbstractTableModel {
 public:
  explicit RecordTableModel(QObject* parent)
      : QAbstractTableModel(parent),
        heads_(RecordColumnHeadsShown()),
        used_(heads_.size(), false) {}

  int rowCount(const QModelIndex& parent = {}) const override {
    return parent.isValid() ? 0 : static_cast<int>(shown_.size());
  }
  int columnCount(const QModelIndex& parent = {}) const override {
    return parent.isValid() ? 0 : static_cast<int>(heads_.size());
  }
  QVariant data(const QModelIndex& index, int role) const override {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::ToolTipRole)) return {};
    const RecordEntry& entry = Entry(index.row());
    // The whole column stays readable in the tool tip.
    if (role == Qt::ToolTipRole) return RecordColumns(entry).value(index.column());
    return RecordCellShown(entry, index.column());
  }
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    return heads_.value(section);
  }

  [[nodiscard]] const RecordEntry& Entry(int row) const {
    return entries_[shown_[static_cast<std::size_t>(row)]];
  }

  // Some entry read so far fills the column.
  [[nodiscard]] bool IsUsed(int column) const { return used_.value(column, false); }

  [[nodiscard]] std::vector<RecordEntry> ShownOldestFirst() const {
    std::vector<RecordEntry> entries;
    entries.reserve(shown_.size());
    for (auto index = shown_.rbegin(); index != shown_.rend(); ++index)
      entries.push_back(entries_[*index]);
    return entries;
  }

  void Clear() {
    beginResetModel();
    entries_.clear();
    shown_.clear();
    used_.fill(false, heads_.size());
    endResetModel();
  }

  // Older entries go below the ones there are; true when they fill a column none filled before.
  bool AddOlder(std::vector<RecordEntry> older) {
    const std::size_t first = entries_.size();
    bool newColumn = false;
    entries_.insert(entries_.end(), std::make_move_iterator(older.begin()),
                    std::make_move_iterator(older.end()));
    std::vector<std::size_t> passing;
    for (std::size_t index = first; index < entries_.size(); ++index) {
      if (Passes(entries_[index])) passing.push_back(index);
      const QStringList columns = RecordColumns(entries_[index]);
      for (qsizetype column = 0; column < columns.size(); ++column) {
        if (used_[column] || columns[column].isEmpty()) continue;
        used_[column] = true;
        newColumn = true;
      }
    }
    if (passing.empty()) return newColumn;
    beginInsertRows({}, rowCount(), rowCount() + static_cast<int>(passing.size()) - 1);
    shown_.insert(shown_.end(), passing.begin(), passing.end());
    endInsertRows();
    return newColumn;
  }

  void Filter(const RecordFilter& filter) {
    beginResetModel();
    filter_ = filter;
    shown_.clear();
    for (std::size_t index = 0; index < entries_.size(); ++index) {
      if (Passes(entries_[index])) shown_.push_back(index);
    }
    endResetModel();
  }

 private:
  [[nodiscard]] bool Passes(const RecordEntry& entry) const { return filter_.Passes(entry); }

  QStringList heads_;
  std::vector<RecordEntry> entries_;  // newest first
  std::vector<std::size_t> shown_;    // indices into entries_
  RecordFilter filter_;
  QList<bool> used_;
};

TfrmRecord::TfrmRecord(UserDialogs& dialogs, QWidget* parent)
    : QDialog(parent),
      lblRadioCode(named(new QLabel(Text(Msg::RecordFilterCode), this), "lblRadioCode")),
      cbbxRadioCode(named(new QComboBox(this), "cbbxRadioCode")),
      lblSeries(named(new QLabel(Text(Msg::RecordFilterSeries), this), "lblSeries")),
      cbbxSeries(named(new QComboBox(this), "cbbxSeries")),
      lblSite(named(new QLabel(Text(Msg::RecordFilterSite), this), "lblSite")),
      cbbxSite(named(new QComboBox(this), "cbbxSite")),
      lblFrom(named(new QLabel(Text(Msg::RecordFilterFrom), this), "lblFrom")),
      dteFrom(named(dayField(this), "dteFrom")),
      lblTo(named(new QLabel(Text(Msg::RecordFilterTo), this), "lblTo")),
      dteTo(named(dayField(this), "dteTo")),
      lblCount(named(new QLabel(this), "lblCount")),
      lblChain(named(new QLabel(this), "lblChain")),
      tblRecord(named(new QTableView(this), "tblRecord")),
      btnExportPdf(named(new QPushButton(Text(Msg::RecordExportPdf), this), "btnExportPdf")),
      btnExportCsv(named(new QPushButton(Text(Msg::RecordExportCsv), this), "btnExportCsv")),
      btnOpenBackup(named(new QPushButton(Text(Msg::RecordOpenBackup), this), "btnOpenBackup")),
      btnClose(named(new QPushButton(Text(Msg::ButtonClose), this), "btnClose")),
      dialogs_(dialogs),
      model_(new RecordTableModel(this)) {
  setObjectName(QStringLiteral("frmRecord"));
  setWindowTitle(Text(Msg::RecordTitle));
  // Ten columns with times, paths and messages: as wide as the screen comfortably allows.
  const int screenWidth = screen() != nullptr ? screen()->availableGeometry().width() : 1000;
  resize(std::clamp(screenWidth * 9 / 10, 1000, 1280), 520);
  tblRecord->setModel(model_);
  tblRecord->setEditTriggers(QAbstractItemView::NoEditTriggers);
  tblRecord->setSelectionBehavior(QAbstractItemView::SelectRows);
  tblRecord->setSelectionMode(QAbstractItemView::SingleSelection);
  tblRecord->setWordWrap(false);
  tblRecord->verticalHeader()->setVisible(false);
  tblRecord->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
  // Paths and checksums differ at their ends; a result's number and first words say the most.
  tblRecord->setTextElideMode(Qt::ElideMiddle);
  tblRecord->setItemDelegateForColumn(RecordResultColumn, new ElidedAtTheEnd(tblRecord));

  auto* filter = new QHBoxLayout;
  for (auto [label, field] : {std::pair<QLabel*, QWidget*>{lblRadioCode, cbbxRadioCode},
                              {lblSeries, cbbxSeries},
                              {lblSite, cbbxSite},
                              {lblFrom, dteFrom},
                              {lblTo, dteTo}}) {
    label->setBuddy(field);
    filter->addWidget(label);
    filter->addWidget(field);
  }
  cbbxRadioCode->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  cbbxSeries->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  cbbxSite->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  filter->addStretch();
  auto* state = new QHBoxLayout;
  lblChain->setWordWrap(true);
  state->addWidget(lblChain, 1);
  state->addWidget(lblCount);
  // Enter opens the selected row's backup, as it did before there were exports.
  btnExportPdf->setAutoDefault(false);
  btnExportCsv->setAutoDefault(false);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(btnExportPdf);
  buttons->addWidget(btnExportCsv);
  buttons->addStretch();
  buttons->addWidget(btnOpenBackup);
  buttons->addWidget(btnClose);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(filter);
  layout->addLayout(state);
  layout->addWidget(tblRecord);
  layout->addLayout(buttons);

  for (QComboBox* choices : {cbbxRadioCode, cbbxSeries, cbbxSite})
    connect(choices, &QComboBox::currentIndexChanged, this, &TfrmRecord::FilterChange);
  for (QDateEdit* day : {dteFrom, dteTo})
    connect(day, &QDateEdit::dateChanged, this, &TfrmRecord::FilterChange);
  connect(btnOpenBackup, &QPushButton::clicked, this, &TfrmRecord::btnOpenBackupClick);
  connect(btnExportPdf, &QPushButton::clicked, this, &TfrmRecord::btnExportPdfClick);
  connect(btnExportCsv, &QPushButton::clicked, this, &TfrmRecord::btnExportCsvClick);
  connect(tblRecord, &QTableView::doubleClicked, this, &TfrmRecord::btnOpenBackupClick);
  connect(tblRecord->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          &TfrmRecord::EnableButtons);
  connect(model_, &QAbstractItemModel::modelReset, this, &TfrmRecord::EnableButtons);
  connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);
  readTimer_.setSingleShot(true);
  readTimer_.setInterval(0);
  connect(&readTimer_, &QTimer::timeout, this, &TfrmRecord::ReadOlderEntries);
  EnableButtons();
}

void TfrmRecord::done(int result) {
  readTimer_.stop();
  QDialog::done(result);
}

bool TfrmRecord::LoadRecord(const QString& dataFolder) {
  dataFolder_ = dataFolder;
  readTimer_.stop();
  model_->Clear();
  resetChoices(cbbxRadioCode);
  resetChoices(cbbxSeries);
  resetChoices(cbbxSite);
  model_->Filter(ChosenFilter());
  const QString path = dataFolder + RecordFileName;
  if (!reader_.Open(path) || !chain_.Open(path, reader_.FirstByteRead())) {
    dialogs_.ShowError(parentWidget(),
                       FormatText(IsLink(path) ? Msg::RecordIsLinkNotRead : Msg::RecordNotReadable,
                                  {QDir::toNativeSeparators(path)}));
    return false;
  }
  std::vector<RecordEntry> newest = reader_.ReadOlder(FirstPartBytes);
  AddChoices(newest);
  (void)model_->AddOlder(std::move(newest));
  // Only the widths of the newest entries: measuring every row would read them all again.
  FitColumns();
  if (model_->rowCount() > 0) tblRecord->selectRow(0);
  tblRecord->setFocus();
  ShowCount();
  ShowChainState();
  if (IsLoading()) readTimer_.start();
  return true;
}

bool TfrmRecord::IsLoading() const {
  return !reader_.AtStart() || !chain_.Done();
}

void TfrmRecord::ReadOlderEntries() {
  if (reader_.AtStart()) {
    chain_.CheckFurther(LaterPartBytes);
    ShowChainState();
    if (IsLoading()) readTimer_.start();
    return;
  }
  std::vector<RecordEntry> older = reader_.ReadOlder(LaterPartBytes);
  AddChoices(older);
  const bool wasEmpty = model_->rowCount() == 0;
  if (model_->AddOlder(std::move(older))) FitColumns();
  if (wasEmpty && model_->rowCount() > 0) tblRecord->selectRow(0);
  ShowCount();
  if (IsLoading()) readTimer_.start();
}

void TfrmRecord::AddChoices(const std::vector<RecordEntry>& entries) {
  const QSignalBlocker quietCodes(cbbxRadioCode);
  const QSignalBlocker quietSeries(cbbxSeries);
  const QSignalBlocker quietSites(cbbxSite);
  for (const RecordEntry& entry : entries) {
    addSorted(cbbxRadioCode, entry.codeBefore);
    addSorted(cbbxRadioCode, entry.codeAfter);
    addSorted(cbbxSeries, entry.series);
    addSorted(cbbxSite, entry.site);
  }
}

RecordFilter TfrmRecord::ChosenFilter() const {
  return RecordFilter{cbbxRadioCode->currentData().toString(), cbbxSeries->currentData().toString(),
                      cbbxSite->currentData().toString(), boundOf(dteFrom), boundOf(dteTo)};
}

void TfrmRecord::ShowCount() {
  lblCount->setText(
      RecordCountShown(model_->rowCount(), !reader_.AtStart(), reader_.LeavesOlderLines()));
  EnableButtons();
}

void TfrmRecord::EnableButtons() {
  // An export holds every entry that passes the filters: only once all are read and checked.
  const bool complete = !IsLoading() && model_->rowCount() > 0;
  btnExportPdf->setEnabled(complete);
  btnExportCsv->setEnabled(complete);
  const RecordEntry* entry = SelectedEntry();
  btnOpenBackup->setEnabled(entry != nullptr && !entry->backup.isEmpty());
}

void TfrmRecord::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  FitColumns();
}

void TfrmRecord::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FitColumns();
}

void TfrmRecord::FitColumns() {
  std::vector<int> shown;
  for (int column = 0; column < model_->columnCount(); ++column) {
    const bool used = column != RecordMessageColumn && model_->IsUsed(column);
    tblRecord->setColumnHidden(column, !used);
    if (used) shown.push_back(column);
  }
  tblRecord->resizeColumnsToContents();
  std::vector<int> wanted;
  std::vector<bool> keptWhole;
  for (int column : shown) {
    wanted.push_back(tblRecord->columnWidth(column));
    keptWhole.push_back(keepsItsWidth(column));
  }
  const std::vector<int> widths =
      FittedColumnWidths(wanted, keptWhole, tblRecord->viewport()->width());
  for (std::size_t at = 0; at < shown.size(); ++at)
    tblRecord->setColumnWidth(shown[at], widths[at]);
}

void TfrmRecord::ShowChainState() {
  EnableButtons();
  const RecordChainFinding finding =
      RecordChainFindingOf(chain_.State(), chain_.Done(), chain_.UncheckedBytes());
  lblChain->setText(finding.line);
  if (!finding.warning.isEmpty())
    dialogs_.ShowMessage(this, BoxKind::Warning, finding.warning, BoxButtons::Ok);
}

void TfrmRecord::FilterChange() {
  model_->Filter(ChosenFilter());
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
  const RecordBackupChoice choice =
      RecordBackupToOpen(dataFolder_, entry == nullptr ? QString() : entry->backup);
  if (choice.path.isEmpty()) {
    dialogs_.ShowInformation(this, choice.refusal);
    return;
  }
  accept();
}

void TfrmRecord::btnExportPdfClick() {
  const QString target = AskSavePath(
      dialogs_, this,
      FileDialogRequest{Text(Msg::SavePdfTitle), Text(Msg::PdfFileFilter), QStringLiteral("*.pdf"),
                        Text(Msg::RecordExportName), QString()},
      QStringLiteral(".pdf"));
  if (target.isEmpty()) return;
  QString error;
  if (!WriteRecordReportPdf(
          target, RecordReportContent(model_->ShownOldestFirst(), ChosenFilter(), lblChain->text()),
          error)) {
    dialogs_.ShowError(this, FormatText(Msg::RecordExportNotSaved, {error}));
    return;
  }
  ExportSaved(target);
}

void TfrmRecord::btnExportCsvClick() {
  const QString target = AskSavePath(
      dialogs_, this,
      FileDialogRequest{Text(Msg::RecordExportCsv).remove(u'&'), Text(Msg::RecordExportCsvFilter),
                        QStringLiteral("*.csv"), Text(Msg::RecordExportName), QString()},
      QStringLiteral(".csv"));
  if (target.isEmpty()) return;
  QString error;
  if (!WriteRecordCsv(target, model_->ShownOldestFirst(), error)) {
    dialogs_.ShowError(this, FormatText(Msg::RecordExportNotSaved, {error}));
    return;
  }
  ExportSaved(target);
}

void TfrmRecord::ExportSaved(const QString& path) {
  dialogs_.ShowInformation(
      this, FormatText(Msg::RecordExportSaved,
                       {RecordEntryCountText(model_->rowCount()), QFileInfo(path).fileName()}));
}
