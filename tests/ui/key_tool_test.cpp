// SPDX-License-Identifier: GPL-3.0-or-later
// orvanectl keys / assign run as the built tool on emulated devices and a scratch data
// folder: the listing, an assignment that lands in the selected key profile as the page's
// apply leaves it, and the one-line refusals that write nothing.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "device/hex.h"
#include "macros/action_line.h"
#include "macros/macro_store.h"
#include "ui/tool_run.h"

namespace {

namespace fs = std::filesystem;

using orvane::testing::FileBytes;

std::string Hex(const std::string& bytes) {
    return orvane::device::ToHex({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()});
}

class KeyTool : public orvane::testing::ToolTest {
protected:
    /// "keys" output: device key -> code hex, and position -> device key.
    struct Listing {
        std::map<int, std::string> codeOfKey;
        std::map<int, int> keyAt;
    };
    Listing keys(const QString& device) {
        const Run r = run({"--simulate", "keys", device});
        EXPECT_EQ(r.code, 0) << r.err.toStdString();
        Listing l;
        for (const auto& line : r.out.split('\n', Qt::SkipEmptyParts)) {
            const auto f = line.split('\t');
            EXPECT_EQ(f.size(), 4) << line.toStdString();
            if (f.size() < 4) continue;
            l.keyAt[f[0].toInt()] = f[1].toInt();
            l.codeOfKey[f[1].toInt()] = f[2].toStdString();
        }
        return l;
    }
    fs::path profile(const char* device) const { return data / device / "New Profile 1.pro"; }
};

TEST_F(KeyTool, ListsAndAssignsAsThePagesDo) {
    const Listing kb = keys("kb");
    ASSERT_EQ(kb.keyAt.size(), kb.codeOfKey.size());
    ASSERT_TRUE(kb.keyAt.count(64));
    const Run listed = run({"--simulate", "keys", "kb"});
    EXPECT_TRUE(listed.out.contains("\t200058\tKeypad Enter\n")) << listed.out.toStdString();
    EXPECT_TRUE(run({"--simulate", "keys", "ms"}).out.startsWith("0\t0\t100100\tLeft click\n"));

    const Run assigned = run({"--simulate", "assign", "kb", "64", "key:Num_Enter"});
    ASSERT_EQ(assigned.code, 0) << assigned.err.toStdString();
    const int key = kb.keyAt.at(64);
    EXPECT_EQ(assigned.out.toStdString(), "kb: position 64 (key " + std::to_string(key) +
                                              ") = 200058 Keypad Enter; bank 0 sent, key profile \"New Profile 1\" saved\n");
    // The profile holds bank 0 as the keyboard had it, with the one key changed.
    const std::string body = FileBytes(profile("kb")).substr(16);
    ASSERT_EQ(body.size(), 512u);
    for (const auto& [k, code] : kb.codeOfKey) {
        SCOPED_TRACE(k);
        EXPECT_EQ(Hex(body.substr(3 * size_t(k), 3)), k == key ? "200058" : code);
    }

    // Four mouse macros, so that a button may name macro 3.
    orvane::macros::MacroStore store(data, {});
    for (int i = 0; i < 4; ++i) ASSERT_TRUE(store.AddMacro(orvane::macros::MacroSet::Mouse).ok());
    struct Case { QStringList args; std::string stored; };
    const Case mouse[] = {
        {{"assign", "ms", "2", "hscroll:right:5:2:3"}, "112385"},
        {{"assign", "ms", "4", "vscroll:down:5"}, "1200fb"},
        {{"assign", "ms", "5", "macro:3:repeat:300"}, ""},  // refused: N is 0-255
        {{"assign", "ms", "5", "macro:3:repeat:3"}, "710303"},
        {{"assign", "ms", "3", "cursor:1"}, "720100"},
        {{"assign", "ms", "1", "fire:255:36"}, "14ff24"},
    };
    for (const Case& c : mouse) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const Run r = run(QStringList{"--simulate"} + c.args);
        EXPECT_EQ(r.code, c.stored.empty() ? 2 : 0) << r.err.toStdString();
        if (c.stored.empty()) continue;
        const size_t button = c.args[2].toUInt();
        EXPECT_EQ(Hex(FileBytes(profile("ms")).substr(16 + 3 * button, 3)), c.stored);
    }
}

TEST_F(KeyTool, AssignsTheKeysOnlyTheCaptureKnowsBeyondTheList) {
    ASSERT_EQ(run({"--simulate", "keys", "kb"}).code, 0);
    struct Case { const char* token; const char* stored; const char* named; };
    const Case cases[] = {{"F13", "200068", "F13"}, {"102ND", "200064", "ISO \\ (left of Z)"},
                          {"Num_JP_,", "20008c", "Keypad JP ,"}, {"zenkaku", "200094", "Zenkaku/Hankaku"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.token);
        const Run r = run({"--simulate", "assign", "kb", "64", QStringLiteral("key:") + c.token});
        ASSERT_EQ(r.code, 0) << r.err.toStdString();
        EXPECT_TRUE(r.out.contains(QStringLiteral(") = %1 %2;").arg(c.stored, QString::fromUtf8(c.named)))) << r.out.toStdString();
    }
}

TEST_F(KeyTool, AssignsAKeyWithModifiersAndListsTheWholeCombination) {
    struct Case { const char* token; const char* stored; const char* named; };
    const Case cases[] = {{"LCtrl+LShift+F", "200309", "Left Ctrl+Left Shift+F"},
                          {"rctrl+Num_+", "201057", "Right Ctrl+Keypad +"},
                          {"LCtrl+LAlt", "200500", "Left Ctrl+Left Alt"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.token);
        const Run r = run({"--simulate", "assign", "ms", "3", QStringLiteral("key:") + c.token});
        ASSERT_EQ(r.code, 0) << r.err.toStdString();
        EXPECT_TRUE(r.out.startsWith(QStringLiteral("ms: button 3 = %1 %2;").arg(c.stored, QString::fromUtf8(c.named))))
            << r.out.toStdString();
        EXPECT_EQ(Hex(FileBytes(profile("ms")).substr(16 + 3 * 3, 3)), c.stored);
    }
    EXPECT_EQ(run({"--simulate", "assign", "ms", "3", "key:LCtrl+Foo"}).code, 2);
}

TEST_F(KeyTool, BadInputIsRefusedInOneLineAndWritesNothing) {
    ASSERT_EQ(run({"profiles", "kb"}).code, 0);
    ASSERT_EQ(run({"profiles", "ms"}).code, 0);
    const auto kbBefore = FileBytes(profile("kb"));
    const auto msBefore = FileBytes(profile("ms"));
    orvane::macros::MacroStore store(data, {});
    for (int i = 0; i < 2; ++i) ASSERT_TRUE(store.AddMacro(orvane::macros::MacroSet::Keyboard).ok());
    struct Case { QStringList args; int code; const char* says; QString simulate = "--simulate"; };
    const Case cases[] = {
        {{"assign", "kb", "64", "key:Foo"}, 2, "keys are LCtrl"},
        {{"assign", "kb", "64", "key:Volume_Up"}, 2, "unknown key"},
        {{"assign", "kb", "64", "media:louder"}, 2, "media keys are player"},
        {{"assign", "kb", "64", "cursor:1"}, 2, "for mouse buttons"},
        {{"assign", "kb", "64", "hscroll:right:128"}, 2, "AMOUNT 0-127"},
        {{"assign", "kb", "64", "vscroll:down:5:16:0"}, 2, "P1, P2 0-15"},
        {{"assign", "kb", "64", "fire:256:0"}, 2, "0-255"},
        {{"assign", "kb", "64", "macro:50:1"}, 2, "INDEX 0-49"},
        {{"assign", "kb", "64", "macro:1:4"}, 2, "MODE 0-3"},
        {{"assign", "kb", "64", "macro:49:1"}, 2, "macro 49 does not exist: kb has 2 macro(s) (0-1)"},
        {{"assign", "ms", "2", "macro:0:repeat:3"}, 2, "macro 0 does not exist: ms has 0 macro(s)"},
        {{"assign", "kb", "64", "dpi:sideways"}, 2, "up, down, cycle"},
        {{"assign", "kb", "64", "teleport"}, 2, "FUNCTION is one of"},
        {{"assign", "kb", "126", "default"}, 2, "position 0-125"},
        {{"assign", "kb", "16", "default"}, 2, "position 16 has no key"},
        {{"assign", "ms", "6", "default"}, 2, "button 0-5"},
        {{"assign", "ms", "0", "mouse:right"}, 2, "only left-click button"},
        {{"assign", "mp", "0", "default"}, 2, "kb or ms"},
        {{"keys", "kb", "--page", "5"}, 2, "page 0-4"},
        {{"assign", "kb", "64", "key:A"}, 1, "kb: ", "--simulate=ms"},  // no keyboard plugged in
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const Run r = run(QStringList{c.simulate} + c.args);
        EXPECT_EQ(r.code, c.code);
        EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(c.says)) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
    EXPECT_EQ(FileBytes(profile("kb")), kbBefore);
    EXPECT_EQ(FileBytes(profile("ms")), msBefore);
}

TEST_F(KeyTool, AssignSendsTheDevicesMacrosFirstAsThePageDoes) {
    // Three mouse macros of 200 actions: 16 + 6 x 3 + 4 x 600 = 2434 bytes, beyond the
    // emulated mouse's 2048: the apply stops before the keys, 97 actions too many.
    ASSERT_EQ(run({"profiles", "ms"}).code, 0);
    const auto before = FileBytes(profile("ms"));
    orvane::macros::MacroStore store(data, {});
    const std::vector<std::string> lines(200, orvane::macros::FormatActionLine({}));
    for (int i = 0; i < 3; ++i) {
        const auto added = store.AddMacro(orvane::macros::MacroSet::Mouse);
        ASSERT_TRUE(added.ok());
        ASSERT_TRUE(store.SaveMacro(orvane::macros::MacroSet::Mouse, added.name, lines).ok());
    }
    const Run refused = run({"--simulate", "assign", "ms", "2", "dpi:up"});
    EXPECT_EQ(refused.code, 1);
    EXPECT_TRUE(refused.err.contains("97 actions too many")) << refused.err.toStdString();
    EXPECT_EQ(FileBytes(profile("ms")), before);
    // With the macros gone the same assignment goes through.
    for (int i = 2; i >= 0; --i) ASSERT_TRUE(store.DeleteMacro(orvane::macros::MacroSet::Mouse, i).ok());
    const Run assigned = run({"--simulate", "assign", "ms", "2", "dpi:up"});
    EXPECT_EQ(assigned.code, 0) << assigned.err.toStdString();
    EXPECT_EQ(Hex(FileBytes(profile("ms")).substr(16 + 6, 3)), "130100");
}

}  // namespace
