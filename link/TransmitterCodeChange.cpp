// The radio-code change of the transmitter operations (link/TransmitterOperations.h).

#include "image/FieldRules.h"
#include "image/Texts.h"
#include "image/VembaData.h"
#include "link/TransferBlocks.h"
#include "link/TransmitterOperations.h"
#include "link/opu/OpuLink.h"

namespace {

ChangeResult ChangeResultOf(ModalResult dialogResult) {
  switch (dialogResult) {
    case mrOk:
      return ChangeDone;
    case mrCancel:
      return ChangeFailed;
    case mrIgnore:
      return ChangeTimedOut;
    case mrLineLost:
      return ChangeLinkLost;
    default:
      return ChangeNotDone;
  }
}

}  // namespace

// --- Radio code change ---------------------------------------------------------------------

ChangeResult TransmitterOperations::ChangeCode(const QString& typedCode) {
  // Pasted text passes the key filter; a code that is not hexadecimal never reaches the OPU.
  if (const std::optional<Msg::Id> refusal =
          NewRadioCodeRefusal(typedCode, NewCodeSender::CodeChange)) {
    frontEnd_.Tell(OperationMessage{*refusal, {}});
    return ChangeNotDone;
  }
  currentCode_.clear();
  wait_.Prompt()->SetTitle(Text(Msg::ChangeCodeTitle));
  record_.Begin(OperationKind::ChangeCode);
  // Named, compared and sent as the code block carries it.
  std::optional<OperationMessage> closing;
  const ChangeResult result = ChangeCodeOfIdentified(RadioCodeAsSent(typedCode), closing);
  record_.Finish();
  // Said once the record line stands, as the user reads the box only afterwards.
  if (closing) frontEnd_.Tell(*closing);
  return result;
}

ChangeResult TransmitterOperations::ChangeCodeOfIdentified(
    const QString& newCode, std::optional<OperationMessage>& closing) {
  // A failed identification has shown its own message.
  if (IdentifyTransmitter() == Identification::Abandoned)
    record_.NoteMessage(Msg::CodeReadCancelled, Text(Msg::CodeReadCancelled));
  if (currentCode_.isEmpty()) return ChangeNotDone;
  record_.NoteTransmitter(currentCode_);
  if (currentCode_ == newCode) {
    closing = OperationMessage{Msg::CodeChangeNotNeeded, {currentCode_}, false, true};
    record_.NoteMessage(closing->number, closing->Text());
    return ChangeNotDone;
  }
  if (Ask(OperationQuestion::Kind::CodeChange,
          FormatText(Msg::ConfirmCodeChange, {currentCode_, newCode})) == Answer::No) {
    record_.NoteMessage(Msg::CancelledByUser, Text(Msg::CancelledByUser));
    return ChangeNotDone;
  }
  ChangeResult result = ChangeRadioCodeSteps(newCode);
  closing = ChangeResultMessage(result);
  // The record names a failure as the box does.
  if (closing) record_.NoteMessage(closing->number, closing->Text());
  if (result != ChangeDone) return result;
  closing = OperationMessage{Msg::CodeChanged, {}, false, true};
  record_.NoteSuccess(newCode, std::nullopt);
  const CheckFinding finding =
      verifyAfterWrite_ ? VerifyWritten(newCode, nullptr, CodecContext{}, Msg::ChangeCodeTitle,
                                        Msg::CodeChangedAndVerified, Msg::CodeChangedButCheckFailed)
                        : CheckFinding::Kept;
  if (finding != CheckFinding::Kept) {
    // The check has said what it found.
    result = ChangeNotVerified;
    closing.reset();
  }
  AdoptRadioCode(finding == CheckFinding::NotReached ? QString() : newCode);
  return result;
}

std::optional<OperationMessage> TransmitterOperations::ChangeResultMessage(
    ChangeResult result) const {
  switch (result) {
    case ChangeFailed:
      return OperationMessage{Msg::CodeChangeFailed, {}};
    case ChangeTimedOut:
      return OperationMessage{Msg::WaitTimedOut, {}};
    case ChangeJobRefused:
      return OperationMessage{Msg::OpuGetJobFailed, {}};
    case ChangeLinkLost:
      return LinkFailure();
    default:
      return std::nullopt;
  }
}

ChangeResult TransmitterOperations::ChangeRadioCodeSteps(const QString& newCode) {
  frontEnd_.SetStatusText(QString());
  if (!OpenLink()) return ChangeLinkLost;
  ChangeResult result = ChangeNotDone;
  if (!SendBlocks({RadioCodeBlockText(newCode)})) {
    result = link_.LineLost() ? ChangeLinkLost : ChangeFailed;
  } else if (link_.StartJob(currentCode_) != OpuLink::Success) {
    result = link_.LineLost() ? ChangeLinkLost : ChangeJobRefused;
  } else {
    wait_.StartPolling(PollWrite);
    const ModalResult answer = wait_.WaitForJob(Msg::ChangeCodeTitle, Msg::PressButtonToChangeCode);
    if (answer == mrAbort) record_.NoteMessage(Msg::CancelledByUser, Text(Msg::CancelledByUser));
    result = ChangeResultOf(answer);
    wait_.SetPollTag(PollNothing);
    wait_.StopPolling();
  }
  (void)link_.SendWriteBlock(QString());
  link_.Close();
  return result;
}
