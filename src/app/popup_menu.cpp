// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/popup_menu.h"

#include <QAction>

#include "ui/language.h"
#include "ui/skin_files.h"

namespace orvane::app {

namespace {

QAction* MakeItem(QMenu& menu, const QString& name, const QString& text, const MenuCommand& onCommand) {
    auto* action = new QAction(text, &menu);
    action->setObjectName(name);
    QObject::connect(action, &QAction::triggered, &menu, [name, text, onCommand] {
        if (onCommand) onCommand(name, text);
    });
    return action;
}

// Fills menu with the entries, sub-menus where an entry has children.
void AddEntries(const std::vector<ui::MenuEntry>& entries, QMenu& menu, const ui::Language& language,
                const MenuCommand& onCommand) {
    for (const auto& entry : entries) {
        QString text = entry.text;
        if (!entry.textId.isEmpty() && language.has(entry.textId)) text = language.text(entry.textId);
        if (text.isEmpty()) text = entry.name;
        if (entry.children.empty()) {
            menu.addAction(MakeItem(menu, entry.name, text, onCommand));
            continue;
        }
        auto* sub = new QMenu(text, &menu);
        sub->setObjectName(entry.name);
        AddEntries(entry.children, *sub, language, onCommand);
        menu.addMenu(sub);
    }
}

}  // namespace

bool FillMenu(QMenu& menu, const QString& menuXml, const ui::Language& language, const MenuCommand& onCommand) {
    menu.clear();
    // The skin's menu file is read as any skin file: a regular file of bounded size, parsed
    // with a bounded depth.
    const auto bytes = ui::ReadSkinFile(menuXml);
    if (!bytes) return false;
    const auto entries = ui::ParseMenu(*bytes);
    if (!entries) return false;
    AddEntries(*entries, menu, language, onCommand);
    return true;
}

void InsertMenuItem(QMenu& menu, int index, const QString& name, const QString& text, const MenuCommand& onCommand) {
    const auto actions = menu.actions();
    QAction* before = index < actions.size() ? actions.at(index) : nullptr;
    menu.insertAction(before, MakeItem(menu, name, text, onCommand));
}

}  // namespace orvane::app
