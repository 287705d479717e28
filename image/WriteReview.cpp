#include "image/WriteReview.h"

#include "image/FieldCatalogue.h"
#include "image/Texts.h"
#include "image/VembaData.h"

#include <algorithm>

namespace {

// The guarded fields in the order the write asks about them.
const std::vector<const FieldEntry*>& guards() {
  static const std::vector<const FieldEntry*> all = [] {
    std::vector<const FieldEntry*> guarded;
    for (const FieldEntry& entry : FieldCatalogue()) {
      if (entry.guard.kind != GuardKind::None) guarded.push_back(&entry);
    }
    std::ranges::sort(guarded, {}, [](const FieldEntry* entry) { return entry->guard.order; });
    return guarded;
  }();
  return all;
}

int valueAt(const ParameterImage& image, const FieldBytes& bytes) {
  int value = 0;
  for (int offset = 0; offset < bytes.width; ++offset) {
    value = value * 256 + image[bytes.address + offset].value;
  }
  return value;
}

// Whether the alarm function the field governs is on: its bit set, or its interval not 0 (which
// means off).
bool isOn(const FieldEntry& entry, const ParameterImage& image) {
  const int value = valueAt(image, entry.bytes);
  switch (entry.bytes.encoding) {
    case FieldEncoding::ConfigBits:
      return (value >> entry.bytes.part & 1) != 0;
    case FieldEncoding::CheckBit0:
      return (value & 1) != 0;
    default:
      return value != 0;
  }
}

// The value a raise is judged by, as the window shows it: the limit is a count in service mode
// and a time (count × sample interval) otherwise.
long raisedMeasure(const FieldEntry& entry, const ParameterImage& image,
                   InactivityLimitModeKind limitMode) {
  const long value = valueAt(image, entry.bytes);
  if (entry.bytes.encoding != FieldEncoding::InactivityLimit || limitMode == LimitAsCount) {
    return value;
  }
  return value * image[SampleIntervalAddress].value;
}

bool switchedOffOrRaised(const FieldEntry& entry, const ParameterImage& before,
                         const ParameterImage& after, InactivityLimitModeKind limitMode) {
  if (entry.guard.kind == GuardKind::SwitchedOff) return isOn(entry, before) && !isOn(entry, after);
  // More than half again: new > 1.5 × old, in whole numbers.
  return 2 * raisedMeasure(entry, after, limitMode) > 3 * raisedMeasure(entry, before, limitMode);
}

bool isWritten(Field field) {
  if (field == Field::edtRadioCodeOld || field == Field::edtRadioCodeNew) return false;
  const std::vector<int> owned = AddressesOf(field);
  const std::vector<ImageBlock> blocks = ConfigurationWriteBlocks();
  return std::any_of(blocks.begin(), blocks.end(), [&owned](const ImageBlock& block) {
    return std::any_of(owned.begin(), owned.end(), [&block](int address) {
      return address >= block.start && address < block.start + block.count;
    });
  });
}

}  // namespace

const std::vector<Field>& GuardedFields() {
  static const std::vector<Field> fields = [] {
    std::vector<Field> all;
    for (const FieldEntry* guard : guards()) all.push_back(guard->field);
    return all;
  }();
  return fields;
}

QString GuardedFieldKey(Field field) {
  if (CatalogueEntry(field).guard.kind == GuardKind::None) return QString();
  return QString::fromLatin1(CatalogueEntry(field).controlName);
}

std::set<Field> SilencedFieldsOf(const QString& setting) {
  std::set<Field> fields;
  for (const QString& name : setting.split(u',', Qt::SkipEmptyParts)) {
    const std::optional<Field> field = FieldNamed(name.trimmed());
    // A name this version does not guard (from a later one, or edited by hand) silences nothing.
    if (field && CatalogueEntry(*field).guard.kind != GuardKind::None) fields.insert(*field);
  }
  return fields;
}

QString SilencedFieldsSetting(const std::set<Field>& silenced) {
  QStringList keys;
  for (Field field : GuardedFields()) {
    if (silenced.count(field) != 0) keys << GuardedFieldKey(field);
  }
  return keys.join(u',');
}

WriteReview ReviewWrite(const std::optional<ImageBytes>& known, const ParameterImage& outgoing,
                        const CodecContext& context, const TextLookup& text,
                        const std::set<Field>& silenced) {
  WriteReview review;
  review.known = known.has_value();
  ParameterImage before{};
  if (known) VembaData::LoadImageBytes(before, *known, OriginWrite);
  const std::vector<ComparedField> rows =
      CompareImages(known ? before : outgoing, OriginWrite, outgoing, OriginWrite, context, text);
  for (const ComparedField& row : rows) {
    if (known && row.differs && isWritten(row.field)) review.changes.push_back(row);
  }
  for (const FieldEntry* guard : guards()) {
    if (silenced.count(guard->field) != 0) continue;
    const bool asks = known ? switchedOffOrRaised(*guard, before, outgoing, context.limitMode)
                            : guard->guard.askedWhenUnknown && !isOn(*guard, outgoing);
    if (!asks) continue;
    const auto row = std::find_if(rows.begin(), rows.end(), [guard](const ComparedField& shown) {
      return shown.field == guard->field;
    });
    if (row == rows.end()) continue;
    review.alarms.push_back(
        {guard->field, known ? row->left : text(Msg::WriteReviewUnknownValue), row->right, true});
  }
  return review;
}

QString FewMeasurementsText(const ImageBytes& configuration, const CodecContext& context) {
  ParameterImage image{};
  VembaData::LoadImageBytes(image, configuration, OriginLoad);
  QString limit;
  QString interval;
  for (const ShownValue& value : ShowImageValues(image, OriginLoad, context).values) {
    if (value.field == Field::edtInactivityLimit) {
      limit = value.text;
      if (value.unit != NoUnit)
        limit += u' ' + Text(value.unit == UnitHours ? Msg::UnitHours : Msg::UnitMinutes);
    }
    if (value.field == Field::edtInactivitySampleInterval) interval = value.text;
  }
  return FewMeasurementsText(limit, interval, InactivityCountOf(image));
}

QString FewMeasurementsText(const QString& limit, const QString& interval, int count) {
  return FormatText(Msg::FewIdenticalMeasurementsWarning,
                    {limit, interval, QString::number(count)});
}
