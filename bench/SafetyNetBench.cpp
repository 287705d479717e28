// What the safety net costs a technician:
// - the time a backup and a record line add to a whole read through the window against the
//   simulated OPU (20 reads with them, 20 without; medians), and the time of keeping one read
//   alone (median of 20);
// - the size of a programming record of 1,000 operations, and of their 1,000 backups on disk.

#include "app/Main.h"
#include "app/MainTransmitter.h"
#include "app/safetynet/SafetyNetController.h"
#include "bench/ProgramAgainstSimulator.h"
#include "files/ProgrammingRecord.h"
#include "files/SafetyNet.h"
#include "image/Texts.h"

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

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return (values[Runs / 2 - 1] + values[Runs / 2]) / 2;
}

std::vector<double> readTimes(TfrmMain& window) {
  std::vector<double> milliseconds;
  for (int run = 0; run < Runs; ++run) {
    const auto before = Clock::now();
    window.Transmitter().btnReadFromDeviceClick();
    milliseconds.push_back(
        std::chrono::duration<double, std::milli>(Clock::now() - before).count());
    if (window.StatusText() != Text(Msg::ReadFinished)) {
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
    const OperationOutcome read{OperationKind::Read,         "1A2B", "1A2B", 0, QString(), bytes,
                                QDateTime::currentDateTime()};
    const auto before = Clock::now();
    (void)KeepOperation(data, read);
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
  UseOffscreenPlatformUnlessChosen();
  QApplication application(argc, argv);
  ProgramAgainstSimulator program;
  if (!program.Start()) return 1;
  TfrmMain& window = *program.windows->frmMain;
  window.Operations().SetPollIntervalMs(PollIntervalMs);
  // Alternating blocks of reads with and without, so that a drift of the machine hits both.
  std::vector<double> with;
  std::vector<double> without;
  for (int round = 0; round < 2; ++round) {
    window.Operations().SetObserver(&window.SafetyNet());
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
