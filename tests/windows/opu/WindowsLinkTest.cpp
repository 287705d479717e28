// The OPU link through the Windows drivers, against the simulated OPU behind a Wine COM port
// (UKOVA_TEST_PORT, e.g. COM11). Each case runs with the simulator's faults that
// tests/WindowsTests.cmake gives it.
#include "link/opu/ComPortOpuDriver.h"
#include "link/opu/OpuLink.h"
#include "link/opu/PortDriver.h"
#include "link/opu/WindowsOpuDriver.h"
#include "link/opu/WindowsPorts.h"

#include <QByteArray>
#include <QString>

#include <gtest/gtest.h>

#include <memory>

#include <windows.h>

namespace {

QString TestPort() {
  return qEnvironmentVariable("UKOVA_TEST_PORT");
}

std::unique_ptr<OpuLink> ComPortLink(const QString& port = TestPort()) {
  return std::make_unique<OpuLink>(std::make_unique<ComPortOpuDriver>(port));
}

// The stand-in library's log of the calls made so far.
QString StandInCalls() {
  const HMODULE library = GetModuleHandleW(L"ftd2xx.dll");
  if (library == nullptr) return {};
  using Calls = int (*)(char*, int);
  const auto calls = reinterpret_cast<Calls>(
      reinterpret_cast<void (*)()>(GetProcAddress(library, "StandInCalls")));
  QByteArray text(calls(nullptr, 0) + 1, '\0');
  calls(text.data(), static_cast<int>(text.size()));
  return QString::fromLatin1(text.constData());
}

void ExpectIdentification(OpuLink& link) {
  QString answer;
  EXPECT_EQ(link.CheckOpuVersion("15-1"), 0);
  EXPECT_EQ(link.StartListening("FFFF", "2E"), 0);
  EXPECT_EQ(link.PollListening(answer), 0);
  EXPECT_EQ(answer, "1A2B0007");
  EXPECT_EQ(link.StopListening(), 0);
}

TEST(WindowsComPort, IdentifiesWritesAndReadsBack) {
  const auto link = ComPortLink();
  ASSERT_EQ(link->Open(), 0) << link->LastOpenError().toStdString();
  ExpectIdentification(*link);
  // The radio-test interval becomes 0xA5; reading it back shows what the OPU kept.
  EXPECT_EQ(link->SendWriteBlock(""), 0);
  EXPECT_EQ(link->SendWriteBlock("0127A5"), 0);
  EXPECT_EQ(link->StartJob("1A2B"), 0);
  QString status;
  EXPECT_EQ(link->PollWriteStatus(status), 0);
  EXPECT_EQ(status, "03");
  EXPECT_EQ(link->SendWriteBlock(""), 0);
  EXPECT_EQ(link->SendReadRequest(""), 0);
  EXPECT_EQ(link->SendReadRequest("0127"), 0);
  EXPECT_EQ(link->StartJob("1A2B"), 0);
  EXPECT_EQ(link->PollReadStatus(status), 0);
  EXPECT_EQ(status, "03");
  QString block;
  EXPECT_EQ(link->FetchReadBlock(block), 0);
  EXPECT_EQ(block, "00000127A5");
  link->Close();
  EXPECT_FALSE(link->IsOpen());
}

TEST(WindowsComPort, SilenceAndAHangUpAreNoAnswer) {
  // The simulator leaves "v" unanswered and hangs up at the first "M".
  const auto link = ComPortLink();
  ASSERT_EQ(link->Open(), 0);
  EXPECT_EQ(link->CheckOpuVersion("15-1"), 2);
  EXPECT_EQ(link->StartJob("1A2B"), 0);
  QString status = "kept";
  EXPECT_EQ(link->PollReadStatus(status), 8);
  EXPECT_TRUE(link->LineLost());
  EXPECT_EQ(link->StartListening("FFFF", "2E"), 2);
  link->Close();
  EXPECT_FALSE(link->IsOpen());
}

TEST(WindowsComPort, AMissingPortIsNotFound) {
  const auto missing = ComPortLink("COM250");
  EXPECT_NE(missing->Open(), 0);
  EXPECT_EQ(missing->LastOpenFailure().kind, OpenFailure::NotFound);
  EXPECT_EQ(missing->LastOpenFailure().port, "COM250");
  EXPECT_TRUE(PortExists(TestPort()));
  EXPECT_TRUE(PortExists("\\\\.\\" + TestPort()));
  EXPECT_FALSE(PortExists("COM250"));
}

// Wine lets a second program open a COM port; Windows refuses it, and the device manager's
// disabled port is not there at all.
TEST(WindowsComPortFailures, EachRefusalTellsItsKind) {
  const struct {
    unsigned long error;
    OpenFailure::Kind kind;
  } rows[] = {
      {ERROR_ACCESS_DENIED, OpenFailure::Busy},      {ERROR_SHARING_VIOLATION, OpenFailure::Busy},
      {ERROR_FILE_NOT_FOUND, OpenFailure::NotFound}, {ERROR_PATH_NOT_FOUND, OpenFailure::NotFound},
      {ERROR_DEV_NOT_EXIST, OpenFailure::NotFound},  {ERROR_GEN_FAILURE, OpenFailure::Other},
  };
  for (const auto& row : rows) EXPECT_EQ(ComPortFailureKind(row.error), row.kind) << row.error;
}

TEST(WindowsD2xx, OpensByDescriptionAndSetsTheLine) {
  // The stand-in ftd2xx.dll beside the test serves the OPU's description over the COM port.
  OpuLink link(std::make_unique<WindowsOpuDriver>());
  ASSERT_EQ(link.Open(), 0) << link.LastOpenError().toStdString();
  ExpectIdentification(link);
  link.Close();
  const QString calls = StandInCalls();
  EXPECT_TRUE(calls.startsWith("FT_OpenEx Orvel OPU - Active USB Interface 2\n"))
      << calls.toStdString();
  EXPECT_TRUE(
      calls.contains("FT_SetBaudRate 57600\n"
                     "FT_SetDataCharacteristics 8 2 0\n"
                     "FT_SetFlowControl 0 0 0\n"
                     "FT_ClrDtr\n"))
      << calls.toStdString();
  EXPECT_TRUE(calls.contains("FT_Purge 3\n"));
  EXPECT_TRUE(calls.contains("FT_SetTimeouts 10 100\n"));
  EXPECT_TRUE(calls.endsWith("FT_Purge 1\nFT_Close\n")) << calls.toStdString();
}

TEST(WindowsD2xx, ADeviceOfAnotherDescriptionIsNotOpened) {
  // The stand-in presents a device of another description; no COM port reports the OPU's.
  OpuLink link(std::make_unique<WindowsOpuDriver>());
  EXPECT_NE(link.Open(), 0);
  EXPECT_EQ(link.LastOpenFailure().kind, OpenFailure::NotFound);
  EXPECT_FALSE(link.IsOpen());
}

TEST(WindowsD2xx, APulledCableIsNoAnswer) {
  // The simulator hangs up at the first "M".
  OpuLink link(std::make_unique<WindowsOpuDriver>());
  ASSERT_EQ(link.Open(), 0);
  EXPECT_EQ(link.StartJob("1A2B"), 0);
  QString status;
  EXPECT_EQ(link.PollReadStatus(status), 8);
  EXPECT_TRUE(link.LineLost());
  link.Close();
}

}  // namespace
