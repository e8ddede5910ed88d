// SPDX-License-Identifier: GPL-3.0-or-later
// INI text: any bytes parse and serialise back byte for byte; a key written reads back as
// written, and every other key reads as it did.

#include <fuzzer/FuzzedDataProvider.h>

#include <map>

#include "fuzz_check.h"
#include "platform/ini_text.h"

using namespace orvane::platform::ini;

namespace {

constexpr size_t kMax = 259;

std::string Lower(std::string_view s) {
    std::string out(Trim(s));
    for (char& c : out) c = (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
    return out;
}

/// Every (section, key) the first of its kind, as read.
std::map<std::pair<std::string, std::string>, std::string> Values(const Document& doc) {
    std::map<std::pair<std::string, std::string>, std::string> out;
    for (const auto& section : doc.sectionNames())
        for (const auto& key : doc.keys(section))
            out.emplace(std::pair{Lower(section), Lower(key)}, doc.get(section, key, kMax).value_or("<none>"));
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string section = input.ConsumeRandomLengthString(24);
    const std::string key = input.ConsumeRandomLengthString(24);
    const std::string value = input.ConsumeRandomLengthString(300);
    const std::string text = input.ConsumeRemainingBytesAsString();

    Document doc = Document::Parse(text);
    FUZZ_CHECK(doc.serialise() == text);
    const auto before = Values(doc);
    if (!doc.set(section, key, value)) return 0;

    const Document again = Document::Parse(doc.serialise());
    FUZZ_CHECK(again.serialise() == doc.serialise());
    FUZZ_CHECK(again.get(section, key, kMax) == CookValue(value, kMax));
    const auto after = Values(again);
    for (const auto& [where, was] : before)
        if (where != std::pair{Lower(section), Lower(key)}) FUZZ_CHECK(after.count(where) && after.at(where) == was);
    return 0;
}
