#include "app/popup_menu.h"

#include <QAction>
#include <QFile>
#include <QXmlStreamReader>

#include "ui/language.h"

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

// Reads the MenuElements inside the current element into menu.
void ReadItems(QXmlStreamReader& xml, QMenu& menu, const ui::Language& language, const MenuCommand& onCommand) {
    while (xml.readNextStartElement()) {
        if (xml.name() != QLatin1String("MenuElement")) {
            xml.skipCurrentElement();
            continue;
        }
        const auto attrs = xml.attributes();
        const QString name = attrs.value(QLatin1String("name")).toString();
        const QString textId = attrs.value(QLatin1String("textId")).toString();
        QString text = attrs.value(QLatin1String("text")).toString();
        if (!textId.isEmpty() && language.has(textId)) text = language.text(textId);
        if (text.isEmpty()) text = name;

        // Peek: a sub-menu when the element has MenuElement children.
        auto* sub = new QMenu(text, &menu);
        sub->setObjectName(name);
        ReadItems(xml, *sub, language, onCommand);
        if (sub->actions().isEmpty()) {
            delete sub;
            menu.addAction(MakeItem(menu, name, text, onCommand));
        } else {
            menu.addMenu(sub);
        }
    }
}

}  // namespace

bool FillMenu(QMenu& menu, const QString& menuXml, const ui::Language& language, const MenuCommand& onCommand) {
    menu.clear();
    QFile file(menuXml);
    if (!file.open(QIODevice::ReadOnly)) return false;
    QXmlStreamReader xml(&file);
    if (xml.readNextStartElement() && xml.name() == QLatin1String("Menu"))
        ReadItems(xml, menu, language, onCommand);
    return !xml.hasError();
}

void InsertMenuItem(QMenu& menu, int index, const QString& name, const QString& text, const MenuCommand& onCommand) {
    const auto actions = menu.actions();
    QAction* before = index < actions.size() ? actions.at(index) : nullptr;
    menu.insertAction(before, MakeItem(menu, name, text, onCommand));
}

}  // namespace orvane::app
