#include <QApplication>

int main(int argc, char** argv) {
  // The resources live in the static core library, whose unreferenced objects the linker drops.
  Q_INIT_RESOURCE(resources);
  QApplication application(argc, argv);
  return 0;
}
