#pragma once

#include "cli/CliArguments.h"
#include "cli/CliOutput.h"
#include "image/ImageCodec.h"
#include "image/ParameterImage.h"
#include "image/VembaData.h"

#include <optional>

// How the command line shows values: as the window does in the mode the run asked for.
[[nodiscard]] CodecContext CliCodecContext(const CliCommand& command);

// A configuration file as the window opens it: the image with origin OriginLoad, or the report
// that refuses it (size, reading, or a field the window could not show).
struct OpenedConfiguration {
  ParameterImage image{};
  std::optional<CliReport> refusal;
};
[[nodiscard]] OpenedConfiguration OpenConfiguration(const CliCommand& command,
                                                    const QString& operation);

// show FILE: the configuration as the configuration sheet lists it.
[[nodiscard]] CliReport RunShow(const CliCommand& command);
