#include "files/Backups.h"

#include <QDateTime>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

ImageBytes filled(std::uint8_t value) {
  ImageBytes bytes{};
  bytes.fill(value);
  return bytes;
}

// What a write lays its blocks over is the pendant's latest read, not a later write's backup.
TEST(BackupsTest, TheLatestBackupOfAKindPassesOverNewerOnesOfTheOther) {
  QTemporaryDir root;
  const QString data = root.path() + u'/';
  const QDate day(2026, 12, 7);
  struct Kept {
    BackupKind kind;
    int second;
    std::uint8_t fill;
  };
  const Kept kept[] = {
      {BackupKind::Read, 1, 0x11}, {BackupKind::Read, 2, 0x22}, {BackupKind::Write, 3, 0x33}};
  for (const Kept& backup : kept) {
    ASSERT_FALSE(WriteBackup(data, "1A2B", backup.kind, filled(backup.fill),
                             QDateTime(day, QTime(9, 0, backup.second)))
                     .relativePath.isEmpty());
  }
  const std::pair<std::optional<BackupKind>, std::optional<ImageBytes>> rows[] = {
      {std::nullopt, filled(0x33)},
      {BackupKind::Read, filled(0x22)},
      {BackupKind::Write, filled(0x33)},
  };
  for (const auto& [kind, expected] : rows) EXPECT_EQ(LatestBackup(data, "1A2B", kind), expected);
  EXPECT_EQ(LatestBackup(data, "BEEF", BackupKind::Read), std::nullopt);
}

}  // namespace
