#pragma once

#include "files/SeriesSummary.h"
#include "image/SeriesPlan.h"
#include "link/OperationFrontEnd.h"
#include "link/SeriesRun.h"

#include <QDateTime>
#include <QObject>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>

class OperationGuard;
class OperationObserver;
class QAction;
class QMenu;
class QPrinter;
class TfrmMain;
class TfrmSeries;
class UserDialogs;

// Kommunikation › Serie programmieren…: one configuration to many pendants, each with its code
// from the plan, read back and compared, counted and summed up (link/SeriesRun.h). The series
// runs with the window's link and waiting prompt, and its record lines go where the window's go.
class SeriesController : public QObject, public SeriesFrontEnd, public PollTimer {
 public:
  SeriesController(TfrmMain& window, QMenu& commMenu, OperationGuard& guard,
                   OperationObserver& record, UserDialogs& dialogs);
  ~SeriesController() override;

  // Tests choose the printer without the print dialog.
  void SetPrinterChooser(std::function<bool(QPrinter&, QWidget*)> choose) {
    choosePrinter_ = std::move(choose);
  }
  [[nodiscard]] const SeriesRun* LastRun() const { return run_.get(); }
  [[nodiscard]] SeriesSummaryContent Summary() const;
  [[nodiscard]] SheetContent Sheet() const;
  // The assignment list the series window holds, opened or typed; empty before there is one.
  [[nodiscard]] std::vector<Assignment> ListEntries() const;

  QAction* mnuCommSeries;
  // The series window, made the first time it is needed.
  [[nodiscard]] TfrmSeries& Window();

  void mnuCommSeriesClick();
  void btnChooseFileClick();
  void btnListOpenClick();
  void btnListSaveClick();
  void btnListAddClick();
  void btnListRemoveClick();
  void btnStartClick();
  void btnStopClick();
  void btnPrintSummaryClick();
  void btnSaveSummaryPdfClick();
  void btnShowInRecordClick();

 private:
  // SeriesFrontEnd
  void UnitStarting(int number, int expected, const PlannedCode& planned) override;
  void PendantIdentified(const QString& code, const QString& productType) override;
  void UnitFinished(const SeriesUnit& unit, int expected) override;
  void CodesPassedOver(const std::vector<RefusedCode>& refused) override;
  void SetStatusText(const QString& text) override;
  void PendantCodeKnown(const QString& /*code*/) override {}
  // In boxes over the series window.
  void Tell(const OperationMessage& message) override;
  Answer Ask(const OperationQuestion& question) override;
  FailedUnitChoice AfterFailure(const SeriesUnit& unit) override;
  bool StopRequested() override { return stopRequested_; }
  // The waiting prompt, watched while the series runs: it is placed as it shows.
  bool eventFilter(QObject* watched, QEvent* event) override;
  // PollTimer
  void StartPollTimer(int intervalMs) override { pollTimer_.start(intervalMs); }
  void StopPollTimer() override { pollTimer_.stop(); }

  [[nodiscard]] std::optional<ImageBytes> ChosenConfiguration();
  [[nodiscard]] std::optional<SeriesCodePlan> ChosenPlan();
  void ShowList(const std::vector<Assignment>& entries);
  void ShowListState();
  void RunSeries(const ImageBytes& configuration, SeriesCodePlan plan);
  void ShowUnitResult(const SeriesUnit& unit);
  void ShowSummary();

  TfrmMain& window_;
  OperationGuard& guard_;
  OperationObserver& record_;
  UserDialogs& dialogs_;
  QTimer pollTimer_;
  std::unique_ptr<SeriesCodePlan> plan_;
  std::unique_ptr<SeriesRun> run_;
  ImageBytes configuration_{};
  QDateTime startedAt_;
  QDateTime endedAt_;
  bool stopRequested_ = false;
  int expected_ = 0;
  QString productType_;  // of the pendant in hand
  PlannedCode planned_;  // what the pendant in hand is given
  std::function<bool(QPrinter&, QWidget*)> choosePrinter_;
  TfrmSeries* frmSeries_ = nullptr;
};
