#include "image/FieldCatalogue.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

namespace {

struct CatalogueRow {
  const char* name;
  Field field;
  FieldGroup group;
  Msg::Id caption;
  bool isCheckBox;
  KeyFilterKind keyFilter;
};

// One row per kind of field: numeric, decimal and radio-code edits, a check box, a field only the
// program fills, and the limit, whose caption follows the mode.
const CatalogueRow rows[] = {
    {"numeric", Field::edtNoShortTx, FieldGroup::RadioParameters, Msg::CaptionShortTransmissions,
     false, KeyFilterKind::Numeric},
    {"decimal", Field::edtButtonActivationDelay, FieldGroup::UserAlarms,
     Msg::CaptionButtonActivationDelay, false, KeyFilterKind::Decimal},
    {"radio code", Field::edtRadioCodeNew, FieldGroup::RadioParameters, Msg::CaptionRadioCode,
     false, KeyFilterKind::RadioCode},
    {"check box", Field::cbConfig_D2, FieldGroup::TechnicalAlarms,
     Msg::CaptionTestAlarmWithButtonCounter, true, KeyFilterKind::None},
    {"filled by the program", Field::edtFirmwareType, FieldGroup::ProductInformation,
     Msg::CaptionFirmwareType, false, KeyFilterKind::None},
    {"limit", Field::edtInactivityLimit, FieldGroup::UserAlarms, Msg::CaptionInactivityLimit, false,
     KeyFilterKind::Numeric},
};

TEST(FieldCatalogueTest, EachKindOfFieldHasItsGroupCaptionBoxAndKeys) {
  for (const CatalogueRow& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(CatalogueEntry(row.field).group, row.group);
    EXPECT_EQ(FieldCaptionText(row.field, LimitAsTime), row.caption);
    EXPECT_EQ(IsCheckBox(row.field), row.isCheckBox);
    EXPECT_EQ(KeyFilterOf(row.field), row.keyFilter);
  }
}

TEST(FieldCatalogueTest, OnlyTheLimitsCaptionFollowsTheMode) {
  EXPECT_EQ(FieldCaptionText(Field::edtInactivityLimit, LimitAsCount),
            Msg::CaptionInactivityLimitCount);
  EXPECT_EQ(FieldCaptionText(Field::edtNoShortTx, LimitAsCount), Msg::CaptionShortTransmissions);
}

TEST(FieldCatalogueTest, EveryFieldHasOneEntryAndTheGroupsFollowTheWindow) {
  std::set<Field> seen;
  FieldGroup previous = FieldGroup::RadioParameters;
  for (const FieldEntry& entry : FieldCatalogue()) {
    EXPECT_TRUE(seen.insert(entry.field).second) << static_cast<int>(entry.field);
    EXPECT_GE(entry.group, previous) << static_cast<int>(entry.field);
    previous = entry.group;
  }
  EXPECT_EQ(seen.size(), static_cast<size_t>(FieldCount));
}

TEST(FieldCatalogueTest, AFieldIsFoundByItsStableNameAndByItsControlsName) {
  struct Case {
    const char* name;
    std::optional<Field> field;
  };
  const Case cases[] = {
      {"batteryTestInterval", Field::edtBatteryTestInterval},
      {"edtBatteryTestInterval", Field::edtBatteryTestInterval},
      {"alarmButton", Field::cbConfig_D1},
      {"cbConfig_D1", Field::cbConfig_D1},
      {"BatteryTestInterval", std::nullopt},
      {"", std::nullopt},
      {"lblBatteryTestInterval", std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FieldNamed(QString::fromLatin1(c.name)), c.field) << c.name;
  }
}

TEST(FieldCatalogueTest, StableNamesAreUniqueAsciiAndNoControlsName) {
  std::set<std::string> names;
  for (const FieldEntry& entry : FieldCatalogue()) {
    const std::string key = entry.key;
    SCOPED_TRACE(key);
    EXPECT_TRUE(names.insert(key).second);
    EXPECT_TRUE(names.insert(entry.controlName).second);
    EXPECT_FALSE(key.empty());
    for (const char character : key) {
      EXPECT_TRUE((character >= 'a' && character <= 'z') || (character >= 'A' && character <= 'Z'))
          << character;
    }
  }
}

// Fields that share their bytes must agree on them, each with a part of its own, or the codec
// would show one field's bits in another.
TEST(FieldCatalogueTest, FieldsInOneStepShareTheirBytesAndEachHasItsOwnPart) {
  std::map<int, const FieldEntry*> firstOfStep;
  std::map<int, std::set<int>> parts;
  for (const FieldEntry& entry : FieldCatalogue()) {
    if (entry.bytes.encoding == FieldEncoding::None) continue;
    SCOPED_TRACE(entry.key);
    const auto [first, inserted] = firstOfStep.emplace(entry.bytes.step, &entry);
    EXPECT_EQ(first->second->bytes.address, entry.bytes.address);
    EXPECT_EQ(first->second->bytes.width, entry.bytes.width);
    EXPECT_EQ(first->second->bytes.encoding, entry.bytes.encoding);
    EXPECT_TRUE(parts[entry.bytes.step].insert(entry.bytes.part).second);
    EXPECT_LE(entry.bytes.address + entry.bytes.width, ImageSize);
  }
  // The parts of a row are its fields' places in it: 0, 1, … without a gap.
  for (const auto& [step, taken] : parts) {
    EXPECT_EQ(*taken.rbegin(), static_cast<int>(taken.size()) - 1) << step;
  }
}

// A numeric field's key filter refuses pasted text with its range message, so each has a range.
TEST(FieldCatalogueTest, EveryTypedNumberHasARangeAndOnlyCheckBoxesEnableOthers) {
  for (const FieldEntry& entry : FieldCatalogue()) {
    SCOPED_TRACE(entry.key);
    const bool typedNumber =
        entry.keyFilter == KeyFilterKind::Numeric || entry.keyFilter == KeyFilterKind::Decimal;
    if (typedNumber && entry.field != Field::edtInactivityLimit) {
      EXPECT_TRUE(entry.range.has_value());
    }
    EXPECT_TRUE(!entry.enabledBy || IsCheckBox(*entry.enabledBy));
    EXPECT_TRUE(!entry.rerunsRuleOf || IsCheckBox(*entry.rerunsRuleOf));
    if (entry.guard.kind == GuardKind::SwitchedOff && !entry.isCheckBox) {
      EXPECT_EQ(entry.bytes.encoding, FieldEncoding::Decimal);
    }
  }
}

}  // namespace
