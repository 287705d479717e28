#pragma once

#include "image/FieldRules.h"
#include "image/ImageCodec.h"
#include "image/OperationOutcome.h"
#include "image/ParameterImage.h"
#include "link/ModalResult.h"
#include "link/OperationFrontEnd.h"
#include "link/OperationRecord.h"
#include "link/TransmitterOperations.h"
#include "link/opu/OpuLink.h"
#include "link/opu/OpuLinkOptions.h"

#include <QDateTime>
#include <QEventLoop>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <vector>

// A front end without windows for the transmitter operations: the fields it shows are the codec's
// plain values, the boxes it would show are kept as texts, the waiting prompt is an event loop
// that a test's "user" ends, and the poll timer is a plain timer.

// The configuration as plain field values, what the operations tell, and the answers to their
// questions: the code questions from a script, as boxes; the questions before a write from flags.
class FakeTransmitterView final : public OperationFrontEnd, public PendantHistory {
 public:
  struct Shown {
    QString text;
    bool question = false;
    bool information = false;  // good news, not an error
  };

  FieldValues fields;
  CodecContext context{LimitAsTime, QLocale(QLocale::German, QLocale::Germany)};
  bool confirmInactivityCount = true;
  std::map<QString, ImageBytes> knownImages;  // by radio code
  std::map<QString, ImageBytes> readImages;   // the latest read backups, by radio code
  bool confirmWrite = true;
  std::vector<WriteReview> reviews;  // each asked about, with its question
  QStringList writeQuestions;
  QString status;
  // Answers for the next code questions, in order (mrYes, mrNo, mrAbort); else Yes.
  std::deque<ModalResult> answers;
  // Called while a box is "open", e.g. to check the state in the middle of an operation.
  std::function<void(const Shown&)> onMessage;
  std::vector<Shown> messages;

  void SetStatusText(const QString& text) override { status = text; }
  void PendantCodeKnown(const QString& code) override {
    fields.texts[Field::edtRadioCodeOld] = code;
  }
  void Tell(const OperationMessage& message) override {
    if (message.inStatusLine) {
      status = message.Text();
    } else {
      show({message.Text(), false, message.information});
    }
  }
  Answer Ask(const OperationQuestion& question) override {
    switch (question.kind) {
      case OperationQuestion::Kind::WriteReview:
        reviews.push_back(question.review);
        writeQuestions << question.text;
        return confirmWrite ? Answer::Yes : Answer::No;
      case OperationQuestion::Kind::FewMeasurements:
        return confirmInactivityCount ? Answer::Yes : Answer::No;
      case OperationQuestion::Kind::WriteCodeChange:
      case OperationQuestion::Kind::CodeChange:
        break;
    }
    show({question.text, true, false});
    if (answers.empty()) return Answer::Yes;
    const ModalResult answer = answers.front();
    answers.pop_front();
    return answer == mrAbort ? Answer::Abort : answer == mrNo ? Answer::No : Answer::Yes;
  }
  std::optional<ImageBytes> LastKnownImage(const QString& radioCode) override {
    const auto known = knownImages.find(radioCode);
    if (known == knownImages.end()) return std::nullopt;
    return known->second;
  }
  std::optional<ImageBytes> LastReadImage(const QString& radioCode) override {
    const auto read = readImages.find(radioCode);
    if (read == readImages.end()) return std::nullopt;
    return read->second;
  }

  // Shows an image in the fields as the window does; the codec's status.
  int ShowImage(const ParameterImage& image, ImageOrigin expectedOrigin) {
    const ShowResult shown = ShowImageValues(image, expectedOrigin, context);
    for (const ShownValue& value : shown.values) {
      fields.texts[value.field] = value.text;
      fields.checks[value.field] = value.checked;
      if (value.unit != NoUnit) fields.selectedUnit = value.unit;
    }
    return shown.status;
  }
  // The fields as a write takes them, as the window builds them.
  [[nodiscard]] WriteRequest Request() const {
    WriteRequest request;
    request.context = context;
    request.untypedRefusal = UntypedTextRefusal(fields, context);
    request.buildStatus = BuildImageFromFields(request.image, OriginWrite, fields, context);
    request.newCode = fields.text(Field::edtRadioCodeNew);
    return request;
  }

  [[nodiscard]] QStringList texts() const {
    QStringList result;
    for (const Shown& shown : messages) result << shown.text;
    return result;
  }
  void clear() { messages.clear(); }

 private:
  void show(const Shown& shown) {
    messages.push_back(shown);
    if (onMessage) onMessage(messages.back());
  }
};

// The waiting prompt: Exec runs an event loop until Close; while it waits, `whileWaiting` is
// called every few milliseconds, as a user who looks at the prompt and acts.
class FakeWaitingPrompt final : public WaitingPrompt {
 public:
  QString title;
  QString groupCaption;
  QString actionText;
  std::function<void(FakeWaitingPrompt&)> whileWaiting;

  FakeWaitingPrompt() {
    user_.setInterval(5);
    QObject::connect(&user_, &QTimer::timeout, [this] {
      if (waiting_ && whileWaiting) whileWaiting(*this);
    });
  }

  void SetTitle(const QString& text) override { title = text; }
  void SetGroupCaption(const QString& text) override { groupCaption = text; }
  void SetActionText(const QString& text) override { actionText = text; }
  ModalResult Exec() override {
    QEventLoop loop;
    loop_ = &loop;
    waiting_ = true;
    result_ = mrNone;
    user_.start();
    loop.exec();
    user_.stop();
    loop_ = nullptr;
    return result_;
  }
  void Close(ModalResult result) override {
    if (!waiting_) return;
    waiting_ = false;
    result_ = result;
    loop_->quit();
  }
  bool Waiting() const override { return waiting_; }
  // The user's Abort.
  void Abort() { Close(mrAbort); }

 private:
  QTimer user_;
  QEventLoop* loop_ = nullptr;
  bool waiting_ = false;
  ModalResult result_ = mrNone;
};

// The poll timer: each tick calls `tick`.
class FakePollTimer final : public PollTimer {
 public:
  std::function<void()> tick;

  FakePollTimer() {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      if (tick) tick();
    });
  }
  void StartPollTimer(int intervalMs) override { timer_.start(intervalMs); }
  void StopPollTimer() override { timer_.stop(); }
  [[nodiscard]] bool Running() const { return timer_.isActive(); }

 private:
  QTimer timer_;
};

// Keeps every outcome the operations report.
class RecordingObserver final : public OperationObserver {
 public:
  std::vector<OperationOutcome> outcomes;
  void OperationFinished(const OperationOutcome& outcome) override { outcomes.push_back(outcome); }
};

// The fakes and the operations, wired as the main window wires them.
class FakeFrontEnd {
 public:
  FakeFrontEnd(const OpuLinkOptions& options, int pollIntervalMs)
      : link(options), operations(link, view, pollTimer) {
    operations.AttachWaitingPrompt(&prompt);
    operations.SetObserver(&observer);
    operations.SetHistory(&view);
    operations.SetPollIntervalMs(pollIntervalMs);
    pollTimer.tick = [this] { operations.PollOpuInfo(); };
  }

  // A read whose configuration the fields then show, as the window shows it.
  void Read() {
    const ReadResult result = operations.Read(view.context);
    if (!result.received) return;
    (void)view.ShowImage(result.image, OriginRead);
    ImageSource = SourceTransmitter;
    ++titleUpdates;
  }
  void Write() { operations.Write(view.Request()); }

  OpuLink link;
  ImageSourceKind ImageSource = SourceDefault;
  int titleUpdates = 0;
  FakeTransmitterView view;
  FakeWaitingPrompt prompt;
  FakePollTimer pollTimer;
  RecordingObserver observer;
  TransmitterOperations operations;
};
