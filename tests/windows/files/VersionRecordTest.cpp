#include "files/ProgramVersion.h"

#include <gtest/gtest.h>

namespace {

// The record is read back from the program file's resource, as Explorer shows it: an empty
// Comments value is there and empty.
TEST(WindowsVersionRecord, ReadsTheProgramFilesResource) {
  const std::optional<ProgramVersionInfo> record = CompiledProgramVersionInfo();
  ASSERT_TRUE(record.has_value());
  EXPECT_EQ(record->FileDescription, QStringLiteral("U-KOVA Programmer"));
  EXPECT_EQ(record->FileVersion, QStringLiteral("1.2.1.123"));
  EXPECT_EQ(record->Comments, QString());
}

}  // namespace
