#pragma once

#include "link/OperationFrontEnd.h"

class QWidget;
class UserDialogs;

// How a window shows what the transmitter operations tell and ask: in message boxes over
// `parent`.

// An error or information box; a message meant for the status line is not shown here (false).
bool ShowOperationMessageBox(UserDialogs& dialogs, QWidget* parent,
                             const OperationMessage& message);

// The question in a box with the buttons its kind needs; the user's answer.
[[nodiscard]] Answer AskInBox(UserDialogs& dialogs, QWidget* parent,
                              const OperationQuestion& question);
