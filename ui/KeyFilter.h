#pragma once

#include <QChar>
#include <QObject>
#include <QString>
#include <Qt>

#include <functional>
#include <optional>

class QInputMethodEvent;

// The character a key press stands for: Ctrl+letter gives its control character (the text of a
// synthetic Ctrl+V is "v", that of a real one "\x16"); editing keys give their ASCII control
// character; keys that produce no character (Delete, arrows, Home, End, Tab) give none. A text
// the edit would insert gives its first character even when it cannot be seen.
[[nodiscard]] std::optional<QChar> KeyPressCharacter(int key, Qt::KeyboardModifiers modifiers,
                                                     const QString& text);

// Runs a key-press handler on the character a key press stands for, and swallows the press when
// the handler turned the character into none. Keys that stand for no character pass untouched.
// Characters composed by a dead key or an input method are typed too: each character of the
// commit string is judged the same way, and only those the handler keeps are entered.
class KeyPressFilter : public QObject {
  Q_OBJECT

 public:
  using Handler = std::function<void(QObject* sender, QChar& key)>;

  KeyPressFilter(Handler handler, QObject* parent);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void filterCommitString(QObject* watched, QInputMethodEvent& event) const;

  Handler handler_;
};
