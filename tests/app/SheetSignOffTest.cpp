// The configuration sheet's foot in the window: the technician of Datei › Einstellungen… and for
// whom the shown pendant is, from the strip under the menu or what was recorded for its code.

#include "app/Main.h"
#include "app/MainTransmitter.h"
#include "app/sheet/SheetController.h"
#include "app/who/RecipientController.h"
#include "app/who/TechnicianController.h"
#include "files/SiteMemory.h"
#include "support/ScratchStartup.h"
#include "support/ScriptedDialogs.h"

#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

TEST(SheetSignOffTest, TheSheetNamesTheTechnicianAndForWhomTheShownPendantIs) {
  QTemporaryDir dataDir;
  const QString templates = QStringLiteral(UKOVA_TEMPLATES_DIR);
  for (const QString& name : {QStringLiteral("Values.i"), QStringLiteral("Default.b")})
    ASSERT_TRUE(QFile::copy(templates + name, dataDir.filePath(name)));
  ScriptedDialogs dialogs;
  TfrmMain window(MainEnvironment{&dialogs, ScratchStartup(dataDir.path())});
  const auto signOff = [&window] {
    QStringList values;
    for (const SheetRow& row : window.Sheet().ConfigurationSheet().signOff.rows)
      values << row.value;
    return values;  // site, resident, technician, date, signature
  };
  window.Transmitter().PendantCodeKnown(QStringLiteral("7001"));
  EXPECT_EQ(signOff(), QStringList({"", "", "", "", ""}));  // lines to write on

  ASSERT_TRUE(RememberAssignment(window.DataFolder, {"7001", "Haus Linde", "Zi 12", ""}));
  ASSERT_TRUE(window.Technician().SetName(QStringLiteral("Anna Berg")));
  EXPECT_EQ(signOff(), QStringList({"Haus Linde", "Zi 12", "Anna Berg", "", ""}));
  window.Transmitter().PendantCodeKnown(QStringLiteral("7002"));
  EXPECT_EQ(signOff(), QStringList({"", "", "Anna Berg", "", ""}));

  // Typed into the strip, it is for the pendant about to be programmed.
  QTest::keyClicks(window.Recipients().edtSite, QStringLiteral("Haus Eiche"));
  EXPECT_EQ(signOff(), QStringList({"Haus Eiche", "", "Anna Berg", "", ""}));
}

}  // namespace
