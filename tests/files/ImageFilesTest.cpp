#include "files/ImageFiles.h"

#include "support/FileBytes.h"
#include "support/FileSizeLimit.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class ImageFilesTest : public ::testing::Test {
 protected:
  QTemporaryDir folder;
  QString path = folder.filePath(QStringLiteral("pendant.ukova"));
};

ImageBytes countingBytes() {
  ImageBytes bytes{};
  for (int address = 0; address < ImageSize; ++address) bytes[address] = std::uint8_t(address);
  return bytes;
}

TEST_F(ImageFilesTest, OnlyAWholeImageIsRead) {
  const struct {
    int size;
    bool read;
  } cases[] = {{256, true}, {255, false}, {0, false}};
  for (const auto& c : cases) {
    writeBytes(path, QByteArray(c.size, '\x5A'));
    ImageBytes bytes{};
    EXPECT_EQ(ReadImageFile(path, bytes), c.read) << c.size;
    EXPECT_EQ(FileSizeOf(path), c.size);
  }
  ImageBytes bytes{};
  EXPECT_FALSE(ReadImageFile(folder.filePath(QStringLiteral("missing")), bytes));
  EXPECT_EQ(FileSizeOf(folder.filePath(QStringLiteral("missing"))), 0);
  EXPECT_EQ(FileSizeOf(folder.path()), 0);
  // A pipe without a writer would block the program for good.
  const QString pipe = folder.filePath(QStringLiteral("Default.bin"));
  ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
  EXPECT_FALSE(ReadImageFile(pipe, bytes));
  EXPECT_EQ(FileSizeOf(pipe), 0);
}

TEST_F(ImageFilesTest, AWrittenImageReadsBackByteForByte) {
  ASSERT_TRUE(WriteImageFile(countingBytes(), path));
  ImageBytes bytes{};
  ASSERT_TRUE(ReadImageFile(path, bytes));
  EXPECT_EQ(bytes, countingBytes());
}

TEST_F(ImageFilesTest, AReadOnlyFileIsNeitherReplacedNorChanged) {
  writeBytes(path, "precious");
  ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup));
  EXPECT_TRUE(IsReadOnlyFile(path));
  EXPECT_TRUE(IsWriteProtected(path));
  EXPECT_FALSE(WriteImageFile(countingBytes(), path));
  EXPECT_FALSE(ReplaceFile(path, "other"));
  EXPECT_EQ(readBytes(path), QByteArray("precious"));
  EXPECT_TRUE(IsWriteProtected(folder.path()));
  EXPECT_FALSE(IsReadOnlyFile(folder.filePath(QStringLiteral("missing"))));
}

TEST_F(ImageFilesTest, ReplacedFilesAreNeverWritableByOthersWhateverTheUmask) {
  const QString existing = folder.filePath(QStringLiteral("existing"));
  writeBytes(existing, "old");
  ASSERT_TRUE(QFile::setPermissions(existing, QFile::ReadOwner | QFile::WriteOwner |
                                                  QFile::ReadGroup | QFile::WriteGroup |
                                                  QFile::ReadOther | QFile::WriteOther));
  const mode_t previousMask = ::umask(0);
  const bool written = WriteImageFile(countingBytes(), path) && ReplaceFile(existing, "new");
  ::umask(previousMask);
  ASSERT_TRUE(written);
  for (const QString& file : {path, existing}) {
    EXPECT_EQ(QFileInfo(file).permissions() & ~(QFile::ReadUser | QFile::WriteUser),
              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther)
        << file.toStdString();
  }
  EXPECT_EQ(readBytes(existing), QByteArray("new"));
}

TEST_F(ImageFilesTest, BytesThatDoNotReachTheDiskLeaveTheOldFile) {
  const QByteArray image(ImageSize, '\x5A');
  const struct {
    const char* name;
    QByteArray old;  // null: no file before
    std::uint64_t limit;
    bool written;
  } rows[] = {
      {"existing file, disk full", "old", 100, false},
      {"new file, disk full", {}, 100, false},
      {"existing file, room enough", "old", 1000, true},
      {"new file, room enough", {}, 1000, true},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    QTemporaryDir scratch;
    const QString target = scratch.filePath(QStringLiteral("pendant.ukova"));
    if (!row.old.isNull()) writeBytes(target, row.old);
    EXPECT_EQ(InChildWithFileSizeLimit(row.limit, [&] { return ReplaceFile(target, image); }),
              row.written);
    const QByteArray expected = row.written ? image : row.old;
    EXPECT_EQ(QFileInfo::exists(target), !expected.isNull());
    EXPECT_EQ(readBytes(target), expected);
    // No temporary file is left beside it.
    EXPECT_EQ(QDir(scratch.path()).entryList(QDir::Files | QDir::Hidden).size(),
              expected.isNull() ? 0 : 1);
  }
}

TEST_F(ImageFilesTest, TheFileSizeLimitEndsTheWriteNotTheProgram) {
  writeBytes(path, "old");
  const auto outcome = InChildWithFileSizeLimit(
      100,
      [&] {
        KeepRunningPastFileSizeLimit();
        return ReplaceFile(path, QByteArray(ImageSize, '\x5A'));
      },
      false);
  EXPECT_EQ(outcome, false);
  EXPECT_EQ(readBytes(path), QByteArray("old"));
}

// Root passes every permission check: the file-system user is dropped to one that meets them.
class AsOtherUser {
 public:
  AsOtherUser() {
    if (privileged) ::setfsuid(otherUser);
  }
  ~AsOtherUser() {
    if (privileged) ::setfsuid(0);
  }
  AsOtherUser(const AsOtherUser&) = delete;
  AsOtherUser& operator=(const AsOtherUser&) = delete;
  static constexpr uid_t otherUser = 65534;
  const bool privileged = ::geteuid() == 0;
};

TEST_F(ImageFilesTest, AWritableFileInAClosedFolderIsWrittenInPlace) {
  writeBytes(path, "old");
  if (::geteuid() == 0) {
    ASSERT_EQ(::chown(QFile::encodeName(path).constData(), AsOtherUser::otherUser,
                      AsOtherUser::otherUser),
              0);
  }
  ASSERT_EQ(::chmod(QFile::encodeName(folder.path()).constData(), 0555), 0);
  bool written = false;
  {
    const AsOtherUser user;
    written = ReplaceFile(path, "new content");
  }
  ::chmod(QFile::encodeName(folder.path()).constData(), 0755);
  EXPECT_TRUE(written);
  EXPECT_EQ(readBytes(path), QByteArray("new content"));
  EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

TEST_F(ImageFilesTest, AReplacedFileKeepsItsOwnerGroupAndMode) {
  writeBytes(path, "old");
  const QByteArray name = QFile::encodeName(path);
  const uid_t owner = ::geteuid() == 0 ? AsOtherUser::otherUser : ::geteuid();
  const gid_t group = ::geteuid() == 0 ? AsOtherUser::otherUser : ::getegid();
  ASSERT_EQ(::chown(name.constData(), owner, group), 0);
  const struct {
    mode_t before;
    mode_t after;
  } rows[] = {{0640, 0640}, {0600, 0600}, {0664, 0644}, {0604, 0604}};
  for (const auto& row : rows) {
    ASSERT_EQ(::chmod(name.constData(), row.before), 0);
    ASSERT_TRUE(ReplaceFile(path, "new"));
    struct stat status {};
    ASSERT_EQ(::stat(name.constData(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, row.after) << std::oct << row.before;
    EXPECT_EQ(status.st_uid, owner);
    EXPECT_EQ(status.st_gid, group);
  }
}

}  // namespace
