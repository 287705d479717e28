#include "ui/KeyFilter.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

#include <gtest/gtest.h>

TEST(KeyPressCharacter, CtrlLetterStandsForItsControlCharacterWhateverItsText) {
  EXPECT_EQ(KeyPressCharacter(Qt::Key_V, Qt::ControlModifier, "v"), QChar(22));
  EXPECT_EQ(KeyPressCharacter(Qt::Key_V, Qt::ControlModifier, QString(QChar(22))), QChar(22));
  EXPECT_EQ(KeyPressCharacter(Qt::Key_C, Qt::ControlModifier, "c"), QChar(3));
  EXPECT_EQ(KeyPressCharacter(Qt::Key_X, Qt::ControlModifier | Qt::ShiftModifier, "X"), QChar(24));
  EXPECT_EQ(KeyPressCharacter(Qt::Key_A, Qt::ControlModifier, "a"), QChar(1));
  // AltGr as Ctrl+Alt types the character it shows.
  EXPECT_EQ(KeyPressCharacter(Qt::Key_Q, Qt::ControlModifier | Qt::AltModifier, "@"), QChar(u'@'));
}

TEST(KeyPressCharacter, EditingKeysHaveCharactersAndMovingKeysHaveNone) {
  EXPECT_EQ(KeyPressCharacter(Qt::Key_Backspace, {}, ""), QChar(8));
  EXPECT_EQ(KeyPressCharacter(Qt::Key_Return, {}, "\r"), QChar(13));
  EXPECT_EQ(KeyPressCharacter(Qt::Key_Escape, {}, ""), QChar(27));
  EXPECT_EQ(KeyPressCharacter(Qt::Key_Space, {}, " "), QChar(u' '));
  EXPECT_EQ(KeyPressCharacter(Qt::Key_7, Qt::KeypadModifier, "7"), QChar(u'7'));
  EXPECT_EQ(KeyPressCharacter(Qt::Key_Delete, {}, QString(QChar(0x7f))), std::nullopt);
  EXPECT_EQ(KeyPressCharacter(Qt::Key_Left, {}, ""), std::nullopt);
  EXPECT_EQ(KeyPressCharacter(Qt::Key_Home, {}, ""), std::nullopt);
  EXPECT_EQ(KeyPressCharacter(Qt::Key_Tab, {}, "\t"), std::nullopt);
}

TEST(KeyPressFilter, EveryKeyThatTypesIsJudgedAlsoWhenItsTextCannotBeSeen) {
  const struct {
    const char* name;
    QString text;
    bool typed;  // whether the digits-only field takes it
  } rows[] = {
      {"digit", QStringLiteral("7"), true},
      {"soft hyphen (AltGr+minus)", QString(QChar(0x00AD)), false},
      {"zero-width non-joiner", QString(QChar(0x200C)), false},
      {"left-to-right mark", QString(QChar(0x200E)), false},
      {"right-to-left mark", QString(QChar(0x200F)), false},
      {"private use", QString(QChar(0xE000)), false},
      {"outside the basic plane", QString::fromUcs4(U"\U0001F600"), false},
      {"digit and an invisible one", QStringLiteral("7") + QChar(0x200B), false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    QLineEdit edit(QStringLiteral("24"));
    KeyPressFilter filter(
        [](QObject*, QChar& key) {
          if (!key.isDigit() || key.unicode() > 0x7F) key = QChar();
        },
        &edit);
    edit.installEventFilter(&filter);
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, row.text);
    QApplication::sendEvent(&edit, &press);
    EXPECT_EQ(edit.text(), row.typed ? QStringLiteral("24") + row.text : QStringLiteral("24"));
  }
}
