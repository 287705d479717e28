#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

// A plain-text record of everything that passed on the OPU line, for a technician to send to
// support. Each line is appended to the file at once, so several links may share one file and
// a crash loses nothing.
//
// The file is opened once per program for every link that names it: without waiting (a pipe
// without a reader is refused, never waited on) and without following a symbolic link, and only
// a regular file is taken. When it cannot be opened, or a line does not reach it, the trace
// stops and Problem() says why.
class WireTrace {
 public:
  explicit WireTrace(const QString& path = {});

  [[nodiscard]] bool IsEnabled() const { return file_ != nullptr; }
  // Why a named trace is not being written, in the system's words; empty while it works (or when
  // no trace was asked for).
  [[nodiscard]] QString Problem() const;
  void Sent(const QByteArray& bytes) const;
  void Received(const QByteArray& bytes) const;
  void DeadlinePassed(int heldBytes) const;
  void Note(const QString& event) const;

  // Bytes as hex pairs followed by their printable form, e.g. "02 73 30 41 33 03  .s0A3.".
  [[nodiscard]] static QString Describe(const QByteArray& bytes);

  struct File;

 private:
  void Append(const QString& line) const;

  std::shared_ptr<File> file_;
};
