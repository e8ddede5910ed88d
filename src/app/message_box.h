// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's message box: a small modal window from the skin layout "XML_MSG" with the
// controls "MessageText", "MessageTitle", "confirm_btn", "cancel_btn" and "closebtn".
// ShowMessage returns 1 only when the user pressed "confirm_btn".

#include <QDialog>

#include "ui/control_index.h"
#include "ui/dialogs.h"
#include "ui/file_dialog.h"

namespace orvane::ui {
class Language;
class SkinLoader;
}  // namespace orvane::ui

namespace orvane::app {

class MessageBox : public QDialog {
    Q_OBJECT
public:
    MessageBox(QWidget* owner, const ui::SkinLoader& skin, const ui::Language& language);

    /// Empty text leaves "MessageText" as the layout has it. A ready text is shown as it is,
    /// even when it looks like an id.
    void setMessage(const QString& text, bool textIsId);
    QWidget* control(const QString& name) const { return controls_.find(name); }

private:
    void onClick(const QString& sender);

    const ui::Language& language_;
    ui::ControlIndex controls_;
};

int ShowMessage(QWidget* owner, const QString& text, bool textIsId, const ui::SkinLoader& skin,
                const ui::Language& language);

/// Dialogs with real windows.
class QtDialogs : public ui::Dialogs {
public:
    QtDialogs(const ui::SkinLoader& skin, const ui::Language& language) : skin_(skin), language_(language) {}
    int showMessage(QWidget* owner, const QString& text, bool textIsId) override {
        return ShowMessage(owner, text, textIsId, skin_, language_);
    }
    QString chooseFile(QWidget* owner, const ui::FileChoice& choice) override {
        return ui::ChooseFileWithQt(owner, choice);
    }

private:
    const ui::SkinLoader& skin_;
    const ui::Language& language_;
};

}  // namespace orvane::app
