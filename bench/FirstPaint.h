#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>

// Ends the event loop once `window` has been painted: the start a user waits for is over.
inline void EndAfterFirstPaint(QObject& window) {
  class Watch final : public QObject {
   public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
      if (event->type() == QEvent::Paint) QTimer::singleShot(0, qApp, &QCoreApplication::quit);
      return QObject::eventFilter(watched, event);
    }
  };
  window.installEventFilter(new Watch(&window));
}
