#pragma once

#include "image/ImageCodec.h"
#include "image/Messages.h"
#include "image/ParameterImage.h"
#include "image/VembaData.h"
#include "link/JobWait.h"
#include "link/OperationMessages.h"
#include "link/OperationRecord.h"
#include "link/TransmitterView.h"
#include "ui/UserDialogs.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <set>

class OpuLink;
class QWidget;

// The front end's state the operations use; they change it in place.
struct TransmitterState {
  OpuLink& link;
  QString& CurrentRadioCode;
  QString& RequestedRadioCode;
  QString& PollAnswer;
  ParameterImage& ReceivedImage;
  ParameterImage& OutgoingImage;
  ImageSourceKind& ImageSource;
  QDateTime& ReadTime;  // when a read last showed the transmitter's configuration
};

// How an identification ended.
enum class Identification {
  Identified,    // CurrentRadioCode holds the code of a transmitter of this product
  Abandoned,     // the user aborted or the OPU reported failure
  Failed,        // the OPU could not be used; the identification has said why
  OtherProduct,  // a pendant of another product answered, and the front end stops on that
};

// The code-change question answered in place of the user, as a series answers it from its plan:
// whether the write gives the new code, or the message that refuses the identified pendant before
// anything is sent.
struct CodeChangeAnswer {
  bool change = false;
  std::optional<OperationMessage> refusal;
};
using CodeChangeAnswerer =
    std::function<CodeChangeAnswer(const QString& identifiedCode, const QString& newCode)>;

// Results of ChangeRadioCode.
enum ChangeResult : int {
  ChangeDone = 0,
  ChangeNotDone = 1,
  ChangeFailed = 2,  // the OPU did not take the new code, or the radio exchange failed
  ChangeTimedOut = 3,
  ChangeJobRefused = 4,
  ChangeLinkLost = 5,     // the OPU could not be opened, or its line hung up
  ChangeNotVerified = 6,  // done, but the check afterwards failed; it has said why
};

// Identifying, reading, writing and re-coding the transmitter through the OPU. Each operation
// opens the link at its start and closes it on every way out; the waiting prompt runs while the
// poll timer asks the OPU how the radio exchange goes.
class TransmitterOperations {
 public:
  static constexpr int PollIntervalMs = JobWait::DefaultIntervalMs;
  // An OPU that never takes the listen command must not hold the program.
  static constexpr int MaxListenAttempts = 10;

  // The dialogs' parent may be null, as for a front end without windows.
  TransmitterOperations(TransmitterView& view, PollTimer& pollTimer, const TransmitterState& state,
                        UserDialogs& dialogs, QWidget* dialogParent);

  void AttachWaitingPrompt(WaitingPrompt* prompt) { wait_.AttachPrompt(prompt); }
  [[nodiscard]] WaitingPrompt* Prompt() const { return wait_.Prompt(); }
  // Tests wait less; the OPU is asked every 500 ms otherwise.
  void SetPollIntervalMs(int milliseconds) { wait_.SetIntervalMs(milliseconds); }
  void SetObserver(OperationObserver* observer) { record_.SetObserver(observer); }
  // After a successful write or code change, read the transmitter once more and compare.
  void SetVerifyAfterWrite(bool verify) { verifyAfterWrite_ = verify; }
  [[nodiscard]] bool VerifyAfterWrite() const { return verifyAfterWrite_; }
  // Guarded fields whose switching off or raising a write does not ask about (service mode).
  void SetSilencedInterlocks(const std::set<Field>& fields) { silencedInterlocks_ = fields; }
  // A series: the code question is answered by `answerer`, and a pendant of another product
  // ends the identification with Msg::InvalidProductType instead of listening on.
  void SetCodeChangeAnswerer(CodeChangeAnswerer answerer) { answerer_ = std::move(answerer); }
  void SetStopOnOtherProduct(bool stop) { stopOnOtherProduct_ = stop; }
  // The product type the last identification heard ("07" for this product); empty when none.
  [[nodiscard]] const QString& HeardProductType() const { return heardProductType_; }

  // Learns the code of the transmitter whose button is pressed. Every failure empties
  // CurrentRadioCode, so that no operation carries on with an earlier transmitter's code.
  Identification IdentifyTransmitter();
  // The code-change dialog's identification. It begins the code change's record line: one that
  // fails or is abandoned ends it; after an identification the dialog ends it with
  // ChangeRadioCode or EndCodeChangeUnchanged.
  Identification IdentifyForCodeChange();
  // The identified code change ends without a change: the code was already the new one, or the
  // user said No. Its record line gets `number` and `text`.
  void EndCodeChangeUnchanged(Msg::Id number, const QString& text);
  void ReadFromDevice();
  void WriteToDevice();
  // Gives the identified transmitter RequestedRadioCode, identifying it first when no code is
  // known. Carries on the record line IdentifyForCodeChange began.
  [[nodiscard]] ChangeResult ChangeRadioCode();
  // One tick of the poll timer.
  void PollOpuInfo() { wait_.PollOpuInfo(); }
  // One tick of the radio-code poll, which no operation starts: a transmitter's code ends the
  // waiting prompt.
  void PollRadioCode() { wait_.PollRadioCode(); }

  [[nodiscard]] const QString& CurrentRadioCode() const { return state_.CurrentRadioCode; }
  // Why the link could not be opened at the last attempt: the port's cause and remedy when the
  // port is there but refused, else that the OPU cannot be reached.
  [[nodiscard]] OperationMessage LinkFailure() const;
  void ForgetRadioCode() { state_.CurrentRadioCode.clear(); }
  void SetRequestedRadioCode(const QString& code) { state_.RequestedRadioCode = code; }

 private:
  [[nodiscard]] bool OpenForIdentification();
  // Opens the link; on failure says why in the status line and closes it again.
  [[nodiscard]] bool OpenLink();
  [[nodiscard]] bool StartListeningBounded();
  [[nodiscard]] Identification ListenForTransmitter();
  // Identifies the transmitter for a read or write and shows its code; false ends the operation.
  [[nodiscard]] bool IdentifyForJob();

  // Starts the job; on a refusal says so and returns false.
  [[nodiscard]] bool StartJob(const QString& code);
  void ReadSteps();
  void WriteSteps();
  void ReportReadFailure(ModalResult result);
  void SendReadRequests();
  void TakeReadBlocks();
  void FetchReadBlocks(ParameterImage& image);
  void ShowReceivedImage();
  // Whether the write also gives the transmitter the new code; none when the user aborted.
  [[nodiscard]] std::optional<bool> DecideCodeChange();
  // Compares the write with what the program last knew of the identified transmitter and asks
  // when it changes anything or switches an alarm off; none when the user said no.
  [[nodiscard]] std::optional<WriteReview> ReviewBeforeWrite();
  // Sends the empty block, then each block; false as soon as the OPU does not take one.
  [[nodiscard]] bool SendBlocks(const QStringList& blocks);
  void ReportWriteOutcome(ModalResult result);
  [[nodiscard]] ChangeResult ChangeRadioCodeSteps();

  // What the transmitter holds after the write `sent` gave it `codeAfter`: the sent blocks laid
  // over its last read in this run, else over its latest read backup, or the window's bytes when
  // it was never read.
  [[nodiscard]] ImageBytes BytesAfterWrite(const QString& codeBefore, const QString& codeAfter);
  // A confirmed code change: the window shows the new code and the next operation expects it.
  // An empty code: the transmitter did not answer to the new one, and its code is not known.
  void AdoptRadioCode(const QString& code);

  // How the check after writing ended.
  enum class CheckFinding { Kept, Differs, NotReached };
  // Reads the transmitter once more under the code it now has, without identifying it again, and
  // compares the bytes the write sent (none for a code change); says what it found, and the
  // checked operation's record line follows it.
  [[nodiscard]] CheckFinding VerifyWritten(const QString& code, const ParameterImage* sent,
                                           Msg::Id titleText, Msg::Id doneText, Msg::Id failedText);
  // The read's job under `code` into `image`: the waiting prompt's result, none when the OPU
  // did not start the job.
  [[nodiscard]] std::optional<ModalResult> ReadBack(const QString& code, Msg::Id titleText,
                                                    ParameterImage& image);

  void ShowError(Msg::Id number, const QStringList& arguments = {});
  void ShowStatus(Msg::Id number);
  void Tell(const OperationMessage& message);

  TransmitterView& view_;
  TransmitterState state_;
  UserDialogs& dialogs_;
  QWidget* dialogParent_;
  JobWait wait_;
  bool verifyAfterWrite_ = false;
  std::set<Field> silencedInterlocks_;
  CodeChangeAnswerer answerer_;
  bool stopOnOtherProduct_ = false;
  QString heardProductType_;
  QString openFailure_;  // the port's cause and remedy after the last failed OpenLink
  OperationRecord record_;
  // The bytes of the transmitter last read in this run, with the code it answers to.
  struct KnownTransmitter {
    QString code;
    ImageBytes bytes;
  };
  std::optional<KnownTransmitter> known_;
};
