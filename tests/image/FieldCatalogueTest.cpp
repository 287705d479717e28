#include "image/FieldCatalogue.h"

#include <gtest/gtest.h>

#include <set>

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
  EXPECT_EQ(seen.size(), static_cast<size_t>(Field::edtInactivityRetransmissionAttempts) + 1);
}

}  // namespace
