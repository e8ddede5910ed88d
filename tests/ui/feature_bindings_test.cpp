// SPDX-License-Identifier: GPL-3.0-or-later
// The binding tables of every installed feature against the skin and the router: each bound
// control exists (a family with all its members), no two tables take one control for one
// event, and the router hands every bound control, for every event it is bound for, to the
// table it is bound in. A table that names a control the skin lacks fails here instead of
// staying silent in the program.
#include <gtest/gtest.h>

#include "app/router.h"
#include "program_rig.h"

using namespace orvane;

namespace {

const QString& TypeOf(uint16_t bit) {
    static const QString none;
    for (const QString* t : {&ui::event::Click, &ui::event::SelectChanged, &ui::event::ItemSelect, &ui::event::ItemClick,
                             &ui::event::ValueChanged, &ui::event::MoveValueChanged, &ui::event::TextChanged,
                             &ui::event::ColorChanged, &ui::event::MouseEnter, &ui::event::MouseLeave})
        if (ui::event::BitOf(*t) == bit) return *t;
    return none;
}

TEST(FeatureBindings, EveryBoundControlExistsAndRoutesToItsTable) {
    programtest::RigOptions o;
    o.start = false;
    programtest::ProgramRig rig(o);
    const app::Router& router = rig.window().router();
    for (const auto& refusal : router.refusals())
        ADD_FAILURE() << refusal.page.toStdString() << " and " << refusal.boundPage.toStdString() << " both take "
                      << refusal.control.toStdString();
    size_t checked = 0;
    for (const auto& feature : rig.program->features())
        for (const auto& page : feature->boundPages())
            for (const auto& entry : page.bindings->entries()) {
                SCOPED_TRACE(entry.name.toStdString());
                std::vector<QString> names;
                if (!entry.family) names.push_back(entry.name);
                for (int i = 0; i < entry.familySize; ++i) names.push_back(entry.name + QString::number(i));
                ASSERT_FALSE(names.empty()) << "a family binding names how many members the skin has";
                for (const QString& name : names) {
                    EXPECT_NE(rig.control(name), nullptr) << name.toStdString() << " is not in the skin";
                    for (uint16_t bit = 1; bit && bit <= ui::event::kMouseLeave; bit = uint16_t(bit << 1)) {
                        if (!(entry.events & bit)) continue;
                        EXPECT_EQ(router.pageFor({TypeOf(bit), name, nullptr}), QLatin1String(page.page))
                            << TypeOf(bit).toStdString() << " " << name.toStdString();
                        ++checked;
                    }
                }
            }
    EXPECT_GT(checked, 150u);  // every page of the program took part
}

// Which page of the program takes a notification: by exact name or family member, for the
// events its table names, without regard to the name's case.
TEST(FeatureBindings, NotificationsReachThePageThatNamesTheirControl) {
    programtest::RigOptions o;
    o.start = false;
    programtest::ProgramRig rig(o);
    struct Case {
        const char* type;
        const char* name;
        const char* page;  // "" : nobody takes it
    };
    const Case cases[] = {
        {"click", "closebtn", "window"},
        {"click", "CloseBtn", "window"},
        {"Click", "closebtn", ""},  // event types are exact
        {"click", "setbtn", "settings button"},
        {"click", "skinbtn", "background button"},
        {"selectchanged", "ms_tab", "device tabs"},
        {"selectchanged", "kb_key_Op_tab", "sub-page options"},
        {"selectchanged", "ms_macro_Op_tab", "sub-page options"},
        {"click", "MS_KEY_2", "mouse buttons"},
        {"msenter", "ms_key_5", "mouse buttons"},
        {"msenter", "ms_key_7", ""},  // the mouse has six buttons
        {"click", "ms_key_3_0", "mouse buttons"},  // a button's zone on the drawing
        {"click", "kb_key_57", "keyboard keys"},
        {"click", "kb_dkey_3", "keyboard custom lighting"},
        {"click", "kb_Deng_color_btn_4", "keyboard lighting"},
        {"click", "ms_DPI_color_btn_3", "mouse performance"},
        {"click", "ms_profile_3", "mouse slots"},
        {"click", "ms_one_profile_default", "mouse slots"},
        {"itemselect", "ms_deng_profile_combo", "profile panels"},  // begins like a lighting control
        {"selectchanged", "kb_deng_profile_link_check", "profile links"},
        {"selectchanged", "ms_gun_op_2", "cursor sequences"},
        {"click", "ms_bulletdate_save_btn", "cursor sequences"},
        {"click", "mp_one_profile_default", "mousepad lighting"},
        {"msenter", "ms_DPI2_slider", ""},  // its page does not take that event
        {"click", "unknown_thing", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.type) + " " + c.name);
        EXPECT_EQ(rig.window().router().pageFor({QLatin1String(c.type), QLatin1String(c.name), nullptr}),
                  QLatin1String(c.page));
    }
}

}  // namespace
