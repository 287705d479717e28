#pragma once

#include <QObject>

#include <memory>

class QSocketNotifier;

// Ctrl+C at the bench: the first interrupt asks the running operation to stop cleanly (the OPU
// told to stop listening, the port closed, the record kept); a second one ends the program at
// once. The interrupt is taken by a handler that only writes a byte to a pipe; the event loop
// reads it and says so.
class CancelSignal : public QObject {
  Q_OBJECT

 public:
  CancelSignal();
  ~CancelSignal() override;
  CancelSignal(const CancelSignal&) = delete;
  CancelSignal& operator=(const CancelSignal&) = delete;

  // Whether Ctrl+C was pressed, also while no event loop ran.
  [[nodiscard]] bool Requested() const;

 signals:
  void Cancelled();

 private:
  void TakeSignal();

  std::unique_ptr<QSocketNotifier> notifier_;
  bool told_ = false;
};
