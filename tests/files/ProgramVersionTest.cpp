#include "files/ProgramVersion.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

TEST(ProgramVersionTest, VersionComesFromTheRecordAndIsEmptyWithoutOne) {
  EXPECT_EQ(GetProgramVersion(), QStringLiteral("1.2.1.123"));
  EXPECT_EQ(ProgramVersionOf(std::nullopt), QString());
  EXPECT_EQ(ProgramVersionOf(
                ProgramVersionInfo{QStringLiteral("U-KOVA Programmer"), std::nullopt, QString()}),
            QString());
}

}  // namespace
