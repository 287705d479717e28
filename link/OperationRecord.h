#pragma once

#include "image/Messages.h"
#include "image/OperationOutcome.h"

#include <QString>

#include <optional>
#include <vector>

// Told of every finished read, write, code change and verification, after the operation's own
// messages and status text.
class OperationObserver {
 public:
  virtual void OperationFinished(const OperationOutcome& outcome) = 0;

 protected:
  ~OperationObserver() = default;
};

// The record of the operation running: begun by each operation, noted along its way and told to
// the observer at its end. A write or code change that is checked afterwards records the check as
// an operation of its own.
class OperationRecord {
 public:
  void SetObserver(OperationObserver* observer) { observer_ = observer; }

  void Begin(OperationKind kind);
  // Whether an operation of `kind` has begun and not finished.
  [[nodiscard]] bool IsRunning(OperationKind kind) const {
    return !running_.empty() && running_.back().outcome.kind == kind;
  }
  // The transmitter the operation works on, once it is identified.
  void NoteTransmitter(const QString& code);
  // The message the operation ends with, as far as it has got.
  void NoteMessage(Msg::Id number, const QString& text);
  void NoteSuccess(const QString& codeAfter, const std::optional<ImageBytes>& image);
  // The bytes the operation found although it did not succeed.
  void NoteImage(const ImageBytes& image);
  // The operation ended on the line: what follows (a message box the user reads) does not delay
  // its time.
  void NoteEnded();
  // Ends the operation running and begins its check under `code`.
  void BeginCheck(const QString& code);
  // What the check found decides the checked operation's line too: the check's message when it
  // failed (0: it passed); for a write the bytes the transmitter holds, as read back. A
  // transmitter the check did not reach (`pendantBytes` none) holds bytes nobody knows, and
  // answers to no known code if the operation gave it a new one.
  void NoteCheckFinding(Msg::Id number, const QString& text,
                        const std::optional<ImageBytes>& pendantBytes);
  // Stamps what has not ended yet and tells the observer; an operation that ended without a word
  // gets one.
  void Finish();

 private:
  struct Running {
    OperationOutcome outcome;
    bool succeeded = false;
  };

  std::vector<Running> running_;
  OperationObserver* observer_ = nullptr;
};
