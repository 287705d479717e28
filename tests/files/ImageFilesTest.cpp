#include "files/ImageFiles.h"

#include "support/FileBytes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

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

}  // namespace
