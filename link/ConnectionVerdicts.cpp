#include "link/ConnectionVerdicts.h"

#include "image/ParameterImage.h"
#include "image/Texts.h"
#include "image/VembaData.h"
#include "link/ConnectionAdvice.h"

namespace {

QString PortList(const std::vector<UsbSerialPort>& ports) {
  QStringList named;
  for (const UsbSerialPort& port : ports) {
    named << (port.product.isEmpty()
                  ? FormatText(Msg::CheckPortWithoutName, {port.device})
                  : FormatText(Msg::CheckPortWithName, {port.device, port.product}));
  }
  return named.join(QStringLiteral(", "));
}

Msg::Id NoPermissionText(const PortOpening& opening) {
  if (!opening.groupMayOpen) return Msg::CheckInstallDeviceRule;
  switch (opening.membership) {
    case GroupMembership::NotMember:
      return Msg::CheckJoinGroup;
    case GroupMembership::AfterNextLogin:
      return Msg::CheckLogInAgain;
    case GroupMembership::InSession:
      return Msg::CheckAskAdministrator;
    case GroupMembership::Unknown:
      break;
  }
  return Msg::CheckInstallDeviceRule;
}

CheckVerdict Passed(const QString& text) {
  return {CheckMark::Passed, text};
}

CheckVerdict Failed(const QString& text) {
  return {CheckMark::Failed, text};
}

}  // namespace

Msg::Id CheckMarkText(CheckMark mark) {
  switch (mark) {
    case CheckMark::Passed:
      return Msg::CheckPassed;
    case CheckMark::Failed:
      return Msg::CheckFailed;
    case CheckMark::Running:
      return Msg::CheckRunning;
    case CheckMark::NotRun:
      break;
  }
  return Msg::CheckNotRun;
}

CheckVerdict PortSearchVerdict(const PortSearch& search) {
  if (!search.namedPort.isEmpty()) {
    return search.Passed() ? Passed(FormatText(Msg::CheckNamedPortPresent, {search.namedPort}))
                           : Failed(FormatText(Msg::CheckNamedPortMissing, {search.namedPort}));
  }
  if (search.Passed())
    return Passed(FormatText(Msg::CheckAdapterFound, {search.opuPorts.join(QStringLiteral(", "))}));
  if (search.usbPorts.empty()) return Failed(Text(NoUsbPortAdvice()));
  return Failed(FormatText(Msg::CheckNoPortWithName,
                           {QString::fromLatin1(OpuLink::Description), PortList(search.usbPorts)}));
}

CheckVerdict PortOpeningVerdict(const PortOpening& opening) {
  const QString& port = opening.port;
  switch (opening.failure.kind) {
    case OpenFailure::None:
      return Passed(FormatText(Msg::CheckPortOpened, {port}));
    case OpenFailure::NoPermission: {
      const QString& group = opening.failure.group;
      return Failed(FormatText(NoPermissionText(opening), {port, group, group}));
    }
    case OpenFailure::Busy:
      return Failed(
          FormatText(Msg::PortBusy, {port}) + QLatin1Char(' ') +
          (opening.holders.isEmpty()
               ? Text(Msg::CheckAgainAfterwards)
               : FormatText(Msg::CheckPortHeldBy, {opening.holders.join(QStringLiteral(", "))})));
    case OpenFailure::NotFound:
      return Failed(FormatText(PortGoneAdvice(), {port}));
    case OpenFailure::Other:
      break;
  }
  return Failed(FormatText(Msg::PortNotOpened, {port}) + QLatin1Char(' ') +
                FormatText(Msg::CheckPortFailedReason, {opening.systemText}));
}

CheckVerdict VersionVerdict(const VersionAnswer& answer) {
  const QString required = QString::fromLatin1(OpuLink::RequiredVersion);
  if (!answer.answered) return Failed(Text(Msg::CheckOpuSilent));
  if (!answer.newEnough) return Failed(FormatText(Msg::CheckOpuTooOld, {answer.version, required}));
  return Passed(FormatText(Msg::CheckOpuVersionFine, {answer.version, required}));
}

CheckVerdict ButtonVerdict(const ButtonAnswer& answer, int waitSeconds) {
  switch (answer.state) {
    case ButtonAnswer::Heard:
      if (answer.productType == VembaData::ByteToHex(ThisProductType))
        return Passed(FormatText(Msg::CheckPendantHeard, {answer.radioCode, answer.productType}));
      return Failed(FormatText(Msg::CheckOtherProductType, {answer.radioCode, answer.productType}));
    case ButtonAnswer::ListeningFailed:
      return Failed(Text(Msg::CheckOpuStoppedWaiting));
    case ButtonAnswer::LineLost:
      return Failed(Text(Msg::CheckLineBroken));
    case ButtonAnswer::Waiting:
      break;
  }
  return Failed(FormatText(Msg::CheckNoPendantHeard, {QString::number(waitSeconds)}));
}
