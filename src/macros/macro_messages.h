// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The message-box texts (language ids) of the macro and cursor-sequence operations.

#include <string_view>

namespace orvane::macros {

inline constexpr std::string_view kMacroInUseMessage = "message_text_2";         ///< confirm: delete a used macro
inline constexpr std::string_view kUnsavedEditsMessage = "message_text_3";
inline constexpr std::string_view kConfirmDeleteMacroMessage = "message_text_4";
inline constexpr std::string_view kDuplicateMacroNameMessage = "message_text_5";
inline constexpr std::string_view kImageTooLargeMessage = "message_text_16";     ///< %d actions too many
inline constexpr std::string_view kTooManyMacrosMessage = "message_text_17";     ///< %d = 50
inline constexpr std::string_view kSequenceTooLongMessage = "message_text_18";   ///< import above 180 actions
inline constexpr std::string_view kInvalidMacroNameMessage = "message_macro_name_invalid";
/// Another program keeps the data folder (the profiles' message for the same case).
inline constexpr std::string_view kMacroFolderBusyMessage = "message_text_32";
inline constexpr std::string_view kMacroWriteFailedMessage = "message_macro_write_failed";
inline constexpr std::string_view kMacroTooLongMessage = "message_macro_too_long";  ///< %d = 65535
/// A macro or cursor-sequence file is damaged or breaks a limit (the detail goes to the log).
inline constexpr std::string_view kMacroFilesDamagedMessage = "message_macro_files_damaged";
inline constexpr std::string_view kCursorTooLargeMessage = "message_cursor_too_large";  ///< %d bytes too many
inline constexpr std::string_view kCursorWriteFailedMessage = "message_cursor_write_failed";
inline constexpr std::string_view kCursorFileMissingMessage = "message_cursor_file_missing";
/// The device stopped answering before it took any of an upload: it holds what it held.
inline constexpr std::string_view kUploadFailedMessage = "message_macro_upload_failed";
/// The device refused an upload, also when sent again whole: it holds what it held.
inline constexpr std::string_view kUploadRefusedMessage = "message_upload_refused";
/// The device refused part-way, also when sent again whole: part of the new image is in it.
inline constexpr std::string_view kUploadRefusedDamagedMessage = "message_upload_refused_damaged";
/// The device stopped answering part-way: part of the new image may be in it.
inline constexpr std::string_view kUploadStoppedDamagedMessage = "message_upload_stopped_damaged";

}  // namespace orvane::macros
