// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Dialogs: every modal question the program asks goes through this interface, so the
// program shows real windows and the tests script the answers.

#include <QString>
#include <QWidget>

#include <deque>
#include <functional>
#include <vector>

namespace orvane::ui {

/// A file to open or save, as a list's import or export asks for it: the extension added to
/// a typed name without one, the name the dialog starts with ("*.led") and the filter as
/// "description|pattern|description|pattern||" pairs.
struct FileChoice {
    bool save = false;
    QString defaultExtension;
    QString initialName;
    QString filter;
    /// false: the caller asks itself before replacing a file, the dialog does not.
    bool confirmOverwrite = true;
    /// Offer executable files only (an application to link a profile to).
    bool executables = false;
};

class Dialogs {
public:
    virtual ~Dialogs() = default;
    /// A modal message box with a text of the language file (textIsId) or a ready text.
    /// 1 when the user confirmed, 0 when the box was closed any other way.
    virtual int showMessage(QWidget* owner, const QString& text, bool textIsId) = 0;
    /// The chosen file's path, or empty when the user cancelled.
    virtual QString chooseFile(QWidget* owner, const FileChoice& choice) {
        (void)owner;
        (void)choice;
        return {};
    }
};

/// Answers from a script and remembers what was asked.
class ScriptedDialogs : public Dialogs {
public:
    struct Shown {
        QString text;
        bool textIsId = false;
    };

    int showMessage(QWidget*, const QString& text, bool textIsId) override {
        shown.push_back({text, textIsId});
        if (whileOpen) whileOpen();  // what happens while the modal box is up
        if (answers.empty()) return 0;
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }

    QString chooseFile(QWidget*, const FileChoice& choice) override {
        fileChoices.push_back(choice);
        if (files.empty()) return {};
        const QString file = files.front();
        files.pop_front();
        return file;
    }

    std::vector<Shown> shown;
    std::deque<int> answers;
    /// The files the file dialogs return in turn (empty: cancelled), and what was asked.
    std::deque<QString> files;
    std::vector<FileChoice> fileChoices;
    std::function<void()> whileOpen;
};

}  // namespace orvane::ui
