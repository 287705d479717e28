#include "image/VembaData.h"

namespace {

constexpr char16_t CtrlC = 3;
constexpr char16_t Backspace = 8;
constexpr char16_t CtrlV = 22;
constexpr char16_t CtrlX = 24;

bool isEditingControl(QChar key) {
  const char16_t code = key.unicode();
  return code == CtrlC || code == Backspace || code == CtrlV || code == CtrlX;
}

bool isAsciiDigit(QChar key) {
  return key >= u'0' && key <= u'9';
}

// Past its end a text reads as character code 0, which counts as hex digit 0.
QChar characterOrNul(const QString& text, qsizetype index) {
  return index < text.size() ? text.at(index) : QChar(u'\0');
}

}  // namespace

void VembaData::ClearImage(ParameterImage& image, std::uint8_t value, ImageOrigin origin) {
  image.fill(ImageCell{value, origin});
}

void VembaData::LoadImageBytes(ParameterImage& image, const ImageBytes& bytes, ImageOrigin origin) {
  for (int address = 0; address < ImageSize; ++address) {
    image[address] = ImageCell{bytes[address], origin};
  }
}

ImageBytes VembaData::ExtractImageBytes(const ParameterImage& image) {
  ImageBytes bytes{};
  for (int address = 0; address < ImageSize; ++address) bytes[address] = image[address].value;
  return bytes;
}

bool VembaData::StoreImageRecord(ParameterImage& image, const QString& record, ImageOrigin origin) {
  const int count = HexPairValue(characterOrNul(record, 4), characterOrNul(record, 5));
  const int start = HexPairValue(characterOrNul(record, 6), characterOrNul(record, 7));
  for (int i = 0; i < count; ++i) {
    const int textIndex = 8 + 2 * i;
    const int address = start + i;
    // A block that passes the end of the image or of its own text must not write outside the
    // image nor invent bytes: the rest of such a block is dropped.
    if (address >= ImageSize || textIndex + 1 >= record.size()) break;
    image[address] =
        ImageCell{HexPairValue(record.at(textIndex), record.at(textIndex + 1)), origin};
  }
  return true;
}

QString VembaData::ByteToHex(std::uint8_t value) {
  static constexpr char digits[] = "0123456789ABCDEF";
  const QChar pair[] = {QChar(digits[value >> 4]), QChar(digits[value & 0x0F])};
  return QString(pair, 2);
}

bool VembaData::IsHexDigit(QChar character) {
  const char16_t code = character.unicode();
  return (code >= u'0' && code <= u'9') || (code >= u'a' && code <= u'f') ||
         (code >= u'A' && code <= u'F');
}

int VembaData::HexDigitValue(QChar character) {
  const char16_t code = character.unicode();
  if (code >= u'0' && code <= u'9') return code - u'0';
  if (code >= u'a' && code <= u'f') return code - u'a' + 10;
  if (code >= u'A' && code <= u'F') return code - u'A' + 10;
  return 0;
}

std::uint8_t VembaData::HexPairValue(QChar first, QChar second) {
  return static_cast<std::uint8_t>(16 * HexDigitValue(first) + HexDigitValue(second));
}

std::uint8_t VembaData::HexPairToByte(QChar first, QChar second) {
  return HexPairValue(first, second);
}

QString VembaData::BytesToHexText(std::uint8_t first, std::uint8_t second) {
  if (first == 0 && second == 0) return {};
  return ByteToHex(first) + ByteToHex(second);
}

void VembaData::HexTextToBytes(const QString& text, std::uint8_t& first, std::uint8_t& second) {
  first = HexPairValue(characterOrNul(text, 0), characterOrNul(text, 1));
  second = HexPairValue(characterOrNul(text, 2), characterOrNul(text, 3));
}

bool VembaData::IsDigitKey(QChar key) {
  return isAsciiDigit(key) || isEditingControl(key);
}

bool VembaData::IsHexDigitKey(QChar key) {
  return IsHexDigit(key) || isEditingControl(key);
}

bool VembaData::IsDecimalKey(QChar key, QChar decimalSeparator) {
  return isAsciiDigit(key) || key == decimalSeparator || isEditingControl(key);
}
