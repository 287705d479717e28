#pragma once

#include "image/FieldRules.h"
#include "image/ImageCodec.h"
#include "image/OperationOutcome.h"
#include "image/ParameterImage.h"
#include "link/OperationRecord.h"
#include "link/TransmitterOperations.h"
#include "link/TransmitterView.h"
#include "link/opu/OpuLink.h"
#include "link/opu/OpuLinkOptions.h"

#include <QDateTime>
#include <QEventLoop>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <map>
#include <optional>
#include <vector>

// A front end without windows for the transmitter operations: the fields it shows are the codec's
// plain values, the waiting prompt is an event loop that a test's "user" ends, and the poll timer
// is a plain timer.

// The configuration as plain field values: what ShowImage shows, BuildImage builds from.
class FakeTransmitterView final : public TransmitterView {
 public:
  FieldValues fields;
  CodecContext context{LimitAsTime, QLocale(QLocale::German, QLocale::Germany)};
  bool confirmInactivityCount = true;
  std::map<QString, ImageBytes> knownImages;  // by radio code
  std::map<QString, ImageBytes> readImages;   // the latest read backups, by radio code
  bool confirmWrite = true;
  std::vector<WriteReview> reviews;  // each asked about, with its question
  QStringList writeQuestions;
  QString status;
  int titleUpdates = 0;

  int ShowImage(const ParameterImage& image, ImageOrigin expectedOrigin) override {
    const ShowResult shown = ShowImageValues(image, expectedOrigin, context);
    for (const ShownValue& value : shown.values) {
      fields.texts[value.field] = value.text;
      fields.checks[value.field] = value.checked;
      if (value.unit != NoUnit) fields.selectedUnit = value.unit;
    }
    return shown.status;
  }
  int BuildImage(ParameterImage& image, ImageOrigin origin) override {
    return BuildImageFromFields(image, origin, fields, context);
  }
  std::optional<Msg::Id> UntypedFieldRefusal() const override {
    return UntypedTextRefusal(fields, context);
  }
  bool ConfirmInactivityCount(const ParameterImage&) override { return confirmInactivityCount; }
  void SetStatusText(const QString& text) override { status = text; }
  void UpdateTitle() override { ++titleUpdates; }
  QString RadioCodeOldText() const override { return fields.text(Field::edtRadioCodeOld); }
  void SetRadioCodeOldText(const QString& text) override {
    fields.texts[Field::edtRadioCodeOld] = text;
  }
  QString RadioCodeNewText() const override { return fields.text(Field::edtRadioCodeNew); }
  CodecContext ShownCodecContext() const override { return context; }
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
  bool ConfirmWrite(const WriteReview& review, const QString& question) override {
    reviews.push_back(review);
    writeQuestions << question;
    return confirmWrite;
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

// The state, the fakes and the operations, wired as the main window wires them, with no dialog
// parent.
class FakeFrontEnd {
 public:
  FakeFrontEnd(const OpuLinkOptions& options, UserDialogs& dialogs, int pollIntervalMs)
      : link(options),
        operations(view, pollTimer,
                   TransmitterState{link, CurrentRadioCode, RequestedRadioCode, PollAnswer,
                                    ReceivedImage, OutgoingImage, ImageSource, ReadTime},
                   dialogs, nullptr) {
    operations.AttachWaitingPrompt(&prompt);
    operations.SetObserver(&observer);
    operations.SetPollIntervalMs(pollIntervalMs);
    pollTimer.tick = [this] { operations.PollOpuInfo(); };
  }

  OpuLink link;
  QString CurrentRadioCode;
  QString RequestedRadioCode;
  QString PollAnswer;
  ParameterImage ReceivedImage{};
  ParameterImage OutgoingImage{};
  ImageSourceKind ImageSource = SourceDefault;
  QDateTime ReadTime;
  FakeTransmitterView view;
  FakeWaitingPrompt prompt;
  FakePollTimer pollTimer;
  RecordingObserver observer;
  TransmitterOperations operations;
};
