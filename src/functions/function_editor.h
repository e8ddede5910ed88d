// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The key and button editor shared by the keyboard's key page and the mouse's button page,
// as pure functions over an editor state. The pages keep one EditorState each, mirror their
// controls in it, call these functions and show what they return; the device-specific
// parts (which key, which bank or page) are in keyboard/key_editor.h and
// mouse/button_editor.h.
//
// Both pages name their category controls alike: prefix ("kb_key" or "ms_key") followed by
// "_fct_combo_N" or "_fct_edit_N"; kEditorCombos and kEditorEdits bind those names to the
// state's fields.

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "functions/function_code.h"

namespace orvane::functions {

enum class Category : uint8_t {
    Default,        ///< the key's own (native or factory) code
    MouseButton,
    HorizontalSwing,
    VerticalSwing,
    DpiAction,
    FireKey,
    KeyboardKey,    ///< a key captured from the real keyboard
    Media,
    System,
    Macro,          ///< types 0x70 and 0x71
    CursorSequence,
};

/// One item of a page's category combo and its text id.
struct CategoryItem {
    Category category;
    std::string_view textId;
};

/// "kb_key_fct_combo": item n shows the panel "kb_tab_function_" + n.
inline constexpr std::array<CategoryItem, 10> kKeyboardCategories{{
    {Category::Default, "key_category_default"},  {Category::KeyboardKey, "key_category_keyboard"},
    {Category::MouseButton, "key_category_mouse"}, {Category::HorizontalSwing, "key_category_hscroll"},
    {Category::VerticalSwing, "key_category_vscroll"}, {Category::DpiAction, "key_category_dpi"},
    {Category::FireKey, "key_category_fire"},      {Category::Media, "key_category_media"},
    {Category::System, "key_category_system"},     {Category::Macro, "key_category_macro"},
}};
/// "ms_key_fct_combo": item n shows the panel "ms_tab_function_" + n.
inline constexpr std::array<CategoryItem, 11> kMouseCategories{{
    {Category::Default, "key_category_default"},  {Category::MouseButton, "key_category_mouse"},
    {Category::HorizontalSwing, "key_category_hscroll"}, {Category::VerticalSwing, "key_category_vscroll"},
    {Category::DpiAction, "key_category_dpi"},     {Category::FireKey, "key_category_fire"},
    {Category::KeyboardKey, "key_category_keyboard"}, {Category::Media, "key_category_media"},
    {Category::System, "key_category_system"},     {Category::Macro, "key_category_macro"},
    {Category::CursorSequence, "key_category_cursor"},
}};
using Categories = std::span<const CategoryItem>;

std::optional<int> ItemOfCategory(Categories categories, Category category);

/// Items of the play-mode combo ("_fct_combo_24"): modes 0-3, then the repeat count, which
/// shows the panel "kb_tab_function_26" / "ms_tab_function_26" with "_fct_edit_25".
inline constexpr std::array<std::string_view, 5> kPlayModeItems{
    "macro_play_mode_1", "macro_play_mode_2", "macro_play_mode_3", "macro_play_mode_4", "macro_play_repeat"};
inline constexpr int kRepeatPlayMode = 4;

/// The values of the category panels' controls. A combo holds its selected item (-1: none),
/// an edit its number.
struct EditorControls {
    int mouseButton = -1;          ///< "_fct_combo_11": MouseButtonList
    int horizontalDirection = -1;  ///< "_fct_combo_12": 0 left, 1 right
    int verticalDirection = -1;    ///< "_fct_combo_13": 0 up, 1 down
    int dpiAction = -1;            ///< "_fct_combo_14": DpiActionList
    int media = -1;                ///< "_fct_combo_21": MediaList
    int system = -1;               ///< "_fct_combo_22": SystemList
    int macro = -1;                ///< "_fct_combo_23": the device's macros in index order
    int playMode = -1;             ///< "_fct_combo_24": kPlayModeItems
    int cursorSequence = -1;       ///< "_fct_combo_25": "GUN_1" ... "GUN_4"
    int fireFirst = 0;             ///< "_fct_edit_11"
    int fireSecond = 0;            ///< "_fct_edit_12"
    int horizontalAmount = 0;      ///< "_fct_edit_15"
    int verticalAmount = 0;        ///< "_fct_edit_16"
    int horizontalHigh = 0;        ///< "_fct_edit_17"
    int verticalHigh = 0;          ///< "_fct_edit_18"
    int verticalLow = 0;           ///< "_fct_edit_19"
    int horizontalLow = 0;         ///< "_fct_edit_20"
    int repeatCount = 0;           ///< "_fct_edit_25"
    /// "_fct_edit_21" (read-only): the language key of the captured key, "" for none.
    std::string capturedKey;
    /// Modifier keys held with the captured key (bits of b1), named before it.
    uint8_t capturedModifiers = 0;
    friend bool operator==(const EditorControls&, const EditorControls&) = default;
};

struct EditorComboRow {
    std::string_view suffix;
    int EditorControls::*field;
};
inline constexpr std::array<EditorComboRow, 9> kEditorCombos{{
    {"_fct_combo_11", &EditorControls::mouseButton},   {"_fct_combo_12", &EditorControls::horizontalDirection},
    {"_fct_combo_13", &EditorControls::verticalDirection}, {"_fct_combo_14", &EditorControls::dpiAction},
    {"_fct_combo_21", &EditorControls::media},         {"_fct_combo_22", &EditorControls::system},
    {"_fct_combo_23", &EditorControls::macro},         {"_fct_combo_24", &EditorControls::playMode},
    {"_fct_combo_25", &EditorControls::cursorSequence},
}};

/// The number edits and the largest value each takes. The fire key's first parameter takes
/// a whole byte like its second: both devices store the byte as given.
struct EditorEditRow {
    std::string_view suffix;
    int EditorControls::*field;
    int limit;
};
inline constexpr std::array<EditorEditRow, 9> kEditorEdits{{
    {"_fct_edit_11", &EditorControls::fireFirst, kByteLimit},
    {"_fct_edit_12", &EditorControls::fireSecond, kByteLimit},
    {"_fct_edit_15", &EditorControls::horizontalAmount, kSwingAmountLimit},
    {"_fct_edit_16", &EditorControls::verticalAmount, kSwingAmountLimit},
    {"_fct_edit_17", &EditorControls::horizontalHigh, kNibbleLimit},
    {"_fct_edit_18", &EditorControls::verticalHigh, kNibbleLimit},
    {"_fct_edit_19", &EditorControls::verticalLow, kNibbleLimit},
    {"_fct_edit_20", &EditorControls::horizontalLow, kNibbleLimit},
    {"_fct_edit_25", &EditorControls::repeatCount, kByteLimit},
}};
inline constexpr std::string_view kCapturedKeySuffix = "_fct_edit_21";

/// An edit's text read as a decimal number (leading digits; anything else reads as 0) and
/// held to 0 ... limit. `replacement` is the text the edit must show instead when the text
/// was out of range.
struct EditValue {
    int value = 0;
    std::optional<std::string> replacement;
};
EditValue ReadEdit(std::string_view text, int limit);

/// What the editor holds: the key or button being edited, the code being built, the chosen
/// category and the controls.
struct EditorState {
    bool selected = false;  ///< a key or button is loaded; nothing is stored before
    uint16_t key = 0;       ///< device key index (keyboard) or button 0-5 (mouse)
    FunctionCode code;      ///< the code being built (a captured key's code waits here)
    Category category = Category::Default;
    EditorControls controls;
};

/// What the key capture should do after an editor step.
enum class Capture : uint8_t { Keep, Start, Stop };

/// What the page shows after an editor step. Showing a code never stores it: the page sets
/// the category item and the controls without running the category change.
struct EditorResult {
    std::string_view message;          ///< message box text id, "" for none
    bool showPanel = false;            ///< show and enable "kb_tab_function" / "ms_tab_function"
    bool hidePanel = false;
    std::optional<int> categoryItem;   ///< select this item of the category combo, show its panel
    bool controlsChanged = false;      ///< write the controls from the state
    bool stored = false;               ///< the bank or page changed: refresh the labels
    Capture capture = Capture::Keep;
};

/// Loads a key's code into the editor: the category it belongs to (Default when it equals
/// the key's own code) and the controls that show it. A type the page's categories do not
/// show leaves the category and the controls as they were.
EditorResult ShowInEditor(EditorState& state, uint16_t key, FunctionCode current, FunctionCode own,
                          Categories categories, int macroCount);

/// The user picked a category item; the caller stores the built code next (StoreCode).
/// false when the item is not one of the page's.
bool ChooseCategory(EditorState& state, Categories categories, int item, EditorResult& result);

/// The code the controls build for the chosen category, or nullopt when nothing is to be
/// stored (no list item, no macro, no captured key).
std::optional<FunctionCode> BuildCode(const EditorState& state, FunctionCode own, int macroCount);

/// A key pressed on the real keyboard while capturing: the code of that Linux key code
/// (functions/capture_keys.h), with the modifier keys held down with it in b1, goes into
/// the state. false (nothing changed) for keys no capturable usage gives and for media and
/// system keys, which cannot be captured.
bool TakeCapturedKey(EditorState& state, uint16_t linuxKey, uint8_t heldModifiers = 0);

/// The text a key or button shows for its code. A language key, or a macro name as it is.
struct FunctionName {
    std::string text;
    bool isTextId = true;
    uint8_t modifiers = 0;  ///< a keyboard key's modifiers (bits of b1), named before `text`
    friend bool operator==(const FunctionName&, const FunctionName&) = default;
};
/// Shown for code types the program does not know.
inline constexpr std::string_view kUnknownFunctionName = "关闭";
inline constexpr std::string_view kKeySetTextId = "Key_Set";
/// The name of a code; nullopt leaves the label as it is (no matching list entry, a macro
/// index past the list, and the types 0x15, 0x50, 0x60, 0xA0, 0xB0, 0xC0).
std::optional<FunctionName> FunctionLabel(FunctionCode code, std::span<const std::string> macroNames);

/// The text a name shows: its modifiers' names, then its own, joined by "+"; text ids go
/// through `translate` ("Left Ctrl+Left Shift+F").
std::string ShownName(const FunctionName& name, const std::function<std::string(std::string_view)>& translate);

}  // namespace orvane::functions
