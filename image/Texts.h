#pragma once

#include "image/Messages.h"

#include <QString>
#include <QStringList>

// The numbered German texts the user sees. Every layer and front end takes its texts from here.

// The text with this number; empty when the table has no such entry.
[[nodiscard]] QString Text(Msg::Id number);

// The text with each %s replaced by the next argument, in order.
[[nodiscard]] QString FormatText(Msg::Id number, const QStringList& arguments);
