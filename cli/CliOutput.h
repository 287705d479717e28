#pragma once

#include <QJsonObject>
#include <QString>
#include <QStringList>

// Where the command line speaks: results on the standard output (plain German lines, or one JSON
// object a run for scripts), prompts, count-downs and failures on the standard error, so that a
// script reading the output sees nothing else.

void PrintResult(const QString& text);
void PrintNotice(const QString& text);

// What one run reports.
struct CliReport {
  QString operation;       // read, write, verify, change-code, check, show
  QStringList lines;       // the plain lines, on the standard output
  QStringList complaints;  // the failure's message, on the standard error
  QJsonObject json;        // the JSON object's members besides operation and exitCode
  int exitCode = 0;
};

// Prints the report as the run asked and returns its exit code.
int DeliverReport(const CliReport& report, bool asJson);
