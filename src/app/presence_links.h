#pragma once
// What the presence monitors keep for the rest of the program (the run-time flags) and the
// seams through which they reach parts built elsewhere: the profile store, the keyboard
// lighting page, the mouse's cursor sequences and the settings window. An empty function
// is skipped, so each seam works before its part exists.

#include <atomic>
#include <cstdint>
#include <functional>

#include "profiles/profile_hooks.h"

namespace orvane::app {

/// The flags the monitors maintain. The single-colour keyboard flag is the keyboard model's
/// variant and the alternative mouse model flag the mouse model's; these are the others.
struct RuntimeFlags {
    enum KeyboardKind : int { NoKeyboard = 0, RgbKeyboard = 1, SingleColourKeyboard = 2 };
    std::atomic<int> keyboardKind{NoKeyboard};
    std::atomic<uint16_t> keyboardVersion{0};  ///< HID version number of the keyboard's interface
    std::atomic<bool> mousePresent{false};
};

/// A profile list whose stored selection a connect selects again: the index file, the
/// section whose "select" key holds the entry's index, and the list control.
struct StoredProfileList {
    const char* indexFile;
    const char* section;
    const char* list;
};
inline constexpr StoredProfileList kKeyboardLightingList{"kbProfile.ini", "PROFILEDENGSELECT", "kb_deng_profile_combo"};
inline constexpr StoredProfileList kKeyboardKeyList{"kbProfile.ini", "PROFILESELECT", "kb_key_profile_combo"};
inline constexpr StoredProfileList kMouseLightingList{"msProfile.ini", "PROFILEDENGSELECT", "ms_deng_profile_combo"};
inline constexpr StoredProfileList kMouseKeyList{"msProfile.ini", "PROFILESELECT", "ms_key_profile_combo"};
inline constexpr StoredProfileList kPadLightingList{"mpProfile.ini", "PROFILEDENGSELECT", "mp_deng_profile_combo"};

/// Window messages to the settings window, sent only while it exists.
enum SettingsMessage : int {
    kRgbKeyboardConnected = 3409,
    kRgbKeyboardGone = 3410,
    kSingleColourKeyboardConnected = 3411,
    kSingleColourKeyboardGone = 3412,
    kMouseConnected = 3413,
    kMouseGone = 3414,
};

struct PresenceLinks {
    /// Where a read-back or a page edit saves the device's selected profiles.
    profiles::ProfileHooks keyboardProfiles;
    profiles::ProfileHooks mouseProfiles;
    profiles::ProfileHooks padProfiles;
    /// Mouse connect, on the monitor's thread with the mouse locked, before the read-back:
    /// loads the lighting profile selected in "msProfile.ini" into the mouse model (state,
    /// pointer speed, wheel lines). Without it the mouse's own stored slots are shown.
    std::function<void()> loadMouseLightingProfile;
    /// On the UI thread: selects the stored entry of a profile list.
    std::function<void(const StoredProfileList&)> selectStoredProfile;
    /// On the UI thread: the keyboard lighting page shows the keyboard's lighting record.
    std::function<void()> refreshKeyboardLighting;
    /// On the mouse monitor's thread, after the mouse page is shown: reads the cursor
    /// sequences from the mouse.
    std::function<void()> readMouseCursorSequences;
    /// On the UI thread: a message to the settings window; a no-op while it does not exist.
    std::function<void(SettingsMessage)> settingsWindowMessage;
};

}  // namespace orvane::app
