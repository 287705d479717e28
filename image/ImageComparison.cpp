#include "image/ImageComparison.h"

#include "image/FieldCatalogue.h"
#include "image/Messages.h"
#include "image/VembaData.h"

#include <algorithm>
#include <map>
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
