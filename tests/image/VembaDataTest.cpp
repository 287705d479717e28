#include <gtest/gtest.h>

#include "image/VembaData.h"

TEST(VembaDataHex, ByteAndPairRoundTrip) {
  EXPECT_EQ(VembaData::ByteToHex(0x0A), "0A");
  EXPECT_EQ(VembaData::HexPairValue(u'f', u'F'), 0xFF);
  EXPECT_EQ(VembaData::HexPairValue(u'?', u'7'), 0x07);
}
