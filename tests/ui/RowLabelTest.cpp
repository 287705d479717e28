#include "support/QtPrinters.h"
#include "ui/FormHelpers.h"

#include <QAccessible>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// What a screen reader says for the control.
QString spokenName(QWidget* control) {
  QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
  return accessible != nullptr ? accessible->text(QAccessible::Name) : QString();
}

}  // namespace

TEST(RowLabel, NamesItsControlInsteadOfTheGroup) {
  QGroupBox group(QStringLiteral("Benutzeralarme"));
  auto* label = new QLabel(QStringLiteral("Alarm&taste aktiv "), &group);
  auto* box = new QCheckBox(&group);
  auto* edit = new QLineEdit(&group);
  auto* editLabel = new QLabel(QStringLiteral("Neu"), &group);
  BindRowLabel(label, box);
  BindRowLabel(editLabel, edit, QStringLiteral("Funkkennung"));
  EXPECT_EQ(spokenName(box), QStringLiteral("Alarmtaste aktiv"));
  EXPECT_EQ(spokenName(edit), QStringLiteral("Funkkennung Neu"));
  EXPECT_EQ(label->buddy(), box);
  EXPECT_EQ(editLabel->buddy(), edit);
}

TEST(RowLabel, ClickOnACheckBoxLabelClicksTheBox) {
  struct Row {
    Qt::MouseButton button;
    bool enabled;
    int clicks;
  };
  const Row rows[] = {
      {Qt::LeftButton, true, 1}, {Qt::RightButton, true, 0}, {Qt::LeftButton, false, 0}};
  for (const Row& row : rows) {
    QWidget form;
    auto* label = new QLabel(QStringLiteral("Aktivitätsalarm aktiv"), &form);
    auto* box = new QCheckBox(&form);
    box->setEnabled(row.enabled);
    BindRowLabel(label, box);
    QSignalSpy toggled(box, &QCheckBox::toggled);
    QTest::mouseClick(label, row.button);
    EXPECT_EQ(toggled.count(), row.clicks) << row.button << row.enabled;
    EXPECT_EQ(box->isChecked(), row.clicks == 1);
  }
}
