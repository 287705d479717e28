#include "link/SeriesRun.h"

#include "image/Texts.h"
#include "image/WriteReview.h"
#include "link/OperationMessages.h"

#include <QDateTime>

#include <algorithm>

namespace {

const OperationOutcome* LastOf(const std::vector<OperationOutcome>& outcomes, OperationKind kind) {
  const auto found = std::find_if(outcomes.rbegin(), outcomes.rend(),
                                  [kind](const OperationOutcome& o) { return o.kind == kind; });
  return found == outcomes.rend() ? nullptr : &*found;
}

void NoteFinding(SeriesUnit& unit, const OperationOutcome* outcome) {
  if (outcome == nullptr) return;
  unit.finding = outcome->resultText;
  unit.findingNumber = outcome->resultNumber;
}

}  // namespace

bool ConfirmSeriesStart(const ImageBytes& configuration, const CodecContext& context,
                        OperationFrontEnd& frontEnd) {
  const SeriesConfigurationCheck check = CheckSeriesConfiguration(configuration, context);
  if (check.ruleBreak) {
    // The rule's message names its bounds with placeholders the series has no values for.
    frontEnd.Tell(OperationMessage{
        Msg::SeriesConfigurationRefused,
        {Text(*check.ruleBreak).replace(QStringLiteral("%s"), QStringLiteral("…"))}});
    return false;
  }
  ParameterImage outgoing{};
  VembaData::LoadImageBytes(outgoing, configuration, OriginWrite);
  const std::optional<OperationQuestion> fewMeasurements =
      FewMeasurementsQuestion(outgoing, context);
  if (fewMeasurements && frontEnd.Ask(*fewMeasurements) != Answer::Yes) return false;
  // The question a single write asks when it knows nothing of the pendant, asked once for all.
  const WriteReview review = ReviewWrite(std::nullopt, outgoing, context, Text, {});
  return !review.NeedsQuestion() ||
         frontEnd.Ask({OperationQuestion::Kind::WriteReview,
                       WriteReviewQuestion(review, Text(Msg::SeriesTitle), context.limitMode),
                       review}) == Answer::Yes;
}

QString NewSeriesId(const QDateTime& start) {
  return start.toString(QStringLiteral("'S'yyyyMMdd-HHmmss"));
}

QString AssignmentText(const std::optional<Assignment>& assignment) {
  if (!assignment) return {};
  QStringList parts;
  for (const QString& part : {assignment->facility, assignment->room, assignment->note}) {
    if (!part.isEmpty()) parts << part;
  }
  return parts.join(QStringLiteral(" / "));
}

QString SeriesResultText(SeriesUnit::Result result) {
  switch (result) {
    case SeriesUnit::Result::Passed:
      return Text(Msg::SeriesResultPassed);
    case SeriesUnit::Result::Failed:
      return Text(Msg::SeriesResultFailed);
    case SeriesUnit::Result::Skipped:
      return Text(Msg::SeriesResultSkipped);
    case SeriesUnit::Result::Refused:
      return Text(Msg::SeriesResultRefused);
  }
  return {};
}

QString PlannedCodeText(const PlannedCode& planned) {
  const QString assignment = AssignmentText(planned.assignment);
  return planned.code.isEmpty() || assignment.isEmpty() ? planned.code
                                                        : planned.code + u' ' + assignment;
}

QString NextPendantText(const PlannedCode& planned) {
  return FormatText(Msg::SeriesUnitNextCode, {planned.code.isEmpty() ? Text(Msg::SeriesCodeKept)
                                                                     : PlannedCodeText(planned)});
}

QString SeriesUnitLine(const SeriesUnit& unit, int expected) {
  const QString counter =
      FormatText(Msg::SeriesCounter, {QString::number(unit.number), QString::number(expected)});
  const QString code = unit.code.isEmpty() ? unit.identifiedCode : unit.code;
  if (unit.result == SeriesUnit::Result::Passed)
    return FormatText(Msg::SeriesUnitPassed, {code, counter});
  // The finding's first lines name what differed; the rest asks to contact the maker.
  const QString finding = unit.finding.section(u'\n', 0, 2).simplified();
  // Nothing was written to a refused pendant: it is not a failed one.
  return FormatText(
      unit.result == SeriesUnit::Result::Refused ? Msg::SeriesUnitRefused : Msg::SeriesUnitFailed,
      {code, finding, counter});
}

QString SeriesCountsText(const SeriesCounts& counts) {
  return FormatText(Msg::SeriesSummaryCounts,
                    {QString::number(counts.passed), QString::number(counts.failed),
                     QString::number(counts.skipped), QString::number(counts.expected)});
}

SeriesRun::SeriesRun(const SeriesSetup& setup, SeriesCodePlan& plan, SeriesFrontEnd& frontEnd,
                     OpuLink& link, PollTimer& pollTimer)
    : setup_(setup), plan_(plan), frontEnd_(frontEnd), operations_(link, frontEnd, pollTimer) {
  operations_.SetObserver(this);
  // Every pendant of a series is read back and compared, whatever the window's option says.
  operations_.SetVerifyAfterWrite(true);
  operations_.SetStopOnOtherProduct(true);
  operations_.SetCodeChangeAnswerer([this](const QString& identified, const QString& newCode) {
    return AnswerCodeChange(identified, newCode);
  });
}

SeriesCounts SeriesRun::Counts() const {
  SeriesCounts counts;
  counts.expected = setup_.expected;
  for (const SeriesUnit& unit : units_) {
    switch (unit.result) {
      case SeriesUnit::Result::Passed:
        ++counts.passed;
        break;
      case SeriesUnit::Result::Failed:
        ++counts.failed;
        break;
      case SeriesUnit::Result::Skipped:
        ++counts.skipped;
        break;
      case SeriesUnit::Result::Refused:
        ++counts.refused;
        break;
    }
  }
  return counts;
}

int SeriesRun::Counted() const {
  const SeriesCounts counts = Counts();
  return counts.passed + counts.failed + counts.skipped;
}

bool SeriesRun::StoppedEarly() const {
  return Counted() < setup_.expected;
}

void SeriesRun::Run() {
  while (!stopped_ && Counted() < setup_.expected && !frontEnd_.StopRequested()) {
    std::vector<RefusedCode> passedOver;
    const std::optional<PlannedCode> planned = plan_.Propose(&passedOver);
    if (!passedOver.empty()) frontEnd_.CodesPassedOver(passedOver);
    if (!planned) {
      planExhausted_ = true;
      frontEnd_.SetStatusText(Text(Msg::SeriesNoCodeLeft));
      break;
    }
    const int number = Counted() + 1;
    frontEnd_.UnitStarting(number, setup_.expected, *planned);
    repeatedCode_.clear();
    SeriesUnit unit = ProgramUnit(*planned, number);
    while (unit.result == SeriesUnit::Result::Failed) {
      const FailedUnitChoice choice = frontEnd_.AfterFailure(unit);
      if (choice == FailedUnitChoice::StopSeries) {
        stopped_ = true;
        break;
      }
      if (choice == FailedUnitChoice::Skip) {
        unit.result = SeriesUnit::Result::Skipped;
        break;
      }
      const int attempts = unit.attempts + 1;
      frontEnd_.UnitStarting(number, setup_.expected, *planned);
      unit = ProgramUnit(*planned, number);
      unit.attempts = attempts;
    }
    units_.push_back(unit);
    frontEnd_.UnitFinished(unit, setup_.expected);
  }
}

SeriesUnit SeriesRun::ProgramUnit(const PlannedCode& planned, int number) {
  planned_ = planned;
  outcomes_.clear();
  refusedPendant_ = false;
  operations_.ForgetRadioCode();
  operations_.Write(UnitWrite(planned));

  SeriesUnit unit;
  unit.number = number;
  unit.assignment = planned.assignment;
  const OperationOutcome* write = LastOf(outcomes_, OperationKind::Write);
  const OperationOutcome* check = LastOf(outcomes_, OperationKind::Verify);
  if (write != nullptr) {
    unit.identifiedCode = write->codeBefore;
    unit.code = write->codeAfter;
  }
  if (refusedPendant_) {
    unit.result = SeriesUnit::Result::Refused;
    NoteFinding(unit, write);
    return unit;
  }
  // A write that went through left its code on the pendant, whatever the check finds: the check
  // runs only after the blocks were taken, and its failure is what the write's line then names.
  // When the check could not say which code the pendant answers to, the planned one counts as
  // given, so that no code can reach two pendants.
  if (write != nullptr && (write->resultNumber == 0 || check != nullptr)) {
    const QString carried = write->codeAfter.isEmpty() ? planned.code : write->codeAfter;
    if (!carried.isEmpty()) {
      plan_.NoteCarried(carried);
      repeatedCode_ = carried;
    }
  }
  if (check != nullptr && check->resultNumber == 0) {
    unit.result = SeriesUnit::Result::Passed;
    plan_.NotePassed(planned);
    return unit;
  }
  unit.result = SeriesUnit::Result::Failed;
  NoteFinding(unit, check != nullptr ? check : write);
  return unit;
}

CodeChangeAnswer SeriesRun::AnswerCodeChange(const QString& identified, const QString& newCode) {
  frontEnd_.PendantIdentified(identified, operations_.HeardProductType());
  // A pendant programmed a minute ago must not take a second code; the one being repeated
  // carries the code its failed attempt gave it.
  if (plan_.InSeries(identified) && identified != repeatedCode_) {
    refusedPendant_ = true;
    return {false, OperationMessage{Msg::SeriesPendantAlreadyInSeries, {identified}, false}};
  }
  return {!newCode.isEmpty() && newCode != identified, std::nullopt};
}

WriteRequest SeriesRun::UnitWrite(const PlannedCode& planned) const {
  WriteRequest request;
  VembaData::LoadImageBytes(request.image, setup_.configuration, OriginWrite);
  // A pendant that keeps its code is sent no code block: the bytes there are never written.
  if (!planned.code.isEmpty())
    VembaData::HexTextToBytes(planned.code, request.image[RadioCodeAddress].value,
                              request.image[RadioCodeAddress + 1].value);
  request.newCode = planned.code;
  request.context = setup_.context;
  request.confirmedInAdvance = true;
  return request;
}

void SeriesRun::OperationFinished(const OperationOutcome& outcome) {
  OperationOutcome stamped = outcome;
  stamped.series = setup_.seriesId;
  stamped.assignment = AssignmentText(planned_.assignment);
  // The list's line names for whom the unit was programmed.
  if (planned_.assignment) {
    stamped.site = planned_.assignment->facility;
    stamped.resident = planned_.assignment->room;
  }
  outcomes_.push_back(stamped);
  if (recordObserver_ != nullptr) recordObserver_->OperationFinished(stamped);
}
