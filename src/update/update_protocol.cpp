// SPDX-License-Identifier: GPL-3.0-or-later
#include "update/update_protocol.h"

#include <json/json.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstdio>
#include <memory>
#include <random>

namespace orvane::update {

namespace {

/// A JSON string literal of the text.
std::string Quoted(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", unsigned(static_cast<unsigned char>(c)));
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string WithoutDots(std::string_view text) {
    std::string out;
    for (const char c : text)
        if (c != '.') out += c;
    return out;
}

std::optional<int> ResultCodeOf(const Json::Value& value) {
    if (value.isString()) {
        const std::string text = value.asString();
        const auto n = VersionNumber(text);  // digits only
        return text.find('.') == std::string::npos ? n : std::nullopt;
    }
    if (value.isInt()) return value.asInt();
    return std::nullopt;
}

}  // namespace

int LeadingNumber(std::string_view text) {
    long long n = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') break;
        n = std::min<long long>(n * 10 + (c - '0'), INT_MAX);
    }
    return int(n);
}

const Product* FindProduct(std::string_view codeOrButton) {
    for (const auto& p : kProducts)
        if (p.code == codeOrButton || p.button == codeOrButton) return &p;
    return nullptr;
}

std::string VersionQueryJson(std::string_view code) {
    return "{\"command_type\":" + Quoted(code) + ",\"getUrl\":1}";
}

std::string RegistrationJson(std::string_view id, std::string_view code) {
    return "{\"UUID\":" + Quoted(id) + ",\"command_type\":" + Quoted(code) + "}";
}

std::string NewRegistrationId() {
    std::random_device device;
    std::array<uint8_t, 16> bytes{};
    for (size_t i = 0; i < bytes.size(); i += 4) {
        const uint32_t r = device();
        for (size_t k = 0; k < 4; ++k) bytes[i + k] = uint8_t(r >> (8 * k));
    }
    bytes[6] = uint8_t((bytes[6] & 0x0F) | 0x40);  // version 4: random
    bytes[8] = uint8_t((bytes[8] & 0x3F) | 0x80);  // RFC 4122 variant
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10) out += '-';
        out += kHex[bytes[i] >> 4];
        out += kHex[bytes[i] & 0x0F];
    }
    return out;
}

std::string Base64(std::string_view bytes) {
    static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    size_t i = 0;
    for (; i + 3 <= bytes.size(); i += 3) {
        const uint32_t v = uint32_t(uint8_t(bytes[i])) << 16 | uint32_t(uint8_t(bytes[i + 1])) << 8 | uint8_t(bytes[i + 2]);
        for (int shift = 18; shift >= 0; shift -= 6) out += kAlphabet[(v >> shift) & 0x3F];
    }
    const size_t rest = bytes.size() - i;
    if (rest > 0) {
        uint32_t v = uint32_t(uint8_t(bytes[i])) << 16;
        if (rest == 2) v |= uint32_t(uint8_t(bytes[i + 1])) << 8;
        out += kAlphabet[(v >> 18) & 0x3F];
        out += kAlphabet[(v >> 12) & 0x3F];
        out += rest == 2 ? kAlphabet[(v >> 6) & 0x3F] : '=';
        out += '=';
    }
    return out;
}

std::string RequestBody(std::string_view json) {
    std::string body(kFormField);
    body += Base64(json);
    body += '\0';  // part of the body and of its length
    return body;
}

namespace {

/// The reply as JSON (cut to kMaxReplyBytes and at the first zero byte); nullopt when it
/// is not JSON.
std::optional<Json::Value> ParseJson(std::string_view bytes) {
    bytes = bytes.substr(0, std::min(bytes.size(), kMaxReplyBytes));
    bytes = bytes.substr(0, bytes.find('\0'));
    Json::CharReaderBuilder builder;
    builder["collectComments"] = false;
    builder["stackLimit"] = 64;
    Json::Value root;
    try {
        const std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
        std::string errors;
        if (!reader->parse(bytes.data(), bytes.data() + bytes.size(), &root, &errors)) return std::nullopt;
    } catch (const std::exception&) {  // jsoncpp reports nesting beyond the limit by throwing
        return std::nullopt;
    }
    return root;
}

}  // namespace

Reply ParseReply(std::string_view bytes) {
    Reply reply;
    const auto root = ParseJson(bytes);
    if (!root) return reply;
    reply.parsed = true;
    if (!root->isObject()) return reply;
    reply.resultCode = ResultCodeOf((*root)["Result_Code"]);
    const Json::Value& data = (*root)["Data"];
    if (data.isObject() && data["version"].isString()) reply.version = data["version"].asString();
    return reply;
}

VersionAnswer ReadVersionAnswer(std::string_view body) {
    VersionAnswer answer;
    const auto root = ParseJson(body);
    if (!root) answer.problem = "the reply is not JSON";
    else if (!root->isObject()) answer.problem = "the reply is not a JSON object";
    if (!answer.ok()) return answer;
    if (!root->isMember("Data")) return answer;  // the server names no version: unknown
    const Json::Value& data = (*root)["Data"];
    if (!data.isObject()) answer.problem = "its \"Data\" is not an object";
    else if (data.isMember("version") && !data["version"].isString()) answer.problem = "its version is not text";
    if (!answer.ok() || !data.isMember("version")) return answer;
    const std::string version = data["version"].asString();
    if (!VersionNumber(version)) {
        answer.problem = "its version \"" + WithoutControlCharacters(version.substr(0, 40)) + "\" is not a dotted number";
        return answer;
    }
    answer.version = version;
    return answer;
}

std::string WithoutControlCharacters(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x20 || c == 0x7F) continue;
        // U+0080-U+009F (C1 controls: CSI and others a terminal acts on) are C2 80-C2 9F.
        if (c == 0xC2 && i + 1 < text.size() && (static_cast<unsigned char>(text[i + 1]) & 0xE0) == 0x80) {
            ++i;
            continue;
        }
        out += char(c);
    }
    return out;
}

std::optional<int> VersionNumber(std::string_view dotted) {
    const std::string digits = WithoutDots(dotted);
    if (digits.empty() || digits.size() > 9) return std::nullopt;
    for (const char c : digits)
        if (c < '0' || c > '9') return std::nullopt;
    return LeadingNumber(digits);
}

std::optional<int> ValidServerVersion(std::optional<std::string_view> dotted) {
    const auto n = dotted ? VersionNumber(*dotted) : std::nullopt;
    if (!n || *n >= kFirstInvalidVersion) return std::nullopt;
    return n;
}

int InstalledVersionNumber(std::string_view text) { return LeadingNumber(WithoutDots(text)); }

int KeyboardVersionNumber(uint16_t version) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "%x", unsigned(version));
    return LeadingNumber(hex);
}

std::string InsertVersionDots(std::string digits) {
    if (digits.size() > 1) digits.insert(1, ".");
    if (digits.size() > 3) digits.insert(3, ".");
    return digits;
}

std::string KeyboardVersionText(uint16_t version) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "%x", unsigned(version));
    return InsertVersionDots(hex);
}

std::string UpdaterParameters(const Product& product, std::string_view installedSoftware, uint16_t keyboardVersion) {
    std::string version;
    if (product.code == kSoftware.code) version = std::string(installedSoftware);
    else if (product.code == kRgbKeyboard.code) version = KeyboardVersionText(keyboardVersion);
    else return {};
    return std::string(product.updaterName) + ";ja;" + version;
}

}  // namespace orvane::update
