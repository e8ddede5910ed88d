// SPDX-License-Identifier: GPL-3.0-or-later
// The key capture against the Linux HID driver's own keyboard table (tests/data, copied
// from the kernel): every keyboard usage 0x04-0xA4 and 0xE0-0xE7 the driver maps is
// captured as {0x20, modifiers, usage} and named in all four languages; the keys only the
// media and system lists send stay theirs.
#include <gtest/gtest.h>

#include <linux/input-event-codes.h>

#include <array>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "functions/capture_keys.h"
#include "functions/function_editor.h"
#include "functions/function_lists.h"
#include "functions/linux_keys.h"

namespace orvane::functions {
namespace {

std::array<int, 256> KernelKeyboardTable() {
    std::ifstream in(ORVANE_SOURCE_DIR "/tests/data/hid_keyboard.txt");
    std::array<int, 256> table{};
    size_t n = 0;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::stringstream cells(line);
        std::string cell;
        while (std::getline(cells, cell, ',')) {
            const auto first = cell.find_first_not_of(" \t");
            if (first == std::string::npos) continue;
            cell = cell.substr(first);
            if (n < table.size()) table[n] = cell.rfind("unk", 0) == 0 ? 0 : std::stoi(cell);
            ++n;
        }
    }
    EXPECT_EQ(n, table.size()) << "tests/data/hid_keyboard.txt";
    return table;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
}

/// A language key as an attribute of the language files holds it.
std::string XmlAttribute(std::string_view text) {
    std::string out;
    for (char ch : text) {
        if (ch == '<') out += "&lt;";
        else if (ch == '>') out += "&gt;";
        else if (ch == '&') out += "&amp;";
        else if (ch == '"') out += "&quot;";
        else out += ch;
    }
    return out;
}

bool Captured(int usage) { return (usage >= 0x04 && usage <= 0xA4) || (usage >= 0xE0 && usage <= 0xE7); }

FunctionCode StoredCodeOf(int usage) {
    if (usage >= 0xE0) return {code_type::kKeyboardKey, static_cast<uint8_t>(1u << (usage - 0xE0)), 0};
    return {code_type::kKeyboardKey, 0, static_cast<uint8_t>(usage)};
}

TEST(CaptureKeysTest, EveryKeyboardUsageTheKernelMapsIsCapturedAndNamedInEveryLanguage) {
    const auto kernel = KernelKeyboardTable();
    const char* languages[] = {"lan_en.xml", "lan_cn.xml", "lan_sn.xml", "lan_jp.xml"};
    std::vector<std::string> texts;
    for (const char* file : languages) texts.push_back(ReadFile(std::string(ORVANE_SOURCE_DIR "/skin/") + file));

    std::set<int> capturedUsages;
    for (int usage = 0; usage < 256; ++usage) {
        SCOPED_TRACE(::testing::Message() << "usage 0x" << std::hex << usage);
        // The driver's table as the program holds it.
        EXPECT_EQ(LinuxKeyOfUsage({HidUsage::Page::Keyboard, static_cast<uint16_t>(usage)}), kernel[usage]);
        if (!Captured(usage) || kernel[usage] == 0) continue;
        const auto code = static_cast<uint16_t>(kernel[usage]);
        int lowest = 0;  // usages sharing a key code arrive as the lowest of them
        while (kernel[lowest] != code) ++lowest;
        const auto entry = KeyboardKeyByLinuxKey(code);
        if (entry && KeyboardKeyList[*entry].code.type != code_type::kKeyboardKey) {
            EXPECT_FALSE(CapturedKeyCode(code)) << "a media or system key";
            continue;
        }
        const auto captured = CapturedKeyCode(code);
        ASSERT_TRUE(captured);
        EXPECT_EQ(*captured, StoredCodeOf(lowest));
        const auto name = CapturedKeyName(*captured);
        ASSERT_TRUE(name);
        for (size_t i = 0; i < texts.size(); ++i)
            EXPECT_NE(texts[i].find("<Text id=\"" + XmlAttribute(*name) + "\">"), std::string::npos)
                << *name << " in " << languages[i];
        capturedUsages.insert(lowest);
    }
    // The 108 keys of the list and the 33 others; the media and system keys, the second
    // backslash usage and the keyboard Clear key (Delete's code) add none.
    EXPECT_EQ(capturedUsages.size(), kKeyboardKeyEntries + ExtraKeyList.size());
    for (const auto& extra : ExtraKeyList) EXPECT_TRUE(capturedUsages.count(extra.usage)) << extra.name;
}

TEST(CaptureKeysTest, ACapturedKeyGoesThroughTheEditorAndBackToItsName) {
    struct Case { uint16_t linuxKey; FunctionCode code; std::string_view name; };
    const Case cases[] = {
        {KEY_102ND, {0x20, 0, 0x64}, "keyboard_key_102ND"},
        {KEY_F13, {0x20, 0, 0x68}, "keyboard_key_F13"},
        {KEY_F24, {0x20, 0, 0x73}, "keyboard_key_F24"},
        {KEY_ZENKAKUHANKAKU, {0x20, 0, 0x94}, "keyboard_key_Zenkaku"},
        {KEY_KPEQUAL, {0x20, 0, 0x67}, "keyboard_key_Num ="},
        {KEY_FIND, {0x20, 0, 0x7E}, "keyboard_key_Find"},
        {KEY_A, {0x20, 0, 0x04}, "keyboard_key_A"},
        {KEY_RIGHTALT, {0x20, modifier::kRightAlt, 0}, "keyboard_key_RAlt"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EditorState state;
        ASSERT_TRUE(TakeCapturedKey(state, c.linuxKey));
        EXPECT_EQ(state.code, c.code);
        EXPECT_EQ(state.controls.capturedKey, c.name);
        const auto label = FunctionLabel(c.code, {});
        ASSERT_TRUE(label);
        EXPECT_EQ(label->text, c.name);
    }
    EditorState state;
    for (uint16_t refused : {uint16_t(KEY_MUTE), uint16_t(KEY_VOLUMEUP), uint16_t(KEY_POWER), uint16_t(0x2FF)})
        EXPECT_FALSE(TakeCapturedKey(state, refused)) << refused;
    EXPECT_FALSE(CapturedKeyName({0x20, 0x01, 0x68}));  // the capture never stores a modifier with a key
}

}  // namespace
}  // namespace orvane::functions
