#include "link/opu/OpuFrame.h"
#include "link/opu/OpuLink.h"
#include "link/opu/OpuLinkOptions.h"
#include "support/FakeOpuDriver.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace {

const QByteArray Silence;

class OpuCommandTest : public ::testing::Test {
 protected:
  OpuCommandTest() {
    auto driver = std::make_unique<FakeOpuDriver>();
    fake = driver.get();
    link = std::make_unique<OpuLink>(std::move(driver));
    fake->AnswerWith([this](const QByteArray&) {
      return nextAnswer.isEmpty() ? FakeOpuDriver::Reply{} : FakeOpuDriver::Bytes(nextAnswer);
    });
    EXPECT_EQ(link->Open(), 0);
  }

  // The OPU answers the next commands with these raw bytes (nothing for silence).
  void Next(const QByteArray& bytes) { nextAnswer = bytes; }

  FakeOpuDriver* fake = nullptr;
  std::unique_ptr<OpuLink> link;
  QByteArray nextAnswer;
};

struct SingleByteCase {
  const char* name;
  std::function<int(OpuLink&)> operation;
  const char* command;
  char refusal;  // the byte that has a code of its own, or ACK when none has
  int refusalCode;
};

}  // namespace

TEST_F(OpuCommandTest, SingleByteCommandsByAnswer) {
  const SingleByteCase cases[] = {
      {"StartListening", [](OpuLink& l) { return l.StartListening("FFFF", "2E"); }, "aFFFF2E", ACK,
       0},
      {"StopListening", [](OpuLink& l) { return l.StopListening(); }, "s0", ACK, 0},
      {"SendReadRequest", [](OpuLink& l) { return l.SendReadRequest("0622"); }, "m0622", ACK, 0},
      {"SendReadRequest empty", [](OpuLink& l) { return l.SendReadRequest(""); }, "m", ACK, 0},
      {"SendWriteBlock", [](OpuLink& l) { return l.SendWriteBlock("0220ABCD"); }, "n0220ABCD", ESC,
       10},
      {"StartJob", [](OpuLink& l) { return l.StartJob("1A2B"); }, "i1A2B", EOT, 9},
  };
  for (const SingleByteCase& c : cases) {
    SCOPED_TRACE(c.name);
    fake->commands.clear();
    Next(QByteArray(1, ACK));
    EXPECT_EQ(c.operation(*link), 0);
    EXPECT_EQ(fake->commands, QStringList{c.command});
    Next(QByteArray(1, c.refusal));
    EXPECT_EQ(c.operation(*link), c.refusalCode);
    for (const QByteArray& other :
         {QByteArray(1, 0x15), QByteArray(1, EOT == c.refusal ? ESC : EOT), Silence,
          QByteArray(2, ACK), FramedText("06")}) {
      Next(other);
      EXPECT_EQ(c.operation(*link), 2) << other.toHex().constData();
    }
  }
}

TEST_F(OpuCommandTest, StatusPolls) {
  for (const bool write : {false, true}) {
    SCOPED_TRACE(write ? "PollWriteStatus" : "PollReadStatus");
    const auto poll = [&](QString& status) {
      return write ? link->PollWriteStatus(status) : link->PollReadStatus(status);
    };
    QString status = "kept";
    Next(FramedText("03"));
    EXPECT_EQ(poll(status), 0);
    EXPECT_EQ(status, "03");
    EXPECT_EQ(fake->commands.back(), write ? "N" : "M");
    for (const QByteArray& other :
         {QByteArray(1, 0x15), Silence, FramedText("003"), FramedText("3"),
          QByteArray("\x02"
                     "04644\x03")}) {
      status = "kept";
      Next(other);
      EXPECT_EQ(poll(status), 8) << other.toHex().constData();
      EXPECT_EQ(status, "kept");
    }
  }
}

TEST_F(OpuCommandTest, PollListeningHandsOnWhateverCame) {
  QString answer;
  Next(QByteArray::fromHex("023034363403"));
  EXPECT_EQ(link->PollListening(answer), 0);
  EXPECT_EQ(answer, "04");
  EXPECT_EQ(fake->commands.back(), "A");
  Next(FramedText("1A2B0007"));
  EXPECT_EQ(link->PollListening(answer), 0);
  EXPECT_EQ(answer, "1A2B0007");
  Next(QByteArray(1, ACK));
  EXPECT_EQ(link->PollListening(answer), 0);
  EXPECT_EQ(answer, QString(QChar(ACK)));
  Next(
      QByteArray("\x02"
                 "1A2B0007ad\x03"));
  EXPECT_EQ(link->PollListening(answer), 0);
  EXPECT_EQ(answer, "");
}

TEST(OpuListeningAnswerTest, OnlyFourHexDigitsAreACode) {
  struct Case {
    const char* answer;
    std::optional<OpuLink::HeardTransmitter> heard;
  };
  const Case cases[] = {
      {"1A2B0007", OpuLink::HeardTransmitter{"1A2B", "07"}},
      {"c0de0005", OpuLink::HeardTransmitter{"c0de", "05"}},
      {"1A2B007", std::nullopt},
      {"1A2B00070", std::nullopt},
      {"../.0007", std::nullopt},
      {"=1+10007", std::nullopt},
      {"1A2G0007", std::nullopt},
      {"\t1A20007", std::nullopt},
  };
  for (const Case& c : cases) {
    const auto heard = OpuLink::ParseListeningAnswer(QString::fromLatin1(c.answer));
    ASSERT_EQ(heard.has_value(), c.heard.has_value()) << c.answer;
    if (heard) {
      EXPECT_EQ(heard->radioCode, c.heard->radioCode);
      EXPECT_EQ(heard->productType, c.heard->productType);
    }
  }
}

TEST_F(OpuCommandTest, ReadRadioCodeAndVersion) {
  QString code = "kept";
  Next(FramedText("1A2B0007"));
  EXPECT_EQ(link->ReadRadioCode(code), 0);
  EXPECT_EQ(code, "1A2B");
  EXPECT_EQ(fake->commands.back(), "c1");
  for (const QByteArray& other : {FramedText("1A2B000"), FramedText("1A2B00070"), Silence}) {
    code = "kept";
    Next(other);
    EXPECT_EQ(link->ReadRadioCode(code), 2);
    EXPECT_EQ(code, "kept");
  }

  QString version = "kept";
  Next(FramedText("15-1 V1.0.0"));
  EXPECT_EQ(link->ReadOpuVersion(version), 0);
  EXPECT_EQ(version, "15-1 V1.0.0");
  EXPECT_EQ(fake->commands.back(), "v");
  Next(FramedText("15-1 V1.0."));
  EXPECT_EQ(link->ReadOpuVersion(version), 2);
  EXPECT_EQ(version, "");
}

TEST_F(OpuCommandTest, CheckOpuVersionComparesTheFirstTwoAndTheFourthCharacter) {
  const std::pair<const char*, int> cases[] = {
      {"15-1 V1.0.0", 0}, {"20-1 V1.0.0", 0}, {"16-1 V0.0.1", 0}, {"25-1 V1.0.0", 0},
      {"14-1 V1.0.0", 7}, {"15-2 V1.0.0", 7}, {"10-1 V9.9.9", 7}, {"15-0 V1.0.0", 7},
  };
  for (const auto& [answer, expected] : cases) {
    Next(FramedText(answer));
    EXPECT_EQ(link->CheckOpuVersion("15-1"), expected) << answer;
  }
  Next(FramedText("15-1 V1.0"));
  EXPECT_EQ(link->CheckOpuVersion("15-1"), 2);
  Next(Silence);
  EXPECT_EQ(link->CheckOpuVersion("15-1"), 2);
  // A short requirement compares its missing characters as NUL rather than reading past it.
  Next(FramedText("15-1 V1.0.0"));
  EXPECT_EQ(link->CheckOpuVersion("15"), 7);
}

TEST_F(OpuCommandTest, FetchReadBlockTakesTenToTwentyFourCharacters) {
  QString block;
  for (const int length : {10, 16, 24}) {
    Next(FramedText(QByteArray("0000") + QByteArray(length - 4, '1')));
    EXPECT_EQ(link->FetchReadBlock(block), 0) << length;
    EXPECT_EQ(block.size(), length);
  }
  EXPECT_EQ(fake->commands.back(), "x");
  for (const int length : {9, 25, 2}) {
    block = "kept";
    Next(FramedText(QByteArray(length, '0')));
    EXPECT_EQ(link->FetchReadBlock(block), 8) << length;
    EXPECT_EQ(block, "kept");
  }
  // Only a stray single byte empties the block text.
  Next(QByteArray(1, ACK));
  EXPECT_EQ(link->FetchReadBlock(block), 8);
  EXPECT_EQ(block, "");
}

TEST(OpuLinkOptionsTest, ParsedInEitherSpellingAndHiddenFromTheOtherPasses) {
  struct Row {
    QStringList arguments;
    QString port;
    QString trace;
    QStringList rest;  // what the service, folder and file passes see
  };
  const Row rows[] = {
      {{"-SERVICE", "--opu-port=/dev/pts/7", "--opu-trace=/tmp/wire.txt"},
       "/dev/pts/7",
       "/tmp/wire.txt",
       {"-SERVICE"}},
      {{"--opu-port", "/dev/pts/7", "kitchen.ukova"}, "/dev/pts/7", "", {"kitchen.ukova"}},
      {{"--opu-trace", "/tmp/w", "--opu-port", "/dev/a", "--opu-port=/dev/b"},
       "/dev/b",
       "/tmp/w",
       {}},
      // The value is taken as given, even when it looks like an option or a folder.
      {{"--opu-port", "-SERVICE", "/home"}, "-SERVICE", "", {"/home"}},
      // A name without its value is taken out; the entry refuses that command line anyway.
      {{"/home", "--opu-port"}, "", "", {"/home"}},
      {{"--opu-portal=x", "--opu-port:x"}, "", "", {"--opu-portal=x", "--opu-port:x"}},
      {{}, "", "", {}},
  };
  for (const Row& row : rows) {
    const OpuLinkOptions options = ParseOpuLinkOptions(row.arguments);
    EXPECT_EQ(options.portPath, row.port) << row.arguments.join(u' ').toStdString();
    EXPECT_EQ(options.traceFile, row.trace) << row.arguments.join(u' ').toStdString();
    EXPECT_EQ(WithoutOpuLinkOptions(row.arguments), row.rest)
        << row.arguments.join(u' ').toStdString();
  }
  EXPECT_TRUE(OpuLinkOptionAt({"x", "--opu-trace"}, 1).valueMissing);
  EXPECT_FALSE(OpuLinkOptionAt({"--opu-trace", "x"}, 0).valueMissing);
}

TEST(WireTraceTest, EveryLinkAppendsBytesAndPassedDeadlines) {
  QTemporaryDir folder;
  const QString path = folder.filePath("wire.txt");
  for (int run = 0; run < 2; ++run) {
    auto driver = std::make_unique<FakeOpuDriver>();
    driver->Answer("s", FakeOpuDriver::Ack());
    OpuLink link(std::move(driver), path);
    ASSERT_EQ(link.Open(), 0);
    EXPECT_EQ(link.StopListening(), 0);
    QString version;
    EXPECT_EQ(link.ReadOpuVersion(version), 2);
    link.Close();
  }
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QString trace = QString::fromUtf8(file.readAll());
  EXPECT_EQ(trace.count("sent     02 73 30 41 33 03  .s0A3."), 2);
  EXPECT_EQ(trace.count("received 06  ."), 2);
  EXPECT_EQ(trace.count("sent     02 76 37 36 03  .v76."), 2);
  EXPECT_EQ(trace.count("deadline passed with 0 byte(s) held"), 2);
  EXPECT_TRUE(trace.contains(QRegularExpression(R"(^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} )",
                                                QRegularExpression::MultilineOption)));
}
