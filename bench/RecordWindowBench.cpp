// Datei › Protokoll… on a large record: the time the window is blocked while the record is read,
// the time until every entry is in the table, the longest pause of the event loop meanwhile, and
// the peak memory. Usage: ukova-record-window-bench one-line|ordinary [megabytes=60]
// ("one-line": a record whose one line holds the whole size; "ordinary": lines as operations
// write them, 200 radio codes).

#include "app/safetynet/RecordWindow.h"
#include "files/ProgrammingRecord.h"
#include "image/Messages.h"
#include "ui/UserDialogs.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include <sys/resource.h>

namespace {

long peakKilobytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

bool writeRecord(const QString& path, bool oneLine, qint64 bytes) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  QByteArray head =
      QByteArrayLiteral("\xEF\xBB\xBF") + FormatRecordLine(RecordColumnHeads()) + "\r\n";
  file.write(head);
  if (oneLine) {
    const QByteArray chunk(1024 * 1024, 'A');
    for (qint64 written = head.size(); written < bytes; written += chunk.size()) file.write(chunk);
    return file.flush();
  }
  QByteArray block;
  for (qint64 written = head.size(), line = 0; written < bytes; ++line) {
    const QString code = QStringLiteral("%1").arg(0x1000 + line % 200, 4, 16).toUpper();
    const bool failed = line % 7 == 0;
    const RecordEntry entry{
        QStringLiteral("2026-12-07T14:03:22+01:00"),
        line % 2 == 0 ? QStringLiteral("Lesen") : QStringLiteral("Schreiben"),
        code,
        code,
        failed ? QString::number(Msg::OpuNotReachable) : QStringLiteral("OK"),
        failed ? QStringLiteral("Das OPU kann nicht erreicht werden.") : QString(),
        failed ? QString()
               : QStringLiteral("Sicherungen/%1/2026-12-07_14-03-22_Lesen.ukova").arg(code),
        failed ? QString() : QString(64, u'a')};
    block += FormatRecordLine(RecordColumns(entry)) + "\r\n";
    if (block.size() > 1024 * 1024) {
      written += block.size();
      file.write(block);
      block.clear();
    }
  }
  file.write(block);
  return file.flush();
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  const bool oneLine = argc > 1 && std::strcmp(argv[1], "one-line") == 0;
  const qint64 megabytes = argc > 2 ? std::atoll(argv[2]) : 60;
  QTemporaryDir scratch;
  const QString data = scratch.path() + u'/';
  if (!writeRecord(data + RecordFileName, oneLine, megabytes * 1024 * 1024)) return 1;
  const long baseKb = peakKilobytes();

  QtUserDialogs dialogs;
  TfrmRecord window(dialogs);
  window.show();
  QElapsedTimer clock;
  clock.start();
  if (!window.LoadRecord(data)) return 1;
  const double blockedMs = clock.nsecsElapsed() / 1e6;
  // The longest pause of the event loop while the rest of the record comes in.
  qint64 lastTick = clock.nsecsElapsed();
  qint64 longestPause = 0;
  QTimer ticker;
  QObject::connect(&ticker, &QTimer::timeout, [&] {
    const qint64 now = clock.nsecsElapsed();
    longestPause = std::max(longestPause, now - lastTick);
    lastTick = now;
  });
  ticker.start(1);
  while (window.IsLoading()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  const double allMs = clock.nsecsElapsed() / 1e6;
  std::printf(
      "%s record of %lld MB: LoadRecord %.0f ms, all %d entries after %.0f ms, longest "
      "pause after LoadRecord %.0f ms, peak memory %.0f MB (%.0f MB before the window)\n",
      oneLine ? "one-line" : "ordinary", static_cast<long long>(megabytes), blockedMs,
      window.tblRecord->model()->rowCount(), allMs, longestPause / 1e6, peakKilobytes() / 1024.0,
      baseKb / 1024.0);
  return 0;
}
