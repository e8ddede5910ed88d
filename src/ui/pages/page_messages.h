// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The message boxes and language texts of the pages that speak through text ids (the macro
// editors and the cursor page): one routine each, for every page's services.

#include <QString>

#include <functional>
#include <optional>
#include <string_view>

#include "ui/dialogs.h"

namespace orvane::ui::pages {

/// Language id → the text shown in the current language.
using Translate = std::function<QString(const QString& id)>;

/// UTF-8 text (ids and names kept as std::string) as a QString.
inline QString Utf8(std::string_view s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }

/// The text of a language id; the id itself without a translation.
QString TextOfId(const Translate& translate, std::string_view id);

/// A message box by text id. With a number, the text in the current language with its "%d"
/// replaced, shown as it stands. An empty id or no dialogs: nothing.
void ShowIdMessage(Dialogs* dialogs, QWidget* owner, const Translate& translate, std::string_view id,
                   std::optional<int> number = std::nullopt);

}  // namespace orvane::ui::pages
