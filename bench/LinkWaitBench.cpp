#include "link/opu/OpuLink.h"
#include "link/opu/SerialOpuDriver.h"
#include "tools/opu-sim/OpuSimServer.h"
#include "tools/opu-sim/OpuSimulator.h"

#include <QCoreApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include <sys/resource.h>

namespace {

using Clock = std::chrono::steady_clock;

double ProcessCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const auto seconds = [](const timeval& time) { return time.tv_sec + time.tv_usec / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// The whole process, simulator thread included, while 20 answers never come.
void SilentAnswers(OpuLink& link, OpuSimulator& opu) {
  constexpr int Silences = 20;
  OpuSimFaults faults;
  faults.silentCommands = "v";
  opu.SetFaults(faults);
  QString version;
  const double cpuBefore = ProcessCpuSeconds();
  const auto wallBefore = Clock::now();
  for (int i = 0; i < Silences; ++i) (void)link.ReadOpuVersion(version);
  const double cpu = ProcessCpuSeconds() - cpuBefore;
  const double wall = std::chrono::duration<double>(Clock::now() - wallBefore).count();
  std::printf("silent answers: %d in %.3f s wall, %.4f CPU seconds, %.3f %% of one core\n",
              Silences, wall, cpu, 100.0 * cpu / wall);
  opu.SetFaults({});
}

// From the simulator's last answer byte to ReceiveAnswer handing the answer on.
void AnswerLatency(OpuLink& link, OpuSimServer& server) {
  constexpr int Transactions = 200;
  std::vector<double> microseconds;
  QByteArray answer;
  for (int i = 0; i < Transactions; ++i) {
    const int received = link.Transact("v", answer, OpuLink::AnswerTimeoutMs, 11);
    const auto handedOn = Clock::now();
    if (received != 11) continue;
    microseconds.push_back(
        std::chrono::duration<double, std::micro>(handedOn - server.LastAnswerTime()).count());
  }
  std::sort(microseconds.begin(), microseconds.end());
  if (microseconds.empty()) {
    std::printf("answer latency: no answer came\n");
    return;
  }
  std::printf("answer latency over %zu transactions: median %.1f us, 90th %.1f us, max %.1f us\n",
              microseconds.size(), microseconds[microseconds.size() / 2],
              microseconds[microseconds.size() * 9 / 10], microseconds.back());
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  OpuSimulator opu;
  OpuSimServer server(opu);
  if (!server.Start()) {
    std::fprintf(stderr, "no pseudo-terminal\n");
    return 1;
  }
  OpuLink link(std::make_unique<SerialOpuDriver>(server.PortPath()));
  if (link.Open() != 0) {
    std::fprintf(stderr, "cannot open %s\n", qPrintable(server.PortPath()));
    return 1;
  }
  SilentAnswers(link, opu);
  AnswerLatency(link, server);
  link.Close();
  return 0;
}
