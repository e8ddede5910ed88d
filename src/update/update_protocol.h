// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The update server's protocol: the products it knows, the two JSON commands, the request
// body (the JSON text Base64-encoded into the form field "ActiveData", plus one zero byte),
// the reply members read, and the version numbers (a dotted version with its dots removed:
// 1.0.5 → 105; 300 and above are not a valid server version).

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvane::update {

struct Product {
    std::string_view code;         ///< the server's product code
    std::string_view updaterName;  ///< the product name handed to the updater
    std::string_view button;       ///< the settings window's update button
};

inline constexpr Product kSingleColourKeyboard{"Kx022", "KestrelPro", "bule_kb_btn"};
inline constexpr Product kRgbKeyboard{"Kx026", "KestrelEliteRGBJP", "rgb_kb_btn"};
inline constexpr Product kMouse{"Kx023", "HarrierEliteRGB", "ms_update_btn"};
inline constexpr Product kSoftware{"Kx027", "OrvaneGamingJP", "soft_update_btn"};
inline constexpr std::array<Product, 4> kProducts{kSingleColourKeyboard, kRgbKeyboard, kMouse, kSoftware};

/// The product of a server code or of an update button; null when none.
const Product* FindProduct(std::string_view codeOrButton);

inline constexpr std::string_view kEndpointPath = "/download/getVersionV1";
inline constexpr std::string_view kUserAgent = "WinHTTP Client/1.0";
inline constexpr std::string_view kFormField = "ActiveData=";
/// Server versions from this number up are invalid: never an update, shown as unknown.
inline constexpr int kFirstInvalidVersion = 300;
/// At most this many reply bytes are kept and parsed.
inline constexpr size_t kMaxReplyBytes = 1023;
/// The registration result that lets an update proceed.
inline constexpr int kUpdateConfirmed = 2;

/// {"command_type":"CODE","getUrl":1}
std::string VersionQueryJson(std::string_view code);
/// {"UUID":"ID","command_type":"CODE"}
std::string RegistrationJson(std::string_view id, std::string_view code);
/// A new random identifier: 32 upper-case hex digits in groups 8-4-4-4-12, no braces.
std::string NewRegistrationId();

/// Standard Base64 (RFC 4648 alphabet, "=" padding, no line breaks).
std::string Base64(std::string_view bytes);
/// "ActiveData=" + Base64(json) + one zero byte; its size() is the Content-Length.
std::string RequestBody(std::string_view json);

/// The members of a reply the program reads. Hostile input: any bytes, cut to
/// kMaxReplyBytes and at the first zero byte before parsing.
struct Reply {
    bool parsed = false;                    ///< the text is JSON
    std::optional<int> resultCode;          ///< "Result_Code" as a decimal number
    std::optional<std::string> version;     ///< "Data"."version" as sent
};
Reply ParseReply(std::string_view bytes);

/// What a version query's reply (an HTTP 200 body) says: the version, none (the server
/// names no version: unknown), or why it is not a reply of the expected form (not JSON, not
/// an object, a version that is not text or not a dotted number).
struct VersionAnswer {
    std::optional<std::string> version;  ///< a dotted number, as sent
    std::string problem;                 ///< "" when the reply has the expected form
    bool ok() const { return problem.empty(); }
};
VersionAnswer ReadVersionAnswer(std::string_view body);

/// Text from the server made safe to print or show: C0 and C1 control characters and DEL
/// removed (a terminal acts on escapes among them).
std::string WithoutControlCharacters(std::string_view text);

/// A dotted version as a number: the dots removed, the rest all decimal digits (1.0.5 →
/// 105); nullopt when empty, not digits, or too large.
std::optional<int> VersionNumber(std::string_view dotted);
/// A server version that may flag an update: parsable and below kFirstInvalidVersion.
std::optional<int> ValidServerVersion(std::optional<std::string_view> dotted);
/// The leading decimal digits of a text as a number (atoi without sign or overflow; 0
/// when there are none).
int LeadingNumber(std::string_view text);
/// An installed version text as a number: dots removed, the leading decimal digits read
/// (0 when there are none).
int InstalledVersionNumber(std::string_view text);
/// The keyboard's 16-bit version written in hex digits and read back as a decimal number
/// (0x105 → "105" → 105; digits from the first letter on are not read).
int KeyboardVersionNumber(uint16_t version);
/// Dots after the first digit and after the third character of the result ("105" →
/// "1.0.5"); a dot goes in only where a character follows it.
std::string InsertVersionDots(std::string digits);
/// The keyboard version in hex digits with the dots (0x105 → "1.0.5").
std::string KeyboardVersionText(uint16_t version);

/// The updater's parameter text for a product: "NAME;ja;VERSION" with the installed
/// software text (software) or the keyboard's dotted version (RGB keyboard); empty for
/// the other products.
std::string UpdaterParameters(const Product& product, std::string_view installedSoftware, uint16_t keyboardVersion);

}  // namespace orvane::update
