// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Logging categories of the window side. Every notification goes to orvane.notify; the
// debug texts of the shell go to orvane.shell. Enable with QT_LOGGING_RULES="orvane.*=true".

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcNotify)
Q_DECLARE_LOGGING_CATEGORY(lcShell)
