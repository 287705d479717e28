#pragma once

#include <QByteArray>
#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>

// How one run of the program's command line ended.
struct CliRunResult {
  int exitCode = -1;
  QString out;
  QString err;
  [[nodiscard]] QJsonObject Json() const { return QJsonDocument::fromJson(out.toUtf8()).object(); }
};

// The program's command line (UKOVA_PROGRAM, the built program), run as a separate process the way
// a bench script runs it: without a display, without a Qt platform, with a home of its own.
class CliProgram {
 public:
  CliProgram() {
    environment_ = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
      environment_.remove(QString::fromLatin1(name));
    environment_.insert(QStringLiteral("HOME"), home_.path());
    environment_.insert(QStringLiteral("XDG_DATA_HOME"), home_.filePath(QStringLiteral("data")));
    environment_.insert(QStringLiteral("XDG_CONFIG_HOME"),
                        home_.filePath(QStringLiteral("config")));
    environment_.insert(QStringLiteral("XDG_DOCUMENTS_DIR"),
                        home_.filePath(QStringLiteral("docs")));
  }

  [[nodiscard]] QString Home() const { return home_.path(); }
  // The data folder the program keeps its record and backups in.
  [[nodiscard]] QString DataFolder() const {
    return home_.filePath(QStringLiteral("data/ORVEL/U-KOVA Programmer (DE)/"));
  }

  // Runs the program to its end; `whileRunning` is called once it has started.
  CliRunResult Run(const QStringList& arguments,
                   const std::function<void(QProcess&)>& whileRunning = {}) const {
    QProcess process;
    process.setProcessEnvironment(environment_);
    process.setWorkingDirectory(home_.path());
    process.start(QStringLiteral(UKOVA_PROGRAM), arguments);
    CliRunResult result;
    if (!process.waitForStarted()) return result;
    if (whileRunning) whileRunning(process);
    process.waitForFinished(60000);
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
  }

 private:
  QTemporaryDir home_;
  QProcessEnvironment environment_;
};
