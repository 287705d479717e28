#include "image/WriteReview.h"

#include "image/Texts.h"
#include "image/VembaData.h"

#include <algorithm>

namespace {

struct Guard {
  Field field;
  const char* key;
  bool askedWhenUnknown;
};

// Switched off: a check box cleared, or the battery interval set to 0 (which means off). Raised:
// the block time or the limit by more than half.
constexpr Guard Guards[] = {
    {Field::cbConfig_D1, "cbConfig_D1", true},
    {Field::cbConfig_D0, "cbConfig_D0", true},
    {Field::cbRadioTestAlarmActive, "cbRadioTestAlarmActive", false},
    {Field::edtBatteryTestInterval, "edtBatteryTestInterval", false},
    {Field::cbConfig_D3, "cbConfig_D3", false},
    {Field::edtDementiaBlockTime, "edtDementiaBlockTime", false},
    {Field::edtInactivityLimit, "edtInactivityLimit", false},
};

constexpr int ConfigBitsAddress = 0x2D;
constexpr int RadioTestActiveAddress = 0x29;
constexpr int BatteryIntervalAddress = 0x2C;
constexpr int DementiaBlockAddress = 0x32;

int byteAt(const ParameterImage& image, int address) {
  return image[address].value;
}

// Whether the alarm function the field governs is on.
bool isOn(Field field, const ParameterImage& image) {
  switch (field) {
    case Field::cbConfig_D0:
      return (byteAt(image, ConfigBitsAddress) & 0x01) != 0;
    case Field::cbConfig_D1:
      return (byteAt(image, ConfigBitsAddress) & 0x02) != 0;
    case Field::cbConfig_D3:
      return (byteAt(image, ConfigBitsAddress) & 0x08) != 0;
    case Field::cbRadioTestAlarmActive:
      return (byteAt(image, RadioTestActiveAddress) & 0x01) != 0;
    case Field::edtBatteryTestInterval:
      return byteAt(image, BatteryIntervalAddress) != 0;
    default:
      return true;
  }
}

// The value a raise is judged by, as the window shows it: the limit is a count in service mode
// and a time (count × sample interval) otherwise.
std::optional<long> raisedMeasure(Field field, const ParameterImage& image,
                                  InactivityLimitModeKind limitMode) {
  if (field == Field::edtDementiaBlockTime) return byteAt(image, DementiaBlockAddress);
  if (field != Field::edtInactivityLimit) return std::nullopt;
  const long count = InactivityCountOf(image);
  return limitMode == LimitAsCount ? count : count * byteAt(image, SampleIntervalAddress);
}

bool switchedOffOrRaised(Field field, const ParameterImage& before, const ParameterImage& after,
                         InactivityLimitModeKind limitMode) {
  const std::optional<long> old = raisedMeasure(field, before, limitMode);
  if (!old) return isOn(field, before) && !isOn(field, after);
  // More than half again: new > 1.5 × old, in whole numbers.
  return 2 * *raisedMeasure(field, after, limitMode) > 3 * *old;
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
    for (const Guard& guard : Guards) all.push_back(guard.field);
    return all;
  }();
  return fields;
}

QString GuardedFieldKey(Field field) {
  for (const Guard& guard : Guards) {
    if (guard.field == field) return QString::fromLatin1(guard.key);
  }
  return QString();
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
  for (const Guard& guard : Guards) {
    if (silenced.count(guard.field) != 0) continue;
    const bool asks = known ? switchedOffOrRaised(guard.field, before, outgoing, context.limitMode)
                            : guard.askedWhenUnknown && !isOn(guard.field, outgoing);
    if (!asks) continue;
    const auto row = std::find_if(rows.begin(), rows.end(), [&guard](const ComparedField& shown) {
      return shown.field == guard.field;
    });
    if (row == rows.end()) continue;
    review.alarms.push_back(
        {guard.field, known ? row->left : text(Msg::WriteReviewUnknownValue), row->right, true});
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
