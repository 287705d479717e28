#include "link/opu/WireTrace.h"

#include "support/FileSizeLimit.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

QByteArray contentOf(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(WireTraceFile, OnlyARegularFileIsWrittenAndAnyOtherIsSaidAtOnce) {
  QTemporaryDir folder;
  const QString target = folder.filePath(QStringLiteral("elsewhere.txt"));
  ASSERT_TRUE(QFile(target).open(QIODevice::WriteOnly));
  const struct {
    const char* name;
    std::function<QString()> make;  // the path given to --opu-trace
    bool written;
  } rows[] = {
      {"new file", [&] { return folder.filePath(QStringLiteral("new.txt")); }, true},
      {"pipe without a reader",
       [&] {
         const QString pipe = folder.filePath(QStringLiteral("pipe"));
         ::mkfifo(QFile::encodeName(pipe).constData(), 0600);
         return pipe;
       },
       false},
      {"symbolic link",
       [&] {
         const QString link = folder.filePath(QStringLiteral("link.txt"));
         QFile::link(target, link);
         return link;
       },
       false},
      {"folder", [&] { return folder.path(); }, false},
      {"missing folder", [&] { return folder.filePath(QStringLiteral("no/trace.txt")); }, false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const QString path = row.make();
    const WireTrace trace(path);
    const WireTrace second(path);
    trace.Note(QStringLiteral("first"));
    second.Note(QStringLiteral("second"));
    EXPECT_EQ(trace.Problem().isEmpty(), row.written);
    EXPECT_EQ(second.Problem(), trace.Problem());
    if (row.written) {
      EXPECT_EQ(contentOf(path).count('\n'), 2);
    }
  }
  EXPECT_TRUE(contentOf(target).isEmpty());
  EXPECT_TRUE(WireTrace().Problem().isEmpty());
}

TEST(WireTraceFile, ALineThatDoesNotReachTheDiskStopsTheTraceAndSaysSo) {
  QTemporaryDir folder;
  const QString path = folder.filePath(QStringLiteral("wire.txt"));
  const auto problemSaid = InChildWithFileSizeLimit(60, [&] {
    const WireTrace trace(path);
    trace.Note(QStringLiteral("short"));
    const bool firstFine = trace.Problem().isEmpty();
    trace.Note(QString(100, u'x'));
    return firstFine && !trace.Problem().isEmpty();
  });
  EXPECT_EQ(problemSaid, true);
  const QByteArray kept = contentOf(path);
  EXPECT_EQ(kept.count('\n'), 1);
  EXPECT_TRUE(kept.endsWith("short\n"));
}

}  // namespace
