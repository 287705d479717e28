// Runs a fuzz target once over every input of the corpus folders (or files) it is given, so that
// the target builds and its properties hold on every build, without libFuzzer.

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

int Replay(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
    return -1;
  }
  const QByteArray bytes = file.readAll();
  LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                         static_cast<std::size_t>(bytes.size()));
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  int replayed = 0;
  for (int index = 1; index < argc; ++index) {
    const QString path = QFile::decodeName(argv[index]);
    QStringList files;
    if (QFileInfo(path).isDir()) {
      for (const QString& name : QDir(path).entryList(QDir::Files, QDir::Name))
        files.append(path + QLatin1Char('/') + name);
    } else {
      files.append(path);
    }
    for (const QString& file : files) {
      const int result = Replay(file);
      if (result < 0) return 1;
      replayed += result;
    }
  }
  std::printf("%d inputs replayed\n", replayed);
  // An empty or missing corpus would pass without running the target once.
  return replayed > 0 ? 0 : 1;
}
