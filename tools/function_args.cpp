// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/function_args.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <vector>

#include "functions/capture_keys.h"
#include "functions/function_lists.h"
#include "tools/cli.h"

namespace orvane::cli {

namespace {

using functions::Category;

/// media:NAME, in MediaList order.
constexpr std::array<std::string_view, 18> kMediaTokens{
    "player", "play",  "stop",    "prev",      "next",   "volume_down", "volume_up",  "mute", "browser",
    "refresh", "web_stop", "back", "forward", "favorites", "search", "computer", "calculator", "mail"};
static_assert(kMediaTokens.size() == functions::MediaList.size());

std::vector<std::string_view> Split(std::string_view text) {
    std::vector<std::string_view> parts;
    size_t start = 0;
    for (size_t colon; (colon = text.find(':', start)) != std::string_view::npos; start = colon + 1)
        parts.push_back(text.substr(start, colon - start));
    parts.push_back(text.substr(start));
    return parts;
}

/// A key's word on the command line: its language key without "keyboard_key_", '_' for ' '.
std::string TokenOfName(std::string_view name) {
    if (name.starts_with(functions::kKeyboardKeyPrefix)) name.remove_prefix(functions::kKeyboardKeyPrefix.size());
    std::string token(name);
    std::replace(token.begin(), token.end(), ' ', '_');
    return token;
}

bool SameWord(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

template <class Words>
std::optional<int> IndexOfWord(const Words& words, std::string_view word) {
    for (size_t i = 0; i < std::size(words); ++i)
        if (SameWord(words[i], word)) return static_cast<int>(i);
    return std::nullopt;
}

template <class Words>
std::string Joined(const Words& words, std::string_view separator) {
    std::string out;
    for (const auto& w : words) out += (out.empty() ? "" : std::string(separator)) + std::string(w);
    return out;
}

struct Parser {
    std::string_view text;
    device::DeviceKind kind;
    std::string& error;

    std::nullopt_t fail(std::string message) {
        error = std::string(text) + ": " + message;
        return std::nullopt;
    }

    std::optional<FunctionArgument> parse() {
        const auto parts = Split(text);
        const std::string_view head = parts[0];
        FunctionArgument arg;
        auto& c = arg.controls;
        const size_t n = parts.size();

        if (head == "default" && n == 1) return arg;
        if (head == "key" && n == 2) {
            // Modifiers held with the key come first: key:LCtrl+LShift+F.
            std::string_view word = parts[1];
            uint8_t held = 0;
            for (bool peeled = true; peeled;) {
                peeled = false;
                for (size_t m = 0; m < functions::kModifierEntries; ++m) {
                    const std::string token = KeyToken(m);
                    if (word.size() <= token.size() + 1 || word[token.size()] != '+' ||
                        !SameWord(word.substr(0, token.size()), token))
                        continue;
                    held |= functions::KeyboardKeyList[m].code.b1;
                    word.remove_prefix(token.size() + 1);
                    peeled = true;
                }
            }
            auto take = [&](functions::FunctionCode code) {
                code.b1 |= held;
                const auto combination = functions::CombinationOf(code);
                arg.category = Category::KeyboardKey;
                arg.keyCode = code;
                c.capturedKey = combination ? combination->key : std::string_view();
                c.capturedModifiers = combination ? combination->modifiers : 0;
                return arg;
            };
            for (size_t e = 0; e < functions::kKeyboardKeyEntries; ++e)
                if (SameWord(KeyToken(e), word)) return take(functions::KeyboardKeyList[e].code);
            for (const auto& extra : functions::ExtraKeyList)
                if (SameWord(TokenOfName(extra.name), word))
                    return take({functions::code_type::kKeyboardKey, 0, extra.usage});
            std::vector<std::string> keys;
            for (size_t e = 0; e < functions::kKeyboardKeyEntries; ++e) keys.push_back(KeyToken(e));
            for (const auto& extra : functions::ExtraKeyList) keys.push_back(TokenOfName(extra.name));
            return fail("unknown key; keys are " + Joined(keys, " "));
        }
        if (head == "mouse" && n == 2) {
            constexpr std::array<std::string_view, 5> buttons{"left", "middle", "right", "forward", "back"};
            const auto button = IndexOfWord(buttons, parts[1]);
            if (!button) return fail("mouse buttons are " + Joined(buttons, ", "));
            arg.category = Category::MouseButton;
            c.mouseButton = *button;
            return arg;
        }
        if ((head == "hscroll" || head == "vscroll") && (n == 3 || n == 5)) {
            const bool horizontal = head == "hscroll";
            const std::array<std::string_view, 2> directions =
                horizontal ? std::array<std::string_view, 2>{"left", "right"} : std::array<std::string_view, 2>{"up", "down"};
            const auto direction = IndexOfWord(directions, parts[1]);
            const auto amount = ParseNumber(parts[2], functions::kSwingAmountLimit);
            const auto p1 = n == 5 ? ParseNumber(parts[3], functions::kNibbleLimit) : std::optional<int>(0);
            const auto p2 = n == 5 ? ParseNumber(parts[4], functions::kNibbleLimit) : std::optional<int>(0);
            if (!direction || !amount || !p1 || !p2)
                return fail(std::string(head) + ":" + Joined(directions, "|") +
                            ":AMOUNT[:P1:P2] with AMOUNT 0-127 and P1, P2 0-15");
            arg.category = horizontal ? Category::HorizontalSwing : Category::VerticalSwing;
            (horizontal ? c.horizontalDirection : c.verticalDirection) = *direction;
            (horizontal ? c.horizontalAmount : c.verticalAmount) = *amount;
            (horizontal ? c.horizontalHigh : c.verticalHigh) = *p1;
            (horizontal ? c.horizontalLow : c.verticalLow) = *p2;
            return arg;
        }
        if (head == "dpi" && n == 2) {
            constexpr std::array<std::string_view, 3> actions{"up", "down", "cycle"};
            const auto action = IndexOfWord(actions, parts[1]);
            if (!action) return fail("DPI actions are up, down, cycle");
            arg.category = Category::DpiAction;
            c.dpiAction = *action;
            return arg;
        }
        if (head == "fire" && n == 3) {
            const auto a = ParseNumber(parts[1], functions::kByteLimit);
            const auto b = ParseNumber(parts[2], functions::kByteLimit);
            if (!a || !b) return fail("fire:A:B takes two numbers 0-255");
            arg.category = Category::FireKey;
            c.fireFirst = *a;
            c.fireSecond = *b;
            return arg;
        }
        if (head == "media" && n == 2) {
            const auto media = IndexOfWord(kMediaTokens, parts[1]);
            if (!media) return fail("media keys are " + Joined(kMediaTokens, " "));
            arg.category = Category::Media;
            c.media = *media;
            return arg;
        }
        if (head == "system" && n == 2) {
            constexpr std::array<std::string_view, 3> keys{"power", "sleep", "wake"};
            const auto key = IndexOfWord(keys, parts[1]);
            if (!key) return fail("system keys are power, sleep, wake");
            arg.category = Category::System;
            c.system = *key;
            return arg;
        }
        if (head == "macro" && (n == 3 || n == 4)) {
            const auto index = ParseNumber(parts[1], kMacroLimit - 1);
            const bool repeat = n == 4 && parts[2] == "repeat";
            const auto value = ParseNumber(parts[n - 1], repeat ? functions::kByteLimit : functions::kRepeatPlayMode - 1);
            if (!index || !value || (n == 4 && !repeat))
                return fail("macro:INDEX:MODE or macro:INDEX:repeat:N with INDEX 0-49, MODE 0-3, N 0-255");
            arg.category = Category::Macro;
            c.macro = *index;
            c.playMode = repeat ? functions::kRepeatPlayMode : *value;
            c.repeatCount = repeat ? *value : 0;
            return arg;
        }
        if (head == "cursor" && n == 2) {
            if (kind != device::DeviceKind::Mouse) return fail("cursor sequences are for mouse buttons (ms)");
            const auto sequence = ParseNumber(parts[1], static_cast<int>(functions::kCursorSequenceNames.size()) - 1);
            if (!sequence) return fail("cursor:N takes a sequence 0-3");
            arg.category = Category::CursorSequence;
            c.cursorSequence = *sequence;
            return arg;
        }
        return fail("FUNCTION is one of default, key:NAME, mouse:BUTTON, hscroll:left|right:AMOUNT[:P1:P2], "
                    "vscroll:up|down:AMOUNT[:P1:P2], dpi:up|down|cycle, fire:A:B, media:NAME, "
                    "system:power|sleep|wake, macro:INDEX:MODE, macro:INDEX:repeat:N, cursor:N (ms)");
    }
};

}  // namespace

std::optional<FunctionArgument> ParseFunctionArgument(std::string_view text, device::DeviceKind kind,
                                                      std::string& error) {
    return Parser{text, kind, error}.parse();
}

std::string KeyToken(size_t entry) { return TokenOfName(functions::KeyboardKeyList[entry].name); }

}  // namespace orvane::cli
