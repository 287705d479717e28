// The OPU's port chosen in the window: kept in Values.ini in a section of its own, used by every
// link, and overruled for one run by --opu-port.

#include "app/Main.h"
#include "app/port/PortChoiceController.h"
#include "files/VembaIni.h"
#include "image/Texts.h"
#include "support/ScratchStartup.h"
#include "support/ScriptedDialogs.h"

#include <QComboBox>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

const QString kChosen = QStringLiteral("/dev/ttyUSB3");
const QString kCommandLine = QStringLiteral("/dev/pts/42");

class PortChoiceTest : public ::testing::Test {
 protected:
  std::unique_ptr<TfrmMain> start(const QString& commandLinePort = {}) {
    return std::make_unique<TfrmMain>(MainEnvironment{&dialogs, ScratchStartup(scratch.path()),
                                                      OpuLinkOptions{commandLinePort, {}}});
  }
  [[nodiscard]] QString kept(const TfrmMain& window) const {
    return window.VembaIni.ReadSetting(OpuSection, OpuPortKey);
  }

  QTemporaryDir scratch;
  ScriptedDialogs dialogs;
};

TEST_F(PortChoiceTest, TheChoiceIsKeptInValuesIniAndUsedByTheNextStart) {
  auto window = start();
  EXPECT_TRUE(window->LinkOptions().portPath.isEmpty()) << "by USB name until one is chosen";
  ASSERT_TRUE(window->PortChoice().ChoosePort(kChosen));
  EXPECT_EQ(window->LinkOptions().portPath, kChosen);
  EXPECT_EQ(kept(*window), kChosen);

  window = start();
  EXPECT_EQ(window->LinkOptions().portPath, kChosen);
  ASSERT_TRUE(window->PortChoice().ChoosePort(QString()));
  EXPECT_TRUE(window->LinkOptions().portPath.isEmpty());
  EXPECT_TRUE(kept(*start()).isEmpty());
}

TEST_F(PortChoiceTest, TheCommandLinesPortWinsForItsRunAndLeavesTheKeptChoiceAlone) {
  ASSERT_TRUE(start()->PortChoice().ChoosePort(kChosen));
  auto window = start(kCommandLine);
  EXPECT_EQ(window->LinkOptions().portPath, kCommandLine);
  ASSERT_TRUE(window->PortChoice().ChoosePort(QStringLiteral("/dev/ttyUSB9")));
  EXPECT_EQ(window->LinkOptions().portPath, kCommandLine);
  EXPECT_EQ(start()->LinkOptions().portPath, QStringLiteral("/dev/ttyUSB9"));
}

TEST_F(PortChoiceTest, TheDialogListsAutomaticThenThePortsAndKeepsAnAbsentChoice) {
  const std::vector<UsbSerialPort> ports = {
      {QStringLiteral("/dev/ttyUSB0"), QStringLiteral("Orvel OPU - Active USB Interface")},
      {QStringLiteral("/dev/ttyUSB1"), QString()}};
  TfrmPortChoice dialog(ports, kChosen, QString());
  ASSERT_EQ(dialog.cbbxPort->count(), 4);
  EXPECT_EQ(dialog.cbbxPort->itemText(0), Text(Msg::PortChoiceAutomatic));
  EXPECT_TRUE(dialog.cbbxPort->itemText(1).contains(ports[0].product));
  EXPECT_EQ(dialog.cbbxPort->itemText(3), FormatText(Msg::PortChoiceAbsent, {kChosen}));
  EXPECT_EQ(dialog.ChosenPort(), kChosen) << "the kept choice is preselected";
  dialog.cbbxPort->setCurrentIndex(0);
  EXPECT_TRUE(dialog.ChosenPort().isEmpty());
  dialog.cbbxPort->setCurrentIndex(2);
  EXPECT_EQ(dialog.ChosenPort(), ports[1].device);
}

}  // namespace
