// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The skin's XML files as text: the resource index ("res.xml"), a language file
// ("lan_*.xml") and the pop-up menu ("menu.xml"). Pure parsing with Qt Core only, so that
// each can be tested and fuzzed without a window; the skin is the user's to change, so
// every reader takes what it is given as hostile. ReadSkinFile reads a file of the skin
// folder (a regular file of at most a few MB, never a FIFO or device); pictures are read
// the same way, with a larger cap, before anything decodes them.

#include <QByteArray>
#include <QHash>
#include <QString>

#include <optional>
#include <vector>

#include "platform/regular_file.h"

namespace orvane::ui {

/// The bytes of a skin file; nullopt (and `why` says it) when it is missing, not a regular
/// file or too large.
std::optional<QByteArray> ReadSkinFile(const QString& path, QString* why = nullptr,
                                       size_t maxBytes = platform::kMaxSettingsFileBytes);
/// Pictures (the window's background, the skin's images) are refused above this size.
inline constexpr size_t kMaxPictureBytes = 32 * 1024 * 1024;

/// res.xml: every <Res id="..." file="..."/> anywhere in the document, resource id → file
/// name. A file name that leaves the skin folder (absolute, or with a ".." part) is not
/// taken. What precedes an XML error is kept.
QHash<QString, QString> ParseSkinIndex(const QByteArray& xml);

/// A language file: <Language><Text id="...">text</Text>...</Language>. nullopt (and
/// `error` set) when it is not one.
std::optional<QHash<QString, QString>> ParseLanguageTexts(const QByteArray& xml, QString* error = nullptr);

/// menu.xml: <Menu><MenuElement name="..." textId="..." text="...">[children]</MenuElement>...
struct MenuEntry {
    QString name;
    QString textId;
    QString text;
    std::vector<MenuEntry> children;  ///< a sub-menu when not empty
};
/// Sub-menus deeper than this are not read (their elements are skipped).
inline constexpr int kMaxMenuDepth = 8;
/// nullopt when the document is not a menu or not well formed.
std::optional<std::vector<MenuEntry>> ParseMenu(const QByteArray& xml);

}  // namespace orvane::ui
