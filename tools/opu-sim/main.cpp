#include "tools/opu-sim/OpuSimServer.h"
#include "tools/opu-sim/OpuSimulator.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>
#include <QFile>

#include <csignal>
#include <cstdio>
#include <mutex>
#include <vector>

#include <poll.h>
#include <unistd.h>

namespace {

int signalPipe[2] = {-1, -1};

void WakeOnSignal(int /*signal*/) {
  const char stop = 's';
  (void)!::write(signalPipe[1], &stop, 1);
}

QCommandLineOption Valued(const QString& name, const QString& help, const QString& value) {
  return QCommandLineOption(name, help, value);
}

// The simulator stands beside the program and keeps its memory in 256-byte files of the same
// shape as configuration files; it does not share the program's file layer.
bool ReadMemoryFile(const QString& path, ImageBytes& bytes) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) &&
         file.read(reinterpret_cast<char*>(bytes.data()), ImageSize) == ImageSize;
}

bool SaveMemoryFile(const QString& path, const ImageBytes& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) &&
         file.write(reinterpret_cast<const char*>(bytes.data()), ImageSize) == ImageSize;
}

// Writes each conversation line with a millisecond time stamp to stderr or to a log file.
class ConversationLog {
 public:
  explicit ConversationLog(const QString& path) : file_(path) {
    if (!path.isEmpty() && !file_.open(QIODevice::WriteOnly | QIODevice::Append))
      std::fprintf(stderr, "cannot open log file %s\n", qPrintable(path));
  }
  void operator()(const QString& line) {
    const std::lock_guard lock(mutex_);
    const QByteArray text =
        (QDateTime::currentDateTime().toString(QStringLiteral("HH:mm:ss.zzz ")) + line + '\n')
            .toUtf8();
    if (file_.isOpen()) {
      file_.write(text);
      file_.flush();
    } else {
      std::fputs(text.constData(), stderr);
    }
  }

 private:
  std::mutex mutex_;
  QFile file_;
};

// Waits for a stop signal; each line typed on the terminal presses the transmitter's button.
void ServeUntilStopped(OpuSimulator& simulator, ConversationLog& log) {
  bool terminalOpen = true;
  while (true) {
    pollfd watched[2] = {{signalPipe[0], POLLIN, 0}, {terminalOpen ? STDIN_FILENO : -1, POLLIN, 0}};
    if (::poll(watched, 2, -1) < 0) continue;
    if (watched[0].revents != 0) return;
    if (watched[1].revents == 0) continue;
    char typed[256];
    const ssize_t got = ::read(STDIN_FILENO, typed, sizeof typed);
    if (got <= 0) {
      terminalOpen = false;
      continue;
    }
    if (QByteArray(typed, got).contains('\n')) {
      simulator.PressButton();
      log(QStringLiteral("-- button pressed"));
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral(
      "Simulated OPU with one transmitter on a pseudo-terminal. Prints the port path, then "
      "serves until interrupted. Enter presses the transmitter's button."));
  parser.addHelpOption();
  const QCommandLineOption memory = Valued("memory", "Transmitter memory (256 bytes).", "file");
  const QCommandLineOption outOfRange("out-of-range", "A transmitter the program refuses.");
  const QCommandLineOption save = Valued("save", "Save the memory here on exit.", "file");
  const QCommandLineOption code = Valued("code", "Radio code of the transmitter.", "hex4");
  const QCommandLineOption delay =
      Valued("button-delay",
             "Press the button this long after listening or a job starts (-1: Enter only).", "ms");
  const QCommandLineOption version = Valued("version-text", "11-character OPU version.", "text");
  const QCommandLineOption silent = Valued("silent", "Command letters left unanswered.", "letters");
  const QCommandLineOption wrong("wrong-checksum", "Wrong checksum digits in every frame.");
  const QCommandLineOption lower("lower-case-checksum", "Lower-case checksum digits.");
  const QCommandLineOption split = Valued("split", "Send every answer in this many pieces.", "n");
  const QCommandLineOption pause = Valued("piece-delay", "Pause before each further piece.", "ms");
  const QCommandLineOption garbage = Valued("garbage", "Bytes sent before every answer.", "text");
  const QCommandLineOption refuseJob("refuse-job", "Answer EOT to the job start.");
  const QCommandLineOption refuseBlocks("refuse-blocks", "Answer ESC to every write block.");
  const QCommandLineOption silentBlocks("silent-blocks", "Leave every write block unanswered.");
  const QCommandLineOption status = Valued("job-status", "Job status after the press.", "03|04|05");
  const QCommandLineOption product = Valued("product-type", "Type in the listening answer.", "hh");
  const QCommandLineOption hangUp = Valued("hang-up-on", "Hang up when one arrives.", "letters");
  const QCommandLineOption hangUpAfter =
      Valued("hang-up-after", "...once this many of them were answered.", "n");
  const QCommandLineOption lostBlocks = Valued("lose-read-blocks", "Last read blocks lost.", "n");
  const QCommandLineOption link = Valued("link", "Also name the port by this link.", "path");
  const QCommandLineOption logFile = Valued("log", "Conversation log (default stderr).", "file");
  const QCommandLineOption unkept =
      Valued("unkept-address", "A written byte the transmitter keeps as it was.", "hex");
  const QCommandLineOption pendants =
      Valued("pendants",
             "A series: after each completed write the next pendant (codes 7001, "
             "7002, ...) answers, this many in all.",
             "n");
  const QCommandLineOption unkeptPendant =
      Valued("unkept-pendant", "The unkept address only on this pendant (from 0).", "n");
  const QCommandLineOption savePendants =
      Valued("save-pendants", "Save every pendant's memory as pendant-N.bin here on exit.", "dir");
  parser.addOptions({memory,        outOfRange,   save,         code,    delay,   version,
                     silent,        wrong,        lower,        split,   pause,   garbage,
                     refuseJob,     refuseBlocks, silentBlocks, status,  product, hangUp,
                     hangUpAfter,   lostBlocks,   link,         logFile, unkept,  pendants,
                     unkeptPendant, savePendants});
  parser.process(application);

  OpuSimulator simulator;
  if (parser.isSet(outOfRange)) simulator.SetMemory(OpuSimulator::OutOfRangeImage());
  if (parser.isSet(memory)) {
    ImageBytes bytes{};
    if (!ReadMemoryFile(parser.value(memory), bytes)) {
      std::fprintf(stderr, "%s is not a 256-byte memory file\n", qPrintable(parser.value(memory)));
      return 2;
    }
    simulator.SetMemory(bytes);
  }
  if (parser.isSet(code)) simulator.SetRadioCode(parser.value(code));
  simulator.SetButtonDelay(parser.isSet(delay) ? parser.value(delay).toInt() : 3000);
  OpuSimFaults faults;
  if (parser.isSet(version)) faults.version = parser.value(version);
  faults.silentCommands = parser.value(silent);
  faults.wrongChecksum = parser.isSet(wrong);
  faults.lowerCaseChecksum = parser.isSet(lower);
  if (parser.isSet(split)) faults.answerPieces = parser.value(split).toInt();
  faults.pieceDelayMs = parser.value(pause).toInt();
  faults.garbageBefore = parser.value(garbage).toLatin1();
  faults.refuseJob = parser.isSet(refuseJob);
  faults.refuseBlocks = parser.isSet(refuseBlocks);
  faults.silentBlocks = parser.isSet(silentBlocks);
  if (parser.isSet(status)) faults.jobOutcome = parser.value(status);
  if (parser.isSet(product)) faults.productType = parser.value(product);
  faults.hangUpOn = parser.value(hangUp);
  faults.hangUpAfter = parser.value(hangUpAfter).toInt();
  faults.readBlocksLost = parser.value(lostBlocks).toInt();
  if (parser.isSet(unkept)) faults.unkeptAddress = parser.value(unkept).toInt(nullptr, 16);
  if (parser.isSet(unkeptPendant)) faults.unkeptPendant = parser.value(unkeptPendant).toInt();
  simulator.SetFaults(faults);
  std::vector<ImageBytes> queued;
  for (int number = 1; number < parser.value(pendants).toInt(); ++number)
    queued.push_back(OpuSimulator::NewPendant(number));
  simulator.QueuePendants(queued);

  ConversationLog log(parser.value(logFile));
  OpuSimServer server(simulator, [&log](const QString& line) { log(line); });
  server.SetPortLink(parser.value(link));
  if (::pipe(signalPipe) != 0 || !server.Start()) {
    std::fprintf(stderr, "no pseudo-terminal available\n");
    return 1;
  }
  std::printf("%s\n", qPrintable(server.PortPath()));
  std::fflush(stdout);
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) std::signal(signal, WakeOnSignal);

  ServeUntilStopped(simulator, log);
  server.Stop();
  if (parser.isSet(save) && !SaveMemoryFile(parser.value(save), simulator.Memory())) {
    std::fprintf(stderr, "cannot save the memory to %s\n", qPrintable(parser.value(save)));
    return 2;
  }
  if (parser.isSet(savePendants)) {
    const std::vector<ImageBytes> memories = simulator.Pendants();
    for (std::size_t index = 0; index < memories.size(); ++index) {
      const QString path =
          parser.value(savePendants) + QStringLiteral("/pendant-%1.bin").arg(index + 1);
      if (!SaveMemoryFile(path, memories[index])) {
        std::fprintf(stderr, "cannot save a pendant's memory to %s\n", qPrintable(path));
        return 2;
      }
    }
  }
  return 0;
}
