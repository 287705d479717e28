#include "link/OperationRecord.h"

#include "image/Texts.h"

namespace {

OperationOutcome StartedOutcome(OperationKind kind, const QString& code) {
  OperationOutcome outcome;
  outcome.kind = kind;
  outcome.codeBefore = code;
  outcome.codeAfter = code;
  return outcome;
}

}  // namespace

void OperationRecord::Begin(OperationKind kind) {
  running_.assign(1, Running{StartedOutcome(kind, QString()), false});
}

void OperationRecord::NoteTransmitter(const QString& code) {
  if (running_.empty()) return;
  running_.back().outcome.codeBefore = code;
  running_.back().outcome.codeAfter = code;
}

void OperationRecord::NoteMessage(Msg::Id number, const QString& text) {
  if (running_.empty()) return;
  running_.back().outcome.resultNumber = number;
  running_.back().outcome.resultText = text;
}

void OperationRecord::NoteSuccess(const QString& codeAfter,
                                  const std::optional<ImageBytes>& image) {
  if (running_.empty()) return;
  running_.back().succeeded = true;
  running_.back().outcome.codeAfter = codeAfter;
  running_.back().outcome.image = image;
}

void OperationRecord::NoteImage(const ImageBytes& image) {
  if (!running_.empty()) running_.back().outcome.image = image;
}

void OperationRecord::NoteEnded() {
  if (!running_.empty() && running_.back().outcome.finishedAt.isNull())
    running_.back().outcome.finishedAt = QDateTime::currentDateTime();
}

void OperationRecord::BeginCheck(const QString& code) {
  // The write ended before its check began.
  NoteEnded();
  running_.push_back(Running{StartedOutcome(OperationKind::Verify, code), false});
}

void OperationRecord::NoteCheckFinding(Msg::Id number, const QString& text,
                                       const std::optional<ImageBytes>& pendantBytes) {
  if (running_.size() < 2) return;
  Running& checked = running_[running_.size() - 2];
  OperationOutcome& outcome = checked.outcome;
  if (number != 0) {
    checked.succeeded = false;
    outcome.resultNumber = number;
    outcome.resultText = text;
  }
  if (outcome.kind == OperationKind::Write) outcome.image = pendantBytes;
  if (!pendantBytes && outcome.codeAfter != outcome.codeBefore) outcome.codeAfter.clear();
}

void OperationRecord::Finish() {
  for (Running& running : running_) {
    OperationOutcome& outcome = running.outcome;
    if (outcome.finishedAt.isNull()) outcome.finishedAt = QDateTime::currentDateTime();
    // An operation that ended without a word still has a line of its own in the record.
    if (!running.succeeded && outcome.resultNumber == 0) {
      outcome.resultNumber = Msg::EndedWithoutMessage;
      outcome.resultText = Text(Msg::EndedWithoutMessage);
    }
    if (observer_ != nullptr) observer_->OperationFinished(outcome);
  }
  running_.clear();
}
