#pragma once

#include "image/Messages.h"
#include "image/OperationOutcome.h"
#include "image/WriteReview.h"
#include "link/ModalResult.h"

#include <QString>
#include <QStringList>

#include <optional>

struct PortOpening;

// What the user is told when a transmitter operation ends one way or another: an error box, an
// information box for good news, or the status line for an end the user chose.
struct OperationMessage {
  Msg::Id number{};
  QStringList arguments;
  bool inStatusLine = false;
  bool information = false;

  [[nodiscard]] QString Text() const;

  bool operator==(const OperationMessage&) const = default;
};

// How a read's or a write's job ended, by the waiting prompt's result: the failure's message
// (the OPU failed, gave up, lost its line; the user aborted); none for any other result.
[[nodiscard]] std::optional<OperationMessage> JobEndMessage(OperationKind kind, ModalResult result);

// The question before a write to the transmitter `code`: the alarm functions it switches off or
// lengthens, then the fields it changes, each with the old and the new value.
[[nodiscard]] QString WriteReviewQuestion(const WriteReview& review, const QString& code,
                                          InactivityLimitModeKind limitMode);

// The cause and the remedy for a port that was found but could not be opened, as the connection
// check gives them; empty when no port was found at all (the message box then names cable and
// power supply).
[[nodiscard]] QString OpenFailureText(const PortOpening& opening);
