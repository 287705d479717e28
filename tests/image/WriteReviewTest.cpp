#include "image/WriteReview.h"

#include "image/Messages.h"
#include "support/QtPrinters.h"
#include "support/SampleImage.h"

#include <QLocale>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <vector>

namespace {

using ::testing::ElementsAreArray;

const CodecContext TimeMode{LimitAsTime, QLocale(QLocale::German, QLocale::Germany)};
const CodecContext CountMode{LimitAsCount, QLocale(QLocale::German, QLocale::Germany)};

QString fakeText(Msg::Id number) {
  if (number == Msg::Yes) return QStringLiteral("#Yes");
  if (number == Msg::No) return QStringLiteral("#No");
  if (number == Msg::WriteReviewUnknownValue) return QStringLiteral("#Unknown");
  return QStringLiteral("#%1").arg(number);
}

std::vector<Field> fieldsOf(const std::vector<ComparedField>& rows) {
  std::vector<Field> fields;
  for (const ComparedField& row : rows) fields.push_back(row.field);
  return fields;
}

// The factory sample: emergency button, inactivity sensing (144 × 5 minutes) and activity alarm
// on, radio test alarm off, battery test every 24 hours, no dementia block time.
TEST(WriteReviewTest, AsksAboutEachAlarmSwitchedOffOrRaisedByMoreThanHalf) {
  struct Case {
    const char* name;
    ImageChanges before;
    ImageChanges after;
    CodecContext context;
    std::vector<Field> alarms;
  };
  const Case cases[] = {
      {"nothing changes", {}, {}, TimeMode, {}},
      {"emergency button off", {}, {{0x2D, 0x09}}, TimeMode, {Field::cbConfig_D1}},
      {"inactivity sensing off", {}, {{0x2D, 0x0A}}, TimeMode, {Field::cbConfig_D0}},
      {"activity alarm off", {}, {{0x2D, 0x03}}, TimeMode, {Field::cbConfig_D3}},
      {"three off, in the guards' order",
       {},
       {{0x2D, 0x00}},
       TimeMode,
       {Field::cbConfig_D1, Field::cbConfig_D0, Field::cbConfig_D3}},
      {"emergency button stays off", {{0x2D, 0x09}}, {{0x2D, 0x09}}, TimeMode, {}},
      {"emergency button on again", {{0x2D, 0x09}}, {}, TimeMode, {}},
      {"radio test alarm off", {{0x29, 1}}, {}, TimeMode, {Field::cbRadioTestAlarmActive}},
      {"battery test off", {}, {{0x2C, 0}}, TimeMode, {Field::edtBatteryTestInterval}},
      {"battery test shorter", {}, {{0x2C, 1}}, TimeMode, {}},
      {"block time raised by half exactly", {{0x32, 10}}, {{0x32, 15}}, TimeMode, {}},
      {"block time raised by more than half",
       {{0x32, 10}},
       {{0x32, 16}},
       TimeMode,
       {Field::edtDementiaBlockTime}},
      {"block time from none", {}, {{0x32, 1}}, TimeMode, {Field::edtDementiaBlockTime}},
      {"limit 12 h to 18 h", {}, {{0x35, 216}}, TimeMode, {}},
      {"limit 12 h to 18 h 20 min", {}, {{0x35, 220}}, TimeMode, {Field::edtInactivityLimit}},
      {"limit raised by the sample interval",
       {},
       {{0x30, 10}},
       TimeMode,
       {Field::edtInactivityLimit}},
      {"count mode judges the count alone", {}, {{0x30, 10}}, CountMode, {}},
      {"count raised by more than half", {}, {{0x35, 217}}, CountMode, {Field::edtInactivityLimit}},
  };
  for (const Case& c : cases) {
    const WriteReview review = ReviewWrite(
        SampleImageBytes(c.before), SampleImage(OriginWrite, c.after), c.context, fakeText, {});
    EXPECT_THAT(fieldsOf(review.alarms), ElementsAreArray(c.alarms)) << c.name;
    EXPECT_TRUE(review.known) << c.name;
  }
}

TEST(WriteReviewTest, WithNothingKnownAsksOnlyAboutTheEmergencyButtonAndInactivitySensing) {
  struct Case {
    const char* name;
    ImageChanges after;
    std::vector<Field> alarms;
  };
  const Case cases[] = {
      {"both on", {}, {}},
      {"emergency button off", {{0x2D, 0x09}}, {Field::cbConfig_D1}},
      {"inactivity sensing off", {{0x2D, 0x0A}}, {Field::cbConfig_D0}},
      {"everything else off", {{0x2D, 0x03}, {0x2C, 0}, {0x32, 200}}, {}},
  };
  for (const Case& c : cases) {
    const WriteReview review =
        ReviewWrite(std::nullopt, SampleImage(OriginWrite, c.after), TimeMode, fakeText, {});
    EXPECT_THAT(fieldsOf(review.alarms), ElementsAreArray(c.alarms)) << c.name;
    EXPECT_FALSE(review.known) << c.name;
    EXPECT_TRUE(review.changes.empty()) << c.name;
  }
}

TEST(WriteReviewTest, NamesTheOldAndTheNewValueAsTheWindowShowsThem) {
  const WriteReview known =
      ReviewWrite(SampleImageBytes(), SampleImage(OriginWrite, {{0x2D, 0x09}, {0x35, 240}}),
                  TimeMode, fakeText, {});
  ASSERT_EQ(known.alarms.size(), 2U);
  EXPECT_EQ(known.alarms[0].left, "#Yes");
  EXPECT_EQ(known.alarms[0].right, "#No");
  EXPECT_EQ(known.alarms[1].left, "12 #10192");
  EXPECT_EQ(known.alarms[1].right, "20 #10192");

  const WriteReview unknown =
      ReviewWrite(std::nullopt, SampleImage(OriginWrite, {{0x2D, 0x09}}), TimeMode, fakeText, {});
  ASSERT_EQ(unknown.alarms.size(), 1U);
  EXPECT_EQ(unknown.alarms[0].left, "#Unknown");
  EXPECT_EQ(unknown.alarms[0].right, "#No");
}

TEST(WriteReviewTest, ASilencedFieldIsNeverAskedAbout) {
  const ImageChanges allOff = {{0x2D, 0x00}};
  const WriteReview known = ReviewWrite(SampleImageBytes(), SampleImage(OriginWrite, allOff),
                                        TimeMode, fakeText, {Field::cbConfig_D1});
  EXPECT_THAT(fieldsOf(known.alarms), ElementsAreArray({Field::cbConfig_D0, Field::cbConfig_D3}));
  const WriteReview unknown = ReviewWrite(std::nullopt, SampleImage(OriginWrite, allOff), TimeMode,
                                          fakeText, {Field::cbConfig_D1, Field::cbConfig_D0});
  EXPECT_FALSE(unknown.NeedsQuestion());
}

TEST(WriteReviewTest, ListsExactlyTheWrittenFieldsThatChange) {
  // Battery interval, short transmissions and the tilt threshold change; the button counter and
  // the radio code are never written.
  const WriteReview review = ReviewWrite(
      SampleImageBytes(),
      SampleImage(OriginWrite, {{0x2C, 48}, {0x33, 0x53}, {0x31, 20}, {0x2B, 9}, {0x21, 0x11}}),
      CountMode, fakeText, {});
  EXPECT_THAT(fieldsOf(review.changes),
              ElementsAreArray({Field::edtNoShortTx, Field::edtBatteryTestInterval,
                                Field::edtInactivityTiltThreshold}));
  EXPECT_TRUE(review.alarms.empty());
  EXPECT_EQ(review.changes[1].left, "24");
  EXPECT_EQ(review.changes[1].right, "48");
  EXPECT_TRUE(ReviewWrite(SampleImageBytes(), SampleImage(OriginWrite), TimeMode, fakeText, {})
                  .changes.empty());
}

// Values.ini keeps the silenced questions by the controls' names, as every earlier version wrote
// them; the fields' stable names are read as well.
TEST(WriteReviewTest, SilencedQuestionsAreReadFromTheSettingsByEitherName) {
  struct Case {
    const char* name;
    const char* setting;
    std::set<Field> silenced;
  };
  const Case cases[] = {
      {"nothing silenced", "", {}},
      {"a value an earlier version wrote",
       "cbConfig_D1,edtBatteryTestInterval,edtInactivityLimit",
       {Field::cbConfig_D1, Field::edtBatteryTestInterval, Field::edtInactivityLimit}},
      {"stable names",
       "inactivitySensing,dementiaBlockTime",
       {Field::cbConfig_D0, Field::edtDementiaBlockTime}},
      {"spaces after the commas",
       "cbConfig_D3, cbRadioTestAlarmActive",
       {Field::cbConfig_D3, Field::cbRadioTestAlarmActive}},
      {"a field without a question and an unknown name", "edtNoShortTx,cbConfig_D9,,", {}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SilencedFieldsOf(QString::fromLatin1(c.setting)), c.silenced) << c.name;
  }
}

TEST(WriteReviewTest, SilencedQuestionsAreWrittenByTheControlsNamesInTheQuestionsOrder) {
  EXPECT_EQ(SilencedFieldsSetting(
                {Field::edtInactivityLimit, Field::cbConfig_D0, Field::edtBatteryTestInterval}),
            QStringLiteral("cbConfig_D0,edtBatteryTestInterval,edtInactivityLimit"));
  EXPECT_EQ(SilencedFieldsSetting({}), QString());
  const std::set<Field> all(GuardedFields().begin(), GuardedFields().end());
  EXPECT_EQ(SilencedFieldsOf(SilencedFieldsSetting(all)), all);
}

}  // namespace
