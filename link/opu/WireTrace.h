#pragma once

#include <QByteArray>
#include <QString>

// A plain-text record of everything that passed on the OPU line, for a technician to send to
// support. Each line is appended to the file at once, so several links may share one file and
// a crash loses nothing.
class WireTrace {
 public:
  explicit WireTrace(QString path = {});

  [[nodiscard]] bool IsEnabled() const { return !path_.isEmpty(); }
  void Sent(const QByteArray& bytes) const;
  void Received(const QByteArray& bytes) const;
  void DeadlinePassed(int heldBytes) const;
  void Note(const QString& event) const;

  // Bytes as hex pairs followed by their printable form, e.g. "02 73 30 41 33 03  .s0A3.".
  [[nodiscard]] static QString Describe(const QByteArray& bytes);

 private:
  void Append(const QString& line) const;

  QString path_;
};
