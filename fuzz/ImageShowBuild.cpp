// A 256-byte configuration file through show and build: building what was shown gives the file's
// bytes again at every address a write sends, in both limit modes and decimal separators.
// Placeholders aside (cells of another origin, as a read that missed a block leaves them): what
// cannot be shown is reported, and a build that reports a field is refused before anything is
// sent.

#include "fuzz/FuzzInput.h"
#include "image/ImageCodec.h"
#include "image/VembaData.h"

#include <QLocale>

#include <cstdint>

namespace {

FieldValues AsWindowValues(const ShowResult& shown) {
  FieldValues fields;
  for (const ShownValue& value : shown.values) {
    fields.texts[value.field] = value.text;
    fields.checks[value.field] = value.checked;
    if (value.field == Field::edtInactivityLimit) fields.selectedUnit = value.unit;
  }
  return fields;
}

// The bits of a byte that the window's controls show: a check box shows bit 0 and builds the
// whole byte from it, the six configuration boxes show bits 0 to 5.
std::uint8_t ShownBits(int address, std::uint8_t value) {
  if (address == 0x29) return value & 0x01;
  if (address == 0x2D) return value & 0x3F;
  return value;
}

// Whether the window showed the value at the address rather than a placeholder; the limit is
// shown from the sample interval too.
bool Shown(const ParameterImage& image, int address) {
  const auto loaded = [&image](int cell) { return image[cell].origin == OriginLoad; };
  if (address == 0x34 || address == 0x35) return loaded(0x34) && loaded(0x35) && loaded(0x30);
  return loaded(address);
}

QString Describe(const ImageBytes& bytes, int address, std::uint8_t built) {
  return QStringLiteral("address %1: file %2, built %3, limit %4 %5, interval %6")
      .arg(address, 2, 16)
      .arg(bytes[address])
      .arg(built)
      .arg(bytes[0x34])
      .arg(bytes[0x35])
      .arg(bytes[0x30]);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput input(data, size);
  const std::uint8_t choice = input.Byte();
  const QByteArray file = input.Bytes(ImageSize);
  ImageBytes bytes{};
  std::copy(file.begin(), file.end(), bytes.begin());

  CodecContext context;
  context.limitMode = (choice & 1) != 0 ? LimitAsCount : LimitAsTime;
  context.locale = QLocale((choice & 2) != 0 ? QLocale::German : QLocale::English,
                           (choice & 2) != 0 ? QLocale::Germany : QLocale::UnitedStates);

  ParameterImage image{};
  VembaData::LoadImageBytes(image, bytes, OriginLoad);
  // Cells of another origin show placeholders, as after a read that missed a block.
  const QByteArray missing = (choice & 4) != 0 ? input.Bytes(ImageSize / 8) : QByteArray();
  for (int address = 0; address < missing.size() * 8; ++address) {
    if ((missing.at(address / 8) >> (address % 8) & 1) != 0) image[address].origin = OriginRead;
  }
  const ShowResult shown = ShowImageValues(image, OriginLoad, context);

  ParameterImage built{};
  VembaData::ClearImage(built, 0, OriginNone);
  if (BuildImageFromFields(built, OriginWrite, AsWindowValues(shown), context) != ImageOk) return 0;
  for (const ImageBlock& block : ConfigurationWriteBlocks()) {
    FUZZ_CHECK(FormatImageSegment(built, block.count, block.start).size() == 4 + 2 * block.count,
               QString());
    for (int address = block.start; address < block.start + block.count; ++address) {
      if (!Shown(image, address)) continue;
      FUZZ_CHECK(ShownBits(address, built[address].value) == ShownBits(address, bytes[address]),
                 Describe(bytes, address, built[address].value));
    }
  }
  return 0;
}
