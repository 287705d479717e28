#pragma once

#include "image/ImageCodec.h"
#include "image/Messages.h"
#include "image/ParameterImage.h"
#include "image/VembaData.h"
#include "ui/UserDialogs.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <vector>

class OpuLink;
struct OpenFailure;
class QDateTime;
class QTimer;
class QWidget;
class TfrmReceiveRadio;

// The main window as the transmitter operations see it: the codec, the 12-measurement warning,
// the status line, the title and the two radio-code fields.
class TransmitterView {
 public:
  [[nodiscard]] virtual int ShowImage(const ParameterImage& image, ImageOrigin expectedOrigin) = 0;
  [[nodiscard]] virtual int BuildImage(ParameterImage& image, ImageOrigin origin) = 0;
  [[nodiscard]] virtual bool ConfirmInactivityCount(const ParameterImage& image) = 0;
  virtual void SetStatusText(const QString& text) = 0;
  virtual void UpdateTitle() = 0;
  [[nodiscard]] virtual QString RadioCodeOldText() const = 0;
  virtual void SetRadioCodeOldText(const QString& text) = 0;
  [[nodiscard]] virtual QString RadioCodeNewText() const = 0;
  // How the window shows values (limit mode, locale), for naming what a verification found.
  [[nodiscard]] virtual CodecContext ShownCodecContext() const = 0;

 protected:
  ~TransmitterView() = default;
};

// The operations a finished-operation report names.
enum class OperationKind { Read, Write, ChangeCode, Verify };

// How one operation ended, for the window to keep in the programming record and the backups.
struct FinishedOperation {
  OperationKind kind = OperationKind::Read;
  QString codeBefore;  // the code the transmitter was identified by; empty when none
  QString codeAfter;   // the code it has afterwards, as far as the operation knows
  bool succeeded = false;
  int messageNumber = 0;  // the message the operation ended with; 0 when it succeeded
  QString messageText;
  // The 256 bytes read or sent, as a configuration file holds them (the radio code at 0x20).
  std::optional<ImageBytes> image;
  QDateTime finishedAt;
};

// Told of every finished read, write, code change and verification, after the operation's own
// messages and status text.
class OperationObserver {
 public:
  virtual void OperationFinished(const FinishedOperation& operation) = 0;

 protected:
  ~OperationObserver() = default;
};

// The main window's members the operations use; they change them in place.
struct TransmitterState {
  OpuLink& link;
  QString& CurrentRadioCode;
  QString& RequestedRadioCode;
  QString& PollAnswer;
  ParameterImage& ReceivedImage;
  ParameterImage& OutgoingImage;
  ImageSourceKind& ImageSource;
  QDateTime& ReadTime;     // when a read last showed the transmitter's configuration
  QTimer& tmrPollOpuInfo;  // the poll timer; its TagProperty selects the poll job
};

// Poll jobs of the poll timer.
enum PollTag : int { PollNothing = 0, PollListen = 100, PollWrite = 200, PollRead = 300 };

// How an identification ended.
enum class Identification {
  Identified,  // CurrentRadioCode holds the code of a transmitter of this product
  Abandoned,   // the user aborted or the OPU reported failure
  Failed,      // the OPU could not be used; the identification has said why
};

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
// opens the link at its start and closes it on every way out; the waiting dialog runs while the
// poll timer asks the OPU how the radio exchange goes.
class TransmitterOperations {
 public:
  static constexpr int PollIntervalMs = 500;
  // An OPU that never takes the listen command must not hold the program.
  static constexpr int MaxListenAttempts = 10;

  TransmitterOperations(TransmitterView& view, const TransmitterState& state, UserDialogs& dialogs,
                        QWidget* dialogParent);

  void AttachWaitingDialog(TfrmReceiveRadio* dialog) { waitingDialog_ = dialog; }
  [[nodiscard]] TfrmReceiveRadio* WaitingDialog() const { return waitingDialog_; }
  // Tests wait less; the OPU is asked every 500 ms otherwise.
  void SetPollIntervalMs(int milliseconds) { pollIntervalMs_ = milliseconds; }
  void SetObserver(OperationObserver* observer) { observer_ = observer; }
  // After a successful write or code change, read the transmitter once more and compare.
  void SetVerifyAfterWrite(bool verify) { verifyAfterWrite_ = verify; }
  [[nodiscard]] bool VerifyAfterWrite() const { return verifyAfterWrite_; }

  // Learns the code of the transmitter whose button is pressed. Every failure empties
  // CurrentRadioCode, so that no operation carries on with an earlier transmitter's code.
  Identification IdentifyTransmitter();
  // The code-change dialog's identification: one that fails ends the code change, and the
  // record keeps it with its message.
  Identification IdentifyForCodeChange();
  void ReadFromDevice();
  void WriteToDevice();
  // Gives the identified transmitter RequestedRadioCode, identifying it first when no code is
  // known.
  [[nodiscard]] ChangeResult ChangeRadioCode();
  // One tick of the poll timer.
  void PollOpuInfo();
  // One tick of the radio-code poll, which no operation starts: a transmitter's code closes
  // the waiting dialog.
  void PollRadioCode();

  [[nodiscard]] const QString& CurrentRadioCode() const { return state_.CurrentRadioCode; }
  void ForgetRadioCode() { state_.CurrentRadioCode.clear(); }
  void SetRequestedRadioCode(const QString& code) { state_.RequestedRadioCode = code; }

 private:
  [[nodiscard]] bool OpenForIdentification();
  // Opens the link; on failure says why in the status line and closes it again.
  [[nodiscard]] bool OpenLink();
  void ReportOpenFailure(const OpenFailure& failure);
  [[nodiscard]] bool StartListeningBounded();
  [[nodiscard]] Identification ListenForTransmitter();
  // Identifies the transmitter for a read or write and shows its code; false ends the operation.
  [[nodiscard]] bool IdentifiedForJob();

  void StartPolling(PollTag tag);
  void StopPolling();
  void SetPollTag(PollTag tag);
  // Shows the waiting dialog for the second button press; its result.
  [[nodiscard]] ModalResult WaitForJob(Msg::Id titleText, Msg::Id actionText);
  void CloseByStatus(int pollResult);

  // Starts the job; on a refusal says so and returns false.
  [[nodiscard]] bool JobStarted(const QString& code);
  void ReadSteps();
  void WriteSteps();
  void ReportReadFailure(ModalResult result);
  void SendReadRequests();
  void TakeReadBlocks();
  void FetchReadBlocks(ParameterImage& image);
  void ShowReceivedImage();
  // Whether the write also gives the transmitter the new code; none when the user aborted.
  [[nodiscard]] std::optional<bool> DecideCodeChange();
  [[nodiscard]] QStringList WriteBlocks(bool withRadioCode) const;
  // Sends the empty block, then each block; false as soon as the OPU does not take one.
  [[nodiscard]] bool BlocksTaken(const QStringList& blocks);
  void ReportWriteOutcome(ModalResult result);
  [[nodiscard]] ChangeResult ChangeRadioCodeSteps();

  // Reads the transmitter once more under the code it now has, without identifying it again, and
  // compares the bytes the write sent (none for a code change); false after saying what differs.
  [[nodiscard]] bool VerifyWritten(const QString& code, const ParameterImage* sent,
                                   Msg::Id titleText, Msg::Id doneText);
  // The read's job under `code` into `image`: the waiting dialog's result, none when the OPU
  // did not start the job.
  [[nodiscard]] std::optional<ModalResult> ReadBack(const QString& code, Msg::Id titleText,
                                                    ParameterImage& image);
  void ReportVerifyFailure(std::optional<ModalResult> result, const QString& code);

  // The record of the operation running: begun by each operation, told to the observer at its end.
  void BeginRecord(OperationKind kind);
  void NoteMessage(Msg::Id number, const QString& text);
  void NoteSuccess(const QString& codeAfter, const std::optional<ImageBytes>& image);
  void ReportFinished();

  void ShowError(Msg::Id number, const QStringList& arguments = {});
  void ShowStatus(Msg::Id number);

  TransmitterView& view_;
  TransmitterState state_;
  UserDialogs& dialogs_;
  QWidget* dialogParent_;
  TfrmReceiveRadio* waitingDialog_ = nullptr;
  int pollIntervalMs_ = PollIntervalMs;
  OperationObserver* observer_ = nullptr;
  bool verifyAfterWrite_ = false;
  std::vector<FinishedOperation> finished_;
};
