#pragma once

#include <QString>
#include <QStringList>

// Program-wide settings of every OPU link, taken from the command line.
struct OpuLinkOptions {
  QString portPath;   // --opu-port=PATH: this port instead of the one found by description
  QString traceFile;  // --opu-trace=FILE: append a trace of every byte on the line
};

// The options every OpuLink constructed from now on uses.
void SetOpuLinkOptions(const OpuLinkOptions& options);
[[nodiscard]] OpuLinkOptions CurrentOpuLinkOptions();

// Takes the link options from the program's arguments; the last of each kind wins.
[[nodiscard]] OpuLinkOptions ParseOpuLinkOptions(const QStringList& arguments);
// True for the arguments ParseOpuLinkOptions takes, which the other command-line passes skip.
[[nodiscard]] bool IsOpuLinkOption(const QString& argument);
