#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// What the program answers on its command line before it opens a window (and before it needs a
// display): --help, --version, and the refusal of an option it does not know, which would
// otherwise be taken for a file name and silently ignored.
struct CommandLineAnswer {
  QString text;
  bool toStandardError = false;
  int exitCode = 0;  // 0 for help and version, 2 for a refused command line
};

// The answer for the program's arguments (without its own name); none when the program starts
// its window. The first argument that decides wins. Options are spelled with two dashes; the
// service switch and Qt's own options (-platform, -style) keep their one.
[[nodiscard]] std::optional<CommandLineAnswer> AnswerCommandLine(const QStringList& arguments);

// How many arguments a Qt option at `index` takes up (its "=value" form included); 0 for none.
[[nodiscard]] qsizetype QtOptionLength(const QStringList& arguments, qsizetype index);
