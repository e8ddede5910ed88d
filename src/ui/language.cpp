// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/language.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>

#include <initializer_list>

#include "ui/log.h"
#include "ui/skin_files.h"

namespace orvane::ui {

const LanguageRow* LanguageByIniValue(int value) {
    for (const auto& row : kLanguages)
        if (row.iniValue == value) return &row;
    return nullptr;
}

const LanguageRow* LanguageByMachineValue(int value) {
    for (const auto& row : kLanguages)
        if (row.machineValue == value) return &row;
    return nullptr;
}

const LanguageRow* LanguageByTrayItem(const QString& item) {
    for (const auto& row : kLanguages)
        if (row.trayItem && item == QLatin1String(row.trayItem)) return &row;
    return nullptr;
}

QStringList FontFamiliesFor(const QString& code) {
    // The faces scripts/install-deps.sh installs (IPA Gothic, WenQuanYi Micro Hei) and the
    // Noto CJK faces a desktop often has instead.
    struct Faces {
        const char* code;
        std::initializer_list<const char*> faces;
    };
    static const Faces kFaces[] = {
        {"jp", {"IPAPGothic", "IPAGothic", "Noto Sans CJK JP", "WenQuanYi Micro Hei"}},
        {"cn_zh", {"WenQuanYi Micro Hei", "Noto Sans CJK SC"}},
        {"cn_tw", {"WenQuanYi Micro Hei", "Noto Sans CJK TC"}},
    };
    QStringList families{QStringLiteral("DejaVu Sans")};
    for (const auto& f : kFaces)
        if (code == QLatin1String(f.code)) {
            for (const char* face : f.faces) families << QLatin1String(face);
            return families;
        }
    families << QStringLiteral("WenQuanYi Micro Hei");  // English texts name no CJK, but user names may
    return families;
}

bool Language::load(const QString& path, const QString& code) {
    QString why;
    const auto bytes = ReadSkinFile(path, &why);
    if (!bytes) {
        qCWarning(lcShell) << "language file" << path << why;
        return false;
    }
    auto texts = ParseLanguageTexts(*bytes, &why);
    if (!texts) {
        qCWarning(lcShell) << "language file unreadable:" << path << why;
        return false;
    }
    texts_ = std::move(*texts);
    code_ = code;
    return true;
}

QString Language::text(const QString& id) const { return texts_.value(id, id); }

void Language::apply(QWidget* root) const {
    if (!root) return;
    auto applyOne = [this](QWidget* w) {
        const auto textId = w->property("textId").toString();
        if (!textId.isEmpty() && has(textId)) {
            const auto text = texts_.value(textId);
            if (auto* label = qobject_cast<QLabel*>(w)) label->setText(text);
            else if (auto* button = qobject_cast<QAbstractButton*>(w)) button->setText(text);
            else if (auto* edit = qobject_cast<QLineEdit*>(w)) edit->setPlaceholderText(text);
            else if (auto* group = qobject_cast<QGroupBox*>(w)) group->setTitle(text);
            else w->setWindowTitle(text);
        }
        // A list's items: "itemTextIds" names the text of each item, in item order.
        if (auto* combo = qobject_cast<QComboBox*>(w)) {
            const QStringList ids = w->property("itemTextIds").toString().split(QLatin1Char(','), Qt::SkipEmptyParts);
            for (int i = 0; i < ids.size() && i < combo->count(); ++i)
                if (has(ids[i].trimmed())) combo->setItemText(i, texts_.value(ids[i].trimmed()));
        }
        const auto tipId = w->property("tipId").toString();
        if (!tipId.isEmpty() && has(tipId)) w->setToolTip(texts_.value(tipId));
    };
    applyOne(root);
    for (QWidget* w : root->findChildren<QWidget*>()) applyOne(w);
}

}  // namespace orvane::ui
