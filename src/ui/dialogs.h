#pragma once
// Dialogs: every modal question the program asks goes through this interface, so the
// program shows real windows and the tests script the answers.

#include <QString>
#include <QWidget>

#include <deque>
#include <functional>
#include <vector>

namespace orvane::ui {

class Dialogs {
public:
    virtual ~Dialogs() = default;
    /// A modal message box with a text of the language file (textIsId) or a ready text.
    /// 1 when the user confirmed, 0 when the box was closed any other way.
    virtual int showMessage(QWidget* owner, const QString& text, bool textIsId) = 0;
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

    std::vector<Shown> shown;
    std::deque<int> answers;
    std::function<void()> whileOpen;
};

}  // namespace orvane::ui
