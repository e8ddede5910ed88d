// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The operations of the profile panels: select, add, delete, copy, rename, import, export
// and reset. Each does the file, index, list and device work and returns what the page has
// to show; the controls, dialogs and page refreshes are the page's.
//
// Every operation leaves the list and the index naming the same profiles, and no list or
// index entry without its file: a default or source file is read, and the new file written,
// before the list or the index change.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "device/protocol/connection.h"
#include "profiles/profile_store.h"

namespace orvane::platform {
class PointerSettings;
}

namespace orvane::profiles {

/// What the page does after an operation that loaded settings into a model.
enum class PageAction : uint8_t {
    None,
    RefreshKeyboardLighting,  ///< RefreshLightingPage: puts the lighting into effect
    RenderKeyLabels,          ///< keyboard key labels
    RefreshMousePage,
    RefreshButtonLabels,      ///< mouse button labels
    RefreshPadPage,
};

/// The link display of a selected profile ("P_K_profile_link_*").
struct LinkDisplay {
    bool linked = false;
    std::string application;  ///< the file name after the path's last separator
};

/// Whether a selection is the user's own (recorded in the index) or a watcher's (shown only).
enum class SelectionRecord { Recorded, Shown };

struct ProfileResult {
    /// A language text id to show in the message box, empty for none.
    std::string_view message;
    /// Names or order changed: re-read list() and rebuild the entries.
    bool listChanged = false;
    /// The entry this operation selected (SelectProfile ran on it); show its name in the
    /// name field and its link display.
    std::optional<int> selected;
    std::string selectedName;
    LinkDisplay link;
    /// The selected profile's file as read (Read when it was loaded).
    ReadResult loaded = ReadResult::Missing;
    PageAction page = PageAction::None;
    /// Hide and disable the page's key function panel ("kb_tab_function", "ms_tab_function").
    bool hideFunctionTab = false;
    /// The result of the key bank write (command 9), when one was sent.
    std::optional<int32_t> bankWrite;
    /// A profile file or the index could not be written ("message_text_21" to show), for a
    /// reason `message` does not already name; the list and index were left as they were
    /// (a selection is still loaded and sent, only its record in the index is missing).
    bool writeFailed = false;
    /// The device refused the key page of the selected profile: it is loaded and shown, the
    /// device keeps what it had, and the selection was not recorded ("message_key_page_refused").
    bool deviceRefused = false;
    /// One line for the tool's output and the log: why nothing was loaded or written, or
    /// what a short file was filled with. Empty when there is nothing to add.
    std::string detail;
};

/// The device side of the operations; a missing connection sends nothing, a missing pointer
/// settings object applies nothing to the desktop.
struct ProfileDevices {
    protocol::DeviceConnection* keyboard = nullptr;
    protocol::DeviceConnection* mouse = nullptr;
    platform::PointerSettings* pointer = nullptr;
};

/// Asked before a delete with the confirmation text id; true when the user confirms.
using Confirm = std::function<bool(std::string_view messageId)>;

class ProfileOperations {
public:
    ProfileOperations(ProfileStore& store, ProfileDevices devices) : store_(store), devices_(devices) {}

    /// Selects entry n, records it as "select", loads the profile and sends it (key banks
    /// with command 9; mouse and pad lighting through their dirty flags). A linked profile
    /// whose stored application path has no folder part is selected but not loaded.
    /// `record`: the user's choice is kept as "select"; a watcher's switch only shows it.
    ProfileResult selectProfile(ListId id, int n, SelectionRecord record = SelectionRecord::Recorded);
    ProfileResult addProfile(ListId id);
    ProfileResult deleteProfile(ListId id, const Confirm& confirm);
    /// What a delete would ask before it runs, so that the question can be put on the
    /// window's thread and the delete itself run elsewhere: nothing to delete (empty), a
    /// refusal to show (`refusal`), or the confirmation to ask (`question`).
    struct DeleteQuestion {
        std::string_view refusal;
        std::string_view question;
    };
    DeleteQuestion deleteQuestion(ListId id) const;
    ProfileResult copyProfile(ListId id);
    ProfileResult renameProfile(ListId id, std::string_view newName);
    /// `source` is the file the user chose; imported into the selected profile, which is
    /// then selected again so that it is loaded and sent.
    ProfileResult importProfile(ListId id, const std::filesystem::path& source);
    ProfileResult exportProfile(ListId id, const std::filesystem::path& target);
    ProfileResult resetProfile(ListId id);

    ProfileStore& store() { return store_; }

private:
    /// Under the store's lock, before a change: true (the list reloaded and the result
    /// saying so) when another program changed the list's names since they were read.
    bool listChangedElsewhere(ListId id, ProfileResult& r);
    /// Sends what a load or reset put into the models; the store's lock is not held.
    void applyLoaded(ListId id, ProfileResult& result, bool reset);
    std::optional<int32_t> writeKeyBank(ListId id);
    bool sendsKeyBank(ListId id) const;
    /// Records a key list's selection once its page went to the device; says so when it was refused.
    void recordSentSelection(ListId id, int n, ProfileResult& r);
    /// Add and copy: the new profile's name and the file its body comes from, decided from
    /// the list as it is under the store's lock (nullopt: nothing to do).
    struct AppendPlan {
        std::string name;
        std::optional<std::filesystem::path> source;
    };
    /// Reads the source body, writes it as the new profile at the end of the list (file
    /// first, then the index), then selects it with the store's lock released. Nothing is
    /// changed when the source cannot be read or the name cannot be a file.
    ProfileResult appendCopyOf(ListId id,
                               const std::function<std::optional<AppendPlan>(const ProfileList&)>& plan);

    ProfileStore& store_;
    ProfileDevices devices_;
};

/// The file side of import and export at any position (also for scripts): the body of
/// `source` with the list's body size into the profile's file, or the profile's stored file
/// out to `target` with the list's device kind in its header. An export writes only a
/// regular file (a link is followed to one) or a new file in an existing folder; an import
/// never writes into a read-only duplicate entry.
struct FileCopyResult {
    ReadResult read = ReadResult::Missing;
    bool written = false;
    /// A message id when the copy was refused before anything was read or written.
    std::string_view refused;
    /// Why reading or writing failed, or what a short source was filled with.
    std::string detail;
    std::string_view message() const;
};
FileCopyResult ImportIntoProfile(ProfileStore& store, ListId id, int position, const std::filesystem::path& source);
FileCopyResult ExportProfileFile(ProfileStore& store, ListId id, int position, const std::filesystem::path& target);

/// The message for a failed read: "message_text_8" (missing) or "message_text_9" (magic).
std::string_view ReadFailureMessage(ReadResult r);

}  // namespace orvane::profiles
