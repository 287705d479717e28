#include "ui/ThemeColours.h"

#include <QApplication>
#include <QStyle>
#include <QStyleFactory>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

// The contrast ratio of two colours as readability guidelines define it (1 to 21).
double contrast(const QColor& one, const QColor& other) {
  const auto luminance = [](const QColor& colour) {
    const auto channel = [](double value) {
      return value <= 0.03928 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) +
           0.0722 * channel(colour.blueF());
  };
  const double a = luminance(one) + 0.05;
  const double b = luminance(other) + 0.05;
  return a > b ? a / b : b / a;
}

QPalette darkPalette() {
  QPalette palette;
  palette.setColor(QPalette::Window, QColor(45, 45, 48));
  palette.setColor(QPalette::WindowText, QColor(230, 230, 230));
  palette.setColor(QPalette::Base, QColor(30, 30, 30));
  palette.setColor(QPalette::Text, QColor(235, 235, 235));
  palette.setColor(QPalette::PlaceholderText, QColor(150, 150, 150));
  palette.setColor(QPalette::Mid, QColor(80, 80, 80));
  return palette;
}

TEST(ThemeColours, MarksAndMarkedRowsReadOnALightAndADarkTheme) {
  const std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("Fusion")));
  const QPalette palettes[] = {fusion->standardPalette(), darkPalette()};
  for (const QPalette& palette : palettes) {
    for (const Tint tint : {Tint::Passed, Tint::Failed, Tint::Running, Tint::Neutral}) {
      const int row = static_cast<int>(tint);
      EXPECT_GE(contrast(TintOnWindow(tint, palette), palette.color(QPalette::Window)), 3.0)
          << row << " on " << palette.color(QPalette::Window).name().toStdString();
      EXPECT_GE(contrast(palette.color(QPalette::Text), TintedBase(tint, palette)), 4.5)
          << row << " under " << palette.color(QPalette::Text).name().toStdString();
      // The marked row still differs from an unmarked one.
      EXPECT_NE(TintedBase(tint, palette), palette.color(QPalette::Base));
    }
  }
}

}  // namespace
