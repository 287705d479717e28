#include "files/ConfigurationSheet.h"

#include "image/ParameterImage.h"
#include "image/Texts.h"
#include "support/FileBytes.h"
#include "support/FileSizeLimit.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// What a PDF tool prints about the file; empty when the tool is missing or fails.
QString PdfToolOutput(const QString& tool, const QStringList& arguments) {
  const QString program = QStandardPaths::findExecutable(tool);
  if (program.isEmpty()) {
    ADD_FAILURE() << tool.toStdString() << " is missing: scripts/install-deps.sh installs it";
    return {};
  }
  QProcess process;
  process.start(program, arguments);
  if (!process.waitForFinished(30000) || process.exitCode() != 0) return {};
  return QString::fromUtf8(process.readAllStandardOutput());
}

// Long captions and values, umlauts and every kind of row a sheet has.
SheetContent SampleSheet() {
  SheetContent sheet;
  sheet.title = QStringLiteral("U-KOVA Konfigurationsblatt");
  sheet.header = {{QStringLiteral("Funkkennung"), QStringLiteral("1A2B")},
                  {QStringLiteral("Quelle"), QStringLiteral("Datei „Küche Süd.ukova“")}};
  for (int group = 1; group <= 4; ++group) {
    SheetGroup rows{QStringLiteral("Gruppe %1").arg(group), {}};
    for (int row = 1; row <= 9; ++row) {
      rows.rows.push_back(
          {QStringLiteral("Anzahl fehlender Rückmeldungen %1.%2").arg(group).arg(row),
           QStringLiteral("Wert-%1%2 Std").arg(group).arg(row)});
    }
    sheet.groups.push_back(rows);
  }
  sheet.signOff = SheetSignOff({QStringLiteral("Haus Süd"), QString(), QStringLiteral("Jörg Maß")});
  return sheet;
}

class ConfigurationSheetTest : public ::testing::Test {
 protected:
  QTemporaryDir folder;
  QString path = folder.filePath(QStringLiteral("blatt.pdf"));
};

TEST_F(ConfigurationSheetTest, OneA4PageWhoseTextHoldsEveryCaptionBesideItsValue) {
  const SheetContent sheet = SampleSheet();
  QString error;
  ASSERT_TRUE(WriteConfigurationSheetPdf(path, sheet, error)) << error.toStdString();

  const QString info = PdfToolOutput(QStringLiteral("pdfinfo"), {path});
  EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))))
      << info.toStdString();
  EXPECT_TRUE(info.contains(QStringLiteral("(A4)"))) << info.toStdString();  // A4

  const QString text = PdfToolOutput(QStringLiteral("pdftotext"),
                                     {QStringLiteral("-layout"), path, QStringLiteral("-")});
  EXPECT_TRUE(text.contains(sheet.title));
  std::vector<SheetRow> rows = sheet.header;
  std::vector<SheetGroup> groups = sheet.groups;
  groups.push_back(sheet.signOff);
  for (const SheetGroup& group : groups) {
    EXPECT_TRUE(text.contains(group.caption));
    rows.insert(rows.end(), group.rows.begin(), group.rows.end());
  }
  for (const SheetRow& row : rows) {
    const QRegularExpression line(QRegularExpression::escape(row.caption) + QStringLiteral("\\s+") +
                                  QRegularExpression::escape(row.value));
    EXPECT_TRUE(text.contains(line))
        << row.caption.toStdString() << " / " << row.value.toStdString();
  }
}

TEST_F(ConfigurationSheetTest, AFailedWriteLeavesTheEarlierFileAndNoOther) {
  writeBytes(path, "earlier");
  QString error;
  EXPECT_FALSE(WriteConfigurationSheetPdf(folder.filePath(QStringLiteral("fehlt/blatt.pdf")),
                                          SampleSheet(), error));
  EXPECT_FALSE(error.isEmpty());
  // A read-only sheet stays as it is, also for root, who could replace it by rename.
  ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
  EXPECT_FALSE(WriteConfigurationSheetPdf(path, SampleSheet(), error));
  EXPECT_EQ(error, Text(Msg::FileWriteProtected));
  EXPECT_EQ(readBytes(path), "earlier");
  ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
  ASSERT_TRUE(WriteConfigurationSheetPdf(path, SampleSheet(), error));
  EXPECT_TRUE(readBytes(path).startsWith("%PDF"));
  EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"blatt.pdf"});

  // A full disk: the sheet does not reach it, the earlier one stays and the user is told.
  writeBytes(path, "earlier");
  EXPECT_EQ(InChildWithFileSizeLimit(100,
                                     [&] {
                                       QString reason;
                                       return WriteConfigurationSheetPdf(path, SampleSheet(),
                                                                         reason) ||
                                              reason != Text(Msg::FileNotWritten);
                                     }),
            false);
  EXPECT_EQ(readBytes(path), "earlier");
  EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"blatt.pdf"});
}

TEST(SheetSignOffRows, KnownValuesStandOnTheirLinesUnknownOnesAndTheSignatureStayBlank) {
  const QStringList captions = {Text(Msg::RecordColumnSite), Text(Msg::RecordColumnResident),
                                Text(Msg::RecordColumnTechnician), Text(Msg::SheetSignOffDate),
                                Text(Msg::SheetSignOffSignature)};
  const struct {
    SheetRecipient known;
    QStringList values;  // in the order of the captions
  } cases[] = {
      {{"Haus Linde", "Zi 12, Frau Kern", "J. Maß"},
       {"Haus Linde", "Zi 12, Frau Kern", "J. Maß", "", ""}},
      {{}, {"", "", "", "", ""}},
      {{"", "", "J. Maß"}, {"", "", "J. Maß", "", ""}},
      // As typed into one line of the strip: no line breaks or blanks around the value.
      {{" Haus\nLinde ", "\tZi 3", ""}, {"Haus Linde", "Zi 3", "", "", ""}},
  };
  for (const auto& row : cases) {
    const SheetGroup signOff = SheetSignOff(row.known);
    EXPECT_EQ(signOff.caption, Text(Msg::SheetSignOff));
    QStringList shownCaptions;
    QStringList values;
    for (const SheetRow& line : signOff.rows) {
      shownCaptions << line.caption;
      values << line.value;
    }
    EXPECT_EQ(shownCaptions, captions);
    EXPECT_EQ(values, row.values) << row.known.site.toStdString();
  }
}

TEST(SheetSourceText, NamesTheFileTheFactoryConfigurationOrTheReadTime) {
  const QDateTime read(QDate(2026, 12, 8), QTime(9, 5));
  const struct {
    ImageSourceKind source;
    QString expected;
  } cases[] = {
      {SourceDefault, Text(Msg::SheetSourceDefault)},
      {SourceFile, FormatText(Msg::SheetSourceFile, {QStringLiteral("küche.ukova")})},
      {SourceSavedAs, FormatText(Msg::SheetSourceFile, {QStringLiteral("küche.ukova")})},
      {SourceTransmitter,
       FormatText(Msg::SheetSourcePendant, {QStringLiteral("08.12.2026 09:05")})},
  };
  for (const auto& row : cases) {
    EXPECT_EQ(SheetSourceText(row.source, QStringLiteral("/home/t/küche.ukova"), read),
              row.expected)
        << static_cast<int>(row.source);
  }
  // A window changed after the read shows values the transmitter never had, unless they were
  // written to it since.
  EXPECT_EQ(SheetSourceText(SourceTransmitter, QString(), read, SinceRead::Changed),
            FormatText(Msg::SheetSourcePendantChanged, {QStringLiteral("08.12.2026 09:05")}));
  EXPECT_EQ(SheetSourceText(SourceTransmitter, QString(), read, SinceRead::ChangedAndWritten),
            FormatText(Msg::SheetSourcePendantWritten, {QStringLiteral("08.12.2026 09:05")}));
}

TEST(SheetFieldGroups, EveryFieldOnceUnderItsGroupWithTheValueTheWindowShows) {
  const std::vector<SheetGroup> groups = SheetFieldGroups(
      LimitAsCount, [](Field field) { return QString::number(static_cast<int>(field)); });
  ASSERT_EQ(groups.size(), 4U);
  EXPECT_EQ(groups[0].caption, Text(Msg::CaptionRadioParameters));
  EXPECT_EQ(groups[3].caption, Text(Msg::CaptionProductInformation));
  size_t rows = 0;
  for (const SheetGroup& group : groups) rows += group.rows.size();
  EXPECT_EQ(rows, static_cast<size_t>(Field::edtInactivityRetransmissionAttempts) + 1);
  const SheetRow& newCode = groups[0].rows[1];
  EXPECT_EQ(newCode.caption,
            Text(Msg::CaptionRadioCode).trimmed() + QStringLiteral(" – ") + Text(Msg::CaptionNew));
  EXPECT_EQ(newCode.value, QString::number(static_cast<int>(Field::edtRadioCodeNew)));
  EXPECT_EQ(SheetCaption(Field::edtInactivityLimit, LimitAsCount),
            Text(Msg::CaptionInactivityLimitCount).trimmed());
}

}  // namespace
