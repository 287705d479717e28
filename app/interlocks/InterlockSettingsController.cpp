#include "app/interlocks/InterlockSettingsController.h"

#include "files/IniFile.h"
#include "files/VembaIni.h"
#include "image/ImageComparison.h"
#include "image/Texts.h"
#include "image/WriteReview.h"
#include "link/TransmitterOperations.h"
#include "ui/UserDialogs.h"

#include <QAction>
#include <QMenu>

InterlockSettingsController::InterlockSettingsController(QWidget& window, QMenu& commMenu,
                                                         QAction* before, const VembaIni& settings,
                                                         TransmitterOperations& operations,
                                                         UserDialogs& dialogs,
                                                         InactivityLimitModeKind limitMode)
    : QObject(&window),
      mnuCommInterlocks(new QMenu(Text(Msg::MenuCommInterlocks), &window)),
      window_(window),
      settings_(settings),
      operations_(operations),
      dialogs_(dialogs) {
  mnuCommInterlocks->setObjectName(QStringLiteral("mnuCommInterlocks"));
  commMenu.insertMenu(before, mnuCommInterlocks);
  const std::set<Field> stored =
      SilencedFieldsOf(settings_.ReadSetting(SetupSection, SilencedInterlocksKey));
  for (Field field : GuardedFields()) {
    auto* entry = mnuCommInterlocks->addAction(Text(FieldCaptionText(field, limitMode)));
    entry->setCheckable(true);
    entry->setChecked(stored.count(field) == 0);
    connect(entry, &QAction::toggled, this, &InterlockSettingsController::entryToggled);
    entries[field] = entry;
  }
  operations_.SetSilencedInterlocks(silenced());
}

std::set<Field> InterlockSettingsController::silenced() const {
  std::set<Field> fields;
  for (const auto& [field, entry] : entries) {
    if (!entry->isChecked()) fields.insert(field);
  }
  return fields;
}

void InterlockSettingsController::entryToggled() {
  const std::set<Field> fields = silenced();
  operations_.SetSilencedInterlocks(fields);
  // The choice holds for this run even when it cannot be remembered.
  try {
    settings_.WriteSetting(SetupSection, SilencedInterlocksKey, SilencedFieldsSetting(fields));
  } catch (const IniWriteError& error) {
    dialogs_.ShowError(&window_, error.message());
  }
}
