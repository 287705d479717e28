#pragma once

#include "image/ImageCodec.h"
#include "image/ParameterImage.h"
#include "link/ModalResult.h"
#include "link/OperationMessages.h"

#include <QString>

#include <optional>

// The check after a write or code change: the transmitter is read once more under the code it
// now has, and what it returned is judged here.

// The message the check ends with; none when the transmitter kept everything. `readResult` is the
// read's waiting-prompt result (none when the OPU did not take the job), `sent` the image the
// write built (none for a code change), `readBack` the bytes the read returned, `context` how the
// front end shows values, for naming the fields that differ.
[[nodiscard]] std::optional<OperationMessage> WriteCheckMessage(
    std::optional<ModalResult> readResult, const QString& code, const ParameterImage* sent,
    const ParameterImage& readBack, const CodecContext& context);
