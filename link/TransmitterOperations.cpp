#include "link/TransmitterOperations.h"

#include "image/FieldRules.h"
#include "image/ImageCodec.h"
#include "image/Texts.h"
#include "image/VembaData.h"
#include "link/TransferBlocks.h"
#include "link/opu/ConnectionProbes.h"
#include "link/opu/OpuLink.h"

#include <QDateTime>

#include <optional>

namespace {

// The OPU listens for any transmitter and reports the product-type byte with its code.
const QString ProductTypeParameter = VembaData::ByteToHex(ProductTypeAddress);
const QString ThisProductTypeText = VembaData::ByteToHex(ThisProductType);

}  // namespace

std::optional<OperationQuestion> FewMeasurementsQuestion(const ParameterImage& image,
                                                         const CodecContext& context) {
  const int measurements = InactivityCountOf(image);
  if (measurements >= RecommendedInactivityCount) return std::nullopt;
  return OperationQuestion{OperationQuestion::Kind::FewMeasurements,
                           FewMeasurementsText(VembaData::ExtractImageBytes(image), context),
                           {},
                           measurements};
}

TransmitterOperations::TransmitterOperations(OpuLink& link, OperationFrontEnd& frontEnd,
                                             PollTimer& pollTimer)
    : link_(link), frontEnd_(frontEnd), wait_(link, pollAnswer_, pollTimer) {}

// --- Identification ------------------------------------------------------------------------

Identification TransmitterOperations::IdentifyTransmitter() {
  currentCode_.clear();
  heardProductType_.clear();
  if (!OpenForIdentification()) return Identification::Failed;
  wait_.StartPolling(PollListen);
  Identification outcome = ListenForTransmitter();
  wait_.StopPolling();
  (void)link_.StopListening();
  // A line that hung up on the way has lost the transmitter it heard.
  if (link_.LineLost()) outcome = Identification::Failed;
  link_.Close();
  if (outcome != Identification::Identified) currentCode_.clear();
  if (outcome == Identification::Failed) ShowError(Msg::OpuNotReachable);
  return outcome;
}

bool TransmitterOperations::OpenForIdentification() {
  if (!OpenLink()) {
    Tell(LinkFailure());
    return false;
  }
  const int version = link_.CheckOpuVersion(QString::fromLatin1(OpuLink::RequiredVersion));
  if (version != OpuLink::Success) {
    link_.Close();
    // Only an OPU that told its version can be told to update it; silence, garbage or a
    // hang-up means that the OPU cannot be reached.
    ShowError(version == OpuLink::VersionTooOld ? Msg::OpuFirmwareTooOld : Msg::OpuNotReachable);
    return false;
  }
  return true;
}

bool TransmitterOperations::OpenLink() {
  openFailure_.clear();
  if (link_.Open() == 0) return true;
  const OpenFailure failure = link_.LastOpenFailure();
  const QString systemText = link_.LastOpenError();
  link_.Close();
  // A port that is there but refused (another program holds it, the user may not use it) is
  // not a matter of cable and power supply: the box and the status line say what to put right.
  openFailure_ = OpenFailureText(ExplainFailedOpening(failure, systemText));
  if (!openFailure_.isEmpty()) frontEnd_.SetStatusText(openFailure_);
  return false;
}

OperationMessage TransmitterOperations::LinkFailure() const {
  if (openFailure_.isEmpty()) return {Msg::OpuNotReachable, {}, false};
  return {Msg::PortUnusable, {openFailure_}, false};
}

bool TransmitterOperations::StartListeningBounded() {
  for (int attempt = 0; attempt < MaxListenAttempts && !link_.LineLost(); ++attempt) {
    if (link_.StartListening(QString::fromLatin1(OpuLink::AnyTransmitter), ProductTypeParameter) ==
        0)
      return true;
  }
  return false;
}

Identification TransmitterOperations::ListenForTransmitter() {
  while (true) {
    if (!StartListeningBounded()) return Identification::Failed;
    currentCode_.clear();
    const ModalResult result = wait_.WaitForListening();
    if (result == mrLineLost) return Identification::Failed;
    if (result == mrCancel || result == mrAbort) return Identification::Abandoned;
    // Another product, or an answer too long to be a code, sends the OPU listening again.
    const auto heard = result == mrOk ? OpuLink::ParseListeningAnswer(pollAnswer_) : std::nullopt;
    if (heard) {
      currentCode_ = heard->radioCode;
      heardProductType_ = heard->productType;
      if (heard->productType == ThisProductTypeText) return Identification::Identified;
      if (stopOnOtherProduct_) return Identification::OtherProduct;
    }
  }
}

// --- Reading -------------------------------------------------------------------------------

ReadResult TransmitterOperations::Read(const CodecContext& context) {
  ReadResult result;
  record_.Begin(OperationKind::Read);
  ReadSteps(context, result);
  record_.Finish();
  return result;
}

void TransmitterOperations::ReadSteps(const CodecContext& context, ReadResult& result) {
  frontEnd_.SetStatusText(QString());
  wait_.Prompt()->SetTitle(Text(Msg::ReadTitle));
  if (!IdentifyForJob()) return;
  if (!OpenLink()) {
    Tell(LinkFailure());
    return;
  }
  SendReadRequests();
  if (StartJob(currentCode_)) {
    result.jobRan = true;
    wait_.StartPolling(PollRead);
    const ModalResult answer = wait_.WaitForJob(Msg::ReadTitle, Msg::PressButtonToRead);
    ReportReadFailure(answer);
    wait_.StopPolling();
    if (answer == mrOk) TakeReadBlocks(context, result);
  }
  (void)link_.SendReadRequest(QString());
  link_.Close();
}

void TransmitterOperations::SendReadRequests() {
  (void)link_.SendReadRequest(QString());
  for (const QString& request : ReadRequests()) (void)link_.SendReadRequest(request);
}

bool TransmitterOperations::IdentifyForJob() {
  const Identification identified = IdentifyTransmitter();
  // A failed identification has shown its own message.
  if (identified == Identification::Failed) return false;
  if (identified == Identification::OtherProduct) {
    ShowError(Msg::InvalidProductType);
    return false;
  }
  if (currentCode_.isEmpty()) {
    ShowStatus(Msg::CodeReadCancelled);
    return false;
  }
  frontEnd_.PendantCodeKnown(currentCode_);
  record_.NoteTransmitter(currentCode_);
  return true;
}

bool TransmitterOperations::StartJob(const QString& code) {
  const int started = link_.StartJob(code);
  if (started == OpuLink::Success) return true;
  ShowError(link_.LineLost() ? Msg::OpuNotReachable : Msg::OpuGetJobFailed);
  return false;
}

void TransmitterOperations::ReportReadFailure(ModalResult result) {
  const std::optional<OperationMessage> failure = JobEndMessage(OperationKind::Read, result);
  if (!failure) return;
  (void)link_.SendReadRequest(QString());
  wait_.SetPollTag(PollNothing);
  Tell(*failure);
}

void TransmitterOperations::TakeReadBlocks(const CodecContext& context, ReadResult& result) {
  ParameterImage image{};
  FetchReadBlocks(image);
  // A read that lost any byte it asked for is a failed read: the window must not show values
  // the transmitter never sent, nor a following write store them.
  const bool lineLost = link_.LineLost();
  if (lineLost || !HoldsEveryRequestedByte(image)) {
    ShowError(lineLost ? Msg::OpuNotReachable : Msg::ReadFailed);
    return;
  }
  known_ = KnownTransmitter{currentCode_, KeptBytes(image, currentCode_)};
  record_.NoteSuccess(currentCode_, known_->bytes);
  result.received = true;
  result.code = currentCode_;
  result.image = image;
  result.time = QDateTime::currentDateTime();
  const int status = ShowImageValues(image, OriginRead, context).status;
  if (status >= 0) {
    ShowError(Msg::DataConversionFailed,
              {QString::number(image[status].value), QString::number(status)});
  } else if (status == ImageWrongProduct) {
    ShowError(Msg::InvalidProductType);
  } else {
    frontEnd_.SetStatusText(Text(Msg::ReadFinished));
  }
}

void TransmitterOperations::FetchReadBlocks(ParameterImage& image) {
  // Every block carries at least one of the image's 256 bytes: an OPU that sends more blocks
  // than that is not ending its list, and must not hold the program for ever.
  QString block;
  for (int fetched = 0; fetched < ImageSize && link_.FetchReadBlock(block) == OpuLink::Success;
       ++fetched) {
    (void)VembaData::StoreImageRecord(image, block, OriginRead);
  }
}

void TransmitterOperations::ShowError(Msg::Id number, const QStringList& arguments) {
  const QString text = FormatText(number, arguments);
  record_.NoteMessage(number, text);
  record_.NoteEnded();
  frontEnd_.Tell(OperationMessage{number, arguments});
}

void TransmitterOperations::Tell(const OperationMessage& message) {
  if (message.inStatusLine) {
    ShowStatus(message.number);
  } else {
    ShowError(message.number, message.arguments);
  }
}

Answer TransmitterOperations::Ask(OperationQuestion::Kind kind, const QString& text,
                                  const WriteReview& review) {
  return frontEnd_.Ask(OperationQuestion{kind, text, review});
}

void TransmitterOperations::ShowStatus(Msg::Id number) {
  record_.NoteMessage(number, Text(number));
  frontEnd_.SetStatusText(Text(number));
}
