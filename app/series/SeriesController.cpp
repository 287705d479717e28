#include "app/series/SeriesController.h"

#include "app/Main.h"
#include "app/series/SeriesWindow.h"
#include "files/AssignmentListFile.h"
#include "files/ConfigurationSheet.h"
#include "files/ImageFiles.h"
#include "files/ProgramVersion.h"
#include "image/Texts.h"
#include "ui/OperationBoxes.h"
#include "ui/OperationGuard.h"
#include "ui/UserDialogs.h"

#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>

namespace {

enum ListColumn { CodeColumn, FacilityColumn, RoomColumn, NoteColumn, StateColumn };

bool ChooseWithPrintDialog(QPrinter& printer, QWidget* parent) {
  QPrintDialog dialog(&printer, parent);
  return dialog.exec() == QDialog::Accepted;
}

QString CellText(const QTableWidget& table, int row, int column) {
  const QTableWidgetItem* item = table.item(row, column);
  return item == nullptr ? QString() : item->text().trimmed();
}

void SetCell(QTableWidget& table, int row, int column, const QString& text, bool editable = true) {
  auto* item = new QTableWidgetItem(text);
  if (!editable) item->setFlags(item->flags() & ~Qt::ItemIsEditable);
  table.setItem(row, column, item);
}

// A pendant's row in the window's table and in the summary. A refused pendant was not counted:
// its place goes to the next one, so it has no number of its own.
QStringList UnitCells(const SeriesUnit& unit) {
  return {unit.result == SeriesUnit::Result::Refused ? QString() : QString::number(unit.number),
          unit.code.isEmpty() ? unit.identifiedCode : unit.code, AssignmentText(unit.assignment),
          SeriesResultText(unit.result), unit.finding.section(u'\n', 0, 2).simplified()};
}

}  // namespace

SeriesController::SeriesController(TfrmMain& window, QMenu& commMenu, OperationGuard& guard,
                                   OperationObserver& record, UserDialogs& dialogs)
    : QObject(&window),
      mnuCommSeries(new QAction(Text(Msg::MenuCommSeries), &window)),
      window_(window),
      guard_(guard),
      record_(record),
      dialogs_(dialogs),
      choosePrinter_(ChooseWithPrintDialog) {
  mnuCommSeries->setObjectName(QStringLiteral("mnuCommSeries"));
  commMenu.addAction(mnuCommSeries);
  connect(mnuCommSeries, &QAction::triggered, this, &SeriesController::mnuCommSeriesClick);
  connect(&pollTimer_, &QTimer::timeout, this, [this] {
    if (run_) run_->Operations().PollOpuInfo();
  });
}

SeriesController::~SeriesController() {
  delete frmSeries_;
}

TfrmSeries& SeriesController::Window() {
  if (frmSeries_ != nullptr) return *frmSeries_;
  // A window of its own beside the main window, so that it can stay open while the technician
  // looks at the configuration. Made when first asked for: most starts never open it.
  frmSeries_ = new TfrmSeries(nullptr);
  TfrmSeries& w = *frmSeries_;
  const std::pair<QPushButton*, void (SeriesController::*)()> clicks[] = {
      {w.btnChooseFile, &SeriesController::btnChooseFileClick},
      {w.btnListOpen, &SeriesController::btnListOpenClick},
      {w.btnListSave, &SeriesController::btnListSaveClick},
      {w.btnListAdd, &SeriesController::btnListAddClick},
      {w.btnListRemove, &SeriesController::btnListRemoveClick},
      {w.btnStart, &SeriesController::btnStartClick},
      {w.btnStop, &SeriesController::btnStopClick},
      {w.btnPrintSummary, &SeriesController::btnPrintSummaryClick},
      {w.btnSaveSummaryPdf, &SeriesController::btnSaveSummaryPdfClick},
      {w.btnShowInRecord, &SeriesController::btnShowInRecordClick}};
  for (const auto& [button, handler] : clicks)
    connect(button, &QPushButton::clicked, this, handler);
  connect(w.tblList, &QTableWidget::itemChanged, this, [this] { ShowListState(); });
  for (QPushButton* button : {w.btnPrintSummary, w.btnSaveSummaryPdf, w.btnShowInRecord})
    button->setEnabled(false);
  return w;
}

void SeriesController::mnuCommSeriesClick() {
  ShowListState();
  if (!Window().isVisible()) Window().FitToScreen();
  Window().show();
  Window().raise();
}

void SeriesController::btnChooseFileClick() {
  const QString chosen = dialogs_.AskOpenFileName(
      &Window(), FileDialogRequest{Text(Msg::SeriesTitle), Text(Msg::SeriesConfigurationFileFilter),
                                   QStringLiteral("*.ukova"), QString(), window_.DefaultFolder});
  if (chosen.isEmpty()) return;
  Window().edtConfigurationFile->setText(chosen);
  Window().rbFileConfiguration->setChecked(true);
}

std::optional<ImageBytes> SeriesController::ChosenConfiguration() {
  if (Window().rbFileConfiguration->isChecked()) {
    const QString path = Window().edtConfigurationFile->text();
    ImageBytes bytes{};
    if (!ReadImageFile(path, bytes)) {
      dialogs_.ShowError(&Window(), FormatText(Msg::SeriesConfigurationNotRead, {path}));
      return std::nullopt;
    }
    return bytes;
  }
  // The window's fields as a write would build them.
  if (const std::optional<Msg::Id> refusal = window_.Document().UntypedRefusal()) {
    dialogs_.ShowError(&Window(), FormatText(Msg::SeriesConfigurationRefused, {Text(*refusal)}));
    return std::nullopt;
  }
  ParameterImage image{};
  const int built = window_.Document().Build(image, OriginWrite);
  if (built != ImageOk) {
    dialogs_.ShowError(&Window(),
                       FormatText(Msg::ConversionFailedAtAddress, {QString::number(built)}));
    return std::nullopt;
  }
  return VembaData::ExtractImageBytes(image);
}

// --- The assignment list ------------------------------------------------------------------

std::vector<Assignment> SeriesController::ListEntries() const {
  std::vector<Assignment> entries;
  if (frmSeries_ == nullptr) return {};
  const QTableWidget& table = *frmSeries_->tblList;
  for (int row = 0; row < table.rowCount(); ++row) {
    const Assignment entry{CellText(table, row, CodeColumn), CellText(table, row, FacilityColumn),
                           CellText(table, row, RoomColumn), CellText(table, row, NoteColumn)};
    if (!entry.code.isEmpty() || !entry.facility.isEmpty() || !entry.room.isEmpty())
      entries.push_back(entry);
  }
  return entries;
}

void SeriesController::ShowList(const std::vector<Assignment>& entries) {
  QTableWidget& table = *Window().tblList;
  const QSignalBlocker quiet(&table);
  table.setRowCount(0);
  for (const Assignment& entry : entries) {
    const int row = table.rowCount();
    table.insertRow(row);
    SetCell(table, row, CodeColumn, entry.code);
    SetCell(table, row, FacilityColumn, entry.facility);
    SetCell(table, row, RoomColumn, entry.room);
    SetCell(table, row, NoteColumn, entry.note);
  }
  ShowListState();
}

// Each line's state: done in this series, or the reason it will be passed over; and the entry
// the next pendant gets.
void SeriesController::ShowListState() {
  QTableWidget& table = *Window().tblList;
  const QSignalBlocker quiet(&table);
  SeriesCodePlan plan = plan_ && plan_->PlanKind() == SeriesCodePlan::Kind::List
                            ? *plan_
                            : SeriesCodePlan::List(ListEntries());
  plan.SetRecordCodes(CodesGivenInRecord(window_.DataFolder));
  int entry = 0;
  for (int row = 0; row < table.rowCount(); ++row) {
    if (CellText(table, row, CodeColumn).isEmpty() &&
        CellText(table, row, FacilityColumn).isEmpty() &&
        CellText(table, row, RoomColumn).isEmpty())
      continue;
    const QString code = CellText(table, row, CodeColumn);
    QString state;
    if (plan.Done(entry)) {
      state = Text(Msg::SeriesEntryDone);
    } else if (const CodeRefusal reason = plan.RefusalOf(code, entry);
               reason != CodeRefusal::None) {
      state = FormatText(CodeRefusalMessage(reason), {code});
    }
    SetCell(table, row, StateColumn, state, false);
    ++entry;
  }
  TfrmSeries::FitColumns(table);
  const std::optional<PlannedCode> next = plan.Propose();
  Window().lblNextEntry->setText(
      next && next->assignment
          ? FormatText(Msg::SeriesNextEntry, {next->code + u' ' + AssignmentText(next->assignment)})
          : QString());
}

void SeriesController::btnListOpenClick() {
  const QString chosen = dialogs_.AskOpenFileName(
      &Window(),
      FileDialogRequest{Text(Msg::SeriesListOpen).remove(u'&'), Text(Msg::SeriesListFileFilter),
                        QStringLiteral("*.csv"), QString(), window_.DefaultFolder});
  if (chosen.isEmpty()) return;
  const std::optional<std::vector<Assignment>> entries = ReadAssignmentListFile(chosen);
  if (!entries) {
    dialogs_.ShowError(&Window(), FormatText(Msg::SeriesListNotRead, {chosen}));
    return;
  }
  plan_.reset();
  ShowList(*entries);
  Window().rbList->setChecked(true);
}

void SeriesController::btnListSaveClick() {
  const QString chosen = dialogs_.AskSaveFileName(
      &Window(),
      FileDialogRequest{Text(Msg::SeriesListSave).remove(u'&'), Text(Msg::SeriesListFileFilter),
                        QStringLiteral("*.csv"), QString(), window_.DefaultFolder});
  if (chosen.isEmpty()) return;
  const QString target =
      chosen.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive) ? chosen : chosen + ".csv";
  if (!WriteAssignmentListFile(target, ListEntries()))
    dialogs_.ShowError(&Window(), FormatText(Msg::SeriesListNotSaved, {target}));
}

void SeriesController::btnListAddClick() {
  QTableWidget& table = *Window().tblList;
  table.insertRow(table.rowCount());
  table.setCurrentCell(table.rowCount() - 1, CodeColumn);
  table.editItem(table.item(table.rowCount() - 1, CodeColumn));
  Window().rbList->setChecked(true);
}

void SeriesController::btnListRemoveClick() {
  QTableWidget& table = *Window().tblList;
  if (table.currentRow() >= 0) table.removeRow(table.currentRow());
  ShowListState();
}

std::optional<SeriesCodePlan> SeriesController::ChosenPlan() {
  std::optional<SeriesCodePlan> plan;
  if (Window().rbKeepCodes->isChecked()) {
    plan = SeriesCodePlan::Keep();
  } else if (Window().rbSequence->isChecked()) {
    const QString start = RadioCodeOf(Window().edtSequenceStart->text());
    if (start.isEmpty()) {
      dialogs_.ShowError(&Window(), Text(Msg::SeriesSequenceInvalid));
      return std::nullopt;
    }
    plan = SeriesCodePlan::Sequence({start.toInt(nullptr, 16), Window().spnStep->value()});
  } else {
    plan = SeriesCodePlan::List(ListEntries());
  }
  plan->SetRecordCodes(CodesGivenInRecord(window_.DataFolder));
  return plan;
}

// --- The series ---------------------------------------------------------------------------

void SeriesController::btnStartClick() {
  const std::optional<ImageBytes> configuration = ChosenConfiguration();
  if (!configuration) return;
  std::optional<SeriesCodePlan> plan = ChosenPlan();
  if (!plan) return;
  if (!ConfirmSeriesStart(*configuration, window_.Document().Context(), *this)) return;
  guard_.Run([&] { RunSeries(*configuration, std::move(*plan)); });
}

void SeriesController::RunSeries(const ImageBytes& configuration, SeriesCodePlan plan) {
  TfrmSeries& w = Window();
  configuration_ = configuration;
  plan_ = std::make_unique<SeriesCodePlan>(std::move(plan));
  startedAt_ = QDateTime::currentDateTime();
  stopRequested_ = false;
  w.tblUnits->setRowCount(0);
  w.ShowResultLine(QString(), true);
  w.lblSummary->clear();
  w.btnStart->setEnabled(false);
  w.btnStop->setEnabled(true);
  const SeriesSetup setup{configuration, w.spnExpected->value(), NewSeriesId(startedAt_),
                          window_.Document().Context()};
  run_ = std::make_unique<SeriesRun>(setup, *plan_, *this, window_.link, *this);
  run_->Operations().AttachWaitingPrompt(window_.Operations().Prompt());
  run_->SetRecordObserver(&record_);
  auto* prompt = dynamic_cast<QWidget*>(window_.Operations().Prompt());
  if (prompt != nullptr) prompt->installEventFilter(this);
  run_->Run();
  if (prompt != nullptr) prompt->removeEventFilter(this);
  endedAt_ = QDateTime::currentDateTime();
  w.btnStart->setEnabled(true);
  w.btnStop->setEnabled(false);
  ShowSummary();
}

bool SeriesController::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Show) {
    // The prompt centres itself as it shows; it is moved once it has.
    QTimer::singleShot(0, this,
                       [this, prompt = QPointer<QWidget>(qobject_cast<QWidget*>(watched))] {
                         if (prompt) Window().PlaceBelowRunningLines(*prompt);
                       });
  }
  return QObject::eventFilter(watched, event);
}

void SeriesController::Tell(const OperationMessage& message) {
  if (!ShowOperationMessageBox(dialogs_, &Window(), message)) SetStatusText(message.Text());
}

Answer SeriesController::Ask(const OperationQuestion& question) {
  return AskInBox(dialogs_, &Window(), question);
}

void SeriesController::btnStopClick() {
  stopRequested_ = true;
}

// The counter names the pendant being worked on; once its pass/fail line stands, which ends
// with the counter, the counter gives way, so that no count is shown twice.
void SeriesController::UnitStarting(int number, int expected, const PlannedCode& planned) {
  TfrmSeries& w = Window();
  expected_ = expected;
  productType_.clear();
  planned_ = planned;
  w.lblCounter->setText(
      FormatText(Msg::SeriesCounter, {QString::number(number), QString::number(expected)}));
  w.lblPendant->setText(NextPendantText(planned));
  // The line of the pendant before must not stand beside the next one while it is programmed.
  w.ShowResultLine(QString(), true);
}

// The pendant in hand with the code it answered with and, while it is written and checked, the
// code it is being given, which it carries as soon as the write is through.
void SeriesController::PendantIdentified(const QString& code, const QString& productType) {
  productType_ = productType;
  Window().lblPendant->setText(
      planned_.code.isEmpty() || planned_.code == code
          ? FormatText(Msg::SeriesPendantIdentified, {code, productType})
          : FormatText(Msg::SeriesPendantGetsCode, {code, productType, PlannedCodeText(planned_)}));
}

// The pendant in hand as it now is: the code its write left on it, not the one it answered
// with; nothing when no code is known (its check after writing did not reach it).
void SeriesController::ShowUnitResult(const SeriesUnit& unit) {
  TfrmSeries& w = Window();
  w.ShowResultLine(SeriesUnitLine(unit, expected_), unit.result == SeriesUnit::Result::Passed);
  w.lblCounter->clear();
  w.lblPendant->setText(unit.code.isEmpty()
                            ? QString()
                            : FormatText(Msg::SeriesPendantIdentified, {unit.code, productType_}));
}

void SeriesController::UnitFinished(const SeriesUnit& unit, int expected) {
  TfrmSeries& w = Window();
  expected_ = expected;
  ShowUnitResult(unit);
  const int row = w.tblUnits->rowCount();
  w.tblUnits->insertRow(row);
  const QStringList cells = UnitCells(unit);
  for (int column = 0; column < cells.size(); ++column)
    SetCell(*w.tblUnits, row, column, cells[column], false);
  TfrmSeries::FitColumns(*w.tblUnits);
  w.tblUnits->scrollToBottom();
  ShowListState();
}

void SeriesController::CodesPassedOver(const std::vector<RefusedCode>& refused) {
  QStringList reasons;
  for (const RefusedCode& code : refused)
    reasons << FormatText(CodeRefusalMessage(code.reason), {code.code});
  reasons.removeDuplicates();
  SetStatusText(reasons.join(u' '));
}

void SeriesController::SetStatusText(const QString& text) {
  Window().lblStatus->setText(text);
}

FailedUnitChoice SeriesController::AfterFailure(const SeriesUnit& unit) {
  ShowUnitResult(unit);
  const QString code = unit.code.isEmpty() ? unit.identifiedCode : unit.code;
  const ModalResult answer = dialogs_.ShowInformation(
      &Window(), FormatText(Msg::SeriesAfterFailure, {code, unit.finding}), BoxButtons::YesNoAbort);
  if (answer == mrYes) return FailedUnitChoice::Repeat;
  if (answer == mrNo) return FailedUnitChoice::Skip;
  return FailedUnitChoice::StopSeries;
}

// --- The summary --------------------------------------------------------------------------

void SeriesController::ShowSummary() {
  TfrmSeries& w = Window();
  // The last pendant is named on its pass/fail line; the large line above must not be taken for
  // a pendant still in hand.
  w.lblPendant->setText(Text(Msg::SeriesFinished));
  w.lblCounter->clear();
  QString text = SeriesCountsText(run_->Counts());
  if (run_->StoppedEarly()) text += u'\n' + Text(Msg::SeriesStoppedEarly);
  w.lblSummary->setText(text);
  for (QPushButton* button : {w.btnPrintSummary, w.btnSaveSummaryPdf, w.btnShowInRecord})
    button->setEnabled(true);
}

SeriesSummaryContent SeriesController::Summary() const {
  SeriesSummaryContent summary;
  summary.title = Text(Msg::SeriesSummaryTitle);
  if (!run_) return summary;
  summary.lines = {
      FormatText(Msg::SeriesSummaryId, {run_->Setup().seriesId}),
      FormatText(Msg::SeriesSummaryTime, {SheetTimeText(startedAt_), SheetTimeText(endedAt_)}),
      SeriesCountsText(run_->Counts())};
  if (run_->StoppedEarly()) summary.lines << Text(Msg::SeriesStoppedEarly);
  for (const Msg::Id head :
       {Msg::SeriesColumnNumber, Msg::SeriesColumnCode, Msg::RecordColumnAssignment,
        Msg::SeriesColumnResult, Msg::SeriesColumnFinding})
    summary.heads << Text(head);
  for (const SeriesUnit& unit : run_->Units()) summary.rows.push_back(UnitCells(unit));
  return summary;
}

SheetContent SeriesController::Sheet() const {
  const std::vector<SheetRow> header = {
      {Text(Msg::SeriesSummaryId).section(u':', 0, 0), run_ ? run_->Setup().seriesId : QString()},
      {Text(Msg::SheetCreatedAt), SheetTimeText(QDateTime::currentDateTime())},
      {Text(Msg::SheetCreatedWith),
       FormatText(Msg::ProgramAndVersion, {Text(Msg::ProgramTitle), GetProgramVersion()})}};
  return SheetOfImage(configuration_, window_.Document().Context(), Text(Msg::SheetTitle), header);
}

void SeriesController::btnPrintSummaryClick() {
  QPrinter printer(QPrinter::HighResolution);
  // The margins of the PDF: a printer's own would put the sheet at the paper's edge.
  printer.setPageLayout(SheetPageLayout());
  printer.setDocName(Text(Msg::SeriesSummaryTitle));
  if (!choosePrinter_(printer, &Window())) return;
  QPainter painter;
  if (!painter.begin(&printer)) {
    dialogs_.ShowError(&Window(), Text(Msg::SheetNotPrinted));
    return;
  }
  PaintConfigurationSheet(painter, printer, Sheet());
  printer.newPage();
  PaintSeriesSummary(painter, printer, Summary(), [&printer] { printer.newPage(); });
  painter.end();
  SetStatusText(Text(Msg::SeriesSummaryPrinted));
}

void SeriesController::btnSaveSummaryPdfClick() {
  const QString target = AskSavePath(
      dialogs_, &Window(),
      FileDialogRequest{Text(Msg::SavePdfTitle), Text(Msg::PdfFileFilter), QStringLiteral("*.pdf"),
                        run_->Setup().seriesId, window_.DefaultFolder},
      QStringLiteral(".pdf"));
  if (target.isEmpty()) return;
  QString error;
  if (!WriteSeriesSummaryPdf(target, Sheet(), Summary(), error)) {
    dialogs_.ShowError(&Window(), FormatText(Msg::SheetNotSaved, {error}));
    return;
  }
  SetStatusText(FormatText(Msg::SeriesSummarySaved, {QFileInfo(target).fileName()}));
}

void SeriesController::btnShowInRecordClick() {
  window_.ShowRecord(&Window());
}
