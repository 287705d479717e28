#include "app/copy/RunningCopy.h"

#include "app/MainFilesSession.h"
#include "app/copy/HandedStart.h"
#include "app/copy/RunningCopyController.h"
#include "ui/Texts.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

TEST(HandedStartTest, TheRunningCopyOpensTheFirstFileAndNamesWhatItCannotTakeOver) {
  QTemporaryDir folder;
  QDir(folder.path()).mkdir(QStringLiteral("configs"));
  for (const char* name : {"a.ukova", "b.ukova", "-SERVICE"})
    writeBytes(folder.filePath(QString::fromLatin1(name)), {});
  const QString a = folder.filePath(QStringLiteral("a.ukova"));
  const QString configs = folder.filePath(QStringLiteral("configs"));
  const struct {
    QStringList arguments;
    QString file;
    QStringList notTaken;
  } rows[] = {
      {{QStringLiteral("a.ukova")}, a, {}},
      {{a, QStringLiteral("b.ukova")}, a, {}},
      {{QStringLiteral("missing.ukova"), QStringLiteral("a.ukova")}, a, {}},
      {{QStringLiteral("-service"), QStringLiteral("a.ukova")}, a, {QStringLiteral("-service")}},
      {{QStringLiteral("configs")}, {}, {configs}},
      {{QStringLiteral("--opu-port"), QStringLiteral("/dev/ttyUSB1"), QStringLiteral("a.ukova")},
       a,
       {QStringLiteral("--opu-port /dev/ttyUSB1")}},
      {{QStringLiteral("-style"), QStringLiteral("a.ukova"), QStringLiteral("b.ukova")},
       folder.filePath(QStringLiteral("b.ukova")),
       {}},
      {{QStringLiteral("--"), QStringLiteral("-SERVICE")},
       folder.filePath(QStringLiteral("-SERVICE")),
       {}},
  };
  for (const auto& row : rows) {
    const HandedStartPlan plan =
        PlanHandedStart(DecodeHandedStart(EncodeHandedStart({folder.path(), row.arguments})));
    EXPECT_EQ(plan.file, row.file) << row.arguments.join(u' ').toStdString();
    EXPECT_EQ(plan.settingsNotTaken, row.notTaken) << row.arguments.join(u' ').toStdString();
  }
  EXPECT_THAT(DecodeHandedStart("not a start").arguments, IsEmpty());
}

// The user's runtime folder of the test alone, so that no running program takes part.
class RunningCopyPlaceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", runtime_.path().toLocal8Bit());
  }
  void TearDown() override { qputenv("XDG_RUNTIME_DIR", saved_); }

  QTemporaryDir runtime_;
  QByteArray saved_;
};

TEST_F(RunningCopyPlaceTest, ALaterStartHandsItsFileToTheRunningCopyAndEnds) {
  const auto place = ClaimRunningCopyPlace();
  ASSERT_NE(place, nullptr);
  EXPECT_EQ(ClaimRunningCopyPlace(), nullptr);
  std::vector<HandedStart> received;
  place->Listen([&](const QByteArray& message) { received.push_back(DecodeHandedStart(message)); });

  QTemporaryDir work;
  QProcess later;
  later.setWorkingDirectory(work.path());
  later.start(QStringLiteral(UKOVA_PROGRAM),
              {QStringLiteral("sample.ukova"), QStringLiteral("-SERVICE")});
  ASSERT_TRUE(later.waitForFinished(30000)) << "the later start opened a window of its own";
  EXPECT_EQ(later.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(later.exitCode(), 0);

  QTRY_COMPARE(received.size(), size_t{1});
  EXPECT_EQ(received.front().workingFolder, work.path());
  EXPECT_THAT(received.front().arguments,
              ElementsAre(QStringLiteral("sample.ukova"), QStringLiteral("-SERVICE")));
}

TEST_F(RunningCopyPlaceTest, APlaceLeftByAnEndedCopyIsClaimedAgain) {
  auto first = ClaimRunningCopyPlace();
  ASSERT_NE(first, nullptr);
  first.reset();
  EXPECT_NE(ClaimRunningCopyPlace(), nullptr);
  EXPECT_FALSE(SendToRunningCopy(EncodeHandedStart({})));
}

class RunningCopyWindowTest : public MainFilesSession {};

TEST_F(RunningCopyWindowTest, AHandedFileOpensAsADroppedOneAndStartSettingsAreNamedAsNotTaken) {
  startWithFactoryImage();
  RunningCopyController controller(*window, dialogs);
  const QString path = filePath(QStringLiteral("handed.ukova"));
  writeBytes(path, validImage(48));

  controller.Take({filesDir.path(), {QStringLiteral("handed.ukova"), QStringLiteral("-SERVICE")}});
  EXPECT_EQ(currentFile(), path);
  EXPECT_THAT(dialogs.texts(),
              ElementsAre(FormatText(Msg::RunningCopyUsed, {QStringLiteral("„-SERVICE“")})));
  EXPECT_FALSE(window->ServiceMode);
}

}  // namespace
