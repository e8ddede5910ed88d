// SPDX-License-Identifier: GPL-3.0-or-later
// The profile panels in the window: first start on an empty data folder, the operations
// through the real controls and scripted dialogs, names that cannot be file names, import
// and export, selection sending the key bank, arrival selecting the recorded profiles, and
// the page headers that follow the sub-pages.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QStackedWidget>

#include "profile_panels_rig.h"
#include "profiles/profile_file.h"
#include "profiles/profile_names.h"

namespace profilestest {
namespace {

using orvane::device::DeviceKind;

std::vector<uint8_t> Pattern(ListId id, uint8_t seed) {
    std::vector<uint8_t> body(orvane::profiles::ListSpecOf(id).bodySize);
    for (size_t i = 0; i < body.size(); ++i) body[i] = uint8_t(seed + i * 7);
    return body;
}

std::string Body(const std::string& file) { return file.size() < 16 ? std::string() : file.substr(16); }

TEST(ProfilePanels, FirstStartOnAnEmptyDataFolderCreatesTheFoldersFilesAndLists) {
    ProfileWindowRig rig({});
    EXPECT_TRUE(rig.messages().isEmpty());
    EXPECT_EQ(orvane::platform::MainIniPath().parent_path(), rig.data);  // main.ini moves with the data folder
    struct Case {
        ListId id;
        const char* index;
        const char* countSection;
        size_t fileSize;
        const char* defaultFile;
    } const cases[] = {
        {ListId::KeyboardLighting, "kb/kbProfile.ini", "PROFILEDENGCOUNT", 16 + 1958, "kbdengdefault.led"},
        {ListId::KeyboardKeys, "kb/kbProfile.ini", "PROFILECOUNT", 16 + 512, "kbkeydefault.pro"},
        {ListId::MouseLighting, "ms/msProfile.ini", "PROFILEDENGCOUNT", 16 + 64, "msdengdefault.led"},
        {ListId::MouseKeys, "ms/msProfile.ini", "PROFILECOUNT", 16 + 512, "mskeydefault.pro"},
        {ListId::PadLighting, "mp/mpProfile.ini", "PROFILEDENGCOUNT", 16 + 64, "mpdengdefault.led"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.index);
        const auto file = rig.file(c.id, "New Profile 1");
        EXPECT_EQ(fs::file_size(file), c.fileSize);
        EXPECT_EQ(Body(FileBytes(file)), Body(FileBytes(ShippedDefaults() / c.defaultFile)));
        orvane::platform::IniFile index(rig.data / c.index);
        EXPECT_EQ(index.readInt(c.countSection, "count"), 1);
        EXPECT_EQ(index.readString(orvane::profiles::ListSpecOf(c.id).sections->names, "0"), "New Profile 1");
        EXPECT_EQ(rig.entries(c.id), QStringList{"New Profile 1"});
    }
    EXPECT_TRUE(fs::exists(rig.data / "mp") && !fs::exists(rig.data / "mp" / "New Profile 1.pro"));
}

TEST(ProfilePanels, TheFirstProfileReadsInTheUsersLanguageAndKeepsItsFileName) {
    struct Case { int language; const char* shown; };
    for (const Case& c : {Case{1, "新建配置文件 1"}, Case{3, "新しいプロファイル 1"}, Case{2, "新增設定檔 1"}}) {
        SCOPED_TRACE(c.shown);
        auto options = ProfileWindowRig::Options({}, {});
        options.language = c.language;
        programtest::ProgramRig rig(options);
        rig.settle();
        auto* combo = rig.control<QComboBox>(ProfileWindowRig::names(ListId::KeyboardLighting).combo);
        ASSERT_NE(combo, nullptr);
        ASSERT_EQ(combo->count(), 1);
        EXPECT_EQ(combo->itemText(0), QString::fromUtf8(c.shown));
        EXPECT_EQ(combo->itemData(0).toString(), QStringLiteral("New Profile 1"));  // the name as stored
        EXPECT_TRUE(fs::exists(*rig.runtime().store.profilePath(ListId::KeyboardLighting, "New Profile 1")));
    }
    // Only the names the program makes up are translated.
    EXPECT_EQ(orvane::profiles::NewProfileNumber("New Profile 12"), "12");
    for (const char* name : {"New Profile", "New Profile 01", "New Profile 1a", "My New Profile 1", "New Profile -1"})
        EXPECT_FALSE(orvane::profiles::NewProfileNumber(name)) << name;
}

TEST(ProfilePanels, AddCopyDeleteAndRenameThroughTheControls) {
    ProfileWindowRig rig({});
    const auto n = ProfileWindowRig::names(ListId::KeyboardLighting);
    auto* nameEdit = rig.control<QLineEdit>(n.nameEdit);
    ASSERT_NE(nameEdit, nullptr);

    rig.click(n.add);
    rig.click(n.add);
    EXPECT_EQ(rig.entries(ListId::KeyboardLighting), (QStringList{"New Profile 1", "New Profile 2", "New Profile 3"}));
    EXPECT_EQ(rig.combo(ListId::KeyboardLighting)->currentIndex(), 2);
    EXPECT_EQ(nameEdit->text(), "New Profile 3");

    rig.combo(ListId::KeyboardLighting)->setCurrentIndex(0);
    rig.settle();  // the user picks the first
    EXPECT_EQ(nameEdit->text(), "New Profile 1");
    EXPECT_EQ(rig.runtime().store.recordedSelection(ListId::KeyboardLighting), 0);
    rig.click(n.copy);
    rig.click(n.copy);  // copies the copy
    EXPECT_EQ(rig.entries(ListId::KeyboardLighting).mid(3),
              (QStringList{"New Profile 1 copy", "New Profile 1 copy copy"}));
    EXPECT_EQ(fs::file_size(rig.file(ListId::KeyboardLighting, "New Profile 1 copy copy")), 16u + 1958u);

    // Delete: declined leaves everything; confirmed removes the entry and its file and
    // selects the entry that took its place.
    rig.combo(ListId::KeyboardLighting)->setCurrentIndex(1);
    rig.settle();
    const auto before = Snapshot(rig.data);
    rig.dialogs.answers = {0};
    rig.click(n.remove);
    EXPECT_EQ(rig.messages().back(), "message_text_12");
    EXPECT_EQ(Snapshot(rig.data), before);
    rig.dialogs.answers = {1};
    rig.click(n.remove);
    EXPECT_EQ(rig.entries(ListId::KeyboardLighting),
              (QStringList{"New Profile 1", "New Profile 3", "New Profile 1 copy", "New Profile 1 copy copy"}));
    EXPECT_FALSE(fs::exists(rig.file(ListId::KeyboardLighting, "New Profile 2")));
    EXPECT_EQ(rig.combo(ListId::KeyboardLighting)->currentIndex(), 1);
    EXPECT_EQ(nameEdit->text(), "New Profile 3");

    // Rename: the edit button shows the name field; the new name replaces entry and file.
    auto* area = rig.control(n.editArea);
    ASSERT_TRUE(area && area->isHidden());
    rig.click(n.edit);
    EXPECT_FALSE(area->isHidden());
    const auto oldBody = FileBytes(rig.file(ListId::KeyboardLighting, "New Profile 3"));
    nameEdit->setText(QString::fromUtf8("Nacht – grün"));
    rig.click(n.renameButton);
    EXPECT_EQ(rig.entries(ListId::KeyboardLighting)[1], QString::fromUtf8("Nacht – grün"));
    EXPECT_EQ(FileBytes(rig.file(ListId::KeyboardLighting, "Nacht – grün")), oldBody);
    EXPECT_FALSE(fs::exists(rig.file(ListId::KeyboardLighting, "New Profile 3")));

    // The other lists work alike: the pad list adds on its own.
    rig.click(ProfileWindowRig::names(ListId::PadLighting).add);
    EXPECT_EQ(rig.entries(ListId::PadLighting), (QStringList{"New Profile 1", "New Profile 2"}));
    EXPECT_EQ(rig.entries(ListId::MouseLighting), QStringList{"New Profile 1"});
}

TEST(ProfilePanels, RefusedRenamesAndDeletesShowTheirMessageAndWriteNothing) {
    ProfileWindowRig rig({});
    const auto n = ProfileWindowRig::names(ListId::MouseKeys);
    rig.click(n.add);  // New Profile 2, selected
    struct Case {
        QString name;
        const char* message;
    } const cases[] = {
        {"a/b", "message_text_20"},      {"..", "message_text_20"},  {"a\\b", "message_text_20"},
        {" padded", "message_text_20"},  {"", "message_text_14"},    {"new profile 1", "message_text_15"},
        {"New Profile 2", "message_text_15"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        const auto before = Snapshot(rig.data);
        rig.control<QLineEdit>(n.nameEdit)->setText(c.name);
        rig.click(n.renameButton);
        EXPECT_EQ(rig.messages().back(), c.message);
        EXPECT_EQ(Snapshot(rig.data), before);
        EXPECT_EQ(rig.entries(ListId::MouseKeys), (QStringList{"New Profile 1", "New Profile 2"}));
    }
    // The only profile of a list cannot be deleted; nothing is asked.
    rig.combo(ListId::PadLighting)->setCurrentIndex(0);
    rig.settle();
    rig.dialogs.answers = {1};
    rig.click(ProfileWindowRig::names(ListId::PadLighting).remove);
    EXPECT_EQ(rig.messages().back(), "message_text_11");
    EXPECT_EQ(rig.entries(ListId::PadLighting), QStringList{"New Profile 1"});
}

TEST(ProfilePanels, ExportAndImportGoThroughTheFileDialogs) {
    ProfileWindowRig rig({});
    const auto n = ProfileWindowRig::names(ListId::KeyboardLighting);
    rig.combo(ListId::KeyboardLighting)->setCurrentIndex(-1);
    rig.settle();
    rig.combo(ListId::KeyboardLighting)->setCurrentIndex(0);
    rig.settle();
    const auto stored = rig.file(ListId::KeyboardLighting, "New Profile 1");

    // Export: the save dialog with the list's settings; the file carries the keyboard kind.
    const auto exported = rig.path("backup.led");
    rig.dialogs.files = {QString::fromStdString(exported.string())};
    rig.click(n.exportButton);
    ASSERT_EQ(rig.dialogs.fileChoices.size(), 1u);
    const auto& save = rig.dialogs.fileChoices[0];
    EXPECT_TRUE(save.save);
    EXPECT_EQ(save.defaultExtension, "led");
    EXPECT_EQ(save.initialName, "*.led");
    EXPECT_EQ(save.filter, "(*.led) | *.led ||");
    EXPECT_EQ(FileBytes(exported), FileBytes(stored));

    // A cancelled dialog does nothing.
    const auto before = Snapshot(rig.data);
    rig.click(n.import);
    EXPECT_EQ(rig.dialogs.fileChoices.back().filter, "(*.led) | *.led |(*.*)|*.*||");
    EXPECT_FALSE(rig.dialogs.fileChoices.back().save);
    EXPECT_EQ(Snapshot(rig.data), before);

    // A file without the magic is refused.
    const auto bad = rig.path("bad.led");
    std::ofstream(bad, std::ios::binary) << std::string(16 + 1958, '\x01');
    rig.dialogs.files = {QString::fromStdString(bad.string())};
    rig.click(n.import);
    EXPECT_EQ(rig.messages().back(), "message_text_9");
    EXPECT_EQ(Snapshot(rig.data), before);

    // A good file (of another device kind in its header) becomes the profile's body.
    const auto body = Pattern(ListId::KeyboardLighting, 3);
    const auto good = rig.path("good.led");
    ASSERT_TRUE(orvane::profiles::WriteProfileFile(good, DeviceKind::Mouse, body));
    rig.dialogs.files = {QString::fromStdString(good.string())};
    rig.click(n.import);
    const auto imported = FileBytes(stored);
    EXPECT_EQ(Body(imported), std::string(body.begin(), body.end()));
    EXPECT_EQ(uint8_t(imported[4]), 1);  // the keyboard's kind

    // Key lists use the ".pro" settings.
    rig.combo(ListId::MouseKeys)->setCurrentIndex(0);
    rig.settle();
    rig.click(ProfileWindowRig::names(ListId::MouseKeys).exportButton);
    EXPECT_EQ(rig.dialogs.fileChoices.back().filter, "(*.pro) | *.pro |(*.*)|*.*||");
    EXPECT_EQ(rig.dialogs.fileChoices.back().defaultExtension, "pro");
}

TEST(ProfilePanels, SelectingAKeyProfileSendsItsBytesToTheKeyboard) {
    ProfileWindowRig rig({DeviceModel::RgbKeyboard});
    ASSERT_TRUE(rig.waitForTab("kb_tab"));
    const auto n = ProfileWindowRig::names(ListId::KeyboardKeys);
    rig.click(n.add);
    const auto body = Pattern(ListId::KeyboardKeys, 0x21);
    ASSERT_TRUE(orvane::profiles::WriteProfileFile(rig.file(ListId::KeyboardKeys, "New Profile 2"), DeviceKind::Keyboard, body));
    rig.combo(ListId::KeyboardKeys)->setCurrentIndex(0);
    rig.settle();
    rig.combo(ListId::KeyboardKeys)->setCurrentIndex(1);
    rig.settle();
    const size_t length = rig.runtime().connection(DeviceKind::Keyboard).blockLength;
    ASSERT_GT(length, 0u);
    EXPECT_EQ(rig.keyMemory(DeviceModel::RgbKeyboard, length),
              std::vector<uint8_t>(body.begin(), body.begin() + std::ptrdiff_t(length)));
    EXPECT_TRUE(rig.messages().isEmpty());
}

TEST(ProfilePanels, AMouseArrivingSelectsItsRecordedProfiles) {
    const auto lighting = [] {
        auto b = Pattern(ListId::MouseLighting, 0x40);
        b[0] = 0;  // slot 0
        return b;
    }();
    ProfileWindowRig rig({DeviceModel::Mouse}, [&](const fs::path& data) {
        // As an earlier run left it: two profiles per list, the second recorded as selected.
        orvane::keyboard::KeyboardModel keyboard;
        orvane::mouse::MouseModel mouse;
        orvane::mousepad::PadModel pad;
        orvane::profiles::ProfileStore store(data, {ShippedDefaults()}, {&keyboard, &mouse, &pad});
        ASSERT_TRUE(store.initProfileLists(DeviceKind::Mouse).message.empty());
        orvane::profiles::ProfileOperations ops(store, {});
        for (ListId id : {ListId::MouseLighting, ListId::MouseKeys}) {
            ops.addProfile(id);
            store.writeSelection(id, 1);
        }
        ASSERT_TRUE(orvane::profiles::WriteProfileFile(*store.profilePath(ListId::MouseLighting, "New Profile 2"),
                                                       DeviceKind::Mouse, lighting));
    });
    const auto firstKeys = FileBytes(rig.file(ListId::MouseKeys, "New Profile 1"));
    ASSERT_TRUE(rig.waitForTab("ms_tab"));
    for (ListId id : {ListId::MouseLighting, ListId::MouseKeys}) {
        EXPECT_EQ(rig.combo(id)->currentIndex(), 1);
        EXPECT_EQ(rig.control<QLineEdit>(ProfileWindowRig::names(id).nameEdit)->text(), "New Profile 2");
    }
    // The recorded lighting was loaded before the read-back and stays the state.
    const auto state = rig.devices->mouse.snapshot().state.bytes;
    EXPECT_TRUE(std::equal(state.begin(), state.end(), lighting.begin()));
    // The read-back saved into the recorded key profile, whose bank then went out again.
    EXPECT_EQ(FileBytes(rig.file(ListId::MouseKeys, "New Profile 1")), firstKeys);
    const auto keys = Body(FileBytes(rig.file(ListId::MouseKeys, "New Profile 2")));
    const auto memory = rig.keyMemory(DeviceModel::Mouse, 512);
    EXPECT_EQ(std::string(memory.begin(), memory.end()), keys);
}

TEST(ProfilePanels, PageHeadersFollowTheSubPages) {
    ProfileWindowRig rig({DeviceModel::RgbKeyboard, DeviceModel::Mouse});
    ASSERT_TRUE(rig.waitForTab("ms_tab") && rig.waitForTab("kb_tab"));
    auto name = [](const char* device, const char* suffix) { return QLatin1String(device) + QLatin1String(suffix); };
    auto index = [&](const QString& n) { return rig.control<QStackedWidget>(n)->currentIndex(); };
    auto shown = [&](const QString& n) { return !rig.control(n)->isHidden(); };
    auto enabled = [&](const QString& n) { return rig.control(n)->isEnabled(); };

    struct Case {
        const char* tab;
        const char* option;
        int page;
        int item;  // -1: the five controls disabled
    } const cases[] = {{"ms_tab", "ms_key_Op_tab", 2, 1},  {"ms_tab", "ms_macro_Op_tab", 1, -1},
                       {"ms_tab", "ms_deng_Op_tab", 0, 0}, {"ms_tab", "ms_rich_Op_tab", 3, 0},
                       {"kb_tab", "kb_key_Op_tab", 2, 1},  {"kb_tab", "kb_macro_Op_tab", 1, -1},
                       {"kb_tab", "kb_deng_Op_tab", 0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.option);
        const char* device = c.tab[0] == 'k' ? "kb" : "ms";
        rig.window->selectTab(QLatin1String(c.tab));
        rig.control<QAbstractButton>(QLatin1String(c.option))->setChecked(true);
        EXPECT_EQ(index(name(device, "_tab_switch")), c.page);
        for (const char* control : {"_profile_select_tab", "_profile_fun_spead_tab", "_deng_profile_edit",
                                    "_key_profile_edit", "_profile_fun_spread_btn"})
            EXPECT_EQ(enabled(name(device, control)), c.item >= 0) << control;
        if (c.item < 0) continue;
        EXPECT_EQ(index(name(device, "_profile_select_tab")), c.item);
        EXPECT_EQ(index(name(device, "_profile_fun_spead_tab")), c.item);
        EXPECT_TRUE(shown(name(device, "_profile_select_tab")));
        EXPECT_FALSE(shown(name(device, "_profile_fun_spead_tab")));
        EXPECT_EQ(shown(name(device, "_deng_profile_edit")), c.item == 0);
        EXPECT_EQ(shown(name(device, "_key_profile_edit")), c.item == 1);
        EXPECT_TRUE(shown(name(device, "_profile_fun_spread_btn")));
    }
    // The spread button shows and hides the tools.
    rig.window->selectTab(QStringLiteral("ms_tab"));
    rig.click("ms_profile_fun_spread_btn");
    EXPECT_TRUE(shown("ms_profile_fun_spead_tab"));
    rig.click("ms_profile_fun_spread_btn");
    EXPECT_FALSE(shown("ms_profile_fun_spead_tab"));
}

}  // namespace
}  // namespace profilestest
