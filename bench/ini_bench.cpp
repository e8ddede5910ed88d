// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a profile index that a hand edit or a faulty tool filled with blank lines: the
// parse and the judgement of both keyboard lists, as a start or `orvanectl profiles kb`
// does them, by the number of blank lines inside the key list's name section. The time
// must grow with the file's length, not with its square.

#include <benchmark/benchmark.h>

#include <string>

#include "platform/ini_text.h"
#include "profiles/profile_index.h"

using namespace orvane;

namespace {

std::string IndexWithBlankLines(int blanks) {
    std::string text =
        "[PROFILEDENGCOUNT]\ncount=1\n[PROFILEDENGNAME]\n0=New Profile 1\n[PROFILEDENGSELECT]\nselect=0\n"
        "[PROFILECOUNT]\ncount=2\n[PROFILENAME]\n0=New Profile 1\n";
    text.append(size_t(blanks), '\n');
    text += "1=Game\n[PROFILELIKEEXE]\n0=0\n1=1\n[PROCESS]\n1=/usr/games/game\n[PROFILESELECT]\nselect=1\n";
    return text;
}

void BM_ReadIndexWithBlankLines(benchmark::State& state) {
    const std::string text = IndexWithBlankLines(int(state.range(0)));
    for (auto _ : state) {
        const auto doc = platform::ini::Document::Parse(text);
        benchmark::DoNotOptimize(profiles::HasAnyListSection(doc, "kbProfile.ini"));
        for (const auto id : profiles::kKeyboardLists) {
            const auto list = profiles::ReadIndexedList(doc, profiles::ListSpecOf(id));
            if (list.state != profiles::IndexedList::State::Valid) state.SkipWithError("the list did not read");
            benchmark::DoNotOptimize(list);
        }
    }
}
BENCHMARK(BM_ReadIndexWithBlankLines)->Arg(25'000)->Arg(50'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

}  // namespace
