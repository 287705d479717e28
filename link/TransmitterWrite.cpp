// Writing the transmitter and the check after writing (link/TransmitterOperations.h).

#include "image/FieldRules.h"
#include "image/Texts.h"
#include "image/VembaData.h"
#include "link/TransferBlocks.h"
#include "link/TransmitterOperations.h"
#include "link/WriteCheck.h"
#include "link/opu/OpuLink.h"

#include <algorithm>

// --- Writing -------------------------------------------------------------------------------

void TransmitterOperations::Write(const WriteRequest& request) {
  record_.Begin(OperationKind::Write);
  WriteSteps(request);
  record_.Finish();
}

bool TransmitterOperations::MayStartWrite(const WriteRequest& request) {
  if (request.untypedRefusal) {
    ShowError(*request.untypedRefusal);
    return false;
  }
  const std::optional<OperationQuestion> fewMeasurements =
      FewMeasurementsQuestion(request.image, request.context);
  if (!request.confirmedInAdvance && request.buildStatus == ImageOk && fewMeasurements &&
      frontEnd_.Ask(*fewMeasurements) != Answer::Yes) {
    record_.NoteMessage(Msg::CancelledByUser, Text(Msg::CancelledByUser));
    return false;
  }
  if (const std::optional<Msg::Id> refusal =
          NewRadioCodeRefusal(request.newCode, NewCodeSender::Write)) {
    ShowError(*refusal);
    return false;
  }
  return true;
}

void TransmitterOperations::WriteSteps(const WriteRequest& request) {
  frontEnd_.SetStatusText(QString());
  if (!MayStartWrite(request)) return;
  wait_.Prompt()->SetTitle(Text(Msg::WriteTitle));
  if (!IdentifyForJob()) return;
  std::optional<bool> changeCode;
  if (answerer_) {
    const CodeChangeAnswer answer = answerer_(currentCode_, RadioCodeAsSent(request.newCode));
    if (answer.refusal) {
      Tell(*answer.refusal);
      return;
    }
    changeCode = answer.change;
  } else {
    changeCode = DecideCodeChange(request.newCode);
  }
  if (!changeCode) {
    record_.NoteMessage(Msg::CancelledByUser, Text(Msg::CancelledByUser));
    return;
  }
  if (request.buildStatus != ImageOk) {
    ShowError(Msg::ConversionFailedAtAddress, {QString::number(request.buildStatus)});
    return;
  }
  const std::optional<WriteReview> review = ReviewBeforeWrite(request);
  if (!review) {
    ShowStatus(Msg::WriteCancelled);
    return;
  }
  if (!OpenLink()) {
    Tell(LinkFailure());
    return;
  }
  if (SendWrite(request.image, *changeCode) != mrOk) return;
  // Writing the same configuration again is legitimate; the technician should know it was one.
  if (review->known && review->changes.empty() && !*changeCode)
    frontEnd_.SetStatusText(Text(Msg::ConfigurationUpdatedNoChange));
  FinishWrite(request, *changeCode);
}

std::optional<ModalResult> TransmitterOperations::SendWrite(const ParameterImage& image,
                                                            bool changeCode) {
  std::optional<ModalResult> result;
  if (!SendBlocks(WriteBlocks(image, changeCode))) {
    ShowError(link_.LineLost() ? Msg::OpuNotReachable : Msg::WriteFailed);
  } else if (StartJob(currentCode_)) {
    wait_.StartPolling(PollWrite);
    result = wait_.WaitForJob(Msg::WriteTitle, Msg::PressButtonToWrite);
    ReportWriteOutcome(*result);
    wait_.StopPolling();
  }
  (void)link_.SendWriteBlock(QString());
  link_.Close();
  return result;
}

void TransmitterOperations::FinishWrite(const WriteRequest& request, bool changeCode) {
  const ParameterImage& sent = request.image;
  // The transmitter answers to the code it was given, or to the one it had.
  const QString codeAfter = changeCode
                                ? VembaData::BytesToHexText(sent[RadioCodeBlock.start].value,
                                                            sent[RadioCodeBlock.start + 1].value)
                                : currentCode_;
  record_.NoteSuccess(codeAfter, BytesAfterWrite(sent, currentCode_, codeAfter));
  const CheckFinding finding =
      verifyAfterWrite_
          ? VerifyWritten(codeAfter, &sent, request.context, Msg::WriteTitle,
                          Msg::ConfigurationUpdatedAndVerified, Msg::WrittenButCheckFailed)
          : CheckFinding::Kept;
  if (changeCode) AdoptRadioCode(finding == CheckFinding::NotReached ? QString() : codeAfter);
}

ImageBytes TransmitterOperations::BytesAfterWrite(const ParameterImage& sent,
                                                  const QString& codeBefore,
                                                  const QString& codeAfter) {
  // The fields the write does not send (production date, counters) show the window's file, not
  // the transmitter: only a read of this transmitter knows them, in this run or its latest read
  // backup.
  if (!known_ || known_->code != codeBefore) {
    const std::optional<ImageBytes> lastRead =
        history_ ? history_->LastReadImage(codeBefore) : std::nullopt;
    if (!lastRead) return KeptBytes(sent, codeAfter);
    known_ = KnownTransmitter{codeBefore, *lastRead};
  }
  known_ = KnownTransmitter{codeAfter, WrittenOver(known_->bytes, sent, codeAfter)};
  return known_->bytes;
}

void TransmitterOperations::AdoptRadioCode(const QString& code) {
  // The field is labelled as the transmitter's present code, and the sheet, the comparison and
  // the technician take it for that: after a change the transmitter confirmed it must name the
  // new code, not the one it had.
  if (known_ && known_->code == currentCode_ && !code.isEmpty()) {
    known_->code = code;
    VembaData::HexTextToBytes(code, known_->bytes[RadioCodeBlock.start],
                              known_->bytes[RadioCodeBlock.start + 1]);
  }
  currentCode_ = code;
  if (!code.isEmpty()) frontEnd_.PendantCodeKnown(code);
}

std::optional<bool> TransmitterOperations::DecideCodeChange(const QString& typedCode) {
  // The question names the code as the code block will carry it.
  const QString newCode = RadioCodeAsSent(typedCode);
  if (newCode.isEmpty() || newCode == currentCode_) return false;
  const Answer answer = Ask(OperationQuestion::Kind::WriteCodeChange,
                            FormatText(Msg::ConfirmCodeChange, {currentCode_, newCode}));
  if (answer == Answer::Abort) return std::nullopt;
  return answer == Answer::Yes;
}

std::optional<WriteReview> TransmitterOperations::ReviewBeforeWrite(const WriteRequest& request) {
  const QString code = currentCode_;
  const std::optional<ImageBytes> known = history_ ? history_->LastKnownImage(code) : std::nullopt;
  WriteReview review =
      ReviewWrite(known, request.image, request.context, Text, silencedInterlocks_);
  if (!review.NeedsQuestion() || request.confirmedInAdvance) return review;
  if (Ask(OperationQuestion::Kind::WriteReview,
          WriteReviewQuestion(review, code, request.context.limitMode), review) != Answer::Yes)
    return std::nullopt;
  return review;
}

bool TransmitterOperations::SendBlocks(const QStringList& blocks) {
  // The empty block clears what the OPU holds. A job started after a block the OPU did not
  // take would end "done" with the transmitter unchanged, so the first such block ends here.
  if (link_.SendWriteBlock(QString()) != OpuLink::Success) return false;
  return std::all_of(blocks.begin(), blocks.end(), [this](const QString& block) {
    return link_.SendWriteBlock(block) == OpuLink::Success;
  });
}

void TransmitterOperations::ReportWriteOutcome(ModalResult result) {
  if (result == mrOk) frontEnd_.SetStatusText(Text(Msg::ConfigurationUpdated));
  const std::optional<OperationMessage> failure = JobEndMessage(OperationKind::Write, result);
  if (!failure) return;
  wait_.SetPollTag(PollNothing);
  Tell(*failure);
}

// --- Verification after writing ------------------------------------------------------------

TransmitterOperations::CheckFinding TransmitterOperations::VerifyWritten(
    const QString& code, const ParameterImage* sent, const CodecContext& context, Msg::Id titleText,
    Msg::Id doneText, Msg::Id failedText) {
  record_.BeginCheck(code);
  ParameterImage readBack{};
  const std::optional<ModalResult> result = ReadBack(code, titleText, readBack);
  const std::optional<OperationMessage> finding =
      WriteCheckMessage(result, code, sent, readBack, context);
  std::optional<ImageBytes> pendantBytes;
  if (result == mrOk) {
    known_ = KnownTransmitter{code, KeptBytes(readBack, code)};
    pendantBytes = known_->bytes;
  }
  if (!finding) {
    record_.NoteSuccess(code, pendantBytes);
    record_.NoteCheckFinding(Msg::Id{}, QString(), pendantBytes);
    frontEnd_.SetStatusText(Text(doneText));
    return CheckFinding::Kept;
  }
  // What the transmitter holds instead is kept with the record line.
  if (pendantBytes) record_.NoteImage(*pendantBytes);
  record_.NoteCheckFinding(finding->number, FormatText(finding->number, finding->arguments),
                           pendantBytes);
  // The status line must not go on saying that the write succeeded.
  if (!finding->inStatusLine) frontEnd_.SetStatusText(Text(failedText));
  Tell(*finding);
  return pendantBytes ? CheckFinding::Differs : CheckFinding::NotReached;
}

std::optional<ModalResult> TransmitterOperations::ReadBack(const QString& code, Msg::Id titleText,
                                                           ParameterImage& image) {
  if (link_.Open() != 0) {
    link_.Close();
    return mrLineLost;
  }
  SendReadRequests();
  std::optional<ModalResult> result;
  if (link_.StartJob(code) == OpuLink::Success) {
    wait_.StartPolling(PollRead);
    result = wait_.WaitForJob(titleText, Msg::PressButtonToVerify);
    wait_.StopPolling();
    if (result == mrOk) {
      FetchReadBlocks(image);
      // A read that lost bytes on the way proves nothing about them.
      if (link_.LineLost()) result = mrLineLost;
      if (result == mrOk && !HoldsEveryRequestedByte(image)) result = mrCancel;
    }
  } else if (link_.LineLost()) {
    result = mrLineLost;
  }
  (void)link_.SendReadRequest(QString());
  link_.Close();
  return result;
}
