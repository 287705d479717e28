#include "ui/FormHelpers.h"

#include <QImage>

#include <gtest/gtest.h>

// The waiting dialog and the About dialog show this picture; a resource that is missing from the
// program, or a JPEG reader that is not installed, would leave both with an empty frame.
TEST(PendantPicture, LoadsFromResourcesAtItsDisplaySize) {
  const QImage picture = PendantPicture().toImage();
  ASSERT_FALSE(picture.isNull());
  EXPECT_EQ(picture.size(), QSize(121, 160));
}
