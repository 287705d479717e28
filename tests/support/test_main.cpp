#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
  // The resources live in the static core library, whose unreferenced objects the linker drops.
  Q_INIT_RESOURCE(resources);
  // Test discovery runs at build time, where there may be no display.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
