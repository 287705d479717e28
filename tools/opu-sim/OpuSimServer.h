#pragma once

#include "tools/opu-sim/OpuSimulator.h"

#include <QString>

#include <atomic>
#include <functional>
#include <mutex>
#include <thread>

// Serves a simulated OPU on a pseudo-terminal from a thread of its own: the program under test
// opens the port path like the OPU's serial port.
class OpuSimServer {
 public:
  using Log = std::function<void(const QString&)>;

  explicit OpuSimServer(OpuSimulator& simulator, Log log = {});
  ~OpuSimServer();
  OpuSimServer(const OpuSimServer&) = delete;
  OpuSimServer& operator=(const OpuSimServer&) = delete;

  // Opens the pseudo-terminal and starts serving; false when no pseudo-terminal can be had.
  [[nodiscard]] bool Start();
  void Stop();
  [[nodiscard]] QString PortPath() const { return portPath_; }
  // Before Start: a symbolic link at this path leads to the port, as a device node names an
  // adapter; the fault portGoneAfter removes it. Removed on Stop.
  void SetPortLink(const QString& path) { portLink_ = path; }
  [[nodiscard]] QString PortLink() const { return portLink_; }
  [[nodiscard]] bool HungUp() const { return hungUp_; }
  // When the last byte of the last answer was handed to the line.
  [[nodiscard]] OpuSimulator::Clock::time_point LastAnswerTime() const;

 private:
  void Serve();
  void TakeFrames(QByteArray& pending);
  void Send(const OpuSimReply& reply);
  [[nodiscard]] bool PauseFor(int milliseconds);
  void HangUp();
  void Note(const QString& line) const;

  OpuSimulator& simulator_;
  Log log_;
  QString portPath_;
  QString portLink_;
  int master_ = -1;
  int slave_ = -1;
  int wake_[2] = {-1, -1};
  std::thread thread_;
  std::atomic<bool> hungUp_ = false;
  mutable std::mutex timeMutex_;
  OpuSimulator::Clock::time_point lastAnswerTime_{};
};
