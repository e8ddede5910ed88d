// SPDX-License-Identifier: GPL-3.0-or-later
// The skin's XML files: res.xml, a language file and menu.xml, from any text. The first
// input byte picks the reader. Resource files never leave the skin folder; menus never nest
// deeper than the limit.

#include <QByteArray>

#include "fuzz_check.h"
#include "ui/skin_files.h"

using namespace orvane::ui;

namespace {

int Depth(const std::vector<MenuEntry>& entries) {
    int deepest = 0;
    for (const auto& e : entries) deepest = std::max(deepest, 1 + Depth(e.children));
    return deepest;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const QByteArray xml(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    switch (data[0] % 3) {
    case 0:
        for (const auto& file : ParseSkinIndex(xml)) {
            FUZZ_CHECK(!file.startsWith('/') && !file.startsWith('\\'));
            FUZZ_CHECK(!file.split('/').contains("..") && !file.split('\\').contains(".."));
        }
        break;
    case 1: (void)ParseLanguageTexts(xml); break;
    case 2:
        if (const auto menu = ParseMenu(xml)) FUZZ_CHECK(Depth(*menu) <= kMaxMenuDepth);
        break;
    }
    return 0;
}
