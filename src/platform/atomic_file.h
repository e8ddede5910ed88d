#pragma once
// Whole-file reads and atomic replacement: the new contents go to a temporary file beside
// the target, are flushed to disk and then renamed over it, so a reader (or a crash) sees
// either the old file or the new one, never a half-written one.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace orvane::platform {

/// The file's bytes, or nullopt when it cannot be read (missing included).
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path);
/// Creates the parent folders when needed. false on any failure (the old file is kept).
bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);

}  // namespace orvane::platform
