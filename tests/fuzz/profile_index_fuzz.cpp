// SPDX-License-Identifier: GPL-3.0-or-later
// Index files: any text gives each list a state without crashing; a damaged list rebuilt
// from it holds valid, distinct names, and written out it reads back as exactly that list.

#include <fuzzer/FuzzedDataProvider.h>

#include "fuzz_check.h"
#include "profiles/profile_index.h"
#include "profiles/profile_names.h"

using namespace orvane;
using namespace orvane::profiles;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    std::vector<std::string> files;  // profile files in the folder
    for (int n = input.ConsumeIntegralInRange(0, 4); n > 0; --n) files.push_back(input.ConsumeRandomLengthString(20));
    const auto doc = platform::ini::Document::Parse(input.ConsumeRemainingBytesAsString());
    for (const auto& list : kLists) {
        (void)HasAnyListSection(doc, list.indexFile);
        const auto read = ReadIndexedList(doc, list);
        if (read.state == IndexedList::State::Valid) {
            FUZZ_CHECK(!read.names.empty() && read.names.size() <= size_t(kMaxListEntries));
            FUZZ_CHECK(read.links.size() == read.names.size());
        }
        const auto salvaged = SalvageList(doc, list, files);
        FUZZ_CHECK(salvaged.names.size() <= size_t(kMaxListEntries) && salvaged.links.size() == salvaged.names.size());
        for (size_t i = 0; i < salvaged.names.size(); ++i) {
            FUZZ_CHECK(IsValidProfileName(salvaged.names[i]));
            for (size_t j = 0; j < i; ++j) FUZZ_CHECK(!SameName(salvaged.names[i], salvaged.names[j]));
        }
        platform::ini::Document written = doc;
        WriteIndexedList(written, list, salvaged);
        const auto back = ReadIndexedList(platform::ini::Document::Parse(written.serialise()), list);
        FUZZ_CHECK(back.names == salvaged.names);
        FUZZ_CHECK(back.state == (salvaged.names.empty() ? IndexedList::State::FirstRun : IndexedList::State::Valid));
    }
    return 0;
}
