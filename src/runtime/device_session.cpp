// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/device_session.h"

#include <QTimer>

#include <thread>

#include "keyboard/keyboard_device.h"
#include "macros/macro_assignments.h"
#include "macros/macro_key_apply.h"
#include "mouse/dpi.h"
#include "mouse/mouse_device.h"
#include "mousepad/pad_device.h"
#include "profiles/profile_connect.h"
#include "runtime/runtime.h"
#include "runtime/ui_dispatcher.h"

namespace orvane::runtime {

using device::DeviceKind;
using lighting::LightingDevice;

namespace {

constexpr std::array<SessionRules, 3> kRules{{
    {DeviceKind::Keyboard, LightingDevice::Keyboard, false, false, "keyboard"},
    {DeviceKind::Mouse, LightingDevice::Mouse, false, true, "mouse"},
    {DeviceKind::Mousepad, LightingDevice::Pad, true, true, "pad"},
}};

}  // namespace

const SessionRules& RulesOf(DeviceKind kind) { return kRules[IndexOf(kind)]; }

// ---- DeviceSession -----------------------------------------------------------------------

DeviceSession::DeviceSession(Runtime& runtime, const SessionRules& rules) : rt_(runtime), rules_(rules) {}

DeviceSession::~DeviceSession() = default;

bool DeviceSession::connected() const { return rt_.connected(kind()); }

std::string DeviceSession::jobName(const char* what) const { return std::string(rules_.name) + ' ' + what; }

bool DeviceSession::saveNow(bool lighting) {
    auto& store = rt_.store;
    const bool saved = lighting ? store.saveSelectedLighting(kind()) : store.saveSelectedKeys(kind());
    if (saved) return true;
    const std::string message(store.lastWriteMessage());
    if (message.empty()) return false;  // nothing selected to save into
    auto tell = [&events = rt_.events, message] { events.message.emit(message); };
    if (rt_.dispatcher()) rt_.dispatcher()->post(tell);
    else tell();
    return false;
}

void DeviceSession::beforeEdit(const Edit& edit) {
    // A new mode: every device leaves the synchronised effect; the mode's effect starts from
    // its beginning (also when it is the mode already running).
    if (edit.mode) rt_.lighting.endAllSynchronised();
    if (edit.restart && edit.mode) rt_.lighting.requestReset(rules_.light);
}

void DeviceSession::afterEdit(const Edit& edit) {
    if (edit.lighting) rt_.lighting.endSynchronised(rules_.light);
    if (edit.restart && !edit.mode) rt_.lighting.requestReset(rules_.light);
    const bool inRecord = edit.record || (edit.lighting && rules_.lightingInRecord) || (edit.mode && rules_.modeInRecord);
    if (inRecord) markRecord();
    if (edit.lighting) rt_.lighting.changed();
    // An edit of a command orvanectl had the program run comes from a job's thread; the
    // event still reaches its subscribers on the window's.
    auto tell = [&events = rt_.events, kind = kind()] { events.settingsEdited.emit(kind); };
    if (rt_.dispatcher() && !rt_.dispatcher()->onUiThread()) rt_.dispatcher()->post(tell);
    else tell();
    saveLightingLater();
}

void DeviceSession::saveLightingLater() {
    if (savePending_.exchange(true)) return;
    rt_.jobs(kind()).submit({.name = "save lighting profile", .needsDevice = false}, [this] {
        savePending_ = false;  // edits from now on need a save of their own
        saveNow(true);
    });
}

void DeviceSession::restartLighting() { rt_.lighting.requestReset(rules_.light); }

void DeviceSession::readBack(Done<int32_t> done) {
    rt_.jobs(kind()).submit<int32_t>({.name = jobName("read-back")}, [this] { return readBackNow(); },
                                     [this, done = std::move(done)](JobStatus status, const int32_t& r) {
                                         if (status == JobStatus::Done && r == protocol::kOk)
                                             rt_.events.modelChanged.emit(kind());
                                         if (done) done(status, r);
                                     });
}

void DeviceSession::flush() {
    if (!flushDue()) return;
    // Sent whether or not the device is there: the mark is cleared either way.
    rt_.jobs(kind()).submit({.name = jobName("flush"), .needsDevice = false}, [this] { flushNow(); });
}

void DeviceSession::selectSlot(unsigned n, Done<device::SlotSwitchResult> done) {
    rt_.jobs(kind()).submit<device::SlotSwitchResult>(
        {.name = jobName("slot")}, [this, n] { return selectSlotNow(n); },
        [this, done = std::move(done)](JobStatus status, const device::SlotSwitchResult& r) {
            const bool switched = status == JobStatus::Done && r.outcome == device::SlotSwitch::Switched;
            if (done) done(status, r);
            if (switched) rt_.events.modelChanged.emit(kind());
        });
}

void DeviceSession::resetDefaults(std::function<void(JobStatus)> done) {
    rt_.jobs(kind()).submit({.name = jobName("restore defaults")}, [this] { resetDefaultsNow(); },
                            [this, done = std::move(done)](JobStatus status) {
                                if (done) done(status);
                                if (status == JobStatus::Done) afterReset();
                            });
}

void DeviceSession::runProfile(const char* name,
                               std::function<profiles::ProfileResult(profiles::ProfileOperations&)> operation,
                               Done<profiles::ProfileResult> done) {
    rt_.jobs(kind()).submit<profiles::ProfileResult>({.name = name, .needsDevice = false},
                                                     [this, operation = std::move(operation)] {
                                                         return operation(rt_.operations);
                                                     },
                                                     std::move(done));
}

void DeviceSession::linkProfile(profiles::ListId list, int position, std::optional<std::string> application,
                                profiles::LinkSource source, Done<profiles::LinkResult> done) {
    rt_.jobs(kind()).submit<profiles::LinkResult>(
        {.name = jobName("link profile"), .needsDevice = false},
        [this, list, position, application = std::move(application), source] {
            return profiles::LinkProfile(rt_.store, list, position, application, source);
        },
        std::move(done));
}

void DeviceSession::unlinkProfile(profiles::ListId list, int position, Done<profiles::LinkResult> done) {
    rt_.jobs(kind()).submit<profiles::LinkResult>(
        {.name = jobName("unlink profile"), .needsDevice = false},
        [this, list, position] { return profiles::UnlinkProfile(rt_.store, list, position); }, std::move(done));
}

void DeviceSession::applyWatcherChoice(const profiles::WatcherChoice& choice,
                                       Done<std::optional<profiles::ProfileResult>> done) {
    rt_.jobs(kind()).submit<std::optional<profiles::ProfileResult>>(
        {.name = jobName("linked profile selection"), .needsDevice = false},
        [this, choice] { return profiles::ApplyWatcherChoice(rt_.operations, choice); }, std::move(done));
}

protocol::WriteMeter::Report DeviceSession::progressReport() {
    Runtime* rt = &rt_;
    UiDispatcher* dispatcher = rt_.dispatcher();
    return [rt, dispatcher](int percent) {
        if (dispatcher) dispatcher->post([rt, percent] { rt->events.progressValue.emit(percent); });
        else rt->events.progressValue.emit(percent);  // jobs run on the window's thread
    };
}

void DeviceSession::sameLightingMode() {
    const auto outcome = rt_.lighting.copyForSameMode(rules_.light);
    if (!outcome.synchronised) return;  // the page offers same mode only for modes that have it
    for (LightingDevice other : outcome.others) {
        rt_.events.modelChanged.emit(KindOf(other));
        rt_.session(KindOf(other)).saveLightingLater();
    }
    rt_.lighting.startSynchronised();
}

// ---- KeyDeviceSession ---------------------------------------------------------------------

KeyDeviceSession::KeyDeviceSession(Runtime& runtime, const SessionRules& rules, macros::MacroSet set)
    : DeviceSession(runtime, rules), set_(set) {}

KeyApplyOutcome KeyDeviceSession::applyKeysNow(const protocol::WriteMeter::Report& progress) {
    KeyApplyOutcome outcome;
    outcome.applied = macros::ApplyKeysWithMacros(rt_.connection(kind()), kind(), rt_.keyboard, rt_.mouse,
                                                  rt_.macroStore, progress);
    // Only a whole apply is kept in the key profile; a failure to save is told by saveNow.
    if (outcome.applied.ok()) outcome.saved = saveNow(false);
    return outcome;
}

void KeyDeviceSession::applyKeys(Done<KeyApplyOutcome> done) {
    rt_.jobs(kind()).submit<KeyApplyOutcome>({.name = jobName("key apply"), .progress = true},
                                             [this, report = progressReport()] { return applyKeysNow(report); },
                                             std::move(done));
}

void KeyDeviceSession::changeMacros(const char* name, std::function<macros::StoreResult()> change,
                                    Done<macros::StoreResult> done) {
    rt_.jobs(kind()).submit<macros::StoreResult>(
        {.name = name, .needsDevice = false}, std::move(change),
        [this, done = std::move(done)](JobStatus status, const macros::StoreResult& r) {
            if (done) done(status, r);
            if (status == JobStatus::Done && r.ok()) rt_.events.macrosChanged.emit(kind());
        });
}

void KeyDeviceSession::addMacro(Done<macros::StoreResult> done) {
    changeMacros("add macro", [this] { return rt_.macroStore.AddMacro(set_); }, std::move(done));
}

void KeyDeviceSession::saveMacro(std::string name, std::vector<std::string> lines, Done<macros::StoreResult> done) {
    changeMacros("save macro", [this, name = std::move(name), lines = std::move(lines)] {
        return rt_.macroStore.SaveMacro(set_, name, lines);
    }, std::move(done));
}

void KeyDeviceSession::renameMacro(int index, std::string name, std::vector<std::string> lines,
                                   Done<macros::StoreResult> done) {
    changeMacros("rename macro", [this, index, name = std::move(name), lines = std::move(lines)] {
        return rt_.macroStore.RenameMacro(set_, index, name, lines);
    }, std::move(done));
}

void KeyDeviceSession::deleteMacro(int index, Done<macros::StoreResult> done) {
    changeMacros("delete macro", [this, index] {
        auto removed = rt_.macroStore.DeleteMacro(set_, index);
        // The selected key profile keeps the assignments: it follows the model.
        if (removed.ok() && renumberMacros(uint8_t(index)) > 0) saveNow(false);
        return removed;
    }, std::move(done));
}

// ---- KeyboardSession ------------------------------------------------------------------------

KeyboardSession::KeyboardSession(Runtime& runtime)
    : KeyDeviceSession(runtime, RulesOf(DeviceKind::Keyboard), macros::MacroSet::Keyboard) {}

keyboard::KeyboardModel& KeyboardSession::model() const { return rt_.keyboard; }

// The keyboard needs a moment after it was opened before it answers.
constexpr std::chrono::milliseconds kKeyboardSettleAfterOpen{100};

ArrivalReport KeyboardSession::arriveNow(const hid::InterfaceInfo& attributes) {
    std::this_thread::sleep_for(kKeyboardSettleAfterOpen);
    rt_.flags.keyboardVersion = attributes.versionNumber;
    // The model is known from the product id before anything is read, so the read-back, the
    // profile selection and the page all work with this keyboard's variant.
    rt_.keyboard.model = device::ModelAfterConnect(kind(), attributes.productId, rt_.keyboard.model);
    const auto readBack = keyboard::ReadBackKeyboard(rt_.connection(kind()), rt_.keyboard);
    if (readBack.ok()) saveNow(false);
    rt_.lighting.changed();
    return {readBack.result, readBack.tooManyKeys};
}

int32_t KeyboardSession::readBackNow() {
    const auto readBack = keyboard::ReadBackKeyboard(rt_.connection(kind()), rt_.keyboard);
    if (readBack.ok()) saveNow(false);
    rt_.lighting.changed();
    return readBack.tooManyKeys ? protocol::kNoReply : readBack.result;
}

bool KeyboardSession::macroInUse(uint8_t macro) const {
    return rt_.keyboard.read([&](const keyboard::KeyboardData& d) { return macros::MacroInUse(d.banks, macro); });
}

size_t KeyboardSession::renumberMacros(uint8_t deleted) {
    size_t changed = 0;
    rt_.keyboard.update([&](keyboard::KeyboardData& d) {
        changed = macros::RenumberMacroAssignments(d.banks, d.nativeKeys, deleted);
    });
    return changed;
}

// ---- MouseSession ------------------------------------------------------------------------------

MouseSession::MouseSession(Runtime& runtime)
    : KeyDeviceSession(runtime, RulesOf(DeviceKind::Mouse), macros::MacroSet::Mouse) {}

mouse::MouseModel& MouseSession::model() const { return rt_.mouse; }

void MouseSession::markRecord() { rt_.mouse.stateDirty = true; }

int32_t MouseSession::readBackNow() {
    const int32_t r = mouse::ReadBackMouse(rt_.connection(kind()), rt_.mouse);
    if (r == protocol::kOk) {
        saveNow(true);
        saveNow(false);
    }
    rt_.lighting.changed();
    return r;
}

int32_t MouseSession::reloadSlotZeroNow() {
    const int32_t r = mouse::ReloadMouseSlotZero(rt_.connection(kind()), rt_.mouse);
    if (r == protocol::kOk) saveNow(true);
    rt_.lighting.changed();
    return r;
}

void MouseSession::reloadSlotZero(Done<int32_t> done) {
    rt_.jobs(kind()).submit<int32_t>({.name = jobName("slot-0 reload")}, [this] { return reloadSlotZeroNow(); },
                                     [this, done = std::move(done)](JobStatus status, const int32_t& r) {
                                         if (status == JobStatus::Done && r == protocol::kOk)
                                             rt_.events.modelChanged.emit(kind());
                                         if (done) done(status, r);
                                     });
}

std::optional<int32_t> MouseSession::flushNow() {
    const auto r = mouse::FlushMouseState(rt_.connection(kind()), rt_.mouse);
    // Command 6 ended the device's synchronised lighting: its own worker takes over.
    if (r) rt_.lighting.changed();
    return r;
}

device::SlotSwitchResult MouseSession::selectSlotNow(unsigned n) {
    const auto result = mouse::SelectMouseSlot(rt_.connection(kind()), rt_.mouse, n);
    if (result.outcome == device::SlotSwitch::Switched) rt_.lighting.changed();
    return result;
}

int32_t MouseSession::resetDefaultsNow() { return mouse::ResetMouseDefaults(rt_.connection(kind()), rt_.pointer); }

bool MouseSession::flushDue() const { return rt_.mouse.stateDirty; }

ArrivalReport MouseSession::arriveNow(const hid::InterfaceInfo& attributes) {
    // First: the profile load picks the model's default lighting, the page its stages.
    rt_.mouse.model = device::ModelAfterConnect(kind(), attributes.productId, rt_.mouse.model);
    // The state shown is the selected lighting profile's; without a readable one, the state
    // the mouse keeps in its own slots.
    if (profiles::LoadRecordedMouseLighting(rt_.store) != profiles::ReadResult::Read &&
        mouse::ReadMouseSlotRecords(rt_.connection(kind()), rt_.mouse) == protocol::kOk)
        rt_.mouse.update([](mouse::MouseData& d) {
            const auto& slot0 = d.block.slots[0];
            d.pointerSpeed = uint8_t(mouse::StoredPointerSpeed(slot0.pointerSpeed()));
            d.wheelLines = uint8_t(mouse::StoredWheelLines(slot0.wheelLines()));
        });
    ArrivalReport report;
    report.readBack = readBackNow();
    return report;
}

bool MouseSession::macroInUse(uint8_t macro) const {
    return rt_.mouse.read([&](const mouse::MouseData& d) { return macros::MacroInUse(d.block.pages, macro); });
}

size_t MouseSession::renumberMacros(uint8_t deleted) {
    size_t changed = 0;
    rt_.mouse.update([&](mouse::MouseData& d) {
        changed = macros::RenumberMacroAssignments(d.block.pages, d.defaultKeys, deleted);
    });
    return changed;
}

void MouseSession::setPointerSpeed(int speed) {
    edit(kProfileOnlyEdit, [&](mouse::MouseData& d) { d.pointerSpeed = uint8_t(speed); });
    rt_.pointer.setPointerSpeed(speed);
}

void MouseSession::setWheelLines(int lines) {
    edit(kProfileOnlyEdit, [&](mouse::MouseData& d) { d.wheelLines = uint8_t(lines); });
    rt_.pointer.setWheelLines(lines);
}

void MouseSession::uploadCursors(Done<macros::UploadResult> done) {
    rt_.jobs(kind()).submit<macros::UploadResult>(
        {.name = "cursor upload", .progress = true},
        [this, report = progressReport()] {
            return macros::UploadCursorSequences(rt_.connection(kind()), rt_.macroStore, report);
        },
        std::move(done));
}

void MouseSession::readCursors(Done<macros::CursorReadResult> done) {
    rt_.jobs(kind()).submit<macros::CursorReadResult>(
        {.name = "cursor read"}, [this] { return macros::ReadCursorSequences(rt_.connection(kind()), rt_.macroStore); },
        std::move(done));
}

void MouseSession::changeCursors(const char* name, std::function<macros::CursorResult()> change,
                                 Done<macros::CursorResult> done) {
    rt_.jobs(kind()).submit<macros::CursorResult>({.name = name, .needsDevice = false}, std::move(change),
                                                  std::move(done));
}

void MouseSession::setUpCursors(Done<macros::CursorResult> done) {
    changeCursors("cursor set-up", [this] { return macros::InitCursorSequences(rt_.macroStore); }, std::move(done));
}

void MouseSession::storeCursorStep(int sequence, int step, macros::StepEdit edit, Done<macros::CursorResult> done) {
    changeCursors("cursor step", [this, sequence, step, edit] {
        return macros::StoreCursorStep(rt_.macroStore, sequence, step, edit);
    }, std::move(done));
}

void MouseSession::resetCursorSequence(int sequence, Done<macros::CursorResult> done) {
    changeCursors("cursor reset", [this, sequence] { return macros::ResetCursorSequence(rt_.macroStore, sequence); },
                  std::move(done));
}

void MouseSession::importCursorSequence(int sequence, std::filesystem::path from, Done<macros::CursorResult> done) {
    changeCursors("cursor import", [this, sequence, from = std::move(from)] {
        return macros::ImportCursorSequence(rt_.macroStore, sequence, from);
    }, std::move(done));
}

void MouseSession::exportCursorSequence(int sequence, std::filesystem::path to, bool replace,
                                        Done<macros::CursorResult> done) {
    changeCursors("cursor export", [this, sequence, to = std::move(to), replace] {
        return macros::ExportCursorSequence(rt_.macroStore, sequence, to, replace);
    }, std::move(done));
}

// ---- PadSession ----------------------------------------------------------------------------------

PadSession::PadSession(Runtime& runtime) : DeviceSession(runtime, RulesOf(DeviceKind::Mousepad)) {}

mousepad::PadModel& PadSession::model() const { return rt_.pad; }

void PadSession::markRecord() { rt_.pad.stateDirty = true; }

int32_t PadSession::readBackNow() {
    const int32_t r = mousepad::ReadBackPad(rt_.connection(kind()), rt_.pad);
    if (r == protocol::kOk) saveNow(true);
    rt_.lighting.changed();
    return r;
}

std::optional<int32_t> PadSession::flushNow() {
    const auto r = mousepad::FlushPadState(rt_.connection(kind()), rt_.pad);
    if (r) rt_.lighting.changed();
    return r;
}

device::SlotSwitchResult PadSession::selectSlotNow(unsigned n) {
    const auto result = mousepad::SelectPadSlot(rt_.connection(kind()), rt_.pad, n);
    if (result.outcome == device::SlotSwitch::Switched) rt_.lighting.changed();
    return result;
}

int32_t PadSession::resetDefaultsNow() { return mousepad::ResetPadDefaults(rt_.connection(kind())); }

bool PadSession::flushDue() const { return rt_.pad.stateDirty; }

// The pad restores its slots a moment after the reset and says nothing: it is read back then.
// (The mouse announces its restored settings itself.)
void PadSession::afterReset() {
    QTimer::singleShot(mousepad::kPadReadBackDelay, &lifetime(), [this] { readBack(); });
}

ArrivalReport PadSession::arriveNow(const hid::InterfaceInfo&) {
    ArrivalReport report;
    report.readBack = readBackNow();
    return report;
}

}  // namespace orvane::runtime
