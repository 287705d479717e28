#pragma once

#include "image/ImageCodec.h"
#include "image/Messages.h"
#include "image/ParameterImage.h"
#include "image/VembaData.h"
#include "image/WriteReview.h"
#include "ui/UserDialogs.h"

#include <QString>

#include <optional>

// What the transmitter operations need from the front end that drives them: the main window, a
// test's fakes or a console each implement these.

// The configuration as the operations see it: the codec, the 12-measurement warning, the status
// line, the title, the two radio-code fields, and the question before a write.
class TransmitterView {
 public:
  [[nodiscard]] virtual int ShowImage(const ParameterImage& image, ImageOrigin expectedOrigin) = 0;
  [[nodiscard]] virtual int BuildImage(ParameterImage& image, ImageOrigin origin) = 0;
  // The range message of a numeric field whose text must not be built (UntypedTextRefusal).
  [[nodiscard]] virtual std::optional<Msg::Id> UntypedFieldRefusal() const = 0;
  [[nodiscard]] virtual bool ConfirmInactivityCount(const ParameterImage& image) = 0;
  virtual void SetStatusText(const QString& text) = 0;
  virtual void UpdateTitle() = 0;
  [[nodiscard]] virtual QString RadioCodeOldText() const = 0;
  virtual void SetRadioCodeOldText(const QString& text) = 0;
  [[nodiscard]] virtual QString RadioCodeNewText() const = 0;
  // How the front end shows values (limit mode, locale), for naming what a verification found.
  [[nodiscard]] virtual CodecContext ShownCodecContext() const = 0;
  // The bytes of the latest read or write backup of the transmitter with this code: what the
  // program last knew of it. None when it kept nothing of it.
  [[nodiscard]] virtual std::optional<ImageBytes> LastKnownImage(const QString& radioCode) = 0;
  // The bytes of the latest read backup of the transmitter with this code: what it held when it
  // was last read. None when no read of it was kept.
  [[nodiscard]] virtual std::optional<ImageBytes> LastReadImage(const QString& radioCode) = 0;
  // Asks `question` before a write that `review` found worth asking about; true lets the write
  // go. "Nein" must be the default wherever the review names alarms: nothing is sent on false.
  [[nodiscard]] virtual bool ConfirmWrite(const WriteReview& review, const QString& question) = 0;

 protected:
  ~TransmitterView() = default;
};

// The prompt that asks the user to press the transmitter's button while the poll timer asks the
// OPU. Exec waits until Close ends it (mrOk, mrCancel, mrIgnore, mrLineLost) or the user aborts
// (mrAbort); the front end keeps its events flowing meanwhile, so that the poll timer runs.
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
