#include "app/Main.h"
#include "image/FieldCatalogue.h"
#include "image/Texts.h"
#include "support/ScratchStartup.h"
#include "support/ScriptedDialogs.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <set>

namespace {

class MainFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window_ =
        std::make_unique<TfrmMain>(MainEnvironment{&dialogs_, ScratchStartup(scratch_.path(), {})});
  }

  QWidget& client() const { return *window_->findChild<QWidget*>(QStringLiteral("clientArea")); }

  QTemporaryDir scratch_;
  ScriptedDialogs dialogs_;
  std::unique_ptr<TfrmMain> window_;
};

// The form builds its rows from the field table: a field missing from the window, or a control the
// table does not know, would be shown or written without its rules.
TEST_F(MainFormTest, ShowsExactlyTheTablesFields) {
  std::set<QString> shown;
  for (const QLineEdit* edit : client().findChildren<QLineEdit*>())
    shown.insert(edit->objectName());
  for (const QCheckBox* box : client().findChildren<QCheckBox*>()) shown.insert(box->objectName());
  std::set<QString> listed;
  for (const FieldEntry& entry : FieldCatalogue()) {
    listed.insert(QString::fromLatin1(entry.controlName));
  }
  EXPECT_EQ(shown, listed);
}

TEST_F(MainFormTest, EachFieldHasTheTablesKindCaptionAndGroupOnOneRow) {
  for (const FieldEntry& entry : FieldCatalogue()) {
    SCOPED_TRACE(entry.key);
    const MainForm::FieldRow& row = window_->form.fieldRows.at(entry.field);
    ASSERT_NE(row.control, nullptr);
    ASSERT_NE(row.label, nullptr);
    EXPECT_EQ(row.control->objectName(), QString::fromLatin1(entry.controlName));
    EXPECT_EQ(qobject_cast<QCheckBox*>(row.control) != nullptr, entry.isCheckBox);
    EXPECT_EQ(qobject_cast<QLineEdit*>(row.control) != nullptr, !entry.isCheckBox);
    const Msg::Id caption = entry.partCaption.value_or(FieldCaptionText(entry.field, LimitAsTime));
    EXPECT_EQ(row.label->text(), Text(caption));
    const auto* group = qobject_cast<const QGroupBox*>(row.control->parentWidget());
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->title(), Text(GroupCaptionText(entry.group)));
    EXPECT_EQ(row.label->parentWidget(), group);
    EXPECT_EQ(row.label->geometry().center().y(), row.control->geometry().center().y());
  }
}

// Rows of one group never overlap, and a group holds all its rows.
TEST_F(MainFormTest, RowsOfAGroupLieBelowEachOtherInsideTheirBox) {
  const FieldEntry* previous = nullptr;
  for (const FieldEntry& entry : FieldCatalogue()) {
    SCOPED_TRACE(entry.key);
    const QWidget* control = window_->form.ControlOf(entry.field);
    EXPECT_TRUE(control->parentWidget()->rect().contains(control->geometry()));
    if (previous != nullptr && previous->group == entry.group) {
      const QWidget* above = window_->form.ControlOf(previous->field);
      if (entry.partCaption && previous->partCaption) {
        EXPECT_EQ(control->y(), above->y());
        EXPECT_GE(control->x(), above->geometry().right());
      } else {
        EXPECT_GE(control->y(), above->geometry().bottom());
      }
    }
    previous = &entry;
  }
}

}  // namespace
