// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/log.h"

#include <QLoggingCategory>
#include <QString>

namespace {
Q_LOGGING_CATEGORY(lcDevice, "orvane.device", QtInfoMsg)
}

namespace orvane::device {

void Log(std::string_view text) {
    qCDebug(lcDevice).noquote() << QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace orvane::device
