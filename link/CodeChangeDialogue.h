#pragma once

#include "link/TransmitterOperations.h"

#include <QString>

class QWidget;
class UserDialogs;

// The code change as its dialog runs it after "Ändern...": judge the typed code, identify the
// transmitter, stop when it has that code already, ask before changing, re-code and say how it
// ended. Every message goes through `dialogs` (a window's boxes, or the command line's output).
// The re-coding's result; ChangeNotDone when it did not run.
ChangeResult RunCodeChangeDialogue(TransmitterOperations& operations, UserDialogs& dialogs,
                                   QWidget* parent, const QString& typedCode);
