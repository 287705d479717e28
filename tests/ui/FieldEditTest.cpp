#include "ui/FieldEdit.h"

#include <gtest/gtest.h>

TEST(LimitUserEdit, CutsOnlyWhatTheEditPutIn) {
  struct Case {
    const char* before;
    const char* after;
    int maxLength;
    std::optional<LimitedEdit> limited;
  };
  const std::optional<LimitedEdit> fits;
  const Case cases[] = {
      {"", "fFfF0", 4, LimitedEdit{"fFfF", 4}},
      {"", "300", 2, LimitedEdit{"30", 2}},
      {"1", "12", 2, fits},
      {"", "123456", 0, fits},  // no limit
      // A key typed into a full field leaves it as it was.
      {"12", "132", 2, LimitedEdit{"12", 1}},
      // Pasted into the middle: the text around it stays.
      {"15", "1999995", 4, LimitedEdit{"1995", 3}},
      // Pasted over a selection.
      {"1234", "1abcd", 4, LimitedEdit{"1abc", 4}},
      // Longer text the program set is kept; nothing more goes in, deleting still works.
      {"131070", "1310709", 5, LimitedEdit{"131070", 6}},
      {"131070", "13107", 5, fits},
      {"1310700", "131070", 5, fits},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LimitUserEdit(c.before, c.after, c.maxLength), c.limited)
        << c.before << " -> " << c.after;
  }
}
