#pragma once

#include "link/opu/WireTrace.h"

#include <QByteArray>
#include <QString>

#include <cstdint>

// The trace file of one path, shared by every link of the program: opened once for appending,
// without waiting or following links, and only when it is a plain file. One file a platform.
struct WireTrace::File {
  explicit File(const QString& path);
  File(const File&) = delete;
  File& operator=(const File&) = delete;
  ~File() { Stop(); }

  // The whole line or, after the first that did not reach the file, nothing more.
  void Append(const QByteArray& line);
  void Stop();

  std::intptr_t handle = -1;  // the platform's file descriptor or handle; -1 once stopped
  QString problem;
};
