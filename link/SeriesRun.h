#pragma once

#include "image/ImageCodec.h"
#include "image/OperationOutcome.h"
#include "image/SeriesPlan.h"
#include "image/VembaData.h"
#include "link/OperationFrontEnd.h"
#include "link/OperationRecord.h"
#include "link/TransmitterOperations.h"

#include <QString>

#include <optional>
#include <vector>

// Series programming: one configuration to many pendants, each with its code from the plan, each
// written with the same operations as a single write and always read back and compared.

// How one pendant of the series ended.
struct SeriesUnit {
  enum class Result { Passed, Failed, Skipped, Refused };

  int number = 0;  // its place among the counted pendants, from 1; a refused one the place it was
                   // tried for, which the next pendant takes
  QString identifiedCode;  // the code it answered with
  QString code;            // the code it carries afterwards
  std::optional<Assignment> assignment;
  Result result = Result::Failed;
  QString finding;        // the message it ended with; empty when it passed
  int findingNumber = 0;  // that message's number
  int attempts = 1;
};

struct SeriesCounts {
  int passed = 0;
  int failed = 0;
  int skipped = 0;
  int refused = 0;
  int expected = 0;
};

// What the series does after a pendant failed.
enum class FailedUnitChoice { Repeat, Skip, StopSeries };

// The window or the console that shows the series; it also shows what each pendant's operations
// report.
class SeriesFrontEnd : public OperationFrontEnd {
 public:
  virtual void UnitStarting(int number, int expected, const PlannedCode& planned) = 0;
  virtual void PendantIdentified(const QString& code, const QString& productType) = 0;
  virtual void UnitFinished(const SeriesUnit& unit, int expected) = 0;
  // Codes of the plan passed over on the way to the next one, with their reasons.
  virtual void CodesPassedOver(const std::vector<RefusedCode>& refused) = 0;
  [[nodiscard]] virtual FailedUnitChoice AfterFailure(const SeriesUnit& unit) = 0;
  // "Serie beenden": the series stops after the pendant being programmed.
  [[nodiscard]] virtual bool StopRequested() = 0;

 protected:
  ~SeriesFrontEnd() = default;
};

struct SeriesSetup {
  ImageBytes configuration{};
  int expected = 0;
  QString seriesId;
  CodecContext context;
};

// Whether a series may start with `configuration`: a field that breaks its rule refuses the start
// with its message; the 12-measurement warning and the question before a write that switches
// alarms off are asked once, for the whole series.
[[nodiscard]] bool ConfirmSeriesStart(const ImageBytes& configuration, const CodecContext& context,
                                      OperationFrontEnd& frontEnd);

// A series' identifier from its start time ("S20261208-1025").
[[nodiscard]] QString NewSeriesId(const QDateTime& start);

// The assignment as the record line and the summary name it.
[[nodiscard]] QString AssignmentText(const std::optional<Assignment>& assignment);
[[nodiscard]] QString SeriesResultText(SeriesUnit::Result result);
// The planned code with its assignment ("7104 Haus Linde / Zi 4"); empty when the pendant keeps
// its code.
[[nodiscard]] QString PlannedCodeText(const PlannedCode& planned);
// What the next pendant is given: its planned code and assignment, or that it keeps its code.
[[nodiscard]] QString NextPendantText(const PlannedCode& planned);
// The large line after each pendant: passed or failed, code, what differed, "7 von 12".
[[nodiscard]] QString SeriesUnitLine(const SeriesUnit& unit, int expected);
[[nodiscard]] QString SeriesCountsText(const SeriesCounts& counts);

// Runs the series pendant by pendant until the expected number is counted, the plan has no code
// left, or the front end stops it. The front end's poll timer must call Operations().PollOpuInfo
// on each tick, and its waiting prompt be attached to Operations().
class SeriesRun final : private OperationObserver {
 public:
  SeriesRun(const SeriesSetup& setup, SeriesCodePlan& plan, SeriesFrontEnd& frontEnd, OpuLink& link,
            PollTimer& pollTimer);

  [[nodiscard]] TransmitterOperations& Operations() { return operations_; }
  // The programming record: told of every operation, with the series and the assignment.
  void SetRecordObserver(OperationObserver* observer) { recordObserver_ = observer; }

  void Run();

  [[nodiscard]] const std::vector<SeriesUnit>& Units() const { return units_; }
  [[nodiscard]] SeriesCounts Counts() const;
  [[nodiscard]] bool StoppedEarly() const;
  [[nodiscard]] bool PlanExhausted() const { return planExhausted_; }
  [[nodiscard]] const SeriesSetup& Setup() const { return setup_; }

 private:
  [[nodiscard]] int Counted() const;
  // One attempt at the pendant in the OPU's reach with `planned`.
  [[nodiscard]] SeriesUnit ProgramUnit(const PlannedCode& planned, int number);
  [[nodiscard]] CodeChangeAnswer AnswerCodeChange(const QString& identified,
                                                  const QString& newCode);

  // The write of the series' configuration with the planned code, its questions answered once
  // before the series started (ConfirmSeriesStart).
  [[nodiscard]] WriteRequest UnitWrite(const PlannedCode& planned) const;

  // OperationObserver: the outcomes of the pendant being programmed.
  void OperationFinished(const OperationOutcome& outcome) override;

  SeriesSetup setup_;
  SeriesCodePlan& plan_;
  SeriesFrontEnd& frontEnd_;
  TransmitterOperations operations_;
  OperationObserver* recordObserver_ = nullptr;
  std::vector<SeriesUnit> units_;
  PlannedCode planned_;
  QString repeatedCode_;  // the code a failed attempt left on the pendant being repeated
  bool refusedPendant_ = false;
  bool stopped_ = false;
  bool planExhausted_ = false;
  std::vector<OperationOutcome> outcomes_;
};
