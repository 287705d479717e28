#include "image/ImageComparison.h"

#include "image/FieldCatalogue.h"
#include "image/FieldReading.h"
#include "image/Messages.h"
#include "image/VembaData.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <set>

namespace {

QString shownText(const ShownValue& shown, bool isCheckBox, const TextLookup& text) {
  if (isCheckBox) return text(shown.checked ? Msg::Yes : Msg::No);
  if (shown.unit == NoUnit) return shown.text;
  return shown.text + u' ' + text(shown.unit == UnitHours ? Msg::UnitHours : Msg::UnitMinutes);
}

// The last value shown for each field (a field is shown once per showing), and the show order.
struct Showing {
  std::map<Field, QString> values;
  std::vector<Field> order;
};

Showing showing(const ParameterImage& image, ImageOrigin origin, const CodecContext& context,
                const TextLookup& text) {
  Showing result;
  for (const ShownValue& shown : ShowImageValues(image, origin, context).values) {
    if (result.values.count(shown.field) == 0) result.order.push_back(shown.field);
    result.values[shown.field] = shownText(shown, IsCheckBox(shown.field), text);
  }
  return result;
}

QString unitName(int unit, const TextLookup& text) {
  return text(unit == UnitHours ? Msg::UnitHours : Msg::UnitMinutes);
}

bool carriesLimit(const ParameterImage& image, ImageOrigin origin) {
  return image[InactivityCountAddress].origin == origin &&
         image[InactivityCountAddress + 1].origin == origin &&
         image[SampleIntervalAddress].origin == origin;
}

long long limitMinutes(const ParameterImage& image) {
  return static_cast<long long>(InactivityCountOf(image)) * image[SampleIntervalAddress].value;
}

// The limit's time in `unit`; in minutes where it is no whole number of hours.
QString limitIn(long long minutes, int unit, const TextLookup& text) {
  if (unit == UnitHours && minutes % 60 == 0)
    return QString::number(minutes / 60) + u' ' + unitName(UnitHours, text);
  return QString::number(minutes) + u' ' + unitName(UnitMinutes, text);
}

// The value a number typed in the window stands for, in the terms its shown text is compared in
// (the limit's time in minutes); none for a field that takes no number.
std::optional<double> typedValue(Field field, const QString& typed, int unit,
                                 const CodecContext& context) {
  const KeyFilterKind kind = KeyFilterOf(field);
  if (kind == KeyFilterKind::Decimal) return ReadDecimal(typed, context.locale);
  if (kind != KeyFilterKind::Numeric) return std::nullopt;
  const double value = ReadInteger(typed);
  if (field == Field::edtInactivityLimit && context.limitMode == LimitAsTime)
    return unit == UnitHours ? value * 60 : value;
  return value;
}

// The same, for the value the window's bytes show.
std::optional<double> builtValue(Field field, const QString& shown, const ParameterImage& built,
                                 const CodecContext& context) {
  if (field == Field::edtInactivityLimit && context.limitMode == LimitAsTime)
    return static_cast<double>(limitMinutes(built));
  if (KeyFilterOf(field) == KeyFilterKind::Decimal) return ReadDecimal(shown, context.locale);
  return ReadInteger(shown);
}

QString hexBytes(const ParameterImage& image, const std::vector<int>& addresses) {
  QString bytes;
  for (int address : addresses) bytes += VembaData::ByteToHex(image[address].value);
  return bytes;
}

}  // namespace

std::vector<ComparedField> CompareImages(const ParameterImage& left, ImageOrigin leftOrigin,
                                         const ParameterImage& right, ImageOrigin rightOrigin,
                                         const CodecContext& context, const TextLookup& text) {
  const Showing leftShown = showing(left, leftOrigin, context, text);
  const Showing rightShown = showing(right, rightOrigin, context, text);
  std::vector<Field> order = leftShown.order;
  for (Field field : rightShown.order) {
    if (leftShown.values.count(field) == 0) order.push_back(field);
  }
  std::vector<ComparedField> rows;
  for (Field field : order) {
    const auto leftValue = leftShown.values.find(field);
    const auto rightValue = rightShown.values.find(field);
    ComparedField row{field, leftValue == leftShown.values.end() ? QString() : leftValue->second,
                      rightValue == rightShown.values.end() ? QString() : rightValue->second};
    row.differs = row.left != row.right;
    rows.push_back(row);
  }
  return rows;
}

std::map<Field, QString> ShownFieldTexts(const ParameterImage& image, ImageOrigin origin,
                                         const CodecContext& context, const TextLookup& text) {
  return showing(image, origin, context, text).values;
}

std::vector<ComparedField> CompareWindowWithImage(
    const FieldValues& typed, const ParameterImage& built, ImageOrigin builtOrigin,
    const ParameterImage& other, ImageOrigin otherOrigin, const CodecContext& context,
    const TextLookup& text, const TextFormatter& format, Msg::Id typedText) {
  // Differences are judged on each side's bytes, shown alike; only then the texts take the
  // window's unit.
  std::vector<ComparedField> rows =
      CompareImages(built, builtOrigin, other, otherOrigin, context, text);
  std::map<Field, std::size_t> windowOrder;
  for (const FieldEntry& entry : FieldCatalogue())
    windowOrder.emplace(entry.field, windowOrder.size());
  std::stable_sort(rows.begin(), rows.end(),
                   [&windowOrder](const ComparedField& a, const ComparedField& b) {
                     return windowOrder[a.field] < windowOrder[b.field];
                   });
  const int unit = typed.selectedUnit;
  const bool limitAsTime = context.limitMode == LimitAsTime && unit != NoUnit;
  const bool builtComplete = carriesLimit(built, builtOrigin);
  for (ComparedField& row : rows) {
    if (row.field == Field::edtInactivityLimit && limitAsTime) {
      if (builtComplete) row.left = limitIn(limitMinutes(built), unit, text);
      if (carriesLimit(other, otherOrigin)) row.right = limitIn(limitMinutes(other), unit, text);
    }
    const auto entry = typed.texts.find(row.field);
    if (entry == typed.texts.end()) continue;
    const std::optional<double> wanted = typedValue(row.field, entry->second, unit, context);
    const std::optional<double> written = builtValue(row.field, row.left, built, context);
    if (!wanted || !written || std::abs(*wanted - *written) < 1e-9) continue;
    const bool withUnit = row.field == Field::edtInactivityLimit && limitAsTime;
    const QString asTyped = withUnit ? entry->second + u' ' + unitName(unit, text) : entry->second;
    row.left = format(typedText, {row.left, asTyped});
  }
  return rows;
}

bool WindowChangedSinceRead(const ParameterImage& read, const ParameterImage& window,
                            const CodecContext& context) {
  // Only the cells the read delivered count: a field it did not deliver shows its placeholder on
  // both sides.
  ParameterImage windowAsRead = window;
  for (int address = 0; address < ImageSize; ++address) {
    windowAsRead[address].origin = read[address].origin == OriginRead ? OriginRead : OriginNone;
  }
  const auto distinctTexts = [](Msg::Id id) { return QString::number(id); };
  const std::vector<ComparedField> rows =
      CompareImages(windowAsRead, OriginRead, read, OriginRead, context, distinctTexts);
  return std::any_of(rows.begin(), rows.end(),
                     [](const ComparedField& row) { return row.differs; });
}

std::vector<ComparedField> FieldsNotKept(const ParameterImage& sent, const ParameterImage& readBack,
                                         const CodecContext& context, const TextLookup& text) {
  // The sent image with the transmitter's bytes in place of the written ones: only what the
  // transmitter did not keep can show differently.
  ParameterImage kept = sent;
  std::set<int> unkept;
  std::set<int> unread;
  for (const ImageBlock& block : ConfigurationWriteBlocks()) {
    for (int address = block.start; address < block.start + block.count; ++address) {
      if (readBack[address].origin != OriginRead) {
        unread.insert(address);
      } else if (readBack[address].value != sent[address].value) {
        unkept.insert(address);
        kept[address].value = readBack[address].value;
      }
    }
  }
  if (unkept.empty() && unread.empty()) return {};
  const std::vector<ComparedField> rows =
      CompareImages(sent, OriginWrite, kept, OriginWrite, context, text);
  std::vector<ComparedField> result;
  std::set<int> named;
  const auto name = [&result, &named](const ComparedField& row) {
    result.push_back(row);
    for (int address : AddressesOf(row.field)) named.insert(address);
  };
  // A field is named when its own bytes were not kept and it shows so; one shown differently
  // only through another field's byte (the limit through the sample interval) is not.
  for (const ComparedField& row : rows) {
    const std::vector<int> owned = AddressesOf(row.field);
    const bool ownByteUnkept = std::any_of(
        owned.begin(), owned.end(), [&unkept](int address) { return unkept.count(address); });
    if (row.differs && ownByteUnkept) name(row);
  }
  // A byte not read, or differing only in bits no field shows, is named by its first field.
  std::set<int> remaining = unread;
  remaining.insert(unkept.begin(), unkept.end());
  for (int address : remaining) {
    if (named.count(address) != 0) continue;
    const auto owner = std::find_if(rows.begin(), rows.end(), [address](const ComparedField& row) {
      const std::vector<int> owned = AddressesOf(row.field);
      return std::find(owned.begin(), owned.end(), address) != owned.end();
    });
    if (owner == rows.end()) continue;
    ComparedField row = *owner;
    const std::vector<int> owned = AddressesOf(row.field);
    if (unread.count(address) != 0) {
      row.right = text(Msg::NotRead);
    } else {
      row.left += QStringLiteral(" [%1]").arg(hexBytes(sent, owned));
      row.right += QStringLiteral(" [%1]").arg(hexBytes(kept, owned));
    }
    row.differs = true;
    name(row);
  }
  return result;
}

QString ComparedFieldLines(const std::vector<ComparedField>& rows, Msg::Id lineText,
                           InactivityLimitModeKind limitMode, const TextFormatter& format) {
  QString lines;
  for (const ComparedField& field : rows) {
    const QString caption = format(FieldCaptionText(field.field, limitMode), {});
    lines += format(lineText, {caption, field.left, field.right}) + u'\n';
  }
  return lines;
}

QString UnkeptFieldLines(const std::vector<ComparedField>& unkept,
                         InactivityLimitModeKind limitMode, const TextFormatter& format) {
  return ComparedFieldLines(unkept, Msg::VerifyDifferenceLine, limitMode, format);
}
