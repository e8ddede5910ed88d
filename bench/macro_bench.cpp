// SPDX-License-Identifier: GPL-3.0-or-later
// Macros: opening a long macro into the editor's list and recording into it (UI-thread
// work, each against a 100 ms budget), and the uploads over the emulator's 1 ms link
// against the link's limit: a full 3072-byte cursor image (55 chunks) and a whole apply
// (the macro image, then the key bank).

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "device/discovery.h"
#include "device/protocol/commands.h"
#include "keyboard/keyboard_records.h"
#include "macros/action_file.h"
#include "macros/action_tables.h"
#include "macros/cursor_store.h"
#include "macros/macro_document.h"
#include "macros/macro_recorder.h"
#include "macros/macro_store.h"
#include "macros/macro_transfer.h"
#include "platform/ini_file.h"
#include "sim/emulator.h"
#ifdef ORVANE_BENCH_UI
#include "ui/macro_list_model.h"
#endif

using namespace orvane;
namespace fs = std::filesystem;

namespace {

/// A data folder of its own for the run.
struct Folder {
    fs::path path;
    Folder() {
        std::string pattern = (fs::temp_directory_path() / "orvane-bench-XXXXXX").string();
        path = ::mkdtemp(pattern.data());
    }
    ~Folder() {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
};

std::vector<std::string> KeyLines(int n) {
    std::vector<std::string> lines;
    for (int i = 0; i < n; ++i) {
        macros::ActionLine a = macros::KeyAction(macros::MacroKeys()[size_t(8 + i % 26)], i % 2 == 0);
        a.setDelayUnits(i % 300);
        lines.push_back(macros::FormatActionLine(a));
    }
    return lines;
}

struct StoreWithMacro {
    Folder folder;
    macros::MacroStore store{folder.path, {}};
    explicit StoreWithMacro(int actions) {
        store.AddMacro(macros::MacroSet::Keyboard);
        store.SaveMacro(macros::MacroSet::Keyboard, "Macro_1", KeyLines(actions));
    }
};

// Selecting a macro of 8,000 actions: its file read and parsed, the list filled.
void BM_OpenMacro8000(benchmark::State& state) {
    StoreWithMacro s(8000);
    macros::MacroDocument document;
#ifdef ORVANE_BENCH_UI
    ui::MacroListModel model(document);
#endif
    for (auto _ : state) {
        document.load(s.store.LoadMacro(macros::MacroSet::Keyboard, "Macro_1"));
        benchmark::DoNotOptimize(document.size());
    }
    state.counters["budget_ms"] = 100;
}
BENCHMARK(BM_OpenMacro8000)->Unit(benchmark::kMillisecond);

// 1,000 captured key events recorded into an open macro of 8,000 actions.
void BM_Record1000Events(benchmark::State& state) {
    const auto base = KeyLines(8000);
    macros::MacroDocument document;
#ifdef ORVANE_BENCH_UI
    ui::MacroListModel model(document);
#endif
    const auto resolve = [](uint16_t key, bool) -> std::optional<size_t> { return 8 + key % 26; };
    for (auto _ : state) {
        state.PauseTiming();
        document.load(base);
        macros::MacroRecorder recorder({}, resolve, 0);
        state.ResumeTiming();
        for (int i = 0; i < 1000; ++i) {
            functions::CapturedInput e;
            e.linuxKey = uint16_t(i / 2);
            e.pressed = i % 2 == 0;
            e.timeMs = 37 * i;
            recorder.feed(e, document);
        }
        benchmark::DoNotOptimize(document.size());
    }
    state.counters["budget_ms"] = 100;
}
BENCHMARK(BM_Record1000Events)->Unit(benchmark::kMillisecond);

struct LinkBench {
    sim::EmulatorBackend backend;
    protocol::DeviceConnection connection;
    LinkBench(device::DeviceModel model, device::DeviceKind kind) : connection(backend, "dev") {
        backend.setLink({std::chrono::microseconds(1000)});
        backend.add(model);
        if (device::ConnectFirst(kind, connection) != device::ConnectError::None) std::abort();
    }
};

// A 3,072-byte cursor image: 55 chunks of command 23 at 1 ms each.
void BM_CursorImage3072Write(benchmark::State& state) {
    LinkBench b(device::DeviceModel::Mouse, device::DeviceKind::Mouse);
    std::vector<macros::ImageEntry> entries(4, macros::ImageEntry(180));
    entries[3].resize(180 + 38);  // 16 + 24 + 4 x 758 = 3072
    const auto image = *macros::BuildImage(entries);
    if (image.size() != 3072) std::abort();
    for (auto _ : state)
        if (protocol::WriteCursorBlob(b.connection, image) != protocol::kOk) state.SkipWithError("write failed");
    state.counters["link_limit_ms"] = 55;
}
BENCHMARK(BM_CursorImage3072Write)->UseRealTime()->Unit(benchmark::kMillisecond)->MinTime(1.0);

// The same image as the cursor page's upload sends it: files read, begin, 55 chunks, end
// (which waits 10 ms): 57 reports and the wait.
void BM_CursorUpload3072(benchmark::State& state) {
    LinkBench b(device::DeviceModel::Mouse, device::DeviceKind::Mouse);
    Folder folder;
    macros::MacroStore store(folder.path, {});
    for (int k = 0; k < 4; ++k) {
        platform::IniFile(store.indexPath(macros::MacroSet::Mouse))
            .writeString(macros::kCursorNameSection, std::to_string(k), macros::DefaultSequenceName(k));
        macros::WriteActionFile(*store.namedPath(macros::MacroSet::Mouse, macros::DefaultSequenceName(k), ".cur"),
                                KeyLines(k == 3 ? 218 : 180));
    }
    platform::IniFile(store.indexPath(macros::MacroSet::Mouse)).writeInt(macros::kCursorCountSection, "count", 4);
    for (auto _ : state) {
        const auto r = macros::UploadCursorSequences(b.connection, store);
        if (r.outcome != macros::UploadResult::Outcome::Sent || r.imageSize != 3072) state.SkipWithError("not sent");
    }
    state.counters["link_limit_ms"] = 57 + protocol::kEndTransferDelayMs;
}
BENCHMARK(BM_CursorUpload3072)->UseRealTime()->Unit(benchmark::kMillisecond)->MinTime(1.0);

// The keyboard's apply: the macro image (ten macros of 50 actions, 2,076 bytes: 38 chunks) in its
// bracket, then bank 0 (512 bytes: 10 chunks) in its own.
void BM_KeyboardApply(benchmark::State& state) {
    LinkBench b(device::DeviceModel::RgbKeyboard, device::DeviceKind::Keyboard);
    Folder folder;
    macros::MacroStore store(folder.path, {});
    for (int i = 0; i < 10; ++i) {
        store.AddMacro(macros::MacroSet::Keyboard);
        store.SaveMacro(macros::MacroSet::Keyboard, "Macro_" + std::to_string(i + 1), KeyLines(50));
    }
    keyboard::KeyTable bank;
    for (auto _ : state) {
        const auto r = macros::UploadMacros(b.connection, store, macros::MacroSet::Keyboard, 4096);
        if (r.outcome != macros::UploadResult::Outcome::Sent) state.SkipWithError("macros not sent");
        protocol::BeginTransfer(b.connection);
        if (protocol::WriteBank(b.connection, 0, bank.bytes) != protocol::kOk) state.SkipWithError("bank not sent");
        protocol::EndTransfer(b.connection);
    }
    // 2 + 38 + 2 + 10 reports and two 10 ms waits.
    state.counters["link_limit_ms"] = 52 + 2 * protocol::kEndTransferDelayMs;
}
BENCHMARK(BM_KeyboardApply)->UseRealTime()->Unit(benchmark::kMillisecond)->MinTime(1.0);

}  // namespace
