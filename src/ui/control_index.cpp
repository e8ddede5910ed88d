// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/control_index.h"

namespace orvane::ui {

void ControlIndex::add(QWidget* root) {
    if (!root) return;
    auto put = [this](QWidget* w) {
        const auto name = w->objectName();
        if (name.isEmpty() || name.startsWith(QLatin1String("qt_"))) return;
        auto& slot = byName_[name.toLower()];
        if (!slot) slot = w;  // the first control of a name wins, as in a tree search
    };
    put(root);
    for (QWidget* w : root->findChildren<QWidget*>()) put(w);
}

QWidget* ControlIndex::find(const QString& name) const {
    const auto it = byName_.constFind(name.toLower());
    return it == byName_.constEnd() ? nullptr : it->data();
}

}  // namespace orvane::ui
