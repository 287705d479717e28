// The configuration document: an image shown becomes its values, an edit changes one, and the
// values build back into the bytes they came from.

#include "image/ConfigurationDocument.h"

#include "support/SampleImage.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

TEST(ConfigurationDocument, AShownImageBuildsBackAndEachRealEditIsTold) {
  ConfigurationDocument document;
  QSignalSpy shown(&document, &ConfigurationDocument::ValuesShown);
  QSignalSpy changed(&document, &ConfigurationDocument::Changed);
  const ParameterImage image = SampleImage(OriginLoad);
  ASSERT_EQ(document.Show(image, OriginLoad), ImageOk);
  EXPECT_EQ(shown.count(), 1);
  ParameterImage built = image;
  ASSERT_EQ(document.Build(built, OriginSave), ImageOk);
  EXPECT_EQ(VembaData::ExtractImageBytes(built), VembaData::ExtractImageBytes(image));

  struct Edit {
    const char* name;
    std::function<void()> apply;
    int changes;  // a value set to what it was changes nothing
  };
  const QString interval = document.FieldText(Field::edtBatteryTestInterval);
  const int otherUnit = document.Values().selectedUnit == UnitHours ? UnitMinutes : UnitHours;
  const Edit edits[] = {
      {"same text", [&] { document.SetFieldText(Field::edtBatteryTestInterval, interval); }, 0},
      {"new text", [&] { document.SetFieldText(Field::edtBatteryTestInterval, "36"); }, 1},
      {"box", [&] { document.SetChecked(Field::cbConfig_D2, true); }, 1},
      {"same box", [&] { document.SetChecked(Field::cbConfig_D2, true); }, 0},
      {"unit", [&] { document.SetSelectedUnit(otherUnit); }, 1},
  };
  for (const Edit& edit : edits) {
    changed.clear();
    edit.apply();
    EXPECT_EQ(changed.count(), edit.changes) << edit.name;
  }
  ASSERT_EQ(document.Build(built, OriginSave), ImageOk);
  EXPECT_EQ(built[0x2C].value, 36);

  // Pasted text a key filter would not take is kept as it stands and refused only when built.
  document.SetFieldText(Field::edtBatteryTestInterval, "3?");
  EXPECT_EQ(document.FieldText(Field::edtBatteryTestInterval), "3?");
  EXPECT_TRUE(document.UntypedRefusal().has_value());
}
