#include "link/TransmitterOperations.h"

#include "image/FieldRules.h"
#include "image/ImageCodec.h"
#include "image/VembaData.h"
#include "link/TransferBlocks.h"
#include "link/WriteCheck.h"
#include "link/opu/ConnectionProbes.h"
#include "link/opu/OpuLink.h"
#include "image/Texts.h"
#include "ui/UserDialogs.h"

#include <QDateTime>

#include <optional>

namespace {

// The OPU listens for any transmitter and reports the product-type byte with its code.
const QString ProductTypeParameter = VembaData::ByteToHex(ProductTypeAddress);
const QString ThisProductTypeText = VembaData::ByteToHex(ThisProductType);

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

TransmitterOperations::TransmitterOperations(TransmitterView& view, PollTimer& pollTimer,
                                             const TransmitterState& state, UserDialogs& dialogs,
                                             QWidget* dialogParent)
    : view_(view),
      state_(state),
      dialogs_(dialogs),
      dialogParent_(dialogParent),
      wait_(state.link, state.PollAnswer, pollTimer) {}

// --- Identification ------------------------------------------------------------------------

Identification TransmitterOperations::IdentifyTransmitter() {
  state_.CurrentRadioCode.clear();
  heardProductType_.clear();
  if (!OpenForIdentification()) return Identification::Failed;
  wait_.StartPolling(PollListen);
  Identification outcome = ListenForTransmitter();
  wait_.StopPolling();
  (void)state_.link.StopListening();
  // A line that hung up on the way has lost the transmitter it heard.
  if (state_.link.LineLost()) outcome = Identification::Failed;
  state_.link.Close();
  if (outcome != Identification::Identified) state_.CurrentRadioCode.clear();
  if (outcome == Identification::Failed) ShowError(Msg::OpuNotReachable);
  return outcome;
}

Identification TransmitterOperations::IdentifyForCodeChange() {
  record_.Begin(OperationKind::ChangeCode);
  const Identification outcome = IdentifyTransmitter();
  if (outcome == Identification::Identified) {
    record_.NoteTransmitter(state_.CurrentRadioCode);
    return outcome;
  }
  // A failed identification has noted its message.
  if (outcome == Identification::Abandoned)
    record_.NoteMessage(Msg::CodeReadCancelled, Text(Msg::CodeReadCancelled));
  record_.Finish();
  return outcome;
}

void TransmitterOperations::EndCodeChangeUnchanged(Msg::Id number, const QString& text) {
  record_.NoteMessage(number, text);
  record_.Finish();
}

bool TransmitterOperations::OpenForIdentification() {
  if (!OpenLink()) {
    Tell(LinkFailure());
    return false;
  }
  const int version = state_.link.CheckOpuVersion(QString::fromLatin1(OpuLink::RequiredVersion));
  if (version != OpuLink::Success) {
    state_.link.Close();
    // Only an OPU that told its version can be told to update it; silence, garbage or a
    // hang-up means that the OPU cannot be reached.
    ShowError(version == OpuLink::VersionTooOld ? Msg::OpuFirmwareTooOld : Msg::OpuNotReachable);
    return false;
  }
  return true;
}

bool TransmitterOperations::OpenLink() {
  openFailure_.clear();
  if (state_.link.Open() == 0) return true;
  const OpenFailure failure = state_.link.LastOpenFailure();
  const QString systemText = state_.link.LastOpenError();
  state_.link.Close();
  // A port that is there but refused (another program holds it, the user may not use it) is
  // not a matter of cable and power supply: the box and the status line say what to put right.
  openFailure_ = OpenFailureText(ExplainFailedOpening(failure, systemText));
  if (!openFailure_.isEmpty()) view_.SetStatusText(openFailure_);
  return false;
}

OperationMessage TransmitterOperations::LinkFailure() const {
  if (openFailure_.isEmpty()) return {Msg::OpuNotReachable, {}, false};
  return {Msg::PortUnusable, {openFailure_}, false};
}

bool TransmitterOperations::StartListeningBounded() {
  for (int attempt = 0; attempt < MaxListenAttempts && !state_.link.LineLost(); ++attempt) {
    if (state_.link.StartListening(QString::fromLatin1(OpuLink::AnyTransmitter),
                                   ProductTypeParameter) == 0)
      return true;
  }
  return false;
}

Identification TransmitterOperations::ListenForTransmitter() {
  while (true) {
    if (!StartListeningBounded()) return Identification::Failed;
    state_.CurrentRadioCode.clear();
    const ModalResult result = wait_.WaitForListening();
    if (result == mrLineLost) return Identification::Failed;
    if (result == mrCancel || result == mrAbort) return Identification::Abandoned;
    // Another product, or an answer too long to be a code, sends the OPU listening again.
    const auto heard =
        result == mrOk ? OpuLink::ParseListeningAnswer(state_.PollAnswer) : std::nullopt;
    if (heard) {
      state_.CurrentRadioCode = heard->radioCode;
      heardProductType_ = heard->productType;
      if (heard->productType == ThisProductTypeText) return Identification::Identified;
      if (stopOnOtherProduct_) return Identification::OtherProduct;
    }
  }
}

// --- Reading -------------------------------------------------------------------------------

void TransmitterOperations::ReadFromDevice() {
  record_.Begin(OperationKind::Read);
  ReadSteps();
  record_.Finish();
}

void TransmitterOperations::ReadSteps() {
  view_.SetStatusText(QString());
  wait_.Prompt()->SetTitle(Text(Msg::ReadTitle));
  if (!IdentifyForJob()) return;
  if (!OpenLink()) {
    Tell(LinkFailure());
    return;
  }
  SendReadRequests();
  if (StartJob(view_.RadioCodeOldText())) {
    wait_.StartPolling(PollRead);
    const ModalResult result = wait_.WaitForJob(Msg::ReadTitle, Msg::PressButtonToRead);
    ReportReadFailure(result);
    wait_.StopPolling();
    VembaData::ClearImage(state_.ReceivedImage, 0, OriginNone);
    if (result == mrOk) TakeReadBlocks();
  }
  (void)state_.link.SendReadRequest(QString());
  state_.link.Close();
}

void TransmitterOperations::SendReadRequests() {
  (void)state_.link.SendReadRequest(QString());
  for (const QString& request : ReadRequests()) (void)state_.link.SendReadRequest(request);
}

bool TransmitterOperations::IdentifyForJob() {
  const Identification identified = IdentifyTransmitter();
  // A failed identification has shown its own message.
  if (identified == Identification::Failed) return false;
  if (identified == Identification::OtherProduct) {
    ShowError(Msg::InvalidProductType);
    return false;
  }
  if (state_.CurrentRadioCode.isEmpty()) {
    ShowStatus(Msg::CodeReadCancelled);
    return false;
  }
  view_.SetRadioCodeOldText(state_.CurrentRadioCode);
  record_.NoteTransmitter(state_.CurrentRadioCode);
  return true;
}

bool TransmitterOperations::StartJob(const QString& code) {
  const int started = state_.link.StartJob(code);
  if (started == OpuLink::Success) return true;
  ShowError(state_.link.LineLost() ? Msg::OpuNotReachable : Msg::OpuGetJobFailed);
  return false;
}

void TransmitterOperations::ReportReadFailure(ModalResult result) {
  const std::optional<OperationMessage> failure = JobEndMessage(OperationKind::Read, result);
  if (!failure) return;
  (void)state_.link.SendReadRequest(QString());
  wait_.SetPollTag(PollNothing);
  Tell(*failure);
}

void TransmitterOperations::TakeReadBlocks() {
  FetchReadBlocks(state_.ReceivedImage);
  // A read that lost any byte it asked for is a failed read: the window must not show values
  // the transmitter never sent, nor a following write store them.
  const bool lineLost = state_.link.LineLost();
  if (lineLost || !HoldsEveryRequestedByte(state_.ReceivedImage)) {
    VembaData::ClearImage(state_.ReceivedImage, 0, OriginNone);
    ShowError(lineLost ? Msg::OpuNotReachable : Msg::ReadFailed);
    return;
  }
  known_ = KnownTransmitter{state_.CurrentRadioCode,
                            KeptBytes(state_.ReceivedImage, state_.CurrentRadioCode)};
  record_.NoteSuccess(state_.CurrentRadioCode, known_->bytes);
  ShowReceivedImage();
}

void TransmitterOperations::FetchReadBlocks(ParameterImage& image) {
  // Every block carries at least one of the image's 256 bytes: an OPU that sends more blocks
  // than that is not ending its list, and must not hold the program for ever.
  QString block;
  for (int fetched = 0;
       fetched < ImageSize && state_.link.FetchReadBlock(block) == OpuLink::Success; ++fetched) {
    (void)VembaData::StoreImageRecord(image, block, OriginRead);
  }
}

void TransmitterOperations::ShowReceivedImage() {
  const int status = view_.ShowImage(state_.ReceivedImage, OriginRead);
  if (status >= 0) {
    ShowError(Msg::DataConversionFailed,
              {QString::number(state_.ReceivedImage[status].value), QString::number(status)});
  } else if (status == ImageWrongProduct) {
    ShowError(Msg::InvalidProductType);
  } else {
    view_.SetStatusText(Text(Msg::ReadFinished));
  }
  state_.ImageSource = SourceTransmitter;
  state_.ReadTime = QDateTime::currentDateTime();
  view_.UpdateTitle();
}

// --- Writing -------------------------------------------------------------------------------

void TransmitterOperations::WriteToDevice() {
  record_.Begin(OperationKind::Write);
  WriteSteps();
  record_.Finish();
}

void TransmitterOperations::WriteSteps() {
  VembaData::ClearImage(state_.OutgoingImage, 0, OriginNone);
  view_.SetStatusText(QString());
  if (const std::optional<Msg::Id> refusal = view_.UntypedFieldRefusal()) {
    ShowError(*refusal);
    return;
  }
  // A field that cannot be built is reported only after the transmitter has been identified.
  if (view_.BuildImage(state_.OutgoingImage, OriginWrite) == ImageOk &&
      !view_.ConfirmInactivityCount(state_.OutgoingImage)) {
    record_.NoteMessage(Msg::CancelledByUser, Text(Msg::CancelledByUser));
    return;
  }
  if (const std::optional<Msg::Id> refusal =
          NewRadioCodeRefusal(view_.RadioCodeNewText(), NewCodeSender::Write)) {
    ShowError(*refusal);
    return;
  }
  wait_.Prompt()->SetTitle(Text(Msg::WriteTitle));
  if (!IdentifyForJob()) return;
  std::optional<bool> changeCode;
  if (answerer_) {
    const CodeChangeAnswer answer =
        answerer_(state_.CurrentRadioCode, RadioCodeAsSent(view_.RadioCodeNewText()));
    if (answer.refusal) {
      Tell(*answer.refusal);
      return;
    }
    changeCode = answer.change;
  } else {
    changeCode = DecideCodeChange();
  }
  if (!changeCode) {
    record_.NoteMessage(Msg::CancelledByUser, Text(Msg::CancelledByUser));
    return;
  }
  const int built = view_.BuildImage(state_.OutgoingImage, OriginWrite);
  if (built != ImageOk) {
    ShowError(Msg::ConversionFailedAtAddress, {QString::number(built)});
    return;
  }
  const std::optional<WriteReview> review = ReviewBeforeWrite();
  if (!review) {
    ShowStatus(Msg::WriteCancelled);
    return;
  }
  if (!OpenLink()) {
    Tell(LinkFailure());
    return;
  }
  std::optional<ModalResult> result;  // none while no job started
  if (!SendBlocks(WriteBlocks(state_.OutgoingImage, *changeCode))) {
    ShowError(state_.link.LineLost() ? Msg::OpuNotReachable : Msg::WriteFailed);
  } else if (StartJob(view_.RadioCodeOldText())) {
    wait_.StartPolling(PollWrite);
    result = wait_.WaitForJob(Msg::WriteTitle, Msg::PressButtonToWrite);
    ReportWriteOutcome(*result);
    wait_.StopPolling();
  }
  (void)state_.link.SendWriteBlock(QString());
  state_.link.Close();
  if (result != mrOk) return;
  // Writing the same configuration again is legitimate; the technician should know it was one.
  if (review->known && review->changes.empty() && !*changeCode)
    view_.SetStatusText(Text(Msg::ConfigurationUpdatedNoChange));
  // The transmitter answers to the code it was given, or to the one it had.
  const QString codeAfter =
      *changeCode ? VembaData::BytesToHexText(state_.OutgoingImage[RadioCodeBlock.start].value,
                                              state_.OutgoingImage[RadioCodeBlock.start + 1].value)
                  : state_.CurrentRadioCode;
  record_.NoteSuccess(codeAfter, BytesAfterWrite(state_.CurrentRadioCode, codeAfter));
  const CheckFinding finding =
      verifyAfterWrite_
          ? VerifyWritten(codeAfter, &state_.OutgoingImage, Msg::WriteTitle,
                          Msg::ConfigurationUpdatedAndVerified, Msg::WrittenButCheckFailed)
          : CheckFinding::Kept;
  if (*changeCode) AdoptRadioCode(finding == CheckFinding::NotReached ? QString() : codeAfter);
}

ImageBytes TransmitterOperations::BytesAfterWrite(const QString& codeBefore,
                                                  const QString& codeAfter) {
  // The fields the write does not send (production date, counters) show the window's file, not
  // the transmitter: only a read of this transmitter knows them, in this run or its latest read
  // backup.
  if (!known_ || known_->code != codeBefore) {
    const std::optional<ImageBytes> lastRead = view_.LastReadImage(codeBefore);
    if (!lastRead) return KeptBytes(state_.OutgoingImage, codeAfter);
    known_ = KnownTransmitter{codeBefore, *lastRead};
  }
  known_ = KnownTransmitter{codeAfter, WrittenOver(known_->bytes, state_.OutgoingImage, codeAfter)};
  return known_->bytes;
}

void TransmitterOperations::AdoptRadioCode(const QString& code) {
  // The field is labelled as the transmitter's present code, and the sheet, the comparison and
  // the technician take it for that: after a change the transmitter confirmed it must name the
  // new code, not the one it had.
  if (known_ && known_->code == state_.CurrentRadioCode && !code.isEmpty()) {
    known_->code = code;
    VembaData::HexTextToBytes(code, known_->bytes[RadioCodeBlock.start],
                              known_->bytes[RadioCodeBlock.start + 1]);
  }
  state_.CurrentRadioCode = code;
  if (!code.isEmpty()) view_.SetRadioCodeOldText(code);
}

std::optional<bool> TransmitterOperations::DecideCodeChange() {
  const QString oldCode = view_.RadioCodeOldText();
  // The question names the code as the code block will carry it.
  const QString newCode = RadioCodeAsSent(view_.RadioCodeNewText());
  if (newCode.isEmpty() || newCode == oldCode) return false;
  const ModalResult answer = dialogs_.ShowInformation(
      dialogParent_, FormatText(Msg::ConfirmCodeChange, {oldCode, newCode}),
      BoxButtons::YesNoAbort);
  if (answer == mrAbort) return std::nullopt;
  return answer == mrYes;
}

std::optional<WriteReview> TransmitterOperations::ReviewBeforeWrite() {
  const QString code = state_.CurrentRadioCode;
  const CodecContext context = view_.ShownCodecContext();
  WriteReview review = ReviewWrite(view_.LastKnownImage(code), state_.OutgoingImage, context, Text,
                                   silencedInterlocks_);
  if (!review.NeedsQuestion()) return review;
  if (!view_.ConfirmWrite(review, WriteReviewQuestion(review, code, context.limitMode)))
    return std::nullopt;
  return review;
}

bool TransmitterOperations::SendBlocks(const QStringList& blocks) {
  // The empty block clears what the OPU holds. A job started after a block the OPU did not
  // take would end "done" with the transmitter unchanged, so the first such block ends here.
  if (state_.link.SendWriteBlock(QString()) != OpuLink::Success) return false;
  return std::all_of(blocks.begin(), blocks.end(), [this](const QString& block) {
    return state_.link.SendWriteBlock(block) == OpuLink::Success;
  });
}

void TransmitterOperations::ReportWriteOutcome(ModalResult result) {
  if (result == mrOk) view_.SetStatusText(Text(Msg::ConfigurationUpdated));
  const std::optional<OperationMessage> failure = JobEndMessage(OperationKind::Write, result);
  if (!failure) return;
  wait_.SetPollTag(PollNothing);
  Tell(*failure);
}

// --- Radio code change ---------------------------------------------------------------------

ChangeResult TransmitterOperations::ChangeRadioCode() {
  if (!record_.IsRunning(OperationKind::ChangeCode)) record_.Begin(OperationKind::ChangeCode);
  ChangeResult result = ChangeRadioCodeSteps();
  const QString requested = RadioCodeAsSent(state_.RequestedRadioCode);
  // The dialog shows the result's message; the record names it.
  static const std::pair<ChangeResult, Msg::Id> messages[] = {
      {ChangeFailed, Msg::CodeChangeFailed},
      {ChangeTimedOut, Msg::WaitTimedOut},
      {ChangeJobRefused, Msg::OpuGetJobFailed}};
  for (const auto& [failure, number] : messages) {
    if (result == failure) record_.NoteMessage(number, Text(number));
  }
  if (result == ChangeLinkLost) {
    const OperationMessage lost = LinkFailure();
    record_.NoteMessage(lost.number, FormatText(lost.number, lost.arguments));
  }
  if (result == ChangeDone) {
    record_.NoteSuccess(requested, std::nullopt);
    const CheckFinding finding =
        verifyAfterWrite_
            ? VerifyWritten(requested, nullptr, Msg::ChangeCodeTitle, Msg::CodeChangedAndVerified,
                            Msg::CodeChangedButCheckFailed)
            : CheckFinding::Kept;
    if (finding != CheckFinding::Kept) result = ChangeNotVerified;
    AdoptRadioCode(finding == CheckFinding::NotReached ? QString() : requested);
  }
  record_.Finish();
  return result;
}

ChangeResult TransmitterOperations::ChangeRadioCodeSteps() {
  view_.SetStatusText(QString());
  if (state_.CurrentRadioCode.isEmpty()) (void)IdentifyTransmitter();
  if (state_.CurrentRadioCode.isEmpty()) return ChangeNotDone;
  record_.NoteTransmitter(state_.CurrentRadioCode);
  const QString& requested = state_.RequestedRadioCode;
  if (NewRadioCodeRefusal(requested, NewCodeSender::CodeChange)) return ChangeNotDone;
  if (!OpenLink()) return ChangeLinkLost;
  ChangeResult result = ChangeNotDone;
  if (!SendBlocks({RadioCodeBlockText(requested)})) {
    result = state_.link.LineLost() ? ChangeLinkLost : ChangeFailed;
  } else if (state_.link.StartJob(state_.CurrentRadioCode) != OpuLink::Success) {
    result = state_.link.LineLost() ? ChangeLinkLost : ChangeJobRefused;
  } else {
    wait_.StartPolling(PollWrite);
    const ModalResult answer = wait_.WaitForJob(Msg::ChangeCodeTitle, Msg::PressButtonToChangeCode);
    if (answer == mrAbort) record_.NoteMessage(Msg::CancelledByUser, Text(Msg::CancelledByUser));
    result = ChangeResultOf(answer);
    wait_.SetPollTag(PollNothing);
    wait_.StopPolling();
  }
  (void)state_.link.SendWriteBlock(QString());
  state_.link.Close();
  return result;
}

// --- Verification after writing ------------------------------------------------------------

TransmitterOperations::CheckFinding TransmitterOperations::VerifyWritten(const QString& code,
                                                                         const ParameterImage* sent,
                                                                         Msg::Id titleText,
                                                                         Msg::Id doneText,
                                                                         Msg::Id failedText) {
  record_.BeginCheck(code);
  ParameterImage readBack{};
  const std::optional<ModalResult> result = ReadBack(code, titleText, readBack);
  const std::optional<OperationMessage> finding =
      WriteCheckMessage(result, code, sent, readBack, view_.ShownCodecContext());
  std::optional<ImageBytes> pendantBytes;
  if (result == mrOk) {
    known_ = KnownTransmitter{code, KeptBytes(readBack, code)};
    pendantBytes = known_->bytes;
  }
  if (!finding) {
    record_.NoteSuccess(code, pendantBytes);
    record_.NoteCheckFinding(Msg::Id{}, QString(), pendantBytes);
    view_.SetStatusText(Text(doneText));
    return CheckFinding::Kept;
  }
  // What the transmitter holds instead is kept with the record line.
  if (pendantBytes) record_.NoteImage(*pendantBytes);
  record_.NoteCheckFinding(finding->number, FormatText(finding->number, finding->arguments),
                           pendantBytes);
  // The status line must not go on saying that the write succeeded.
  if (!finding->inStatusLine) view_.SetStatusText(Text(failedText));
  Tell(*finding);
  return pendantBytes ? CheckFinding::Differs : CheckFinding::NotReached;
}

std::optional<ModalResult> TransmitterOperations::ReadBack(const QString& code, Msg::Id titleText,
                                                           ParameterImage& image) {
  if (state_.link.Open() != 0) {
    state_.link.Close();
    return mrLineLost;
  }
  SendReadRequests();
  std::optional<ModalResult> result;
  if (state_.link.StartJob(code) == OpuLink::Success) {
    wait_.StartPolling(PollRead);
    result = wait_.WaitForJob(titleText, Msg::PressButtonToVerify);
    wait_.StopPolling();
    if (result == mrOk) {
      FetchReadBlocks(image);
      // A read that lost bytes on the way proves nothing about them.
      if (state_.link.LineLost()) result = mrLineLost;
      if (result == mrOk && !HoldsEveryRequestedByte(image)) result = mrCancel;
    }
  } else if (state_.link.LineLost()) {
    result = mrLineLost;
  }
  (void)state_.link.SendReadRequest(QString());
  state_.link.Close();
  return result;
}

void TransmitterOperations::ShowError(Msg::Id number, const QStringList& arguments) {
  const QString text = FormatText(number, arguments);
  record_.NoteMessage(number, text);
  record_.NoteEnded();
  dialogs_.ShowError(dialogParent_, text);
}

void TransmitterOperations::Tell(const OperationMessage& message) {
  if (message.inStatusLine) {
    ShowStatus(message.number);
  } else {
    ShowError(message.number, message.arguments);
  }
}

void TransmitterOperations::ShowStatus(Msg::Id number) {
  record_.NoteMessage(number, Text(number));
  view_.SetStatusText(Text(number));
}
