#pragma once

#include "image/ParameterImage.h"

#include <QString>

#include <array>
#include <cstdint>

using ImageBytes = std::array<std::uint8_t, ImageSize>;

// Helper of the main window: the current configuration file, and the stateless image, hex and
// key helpers. The files themselves are files/ImageFiles.h's.
class VembaData {
 public:
  QString CurrentFilePath;

  // Image helpers.
  static void ClearImage(ParameterImage& image, std::uint8_t value, ImageOrigin origin);
  static void LoadImageBytes(ParameterImage& image, const ImageBytes& bytes, ImageOrigin origin);
  [[nodiscard]] static ImageBytes ExtractImageBytes(const ParameterImage& image);
  // Stores one block text received from the OPU: 4 unused characters, count, start address,
  // then the data bytes. Bytes past address 0xFF or past the end of the text are not stored.
  static bool StoreImageRecord(ParameterImage& image, const QString& record, ImageOrigin origin);

  // Hex helpers: upper-case digits out; 0-9, A-F, a-f in, any other character counts 0.
  [[nodiscard]] static QString ByteToHex(std::uint8_t value);
  // 0-9, A-F or a-f, and nothing else.
  [[nodiscard]] static bool IsHexDigit(QChar character);
  [[nodiscard]] static int HexDigitValue(QChar character);
  [[nodiscard]] static std::uint8_t HexPairValue(QChar first, QChar second);
  [[nodiscard]] static std::uint8_t HexPairToByte(QChar first, QChar second);
  [[nodiscard]] static QString BytesToHexText(std::uint8_t first, std::uint8_t second);
  static void HexTextToBytes(const QString& text, std::uint8_t& first, std::uint8_t& second);

  // Key tests of the edit fields: the character a key press stands for.
  [[nodiscard]] static bool IsDigitKey(QChar key);
  [[nodiscard]] static bool IsHexDigitKey(QChar key);
  [[nodiscard]] static bool IsDecimalKey(QChar key, QChar decimalSeparator);
};
