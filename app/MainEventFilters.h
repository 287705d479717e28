#pragma once

#include <QChar>
#include <QObject>

#include <functional>

class QKeyEvent;
class QWidget;

// Runs a key-press handler on the character a key press stands for, and swallows the press when
// the handler turned the character into none. Keys that stand for no character pass untouched.
class KeyPressFilter : public QObject {
  Q_OBJECT

 public:
  using Handler = std::function<void(QObject* sender, QChar& key)>;

  KeyPressFilter(Handler handler, QObject* parent);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  Handler handler_;
};

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
