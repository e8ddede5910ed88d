// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The five profile lists as data: which device folder and index file each lives in, its
// index sections, file extension, body size, device kind and default files. Every routine of
// the store and the operations works from this one table.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "device/models.h"

namespace orvane::profiles {

enum class ListId : uint8_t { KeyboardLighting, KeyboardKeys, MouseLighting, MouseKeys, PadLighting };

/// The index sections of one list (lighting or key set).
struct IndexSections {
    std::string_view count;    ///< key "count"
    std::string_view names;    ///< keys "0", "1", ...
    std::string_view linked;   ///< "1" linked to an application, "0" not
    std::string_view process;  ///< the linked application's path
    std::string_view select;   ///< key "select"
};

inline constexpr IndexSections kLightingSections{"PROFILEDENGCOUNT", "PROFILEDENGNAME", "PROFILELIKEDENGEXE",
                                                 "DENGPROCESS", "PROFILEDENGSELECT"};
inline constexpr IndexSections kKeySections{"PROFILECOUNT", "PROFILENAME", "PROFILELIKEEXE", "PROCESS",
                                            "PROFILESELECT"};
inline constexpr std::string_view kCountKey = "count";
inline constexpr std::string_view kSelectKey = "select";

/// File dialog settings of a list's import and export.
struct DialogSpec {
    std::string_view defaultExtension;
    std::string_view initialName;
    std::string_view filter;
};

struct ListSpec {
    ListId id;
    device::DeviceKind kind;
    std::string_view folder;       ///< device folder inside the data folder
    std::string_view indexFile;
    std::string_view controlWord;  ///< "kb_deng", "ms_key", ... (control names P_K_...)
    bool lighting;
    const IndexSections* sections;
    std::string_view extension;    ///< ".pro" or ".led"
    size_t bodySize;
    /// Only this many bytes of the default are taken over by a reset (the slot bytes a
    /// device exchanges); the body size where the whole body is taken.
    size_t resetBytes;
    DialogSpec importDialog;
    DialogSpec exportDialog;
};

inline constexpr DialogSpec kProDialog{"pro", "*.pro", "(*.pro) | *.pro |(*.*)|*.*||"};
inline constexpr DialogSpec kLedDialog{"led", "*.led", "(*.led) | *.led |(*.*)|*.*||"};
inline constexpr DialogSpec kLedShortDialog{"led", "*.led", "(*.led) | *.led ||"};

inline constexpr size_t kKeyBodySize = 512;
inline constexpr size_t kKeyboardLightingBodySize = 1958;
inline constexpr size_t kSlotBodySize = 64;
inline constexpr size_t kSlotExchangeBytes = 56;

using device::DeviceKind;

inline constexpr std::array<ListSpec, 5> kLists{{
    {ListId::KeyboardLighting, DeviceKind::Keyboard, "kb", "kbProfile.ini", "kb_deng", true, &kLightingSections,
     ".led", kKeyboardLightingBodySize, kKeyboardLightingBodySize, kLedDialog, kLedShortDialog},
    {ListId::KeyboardKeys, DeviceKind::Keyboard, "kb", "kbProfile.ini", "kb_key", false, &kKeySections,
     ".pro", kKeyBodySize, kKeyBodySize, kProDialog, kProDialog},
    {ListId::MouseLighting, DeviceKind::Mouse, "ms", "msProfile.ini", "ms_deng", true, &kLightingSections,
     ".led", kSlotBodySize, kSlotExchangeBytes, kLedDialog, kLedDialog},
    {ListId::MouseKeys, DeviceKind::Mouse, "ms", "msProfile.ini", "ms_key", false, &kKeySections,
     ".pro", kKeyBodySize, kKeyBodySize, kProDialog, kProDialog},
    {ListId::PadLighting, DeviceKind::Mousepad, "mp", "mpProfile.ini", "mp_deng", true, &kLightingSections,
     ".led", kSlotBodySize, kSlotExchangeBytes, kLedDialog, kLedDialog},
}};

// Macros and cursor sequences sit in the same device folders.
static_assert([] {
    for (const auto& s : kLists)
        if (s.folder != device::DataFolderOf(s.kind)) return false;
    return true;
}());

constexpr const ListSpec& ListSpecOf(ListId id) { return kLists[static_cast<size_t>(id)]; }

/// The shipped default file of the list for that device model (add, reset, first run).
constexpr std::string_view DefaultFileOf(ListId id, device::DeviceModel model) {
    const auto& row = device::RowOf(model);
    return ListSpecOf(id).lighting ? row.defaultLightingProfile : row.defaultKeyProfile;
}

inline constexpr std::array<ListId, 2> kKeyboardLists{ListId::KeyboardLighting, ListId::KeyboardKeys};
inline constexpr std::array<ListId, 2> kMouseLists{ListId::MouseLighting, ListId::MouseKeys};
inline constexpr std::array<ListId, 1> kPadLists{ListId::PadLighting};

/// The lists of a device, lighting first (the order start-up fills and connect selects them).
constexpr std::span<const ListId> ListsOf(DeviceKind kind) {
    switch (kind) {
    case DeviceKind::Keyboard: return kKeyboardLists;
    case DeviceKind::Mouse: return kMouseLists;
    case DeviceKind::Mousepad: return kPadLists;
    }
    return {};
}

/// The list a device and set name in tools and logs stand for: "led" or "key".
constexpr const ListSpec* FindList(DeviceKind kind, bool lighting) {
    for (const auto& s : kLists)
        if (s.kind == kind && s.lighting == lighting) return &s;
    return nullptr;
}

}  // namespace orvane::profiles
