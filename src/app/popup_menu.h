// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Pop-up menus from the skin's menu.xml:
//   <Menu><MenuElement name="lan_cn" textId="..." text="..."/> ... </Menu>
// A MenuElement holding MenuElements becomes a sub-menu. Choosing an item reports its name
// and its shown text.

#include <QMenu>
#include <QString>

#include <functional>

namespace orvane::ui {
class Language;
}

namespace orvane::app {

using MenuCommand = std::function<void(const QString& name, const QString& text)>;

/// Replaces the menu's items with those of the file. false when the file cannot be read.
bool FillMenu(QMenu& menu, const QString& menuXml, const ui::Language& language, const MenuCommand& onCommand);

/// Puts an item at position `index` (0-based; appended when the menu is shorter).
void InsertMenuItem(QMenu& menu, int index, const QString& name, const QString& text, const MenuCommand& onCommand);

}  // namespace orvane::app
