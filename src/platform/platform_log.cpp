// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/platform_log.h"

#include <QLoggingCategory>
#include <QString>

namespace {
Q_LOGGING_CATEGORY(lcPlatform, "orvane.platform", QtInfoMsg)
}

namespace orvane::platform {

void Log(std::string_view text) {
    qCDebug(lcPlatform).noquote() << QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace orvane::platform
