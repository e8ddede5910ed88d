// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// SkinLoader: builds windows from the skin folder. "res.xml" maps resource ids ("XML_MAIN",
// "XML_MSG", "keyboard_key.xml" ...) to Qt Designer files that are loaded at run time;
// the sub-layout placeholders of the main layout are filled from their files and the
// placeholders of the program's own controls are replaced by the real controls.

#include <QHash>
#include <QString>
#include <QWidget>

#include <array>

namespace orvane::ui {

/// Which placeholder (compared without regard to case) is filled from which layout.
struct SubLayout {
    const char* placeholder;
    const char* layout;  ///< resource id in res.xml (file "<base>.ui" when res.xml lacks it)
};

inline constexpr std::array<SubLayout, 10> kSubLayouts{{
    {"kb_Key_UI", "keyboard_key.xml"},
    {"kb_Deng_UI", "keyboard_deng.xml"},
    {"kb_Macro_UI", "keyboard_macro.xml"},
    {"MS_Deng_UI", "Mouse_deng.xml"},
    {"MS_Macro_UI", "Mouse_macro.xml"},
    {"MS_Key_UI", "Mouse_key.xml"},
    {"MP_deng_UI", "MousePad_deng.xml"},
    {"MS_DPI_UI", "Mouse_DPI.xml"},
    {"MS_CURSOR_UI", "Mouse_cursor.xml"},
    {"kb_CURSOR_UI", "Mouse_cursor.xml"},
}};

/// The skin folder of a program in `programFolder`: "skin" next to it (the build folder),
/// else the installation's <prefix>/share/orvane/skin (the program in <prefix>/bin), else the
/// one next to it (missing: the skin's loader reports it). No source path is compiled in.
QString SkinFolderFor(const QString& programFolder);
/// SkinFolderFor() the running program's folder.
QString DefaultSkinFolder();

class SkinLoader {
public:
    explicit SkinLoader(QString folder = DefaultSkinFolder());

    const QString& folder() const { return folder_; }
    bool hasIndex() const { return !files_.isEmpty(); }
    /// The file path a resource id (or a plain file name) stands for.
    QString resolve(const QString& resource) const;

    /// Loads a layout with its sub-layouts and custom controls. With a target, the layout's
    /// root is placed inside it (zero-margin layout) and target is returned; without one,
    /// the root itself is returned. Null when the file cannot be loaded.
    QWidget* load(const QString& resource, QWidget* target = nullptr) const;

    /// style.qss with its relative url() paths made absolute. Empty when missing.
    QString styleSheet() const;

private:
    QWidget* loadFile(const QString& path, QWidget* parent, int depth) const;
    void expand(QWidget* root, int depth) const;
    void replaceCustomControls(QWidget* root) const;

    QString folder_;
    QHash<QString, QString> files_;  // resource id -> file name
};

/// Puts child into host with a zero-margin layout (creating one when host has none).
void FillPlaceholder(QWidget* host, QWidget* child);

}  // namespace orvane::ui
