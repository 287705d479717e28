#include "image/ImageCodec.h"

#include "image/FieldCatalogue.h"
#include "image/FieldReading.h"
#include "image/VembaData.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace {

using Encoding = FieldEncoding;

const QString ProductName = QStringLiteral("U-KOVA");

struct ParameterRow {
  Encoding encoding;
  int address;
  int width;
  std::vector<Field> fields;  // in the order of their parts
  const char* placeholder;    // nullptr: the control is left as it is
  bool written;               // sent by every write to the transmitter
};

const char* placeholderOf(Encoding encoding) {
  switch (encoding) {
    case Encoding::RadioCode:
    case Encoding::CheckBit0:
    case Encoding::ConfigBits:
    case Encoding::None:
      return nullptr;
    case Encoding::ButtonDelay:
    case Encoding::FirmwareVersion:
      return "?.?";
    case Encoding::ProductionDate:
      return "YYMMDD";
    case Encoding::Nibbles:
    case Encoding::Decimal:
    case Encoding::InactivityLimit:
    case Encoding::ProductType:
      break;
  }
  return "?";
}

// The parameter map, in the order in which fields are shown and built: the field table's bytes,
// one row per step. A row's status when it cannot be shown is its address. What the program fills
// in a write never sends.
const std::vector<ParameterRow>& parameterMap() {
  static const std::vector<ParameterRow> rows = [] {
    std::map<int, std::vector<const FieldEntry*>> steps;
    for (const FieldEntry& entry : FieldCatalogue()) {
      if (entry.bytes.encoding != Encoding::None) steps[entry.bytes.step].push_back(&entry);
    }
    std::vector<ParameterRow> map;
    for (auto& [step, entries] : steps) {
      std::ranges::sort(entries, {}, [](const FieldEntry* entry) { return entry->bytes.part; });
      const FieldBytes& bytes = entries.front()->bytes;
      ParameterRow row{bytes.encoding,
                       bytes.address,
                       bytes.width,
                       {},
                       placeholderOf(bytes.encoding),
                       !IsFilledByProgram(entries.front()->field)};
      for (const FieldEntry* entry : entries) row.fields.push_back(entry->field);
      map.push_back(row);
    }
    return map;
  }();
  return rows;
}

bool carriesOrigin(const ParameterImage& image, int address, int width, ImageOrigin origin) {
  for (int offset = 0; offset < width; ++offset) {
    if (image[address + offset].origin != origin) return false;
  }
  return true;
}

int valueOf(const ParameterImage& image, int address, int width) {
  int value = 0;
  for (int offset = 0; offset < width; ++offset)
    value = value * 256 + image[address + offset].value;
  return value;
}

void store(ParameterImage& image, int address, int width, long long value, ImageOrigin origin) {
  for (int offset = width - 1; offset >= 0; --offset) {
    image[address + offset] = ImageCell{static_cast<std::uint8_t>(value & 0xFF), origin};
    value >>= 8;
  }
}

QString hexDigit(int nibble) {
  return QString::number(nibble, 16).toUpper();
}

ShownValue textValue(Field field, const QString& text) {
  return ShownValue{field, text};
}

ShownValue checkValue(Field field, bool checked) {
  ShownValue value{field, QString()};
  value.checked = checked;
  return value;
}

struct LimitDisplay {
  QString text;
  int unit;
  int maxLength;
  bool beyondHoursBound;
};

LimitDisplay inactivityLimitDisplay(int count, int interval, InactivityLimitModeKind limitMode) {
  if (limitMode == LimitAsCount) return {QString::number(count), NoUnit, 5, false};
  const long long minutes = static_cast<long long>(count) * interval;
  if (minutes % 60 != 0) return {QString::number(minutes), UnitMinutes, 5, false};
  const long long hours = minutes / 60;
  return {QString::number(hours), UnitHours, 4, hours > MaxLimitHours};
}

// Shows one row, or its placeholder and status when its cells lack the expected origin.
void showRow(const ParameterRow& row, const ParameterImage& image, ImageOrigin origin,
             const CodecContext& context, ShowResult& result) {
  const bool complete = row.encoding == Encoding::InactivityLimit
                            ? carriesOrigin(image, row.address, row.width, origin) &&
                                  carriesOrigin(image, SampleIntervalAddress, 1, origin)
                            : carriesOrigin(image, row.address, row.width, origin);
  auto& values = result.values;
  if (!complete) {
    if (row.encoding == Encoding::RadioCode) return;
    if (row.placeholder != nullptr) {
      for (Field field : row.fields) {
        values.push_back(textValue(field, QString::fromLatin1(row.placeholder)));
      }
    }
    result.status = row.address;
    return;
  }
  const int value = valueOf(image, row.address, row.width);
  const Field field = row.fields.front();
  switch (row.encoding) {
    case Encoding::RadioCode:
      values.push_back(textValue(field, VembaData::BytesToHexText(image[row.address].value,
                                                                  image[row.address + 1].value)));
      break;
    case Encoding::Nibbles:
      values.push_back(textValue(row.fields[0], QString::number(value >> 4)));
      values.push_back(textValue(row.fields[1], QString::number(value & 0x0F)));
      break;
    case Encoding::Decimal:
      values.push_back(textValue(field, QString::number(value)));
      break;
    case Encoding::CheckBit0:
      values.push_back(checkValue(field, (value & 1) != 0));
      break;
    case Encoding::ButtonDelay:
      values.push_back(textValue(field, FormatTenths(value, context.locale)));
      break;
    case Encoding::InactivityLimit: {
      const LimitDisplay display =
          inactivityLimitDisplay(value, image[SampleIntervalAddress].value, context.limitMode);
      ShownValue shown = textValue(field, display.text);
      shown.unit = display.unit;
      shown.maxLength = display.maxLength;
      values.push_back(shown);
      if (display.beyondHoursBound) result.status = row.address;
      break;
    }
    case Encoding::FirmwareVersion:
      values.push_back(textValue(field, hexDigit(value >> 4) + u'.' + hexDigit(value & 0x0F)));
      break;
    case Encoding::ProductionDate:
      values.push_back(textValue(field, VembaData::ByteToHex(image[row.address].value) +
                                            VembaData::ByteToHex(image[row.address + 1].value) +
                                            VembaData::ByteToHex(image[row.address + 2].value)));
      break;
    case Encoding::ProductType:
      if (value == ThisProductType) {
        values.push_back(textValue(field, ProductName));
      } else {
        values.push_back(textValue(field, QStringLiteral("unknown")));
        result.status = ImageWrongProduct;
      }
      break;
    case Encoding::None:
      break;
    case Encoding::ConfigBits:
      for (std::size_t bit = 0; bit < row.fields.size(); ++bit) {
        values.push_back(checkValue(row.fields[bit], (value >> bit & 1) != 0));
      }
      break;
  }
}

// Tenths are taken in single precision and truncated, as the transmitter's tool always did. From
// 2^31 on single precision keeps no bit below 256, so only 0 reaches the stored low byte; a pasted
// huge number or infinity must not be narrowed to float or to an integer it does not fit.
long long truncatedTenths(double seconds) {
  const double tenths = seconds * 10.0;
  if (!(std::fabs(tenths) < 2147483648.0)) return 0;
  return static_cast<long long>(std::trunc(static_cast<float>(tenths)));
}

// The inactivity limit as a count of samples; status 52 or 48 where it cannot be converted.
long long inactivityCount(const FieldValues& fields, const CodecContext& context, int& status) {
  long long limit = ReadInteger(fields.text(Field::edtInactivityLimit));
  if (context.limitMode == LimitAsCount) return limit;
  if (fields.selectedUnit == UnitHours) {
    if (limit > MaxLimitHours) status = InactivityCountAddress;
    limit *= 60;
  }
  const int interval = ReadInteger(fields.text(Field::edtInactivitySampleInterval));
  if (interval == 0) {
    status = SampleIntervalAddress;
    return 0;
  }
  return RoundHalfUp(static_cast<double>(limit) / interval);
}

void buildRow(const ParameterRow& row, ParameterImage& image, ImageOrigin origin,
              const FieldValues& fields, const CodecContext& context, int& status) {
  const Field field = row.fields.front();
  const QString text = row.encoding == Encoding::RadioCode && origin == OriginWrite
                           ? fields.text(Field::edtRadioCodeNew)
                           : fields.text(field);
  switch (row.encoding) {
    case Encoding::RadioCode: {
      std::uint8_t first = 0;
      std::uint8_t second = 0;
      VembaData::HexTextToBytes(text, first, second);
      store(image, row.address, 2, first * 256 + second, origin);
      break;
    }
    case Encoding::Nibbles:
      store(
          image, row.address, 1,
          16LL * ReadInteger(fields.text(row.fields[0])) + ReadInteger(fields.text(row.fields[1])),
          origin);
      break;
    case Encoding::Decimal:
      store(image, row.address, row.width, ReadInteger(text), origin);
      break;
    case Encoding::CheckBit0:
      store(image, row.address, 1, fields.checked(field) ? 1 : 0, origin);
      break;
    case Encoding::ButtonDelay: {
      const auto seconds = ReadDecimal(text, context.locale);
      if (!seconds) status = row.address;
      store(image, row.address, 1, truncatedTenths(seconds.value_or(0.0)), origin);
      break;
    }
    case Encoding::InactivityLimit:
      store(image, row.address, 2, inactivityCount(fields, context, status), origin);
      break;
    case Encoding::FirmwareVersion:
      if (text.size() == 3 && text.at(1) == u'.') {
        store(image, row.address, 1,
              VembaData::HexDigitValue(text.at(0)) * 16 + VembaData::HexDigitValue(text.at(2)),
              origin);
      }
      break;
    case Encoding::ProductionDate:
      if (text.size() == 6) {
        for (int pair = 0; pair < 3; ++pair) {
          store(image, row.address + pair, 1,
                VembaData::HexPairValue(text.at(2 * pair), text.at(2 * pair + 1)), origin);
        }
      }
      break;
    case Encoding::ProductType:
      if (text == ProductName) store(image, row.address, 1, ThisProductType, origin);
      break;
    case Encoding::None:
      break;
    case Encoding::ConfigBits: {
      int bits = 0;
      for (std::size_t bit = 0; bit < row.fields.size(); ++bit) {
        if (fields.checked(row.fields[bit])) bits |= 1 << bit;
      }
      store(image, row.address, 1, bits, origin);
      break;
    }
  }
}

}  // namespace

QString FieldValues::text(Field field) const {
  const auto entry = texts.find(field);
  return entry == texts.end() ? QString() : entry->second;
}

bool FieldValues::checked(Field field) const {
  const auto entry = checks.find(field);
  return entry != checks.end() && entry->second;
}

ShowResult ShowImageValues(const ParameterImage& image, ImageOrigin expectedOrigin,
                           const CodecContext& context) {
  ShowResult result;
  for (const ParameterRow& row : parameterMap()) {
    showRow(row, image, expectedOrigin, context, result);
  }
  return result;
}

int BuildImageFromFields(ParameterImage& image, ImageOrigin origin, const FieldValues& fields,
                         const CodecContext& context) {
  int status = ImageOk;
  for (const ParameterRow& row : parameterMap()) {
    buildRow(row, image, origin, fields, context, status);
  }
  return status;
}

int InactivityCountOf(const ParameterImage& image) {
  return valueOf(image, InactivityCountAddress, 2);
}

QString FormatImageSegment(const ParameterImage& image, int count, int start) {
  QString text = VembaData::ByteToHex(static_cast<std::uint8_t>(count)) +
                 VembaData::ByteToHex(static_cast<std::uint8_t>(start));
  for (int address = start; address < start + count && address < ImageSize; ++address) {
    text += VembaData::ByteToHex(image[address].value);
  }
  return text;
}

std::vector<ImageBlock> ConfigurationWriteBlocks() {
  std::vector<bool> written(ImageSize, false);
  for (const ParameterRow& row : parameterMap()) {
    if (!row.written) continue;
    for (int offset = 0; offset < row.width; ++offset) written[row.address + offset] = true;
  }
  std::vector<ImageBlock> blocks;
  for (int address = 0; address < ImageSize; ++address) {
    if (!written[address]) continue;
    if (!blocks.empty() && blocks.back().start + blocks.back().count == address) {
      ++blocks.back().count;
    } else {
      blocks.push_back({1, address});
    }
  }
  return blocks;
}

std::vector<int> AddressesOf(Field field) {
  std::vector<int> addresses;
  for (const ParameterRow& row : parameterMap()) {
    if (std::find(row.fields.begin(), row.fields.end(), field) == row.fields.end()) continue;
    for (int offset = 0; offset < row.width; ++offset) addresses.push_back(row.address + offset);
  }
  return addresses;
}
