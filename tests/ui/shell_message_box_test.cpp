// SPDX-License-Identifier: GPL-3.0-or-later
// The message box: which button gives which result, and what text it shows.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QTimer>

#include "app/message_box.h"
#include "shell_test_support.h"
#include "ui/language.h"
#include "ui/skin_loader.h"

using namespace orvane;

namespace {

struct Shown {
    QString text;
    int result = -1;
};

// Shows a box and, once it is up, notes its text and clicks `button`.
Shown ShowAndClick(const QString& text, bool textIsId, const char* button) {
    static const ui::SkinLoader skin(shelltest::FixtureSkin());
    static const ui::Language language = [] {
        ui::Language l;
        l.load(shelltest::FixtureSkin() + "/lan_en.xml", "en");
        return l;
    }();
    Shown shown;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<app::MessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        shown.text = qobject_cast<QLabel*>(box->control("MessageText"))->text();
        qobject_cast<QAbstractButton*>(box->control(QString::fromLatin1(button)))->click();
    });
    shown.result = app::ShowMessage(nullptr, text, textIsId, skin, language);
    return shown;
}

TEST(MessageBox, ResultsAndTexts) {
    struct Case {
        const char* text;
        bool textIsId;
        const char* button;
        const char* shownText;
        int result;
    };
    const Case cases[] = {
        {"message_text_1", true, "confirm_btn", "No device is connected.", 1},
        {"message_text_1", true, "cancel_btn", "No device is connected.", 0},
        {"message_text_1", true, "closebtn", "No device is connected.", 0},  // the skin spells it CloseBtn
        {"message_text_1", false, "confirm_btn", "message_text_1", 1},       // a ready text, shown literally
        {"<b>Ready</b> text", false, "closebtn", "<b>Ready</b> text", 0},
        {"", true, "cancel_btn", "Text in the layout", 0},                   // nothing given: the layout's text
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " / " + c.button);
        const Shown shown = ShowAndClick(QString::fromUtf8(c.text), c.textIsId, c.button);
        EXPECT_EQ(shown.text, QString::fromUtf8(c.shownText));
        EXPECT_EQ(shown.result, c.result);
    }
}

TEST(MessageBox, ClosingAnyOtherWayDeclines) {
    static const ui::SkinLoader skin(shelltest::FixtureSkin());
    ui::Language language;
    int result = -1;
    QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
    result = app::ShowMessage(nullptr, "x", false, skin, language);
    EXPECT_EQ(result, 0);
}

// The title the desktop shows is a word of the user's language, not the layout's name.
TEST(MessageBox, TitledInTheLanguage) {
    static const ui::SkinLoader skin(shelltest::FixtureSkin());
    for (const char* file : {"lan_en.xml", "lan_jp.xml"}) {
        SCOPED_TRACE(file);
        ui::Language language;
        ASSERT_TRUE(language.load(QDir(shelltest::SourceSkin()).filePath(QLatin1String(file)), QStringLiteral("x")));
        QString title;
        QTimer::singleShot(0, [&title] {
            title = QApplication::activeModalWidget()->windowTitle();
            QApplication::activeModalWidget()->close();
        });
        app::ShowMessage(nullptr, "x", false, skin, language);
        EXPECT_EQ(title, language.text(QStringLiteral("msg_title_text")));
        EXPECT_NE(title, QStringLiteral("msgwnd"));
    }
}

}  // namespace
