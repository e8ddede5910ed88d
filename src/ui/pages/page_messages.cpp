// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/pages/page_messages.h"

namespace orvane::ui::pages {

QString TextOfId(const Translate& translate, std::string_view id) {
    const QString key = Utf8(id);
    return translate ? translate(key) : key;
}

void ShowIdMessage(Dialogs* dialogs, QWidget* owner, const Translate& translate, std::string_view id,
                   std::optional<int> number) {
    if (!dialogs || id.empty()) return;
    if (!number) {
        dialogs->showMessage(owner, Utf8(id), true);
        return;
    }
    QString text = TextOfId(translate, id);
    text.replace(QLatin1String("%d"), QString::number(*number));
    dialogs->showMessage(owner, text, false);
}

}  // namespace orvane::ui::pages
