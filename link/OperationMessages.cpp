#include "link/OperationMessages.h"

#include "image/Texts.h"
#include "link/ConnectionVerdicts.h"
#include "link/opu/ConnectionProbes.h"

#include <algorithm>
#include <iterator>

std::optional<OperationMessage> JobEndMessage(OperationKind kind, ModalResult result) {
  const bool read = kind == OperationKind::Read;
  switch (result) {
    case mrCancel:
      return OperationMessage{read ? Msg::ReadFailed : Msg::WriteFailed, {}, false};
    case mrAbort:
      return OperationMessage{read ? Msg::ReadCancelled : Msg::WriteCancelled, {}, true};
    case mrIgnore:
      return OperationMessage{Msg::WaitTimedOut, {}, false};
    case mrLineLost:
      return OperationMessage{Msg::OpuNotReachable, {}, false};
    default:
      return std::nullopt;
  }
}

QString WriteReviewQuestion(const WriteReview& review, const QString& code,
                            InactivityLimitModeKind limitMode) {
  QStringList parts;
  if (!review.alarms.empty()) {
    parts << FormatText(
        review.known ? Msg::WriteReviewAlarms : Msg::WriteReviewAlarmsUnknown,
        {code, ComparedFieldLines(review.alarms, Msg::WriteReviewLine, limitMode, FormatText)});
  }
  // A field already named among the alarms is not named again among the changes.
  std::vector<ComparedField> others;
  std::copy_if(review.changes.begin(), review.changes.end(), std::back_inserter(others),
               [&review](const ComparedField& change) {
                 return std::none_of(
                     review.alarms.begin(), review.alarms.end(),
                     [&change](const ComparedField& alarm) { return alarm.field == change.field; });
               });
  if (!others.empty()) {
    parts << FormatText(
        review.alarms.empty() ? Msg::WriteReviewChanges : Msg::WriteReviewOtherChanges,
        {code, ComparedFieldLines(others, Msg::WriteReviewLine, limitMode, FormatText)});
  }
  parts << Text(review.alarms.empty() ? Msg::WriteReviewAskChanges : Msg::WriteReviewAsk);
  return parts.join(u'\n');
}

QString OpenFailureText(const PortOpening& opening) {
  const OpenFailure::Kind kind = opening.failure.kind;
  if (kind == OpenFailure::None || kind == OpenFailure::NotFound || opening.port.isEmpty())
    return QString();
  return PortOpeningVerdict(opening).text;
}

QString OperationMessage::Text() const {
  return FormatText(number, arguments);
}
