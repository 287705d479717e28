// Time per pendant of a series against the simulated OPU, beside a single write with the check
// after writing, in the same run and with the same poll interval: a series identifies, writes,
// reads back and compares each pendant exactly as the single write does, so the two should be
// alike. Usage: ukova-series-bench [pendants=10] [poll ms=500]; prints medians.

#include "app/Main.h"
#include "app/MainTransmitter.h"
#include "bench/ProgramAgainstSimulator.h"
#include "image/SeriesPlan.h"
#include "image/Texts.h"
#include "link/SeriesRun.h"

#include <QApplication>
#include <QFile>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

double since(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Takes the time at the end of each pendant.
class TimingFrontEnd final : public SeriesFrontEnd, public PollTimer {
 public:
  explicit TimingFrontEnd(SeriesRun*& run) : run_(run) {
    QObject::connect(&timer_, &QTimer::timeout, [this] { run_->Operations().PollOpuInfo(); });
  }
  std::vector<double> unitMs;
  int failed = 0;
  int told = 0;  // messages a window would show
  Clock::time_point last = Clock::now();

  void UnitStarting(int, int, const PlannedCode&) override {}
  void PendantIdentified(const QString&, const QString&) override {}
  void UnitFinished(const SeriesUnit& unit, int) override {
    unitMs.push_back(since(last));
    last = Clock::now();
    if (unit.result != SeriesUnit::Result::Passed) ++failed;
  }
  void CodesPassedOver(const std::vector<RefusedCode>&) override {}
  void SetStatusText(const QString&) override {}
  void PendantCodeKnown(const QString&) override {}
  void Tell(const OperationMessage&) override { ++told; }
  Answer Ask(const OperationQuestion&) override { return Answer::Yes; }
  FailedUnitChoice AfterFailure(const SeriesUnit&) override { return FailedUnitChoice::Skip; }
  bool StopRequested() override { return false; }
  void StartPollTimer(int intervalMs) override { timer_.start(intervalMs); }
  void StopPollTimer() override { timer_.stop(); }

 private:
  SeriesRun*& run_;
  QTimer timer_;
};

}  // namespace

int main(int argc, char** argv) {
  UseOffscreenPlatformUnlessChosen();
  QApplication application(argc, argv);
  const int pendants = argc > 1 ? std::max(2, QString(argv[1]).toInt()) : 10;
  const int pollMs = argc > 2 ? std::max(1, QString(argv[2]).toInt()) : 500;
  ProgramAgainstSimulator program;
  // The window starts with the factory configuration, as an installed program does; without it
  // the window's fields cannot be written.
  for (const QString& name : {QStringLiteral("Default.b"), QStringLiteral("Values.i")})
    QFile::copy(QStringLiteral(UKOVA_TEMPLATES_DIR) + name, program.scratch.filePath(name));
  if (!program.Start()) return 1;
  TfrmMain& window = *program.windows->frmMain;
  window.Operations().SetPollIntervalMs(pollMs);
  window.Operations().SetVerifyAfterWrite(true);

  std::vector<double> singleMs;
  for (int run = 0; run < pendants; ++run) {
    const auto before = Clock::now();
    window.Transmitter().btnWriteToDeviceClick();
    singleMs.push_back(since(before));
    if (window.StatusText() != Text(Msg::ConfigurationUpdatedAndVerified)) {
      std::printf("single write %d: %s\n", run + 1, qPrintable(window.StatusText()));
      return 1;
    }
  }

  // The single writes left the present pendant written: the first of the series is a new one.
  std::vector<ImageBytes> queued;
  for (int number = 1; number <= pendants; ++number)
    queued.push_back(OpuSimulator::NewPendant(number));
  program.opu.QueuePendants(queued);
  ParameterImage image{};
  (void)window.Document().Build(image, OriginWrite);
  SeriesCodePlan plan = SeriesCodePlan::Sequence({0xB001, 1});
  SeriesRun* running = nullptr;
  TimingFrontEnd frontEnd(running);
  SeriesRun series(SeriesSetup{VembaData::ExtractImageBytes(image), pendants, "S-bench",
                               window.ShownCodecContext()},
                   plan, frontEnd, window.link, frontEnd);
  running = &series;
  series.Operations().AttachWaitingPrompt(window.Operations().Prompt());
  series.Operations().SetPollIntervalMs(pollMs);
  frontEnd.last = Clock::now();
  series.Run();
  std::printf(
      "poll interval %d ms, %d pendants: single write with check median %.0f ms; series per "
      "pendant median %.0f ms (%d passed, %d failed); messages shown %d\n",
      pollMs, pendants, median(singleMs), median(frontEnd.unitMs), series.Counts().passed,
      frontEnd.failed, program.dialogs.shown + frontEnd.told);
  return 0;
}
