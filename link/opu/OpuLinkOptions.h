#pragma once

#include <QString>
#include <QStringList>

// Settings of the program's OPU links, taken from the command line and handed to the main window
// with its environment.
struct OpuLinkOptions {
  QString portPath;   // --opu-port=PATH: this port instead of the one found by description
  QString traceFile;  // --opu-trace=FILE: append a trace of every byte on the line
};

// A link option on the command line: "--opu-port=PATH" is one argument, "--opu-port PATH" two.
struct OpuLinkOptionExtent {
  qsizetype length = 0;       // arguments it takes; 0 when the argument is no link option
  bool valueMissing = false;  // the option's name is the last argument
};
[[nodiscard]] OpuLinkOptionExtent OpuLinkOptionAt(const QStringList& arguments, qsizetype index);

// Takes the link options from the program's arguments; the last of each kind wins.
[[nodiscard]] OpuLinkOptions ParseOpuLinkOptions(const QStringList& arguments);
// The arguments without the link options and their values: what the program's own command-line
// passes (service switch, folder, file) see.
[[nodiscard]] QStringList WithoutOpuLinkOptions(const QStringList& arguments);
