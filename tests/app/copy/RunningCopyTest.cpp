#include "app/copy/RunningCopy.h"

#include "app/MainFilesSession.h"
#include "app/copy/HandedStart.h"
#include "app/copy/RunningCopyController.h"
#include "image/Texts.h"

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
