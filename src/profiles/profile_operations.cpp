// SPDX-License-Identifier: GPL-3.0-or-later
#include "profiles/profile_operations.h"

#include "device/protocol/commands.h"
#include "mouse/dpi.h"
#include "mouse/mouse_device.h"
#include "platform/pointer_settings.h"
#include "profiles/profile_names.h"

namespace orvane::profiles {

namespace fs = std::filesystem;

namespace {

/// A folder, FIFO or device where a profile file should be: said as such, not as a missing file.
constexpr std::string_view kNotAProfileFileMessage = "message_profile_not_a_file";

bool IsNotAFile(const fs::path& path) {
    std::error_code ec;
    return fs::exists(fs::symlink_status(path, ec)) && !fs::is_regular_file(fs::status(path, ec));
}

std::string_view ReadMessageOf(const ProfileBody& body) {
    return body.notRegular ? kNotAProfileFileMessage : ReadFailureMessage(body.result);
}

void RemoveFile(const std::optional<fs::path>& path) {
    std::error_code ec;
    if (path) fs::remove(*path, ec);
}

/// The file name after the last folder separator; nullopt when the path has none.
std::optional<std::string> ApplicationName(const std::string& path) {
    const auto sep = path.find_last_of("/\\");
    if (sep == std::string::npos) return std::nullopt;
    return path.substr(sep + 1);
}

/// Another entry of the list shares entry i's file (the same name without regard to case).
bool FileShared(const ProfileList& list, int i) {
    for (int j = 0; j < list.count(); ++j)
        if (j != i && SameName(list.names[size_t(j)], list.names[size_t(i)])) return true;
    return false;
}

/// A failed write as the page shows it: the busy folder by its own message, any other
/// failure by "message_text_21".
void WriteFailure(const ProfileStore& store, ProfileResult& r) {
    r.detail = store.lastWriteProblem();
    if (r.detail.find("in use by another program") != std::string::npos) r.message = kFolderBusyMessage;
    else r.writeFailed = true;
}

void ReadOnlyRefusal(const ProfileList& list, int i, ProfileResult& r) {
    r.message = kReadOnlyDuplicateMessage;
    r.detail = "\"" + list.names[size_t(i)] + "\" repeats the name of profile " +
               std::to_string(list.earlierWithName(i)) + " and shares its file: read-only";
}

/// Appends a profile whose file already exists: its name, an unlinked flag and the new
/// "count" in one write of the index. false (and the file removed) when the index cannot be
/// written, so that neither names a profile without the other.
bool AppendEntry(ProfileStore& store, ListId id, const std::string& name, const fs::path& file) {
    auto list = store.list(id);
    const int position = list.count();
    const auto& s = *ListSpecOf(id).sections;
    const auto key = std::to_string(position);
    const bool ok = store.editIndex(id, [&](platform::ini::Document& doc) {
        return doc.set(s.names, key, name) && doc.set(s.linked, key, "0") &&
               doc.set(s.count, kCountKey, std::to_string(position + 1));
    });
    if (!ok) {
        RemoveFile(file);
        return false;
    }
    list.names.push_back(name);
    store.setList(id, std::move(list));
    return true;
}

}  // namespace

bool ProfileOperations::listChangedElsewhere(ListId id, ProfileResult& r) {
    if (!store_.refreshList(id)) return false;
    r.listChanged = true;
    r.message = kListChangedMessage;
    r.detail = "the list was changed by another program and has been reloaded";
    return true;
}

ProfileResult ProfileOperations::selectProfile(ListId id, int n, SelectionRecord record) {
    ProfileResult r;
    {
        auto guard = store_.lock();
        if (listChangedElsewhere(id, r)) return r;
        auto list = store_.list(id);
        if (n < 0 || n >= list.count()) return r;
        list.selection = n;
        r.selected = n;
        r.selectedName = list.names[size_t(n)];
        store_.setList(id, std::move(list));
        // A key list's selection is recorded after the device took its key page (below).
        const bool recordNow = record == SelectionRecord::Recorded && !sendsKeyBank(id);
        if (recordNow && !store_.writeSelection(id, n)) WriteFailure(store_, r);
        const LinkEntry link = store_.link(id, n);
        if (link.linked()) {
            const auto application = ApplicationName(link.process);
            if (!application) {  // a link without a usable path: selected, not loaded
                r.detail = "linked to \"" + link.process + "\", which names no folder: selected but not loaded";
                return r;
            }
            r.link = {true, *application};
        }
        if (!store_.profilePath(id, r.selectedName)) {
            r.message = kInvalidNameMessage;
            r.detail = "the name \"" + r.selectedName + "\" " + ProfileNameProblem(r.selectedName);
            return r;
        }
        r.loaded = store_.loadProfile(id, n);
        if (r.detail.empty()) r.detail = store_.lastReadNote();
        if (r.loaded == ReadResult::Missing && IsNotAFile(*store_.profilePath(id, r.selectedName)))
            r.message = kNotAProfileFileMessage;
    }
    if (r.loaded == ReadResult::Read) applyLoaded(id, r, false);
    if (record == SelectionRecord::Recorded && sendsKeyBank(id)) recordSentSelection(id, n, r);
    return r;
}

bool ProfileOperations::sendsKeyBank(ListId id) const {
    const auto& models = store_.models();
    return (id == ListId::KeyboardKeys && devices_.keyboard && models.keyboard) ||
           (id == ListId::MouseKeys && devices_.mouse && models.mouse);
}

void ProfileOperations::recordSentSelection(ListId id, int n, ProfileResult& r) {
    if (r.bankWrite && *r.bankWrite != protocol::kOk) {
        // The profile is loaded and shown, the device keeps what it had, and the next start
        // selects the recorded entry again: the user retries by selecting it once more.
        r.message = kDeviceRefusedMessage;
        r.deviceRefused = true;
        r.detail = "the device refused its key page (" + std::string(protocol::ResultText(*r.bankWrite)) +
                   "): loaded here but not on the device, and not recorded as selected";
        return;
    }
    // Taken, or nothing sent (not loaded, linked without a folder): recorded as before.
    auto guard = store_.lock();
    if (!store_.writeSelection(id, n)) WriteFailure(store_, r);
}

std::optional<int32_t> ProfileOperations::writeKeyBank(ListId id) {
    const auto& models = store_.models();
    if (id == ListId::KeyboardKeys && devices_.keyboard && models.keyboard) {
        const auto bank = models.keyboard->read([](const keyboard::KeyboardData& d) { return d.banks[0]; });
        return protocol::WriteBank(*devices_.keyboard, 0, bank.span());
    }
    if (id == ListId::MouseKeys && devices_.mouse && models.mouse) {
        const auto page = models.mouse->read([](const mouse::MouseData& d) { return d.block.pages[0]; });
        return mouse::WriteMouseKeyPage(*devices_.mouse, 0, page);
    }
    return std::nullopt;
}

void ProfileOperations::applyLoaded(ListId id, ProfileResult& r, bool reset) {
    const auto& models = store_.models();
    switch (id) {
    case ListId::KeyboardLighting: r.page = PageAction::RefreshKeyboardLighting; break;
    case ListId::KeyboardKeys:
        r.hideFunctionTab = true;
        r.page = reset ? PageAction::RefreshKeyboardLighting : PageAction::RenderKeyLabels;
        r.bankWrite = writeKeyBank(id);
        break;
    case ListId::MouseLighting:
        if (!reset && devices_.pointer && models.mouse)
            devices_.pointer->setWheelLines(models.mouse->read([](const mouse::MouseData& d) { return d.wheelLines; }));
        r.page = PageAction::RefreshMousePage;
        if (models.mouse) models.mouse->stateDirty = true;
        break;
    case ListId::MouseKeys:
        r.hideFunctionTab = !reset;
        r.page = reset ? PageAction::RefreshMousePage : PageAction::RefreshButtonLabels;
        r.bankWrite = writeKeyBank(id);
        break;
    case ListId::PadLighting:
        r.page = PageAction::RefreshPadPage;
        if (models.pad) models.pad->stateDirty = true;
        break;
    }
}

ProfileResult ProfileOperations::addProfile(ListId id) {
    return appendCopyOf(id, [&](const ProfileList& list) -> std::optional<AppendPlan> {
        return AppendPlan{NextNewProfileName(list.names), store_.defaultPath(id)};
    });
}

ProfileResult ProfileOperations::appendCopyOf(
    ListId id, const std::function<std::optional<AppendPlan>(const ProfileList&)>& plan) {
    ProfileResult r;
    int position = 0;
    {
        auto guard = store_.lock();
        if (listChangedElsewhere(id, r)) return r;
        const auto list = store_.list(id);
        const auto chosen = plan(list);
        if (!chosen) return r;
        const std::string& name = chosen->name;
        const auto& source = chosen->source;
        const auto path = store_.profilePath(id, name);
        if (!path) {
            r.message = kInvalidNameMessage;
            r.detail = "the name \"" + name + "\" " + ProfileNameProblem(name);
            return r;
        }
        const auto body = source ? store_.readBody(id, *source) : ProfileBody{};
        if (!body.ok()) {
            r.message = ReadMessageOf(body);
            return r;
        }
        if (!store_.writeBody(id, *path, body.bytes) || !AppendEntry(store_, id, name, *path)) {
            WriteFailure(store_, r);
            return r;
        }
        if (id == ListId::KeyboardLighting) LoadBody(id, body.bytes, store_.models());
        position = list.count();
    }
    r = selectProfile(id, position);
    r.listChanged = true;
    return r;
}

ProfileOperations::DeleteQuestion ProfileOperations::deleteQuestion(ListId id) const {
    const auto list = store_.list(id);
    if (!list.hasSelection()) return {};
    if (list.count() == 1) return {kLastProfileMessage, {}};
    return {{}, kConfirmDeleteMessage};
}

ProfileResult ProfileOperations::deleteProfile(ListId id, const Confirm& confirm) {
    ProfileResult r;
    const auto before = store_.list(id);
    if (!before.hasSelection()) return r;
    if (before.count() == 1) {
        r.message = kLastProfileMessage;
        return r;
    }
    if (!confirm || !confirm(kConfirmDeleteMessage)) return r;

    int next = 0;
    {
        auto guard = store_.lock();
        if (listChangedElsewhere(id, r)) return r;
        auto list = store_.list(id);  // as it is now, after the question
        if (!list.hasSelection() || list.count() < 2) return r;
        const int cur = list.selection;
        const int oldCount = list.count();
        // A file another entry shares stays: that entry owns it now.
        const auto file = FileShared(list, cur) ? std::nullopt : store_.profilePath(id, list.names[size_t(cur)]);
        list.names.erase(list.names.begin() + cur);
        const int count = list.count();
        // Each later profile moves down one position and takes its link with it. The old
        // last position stays in the file, above "count". One write: all of it or nothing.
        const auto& s = *ListSpecOf(id).sections;
        const bool written = store_.editIndex(id, [&](platform::ini::Document& doc) {
            for (int i = 0; i < count; ++i) {
                const auto key = std::to_string(i);
                const auto next = std::to_string(i + 1);
                if (!doc.set(s.names, key, list.names[size_t(i)])) return false;
                if (i < cur) continue;
                const auto flag = doc.get(s.linked, next, kMaxIndexValue).value_or("0");
                const auto process = doc.get(s.process, next, kMaxIndexValue).value_or("0");
                if (!doc.set(s.linked, key, flag) || !doc.set(s.process, key, process)) return false;
            }
            return doc.set(s.count, kCountKey, std::to_string(count));
        });
        if (!written) {
            WriteFailure(store_, r);
            return r;
        }
        RemoveFile(file);
        list.selection = -1;
        store_.setList(id, std::move(list));
        next = (cur + 1 == oldCount) ? count - 1 : cur;
    }
    r = selectProfile(id, next);
    r.listChanged = true;
    return r;
}

ProfileResult ProfileOperations::copyProfile(ListId id) {
    return appendCopyOf(id, [&](const ProfileList& list) -> std::optional<AppendPlan> {
        if (!list.hasSelection()) return std::nullopt;
        const std::string& source = list.names[size_t(list.selection)];
        return AppendPlan{CopyName(list.names, source), store_.profilePath(id, source)};
    });
}

ProfileResult ProfileOperations::renameProfile(ListId id, std::string_view newName) {
    ProfileResult r;
    if (newName.empty()) {
        r.message = kEmptyNameMessage;
        return r;
    }
    auto guard = store_.lock();
    if (listChangedElsewhere(id, r)) return r;
    auto list = store_.list(id);
    if (!list.hasSelection()) return r;
    if (ContainsName(list.names, newName)) {
        r.message = kDuplicateNameMessage;
        return r;
    }
    const int cur = list.selection;
    if (list.readOnly(cur)) {
        ReadOnlyRefusal(list, cur, r);
        return r;
    }
    const auto newPath = store_.profilePath(id, newName);
    if (!newPath) {
        r.message = kInvalidNameMessage;
        r.detail = "the name \"" + std::string(newName) + "\" " + ProfileNameProblem(newName);
        return r;
    }
    const auto oldPath = store_.profilePath(id, list.names[size_t(cur)]);
    const auto body = oldPath ? store_.readBody(id, *oldPath) : ProfileBody{};
    if (!body.ok()) {
        r.message = ReadMessageOf(body);
        return r;
    }
    if (!store_.writeBody(id, *newPath, body.bytes)) {
        WriteFailure(store_, r);
        return r;
    }
    if (!store_.writeEntry(id, cur, newName, false) || !store_.writeCount(id, list.count())) {
        RemoveFile(newPath);
        WriteFailure(store_, r);
        return r;
    }
    if (!FileShared(list, cur)) RemoveFile(oldPath);
    list.names[size_t(cur)] = std::string(newName);
    store_.setList(id, std::move(list));
    // Neither reloaded nor sent; the link entries stay where they are.
    r.listChanged = true;
    r.selectedName = std::string(newName);
    return r;
}

ProfileResult ProfileOperations::importProfile(ListId id, const fs::path& source) {
    ProfileResult r;
    int selection = -1;
    {
        auto guard = store_.lock();
        if (listChangedElsewhere(id, r)) return r;
        const auto list = store_.list(id);
        if (!list.hasSelection()) return r;
        selection = list.selection;
        const auto copied = ImportIntoProfile(store_, id, selection, source);
        if (!copied.message().empty()) {
            r.message = copied.message();
            r.detail = copied.detail;
            return r;
        }
        if (!copied.written) {
            WriteFailure(store_, r);
            return r;
        }
    }
    return selectProfile(id, selection);
}

ProfileResult ProfileOperations::exportProfile(ListId id, const fs::path& target) {
    ProfileResult r;
    const auto list = store_.list(id);
    if (!list.hasSelection()) return r;
    const auto copied = ExportProfileFile(store_, id, list.selection, target);
    r.message = copied.message();
    r.detail = copied.detail;
    r.writeFailed = r.message.empty() && copied.read == ReadResult::Read && !copied.written;
    return r;
}

ProfileResult ProfileOperations::resetProfile(ListId id) {
    ProfileResult r;
    {
        auto guard = store_.lock();
        const auto list = store_.list(id);
        if (list.hasSelection() && list.readOnly(list.selection)) {
            ReadOnlyRefusal(list, list.selection, r);
            return r;
        }
        const auto body = store_.readBody(id, store_.defaultPath(id));
        if (!body.ok()) {
            r.message = ReadMessageOf(body);
            return r;
        }
        ResetBody(id, body.bytes, store_.models());
        // Saved first: the mouse profile keeps the pointer speed and wheel lines it had.
        if (!store_.saveSelected(id)) WriteFailure(store_, r);
    }
    r.loaded = ReadResult::Read;
    auto* mouse = store_.models().mouse;
    if (id == ListId::MouseLighting && mouse) {
        mouse->update([](mouse::MouseData& d) {
            d.pointerSpeed = mouse::kDefaultPointerSpeed;
            d.wheelLines = mouse::kDefaultWheelLines;
        });
        if (devices_.pointer) {
            devices_.pointer->setPointerSpeed(mouse::kDefaultPointerSpeed);
            devices_.pointer->setWheelLines(mouse::kDefaultWheelLines);
        }
    }
    applyLoaded(id, r, true);
    return r;
}

}  // namespace orvane::profiles
