#include "app/about.h"

#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString opuVersion = QStringLiteral("V2.05 12/09");

class AboutTest : public ::testing::Test {
 protected:
  QTemporaryDir folder;
  int opuReads = 0;
  QString opuAnswer = opuVersion;
  AboutSources sources{folder.path() + u'/',
                       ProgramVersionInfo{QStringLiteral("U-KOVA Programmer"),
                                          QStringLiteral("1.2.1.123"), QString()},
                       [this] {
                         ++opuReads;
                         return opuAnswer;
                       }};

  void writeAboutIni(const QByteArray& content) {
    QFile file(folder.filePath(QStringLiteral("about.ini")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(content), content.size());
  }

  static QStringList shownLines(const TfrmAbout& about) {
    return about.mmoInfo->toPlainText().split(u'\n');
  }

  QStringList linesShownBy(const AboutSources& aboutSources) {
    TfrmAbout about(aboutSources);
    about.FormShow();
    return shownLines(about);
  }
};

const QStringList programLines = {QStringLiteral("U-KOVA Programmer"),
                                  QStringLiteral("Version: 1.2.1.123 ")};

TEST_F(AboutTest, WithoutAboutIniTheCompanyLineAndTwoEmptyLinesFollow) {
  TfrmAbout about(sources);
  about.FormShow();
  EXPECT_EQ(shownLines(about),
            ((programLines + QStringList{QStringLiteral("ORVEL Electronics AB"), "", ""})));
  EXPECT_EQ(about.lblOpuVersion->text(), QStringLiteral("OPU info: ") + opuVersion);
  EXPECT_TRUE(about.mmoInfo->isReadOnly());
}

TEST_F(AboutTest, CountedMakerLinesStandInForTheCompanyLine) {
  writeAboutIni(
      "[AboutInfo]\r\nLines=3\r\nLine1=Hersteller GmbH\r\nWWW=www.example.com\r\n"
      "MAIL=info@example.com\r\n");
  EXPECT_EQ(linesShownBy(sources),
            (programLines +
             QStringList{"", "Hersteller GmbH", "", "", "www.example.com", "info@example.com"}));
}

TEST_F(AboutTest, NegativeCountShowsNeitherMakerLinesNorTheCompanyLine) {
  writeAboutIni("[AboutInfo]\nLines=-2\nLine1=never shown\nWWW=www.example.com\n");
  EXPECT_EQ(linesShownBy(sources), ((programLines + QStringList{"", "www.example.com", ""})));
}

TEST_F(AboutTest, KeysAreFoundWhateverTheCapitalisationOfTheSection) {
  writeAboutIni("[ABOUTINFO]\nlines=1\nline1=Maker\nwww=web\nmail=post\n");
  EXPECT_EQ(linesShownBy(sources), ((programLines + QStringList{"", "Maker", "web", "post"})));
}

TEST_F(AboutTest, CountThatIsNoNumberGivesTheCompanyLine) {
  writeAboutIni("[AboutInfo]\nLines=two\nLine1=never shown\n");
  EXPECT_EQ(linesShownBy(sources), ((programLines + QStringList{"ORVEL Electronics AB", "", ""})));
}

TEST_F(AboutTest, CountIsTheLeadingNumberAndAtMostAHundredLinesAreShown) {
  writeAboutIni("[AboutInfo]\r\nLines=2 ; Anzahl\r\nLine1=a\r\nLine2=b\r\n");
  EXPECT_EQ(linesShownBy(sources), ((programLines + QStringList{"", "a", "b", "", ""})));

  // The largest count would take hours to read; the box holds far fewer lines anyway.
  writeAboutIni("[AboutInfo]\r\nLines=2147483647\r\nLine100=last\r\nLine101=too many\r\n");
  const QStringList shown = linesShownBy(sources);
  ASSERT_EQ(shown.size(), programLines.size() + 1 + 100 + 2);
  EXPECT_EQ(shown.at(programLines.size() + 100), QStringLiteral("last"));
}

TEST_F(AboutTest, SilentOrMissingOpuLeavesTheLabelEmptyAndTheRestUnchanged) {
  TfrmAbout about(sources);
  about.FormShow();
  const QStringList withOpu = shownLines(about);
  opuAnswer.clear();
  about.FormShow();
  EXPECT_EQ(about.lblOpuVersion->text(), QString());
  EXPECT_EQ(shownLines(about), withOpu);

  AboutSources withoutLink = sources;
  withoutLink.readOpuVersion = nullptr;
  TfrmAbout unlinked(withoutLink);
  unlinked.FormShow();
  EXPECT_EQ(unlinked.lblOpuVersion->text(), QString());
  EXPECT_EQ(shownLines(unlinked), withOpu);
}

TEST_F(AboutTest, VersionLineFollowsWhatTheRecordHolds) {
  AboutSources variant = sources;
  variant.versionInfo = std::nullopt;
  EXPECT_EQ(linesShownBy(variant), (QStringList{"ORVEL Electronics AB", "", ""}));
  variant.versionInfo = ProgramVersionInfo{std::nullopt, std::nullopt, QStringLiteral("beta")};
  EXPECT_EQ(linesShownBy(variant).front(), QStringLiteral("Version: unknown beta"));
  variant.versionInfo = ProgramVersionInfo{std::nullopt, QStringLiteral("2.0"), std::nullopt};
  EXPECT_EQ(linesShownBy(variant).front(), QStringLiteral("Version: 2.0"));
  // A build names the commits it was built from, as --version and its package do.
  variant.versionInfo = ProgramVersionInfo{std::nullopt, QStringLiteral("1.2.1.123"), QString(),
                                           QStringLiteral("1.2.1.123+git197")};
  EXPECT_EQ(linesShownBy(variant).front(), QStringLiteral("Version: 1.2.1.123+git197 "));
  variant.versionInfo =
      ProgramVersionInfo{std::nullopt, std::nullopt, std::nullopt, QStringLiteral("2.0+git7")};
  EXPECT_EQ(linesShownBy(variant).front(), QStringLiteral("Version: 2.0+git7"));
}

TEST_F(AboutTest, EveryShowingGathersEverythingAnewWithoutDuplicates) {
  TfrmAbout about(sources);
  about.show();
  const QStringList first = shownLines(about);
  about.hide();
  about.show();
  EXPECT_EQ(shownLines(about), first);
  EXPECT_EQ(opuReads, 2);

  about.hide();
  writeAboutIni("[AboutInfo]\nLines=1\nLine1=Neu\n");
  opuAnswer.clear();
  about.show();
  EXPECT_EQ(shownLines(about), ((programLines + QStringList{"", "Neu", "", ""})));
  EXPECT_EQ(about.lblOpuVersion->text(), QString());
  about.hide();
}

}  // namespace
