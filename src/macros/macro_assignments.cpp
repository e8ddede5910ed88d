// SPDX-License-Identifier: GPL-3.0-or-later
#include "macros/macro_assignments.h"

#include <algorithm>
#include <span>

#include "functions/function_code.h"

namespace orvane::macros {

namespace {

constexpr size_t kCodeSize = 3;

/// The code in `bytes`; a code cut by the end of a page (type and index only) reads with b2 0.
functions::FunctionCode CodeOf(std::span<const uint8_t> bytes) {
    return {bytes[0], bytes[1], bytes.size() > 2 ? bytes[2] : uint8_t(0)};
}

bool RefersTo(std::span<const uint8_t> code, uint8_t index) { return functions::UsesMacro(CodeOf(code), index); }

/// The code after macro `deleted` went (functions::AfterMacroDeleted). True when it changed.
/// `code` may be the first two bytes of a code cut by the end of a page, and `own` is cut
/// alike.
bool Renumber(std::span<uint8_t> code, std::span<const uint8_t> own, uint8_t deleted) {
    const auto after = functions::AfterMacroDeleted(CodeOf(code), deleted, CodeOf(own));
    const uint8_t bytes[kCodeSize] = {after.type, after.b1, after.b2};
    if (std::equal(code.begin(), code.end(), bytes)) return false;
    std::copy_n(bytes, code.size(), code.begin());
    return true;
}

/// Where button i of bank `page + k` sits in key page `page` and how many of its bytes the
/// page holds, for every bank the page carries at least a button's type and index of.
template <class Fn>
void ForEachMouseButton(size_t page, Fn&& fn) {
    for (size_t k = 0; page + k < mouse::kPageCount; ++k)
        for (size_t i = 0; i < mouse::kButtonCount; ++i) {
            const size_t at = k * mouse::MouseKeyPage::kBankBytes + kCodeSize * i;
            if (at + 2 <= mouse::kKeyPageSize) fn(at, std::min(kCodeSize, mouse::kKeyPageSize - at), i);
        }
}

}  // namespace

bool MacroInUse(const keyboard::KeyAssignmentBanks& banks, uint8_t index) {
    for (const auto& bank : banks)
        for (size_t key = 0; key < keyboard::kMaxKeyCount; ++key)
            if (RefersTo(std::span(bank.bytes).subspan(kCodeSize * key, kCodeSize), index)) return true;
    return false;
}

bool MacroInUse(const mouse::MouseKeyPages& pages, uint8_t index) {
    for (const auto& page : pages)
        for (size_t i = 0; i < mouse::kButtonCount; ++i)
            if (RefersTo(page.button(i), index)) return true;
    return false;
}

size_t RenumberMacroAssignments(keyboard::KeyAssignmentBanks& banks, const keyboard::NativeKeyTable& native,
                                uint8_t deleted) {
    size_t changed = 0;
    for (auto& bank : banks)
        for (size_t key = 0; key < keyboard::kMaxKeyCount; ++key)
            changed += Renumber(std::span(bank.bytes).subspan(kCodeSize * key, kCodeSize),
                                std::span(native.bytes).subspan(kCodeSize * key, kCodeSize), deleted);
    return changed;
}

size_t RenumberMacroAssignments(mouse::MouseKeyPages& pages, const mouse::MouseDefaultKeys& defaults,
                                uint8_t deleted) {
    size_t changed = 0;
    for (size_t p = 0; p < pages.size(); ++p)
        ForEachMouseButton(p, [&](size_t at, size_t length, size_t button) {
            changed += Renumber(std::span(pages[p].bytes).subspan(at, length), defaults.button(button), deleted);
        });
    return changed;
}

}  // namespace orvane::macros
