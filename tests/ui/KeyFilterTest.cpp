#include "ui/KeyFilter.h"

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
