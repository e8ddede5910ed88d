// SPDX-License-Identifier: GPL-3.0-or-later
// The cursor page: the step editor on its own layout (which actions a step owns, the clamps,
// the direction boxes, the ends of the step list), import and export, and on the emulated
// mouse the edit -> upload -> read back at the next connect.

#include <gtest/gtest.h>

#include <algorithm>

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>

#include <filesystem>
#include <fstream>

#include "app/features/macro_pages_feature.h"
#include "macros/action_line.h"
#include "macros/cursor_steps.h"
#include "macros/cursor_store.h"
#include "page_harness.h"
#include "program_rig.h"
#include "ui/pages/cursor_page.h"

namespace {

using orvane::macros::CursorSequencePath;
using orvane::macros::LoadCursorSequence;
using orvane::macros::ParseActionLine;
using orvane::ui::ScriptedDialogs;
using orvane::ui::pages::CursorPage;
namespace fs = std::filesystem;

struct CursorRig {
    CursorRig() : h("Mouse_cursor.ui", {programtest::ShippedDefaults()}) {
        page = std::make_unique<CursorPage>(h.lookup(), *h.runtime, orvane::ui::pages::CursorPageServices{&dialogs, nullptr, {}});
        page->prepare();
        h.bind(page->bindings());
    }
    auto& store() { return h.runtime->macroStore; }
    void click(const char* name) { h.control<QAbstractButton>(name)->click(); }
    void type(const char* name, const QString& text) {
        auto* e = h.control<QLineEdit>(name);
        e->setText(text);
        Q_EMIT e->textEdited(text);
    }
    QString text(const char* name) { return h.control<QLineEdit>(name)->text(); }
    std::string action(int sequence, int n) { return LoadCursorSequence(store(), sequence).at(size_t(n)); }

    pagetest::PageHarness h;
    ScriptedDialogs dialogs;
    std::unique_ptr<CursorPage> page;
};

TEST(CursorPage, StepEditsWriteOnlyTheStepsLastThreeActionsWithinTheirLimits) {
    CursorRig rig;
    ASSERT_EQ(LoadCursorSequence(rig.store(), 0).size(), 180u);  // the first start copied the defaults
    struct Case {
        int step;
        int first;  ///< the step's delay action
    };
    const auto untouched = LoadCursorSequence(rig.store(), 0);
    for (const Case c : {Case{0, 3}, Case{29, 177}}) {
        SCOPED_TRACE(c.step);
        rig.click("ms_gun_op_2");  // step 0 is chosen with the sequence
        if (c.step != 0) rig.click(("ms_bullet_op_" + std::to_string(c.step)).c_str());
        EXPECT_EQ(rig.h.control<QLabel>("bullet_select_index")->text(), QString::number(c.step + 1));
        const auto before = LoadCursorSequence(rig.store(), 2);
        rig.type("ms_cursor_x_eidt", QStringLiteral("300"));
        EXPECT_EQ(rig.text("ms_cursor_x_eidt"), QStringLiteral("255"));
        rig.type("ms_cursor_delay_eidt", QStringLiteral("70000"));
        EXPECT_EQ(rig.text("ms_cursor_delay_eidt"), QStringLiteral("65535"));
        rig.type("ms_cursor_x_eidt", QStringLiteral("12"));
        rig.h.control<QAbstractButton>("ms_cursor_x_check")->setChecked(true);  // left
        rig.type("ms_cursor_y_eidt", QStringLiteral("7"));
        rig.h.control<QAbstractButton>("ms_cursor_y_check")->setChecked(false);  // down
        const auto after = LoadCursorSequence(rig.store(), 2);
        ASSERT_EQ(after.size(), before.size());
        for (size_t i = 0; i < after.size(); ++i)
            if (int(i) < c.first || int(i) > c.first + 2) EXPECT_EQ(after[i], before[i]) << i;
        const auto delay = ParseActionLine(after[size_t(c.first)]), before3 = ParseActionLine(before[size_t(c.first)]);
        EXPECT_EQ(delay.delayLow, 255);
        EXPECT_EQ(delay.delayHigh, 255);
        EXPECT_EQ(delay.kind, before3.kind);
        EXPECT_EQ(after[size_t(c.first + 1)], "0,0,132,12,1,mouse_move_to_left_text");
        EXPECT_EQ(after[size_t(c.first + 2)], "0,0,5,7,0,mouse_move_to_down_text");
        EXPECT_EQ(rig.h.control<QAbstractButton>("ms_cursor_x_check")->text(), QStringLiteral("mouse_move_to_left_text"));
    }
    EXPECT_EQ(LoadCursorSequence(rig.store(), 0), untouched);
    // The ends of the list: nothing happens.
    rig.click("bullet_selected_next");
    EXPECT_EQ(*rig.page->currentStep(), 29);
    rig.click("ms_bullet_op_0");
    rig.click("bullet_selected_prev");
    EXPECT_EQ(*rig.page->currentStep(), 0);
    rig.click("bullet_selected_next");
    EXPECT_EQ(*rig.page->currentStep(), 1);
    // The chosen step clicked again lets go of the editor.
    rig.click("ms_bullet_op_1");
    EXPECT_FALSE(rig.page->currentStep());
    EXPECT_FALSE(rig.h.control<QWidget>("cursor_edit_layout")->isEnabled());
    // Another sequence starts at its step 0 and shows its values.
    rig.click("ms_gun_op_1");
    EXPECT_EQ(rig.page->currentSequence(), 1);
    EXPECT_EQ(*rig.page->currentStep(), 0);
    const auto shown = orvane::macros::ShowCursorStep(rig.store(), 1, 0);
    EXPECT_EQ(rig.text("ms_cursor_delay_eidt"), QString::number(shown.delay));
}

TEST(CursorPage, ResetImportAndExportNeverReplaceWithoutAsking) {
    CursorRig rig;
    rig.click("ms_gun_op_0");
    rig.type("ms_cursor_y_eidt", QStringLiteral("99"));
    const fs::path original = *CursorSequencePath(rig.store(), 0);
    const fs::path folder = original.parent_path().parent_path();

    // Export onto an existing file: refused unless confirmed.
    const fs::path target = folder / "out.cur";
    { std::ofstream(target) << "keep"; }
    rig.dialogs.files = {QString::fromStdString(target.string())};
    rig.dialogs.answers = {0};
    rig.click("ms_bulletdate_export_btn");
    ASSERT_EQ(rig.dialogs.shown.size(), 1u);
    EXPECT_EQ(rig.dialogs.shown[0].text, QStringLiteral("message_cursor_export_replace"));
    EXPECT_EQ(fs::file_size(target), 4u);
    EXPECT_TRUE(rig.dialogs.fileChoices.at(0).save);
    EXPECT_FALSE(rig.dialogs.fileChoices.at(0).confirmOverwrite);
    rig.dialogs.files = {QString::fromStdString(target.string())};
    rig.dialogs.answers = {1};
    rig.click("ms_bulletdate_export_btn");
    EXPECT_EQ(fs::file_size(target), fs::file_size(original));

    // Import: a file of more than 180 actions is refused; a shorter one replaces the sequence.
    const fs::path tooLong = folder / "long.cur";
    {
        std::ofstream f(tooLong);
        f << "[MACROACTIONCOUNT]\ncount=181\n[MACROACTION]\n";
    }
    rig.dialogs.shown.clear();
    rig.dialogs.files = {QString::fromStdString(tooLong.string())};
    rig.click("ms_bulletdate_import_btn");
    ASSERT_EQ(rig.dialogs.shown.size(), 1u);
    EXPECT_EQ(rig.dialogs.shown[0].text, QStringLiteral("message_text_18"));
    EXPECT_EQ(rig.text("ms_cursor_y_eidt"), QStringLiteral("99"));

    rig.click("ms_bulletdate_reset_btn");  // back to the shipped sequence
    EXPECT_EQ(LoadCursorSequence(rig.store(), 0),
              orvane::macros::ReadActionFile(programtest::ShippedDefaults() / "name_1.cur").lines);
    EXPECT_NE(rig.text("ms_cursor_y_eidt"), QStringLiteral("99"));
    rig.dialogs.files = {QString::fromStdString(target.string())};  // the edited export
    rig.click("ms_bulletdate_import_btn");
    EXPECT_EQ(rig.text("ms_cursor_y_eidt"), QStringLiteral("99"));
}

TEST(CursorPageOnTheMouse, EditUploadAndReadBackAtTheNextConnect) {
    using orvane::device::DeviceModel;
    programtest::RigOptions options{.models = {DeviceModel::Mouse}};
    options.beforeBuild = [](programtest::ProgramRig& r) {
        // Sequence 2 on disk is not what the mouse holds.
        orvane::macros::MacroStore store(r.data, {programtest::ShippedDefaults()});
        orvane::macros::InitCursorSequences(store);
        orvane::macros::SaveCursorSequence(store, 1, std::vector<std::string>{"0,0,0,0,0,"});
    };
    programtest::ProgramRig rig(std::move(options));
    ASSERT_TRUE(rig.waitForTab("ms_tab"));
    ASSERT_TRUE(rig.settle());
    auto* feature = rig.feature<orvane::app::MacroPagesFeature>();
    ASSERT_NE(feature, nullptr);
    auto& store = rig.runtime().macroStore;
    // The connect read wrote the mouse's own sequences into the files.
    ASSERT_EQ(LoadCursorSequence(store, 1).size(), 180u);

    QWidget* page = rig.control("MS_CURSOR_UI");
    auto find = [&](const char* name) { return page->findChild<QWidget*>(QLatin1String(name)); };
    static_cast<QAbstractButton*>(find("ms_gun_op_1"))->click();
    static_cast<QAbstractButton*>(find("ms_bullet_op_4"))->click();
    auto* x = static_cast<QLineEdit*>(find("ms_cursor_x_eidt"));
    x->setText(QStringLiteral("77"));
    Q_EMIT x->textEdited(x->text());
    static_cast<QAbstractButton*>(find("ms_cursor_x_check"))->setChecked(true);
    std::vector<int> told;  // the progress ring's arc, as the image goes out
    const auto watching = rig.runtime().events.progressValue.subscribe([&](const int& p) { told.push_back(p); });
    static_cast<QAbstractButton*>(find("ms_bulletdate_save_btn"))->click();
    ASSERT_TRUE(rig.settle());
    EXPECT_TRUE(rig.dialogs.shown.empty());
    ASSERT_GE(told.size(), 10u) << "the image goes out in many reports";
    EXPECT_TRUE(std::is_sorted(told.begin(), told.end()));
    EXPECT_EQ(told.back(), 100);

    std::vector<uint8_t> image;
    rig.firmware(DeviceModel::Mouse, [&](orvane::sim::DeviceFirmware& fw) {
        const auto m = fw.cursorImage();
        image.assign(m.begin(), m.end());
    });
    ASSERT_GE(image.size(), 16u);
    EXPECT_EQ(image[0] | (image[1] << 8), 0x55AA);
    const size_t record = size_t(image[16 + 2] | (image[16 + 3] << 8));  // sequence 1
    const size_t action = record + 4 + 4 * size_t(6 * 4 + 4);           // step 4, horizontal move
    ASSERT_LT(action + 3, image.size());
    EXPECT_EQ(image[action + 2], 0x84);
    EXPECT_EQ(image[action + 3], 77);

    // Edits that were not uploaded give way to what the mouse holds at the next read.
    orvane::macros::StoreCursorStep(store, 1, 4, {.delay = 1, .horizontal = {5, false}, .vertical = {}});
    feature->cursorPage().readFromMouse();
    ASSERT_TRUE(rig.settle());
    const auto view = orvane::macros::ShowCursorStep(store, 1, 4);
    ASSERT_TRUE(view.horizontal);
    EXPECT_EQ(view.horizontal->distance, 77);
    EXPECT_TRUE(view.horizontal->checked);
    EXPECT_EQ(feature->cursorPage().currentSequence(), 0);
}

}  // namespace
