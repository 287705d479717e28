#include "link/opu/ConnectionProbes.h"

#include "image/ParameterImage.h"
#include "image/VembaData.h"

#include <memory>

ConnectionProbes::ConnectionProbes(const OpuLinkOptions& options, SerialPortPlaces places)
    : namedPort_(options.portPath),
      places_(std::move(places)),
      driver_(MakePortDriver(namedPort_, places_).release()),
      link_(std::unique_ptr<OpuDriver>(driver_), options.traceFile) {}

ConnectionProbes::~ConnectionProbes() {
  Finish();
}

PortSearch ConnectionProbes::FindPorts() const {
  PortSearch search;
  search.namedPort = namedPort_;
  search.namedPortExists = !namedPort_.isEmpty() && PortExists(namedPort_);
  search.usbPorts = ListUsbPorts(places_);
  search.opuPorts =
      FindPortsByDescription(QString::fromLatin1(OpuLink::Description), search.usbPorts);
  return search;
}

PortOpening ExplainFailedOpening(const OpenFailure& failure, const QString& systemText) {
  PortOpening opening;
  opening.failure = failure;
  opening.port = failure.port;
  opening.systemText = systemText;
  if (failure.kind == OpenFailure::NoPermission) {
    opening.membership = MembershipOf(failure.group);
    opening.groupMayOpen = GroupMayOpen(opening.port);
  }
  if (failure.kind == OpenFailure::Busy) opening.holders = ProgramsHolding(opening.port);
  return opening;
}

PortOpening ConnectionProbes::Open() {
  Finish();
  if (link_.Open() == 0) {
    PortOpening opening;
    opening.port = driver_->OpenedPort();
    return opening;
  }
  OpenFailure failure = link_.LastOpenFailure();
  // A port that opened but refused its line settings is a failure without a kind of its own.
  if (failure.kind == OpenFailure::None) failure.kind = OpenFailure::Other;
  if (failure.port.isEmpty()) failure.port = driver_->OpenedPort();
  const QString systemText = link_.LastOpenError();
  link_.Close();
  return ExplainFailedOpening(failure, systemText);
}

VersionAnswer ConnectionProbes::AskVersion() {
  VersionAnswer answer;
  answer.answered = link_.IsOpen() && link_.ReadOpuVersion(answer.version) == OpuLink::Success;
  answer.newEnough =
      answer.answered &&
      OpuLink::VersionIsNewEnough(answer.version, QString::fromLatin1(OpuLink::RequiredVersion));
  return answer;
}

bool ConnectionProbes::StartListening() {
  // The OPU reports the product-type byte of the transmitter it hears, with its code.
  listening_ = link_.IsOpen() &&
               link_.StartListening(QString::fromLatin1(OpuLink::AnyTransmitter),
                                    VembaData::ByteToHex(ProductTypeAddress)) == OpuLink::Success;
  return listening_;
}

ButtonAnswer ConnectionProbes::PollButton() {
  ButtonAnswer answer;
  if (!listening_ || link_.LineLost()) {
    answer.state = ButtonAnswer::LineLost;
    return answer;
  }
  QString polled;
  (void)link_.PollListening(polled);
  if (link_.LineLost()) {
    answer.state = ButtonAnswer::LineLost;
  } else if (polled == QLatin1String(OpuLink::ListeningFailed)) {
    answer.state = ButtonAnswer::ListeningFailed;
  } else if (const auto heard = OpuLink::ParseListeningAnswer(polled)) {
    answer.state = ButtonAnswer::Heard;
    answer.radioCode = heard->radioCode;
    answer.productType = heard->productType;
  } else if (OpuLink::ListeningAnswerComplete(polled)) {
    // The OPU has stopped listening, but its answer names no transmitter: waiting on would
    // end in blaming the distance or the battery.
    answer.state = ButtonAnswer::ListeningFailed;
  }
  return answer;
}

void ConnectionProbes::Finish() {
  if (listening_ && link_.IsOpen() && !link_.LineLost()) (void)link_.StopListening();
  listening_ = false;
  link_.Close();
}
