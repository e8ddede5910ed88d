// SPDX-License-Identifier: GPL-3.0-or-later
// The skin's XML readers on hostile text: resource files that leave the skin folder, a menu
// nested past any sensible depth, language files that are not one, and a skin file that is
// a FIFO; a skin that cannot build the window says why and where.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QTemporaryDir>

#include <QFile>

#include "ui/skin_files.h"
#include "ui/skin_loader.h"

namespace {

using orvane::ui::MenuEntry;

TEST(SkinFiles, TheIndexNamesOnlyFilesInsideTheSkinFolder) {
    const auto files = orvane::ui::ParseSkinIndex(
        "<Resources><Res id='XML_MAIN' file='main.ui'/><Group><Res id='sub' file='sub/x.ui'/></Group>"
        "<Res id='abs' file='/dev/zero'/><Res id='up' file='../../etc/passwd'/><Res id='win' file='a\\..\\..\\b'/>"
        "<Res id='late' file='late.ui'/><Res id='broken'");
    EXPECT_EQ(files.value("XML_MAIN"), "main.ui");
    EXPECT_EQ(files.value("sub"), "sub/x.ui");
    EXPECT_EQ(files.value("late"), "late.ui");  // what came before the error is kept
    for (const char* refused : {"abs", "up", "win", "broken"}) EXPECT_FALSE(files.contains(refused)) << refused;
}

TEST(SkinFiles, MenusDeeperThanTheLimitAreSkippedNotFollowed) {
    QByteArray xml = "<Menu>";
    for (int i = 0; i < 5000; ++i) xml += "<MenuElement name='n" + QByteArray::number(i) + "'>";
    for (int i = 0; i < 5000; ++i) xml += "</MenuElement>";
    xml += "<MenuElement name='last' textId='t' text='Last'/></Menu>";
    const auto menu = orvane::ui::ParseMenu(xml);
    ASSERT_TRUE(menu);
    ASSERT_EQ(menu->size(), 2u);
    int depth = 0;
    for (const MenuEntry* e = &menu->front(); !e->children.empty(); e = &e->children.front()) ++depth;
    EXPECT_EQ(depth, orvane::ui::kMaxMenuDepth - 1);
    EXPECT_EQ(menu->back().text, "Last");
    EXPECT_FALSE(orvane::ui::ParseMenu("<NotAMenu/>"));
    EXPECT_FALSE(orvane::ui::ParseMenu("<Menu><MenuElement>"));
}

TEST(SkinFiles, LanguageFilesAndFilesThatAreNotFiles) {
    const auto texts = orvane::ui::ParseLanguageTexts("<Language><Text id='a'>A</Text><Other/><Text id='b'>B</Text></Language>");
    ASSERT_TRUE(texts);
    EXPECT_EQ(texts->value("b"), "B");
    QString error;
    EXPECT_FALSE(orvane::ui::ParseLanguageTexts("<Lang/>", &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(orvane::ui::ParseLanguageTexts("\xff\xfe<\0L\0", nullptr));

    QTemporaryDir dir;
    const QString fifo = dir.filePath("lan_en.xml");
    ASSERT_EQ(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    QString why;
    EXPECT_FALSE(orvane::ui::ReadSkinFile(fifo, &why));  // returns at once: nothing writes to it
    EXPECT_TRUE(why.contains("not a regular file")) << why.toStdString();
}

// The start refuses a skin it cannot build the window from, naming the file: a damaged
// layout would otherwise open a blank window with no word.
TEST(SkinFiles, ASkinThatCannotBuildTheWindowSaysWhichFile) {
    struct Case {
        const char* what;
        const char* index;  ///< res.xml, or nullptr for none
        const char* mainUi;
        const char* msgUi;
        const char* named;  ///< in the problem; "" for a usable skin
    };
    const char* kIndex = "<Resources><Res id='XML_MAIN' file='main.ui'/><Res id='XML_MSG' file='msg.ui'/></Resources>";
    const char* kUi = "<ui version='4.0'><widget class='QWidget' name='w'/></ui>";
    const Case cases[] = {
        {"usable", kIndex, kUi, kUi, ""},
        {"no index", nullptr, kUi, kUi, "res.xml"},
        {"index without layouts", "<Resources/>", kUi, kUi, "res.xml"},
        {"main layout cut short", kIndex, "<ui version='4.0'><widget class='QWidget' na", kUi, "main.ui is damaged"},
        {"message layout missing", kIndex, kUi, nullptr, "msg.ui"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir dir;
        auto write = [&dir](const char* name, const char* text) {
            if (!text) return;
            QFile f(dir.filePath(QLatin1String(name)));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(text);
        };
        write("res.xml", c.index);
        write("main.ui", c.mainUi);
        write("msg.ui", c.msgUi);
        const QString problem = orvane::ui::SkinLoader(dir.path()).problem();
        if (*c.named == 0) EXPECT_TRUE(problem.isEmpty()) << problem.toStdString();
        else EXPECT_TRUE(problem.contains(QLatin1String(c.named))) << problem.toStdString();
    }
    EXPECT_TRUE(orvane::ui::SkinLoader(QStringLiteral(ORVANE_SOURCE_DIR "/skin")).problem().isEmpty()) << "the shipped skin";
}

}  // namespace
