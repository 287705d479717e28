#pragma once

#include "image/ImageCodec.h"
#include "image/Messages.h"
#include "image/ParameterImage.h"
#include "link/JobWait.h"
#include "link/OperationFrontEnd.h"
#include "link/OperationMessages.h"
#include "link/OperationRecord.h"

#include <QDateTime>
#include <QString>

#include <functional>
#include <optional>
#include <set>

class OpuLink;

// How an identification ended.
enum class Identification {
  Identified,    // CurrentRadioCode holds the code of a transmitter of this product
  Abandoned,     // the user aborted or the OPU reported failure
  Failed,        // the OPU could not be used; the identification has said why
  OtherProduct,  // a pendant of another product answered, and the front end stops on that
};

// What a read brought: the transmitter's bytes (origin OriginRead) when every requested byte
// arrived, with its code and the time; the front end shows them.
struct ReadResult {
  bool jobRan = false;  // the OPU ran the read: what an earlier read showed no longer stands
  bool received = false;
  QString code;
  ParameterImage image{};
  QDateTime time;
};

// A write as the front end hands it over: the configuration built into an image, and the new code
// typed for it.
struct WriteRequest {
  ParameterImage image{};  // built with origin OriginWrite
  // The codec's status of that build: a field that cannot be built is reported once the
  // transmitter has been identified, as the technician expects the button press first.
  int buildStatus = ImageOk;
  // A numeric field whose text must not be built at all (UntypedTextRefusal); refused at once.
  std::optional<Msg::Id> untypedRefusal;
  QString newCode;  // as typed; empty for none
  CodecContext context;
  // The 12-measurement warning and the question before the write were answered once for many
  // pendants (a series); each write then asks neither.
  bool confirmedInAdvance = false;
};

// The warning a write or save of `image` gives when its inactivity alarm would follow after fewer
// than 12 identical position measurements; none when it has enough.
[[nodiscard]] std::optional<OperationQuestion> FewMeasurementsQuestion(const ParameterImage& image,
                                                                       const CodecContext& context);

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
// poll timer asks the OPU how the radio exchange goes. Messages and questions go to the front end
// as values.
class TransmitterOperations {
 public:
  static constexpr int PollIntervalMs = JobWait::DefaultIntervalMs;
  // An OPU that never takes the listen command must not hold the program.
  static constexpr int MaxListenAttempts = 10;

  TransmitterOperations(OpuLink& link, OperationFrontEnd& frontEnd, PollTimer& pollTimer);

  void AttachWaitingPrompt(WaitingPrompt* prompt) { wait_.AttachPrompt(prompt); }
  [[nodiscard]] WaitingPrompt* Prompt() const { return wait_.Prompt(); }
  // Tests wait less; the OPU is asked every 500 ms otherwise.
  void SetPollIntervalMs(int milliseconds) { wait_.SetIntervalMs(milliseconds); }
  void SetObserver(OperationObserver* observer) { record_.SetObserver(observer); }
  // The backups a write is judged against; without them nothing is known of any pendant.
  void SetHistory(PendantHistory* history) { history_ = history; }
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
  // Reads the transmitter; a configuration the codec cannot show (judged in `context`) is
  // reported, and still handed back for the front end to show as far as it goes.
  ReadResult Read(const CodecContext& context);
  void Write(const WriteRequest& request);
  // The code change as its dialog runs it: judges the typed code, identifies the transmitter,
  // stops when it has that code already, asks, re-codes and says how it ended.
  ChangeResult ChangeCode(const QString& typedCode);
  // One tick of the poll timer.
  void PollOpuInfo() { wait_.PollOpuInfo(); }
  // One tick of the radio-code poll, which no operation starts: a transmitter's code ends the
  // waiting prompt.
  void PollRadioCode() { wait_.PollRadioCode(); }

  [[nodiscard]] const QString& CurrentRadioCode() const { return currentCode_; }
  // Why the link could not be opened at the last attempt: the port's cause and remedy when the
  // port is there but refused, else that the OPU cannot be reached.
  [[nodiscard]] OperationMessage LinkFailure() const;
  void ForgetRadioCode() { currentCode_.clear(); }

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
  void ReadSteps(const CodecContext& context, ReadResult& result);
  void ReportReadFailure(ModalResult result);
  void SendReadRequests();
  void TakeReadBlocks(const CodecContext& context, ReadResult& result);
  void FetchReadBlocks(ParameterImage& image);
  void WriteSteps(const WriteRequest& request);
  // Whether the write may go on before the transmitter is identified: the fields' own refusal,
  // the 12-measurement question and the new code's refusal.
  [[nodiscard]] bool MayStartWrite(const WriteRequest& request);
  // Whether the write also gives the transmitter the new code; none when the user aborted.
  [[nodiscard]] std::optional<bool> DecideCodeChange(const QString& newCode);
  // Compares the write with what the program last knew of the identified transmitter and asks
  // when it changes anything or switches an alarm off; none when the user said no.
  [[nodiscard]] std::optional<WriteReview> ReviewBeforeWrite(const WriteRequest& request);
  // Sends the empty block, then each block; false as soon as the OPU does not take one.
  [[nodiscard]] bool SendBlocks(const QStringList& blocks);
  // Runs the write's job; the waiting prompt's result, none when no job started.
  [[nodiscard]] std::optional<ModalResult> SendWrite(const ParameterImage& image, bool changeCode);
  void ReportWriteOutcome(ModalResult result);
  // After a write the OPU confirmed: records it, checks it when asked to, adopts the new code.
  void FinishWrite(const WriteRequest& request, bool changeCode);
  // The code change from the identification on; `closing` is what the user is told at its end.
  [[nodiscard]] ChangeResult ChangeCodeOfIdentified(const QString& newCode,
                                                    std::optional<OperationMessage>& closing);
  [[nodiscard]] ChangeResult ChangeRadioCodeSteps(const QString& newCode);
  [[nodiscard]] std::optional<OperationMessage> ChangeResultMessage(ChangeResult result) const;

  // What the transmitter holds after the write of `sent` gave it `codeAfter`: the sent blocks
  // laid over its last read in this run, else over its latest read backup, or the sent bytes when
  // it was never read.
  [[nodiscard]] ImageBytes BytesAfterWrite(const ParameterImage& sent, const QString& codeBefore,
                                           const QString& codeAfter);
  // A confirmed code change: the front end shows the new code and the next operation expects it.
  // An empty code: the transmitter did not answer to the new one, and its code is not known.
  void AdoptRadioCode(const QString& code);

  // How the check after writing ended.
  enum class CheckFinding { Kept, Differs, NotReached };
  // Reads the transmitter once more under the code it now has, without identifying it again, and
  // compares the bytes the write sent (none for a code change); says what it found, and the
  // checked operation's record line follows it.
  [[nodiscard]] CheckFinding VerifyWritten(const QString& code, const ParameterImage* sent,
                                           const CodecContext& context, Msg::Id titleText,
                                           Msg::Id doneText, Msg::Id failedText);
  // The read's job under `code` into `image`: the waiting prompt's result, none when the OPU
  // did not start the job.
  [[nodiscard]] std::optional<ModalResult> ReadBack(const QString& code, Msg::Id titleText,
                                                    ParameterImage& image);

  void ShowError(Msg::Id number, const QStringList& arguments = {});
  void ShowStatus(Msg::Id number);
  void Tell(const OperationMessage& message);
  [[nodiscard]] Answer Ask(OperationQuestion::Kind kind, const QString& text,
                           const WriteReview& review = {});

  OpuLink& link_;
  OperationFrontEnd& frontEnd_;
  PendantHistory* history_ = nullptr;
  QString currentCode_;
  QString pollAnswer_;
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
