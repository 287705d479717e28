#include "link/CodeChangeDialogue.h"

#include "image/FieldRules.h"
#include "image/Texts.h"
#include "ui/UserDialogs.h"

#include <optional>

namespace {

void ReportChangeResult(const TransmitterOperations& operations, UserDialogs& dialogs,
                        QWidget* parent, ChangeResult result) {
  switch (result) {
    case ChangeDone:
      dialogs.ShowInformation(parent, Text(Msg::CodeChanged));
      break;
    case ChangeFailed:
      dialogs.ShowError(parent, Text(Msg::CodeChangeFailed));
      break;
    case ChangeTimedOut:
      dialogs.ShowError(parent, Text(Msg::WaitTimedOut));
      break;
    case ChangeJobRefused:
      dialogs.ShowError(parent, Text(Msg::OpuGetJobFailed));
      break;
    case ChangeLinkLost: {
      const OperationMessage lost = operations.LinkFailure();
      dialogs.ShowError(parent, FormatText(lost.number, lost.arguments));
      break;
    }
    default:
      break;
  }
}

}  // namespace

ChangeResult RunCodeChangeDialogue(TransmitterOperations& operations, UserDialogs& dialogs,
                                   QWidget* parent, const QString& typedCode) {
  // Pasted text passes the key filter; a code that is not hexadecimal never reaches the OPU.
  if (const std::optional<Msg::Id> refusal =
          NewRadioCodeRefusal(typedCode, NewCodeSender::CodeChange)) {
    dialogs.ShowError(parent, Text(*refusal));
    return ChangeNotDone;
  }
  // Named, compared and sent as the code block carries it.
  const QString newCode = RadioCodeAsSent(typedCode);
  operations.ForgetRadioCode();
  operations.Prompt()->SetTitle(Text(Msg::ChangeCodeTitle));
  // A failed identification has shown its own message.
  (void)operations.IdentifyForCodeChange();
  const QString currentCode = operations.CurrentRadioCode();
  if (currentCode.isEmpty()) return ChangeNotDone;
  if (currentCode == newCode) {
    const QString notNeeded = FormatText(Msg::CodeChangeNotNeeded, {currentCode});
    operations.EndCodeChangeUnchanged(Msg::CodeChangeNotNeeded, notNeeded);
    dialogs.ShowInformation(parent, notNeeded);
    return ChangeNotDone;
  }
  // Only No stops: closing the box goes on, as it always has here.
  if (dialogs.ShowInformation(parent, FormatText(Msg::ConfirmCodeChange, {currentCode, newCode}),
                              BoxButtons::YesNo) == mrNo) {
    operations.EndCodeChangeUnchanged(Msg::CancelledByUser, Text(Msg::CancelledByUser));
    return ChangeNotDone;
  }
  operations.SetRequestedRadioCode(newCode);
  const ChangeResult result = operations.ChangeRadioCode();
  ReportChangeResult(operations, dialogs, parent, result);
  return result;
}
