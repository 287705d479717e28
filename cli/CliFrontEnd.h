#pragma once

#include "cli/CliArguments.h"
#include "files/ProgrammingRecord.h"
#include "image/ImageCodec.h"
#include "image/OperationOutcome.h"
#include "link/OperationFrontEnd.h"
#include "link/OperationRecord.h"

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

// The front end the transmitter operations run against on the command line. It answers the
// operations' questions by the run's options (never by a silent default), keeps every outcome in
// the programming record and the backups as the window does, and prints what the window would put
// in boxes.
class CliFrontEnd final : public OperationFrontEnd,
                          public PendantHistory,
                          public PollTimer,
                          public OperationObserver {
 public:
  CliFrontEnd(const CliCommand& command, QString dataFolder);

  // The poll timer's tick.
  void SetPoll(std::function<void()> poll) { poll_ = std::move(poll); }
  // How values are named: the limit's unit as the options ask for it.
  [[nodiscard]] const CodecContext& Context() const { return context_; }

  // OperationFrontEnd
  void SetStatusText(const QString& text) override { status_ = text; }
  void PendantCodeKnown(const QString& /*code*/) override {}
  void Tell(const OperationMessage& message) override;
  // The fields a write changes are printed; one that switches an alarm off needs --yes, a new
  // code --confirm-new-code, a configuration with few measurements --accept-few-measurements.
  [[nodiscard]] Answer Ask(const OperationQuestion& question) override;

  // PendantHistory
  [[nodiscard]] std::optional<ImageBytes> LastKnownImage(const QString& radioCode) override;
  [[nodiscard]] std::optional<ImageBytes> LastReadImage(const QString& radioCode) override;

  // PollTimer
  void StartPollTimer(int intervalMs) override;
  void StopPollTimer() override { timer_.stop(); }

  // OperationObserver
  void OperationFinished(const OperationOutcome& outcome) override;

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
  QString status_;
  QTimer timer_;
  std::function<void()> poll_;
  std::vector<OperationOutcome> outcomes_;
  QStringList keepProblems_;
  std::vector<RecordEntry> kept_;
  bool questionRefused_ = false;
};
