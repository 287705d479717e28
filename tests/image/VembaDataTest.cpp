#include "image/VembaData.h"

#include <gtest/gtest.h>

TEST(VembaDataHex, DigitsPairsAndCodes) {
  EXPECT_EQ(VembaData::ByteToHex(0x0A), "0A");
  EXPECT_EQ(VembaData::ByteToHex(0xF3), "F3");
  EXPECT_EQ(VembaData::HexPairValue(u'f', u'F'), 0xFF);
  EXPECT_EQ(VembaData::HexPairValue(u'?', u'7'), 0x07);
  EXPECT_EQ(VembaData::BytesToHexText(0, 0), "");
  EXPECT_EQ(VembaData::BytesToHexText(0, 0x0F), "000F");

  std::uint8_t first = 1;
  std::uint8_t second = 1;
  VembaData::HexTextToBytes("", first, second);
  EXPECT_EQ(first, 0);
  EXPECT_EQ(second, 0);
  VembaData::HexTextToBytes("1a2", first, second);  // padded: the missing digit counts 0
  EXPECT_EQ(first, 0x1A);
  EXPECT_EQ(second, 0x20);
}

TEST(VembaDataImage, StoreRecordStaysInsideTheImageAndTheText) {
  ParameterImage image{};
  VembaData::ClearImage(image, 0, OriginNone);
  // Count 4 at 0xFE: only 0xFE and 0xFF exist.
  EXPECT_TRUE(VembaData::StoreImageRecord(image,
                                          "0000"
                                          "04FE"
                                          "11223344",
                                          OriginRead));
  EXPECT_EQ(image[0xFE].value, 0x11);
  EXPECT_EQ(image[0xFF].value, 0x22);
  EXPECT_EQ(image[0x00].origin, OriginNone);

  // Count 3 but only one and a half data bytes in the text.
  EXPECT_TRUE(VembaData::StoreImageRecord(image,
                                          "0000"
                                          "0330"
                                          "AAB",
                                          OriginRead));
  EXPECT_EQ(image[0x30].value, 0xAA);
  EXPECT_EQ(image[0x30].origin, OriginRead);
  EXPECT_EQ(image[0x31].origin, OriginNone);

  // Too short even for its header.
  EXPECT_TRUE(VembaData::StoreImageRecord(image, "00", OriginRead));
}

TEST(VembaDataImage, LoadAndExtractKeepAddressOrder) {
  ImageBytes bytes{};
  for (int i = 0; i < ImageSize; ++i) bytes[i] = static_cast<std::uint8_t>(255 - i);
  ParameterImage image{};
  VembaData::LoadImageBytes(image, bytes, OriginLoad);
  EXPECT_EQ(image[3].value, 252);
  EXPECT_EQ(image[3].origin, OriginLoad);
  EXPECT_EQ(VembaData::ExtractImageBytes(image), bytes);
}

TEST(VembaDataKeys, EditingControlsPassLettersDoNot) {
  for (char16_t control : {u'\x03', u'\x08', u'\x16', u'\x18'}) {
    EXPECT_TRUE(VembaData::IsDigitKey(QChar(control)));
    EXPECT_TRUE(VembaData::IsHexDigitKey(QChar(control)));
    EXPECT_TRUE(VembaData::IsDecimalKey(QChar(control), u','));
  }
  for (char16_t rejected : {u'\x01', u'\x1A', u'\r', u'\x1B', u' ', u'-', u'a'}) {
    EXPECT_FALSE(VembaData::IsDigitKey(QChar(rejected))) << int(rejected);
  }
  EXPECT_TRUE(VembaData::IsHexDigitKey(u'f'));
  EXPECT_FALSE(VembaData::IsHexDigitKey(u'G'));
  EXPECT_TRUE(VembaData::IsDecimalKey(u',', u','));
  EXPECT_FALSE(VembaData::IsDecimalKey(u'.', u','));
}
