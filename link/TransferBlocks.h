#pragma once

#include "image/ParameterImage.h"
#include "image/VembaData.h"

#include <QString>
#include <QStringList>

// The blocks in which a configuration travels through the OPU: what a read asks for, what a
// write sends, and the bytes the record keeps of either.

// The read requests after the empty one, each as count then start in hex ("0622").
[[nodiscard]] const QStringList& ReadRequests();
// Whether the blocks fetched filled every byte the read requests asked for.
[[nodiscard]] bool HoldsEveryRequestedByte(const ParameterImage& image);

// The configuration's write blocks of `image`, and its radio-code block when asked for.
[[nodiscard]] QStringList WriteBlocks(const ParameterImage& image, bool withRadioCode);
// The radio-code block that gives a transmitter `code`.
[[nodiscard]] QString RadioCodeBlockText(const QString& code);

// The 256 bytes a backup or the record keeps: the image with the transmitter's code in its place.
[[nodiscard]] ImageBytes KeptBytes(const ParameterImage& image, const QString& code);
// What a transmitter holds after a write: the configuration blocks of `sent` laid over the bytes
// it held before, the code it answers to in its place.
[[nodiscard]] ImageBytes WrittenOver(const ImageBytes& before, const ParameterImage& sent,
                                     const QString& code);
