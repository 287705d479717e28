#include "app/Application.h"

#include "support/ScriptedDialogs.h"

#include <gtest/gtest.h>

#include <stdexcept>

TEST(EventDelivery, AnEscapingExceptionIsShownAndTheProgramGoesOn) {
  ScriptedDialogs dialogs;
  EXPECT_TRUE(DeliverShowingErrors([] { return true; }, &dialogs, nullptr));
  EXPECT_TRUE(dialogs.messages.empty());

  EXPECT_FALSE(DeliverShowingErrors(
      []() -> bool { throw std::runtime_error("Unable to write to /data/Values.ini"); }, &dialogs,
      nullptr));
  EXPECT_FALSE(DeliverShowingErrors([]() -> bool { throw 42; }, &dialogs, nullptr));

  ASSERT_EQ(dialogs.messages.size(), 2U);
  EXPECT_EQ(dialogs.messages[0].kind, BoxKind::Error);
  EXPECT_EQ(dialogs.messages[0].text, "Unable to write to /data/Values.ini");
  EXPECT_EQ(dialogs.messages[1].text, "");
}
