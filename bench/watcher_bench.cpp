// SPDX-License-Identifier: GPL-3.0-or-later
// What a profile watcher costs per two-second pass on its own thread (foreground answer
// given, so only the index reading and matching count), by the number of profiles in the
// list, every one linked and none matching (the longest pass); and reading a full-size
// update reply.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/atomic_file.h"
#include "profiles/app_watchers.h"
#include "update/update_protocol.h"

using namespace orvane;

namespace {

struct LinkedList {
    std::filesystem::path folder;
    keyboard::KeyboardModel keyboard;
    mouse::MouseModel mouse;
    mousepad::PadModel pad;
    std::unique_ptr<profiles::ProfileStore> store;

    explicit LinkedList(int count) {
        std::string pattern = (std::filesystem::temp_directory_path() / "orvane-bench-XXXXXX").string();
        folder = ::mkdtemp(pattern.data());
        store = std::make_unique<profiles::ProfileStore>(folder, std::vector<std::filesystem::path>{},
                                                         profiles::DeviceModels{&keyboard, &mouse, &pad});
        std::string names = "[PROFILENAME]\n", flags = "[PROFILELIKEEXE]\n", paths = "[PROCESS]\n";
        profiles::ProfileList list;
        for (int i = 0; i < count; ++i) {
            const auto n = std::to_string(i);
            names += n + "=Profile " + n + "\n";
            flags += n + "=1\n";
            paths += n + "=/opt/games/game" + n + "/bin/game" + n + ".x86_64\n";
            list.names.push_back("Profile " + n);
        }
        list.selection = 0;
        platform::WriteFileAtomically(store->indexPath(profiles::ListId::MouseKeys),
                                      "[PROFILECOUNT]\ncount=" + std::to_string(count) + "\n" + names + flags + paths +
                                          "[PROFILESELECT]\nselect=0\n");
        store->setList(profiles::ListId::MouseKeys, std::move(list));
    }
    ~LinkedList() {
        std::error_code ec;
        std::filesystem::remove_all(folder, ec);
    }
};

void BM_WatcherPassNoMatch(benchmark::State& state) {
    LinkedList list(int(state.range(0)));
    int handed = 0;
    profiles::ProfileWatcher watcher(
        profiles::ListId::MouseKeys, *list.store, [] { return std::optional<std::string>("/usr/bin/some-editor"); },
        [&](const profiles::WatcherChoice&, std::stop_token) { ++handed; });
    for (auto _ : state) benchmark::DoNotOptimize(watcher.pass());
    if (handed) state.SkipWithError("a pass without a match handed a choice over");
}
BENCHMARK(BM_WatcherPassNoMatch)->Arg(5)->Arg(50)->Arg(1000)->Unit(benchmark::kMicrosecond);

void BM_ParseFullReply(benchmark::State& state) {
    const std::string reply = R"({"Result_Code":"1","Data":{"version":"1.0.6","notes":")" + std::string(960, 'x') + "\"}}";
    for (auto _ : state) benchmark::DoNotOptimize(update::ParseReply(reply));
}
BENCHMARK(BM_ParseFullReply);

}  // namespace
