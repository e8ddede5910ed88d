// SPDX-License-Identifier: GPL-3.0-or-later
#include "macros/macro_transfer.h"

#include <algorithm>

#include "device/hex.h"
#include "device/protocol/result.h"
#include "device/log.h"
#include "device/protocol/commands.h"
#include "device/transfer_bracket.h"
#include "macros/action_file.h"
#include "macros/action_line.h"
#include "macros/cursor_store.h"
#include "macros/macro_checks.h"
#include "macros/macro_messages.h"

namespace orvane::macros {

namespace fs = std::filesystem;
using namespace protocol;
using device::AbandonTransfer;

namespace {

/// The set's files checked and packed; a set that breaks a limit is refused whole.
CollectedImage Collect(const MacroStore& store, MacroSet set, const SetLimits& limits) {
    CollectedImage image;
    auto checked = ReadCheckedSet(store, set, limits);
    if (!checked.ok()) {
        device::Log("image not built: " + checked.problem);
        image.status = CollectedImage::Status::Refused;
        image.problem = std::move(checked.problem);
        return image;
    }
    image.entries = std::move(checked.entries);
    image.size = ImageSize(image.entries);
    image.status = image.entries.empty() ? CollectedImage::Status::Empty : CollectedImage::Status::Ready;
    return image;
}

using Writer = int32_t (*)(DeviceConnection&, std::span<const uint8_t>, size_t*);

bool Refusal(int32_t result) { return result == kRefusedFF || result == kRefusedFE; }

/// One sending of the whole image in its bracket; `touched` is set when the device took (or,
/// unanswered, may have taken) any of it.
int32_t SendOnce(DeviceConnection& c, std::span<const uint8_t> image, Writer write, bool& touched) {
    ShareHold hold(c);  // the bracket, against other programs
    if (!hold.held()) return hold.result();
    int32_t result = BeginTransfer(c);
    if (result != kOk) return AbandonTransfer(c, result);
    size_t accepted = 0;
    result = write(c, image, &accepted);
    // An unanswered chunk may have been written; a refused or unsent one was not.
    if (accepted > 0 || result == kNoReply) touched = true;
    if (result != kOk) return AbandonTransfer(c, result);
    touched = true;  // every chunk was taken: the memory holds the new image unless End confirms nothing
    return EndTransfer(c);
}

/// Sizes, checks and sends a collected image; `excess` turns the size over the capacity
/// into the number the message shows.
UploadResult Upload(DeviceConnection& c, const CollectedImage& collected, size_t capacity, Writer write,
                    std::string_view tooLargeMessage, int (*excess)(uint64_t size, size_t capacity)) {
    UploadResult r;
    r.capacity = capacity;
    r.imageSize = collected.size;
    if (collected.status == CollectedImage::Status::Empty) return r;
    if (collected.status == CollectedImage::Status::Refused) {
        r.outcome = UploadResult::Outcome::Refused;
        r.message = kMacroFilesDamagedMessage;
        r.detail = collected.problem;
        return r;
    }
    if (collected.status == CollectedImage::Status::Ready && collected.size > capacity) {
        r.outcome = UploadResult::Outcome::TooLarge;
        r.excess = excess(collected.size, capacity);
        r.message = tooLargeMessage;
        return r;
    }
    const auto image = collected.status == CollectedImage::Status::Ready ? BuildImage(collected.entries) : std::nullopt;
    if (!image) {
        r.outcome = UploadResult::Outcome::Unrepresentable;
        r.message = kMacroFilesDamagedMessage;
        return r;
    }
    bool touched = false;
    int32_t result = SendOnce(c, *image, write, touched);
    if (result != kOk && touched && Refusal(result)) {
        // Refused part-way while the device still answers: a mixed image is worse than either,
        // so the whole image goes once more.
        device::Log(std::string("upload refused part-way (") + ResultText(result) + "); sending the whole image again");
        bool again = false;
        result = SendOnce(c, *image, write, again);
        r.sentAgain = result == kOk;
    }
    if (result != kOk) {
        r.outcome = UploadResult::Outcome::DeviceFailed;
        r.deviceResult = result;
        r.holds = touched ? UploadResult::DeviceHolds::PartOfNewImage : UploadResult::DeviceHolds::PreviousImage;
        r.message = Refusal(result) ? (touched ? kUploadRefusedDamagedMessage : kUploadRefusedMessage)
                                    : (touched ? kUploadStoppedDamagedMessage : kUploadFailedMessage);
        device::Log(std::string("upload failed: ") + ResultText(result) +
                    (touched ? "; the device holds part of the new image" : "; the device holds its previous image"));
        return r;
    }
    r.outcome = UploadResult::Outcome::Sent;
    r.holds = UploadResult::DeviceHolds::NewImage;
    return r;
}

/// The fewest actions whose removal makes the image fit: each takes 4 bytes.
int ActionsTooMany(uint64_t size, size_t capacity) {
    return static_cast<int>(std::min<uint64_t>((size - capacity + 3) / 4, INT32_MAX));
}
int BytesTooMany(uint64_t size, size_t capacity) {
    return static_cast<int>(std::min<uint64_t>(size - capacity, INT32_MAX));
}

}  // namespace

std::string DeviceHoldsText(const UploadResult& r, std::string_view device, std::string_view what) {
    const std::string who(device);
    switch (r.holds) {
    case UploadResult::DeviceHolds::PreviousImage: return who + " still holds its previous " + std::string(what);
    case UploadResult::DeviceHolds::NewImage: return who + " holds the new " + std::string(what) + " whole";
    case UploadResult::DeviceHolds::PartOfNewImage:
        return who + " now holds a damaged mix of old and new " + std::string(what) + "; send them again";
    }
    return {};
}

CollectedImage CollectMacroImage(const MacroStore& store, MacroSet set) { return Collect(store, set, MacroLimits()); }

CollectedImage CollectCursorImage(const MacroStore& store) { return Collect(store, MacroSet::Mouse, CursorLimits()); }

UploadResult UploadMacros(DeviceConnection& c, const MacroStore& store, MacroSet set, size_t capacity) {
    return UploadMacroImage(c, CollectMacroImage(store, set), capacity);
}

UploadResult UploadMacroImage(DeviceConnection& c, const CollectedImage& image, size_t capacity) {
    return Upload(c, image, capacity, WriteMacroBlob, kImageTooLargeMessage, ActionsTooMany);
}

UploadResult UploadCursorSequences(DeviceConnection& c, const MacroStore& store, const WriteMeter::Report& progress) {
    const CollectedImage image = CollectCursorImage(store);
    WriteMeter meter(progress);
    if (image.status == CollectedImage::Status::Ready && image.size <= kCursorImageLimit) meter.plan(image.size);
    return Upload(c, image, kCursorImageLimit, WriteCursorBlob, kCursorTooLargeMessage, BytesTooMany);
}

CursorImageRead ReadCursorImage(DeviceConnection& c) {
    CursorImageRead read;
    ShareHold hold(c);  // the bracket, against other programs
    if (!hold.held()) {
        read.result = hold.result();
        return read;
    }
    int32_t r = BeginTransfer(c);
    std::vector<uint8_t> header(kImageHeaderSize);
    if (r == kOk) r = ReadCursorBlob(c, header);
    if (r != kOk) {
        read.result = AbandonTransfer(c, r);
        return read;
    }
    const auto total = CursorImageLength(header);
    if (!total) {
        device::Log("the mouse holds no cursor image (header " + device::ToHex(std::span(header).first(4)) + ")");
        read.result = EndTransfer(c);
        return read;
    }
    read.image.resize(*total);
    if ((r = ReadCursorBlob(c, read.image)) != kOk) {
        read.image.clear();
        read.result = AbandonTransfer(c, r);
        return read;
    }
    read.result = EndTransfer(c);
    read.recognised = true;
    return read;
}

CursorReadResult ReadCursorSequences(DeviceConnection& c, MacroStore& store) {
    CursorReadResult r;
    r.read = ReadCursorImage(c);
    if (r.read.result == kOk && r.read.recognised) r.stored = StoreCursorImage(store, r.read.image);
    return r;
}

}  // namespace orvane::macros
