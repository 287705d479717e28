#include "link/TransmitterOperations.h"

#include "image/FieldRules.h"
#include "image/ImageCodec.h"
#include "image/ImageComparison.h"
#include "image/VembaData.h"
#include "link/Receiveradio.h"
#include "link/opu/OpuLink.h"
#include "ui/FormHelpers.h"
#include "ui/Texts.h"
#include "ui/UserDialogs.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QEventLoop>
#include <QTimer>
#include <QVariant>

#include <optional>

namespace {

// The OPU listens for any transmitter and reports the product-type byte with its code.
const QString ProductTypeParameter = VembaData::ByteToHex(ProductTypeAddress);
const QString ThisProductTypeText = VembaData::ByteToHex(ThisProductType);

// Poll status values of a job.
constexpr int StatusDone = 3;
constexpr int StatusFailed = 4;
constexpr int StatusGaveUp = 5;

const QStringList ReadRequests = {QStringLiteral("0622"), QStringLiteral("0828"),
                                  QStringLiteral("0830"), QStringLiteral("0338")};

// Whether the blocks fetched filled every byte the read requests asked for (count, then start).
bool HoldsEveryRequestedByte(const ParameterImage& image) {
  for (const QString& request : ReadRequests) {
    const int count = VembaData::HexPairValue(request.at(0), request.at(1));
    const int start = VembaData::HexPairValue(request.at(2), request.at(3));
    for (int address = start; address < start + count; ++address) {
      if (image[address].origin != OriginRead) return false;
    }
  }
  return true;
}

QString RadioCodeBlockText(const QString& code) {
  return VembaData::ByteToHex(RadioCodeBlock.count) + VembaData::ByteToHex(RadioCodeBlock.start) +
         RadioCodeAsSent(code);
}

// The 256 bytes a backup or the record keeps: the image with the transmitter's code in its place.
ImageBytes KeptBytes(const ParameterImage& image, const QString& code) {
  ImageBytes bytes = VembaData::ExtractImageBytes(image);
  VembaData::HexTextToBytes(code, bytes[RadioCodeBlock.start], bytes[RadioCodeBlock.start + 1]);
  return bytes;
}

FinishedOperation StartedOperation(OperationKind kind, const QString& code) {
  FinishedOperation operation;
  operation.kind = kind;
  operation.codeBefore = code;
  operation.codeAfter = code;
  return operation;
}

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

TransmitterOperations::TransmitterOperations(TransmitterView& view, const TransmitterState& state,
                                             UserDialogs& dialogs, QWidget* dialogParent)
    : view_(view), state_(state), dialogs_(dialogs), dialogParent_(dialogParent) {}

// --- Identification ------------------------------------------------------------------------

Identification TransmitterOperations::IdentifyTransmitter() {
  state_.CurrentRadioCode.clear();
  if (!OpenForIdentification()) return Identification::Failed;
  StartPolling(PollListen);
  Identification outcome = ListenForTransmitter();
  StopPolling();
  (void)state_.link.StopListening();
  // A line that hung up on the way has lost the transmitter it heard.
  if (state_.link.LineLost()) outcome = Identification::Failed;
  state_.link.Close();
  if (outcome != Identification::Identified) state_.CurrentRadioCode.clear();
  if (outcome == Identification::Failed) ShowError(Msg::OpuNotReachable);
  return outcome;
}

Identification TransmitterOperations::IdentifyForCodeChange() {
  BeginRecord(OperationKind::ChangeCode);
  const Identification outcome = IdentifyTransmitter();
  // Once identified, the change itself is recorded when it runs.
  if (outcome == Identification::Failed) {
    ReportFinished();
  } else {
    finished_.clear();
  }
  return outcome;
}

bool TransmitterOperations::OpenForIdentification() {
  if (!OpenLink()) {
    ShowError(Msg::OpuNotReachable);
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
  if (state_.link.Open() == 0) return true;
  ReportOpenFailure(state_.link.LastOpenFailure());
  state_.link.Close();
  return false;
}

void TransmitterOperations::ReportOpenFailure(const OpenFailure& failure) {
  // The message box is the same for every cause; the status line says what the user can put
  // right, in the user's words rather than the system's.
  switch (failure.kind) {
    case OpenFailure::NoPermission:
      view_.SetStatusText(FormatText(Msg::PortPermissionDenied, {failure.port, failure.group}));
      break;
    case OpenFailure::Busy:
      view_.SetStatusText(FormatText(Msg::PortBusy, {failure.port}));
      break;
    case OpenFailure::Other:
      view_.SetStatusText(FormatText(Msg::PortNotOpened, {failure.port}));
      break;
    default:
      break;  // no port at all: the message box names the cable and the power supply
  }
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
    waitingDialog_->SetGroupCaption(Text(Msg::WaitingForPendant));
    waitingDialog_->SetActionText(Text(Msg::PressButtonForCode));
    state_.CurrentRadioCode.clear();
    const ModalResult result = ModalResultOf(waitingDialog_->exec());
    if (result == mrLineLost) return Identification::Failed;
    if (result == mrCancel || result == mrAbort) return Identification::Abandoned;
    // Another product, or an answer too long to be a code, sends the OPU listening again.
    const auto heard =
        result == mrOk ? OpuLink::ParseListeningAnswer(state_.PollAnswer) : std::nullopt;
    if (heard) {
      state_.CurrentRadioCode = heard->radioCode;
      if (heard->productType == ThisProductTypeText) return Identification::Identified;
    }
  }
}

// --- Waiting dialog and poll timer ---------------------------------------------------------

void TransmitterOperations::StartPolling(PollTag tag) {
  SetPollTag(tag);
  state_.tmrPollOpuInfo.setInterval(pollIntervalMs_);
  state_.tmrPollOpuInfo.start();
}

void TransmitterOperations::StopPolling() {
  state_.tmrPollOpuInfo.stop();
}

void TransmitterOperations::SetPollTag(PollTag tag) {
  state_.tmrPollOpuInfo.setProperty(TagProperty, static_cast<int>(tag));
}

ModalResult TransmitterOperations::WaitForJob(Msg::Id titleText, Msg::Id actionText) {
  waitingDialog_->SetTitle(Text(titleText));
  waitingDialog_->SetGroupCaption(Text(Msg::WaitingForPendant));
  waitingDialog_->SetActionText(Text(actionText));
  // Lets the window repaint before the dialog comes up; a key or click the user gave meanwhile
  // waits until the operation has ended, so that nothing starts inside it.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  return ModalResultOf(waitingDialog_->exec());
}

void TransmitterOperations::PollOpuInfo() {
  // A tick outside the dialog's modal loop would take an answer that nobody waits for.
  if (waitingDialog_ == nullptr || !waitingDialog_->isVisible()) return;
  switch (state_.tmrPollOpuInfo.property(TagProperty).toInt()) {
    case PollListen:
      (void)state_.link.PollListening(state_.PollAnswer);
      if (state_.PollAnswer == QLatin1String(OpuLink::ListeningFailed)) {
        waitingDialog_->done(mrCancel);
      } else if (OpuLink::ListeningAnswerComplete(state_.PollAnswer)) {
        waitingDialog_->done(mrOk);
      }
      break;
    case PollWrite:
      CloseByStatus(state_.link.PollWriteStatus(state_.PollAnswer));
      break;
    case PollRead:
      CloseByStatus(state_.link.PollReadStatus(state_.PollAnswer));
      break;
    default:
      // A failed operation is being wound up: there is nothing left to ask the OPU.
      return;
  }
  // A pulled cable ends the wait at once; polling a dead line would go on until the user gave
  // up and then blame the user.
  if (state_.link.LineLost()) waitingDialog_->done(mrLineLost);
}

void TransmitterOperations::PollRadioCode() {
  if (waitingDialog_ == nullptr || !waitingDialog_->isVisible()) return;
  QString code;
  if (state_.link.ReadRadioCode(code) == OpuLink::Success && code != QStringLiteral("0000")) {
    waitingDialog_->done(mrOk);
  }
}

void TransmitterOperations::CloseByStatus(int pollResult) {
  if (pollResult != OpuLink::Success || state_.PollAnswer.size() != 2) return;
  switch (VembaData::HexPairValue(state_.PollAnswer.at(0), state_.PollAnswer.at(1))) {
    case StatusDone:
      waitingDialog_->done(mrOk);
      break;
    case StatusFailed:
      waitingDialog_->done(mrCancel);
      break;
    case StatusGaveUp:
      waitingDialog_->done(mrIgnore);
      break;
    default:
      break;  // the radio exchange is still going on
  }
}

// --- Reading -------------------------------------------------------------------------------

void TransmitterOperations::ReadFromDevice() {
  BeginRecord(OperationKind::Read);
  ReadSteps();
  ReportFinished();
}

void TransmitterOperations::ReadSteps() {
  view_.SetStatusText(QString());
  waitingDialog_->SetTitle(Text(Msg::ReadTitle));
  if (!IdentifiedForJob()) return;
  if (!OpenLink()) {
    ShowError(Msg::OpuNotReachable);
    return;
  }
  SendReadRequests();
  if (JobStarted(view_.RadioCodeOldText())) {
    StartPolling(PollRead);
    const ModalResult result = WaitForJob(Msg::ReadTitle, Msg::PressButtonToRead);
    ReportReadFailure(result);
    StopPolling();
    VembaData::ClearImage(state_.ReceivedImage, 0, OriginNone);
    if (result == mrOk) TakeReadBlocks();
  }
  (void)state_.link.SendReadRequest(QString());
  state_.link.Close();
}

void TransmitterOperations::SendReadRequests() {
  (void)state_.link.SendReadRequest(QString());
  for (const QString& request : ReadRequests) (void)state_.link.SendReadRequest(request);
}

bool TransmitterOperations::IdentifiedForJob() {
  // A failed identification has shown its own message.
  if (IdentifyTransmitter() == Identification::Failed) return false;
  if (state_.CurrentRadioCode.isEmpty()) {
    ShowStatus(Msg::CodeReadCancelled);
    return false;
  }
  view_.SetRadioCodeOldText(state_.CurrentRadioCode);
  finished_.back().codeBefore = state_.CurrentRadioCode;
  finished_.back().codeAfter = state_.CurrentRadioCode;
  return true;
}

bool TransmitterOperations::JobStarted(const QString& code) {
  const int started = state_.link.StartJob(code);
  if (started == OpuLink::Success) return true;
  ShowError(state_.link.LineLost() ? Msg::OpuNotReachable : Msg::OpuGetJobFailed);
  return false;
}

void TransmitterOperations::ReportReadFailure(ModalResult result) {
  if (result != mrCancel && result != mrAbort && result != mrIgnore && result != mrLineLost) return;
  (void)state_.link.SendReadRequest(QString());
  SetPollTag(PollNothing);
  if (result == mrCancel) ShowError(Msg::ReadFailed);
  if (result == mrAbort) ShowStatus(Msg::ReadCancelled);
  if (result == mrIgnore) ShowError(Msg::WaitTimedOut);
  if (result == mrLineLost) ShowError(Msg::OpuNotReachable);
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
  NoteSuccess(state_.CurrentRadioCode, KeptBytes(state_.ReceivedImage, state_.CurrentRadioCode));
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
  BeginRecord(OperationKind::Write);
  WriteSteps();
  ReportFinished();
}

void TransmitterOperations::WriteSteps() {
  VembaData::ClearImage(state_.OutgoingImage, 0, OriginNone);
  view_.SetStatusText(QString());
  // A field that cannot be built is reported only after the transmitter has been identified.
  if (view_.BuildImage(state_.OutgoingImage, OriginWrite) == ImageOk &&
      !view_.ConfirmInactivityCount(state_.OutgoingImage)) {
    NoteMessage(Msg::CancelledByUser, Text(Msg::CancelledByUser));
    return;
  }
  if (const std::optional<Msg::Id> refusal =
          NewRadioCodeRefusal(view_.RadioCodeNewText(), NewCodeSender::Write)) {
    ShowError(*refusal);
    return;
  }
  waitingDialog_->SetTitle(Text(Msg::WriteTitle));
  if (!IdentifiedForJob()) return;
  const std::optional<bool> changeCode = DecideCodeChange();
  if (!changeCode) {
    NoteMessage(Msg::CancelledByUser, Text(Msg::CancelledByUser));
    return;
  }
  const int built = view_.BuildImage(state_.OutgoingImage, OriginWrite);
  if (built != ImageOk) {
    ShowError(Msg::ConversionFailedAtAddress, {QString::number(built)});
    return;
  }
  if (!OpenLink()) {
    ShowError(Msg::OpuNotReachable);
    return;
  }
  std::optional<ModalResult> result;  // none while no job started
  if (!BlocksTaken(WriteBlocks(*changeCode))) {
    ShowError(state_.link.LineLost() ? Msg::OpuNotReachable : Msg::WriteFailed);
  } else if (JobStarted(view_.RadioCodeOldText())) {
    StartPolling(PollWrite);
    result = WaitForJob(Msg::WriteTitle, Msg::PressButtonToWrite);
    ReportWriteOutcome(*result);
    StopPolling();
  }
  (void)state_.link.SendWriteBlock(QString());
  state_.link.Close();
  if (result != mrOk) return;
  // The transmitter answers to the code it was given, or to the one it had.
  const QString codeAfter =
      *changeCode ? VembaData::BytesToHexText(state_.OutgoingImage[RadioCodeBlock.start].value,
                                              state_.OutgoingImage[RadioCodeBlock.start + 1].value)
                  : state_.CurrentRadioCode;
  NoteSuccess(codeAfter, KeptBytes(state_.OutgoingImage, codeAfter));
  if (verifyAfterWrite_)
    (void)VerifyWritten(codeAfter, &state_.OutgoingImage, Msg::WriteTitle,
                        Msg::ConfigurationUpdatedAndVerified);
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

QStringList TransmitterOperations::WriteBlocks(bool withRadioCode) const {
  QStringList blocks;
  for (const ImageBlock& block : ConfigurationWriteBlocks())
    blocks << FormatImageSegment(state_.OutgoingImage, block.count, block.start);
  if (withRadioCode) {
    blocks << FormatImageSegment(state_.OutgoingImage, RadioCodeBlock.count, RadioCodeBlock.start);
  }
  return blocks;
}

bool TransmitterOperations::BlocksTaken(const QStringList& blocks) {
  // The empty block clears what the OPU holds. A job started after a block the OPU did not
  // take would end "done" with the transmitter unchanged, so the first such block ends here.
  if (state_.link.SendWriteBlock(QString()) != OpuLink::Success) return false;
  return std::all_of(blocks.begin(), blocks.end(), [this](const QString& block) {
    return state_.link.SendWriteBlock(block) == OpuLink::Success;
  });
}

void TransmitterOperations::ReportWriteOutcome(ModalResult result) {
  switch (result) {
    case mrOk:
      view_.SetStatusText(Text(Msg::ConfigurationUpdated));
      break;
    case mrCancel:
      SetPollTag(PollNothing);
      ShowError(Msg::WriteFailed);
      break;
    case mrAbort:
      SetPollTag(PollNothing);
      ShowStatus(Msg::WriteCancelled);
      break;
    case mrIgnore:
      SetPollTag(PollNothing);
      ShowError(Msg::WaitTimedOut);
      break;
    case mrLineLost:
      SetPollTag(PollNothing);
      ShowError(Msg::OpuNotReachable);
      break;
    default:
      break;
  }
}

// --- Radio code change ---------------------------------------------------------------------

ChangeResult TransmitterOperations::ChangeRadioCode() {
  BeginRecord(OperationKind::ChangeCode);
  ChangeResult result = ChangeRadioCodeSteps();
  const QString requested = RadioCodeAsSent(state_.RequestedRadioCode);
  // The dialog shows the result's message; the record names it.
  static const std::pair<ChangeResult, Msg::Id> messages[] = {
      {ChangeFailed, Msg::CodeChangeFailed},
      {ChangeTimedOut, Msg::WaitTimedOut},
      {ChangeJobRefused, Msg::OpuGetJobFailed},
      {ChangeLinkLost, Msg::OpuNotReachable}};
  for (const auto& [failure, number] : messages) {
    if (result == failure) NoteMessage(number, Text(number));
  }
  if (result == ChangeDone) NoteSuccess(requested, std::nullopt);
  if (result == ChangeDone && verifyAfterWrite_ &&
      !VerifyWritten(requested, nullptr, Msg::ChangeCodeTitle, Msg::CodeChangedAndVerified)) {
    result = ChangeNotVerified;
  }
  ReportFinished();
  return result;
}

ChangeResult TransmitterOperations::ChangeRadioCodeSteps() {
  view_.SetStatusText(QString());
  if (state_.CurrentRadioCode.isEmpty()) (void)IdentifyTransmitter();
  if (state_.CurrentRadioCode.isEmpty()) return ChangeNotDone;
  finished_.back().codeBefore = state_.CurrentRadioCode;
  finished_.back().codeAfter = state_.CurrentRadioCode;
  const QString& requested = state_.RequestedRadioCode;
  if (NewRadioCodeRefusal(requested, NewCodeSender::CodeChange)) return ChangeNotDone;
  if (!OpenLink()) return ChangeLinkLost;
  ChangeResult result = ChangeNotDone;
  if (!BlocksTaken({RadioCodeBlockText(requested)})) {
    result = state_.link.LineLost() ? ChangeLinkLost : ChangeFailed;
  } else if (state_.link.StartJob(state_.CurrentRadioCode) != OpuLink::Success) {
    result = state_.link.LineLost() ? ChangeLinkLost : ChangeJobRefused;
  } else {
    StartPolling(PollWrite);
    const ModalResult answer = WaitForJob(Msg::ChangeCodeTitle, Msg::PressButtonToChangeCode);
    if (answer == mrAbort) NoteMessage(Msg::CancelledByUser, Text(Msg::CancelledByUser));
    result = ChangeResultOf(answer);
    SetPollTag(PollNothing);
    StopPolling();
  }
  (void)state_.link.SendWriteBlock(QString());
  state_.link.Close();
  return result;
}

// --- Verification after writing ------------------------------------------------------------

bool TransmitterOperations::VerifyWritten(const QString& code, const ParameterImage* sent,
                                          Msg::Id titleText, Msg::Id doneText) {
  // The write ended before its check began.
  finished_.back().finishedAt = QDateTime::currentDateTime();
  finished_.push_back(StartedOperation(OperationKind::Verify, code));
  ParameterImage readBack{};
  const std::optional<ModalResult> result = ReadBack(code, titleText, readBack);
  if (result != mrOk) {
    ReportVerifyFailure(result, code);
    return false;
  }
  const CodecContext context = view_.ShownCodecContext();
  const std::vector<ComparedField> unkept =
      sent == nullptr ? std::vector<ComparedField>{}
                      : UnkeptWrittenFields(*sent, readBack, context, Text);
  if (!unkept.empty()) {
    QString lines;
    for (const ComparedField& field : unkept) {
      const QString caption = Text(FieldCaptionText(field.field, context.limitMode));
      lines += FormatText(Msg::VerifyDifferenceLine, {caption, field.left, field.right}) + u'\n';
    }
    finished_.back().image = KeptBytes(readBack, code);
    ShowError(Msg::VerifyFoundDifferences, {lines});
    return false;
  }
  NoteSuccess(code, KeptBytes(readBack, code));
  view_.SetStatusText(Text(doneText));
  return true;
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
    StartPolling(PollRead);
    result = WaitForJob(titleText, Msg::PressButtonToVerify);
    StopPolling();
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

void TransmitterOperations::ReportVerifyFailure(std::optional<ModalResult> result,
                                                const QString& code) {
  switch (result.value_or(mrNone)) {
    case mrAbort:
      ShowStatus(Msg::VerifyCancelled);
      break;
    case mrCancel:
      ShowError(Msg::VerifyFailed, {Text(Msg::ReadFailed)});
      break;
    case mrIgnore:
      ShowError(Msg::VerifyFailed, {Text(Msg::WaitTimedOut)});
      break;
    case mrLineLost:
      ShowError(Msg::VerifyFailed, {Text(Msg::OpuNotReachable)});
      break;
    default:
      // The OPU reaches a transmitter by its code: one that did not take the job does not
      // answer to it.
      ShowError(Msg::VerifyPendantSilent, {code});
      break;
  }
}

// --- The record of an operation --------------------------------------------------------------

void TransmitterOperations::BeginRecord(OperationKind kind) {
  finished_.assign(1, StartedOperation(kind, QString()));
}

void TransmitterOperations::NoteMessage(Msg::Id number, const QString& text) {
  if (finished_.empty()) return;
  finished_.back().messageNumber = number;
  finished_.back().messageText = text;
}

void TransmitterOperations::NoteSuccess(const QString& codeAfter,
                                        const std::optional<ImageBytes>& image) {
  if (finished_.empty()) return;
  finished_.back().succeeded = true;
  finished_.back().codeAfter = codeAfter;
  finished_.back().image = image;
}

void TransmitterOperations::ReportFinished() {
  for (FinishedOperation& operation : finished_) {
    if (operation.finishedAt.isNull()) operation.finishedAt = QDateTime::currentDateTime();
    // An operation that ended without a word still has a line of its own in the record.
    if (!operation.succeeded && operation.messageNumber == 0) {
      operation.messageNumber = Msg::EndedWithoutMessage;
      operation.messageText = Text(Msg::EndedWithoutMessage);
    }
    if (observer_ != nullptr) observer_->OperationFinished(operation);
  }
  finished_.clear();
}

void TransmitterOperations::ShowError(Msg::Id number, const QStringList& arguments) {
  const QString text = FormatText(number, arguments);
  NoteMessage(number, text);
  dialogs_.ShowError(dialogParent_, text);
}

void TransmitterOperations::ShowStatus(Msg::Id number) {
  NoteMessage(number, Text(number));
  view_.SetStatusText(Text(number));
}
