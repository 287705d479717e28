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
  // ProductVersion names the build: the release and the count of commits it was built from.
  ASSERT_TRUE(record->ProductVersion.has_value());
  EXPECT_TRUE(record->ProductVersion->startsWith(QStringLiteral("1.2.1.123")))
      << record->ProductVersion->toStdString();
  EXPECT_EQ(GetBuildVersion(), *record->ProductVersion);
}

}  // namespace
