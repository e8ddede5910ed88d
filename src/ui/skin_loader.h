// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// SkinLoader: builds windows from the skin folder. "res.xml" maps resource ids ("XML_MAIN",
// "XML_MSG", "keyboard_key.xml" ...) to Qt Designer files that are loaded at run time;
// the sub-layout placeholders of the main layout are filled from their files and the
// placeholders of the program's own controls are replaced by the real controls. Which
// placeholder takes which layout is the page table's (ui/pages/page_table.h).

#include <QHash>
#include <QString>
#include <QWidget>


namespace orvane::ui {

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
    /// Why the skin cannot build the program's windows: its index, the main layout or the
    /// message box's layout missing, unreadable or no well-formed XML. Empty when usable.
    /// (The message box is made from the skin too, so this is told without it.)
    QString problem() const;

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
