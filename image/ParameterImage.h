#pragma once

#include <array>
#include <cstdint>

// Origin tags of an image cell. Scoped, so that an origin and a byte value cannot change places
// in a call; the names are in scope as they always were.
enum class ImageOrigin : std::uint8_t {
  OriginNone = 0,
  OriginRead = 1,
  OriginWrite = 2,
  OriginLoad = 3,
  OriginSave = 4,
};
using enum ImageOrigin;

// One byte of the transmitter's 256-byte configuration memory, with a tag that says where the
// value came from. The order (value, then origin) is fixed.
struct ImageCell {
  std::uint8_t value = 0;
  ImageOrigin origin = OriginNone;
};

inline constexpr int ImageSize = 256;

// Cell n holds address n.
using ParameterImage = std::array<ImageCell, ImageSize>;

// Parameters that matter beyond showing and building: the OPU listens for the product type and
// writes the radio code; the inactivity count is judged in samples of the sample interval.
inline constexpr int RadioCodeAddress = 0x20;  // two bytes, the code's four hex digits
inline constexpr int ProductTypeAddress = 0x2E;
inline constexpr std::uint8_t ThisProductType = 7;   // the U-KOVA
inline constexpr int SampleIntervalAddress = 0x30;   // minutes per sample
inline constexpr int InactivityCountAddress = 0x34;  // two bytes, high byte first

// Where the configuration shown in the main window came from.
enum class ImageSourceKind : std::int32_t {
  SourceDefault = 0,
  SourceFile = 1,
  SourceSavedAs = 2,
  SourceTransmitter = 3,
};
using enum ImageSourceKind;

// Codec results besides the byte address of a field that failed.
inline constexpr int ImageOk = -1;
inline constexpr int ImageWrongProduct = -2;
