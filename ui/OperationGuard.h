#pragma once

#include <utility>

// One operation of the program at a time. Every command handler of the main window (transmitter
// operations, About with its OPU query, File commands, dropped files) hands its work to Run:
// while one command runs, any other is turned away, whatever route it came by — a key press or
// a queued drop that an event loop inside the running operation delivers, a shortcut, a timer,
// a test's trigger. A new command that talks to the OPU runs through the same guard.
class OperationGuard {
 public:
  [[nodiscard]] bool Busy() const { return busy_; }

  // Runs the command unless another one is running; false when it was turned away.
  template <typename Command>
  bool Run(Command&& command) {
    if (busy_) return false;
    const Scope scope(busy_);
    std::forward<Command>(command)();
    return true;
  }

 private:
  // Frees the guard however the command ends, an exception included.
  class Scope {
   public:
    explicit Scope(bool& busy) : busy_(busy) { busy_ = true; }
    ~Scope() { busy_ = false; }
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

   private:
    bool& busy_;
  };

  bool busy_ = false;
};
