#include "image/ImageComparison.h"

#include "image/FieldCatalogue.h"
#include "image/Messages.h"
#include "image/VembaData.h"
#include "support/QtPrinters.h"

#include <QLocale>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <map>
#include <utility>

namespace {

using ::testing::ElementsAreArray;

const CodecContext Context{LimitAsTime, QLocale(QLocale::German, QLocale::Germany)};

// The texts the comparison shows values with, by a name of their own.
QString fakeText(Msg::Id number) {
  static const std::map<Msg::Id, QString> names = {{Msg::Yes, "#Yes"},
                                                   {Msg::No, "#No"},
                                                   {Msg::UnitMinutes, "#Minutes"},
                                                   {Msg::UnitHours, "#Hours"},
                                                   {Msg::NotRead, "#NotRead"}};
  const auto name = names.find(number);
  return name == names.end() ? QStringLiteral("#%1").arg(number) : name->second;
}

using Bytes = std::initializer_list<std::pair<int, int>>;

// A complete transmitter configuration (12 hours of 5-minute samples, code 1A2B).
ParameterImage configuration(Bytes changes = {}, ImageOrigin origin = OriginLoad) {
  ParameterImage image{};
  VembaData::ClearImage(image, 0, origin);
  const Bytes base = {{0x20, 0x1A}, {0x21, 0x2B}, {0x2C, 24},   {0x2D, 0x0B},
                      {0x2E, 7},    {0x30, 5},    {0x33, 0x33}, {0x35, 144}};
  for (const auto& [address, value] : base) image[address].value = static_cast<std::uint8_t>(value);
  for (const auto& [address, value] : changes)
    image[address].value = static_cast<std::uint8_t>(value);
  return image;
}

std::vector<Field> differing(const std::vector<ComparedField>& rows) {
  std::vector<Field> fields;
  for (const ComparedField& row : rows) {
    if (row.differs) fields.push_back(row.field);
  }
  return fields;
}

TEST(ImageComparisonTest, ListsExactlyTheFieldsThatShowDifferently) {
  struct Case {
    const char* name;
    Bytes changes;
    std::vector<Field> expected;
  };
  const Case cases[] = {
      {"identical", {}, {}},
      {"one decimal byte", {{0x2C, 36}}, {Field::edtBatteryTestInterval}},
      {"the low nibble only", {{0x33, 0x35}}, {Field::edtNoLongTx}},
      {"one configuration bit", {{0x2D, 0x03}}, {Field::cbConfig_D3}},
      {"a byte no field shows", {{0x00, 0xFF}, {0x2D, 0xCB}}, {}},
      {"the sample interval moves the limit's time",
       {{0x30, 10}},
       {Field::edtInactivityLimit, Field::edtInactivitySampleInterval}},
      {"the radio code", {{0x21, 0x2C}}, {Field::edtRadioCodeOld}},
      {"another product", {{0x2E, 5}}, {Field::edtFirmwareType}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto rows = CompareImages(configuration(), OriginLoad, configuration(c.changes),
                                    OriginLoad, Context, fakeText);
    EXPECT_EQ(rows.size(), 25u);  // every field the window shows, the new code aside
    EXPECT_THAT(differing(rows), ElementsAreArray(c.expected));
  }
}

TEST(ImageComparisonTest, ShowsValuesAsTheWindowDoesWithUnitsAndYesOrNo) {
  const auto rows = CompareImages(configuration({{0x2D, 0x03}}, OriginSave), OriginSave,
                                  configuration({{0x35, 6}}), OriginLoad, Context, fakeText);
  const auto row = [&rows](Field field) {
    for (const ComparedField& compared : rows) {
      if (compared.field == field) return std::pair(compared.left, compared.right);
    }
    return std::pair(QString("<none>"), QString("<none>"));
  };
  EXPECT_EQ(row(Field::cbConfig_D3), std::pair(QString("#No"), QString("#Yes")));
  EXPECT_EQ(row(Field::edtInactivityLimit),
            std::pair(QString("12 #Hours"), QString("30 #Minutes")));
  EXPECT_EQ(row(Field::edtRadioCodeOld), std::pair(QString("1A2B"), QString("1A2B")));
  // One configuration alone, as a sheet lists it.
  const std::map<Field, QString> shown =
      ShownFieldTexts(configuration({{0x35, 6}}), OriginLoad, Context, fakeText);
  EXPECT_EQ(shown.at(Field::cbConfig_D3), "#Yes");
  EXPECT_EQ(shown.at(Field::edtInactivityLimit), "30 #Minutes");
}

TEST(ImageComparisonTest, ASideWithoutTheOriginShowsWhatTheWindowWould) {
  ParameterImage unread = configuration();
  VembaData::ClearImage(unread, 0, OriginNone);
  const auto rows =
      CompareImages(configuration(), OriginLoad, unread, OriginLoad, Context, fakeText);
  EXPECT_EQ(rows.front().field, Field::edtRadioCodeOld);
  EXPECT_EQ(rows.front().right, QString());
  EXPECT_EQ(rows.size(), 25u);
}

TEST(ImageComparisonTest, VerificationNamesOnlyTheFieldsWhoseWrittenBytesWereNotKept) {
  struct Case {
    const char* name;
    Bytes transmitter;  // the bytes the transmitter holds afterwards, where they differ
    std::vector<std::pair<Field, std::pair<QString, QString>>> expected;
  };
  const Case cases[] = {
      {"all kept", {}, {}},
      {"a byte a write never sends", {{0x2A, 9}, {0x2E, 5}}, {}},
      {"one written byte", {{0x2C, 12}}, {{Field::edtBatteryTestInterval, {"24", "12"}}}},
      {"the sample interval, not the limit it moves",
       {{0x30, 10}},
       {{Field::edtInactivitySampleInterval, {"5", "10"}}}},
      {"one configuration bit", {{0x2D, 0x0A}}, {{Field::cbConfig_D0, {"#Yes", "#No"}}}},
      {"a bit no field shows", {{0x2D, 0x8B}}, {{Field::cbConfig_D0, {"#Yes [0B]", "#Yes [8B]"}}}},
  };
  const ParameterImage sent = configuration({}, OriginWrite);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ParameterImage readBack = configuration(c.transmitter, OriginNone);
    for (int address = 0x22; address <= 0x3A; ++address) readBack[address].origin = OriginRead;
    std::vector<std::pair<Field, std::pair<QString, QString>>> named;
    for (const ComparedField& row : FieldsNotKept(sent, readBack, Context, fakeText))
      named.push_back({row.field, {row.left, row.right}});
    EXPECT_THAT(named, ElementsAreArray(c.expected));
  }
}

TEST(ImageComparisonTest, AWrittenByteTheReadDidNotReturnIsNotKept) {
  ParameterImage readBack = configuration({}, OriginRead);
  readBack[0x3A].origin = OriginNone;
  const auto rows = FieldsNotKept(configuration({}, OriginWrite), readBack, Context, fakeText);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].field, Field::edtInactivityRetransmissionAttempts);
  EXPECT_EQ(rows[0].right, "#NotRead");
}

TEST(ImageComparisonTest, EachFieldNotKeptHasALineWithItsCaptionAndBothValues) {
  // The text table's formatting, faked: the number, then the arguments.
  const TextFormatter format = [](Msg::Id number, const QStringList& arguments) {
    return QString::number(number) +
           (arguments.isEmpty() ? QString() : '(' + arguments.join(',') + ')');
  };
  const std::vector<ComparedField> unkept = {{Field::edtBatteryTestInterval, "36", "24", true},
                                             {Field::edtInactivityLimit, "12 h", "6 h", true}};
  EXPECT_EQ(UnkeptFieldLines(unkept, LimitAsTime, format),
            QStringLiteral("%1(%2,36,24)\n%1(%3,12 h,6 h)\n")
                .arg(Msg::VerifyDifferenceLine)
                .arg(Msg::CaptionBatteryTestInterval)
                .arg(Msg::CaptionInactivityLimit));
  EXPECT_EQ(UnkeptFieldLines({}, LimitAsTime, format), QString());
}

TEST(ImageComparisonTest, EveryFieldHasTheCaptionOfItsLabel) {
  EXPECT_EQ(FieldCaptionText(Field::edtInactivityLimit, LimitAsTime), Msg::CaptionInactivityLimit);
  EXPECT_EQ(FieldCaptionText(Field::edtInactivityLimit, LimitAsCount),
            Msg::CaptionInactivityLimitCount);
  for (int field = 0; field <= static_cast<int>(Field::edtInactivityRetransmissionAttempts);
       ++field)
    EXPECT_NE(FieldCaptionText(static_cast<Field>(field), LimitAsTime), 0) << field;
}

TEST(ImageComparisonTest,
     TheWindowChangedSinceTheReadOnlyWhenAFieldTheReadDeliveredShowsOtherwise) {
  // The read delivers 0x22..0x3A; the window is built over it.
  ParameterImage read = configuration({}, OriginNone);
  for (int address = 0x22; address <= 0x3A; ++address) read[address].origin = OriginRead;
  struct Case {
    const char* name;
    Bytes windowChanges;
    bool changed;
  };
  const Case cases[] = {
      {"as read", {}, false},
      {"battery test interval 24 -> 36", {{0x2C, 36}}, true},
      {"a check box", {{0x2D, 0x0A}}, true},
      {"bits no field shows", {{0x2D, 0xCB}}, false},
      {"the limit's count", {{0x35, 145}}, true},
      {"the radio code, which the read does not deliver", {{0x20, 0xBE}}, false},
  };
  for (const Case& c : cases) {
    ParameterImage window = read;
    for (const auto& [address, value] : c.windowChanges)
      window[address] = {static_cast<std::uint8_t>(value), OriginRead};
    EXPECT_EQ(WindowChangedSinceRead(read, window, Context), c.changed) << c.name;
  }
}

// The window beside a file: the limit in the window's unit, rows in the window's order, and a
// typed number the codec rounds named with what was typed; differences judged on the bytes.
TEST(ImageComparisonTest, TheWindowSideIsShownInTheWindowsUnitAndSaysWhatWasTyped) {
  const int delay = AddressesOf(Field::edtButtonActivationDelay).front();
  struct Case {
    const char* name;
    std::map<Field, QString> typed;
    int unit;
    Bytes fileChanges;
    Field field;
    QString left;
    QString right;
    bool differs;
  };
  const Case cases[] = {
      {"the window's minutes",
       {},
       UnitMinutes,
       {},
       Field::edtInactivityLimit,
       "720 #Minutes",
       "720 #Minutes",
       false},
      {"a time the samples round",
       {{Field::edtInactivitySampleInterval, "7"}, {Field::edtInactivityLimit, "90"}},
       UnitMinutes,
       {{0x30, 7}, {0x35, 13}},
       Field::edtInactivityLimit,
       "91 #Minutes (typed 90 #Minutes)",
       "91 #Minutes",
       false},
      {"hours the samples cannot give",
       {{Field::edtInactivitySampleInterval, "7"}, {Field::edtInactivityLimit, "1"}},
       UnitHours,
       {},
       Field::edtInactivityLimit,
       "63 #Minutes (typed 1 #Hours)",
       "12 #Hours",
       true},
      {"tenths the codec cuts",
       {{Field::edtButtonActivationDelay, "0,25"}},
       UnitHours,
       {{delay, 2}},
       Field::edtButtonActivationDelay,
       "0,2 (typed 0,25)",
       "0,2",
       false},
      {"the same value written otherwise",
       {{Field::edtBatteryTestInterval, "024"}},
       UnitHours,
       {},
       Field::edtBatteryTestInterval,
       "24",
       "24",
       false},
  };
  const TextFormatter format = [](Msg::Id number, const QStringList& arguments) {
    return number == Msg::CompareTypedValue ? arguments[0] + " (typed " + arguments[1] + ")"
                                            : QString("#%1").arg(number);
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FieldValues typed;
    for (const ShownValue& shown : ShowImageValues(configuration(), OriginLoad, Context).values) {
      typed.texts[shown.field] = shown.text;
      typed.checks[shown.field] = shown.checked;
    }
    for (const auto& [field, text] : c.typed) typed.texts[field] = text;
    typed.selectedUnit = c.unit;
    if (c.unit == UnitMinutes && c.typed.count(Field::edtInactivityLimit) == 0)
      typed.texts[Field::edtInactivityLimit] = "720";
    ParameterImage built = configuration({}, OriginNone);
    ASSERT_EQ(BuildImageFromFields(built, OriginSave, typed, Context), ImageOk);
    const auto rows =
        CompareWindowWithImage(typed, built, OriginSave, configuration(c.fileChanges), OriginLoad,
                               Context, fakeText, format, Msg::CompareTypedValue);
    std::vector<Field> order;
    for (const FieldEntry& entry : FieldCatalogue()) {
      if (std::any_of(rows.begin(), rows.end(),
                      [&entry](const ComparedField& row) { return row.field == entry.field; }))
        order.push_back(entry.field);
    }
    std::vector<Field> shownOrder;
    for (const ComparedField& row : rows) shownOrder.push_back(row.field);
    EXPECT_EQ(shownOrder, order);
    const auto row = std::find_if(rows.begin(), rows.end(),
                                  [&c](const ComparedField& r) { return r.field == c.field; });
    ASSERT_NE(row, rows.end());
    EXPECT_EQ(row->left, c.left);
    EXPECT_EQ(row->right, c.right);
    EXPECT_EQ(row->differs, c.differs);
  }
}

}  // namespace
