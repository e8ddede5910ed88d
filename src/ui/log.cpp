// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/log.h"

Q_LOGGING_CATEGORY(lcNotify, "orvane.notify", QtInfoMsg)
Q_LOGGING_CATEGORY(lcShell, "orvane.shell", QtInfoMsg)
