// What the safety net costs a technician:
// - the time a backup and a record line add to a whole read through the window against the
//   simulated OPU (20 reads with them, 20 without; medians), and the time of keeping one read
//   alone (median of 20);
// - the size of a programming record of 1,000 operations, and of their 1,000 backups on disk.

#include "app/Main.h"
#include "app/ProgramWindows.h"
#include "files/ProgrammingRecord.h"
#include "files/Settings.h"
#include "link/opu/OpuLinkOptions.h"
#include "tools/opu-sim/OpuSimServer.h"
#include "tools/opu-sim/OpuSimulator.h"
#include "ui/Texts.h"
#include "ui/UserDialogs.h"

#include <QApplication>
#include <QDirIterator>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include <sys/stat.h>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int Runs = 20;
constexpr int Records = 1000;
// Short polls, so that the poll interval does not hide a few milliseconds.
constexpr int PollIntervalMs = 5;

class SilentDialogs final : public UserDialogs {
 public:
  int shown = 0;
  int ShowMessage(QWidget*, BoxKind, const QString& text, BoxButtons) override {
    ++shown;
    std::fprintf(stderr, "message: %s\n", qPrintable(text));
    return mrOk;
  }
  QString AskOpenFileName(QWidget*, const FileDialogRequest&) override { return {}; }
  QString AskSaveFileName(QWidget*, const FileDialogRequest&) override { return {}; }
  QString AskFolder(QWidget*, const QString&, const QString&) override { return {}; }
};

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return (values[Runs / 2 - 1] + values[Runs / 2]) / 2;
}

std::vector<double> readTimes(TfrmMain& window) {
  std::vector<double> milliseconds;
  for (int run = 0; run < Runs; ++run) {
    const auto before = Clock::now();
    window.btnReadFromDeviceClick();
    milliseconds.push_back(
        std::chrono::duration<double, std::milli>(Clock::now() - before).count());
    if (window.StatusText() != Text(10506)) {
      std::printf("read %d failed: %s\n", run + 1, qPrintable(window.StatusText()));
      return {};
    }
  }
  return milliseconds;
}

qint64 diskBytes(const QString& folder) {
  qint64 total = 0;
  QDirIterator files(folder, QDir::Files, QDirIterator::Subdirectories);
  while (files.hasNext()) {
    struct stat status {};
    if (::stat(QFile::encodeName(files.next()).constData(), &status) == 0)
      total += static_cast<qint64>(status.st_blocks) * 512;
  }
  return total;
}

void recordSizes() {
  QTemporaryDir scratch;
  const QString data = scratch.path() + u'/';
  ImageBytes bytes = OpuSimulator::FactoryImage();
  std::vector<double> keepMs;
  for (int record = 0; record < Records; ++record) {
    bytes[0x38] = static_cast<std::uint8_t>(record);  // every backup different
    const KeptOperation read{Text(11030), "1A2B", "1A2B", 0, QString(), bytes, BackupKind::Read};
    const auto before = Clock::now();
    (void)KeepOperation(data, read, QDateTime::currentDateTime());
    if (record < Runs) {
      keepMs.push_back(std::chrono::duration<double, std::milli>(Clock::now() - before).count());
    }
  }
  std::printf("keeping one read alone (backup + record line): median %.3f ms of %d\n",
              median(keepMs), Runs);
  const qint64 recordBytes = QFileInfo(data + RecordFileName).size();
  std::printf(
      "record of %d reads: %lld bytes (%.1f bytes a line); %d backups: %lld bytes of "
      "data, %lld bytes on disk\n",
      Records, static_cast<long long>(recordBytes), double(recordBytes) / Records, Records,
      static_cast<long long>(Records) * ImageSize,
      static_cast<long long>(diskBytes(data + BackupsFolderName)));
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  OpuSimulator opu;
  OpuSimServer server(opu);
  if (!server.Start()) {
    std::fprintf(stderr, "no pseudo-terminal\n");
    return 1;
  }
  opu.SetButtonDelay(0);
  ImageBytes memory{};
  const std::uint8_t parameters[] = {0x1A, 0x2B, 0x25, 0x06, 0x15, 0x23, 0x00, 0x09, 0x13,
                                     0x00, 0x00, 0x00, 0x18, 0x0B, 0x07, 0x12, 0x05, 0x0A,
                                     0x00, 0x33, 0x00, 0x90, 0x01, 0x18, 0x00, 0x2C, 0x03};
  std::copy(std::begin(parameters), std::end(parameters), memory.begin() + 0x20);
  opu.SetMemory(memory);
  SetOpuLinkOptions(OpuLinkOptions{server.PortPath(), {}});
  QTemporaryDir scratch;
  SilentDialogs dialogs;
  const auto windows = CreateProgramWindows(MainEnvironment{
      &dialogs,
      StartupEnvironment{
          WithTrailingSeparator(scratch.path()), QString(), QString(), {}, GetProgramVersion()}});
  TfrmMain& window = *windows->frmMain;
  window.Operations().SetPollIntervalMs(PollIntervalMs);
  // Alternating blocks of reads with and without, so that a drift of the machine hits both.
  std::vector<double> with;
  std::vector<double> without;
  for (int round = 0; round < 2; ++round) {
    window.Operations().SetObserver(&window);
    const std::vector<double> kept = readTimes(window);
    window.Operations().SetObserver(nullptr);
    const std::vector<double> plain = readTimes(window);
    if (kept.empty() || plain.empty()) return 1;
    if (round == 1) {
      with = kept;
      without = plain;
    }
  }
  std::printf(
      "read with poll interval %d ms: median %.2f ms with backup and record, %.2f ms "
      "without (%d each); added %.2f ms\n",
      PollIntervalMs, median(with), median(without), Runs, median(with) - median(without));
  recordSizes();
  return 0;
}
