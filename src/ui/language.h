// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Language: the texts of one language file (skin/lan_*.xml, `<Text id="...">text</Text>`)
// and their application to widgets. A widget shows the text of its "textId" property and
// the tooltip of its "tipId" property; ReloadText re-applies them all after a switch.

#include <QHash>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

class QWidget;  // texts are applied to widgets; the table itself needs no Qt Widgets

namespace orvane::ui {

/// The four interface languages: the value kept in main.ini "LANGUAGE", the machine
/// setting, the language code, the file, and the tray menu item (none for Japanese).
struct LanguageRow {
    int iniValue;
    int machineValue;
    const char* code;
    const char* file;
    const char* trayItem;
    const char* exitText;  ///< the tray menu's "exit" item in this language
};

inline constexpr std::array<LanguageRow, 4> kLanguages{{
    {0, 1010, "en", "lan_en.xml", "lan_en", "Close"},
    {1, 2020, "cn_zh", "lan_cn.xml", "lan_cn", "关闭"},
    {2, 3030, "cn_tw", "lan_sn.xml", "lan_tw", "關閉"},
    {3, 4040, "jp", "lan_jp.xml", "lan_jp", "閉じる"},
}};

/// The font faces of a language, best first: Latin letters from DejaVu Sans, then the
/// language's own CJK face (Japanese kana and kanji in Japanese forms, Chinese in Chinese
/// ones), then any CJK face there is.
QStringList FontFamiliesFor(const QString& code);

/// Where main.ini keeps the interface language (its ini value).
inline constexpr char kLanguageIniSection[] = "SKINIMAGE";
inline constexpr char kLanguageIniKey[] = "LANGUAGE";

const LanguageRow* LanguageByIniValue(int value);
const LanguageRow* LanguageByMachineValue(int value);
const LanguageRow* LanguageByTrayItem(const QString& item);

class Language {
public:
    /// Loads a language file; false (and the texts unchanged) when it cannot be read.
    bool load(const QString& path, const QString& code);

    const QString& code() const { return code_; }
    bool has(const QString& id) const { return texts_.contains(id); }
    /// The text of an id in the current language, or the id itself when it has none.
    QString text(const QString& id) const;

    /// Sets the texts and tooltips of root and its descendants from their ids.
    void apply(QWidget* root) const;

private:
    QString code_;
    QHash<QString, QString> texts_;
};

}  // namespace orvane::ui
