#include "app/copy/HandedStart.h"
#include "app/copy/RunningCopy.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;

namespace {

// On Linux the place lies in the user's runtime folder: the test's own, so that no running program
// takes part. On Windows it is the login session's pipe, which no other test claims.
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

}  // namespace
