#include <gtest/gtest.h>

#include <QImage>

// The waiting dialog and the About dialog show this picture; a resource that is missing from the
// program, or a JPEG reader that is not installed, would leave both with an empty frame.
TEST(PendantPicture, LoadsFromResourcesAtItsDisplaySize) {
  const QImage picture(QStringLiteral(":/images/pendant.jpg"));
  ASSERT_FALSE(picture.isNull());
  EXPECT_EQ(picture.size(), QSize(121, 160));
}
