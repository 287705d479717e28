#include "ui/OperationBoxes.h"

#include "ui/UserDialogs.h"

bool ShowOperationMessageBox(UserDialogs& dialogs, QWidget* parent,
                             const OperationMessage& message) {
  if (message.inStatusLine) return false;
  dialogs.ShowMessage(parent, message.information ? BoxKind::Information : BoxKind::Error,
                      message.Text(), BoxButtons::Ok);
  return true;
}

Answer AskInBox(UserDialogs& dialogs, QWidget* parent, const OperationQuestion& question) {
  switch (question.kind) {
    case OperationQuestion::Kind::WriteCodeChange: {
      const ModalResult answer =
          dialogs.ShowInformation(parent, question.text, BoxButtons::YesNoAbort);
      return answer == mrAbort ? Answer::Abort : answer == mrYes ? Answer::Yes : Answer::No;
    }
    case OperationQuestion::Kind::CodeChange:
      // Only No stops: closing the box goes on, as it always has here.
      return dialogs.ShowInformation(parent, question.text, BoxButtons::YesNo) == mrNo
                 ? Answer::No
                 : Answer::Yes;
    case OperationQuestion::Kind::WriteReview: {
      // A write that switches an alarm off is a warning whose default is "Nein".
      const bool alarms = !question.review.alarms.empty();
      const ModalResult answer = dialogs.ShowMessage(
          parent, alarms ? BoxKind::Warning : BoxKind::Confirmation, question.text,
          alarms ? BoxButtons::YesNoDefaultNo : BoxButtons::YesNo);
      return answer == mrYes ? Answer::Yes : Answer::No;
    }
    case OperationQuestion::Kind::FewMeasurements:
      return dialogs.ShowInformation(parent, question.text, BoxButtons::OkCancel) == mrOk
                 ? Answer::Yes
                 : Answer::No;
  }
  return Answer::No;
}
