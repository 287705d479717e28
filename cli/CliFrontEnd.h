#pragma once

#include "cli/CliArguments.h"
#include "files/ProgrammingRecord.h"
#include "image/ImageCodec.h"
#include "image/OperationOutcome.h"
#include "link/OperationRecord.h"
#include "link/TransmitterOperations.h"
#include "link/TransmitterView.h"
#include "link/opu/OpuLink.h"
#include "ui/UserDialogs.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <optional>
#include <vector>

// The data folder the window uses, provisioned as the window's start provisions it.
[[nodiscard]] QString CliDataFolder();

// The window's transmitter members (link, codes, images) for one run of the command line.
struct CliTransmitterMembers {
  explicit CliTransmitterMembers(const OpuLinkOptions& options) : link(options) {}

  [[nodiscard]] TransmitterState State() {
    return {link,          currentRadioCode, requestedRadioCode, pollAnswer,
            receivedImage, outgoingImage,    imageSource,        readTime};
  }

  OpuLink link;
  QString currentRadioCode;
  QString requestedRadioCode;
  QString pollAnswer;
  ParameterImage receivedImage{};
  ParameterImage outgoingImage{};
  ImageSourceKind imageSource = SourceDefault;
  QDateTime readTime;
};

// The front end the transmitter operations run against on the command line. It shows a
// configuration by keeping the values the window would show, builds from them as the window
// does, answers the window's questions by the run's options (never by a silent default), keeps
// every outcome in the programming record and the backups as the window does, and prints what
// the window would put in boxes.
class CliFrontEnd final : public TransmitterView,
                          public PollTimer,
                          public OperationObserver,
                          public UserDialogs {
 public:
  CliFrontEnd(const CliCommand& command, QString dataFolder);

  // The poll timer's tick.
  void SetPoll(std::function<void()> poll) { poll_ = std::move(poll); }

  // TransmitterView
  [[nodiscard]] int ShowImage(const ParameterImage& image, ImageOrigin expectedOrigin) override;
  [[nodiscard]] int BuildImage(ParameterImage& image, ImageOrigin origin) override;
  [[nodiscard]] std::optional<Msg::Id> UntypedFieldRefusal() const override;
  [[nodiscard]] bool ConfirmInactivityCount(const ParameterImage& image) override;
  void SetStatusText(const QString& text) override { status_ = text; }
  void UpdateTitle() override {}
  [[nodiscard]] QString RadioCodeOldText() const override { return radioCodeOld_; }
  void SetRadioCodeOldText(const QString& text) override { radioCodeOld_ = text; }
  [[nodiscard]] QString RadioCodeNewText() const override { return command_.newCode; }
  [[nodiscard]] CodecContext ShownCodecContext() const override { return context_; }
  [[nodiscard]] std::optional<ImageBytes> LastKnownImage(const QString& radioCode) override;
  [[nodiscard]] std::optional<ImageBytes> LastReadImage(const QString& radioCode) override;
  // The fields a write changes are printed; one that switches an alarm off needs --yes.
  [[nodiscard]] bool ConfirmWrite(const WriteReview& review, const QString& question) override;

  // PollTimer
  void StartPollTimer(int intervalMs) override;
  void StopPollTimer() override { timer_.stop(); }

  // OperationObserver
  void OperationFinished(const OperationOutcome& outcome) override;

  // UserDialogs: messages are printed; the code question is answered by --confirm-new-code.
  ModalResult ShowMessage(QWidget* parent, BoxKind kind, const QString& text,
                          BoxButtons buttons) override;
  QString AskOpenFileName(QWidget*, const FileDialogRequest&) override { return {}; }
  QString AskSaveFileName(QWidget*, const FileDialogRequest&) override { return {}; }
  QString AskFolder(QWidget*, const QString&, const QString&) override { return {}; }

  [[nodiscard]] const QString& StatusText() const { return status_; }
  [[nodiscard]] const std::vector<OperationOutcome>& Outcomes() const { return outcomes_; }
  // What could not be kept (backup, record), in the window's words.
  [[nodiscard]] const QStringList& KeepProblems() const { return keepProblems_; }
  // The record line kept for the outcome with this index (empty when it could not be read back).
  [[nodiscard]] RecordEntry KeptEntry(std::size_t index) const {
    return index < kept_.size() ? kept_[index] : RecordEntry{};
  }
  // A question the run's options did not answer: the operation stopped there.
  [[nodiscard]] bool QuestionRefused() const { return questionRefused_; }

 private:
  void RefuseQuestion(const QString& question, const QString& option);

  const CliCommand& command_;
  QString dataFolder_;
  QString technician_;
  CodecContext context_;
  FieldValues fields_;
  QString status_;
  QString radioCodeOld_;
  QTimer timer_;
  std::function<void()> poll_;
  std::vector<OperationOutcome> outcomes_;
  QStringList keepProblems_;
  std::vector<RecordEntry> kept_;
  bool questionRefused_ = false;
};
