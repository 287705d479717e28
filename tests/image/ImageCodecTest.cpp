#include "image/ImageCodec.h"

#include "image/VembaData.h"
#include "support/SampleImage.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <optional>

namespace {

const QLocale German(QLocale::German, QLocale::Germany);
const QLocale English(QLocale::English, QLocale::UnitedStates);

ParameterImage imageWith(std::initializer_list<std::pair<int, int>> bytes,
                         ImageOrigin origin = OriginLoad) {
  ParameterImage image{};
  VembaData::ClearImage(image, 0, origin);
  for (const auto& [address, value] : bytes)
    image[address].value = static_cast<std::uint8_t>(value);
  return image;
}

// A complete transmitter image of this product.
ParameterImage transmitterImage(ImageChanges extra = {}) {
  return SampleImage(OriginLoad, extra);
}

std::optional<ShownValue> shown(const ShowResult& result, Field field) {
  std::optional<ShownValue> last;
  for (const ShownValue& value : result.values) {
    if (value.field == field) last = value;
  }
  return last;
}

QString shownText(const ShowResult& result, Field field) {
  const auto value = shown(result, field);
  return value ? value->text : QStringLiteral("<not shown>");
}

FieldValues factoryFields() {
  FieldValues fields;
  fields.texts = {
      {Field::edtNoShortTx, "3"},
      {Field::edtNoLongTx, "3"},
      {Field::edtInactivityLimit, "12"},
      {Field::edtInactivitySampleInterval, "5"},
      {Field::edtButtonActivationDelay, "0,1"},
      {Field::edtFirmwareType, "U-KOVA"},
  };
  fields.selectedUnit = UnitHours;
  return fields;
}

int build(ParameterImage& image, const FieldValues& fields,
          InactivityLimitModeKind mode = LimitAsTime, const QLocale& locale = German,
          ImageOrigin origin = OriginSave) {
  return BuildImageFromFields(image, origin, fields, CodecContext{mode, locale});
}

int countAt(const ParameterImage& image) {
  return InactivityCountOf(image);
}

}  // namespace

TEST(ShowImage, ProductTypeDecidesBetweenOkAndWrongProduct) {
  const ShowResult ok = ShowImageValues(transmitterImage(), OriginLoad, {LimitAsTime, German});
  EXPECT_EQ(ok.status, ImageOk);
  EXPECT_EQ(shownText(ok, Field::edtFirmwareType), "U-KOVA");

  const ShowResult other = ShowImageValues(transmitterImage({{ProductTypeAddress, 5}}), OriginLoad,
                                           {LimitAsTime, German});
  EXPECT_EQ(other.status, ImageWrongProduct);
  EXPECT_EQ(shownText(other, Field::edtFirmwareType), "unknown");
  // Every other field is shown all the same.
  EXPECT_EQ(shownText(other, Field::edtInactivitySampleInterval), "5");
}

TEST(ShowImage, PartialReadShowsPlaceholdersAndReportsTheLastFailingField) {
  // The blocks at 0x22, 0x28 and 0x30 arrived, the one at 0x38 did not.
  ParameterImage image{};
  VembaData::ClearImage(image, 0, OriginNone);
  ASSERT_TRUE(VembaData::StoreImageRecord(image, "0000062225061509AA00", OriginRead));
  ASSERT_TRUE(VembaData::StoreImageRecord(image, "0000082813000000180B0712", OriginRead));
  ASSERT_TRUE(VembaData::StoreImageRecord(image, "000008300500003300900118", OriginRead));
  const ShowResult result = ShowImageValues(image, OriginRead, {LimitAsTime, German});

  EXPECT_EQ(result.status, 58);
  EXPECT_EQ(shownText(result, Field::edtTotalTxCounter), "?");
  EXPECT_EQ(shownText(result, Field::edtInactivityRetransmissionAttempts), "?");
  EXPECT_EQ(shownText(result, Field::edtProductionDate), "250615");
  EXPECT_EQ(shownText(result, Field::edtMissedAck), "19");
  EXPECT_EQ(shownText(result, Field::edtFirmwareVersion), "1.2");
  EXPECT_EQ(shownText(result, Field::edtInactivityLimit), "12");
  // The radio code cells never arrive with a read and never produce a status.
  EXPECT_FALSE(shown(result, Field::edtRadioCodeOld).has_value());
}

TEST(ShowImage, PlaceholdersAndFailingOrderFollowTheShowSequence) {
  ParameterImage image = transmitterImage();
  image[0x2D].origin = OriginNone;  // check boxes: untouched, 45
  image[0x36].origin = OriginNone;  // button delay: "?.?", 54
  image[0x29].origin = OriginNone;  // radio test box: untouched, 41
  const ShowResult result = ShowImageValues(image, OriginLoad, {LimitAsTime, German});
  EXPECT_EQ(result.status, 45);
  EXPECT_EQ(shownText(result, Field::edtButtonActivationDelay), "?.?");
  EXPECT_FALSE(shown(result, Field::cbRadioTestAlarmActive).has_value());
  EXPECT_FALSE(shown(result, Field::cbConfig_D0).has_value());
}

TEST(ShowImage, InactivityLimitChoosesItsUnit) {
  const auto limitOf = [](int count, int interval, InactivityLimitModeKind mode = LimitAsTime) {
    const ParameterImage image = transmitterImage({{InactivityCountAddress, count >> 8},
                                                   {InactivityCountAddress + 1, count & 0xFF},
                                                   {SampleIntervalAddress, interval}});
    const ShowResult result = ShowImageValues(image, OriginLoad, {mode, German});
    return std::pair{*shown(result, Field::edtInactivityLimit), result.status};
  };
  auto [hours, okStatus] = limitOf(12, 5);
  EXPECT_EQ(hours.text, "1");
  EXPECT_EQ(hours.unit, UnitHours);
  EXPECT_EQ(hours.maxLength, 4);
  EXPECT_EQ(okStatus, ImageOk);

  auto [minutes, status13] = limitOf(13, 5);
  EXPECT_EQ(minutes.text, "65");
  EXPECT_EQ(minutes.unit, UnitMinutes);
  EXPECT_EQ(minutes.maxLength, 5);

  auto [tooMany, status52] = limitOf(65520, 2);
  EXPECT_EQ(tooMany.text, "2184");
  EXPECT_EQ(tooMany.unit, UnitHours);
  EXPECT_EQ(status52, 52);

  EXPECT_EQ(limitOf(65535, 2).first.text, "131070");
  EXPECT_EQ(limitOf(0, 5).first.unit, UnitHours);
  EXPECT_EQ(limitOf(7, 0).first.text, "0");

  auto [count, countStatus] = limitOf(13, 5, LimitAsCount);
  EXPECT_EQ(count.text, "13");
  EXPECT_EQ(count.unit, NoUnit);
  EXPECT_EQ(count.maxLength, 5);
}

TEST(ShowImage, ButtonDelayUsesTheLocaleSeparator) {
  const ParameterImage image = transmitterImage({{0x36, 25}});
  EXPECT_EQ(shownText(ShowImageValues(image, OriginLoad, {LimitAsTime, German}),
                      Field::edtButtonActivationDelay),
            "2,5");
  EXPECT_EQ(shownText(ShowImageValues(image, OriginLoad, {LimitAsTime, English}),
                      Field::edtButtonActivationDelay),
            "2.5");
}

TEST(BuildImage, InactivityLimitInTimeMode) {
  ParameterImage image{};
  FieldValues fields = factoryFields();
  fields.texts[Field::edtInactivityLimit] = "3";
  fields.texts[Field::edtInactivitySampleInterval] = "7";
  EXPECT_EQ(build(image, fields), ImageOk);
  EXPECT_EQ(image[InactivityCountAddress].value, 0x00);
  EXPECT_EQ(image[0x35].value, 0x1A);  // 180 / 7 = 25.7 rounds to 26
  EXPECT_EQ(image[InactivityCountAddress].origin, OriginSave);

  fields.texts[Field::edtInactivityLimit] = "1093";
  fields.texts[Field::edtInactivitySampleInterval] = "60";
  EXPECT_EQ(build(image, fields), 52);
  EXPECT_EQ(countAt(image), 1093);

  // A half rounds up: 5 minutes over an interval of 2 is 2.5.
  fields.selectedUnit = UnitMinutes;
  fields.texts[Field::edtInactivityLimit] = "5";
  fields.texts[Field::edtInactivitySampleInterval] = "2";
  EXPECT_EQ(build(image, fields), ImageOk);
  EXPECT_EQ(countAt(image), 3);
}

TEST(BuildImage, SampleIntervalZeroOrPlaceholderFailsOnlyInTimeMode) {
  ParameterImage image{};
  FieldValues fields = factoryFields();
  fields.texts[Field::edtInactivitySampleInterval] = "?";
  EXPECT_EQ(build(image, fields), 48);
  EXPECT_EQ(countAt(image), 0);
  EXPECT_EQ(image[0x35].origin, OriginSave);

  fields.texts[Field::edtInactivityLimit] = "40000";
  EXPECT_EQ(build(image, fields, LimitAsCount), ImageOk);
  EXPECT_EQ(countAt(image), 40000);
}

TEST(BuildImage, ButtonDelayParsing) {
  const auto delayByte = [](const QString& text, const QLocale& locale) {
    ParameterImage image{};
    FieldValues fields = factoryFields();
    fields.texts[Field::edtButtonActivationDelay] = text;
    const int status = build(image, fields, LimitAsTime, locale);
    return std::pair{static_cast<int>(image[0x36].value), status};
  };
  EXPECT_EQ(delayByte("2,5", German), std::pair(25, ImageOk));
  EXPECT_EQ(delayByte("0,25", German), std::pair(2, ImageOk));
  EXPECT_EQ(delayByte("", German), std::pair(0, 54));
  EXPECT_EQ(delayByte("?.?", German), std::pair(0, 54));
  EXPECT_EQ(delayByte("1,2,3", German), std::pair(0, 54));
  EXPECT_EQ(delayByte("2.5", English), std::pair(25, ImageOk));
  // On a comma locale the point is no separator: "0.5" must not become 5 seconds.
  EXPECT_EQ(delayByte("0.5", German).second, 54);
  // Pasted numbers far beyond a byte keep no low bits in single precision.
  EXPECT_EQ(delayByte("1e30", German), std::pair(0, ImageOk));
  EXPECT_EQ(delayByte("-1e30", German), std::pair(0, ImageOk));
  EXPECT_EQ(delayByte("inf", German), std::pair(0, ImageOk));
}

TEST(BuildImage, LaterFailuresOverrideEarlierOnes) {
  ParameterImage image{};
  FieldValues fields = factoryFields();
  fields.texts[Field::edtButtonActivationDelay] = "";
  EXPECT_EQ(build(image, fields), 54);
  fields.texts[Field::edtInactivitySampleInterval] = "0";
  EXPECT_EQ(build(image, fields), 48);
}

TEST(BuildImage, NibblesVersionDateAndProductType) {
  ParameterImage image =
      imageWith({{0x2F, 0x99}, {0x22, 0x01}, {ProductTypeAddress, 0x05}}, OriginLoad);
  FieldValues fields = factoryFields();
  fields.texts[Field::edtNoShortTx] = "15";
  fields.texts[Field::edtNoLongTx] = "3";
  fields.texts[Field::edtFirmwareVersion] = "A.f";
  fields.texts[Field::edtProductionDate] = "110315";
  fields.texts[Field::edtFirmwareType] = "u-kova";
  EXPECT_EQ(build(image, fields), ImageOk);
  EXPECT_EQ(image[0x33].value, 0xF3);
  EXPECT_EQ(image[0x2F].value, 0xAF);
  EXPECT_EQ(image[0x22].value, 0x11);
  EXPECT_EQ(image[0x23].value, 0x03);
  EXPECT_EQ(image[0x24].value, 0x15);
  // Not exactly "U-KOVA": the product byte stays as loaded.
  EXPECT_EQ(image[ProductTypeAddress].value, 0x05);
  EXPECT_EQ(image[ProductTypeAddress].origin, OriginLoad);

  fields.texts[Field::edtNoShortTx] = "16";
  fields.texts[Field::edtNoLongTx] = "0";
  fields.texts[Field::edtFirmwareVersion] = "12";
  fields.texts[Field::edtProductionDate] = "YYMMDD";
  EXPECT_EQ(build(image, fields), ImageOk);
  EXPECT_EQ(image[0x33].value, 0x00);
  EXPECT_EQ(image[0x2F].value, 0xAF);  // not of the form digit '.' digit: untouched
  EXPECT_EQ(image[0x22].value, 0x00);
  EXPECT_EQ(image[0x23].value, 0x00);
  EXPECT_EQ(image[0x24].value, 0xDD);

  fields.texts[Field::edtFirmwareVersion] = "?.?";
  EXPECT_EQ(build(image, fields), ImageOk);
  EXPECT_EQ(image[0x2F].value, 0x00);

  // Pasted extremes keep their low 8 bits.
  fields.texts[Field::edtNoShortTx] = "2147483647";
  fields.texts[Field::edtNoLongTx] = "-2147483648";
  EXPECT_EQ(build(image, fields), ImageOk);
  EXPECT_EQ(image[0x33].value, 0xF0);
}

TEST(BuildImage, RadioCodeComesFromTheNewFieldOnlyForAWrite) {
  FieldValues fields = factoryFields();
  fields.texts[Field::edtRadioCodeOld] = "1A2B";
  fields.texts[Field::edtRadioCodeNew] = "";
  ParameterImage forFile{};
  EXPECT_EQ(build(forFile, fields), ImageOk);
  EXPECT_EQ(forFile[RadioCodeAddress].value, 0x1A);
  EXPECT_EQ(forFile[RadioCodeAddress + 1].value, 0x2B);

  ParameterImage forWrite{};
  EXPECT_EQ(build(forWrite, fields, LimitAsTime, German, OriginWrite), ImageOk);
  EXPECT_EQ(forWrite[RadioCodeAddress].value, 0x00);
  EXPECT_EQ(forWrite[RadioCodeAddress + 1].value, 0x00);
  EXPECT_EQ(forWrite[RadioCodeAddress].origin, OriginWrite);
}

TEST(BuildImage, CheckBoxesAndCountersAndUnownedBytes) {
  ParameterImage image = imageWith({{0x00, 0x55}, {0x25, 0x66}, {0x2D, 0xC0}}, OriginLoad);
  FieldValues fields = factoryFields();
  fields.checks = {{Field::cbConfig_D0, true},
                   {Field::cbConfig_D3, true},
                   {Field::cbConfig_D5, true},
                   {Field::cbRadioTestAlarmActive, true}};
  fields.texts[Field::edtButtonCounter] = "?";
  fields.texts[Field::edtTotalTxCounter] = "4660";
  EXPECT_EQ(build(image, fields), ImageOk);
  EXPECT_EQ(image[0x2D].value, 0x29);  // bits 6 and 7 always 0
  EXPECT_EQ(image[0x29].value, 1);
  EXPECT_EQ(image[0x2A].value, 0);
  EXPECT_EQ(image[0x38].value, 0x12);
  EXPECT_EQ(image[0x39].value, 0x34);
  EXPECT_EQ(image[0x00].value, 0x55);
  EXPECT_EQ(image[0x25].value, 0x66);
  EXPECT_EQ(image[0x25].origin, OriginLoad);
}

TEST(ImageSegments, WriteBlocksAndSegmentText) {
  const std::vector<ImageBlock> blocks = ConfigurationWriteBlocks();
  ASSERT_EQ(blocks.size(), 4U);
  const std::pair<int, int> expected[] = {{3, 0x27}, {2, 0x2C}, {8, 0x30}, {1, 0x3A}};
  for (std::size_t i = 0; i < blocks.size(); ++i) {
    EXPECT_EQ(blocks[i].count, expected[i].first);
    EXPECT_EQ(blocks[i].start, expected[i].second);
  }
  const ParameterImage image = imageWith({{0x27, 9}, {0x28, 19}, {0x29, 1}});
  EXPECT_EQ(FormatImageSegment(image, 3, 0x27), "0327091301");
}

TEST(ShowAndBuild, ShownValuesBuildBackTheSameBytes) {
  // Every field with a value of its own besides the factory's.
  const ParameterImage original = transmitterImage({{RadioCodeAddress, 0x1A},
                                                    {RadioCodeAddress + 1, 0x2B},
                                                    {0x29, 1},
                                                    {0x2A, 1},
                                                    {0x2B, 2},
                                                    {0x2D, 0x2B},
                                                    {0x32, 30},
                                                    {0x33, 0x53},
                                                    {0x36, 7},
                                                    {0x38, 3},
                                                    {0x39, 4},
                                                    {0x3A, 2}});
  for (const QLocale& locale : {German, English}) {
    const ShowResult result = ShowImageValues(original, OriginLoad, {LimitAsTime, locale});
    ASSERT_EQ(result.status, ImageOk);
    FieldValues fields;
    for (const ShownValue& value : result.values) {
      fields.texts[value.field] = value.text;
      fields.checks[value.field] = value.checked;
      if (value.unit != NoUnit) fields.selectedUnit = value.unit;
    }
    ParameterImage rebuilt = original;
    ASSERT_EQ(build(rebuilt, fields, LimitAsTime, locale), ImageOk);
    for (int address = 0; address < ImageSize; ++address) {
      EXPECT_EQ(rebuilt[address].value, original[address].value) << "address " << address;
    }
  }
}
