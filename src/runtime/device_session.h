// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Device sessions: the one way anything changes a device or its profiles. The pages, the
// features and orvanectl all go through the session of the device they work on:
//
//  - edit(what, change): the model changes at once (under its lock, on the caller's thread,
//    so a page shows it straight away); then the device's rules: it leaves the synchronised
//    effect where the edit touches its lighting, its settings record is marked for the next
//    flush where the record holds what changed, the lighting worker renders at once,
//    settingsEdited is raised and the selected lighting profile is saved as a job of the
//    device (a burst of edits makes one save);
//  - device work (read-back, flush, slot switch, defaults, key apply) runs as a job of the
//    device's queue, and the session saves the selected profiles itself after an exchange
//    that came whole; the caller hears the result on the window's thread;
//  - profile operations and macro-set changes run as jobs too, so that a data folder held
//    by another program never stops the window.
//
// The "...Now" functions are the work itself: on a job's thread in the program, on the only
// thread in orvanectl. Everything else is called on the window's thread.

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <QObject>

#include "device/hid/hid_backend.h"
#include "device/models.h"
#include "device/onboard_slots.h"
#include "device/protocol/result.h"
#include "device/protocol/write_meter.h"
#include "functions/key_apply.h"
#include "keyboard/keyboard_model.h"
#include "lighting/animation_engine.h"
#include "macros/cursor_steps.h"
#include "macros/cursor_store.h"
#include "macros/macro_store.h"
#include "macros/macro_transfer.h"
#include "mouse/mouse_model.h"
#include "mousepad/pad_model.h"
#include "profiles/app_watchers.h"
#include "profiles/profile_links.h"
#include "profiles/profile_operations.h"
#include "runtime/device_jobs.h"

namespace orvane::runtime {

class Runtime;

/// What a device's arrival found, for the window's connect steps.
struct ArrivalReport {
    int32_t readBack = protocol::kNoReply;
    bool tooManyKeys = false;  ///< the keyboard reports more keys than its tables hold
};

/// What an edit touches; the session applies the device's rules to it.
struct Edit {
    bool lighting = false;     ///< the device's own lighting: it leaves the synchronised effect
    bool mode = false;         ///< a lighting mode was chosen: every device leaves the synchronised effect
    bool restart = false;      ///< the effect starts from its beginning (a mode, the mouse's direction)
    bool record = false;       ///< the settings record changed (DPI, report rate ...): sent at the next flush
};
inline constexpr Edit kLightingEdit{.lighting = true};
inline constexpr Edit kModeEdit{.lighting = true, .mode = true, .restart = true};
inline constexpr Edit kRecordEdit{.record = true};
/// Kept in the lighting profile only (pointer speed, wheel lines).
inline constexpr Edit kProfileOnlyEdit{};

/// How a device kind keeps its settings: the differences the sessions go by.
struct SessionRules {
    device::DeviceKind kind;
    lighting::LightingDevice light;
    bool lightingInRecord;  ///< every lighting value lives in the settings record (the pad's)
    bool modeInRecord;      ///< the lighting mode lives in the settings record (the mouse's)
    const char* name;       ///< in the names of its jobs ("pad slot")
};

template <class R>
using Done = std::function<void(JobStatus, const R&)>;

/// The key apply's outcome: the device's macros, then its keys; saved only when both went out.
struct KeyApplyOutcome {
    functions::KeyApplyResult applied;
    bool saved = false;  ///< the selected key profile was written
};

class DeviceSession {
public:
    DeviceSession(Runtime& runtime, const SessionRules& rules);
    virtual ~DeviceSession();
    DeviceSession(const DeviceSession&) = delete;
    DeviceSession& operator=(const DeviceSession&) = delete;

    device::DeviceKind kind() const { return rules_.kind; }
    const SessionRules& rules() const { return rules_; }
    bool connected() const;

    // ---- the work itself (a job's thread, or orvanectl) ---------------------------------
    /// The connect work of an interface just opened and verified, with its connection
    /// locked: the model from the product id, the read-back and the saves.
    virtual ArrivalReport arriveNow(const hid::InterfaceInfo& attributes) = 0;
    /// A full re-read; the selected profiles are saved when everything was read.
    virtual int32_t readBackNow() = 0;
    /// Sends the settings record when it is marked; nullopt when nothing was due.
    virtual std::optional<int32_t> flushNow() { return std::nullopt; }
    virtual device::SlotSwitchResult selectSlotNow(unsigned) { return {}; }
    virtual int32_t resetDefaultsNow() { return protocol::kNoReply; }
    /// Saves the selected lighting (or key) profile; a failure is told through the message
    /// event.
    bool saveNow(bool lighting);

    // ---- from the window's thread ------------------------------------------------------------
    /// Re-reads the device; its pages are shown anew (modelChanged) when it came whole.
    void readBack(Done<int32_t> done = {});
    /// The settings record goes out when an edit marked it (the window's flush tick).
    void flush();
    /// An edit marked the settings record and it has not gone out yet.
    virtual bool flushDue() const { return false; }
    /// Makes on-board slot n the active one; modelChanged when it switched.
    void selectSlot(unsigned n, Done<device::SlotSwitchResult> done = {});
    /// The device's factory reset (and what follows it: the pad is read back).
    void resetDefaults(std::function<void(JobStatus)> done = {});
    /// A profile operation (add, select, rename ... of one of the device's lists).
    void runProfile(const char* name, std::function<profiles::ProfileResult(profiles::ProfileOperations&)> operation,
                    Done<profiles::ProfileResult> done);
    /// Links profile `position` of the list to an application (nullopt: none was chosen) or
    /// unlinks it; the index is written as a job.
    void linkProfile(profiles::ListId list, int position, std::optional<std::string> application,
                     profiles::LinkSource source, Done<profiles::LinkResult> done);
    void unlinkProfile(profiles::ListId list, int position, Done<profiles::LinkResult> done);
    /// A linked application came to the front or went: the list follows it (the user's own
    /// choice stays recorded); nullopt when nothing changed.
    void applyWatcherChoice(const profiles::WatcherChoice& choice, Done<std::optional<profiles::ProfileResult>> done);
    /// Same mode: this device's lighting choice goes to the others, then all run the
    /// synchronised effect; the others' pages are shown anew and their profiles saved.
    void sameLightingMode();
    /// The lighting worker starts the mode's effect afresh before its next frame.
    void restartLighting();
    /// Saves the selected lighting profile as a job of the device (coalesced).
    void saveLightingLater();

protected:
    std::string jobName(const char* what) const;
    /// Hands a long write's percentage to the window's thread as events.progressValue.
    protocol::WriteMeter::Report progressReport();
    template <class Model, class Fn>
    void editModel(Model& model, const Edit& what, Fn&& change) {
        beforeEdit(what);
        model.update(std::forward<Fn>(change));
        afterEdit(what);
    }
    void beforeEdit(const Edit& edit);
    void afterEdit(const Edit& edit);
    virtual void markRecord() {}
    /// After the factory reset went out.
    virtual void afterReset() {}

    Runtime& rt_;
    const SessionRules& rules_;

    QObject& lifetime() { return lifetime_; }

private:
    std::atomic<bool> savePending_{false};
    QObject lifetime_;  ///< ends the timers of a session that is gone
};

/// A device with keys or buttons and a macro set: the keyboard and the mouse.
class KeyDeviceSession : public DeviceSession {
public:
    KeyDeviceSession(Runtime& runtime, const SessionRules& rules, macros::MacroSet set);
    macros::MacroSet macroSet() const { return set_; }

    /// The device's macros, then its active bank or key page; the key profile is saved
    /// when both went out.
    KeyApplyOutcome applyKeysNow(const protocol::WriteMeter::Report& progress = {});
    /// applyKeysNow as a job with the progress ring.
    void applyKeys(Done<KeyApplyOutcome> done);

    /// Whether any key of the model runs the macro.
    virtual bool macroInUse(uint8_t macro) const = 0;

    // Macro-set changes, as jobs of the device; macrosChanged follows every change that
    // was made.
    void addMacro(Done<macros::StoreResult> done);
    void saveMacro(std::string name, std::vector<std::string> lines, Done<macros::StoreResult> done);
    void renameMacro(int index, std::string name, std::vector<std::string> lines, Done<macros::StoreResult> done);
    /// Removes the macro, then renumbers the keys that run later macros (their key
    /// profile saved); the assignments change only once the macro is really gone.
    void deleteMacro(int index, Done<macros::StoreResult> done);

protected:
    /// Renumbers the model's macro assignments after macro `deleted` went; how many changed.
    virtual size_t renumberMacros(uint8_t deleted) = 0;

private:
    void changeMacros(const char* name, std::function<macros::StoreResult()> change, Done<macros::StoreResult> done);
    macros::MacroSet set_;
};

class KeyboardSession final : public KeyDeviceSession {
public:
    explicit KeyboardSession(Runtime& runtime);
    /// See DeviceSession: the model changes at once, then the device's rules.
    template <class Fn>
    void edit(const Edit& what, Fn&& change) { editModel(model(), what, std::forward<Fn>(change)); }
    keyboard::KeyboardModel& model() const;
    ArrivalReport arriveNow(const hid::InterfaceInfo& attributes) override;
    int32_t readBackNow() override;
    bool macroInUse(uint8_t macro) const override;

protected:
    size_t renumberMacros(uint8_t deleted) override;
};

class MouseSession final : public KeyDeviceSession {
public:
    explicit MouseSession(Runtime& runtime);
    /// See DeviceSession: the model changes at once, then the device's rules.
    template <class Fn>
    void edit(const Edit& what, Fn&& change) { editModel(model(), what, std::forward<Fn>(change)); }
    mouse::MouseModel& model() const;
    ArrivalReport arriveNow(const hid::InterfaceInfo& attributes) override;
    int32_t readBackNow() override;
    /// The mouse's "slot changed" notice: slot 0's record becomes the state.
    int32_t reloadSlotZeroNow();
    /// reloadSlotZeroNow as a job; modelChanged when it read the slot.
    void reloadSlotZero(Done<int32_t> done);
    std::optional<int32_t> flushNow() override;
    device::SlotSwitchResult selectSlotNow(unsigned n) override;
    int32_t resetDefaultsNow() override;
    bool flushDue() const override;
    bool macroInUse(uint8_t macro) const override;
    /// The desktop's pointer speed and wheel lines: kept in the lighting profile, applied
    /// through the desktop queue.
    void setPointerSpeed(int speed);
    void setWheelLines(int lines);
    /// Uploads the four cursor sequences (a job with the progress ring).
    void uploadCursors(Done<macros::UploadResult> done);
    void readCursors(Done<macros::CursorReadResult> done);

    // The cursor sequences' files, as jobs of the mouse (they take the data folder's lock,
    // which another program may keep for a while).
    /// Sets up the four shipped sequences where the index names none.
    void setUpCursors(Done<macros::CursorResult> done);
    void storeCursorStep(int sequence, int step, macros::StepEdit edit, Done<macros::CursorResult> done);
    void resetCursorSequence(int sequence, Done<macros::CursorResult> done);
    void importCursorSequence(int sequence, std::filesystem::path from, Done<macros::CursorResult> done);
    void exportCursorSequence(int sequence, std::filesystem::path to, bool replace, Done<macros::CursorResult> done);

protected:
    void markRecord() override;
    size_t renumberMacros(uint8_t deleted) override;

private:
    void changeCursors(const char* name, std::function<macros::CursorResult()> change,
                       Done<macros::CursorResult> done);
};

class PadSession final : public DeviceSession {
public:
    explicit PadSession(Runtime& runtime);
    /// See DeviceSession: the model changes at once, then the device's rules.
    template <class Fn>
    void edit(const Edit& what, Fn&& change) { editModel(model(), what, std::forward<Fn>(change)); }
    mousepad::PadModel& model() const;
    ArrivalReport arriveNow(const hid::InterfaceInfo& attributes) override;
    int32_t readBackNow() override;
    std::optional<int32_t> flushNow() override;
    device::SlotSwitchResult selectSlotNow(unsigned n) override;
    int32_t resetDefaultsNow() override;
    bool flushDue() const override;

protected:
    void markRecord() override;
    void afterReset() override;
};

/// The rules of each device kind, in the order of the connections.
const SessionRules& RulesOf(device::DeviceKind kind);

}  // namespace orvane::runtime
