#include "app/Changecode.h"
#include "app/MainFilesSession.h"
#include "image/FieldCatalogue.h"
#include "image/Texts.h"

#include <QAccessible>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

QString spoken(QWidget* control, QAccessible::Text kind) {
  QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
  return accessible != nullptr ? accessible->text(kind) : QString();
}

class FieldHelpControllerTest : public MainFilesSession {};

TEST_F(FieldHelpControllerTest, EveryFieldIsNamedByItsRowAndTellsItsRangeAndFactoryValue) {
  startWithFactoryImage();
  for (const FieldEntry& entry : FieldCatalogue()) {
    QWidget* control = window->form.ControlOf(entry.field);
    const QString name = spoken(control, QAccessible::Name);
    EXPECT_TRUE(name.startsWith(Text(entry.caption).trimmed())) << name.toStdString();
    if (entry.isCheckBox) {
      EXPECT_TRUE(control->toolTip().startsWith(QStringLiteral("Werkseinstellung: ")));
      continue;
    }
    EXPECT_FALSE(spoken(control, QAccessible::Description).isEmpty()) << name.toStdString();
    const bool typedWithFactoryValue =
        !IsFilledByProgram(entry.field) && entry.field != Field::edtRadioCodeNew;
    EXPECT_EQ(control->toolTip().contains(QStringLiteral("Werkseinstellung: ")),
              typedWithFactoryValue)
        << name.toStdString();
  }
}

TEST_F(FieldHelpControllerTest, TheUnitSelectorIsNamedByItsRowAndTheLimitFollowsItsUnit) {
  startWithFactoryImage();
  QComboBox* unit = window->form.cbbxInactivityLimitUnit;
  const QString name = QStringLiteral("Zeitschranke für Inaktivität, Einheit");
  EXPECT_EQ(unit->accessibleName(), name);
  // Beside its group's title, the label that names it where the name is not read.
  const auto labels = QAccessible::queryAccessibleInterface(unit)->relations(QAccessible::Label);
  EXPECT_TRUE(std::any_of(labels.begin(), labels.end(), [&name](const auto& label) {
    return label.first->text(QAccessible::Name) == name;
  }));
  unit->setCurrentIndex(UnitMinutes);
  EXPECT_EQ(window->form.edtInactivityLimit->accessibleDescription(),
            QStringLiteral("Bereich 1 bis 65535 Minuten"));
  unit->setCurrentIndex(UnitHours);
  EXPECT_EQ(window->form.edtInactivityLimit->accessibleDescription(),
            QStringLiteral("Bereich 1 bis 1092 Stunden"));
}

TEST_F(FieldHelpControllerTest, TheCodeDialogsNewCodeIsNamedByItsLabel) {
  startWithFactoryImage();
  TfrmChangeCode dialog(window->Operations(), window.get());
  auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("edtNewCode"));
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(spoken(edit, QAccessible::Name), QStringLiteral("Neue Funkkennung"));
  EXPECT_EQ(spoken(edit, QAccessible::Description), Text(Msg::RadioCodeHelp));
}

}  // namespace
