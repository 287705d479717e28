#include "link/WriteCheck.h"

#include "image/ImageComparison.h"
#include "image/Texts.h"

#include <vector>

namespace {

OperationMessage ReadBackFailure(std::optional<ModalResult> readResult, const QString& code) {
  switch (readResult.value_or(mrNone)) {
    case mrAbort:
      return {Msg::VerifyCancelled, {}, true};
    case mrCancel:
      return {Msg::VerifyFailed, {Text(Msg::ReadFailed)}, false};
    case mrIgnore:
      return {Msg::VerifyFailed, {Text(Msg::WaitTimedOut)}, false};
    case mrLineLost:
      return {Msg::VerifyFailed, {Text(Msg::OpuNotReachable)}, false};
    default:
      // The OPU reaches a transmitter by its code: one that did not take the job does not
      // answer to it.
      return {Msg::VerifyPendantSilent, {code}, false};
  }
}

}  // namespace

std::optional<OperationMessage> WriteCheckMessage(std::optional<ModalResult> readResult,
                                                  const QString& code, const ParameterImage* sent,
                                                  const ParameterImage& readBack,
                                                  const CodecContext& context) {
  if (readResult != mrOk) return ReadBackFailure(readResult, code);
  if (sent == nullptr) return std::nullopt;
  const std::vector<ComparedField> unkept = FieldsNotKept(*sent, readBack, context, Text);
  if (unkept.empty()) return std::nullopt;
  return OperationMessage{Msg::VerifyFoundDifferences,
                          {UnkeptFieldLines(unkept, context.limitMode, FormatText)},
                          false};
}
