#pragma once

#include <QObject>

class QKeyEvent;
class QWidget;

// Lets a window's menu shortcuts win over a focused edit that would take the key itself (a
// QLineEdit takes Ctrl+C for copying). Only widgets inside that window are concerned; dialogs
// keep their edits' own keys.
class MenuShortcutPrecedence : public QObject {
  Q_OBJECT

 public:
  // Watches the whole application; removed again with the window.
  explicit MenuShortcutPrecedence(QWidget* window);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  [[nodiscard]] bool isWindowMenuShortcut(const QKeyEvent& event) const;

  QWidget* window_;
};
