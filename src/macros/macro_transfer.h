// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Moving macro and cursor images between the files and a device. These run on a device
// job's thread, never on the window's: the files are read under the macro store's lock,
// the lock is released, and then the reports go out.
//
// UploadMacros is the first step of the keyboard's and the mouse's apply: when it fails,
// the apply sends nothing else (no key bank) and saves nothing.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "device/protocol/connection.h"
#include "device/protocol/write_meter.h"
#include "macros/cursor_store.h"
#include "macros/macro_image.h"
#include "macros/macro_store.h"

namespace orvane::macros {

/// The image a set's files make, without sending it.
struct CollectedImage {
    enum class Status : uint8_t {
        Ready,
        Empty,            ///< no entries: nothing to send
        Unrepresentable,  ///< the image would not fit its 16-bit fields
        Refused,          ///< a file breaks a limit or is not ours (macro_checks.h): `problem`
    };
    Status status = Status::Empty;
    std::string problem;  ///< Refused: "kb/Macro_1.mac: action 3: its delay byte 300 is outside 0-255"
    std::vector<ImageEntry> entries;
    uint64_t size = 0;  ///< 16 + 6M + 4 x (sum of A)
};
/// The macro set in index order, its files checked first (macro_checks.h); a missing macro
/// file packs as 0 actions.
CollectedImage CollectMacroImage(const MacroStore& store, MacroSet set);
/// The cursor sequences in the order of the cursor index.
CollectedImage CollectCursorImage(const MacroStore& store);

struct UploadResult {
    enum class Outcome : uint8_t {
        Sent,
        NothingToSend,    ///< no macros (sequences): success, nothing sent
        TooLarge,         ///< beyond the device's memory: nothing sent
        Unrepresentable,  ///< the image would not fit its 16-bit fields: nothing sent
        Refused,          ///< a file breaks a limit or cannot be read: nothing sent, `detail` says which
        DeviceFailed,     ///< a command failed or went unanswered part-way: see `holds`
    };
    /// What the device's memory holds afterwards. A refusal part-way (the device still
    /// answers) is followed by one more sending of the whole image, so that the device ends
    /// with the new image or, when that is refused before any of it is taken, the old one.
    enum class DeviceHolds : uint8_t {
        PreviousImage,   ///< nothing of the new image was taken
        NewImage,        ///< the whole new image
        PartOfNewImage,  ///< part of the new image over the old (or possibly, unanswered)
    };
    Outcome outcome = Outcome::NothingToSend;
    uint64_t imageSize = 0;
    size_t capacity = 0;
    /// TooLarge: the number the message shows (macros: the fewest actions whose removal
    /// makes the image fit, (size - capacity) / 4 rounded up; cursor sequences: bytes too many).
    int excess = 0;
    std::string_view message;  ///< language id to show; empty on success
    std::string detail;        ///< Refused: the file and the reason
    int32_t deviceResult = 1;  ///< the failing command's result on DeviceFailed
    DeviceHolds holds = DeviceHolds::PreviousImage;
    bool sentAgain = false;  ///< Sent: the first sending was refused part-way, the second was taken
    bool ok() const { return outcome == Outcome::Sent || outcome == Outcome::NothingToSend; }
};

/// What the device now holds after a failed upload, as the tool prints it ("the mouse still
/// holds its previous macros").
std::string DeviceHoldsText(const UploadResult& r, std::string_view device, std::string_view what);

/// Packs the set's macros and sends them: BeginTransfer, WriteMacroBlob (command 21),
/// EndTransfer. capacity: the device's information byte 6 x 128 (read back at connect; 0
/// before that, and then any macro is too many).
UploadResult UploadMacros(protocol::DeviceConnection& c, const MacroStore& store, MacroSet set, size_t capacity);
/// The same for an image already collected (CollectMacroImage).
UploadResult UploadMacroImage(protocol::DeviceConnection& c, const CollectedImage& image, size_t capacity);
/// The four sequences as one image with command 23, within the fixed 3072 bytes.
/// `progress` is told how much of the image has gone out (percent).
UploadResult UploadCursorSequences(protocol::DeviceConnection& c, const MacroStore& store,
                                   const protocol::WriteMeter::Report& progress = {});

/// The cursor image as the mouse holds it: BeginTransfer, the 16-byte header (command 22),
/// and when its magic is right, the whole image from offset 0 as long as the header says,
/// EndTransfer.
struct CursorImageRead {
    int32_t result = 0;       ///< kOk, or the failing command's result
    bool recognised = false;  ///< the header had the magic and a total within the memory
    std::vector<uint8_t> image;
};
CursorImageRead ReadCursorImage(protocol::DeviceConnection& c);

/// The connect step: reads the image and rewrites the sequence files from it. The files
/// stay as they were unless a whole, valid image arrived.
struct CursorReadResult {
    CursorImageRead read;
    CursorImageStored stored;
    bool ok() const { return read.result == 1 && stored.accepted && !stored.writeFailed; }
};
CursorReadResult ReadCursorSequences(protocol::DeviceConnection& c, MacroStore& store);

}  // namespace orvane::macros
