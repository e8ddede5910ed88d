// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Which code owns which controls. The router hands every notification to the owner of its
// sender, found in kOwnership: first by indexed family (prefix + number), then by exact
// name, then by the name patterns in table order. A row applies only to the events it
// lists. Pages register their handlers per owner as they are built.

#include <array>
#include <cstdint>

#include "ui/notification.h"

namespace orvane::app {

enum class Owner : uint8_t {
    Window,                  // window-level buttons
    DeviceTabs,              // the device tab options
    KeyboardKeys,            // key assignment on the keyboard picture
    KeyboardCustomLighting,  // per-key custom lighting
    KeyboardLighting,        // keyboard lighting modes
    MouseButtons,            // button assignment on the mouse picture
    MouseDpi,                // DPI, report rate, sensor, wheel
    MouseLighting,
    MouseSlots,              // the mouse's on-board profile slots
    MouseSubPages,           // the options of the mouse page's sections
    CursorSequences,
    MousepadLighting,
    Profiles,
    ProfileLinks,            // application-linked profiles
    Macros,
    Count
};

enum class Match : uint8_t { Family, Exact, BeginsWith, Contains };

using namespace ui::event;  // the event bits: kClick, kSelectChanged ...

struct OwnershipRow {
    Match match;
    const char* pattern;  ///< compared without regard to case
    uint16_t events;
    Owner owner;
};

namespace detail {
constexpr uint16_t kKeysEvents = kClick | kItemSelect | kTextChanged;
constexpr uint16_t kCustomLightEvents = kClick | kSelectChanged | kItemSelect;
constexpr uint16_t kLightEvents = kClick | kSelectChanged | kValueChanged | kItemSelect | kColorChanged | kTextChanged;
constexpr uint16_t kButtonEvents = kClick | kMouseEnter | kMouseLeave | kItemSelect | kTextChanged;
constexpr uint16_t kDpiEvents = kClick | kValueChanged | kMoveValueChanged | kTextChanged;
constexpr uint16_t kCursorEvents = kClick | kSelectChanged | kTextChanged;
constexpr uint16_t kPadEvents = kLightEvents | kMoveValueChanged;
constexpr uint16_t kProfileEvents = kClick | kItemSelect | kSelectChanged;
constexpr uint16_t kLinkEvents = kClick | kSelectChanged;
constexpr uint16_t kMacroEvents = kClick | kItemSelect | kItemClick | kSelectChanged | kTextChanged;
}  // namespace detail

inline constexpr auto kOwnership = [] {
    using namespace detail;
    using M = Match;
    using O = Owner;
    return std::array{
        // the window itself
        OwnershipRow{M::Exact, "closebtn", kClick, O::Window},
        OwnershipRow{M::Exact, "minbtn", kClick, O::Window},
        OwnershipRow{M::Exact, "maxbtn", kClick, O::Window},
        OwnershipRow{M::Exact, "restorebtn", kClick, O::Window},
        OwnershipRow{M::Exact, "skinbtn", kClick, O::Window},  // the background window's feature binds it too
        OwnershipRow{M::Exact, "setbtn", kClick, O::Window},   // the settings window's feature binds it too
        OwnershipRow{M::Exact, "menubtn", kClick, O::Window},
        OwnershipRow{M::Exact, "dpi_btn", kClick, O::Window},
        OwnershipRow{M::Exact, "kb_tab", kSelectChanged, O::DeviceTabs},
        OwnershipRow{M::Exact, "kb_onecolor_tab", kSelectChanged, O::DeviceTabs},
        OwnershipRow{M::Exact, "ms_tab", kSelectChanged, O::DeviceTabs},
        OwnershipRow{M::Exact, "mp_tab", kSelectChanged, O::DeviceTabs},
        OwnershipRow{M::Exact, "ani_tab", kSelectChanged, O::DeviceTabs},
        OwnershipRow{M::Exact, "split_tab", kSelectChanged, O::DeviceTabs},
        // keyboard
        OwnershipRow{M::Family, "kb_key_", kKeysEvents, O::KeyboardKeys},
        OwnershipRow{M::BeginsWith, "kb_key_fct_", kKeysEvents, O::KeyboardKeys},
        OwnershipRow{M::BeginsWith, "kb_key_butt_", kKeysEvents, O::KeyboardKeys},
        OwnershipRow{M::BeginsWith, "kb_tab_function", kKeysEvents, O::KeyboardKeys},
        OwnershipRow{M::Exact, "kb_key_Op_tab", kSelectChanged, O::KeyboardKeys},
        OwnershipRow{M::Family, "kb_dkey_", kCustomLightEvents, O::KeyboardCustomLighting},
        OwnershipRow{M::BeginsWith, "kb_Deng_all_", kCustomLightEvents, O::KeyboardCustomLighting},
        OwnershipRow{M::BeginsWith, "kb_Deng_custom_", kCustomLightEvents, O::KeyboardCustomLighting},
        OwnershipRow{M::Exact, "kb_deng_combo_curtom_count", kCustomLightEvents, O::KeyboardCustomLighting},
        OwnershipRow{M::Family, "kb_Deng_color_btn_", kLightEvents, O::KeyboardLighting},
        OwnershipRow{M::BeginsWith, "kb_deng_", kLightEvents, O::KeyboardLighting},
        // mouse
        OwnershipRow{M::Family, "ms_key_", kButtonEvents, O::MouseButtons},
        // the buttons' zones on the mouse drawing ("ms_key_" + button + "_0")
        OwnershipRow{M::Exact, "ms_key_0_0", kButtonEvents, O::MouseButtons},
        OwnershipRow{M::Exact, "ms_key_1_0", kButtonEvents, O::MouseButtons},
        OwnershipRow{M::Exact, "ms_key_2_0", kButtonEvents, O::MouseButtons},
        OwnershipRow{M::Exact, "ms_key_3_0", kButtonEvents, O::MouseButtons},
        OwnershipRow{M::Exact, "ms_key_4_0", kButtonEvents, O::MouseButtons},
        OwnershipRow{M::Exact, "ms_key_5_0", kButtonEvents, O::MouseButtons},
        OwnershipRow{M::BeginsWith, "ms_key_fct_", kButtonEvents, O::MouseButtons},
        OwnershipRow{M::BeginsWith, "ms_key_butt_", kButtonEvents, O::MouseButtons},
        OwnershipRow{M::BeginsWith, "ms_tab_function", kButtonEvents, O::MouseButtons},
        OwnershipRow{M::Family, "ms_DPI_color_btn_", kDpiEvents, O::MouseDpi},
        OwnershipRow{M::BeginsWith, "ms_DPI", kDpiEvents, O::MouseDpi},
        OwnershipRow{M::BeginsWith, "ms_gunlun_", kDpiEvents, O::MouseDpi},
        OwnershipRow{M::Exact, "ms_report_fct_combo", kDpiEvents | kItemSelect, O::MouseDpi},
        OwnershipRow{M::Exact, "ms_point_speed_slider", kDpiEvents, O::MouseDpi},
        OwnershipRow{M::Exact, "ms_sensor_height_slider", kDpiEvents, O::MouseDpi},
        OwnershipRow{M::Exact, "Pallet", kColorChanged, O::MouseDpi},
        OwnershipRow{M::Family, "ms_Deng_color_btn_", kLightEvents, O::MouseLighting},
        OwnershipRow{M::BeginsWith, "ms_deng_", kLightEvents, O::MouseLighting},
        OwnershipRow{M::Exact, "ms_deng_Op_tab", kSelectChanged, O::MouseSubPages},
        OwnershipRow{M::Exact, "ms_key_Op_tab", kSelectChanged, O::MouseSubPages},
        OwnershipRow{M::Exact, "ms_rich_Op_tab", kSelectChanged, O::MouseSubPages},
        OwnershipRow{M::Exact, "ms_cursor_Op_tab", kSelectChanged, O::MouseSubPages},
        OwnershipRow{M::Family, "ms_profile_", kClick, O::MouseSlots},
        OwnershipRow{M::Exact, "ms_one_profile_default", kClick, O::MouseSlots},
        OwnershipRow{M::Family, "ms_bullet_op_", kCursorEvents, O::CursorSequences},
        OwnershipRow{M::Family, "ms_gun_op_", kCursorEvents, O::CursorSequences},
        OwnershipRow{M::Exact, "bullet_selected_prev", kCursorEvents, O::CursorSequences},
        OwnershipRow{M::Exact, "bullet_selected_next", kCursorEvents, O::CursorSequences},
        OwnershipRow{M::Exact, "cursor_edit_layout", kCursorEvents, O::CursorSequences},
        OwnershipRow{M::BeginsWith, "ms_bulletdate_", kCursorEvents, O::CursorSequences},
        OwnershipRow{M::BeginsWith, "ms_cursor_", kCursorEvents, O::CursorSequences},
        // mousepad
        OwnershipRow{M::Family, "mp_Deng_color_btn_", kPadEvents, O::MousepadLighting},
        OwnershipRow{M::BeginsWith, "mp_deng_", kPadEvents, O::MousepadLighting},
        OwnershipRow{M::Exact, "mp_one_profile_default", kPadEvents, O::MousepadLighting},
        // profiles: the link controls before the other profile controls
        // (the lists and rename buttons by name: their names also begin like lighting controls)
        OwnershipRow{M::Exact, "kb_deng_profile_combo", kItemSelect, O::Profiles},
        OwnershipRow{M::Exact, "kb_key_profile_combo", kItemSelect, O::Profiles},
        OwnershipRow{M::Exact, "ms_deng_profile_combo", kItemSelect, O::Profiles},
        OwnershipRow{M::Exact, "ms_key_profile_combo", kItemSelect, O::Profiles},
        OwnershipRow{M::Exact, "mp_deng_profile_combo", kItemSelect, O::Profiles},
        OwnershipRow{M::Exact, "kb_deng_profile_edit_save_btn", kClick, O::Profiles},
        OwnershipRow{M::Exact, "kb_key_profile_edit_save_btn", kClick, O::Profiles},
        OwnershipRow{M::Exact, "ms_deng_profile_edit_save_btn", kClick, O::Profiles},
        OwnershipRow{M::Exact, "ms_key_profile_edit_save_btn", kClick, O::Profiles},
        OwnershipRow{M::Exact, "mp_deng_profile_edit_save_btn", kClick, O::Profiles},
        // the link check boxes and buttons by name too: they also begin like lighting controls
        OwnershipRow{M::Exact, "kb_deng_profile_link_check", kLinkEvents, O::ProfileLinks},
        OwnershipRow{M::Exact, "kb_deng_profile_link_btn", kLinkEvents, O::ProfileLinks},
        OwnershipRow{M::Exact, "kb_key_profile_link_check", kLinkEvents, O::ProfileLinks},
        OwnershipRow{M::Exact, "kb_key_profile_link_btn", kLinkEvents, O::ProfileLinks},
        OwnershipRow{M::Exact, "ms_deng_profile_link_check", kLinkEvents, O::ProfileLinks},
        OwnershipRow{M::Exact, "ms_deng_profile_link_btn", kLinkEvents, O::ProfileLinks},
        OwnershipRow{M::Exact, "ms_key_profile_link_check", kLinkEvents, O::ProfileLinks},
        OwnershipRow{M::Exact, "ms_key_profile_link_btn", kLinkEvents, O::ProfileLinks},
        OwnershipRow{M::Exact, "mp_deng_profile_link_check", kLinkEvents, O::ProfileLinks},
        OwnershipRow{M::Exact, "mp_deng_profile_link_btn", kLinkEvents, O::ProfileLinks},
        OwnershipRow{M::Contains, "_profile_link_", kLinkEvents, O::ProfileLinks},
        OwnershipRow{M::Contains, "_pro_deng_", kProfileEvents, O::Profiles},
        OwnershipRow{M::Contains, "_pro_key_", kProfileEvents, O::Profiles},
        OwnershipRow{M::Contains, "_profile_", kProfileEvents, O::Profiles},
        // macros
        OwnershipRow{M::Contains, "_macro_", kMacroEvents, O::Macros},
        OwnershipRow{M::Contains, "_Macro", kMacroEvents, O::Macros},
        OwnershipRow{M::Contains, "__macro_edit_", kMacroEvents, O::Macros},
        OwnershipRow{M::BeginsWith, "ms_mouse_", kMacroEvents, O::Macros},
        OwnershipRow{M::BeginsWith, "kb_mouse_", kMacroEvents, O::Macros},
        OwnershipRow{M::BeginsWith, "macro_label_", kMacroEvents, O::Macros},
    };
}();

}  // namespace orvane::app
