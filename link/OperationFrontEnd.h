#pragma once

#include "image/ParameterImage.h"
#include "image/WriteReview.h"
#include "link/ModalResult.h"
#include "link/OperationMessages.h"

#include <QString>

#include <optional>

// What the transmitter operations need from the front end that drives them: the main window, the
// command line, a series or a test. The operations hand it values and ask it questions; they
// never show anything themselves.

// A question an operation asks before it goes on; the front end answers it as the user would.
struct OperationQuestion {
  enum class Kind {
    // Whether the write also gives the pendant the new code: Yes, No (write without it), Abort.
    WriteCodeChange,
    // Whether the code change goes ahead: only No stops it.
    CodeChange,
    // The fields a write changes and the alarms it switches off (`review`): Yes lets it go. Where
    // the review names alarms a careless answer can harm a resident, so No must be the default.
    WriteReview,
    // Fewer than 12 identical position measurements before the inactivity alarm: Yes (OK) goes on.
    FewMeasurements,
  };
  Kind kind{};
  QString text;
  WriteReview review;    // WriteReview only
  int measurements = 0;  // FewMeasurements only: the identical measurements before the alarm
};

enum class Answer { Yes, No, Abort };

class OperationFrontEnd {
 public:
  // Emptied as each operation starts; then its progress and how it ended.
  virtual void SetStatusText(const QString& text) = 0;
  // The code the pendant in the OPU's reach answers to, as soon as it is known.
  virtual void PendantCodeKnown(const QString& code) = 0;
  // A message the operation ends with: an error or information box, or the status line.
  virtual void Tell(const OperationMessage& message) = 0;
  [[nodiscard]] virtual Answer Ask(const OperationQuestion& question) = 0;

 protected:
  ~OperationFrontEnd() = default;
};

// What the program kept of a pendant, by its code: its backups.
class PendantHistory {
 public:
  // The bytes of its latest read or write backup: what the program last knew of it.
  [[nodiscard]] virtual std::optional<ImageBytes> LastKnownImage(const QString& radioCode) = 0;
  // The bytes of its latest read backup: what it held when it was last read.
  [[nodiscard]] virtual std::optional<ImageBytes> LastReadImage(const QString& radioCode) = 0;

 protected:
  ~PendantHistory() = default;
};

class WaitingPrompt {
 public:
  virtual void SetTitle(const QString& text) = 0;
  virtual void SetGroupCaption(const QString& text) = 0;
  virtual void SetActionText(const QString& text) = 0;
  [[nodiscard]] virtual ModalResult Exec() = 0;
  virtual void Close(ModalResult result) = 0;
  // True only while Exec waits: a poll outside it would take an answer nobody waits for.
  [[nodiscard]] virtual bool Waiting() const = 0;

 protected:
  ~WaitingPrompt() = default;
};

// The owner of the poll timer: while it runs, each tick calls TransmitterOperations::PollOpuInfo.
class PollTimer {
 public:
  virtual void StartPollTimer(int intervalMs) = 0;
  virtual void StopPollTimer() = 0;

 protected:
  ~PollTimer() = default;
};
