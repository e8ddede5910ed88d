// SPDX-License-Identifier: GPL-3.0-or-later
// IniFile: private-profile semantics on real files in a temporary folder.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

#include "platform/atomic_file.h"
#include "platform/ini_file.h"
#include "platform/ini_index.h"

using orvane::platform::IniFile;

namespace {

class IniFileTest : public ::testing::Test {
protected:
    std::filesystem::path file(const char* name = "main.ini") const {
        return std::filesystem::path(dir.path().toStdString()) / name;
    }
    void put(const std::string& bytes) { ASSERT_TRUE(orvane::platform::WriteFileAtomically(file(), bytes)); }
    std::string bytes() const { return orvane::platform::ReadWholeFile(file()).value_or("<missing>"); }
    QTemporaryDir dir;
};

struct ReadCase {
    const char* name;
    const char* contents;
    const char* section;
    const char* key;
    const char* expected;
};

TEST_F(IniFileTest, ReadsLikeThePrivateProfileFunctions) {
    const std::string longValue(300, 'x');
    const std::string longFile = "[A]\nk=" + longValue + "\n";
    const ReadCase cases[] = {
        {"missing file gives the default", nullptr, "SKINIMAGE", "LANGUAGE", "0"},
        {"missing section", "[OTHER]\nLANGUAGE=2\n", "SKINIMAGE", "LANGUAGE", "0"},
        {"missing key", "[SKINIMAGE]\nFLAGS=1\n", "SKINIMAGE", "LANGUAGE", "0"},
        {"plain value", "[SKINIMAGE]\nLANGUAGE=2\n", "SKINIMAGE", "LANGUAGE", "2"},
        {"section and key ignore case", "[skinimage]\nlanguage=3\n", "SKINIMAGE", "LANGUAGE", "3"},
        {"blanks around key and value", "  [ SKINIMAGE ]  \n  IMAGE =  a b.png  \n", "SKINIMAGE", "IMAGE", "a b.png"},
        {"enclosing quotes removed", "[S]\nk=\"quoted text\"\n", "S", "k", "quoted text"},
        {"CRLF endings", "[S]\r\nk=v\r\n", "S", "k", "v"},
        {"UTF-8 BOM ignored", "\xEF\xBB\xBF[S]\nk=v\n", "S", "k", "v"},
        {"comment lines skipped", "[S]\n;k=commented\nk=real\n", "S", "k", "real"},
        {"key in a later section is not found", "[S]\n[T]\nk=v\n", "S", "k", "0"},
        {"first of duplicate keys wins", "[S]\nk=1\nk=2\n", "S", "k", "1"},
        {"empty value is empty, not the default", "[S]\nk=\n", "S", "k", ""},
        {"last line without newline", "[S]\nk=tail", "S", "k", "tail"},
        {"value with equals sign", "[S]\nk=a=b\n", "S", "k", "a=b"},
        {"first of repeated sections wins", "[S]\na=1\n[T]\n[s]\na=2\nb=3\n", "S", "b", "0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(file());
        if (c.contents) put(c.contents);
        EXPECT_EQ(IniFile(file()).readString(c.section, c.key), c.expected);
        // One reading for many look-ups follows the same rules.
        EXPECT_EQ(orvane::platform::IniIndex::Load(file()).readString(c.section, c.key), c.expected);
    }
    put(longFile);
    EXPECT_EQ(IniFile(file()).readString("A", "k"), longValue.substr(0, 259));
    // The cut counts characters, so a multi-byte character is never split.
    std::string wide;
    for (int i = 0; i < 300; ++i) wide += "\xE4\xB8\xAD";  // U+4E2D
    put("[A]\nk=" + wide + "\n");
    EXPECT_EQ(IniFile(file()).readString("A", "k"), wide.substr(0, 259 * 3));
    EXPECT_EQ(orvane::platform::IniIndex::Load(file()).readString("A", "k"), wide.substr(0, 259 * 3));
    EXPECT_EQ(IniFile(file()).readString("A", "missing", "fallback"), "fallback");
}

TEST_F(IniFileTest, ReadsNumbersAsDecimalText) {
    put("[S]\na=42\nb=-7\nc=12abc\nd=abc\ne= 5 \nf=99999999999\n");
    IniFile ini(file());
    EXPECT_EQ(ini.readInt("S", "a"), 42);
    EXPECT_EQ(ini.readInt("S", "b"), -7);
    EXPECT_EQ(ini.readInt("S", "c"), 12);
    EXPECT_EQ(ini.readInt("S", "d", 9), 0);  // present but not a number
    EXPECT_EQ(ini.readInt("S", "e"), 5);
    EXPECT_EQ(ini.readInt("S", "f"), INT_MAX);
    EXPECT_EQ(ini.readInt("S", "missing", 9), 9);
}

TEST_F(IniFileTest, WritesUpdateInPlaceAndKeepEverythingElse) {
    IniFile ini(file("sub/dir/new.ini"));
    EXPECT_FALSE(std::filesystem::exists(ini.path()));
    ASSERT_TRUE(ini.writeString("SKINIMAGE", "LANGUAGE", "1"));  // creates file and folders
    EXPECT_EQ(orvane::platform::ReadWholeFile(ini.path()), "[SKINIMAGE]\nLANGUAGE=1\n");

    put("; user comment\r\n[SKINIMAGE]\r\nFLAGS=1\r\nlanguage = 0\r\nIMAGE=x.png\r\n\r\n[Other]\r\nk=v\r\n");
    IniFile main(file());
    ASSERT_TRUE(main.writeString("SKINIMAGE", "LANGUAGE", "2"));
    EXPECT_EQ(bytes(), "; user comment\r\n[SKINIMAGE]\r\nFLAGS=1\r\nLANGUAGE=2\r\nIMAGE=x.png\r\n\r\n[Other]\r\nk=v\r\n");
    ASSERT_TRUE(main.writeInt("SKINIMAGE", "NEW", 5));  // after the section's content, before the blank line
    EXPECT_EQ(bytes(), "; user comment\r\n[SKINIMAGE]\r\nFLAGS=1\r\nLANGUAGE=2\r\nIMAGE=x.png\r\nNEW=5\r\n\r\n[Other]\r\nk=v\r\n");
    ASSERT_TRUE(main.writeString("Third", "a", "b"));
    EXPECT_TRUE(bytes().ends_with("k=v\r\n[Third]\r\na=b\r\n"));
    EXPECT_EQ(main.sections(), (std::vector<std::string>{"SKINIMAGE", "Other", "Third"}));
    EXPECT_EQ(main.keys("skinimage"), (std::vector<std::string>{"FLAGS", "LANGUAGE", "IMAGE", "NEW"}));

    ASSERT_TRUE(main.removeKey("SKINIMAGE", "NEW"));
    ASSERT_TRUE(main.removeSection("Third"));
    EXPECT_EQ(bytes(), "; user comment\r\n[SKINIMAGE]\r\nFLAGS=1\r\nLANGUAGE=2\r\nIMAGE=x.png\r\n\r\n[Other]\r\nk=v\r\n");

    put("[S]\nk=v");  // no newline at the end: the added line must not join it
    ASSERT_TRUE(IniFile(file()).writeString("S", "k2", "w"));
    EXPECT_EQ(bytes(), "[S]\nk=v\nk2=w\n");
}

TEST_F(IniFileTest, RefusesTextThatWouldChangeTheFileStructure) {
    put("[S]\nk=v\n");
    IniFile ini(file());
    EXPECT_FALSE(ini.writeString("S", "k", "x\n[Injected]\nk=1"));
    EXPECT_FALSE(ini.writeString("S", "a=b", "1"));
    EXPECT_FALSE(ini.writeString("S]x", "k", "1"));
    EXPECT_FALSE(ini.writeString("", "k", "1"));
    EXPECT_FALSE(ini.writeString("S", "", "1"));
    EXPECT_EQ(bytes(), "[S]\nk=v\n");
}

// A folder where the file should be opens like a file but cannot be read: every reader
// answers "no file" instead of throwing, and a write fails.
TEST_F(IniFileTest, AFolderInPlaceOfTheFileReadsAsMissing) {
    std::filesystem::create_directory(file());
    EXPECT_EQ(orvane::platform::ReadWholeFile(file()), std::nullopt);
    IniFile ini(file());
    EXPECT_EQ(ini.readString("S", "k", "d"), "d");
    EXPECT_FALSE(ini.writeString("S", "k", "v"));
}

TEST_F(IniFileTest, ConcurrentWritersLoseNoKey) {
    IniFile ini(file());
    std::vector<std::jthread> writers;
    for (int t = 0; t < 4; ++t)
        writers.emplace_back([&ini, t] {
            for (int i = 0; i < 25; ++i)
                ini.writeInt("S", "k" + std::to_string(t) + "_" + std::to_string(i), i);
        });
    writers.clear();
    EXPECT_EQ(ini.keys("S").size(), 100u);
    // Only the ini file is left: no temporary files behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(file().parent_path()), {}), 1);
}

}  // namespace
