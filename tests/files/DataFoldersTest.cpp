#include "files/DataFolders.h"

#include "support/FileBytes.h"
#include "support/QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class CopyDataFileTest : public ::testing::Test {
 protected:
  QTemporaryDir folder;
  QString base = folder.path() + u'/';
};

TEST_F(CopyDataFileTest, CopiesEveryByte) {
  QByteArray content;
  for (int i = 0; i < 10000; ++i) content += static_cast<char>(i * 7);
  writeBytes(base + "source", content);
  EXPECT_TRUE(CopyDataFile(base, "source", "target", base));
  EXPECT_EQ(readBytes(base + "target"), content);
}

TEST_F(CopyDataFileTest, FailedCopyLeavesTheTargetAsItWas) {
  writeBytes(base + "target", "precious");
  EXPECT_FALSE(CopyDataFile(base, "missing", "target", base));
  EXPECT_EQ(readBytes(base + "target"), QByteArray("precious"));

  writeBytes(base + "source", "new");
  QFile::setPermissions(base + "target", QFile::ReadOwner);
  EXPECT_FALSE(CopyDataFile(base, "source", "target", base));
  EXPECT_EQ(readBytes(base + "target"), QByteArray("precious"));
}

TEST(ProgramFolderTest, TemplatesBesideTheProgramWinOverTheInstalledFolder) {
  QTemporaryDir root;
  const QString beside = root.filePath(QStringLiteral("bin"));
  const QString share = root.filePath(QStringLiteral("share/ukova-programmer"));
  // Seen from the program, so that an installation under any prefix finds its own templates.
  const QString shareFromProgram = QStringLiteral("../share/ukova-programmer");
  ASSERT_TRUE(QDir().mkpath(beside));
  EXPECT_EQ(LocateProgramFolder(beside, shareFromProgram), beside + u'/');
  ASSERT_TRUE(QDir().mkpath(share));
  EXPECT_EQ(LocateProgramFolder(beside, shareFromProgram), share + u'/');
  writeBytes(beside + QStringLiteral("/Values.i"), "[Setup]\r\n");
  EXPECT_EQ(LocateProgramFolder(beside, shareFromProgram), beside + u'/');
}

TEST(PathTextTest, TrailingSeparatorsComeOffButTheRootStays) {
  EXPECT_EQ(WithoutTrailingSeparator(QStringLiteral("/a/b//")), QStringLiteral("/a/b"));
  EXPECT_EQ(WithoutTrailingSeparator(QStringLiteral("/")), QStringLiteral("/"));
  EXPECT_EQ(WithoutTrailingSeparator(QString()), QString());
  EXPECT_EQ(WithTrailingSeparator(QStringLiteral("/a/b")), QStringLiteral("/a/b/"));
  EXPECT_EQ(WithTrailingSeparator(QStringLiteral("/a/b/")), QStringLiteral("/a/b/"));
}

}  // namespace
