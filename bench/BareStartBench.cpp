// The yardstick for ukova-startup-bench: a bare Qt main window holding as many widgets of the
// same kinds as the program's main window, shown until painted once, then the end. What the
// program's start takes beyond this is its own.
// Usage: ukova-bare-start-bench

#include "bench/FirstPaint.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QStatusBar>
#include <QToolBar>

#include <functional>

namespace {

// The main window's widgets of each kind the program makes itself, as `ukova-startup-bench
// --count` lists them; the parts Qt's widgets make of their own (scroll bars, tool buttons, the
// menus' and tool bars' insides) come along with their owners here as there.
struct Kind {
  int count;
  std::function<QWidget*(QWidget*)> make;
};

template <typename Widget>
QWidget* Make(QWidget* parent) {
  return new Widget(parent);
}

// Its 20 field edits are line edits; of its 7 plain widgets, two are the viewports of its scroll
// area and its text box and one its central widget, made below.
const Kind Kinds[] = {
    {40, [](QWidget* parent) { return new QLabel(QStringLiteral("Beschriftung"), parent); }},
    {23, Make<QLineEdit>},
    {10, [](QWidget* parent) { return new QPushButton(QStringLiteral("Knopf"), parent); }},
    {7, [](QWidget* parent) { return new QCheckBox(QStringLiteral("Wahl"), parent); }},
    {7, [](QWidget* parent) { return new QGroupBox(QStringLiteral("Gruppe"), parent); }},
    {4, [](QWidget* parent) { return new QFrame(parent); }},
    {4, Make<QWidget>},
    {1, Make<QComboBox>},
    {1, Make<QPlainTextEdit>},
    {1, Make<QScrollArea>},
};
constexpr int Menus = 5;
constexpr int ToolBarSeparators = 2;

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  QMainWindow window;
  window.setWindowTitle(QStringLiteral("U-KOVA"));
  auto* central = new QWidget(&window);
  auto* grid = new QGridLayout(central);
  int placed = 0;
  for (const Kind& kind : Kinds) {
    for (int i = 0; i < kind.count; ++i, ++placed)
      grid->addWidget(kind.make(central), placed / 8, placed % 8);
  }
  window.setCentralWidget(central);
  for (int i = 0; i < Menus; ++i) window.menuBar()->addMenu(QStringLiteral("Menü %1").arg(i));
  QToolBar* bar = window.addToolBar(QStringLiteral("Leiste"));
  for (int i = 0; i < ToolBarSeparators; ++i) bar->addSeparator();
  window.statusBar()->showMessage(QStringLiteral("Bereit"));
  EndAfterFirstPaint(window);
  window.show();
  return QApplication::exec();
}
