#include "profiles/profile_operations.h"

#include "device/protocol/commands.h"
#include "mouse/dpi.h"
#include "mouse/mouse_device.h"
#include "platform/pointer_settings.h"
#include "profiles/profile_names.h"

namespace orvane::profiles {

namespace fs = std::filesystem;

std::string_view ReadFailureMessage(ReadResult r) {
    switch (r) {
    case ReadResult::Missing: return kFileMissingMessage;
    case ReadResult::BadMagic: return kBadMagicMessage;
    case ReadResult::Read: break;
    }
    return {};
}

std::string_view FileCopyResult::message() const { return ReadFailureMessage(read); }

namespace {

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

/// Appends a profile whose file already exists: its name and an unlinked flag at the new
/// last position, then "count". false (and the file removed) when the index cannot be
/// written, so that neither names a profile without the other.
bool AppendEntry(ProfileStore& store, ListId id, const std::string& name, const fs::path& file) {
    auto list = store.list(id);
    const int position = list.count();
    if (!store.writeEntry(id, position, name, true) || !store.writeCount(id, position + 1)) {
        store.writeCount(id, position);
        RemoveFile(file);
        return false;
    }
    list.names.push_back(name);
    store.setList(id, std::move(list));
    return true;
}

}  // namespace

FileCopyResult ImportIntoProfile(ProfileStore& store, ListId id, int position, const fs::path& source) {
    auto guard = store.lock();
    const auto list = store.list(id);
    if (position < 0 || position >= list.count()) return {};
    const auto body = store.readBody(id, source);
    if (!body.ok()) return {body.result, false};
    const auto path = store.profilePath(id, list.names[size_t(position)]);
    return {ReadResult::Read, path && store.writeBody(id, *path, body.bytes)};
}

FileCopyResult ExportProfileFile(ProfileStore& store, ListId id, int position, const fs::path& target) {
    auto guard = store.lock();
    const auto list = store.list(id);
    if (position < 0 || position >= list.count()) return {};
    const auto path = store.profilePath(id, list.names[size_t(position)]);
    const auto body = path ? store.readBody(id, *path) : ProfileBody{};
    if (!body.ok()) return {body.result, false};
    return {ReadResult::Read, store.writeBody(id, target, body.bytes)};
}

ProfileResult ProfileOperations::selectProfile(ListId id, int n) {
    ProfileResult r;
    {
        auto guard = store_.lock();
        auto list = store_.list(id);
        if (n < 0 || n >= list.count()) return r;
        list.selection = n;
        r.selected = n;
        r.selectedName = list.names[size_t(n)];
        store_.setList(id, std::move(list));
        store_.writeSelection(id, n);
        const LinkEntry link = store_.link(id, n);
        if (link.linked()) {
            const auto application = ApplicationName(link.process);
            if (!application) return r;  // a link without a usable path: selected, not loaded
            r.link = {true, *application};
        }
        r.loaded = store_.loadProfile(id, n);
    }
    if (r.loaded == ReadResult::Read) applyLoaded(id, r, false);
    return r;
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
        const auto list = store_.list(id);
        const auto chosen = plan(list);
        if (!chosen) return r;
        const std::string& name = chosen->name;
        const auto& source = chosen->source;
        const auto path = store_.profilePath(id, name);
        if (!path) {
            r.message = kInvalidNameMessage;
            return r;
        }
        const auto body = source ? store_.readBody(id, *source) : ProfileBody{};
        if (!body.ok()) {
            r.message = ReadFailureMessage(body.result);
            return r;
        }
        if (!store_.writeBody(id, *path, body.bytes) || !AppendEntry(store_, id, name, *path)) {
            r.writeFailed = true;
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
        auto list = store_.list(id);  // as it is now, after the question
        if (!list.hasSelection() || list.count() < 2) return r;
        const int cur = list.selection;
        const int oldCount = store_.indexCount(id);
        RemoveFile(store_.profilePath(id, list.names[size_t(cur)]));
        list.names.erase(list.names.begin() + cur);
        const int count = list.count();
        // Each later profile moves down one position and takes its link with it. The old
        // last position stays in the file, above "count".
        for (int i = 0; i < count; ++i) {
            store_.writeEntry(id, i, list.names[size_t(i)], false);
            if (i >= cur) store_.writeLink(id, i, store_.link(id, i + 1));
        }
        store_.writeCount(id, count);
        ProfileList rebuilt;
        for (int i = 0; i < count; ++i) rebuilt.names.push_back(store_.indexName(id, i));
        store_.setList(id, std::move(rebuilt));
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
    auto list = store_.list(id);
    if (!list.hasSelection()) return r;
    if (ContainsName(list.names, newName)) {
        r.message = kDuplicateNameMessage;
        return r;
    }
    const auto newPath = store_.profilePath(id, newName);
    if (!newPath) {
        r.message = kInvalidNameMessage;
        return r;
    }
    const int cur = list.selection;
    const auto oldPath = store_.profilePath(id, list.names[size_t(cur)]);
    const auto body = oldPath ? store_.readBody(id, *oldPath) : ProfileBody{};
    if (!body.ok()) {
        r.message = ReadFailureMessage(body.result);
        return r;
    }
    if (!store_.writeBody(id, *newPath, body.bytes)) {
        r.writeFailed = true;
        return r;
    }
    if (!store_.writeEntry(id, cur, newName, false) || !store_.writeCount(id, list.count())) {
        RemoveFile(newPath);
        r.writeFailed = true;
        return r;
    }
    RemoveFile(oldPath);
    list.names[size_t(cur)] = std::string(newName);
    store_.setList(id, std::move(list));
    // Neither reloaded nor sent; the link entries stay where they are.
    r.listChanged = true;
    r.selectedName = std::string(newName);
    return r;
}

ProfileResult ProfileOperations::importProfile(ListId id, const fs::path& source) {
    ProfileResult r;
    const auto list = store_.list(id);
    if (!list.hasSelection()) return r;
    const auto copied = ImportIntoProfile(store_, id, list.selection, source);
    if (copied.read != ReadResult::Read) {
        r.message = copied.message();
        return r;
    }
    if (!copied.written) {
        r.writeFailed = true;
        return r;
    }
    return selectProfile(id, list.selection);
}

ProfileResult ProfileOperations::exportProfile(ListId id, const fs::path& target) {
    ProfileResult r;
    const auto list = store_.list(id);
    if (!list.hasSelection()) return r;
    const auto copied = ExportProfileFile(store_, id, list.selection, target);
    r.message = copied.message();
    r.writeFailed = copied.read == ReadResult::Read && !copied.written;
    return r;
}

ProfileResult ProfileOperations::resetProfile(ListId id) {
    ProfileResult r;
    {
        auto guard = store_.lock();
        const auto body = store_.readBody(id, store_.defaultPath(id));
        if (!body.ok()) {
            r.message = ReadFailureMessage(body.result);
            return r;
        }
        ResetBody(id, body.bytes, store_.models());
        // Saved first: the mouse profile keeps the pointer speed and wheel lines it had.
        r.writeFailed = !store_.saveSelected(id);
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
