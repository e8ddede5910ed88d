// SPDX-License-Identifier: GPL-3.0-or-later
// The macro editor page as the window runs it: its layout loaded from the skin and shown,
// the action list a view over the document. Opening a macro of 8,000 actions (file read,
// parse, model reset, the view laid out and painted) and recording 1,000 captured events
// into it (each appended, the view kept at the end, then painted), both UI-thread work
// against a 100 ms budget.

#ifdef ORVANE_BENCH_UI

#include <benchmark/benchmark.h>

#include "bench_app.h"

#include <QAbstractButton>
#include <QApplication>
#include <QAbstractItemView>
#include <QListWidget>

#include <unistd.h>

#include <filesystem>

#include "macros/action_tables.h"
#include "macros/macro_store.h"
#include "platform/pointer_settings.h"
#include "runtime/runtime.h"
#include "sim/emulator.h"
#include "ui/control_index.h"
#include "ui/notification.h"
#include "ui/pages/macro_page.h"
#include "ui/skin_loader.h"

using namespace orvane;
namespace fs = std::filesystem;

namespace {

/// The keyboard's macro page on its own layout, over a data folder holding Macro_1 of
/// `actions` actions and a one-action Macro_2.
struct PageBench {
    QApplication& app = bench::Application();  // before any widget
    fs::path folder;
    sim::EmulatorBackend backend;
    std::unique_ptr<runtime::Runtime> rt;
    QWidget root;
    ui::ControlIndex controls;
    std::unique_ptr<ui::pages::MacroPage> page;
    int64_t now = 0;

    explicit PageBench(int actions, bool shown = true) {
        std::string pattern = (fs::temp_directory_path() / "orvane-page-bench-XXXXXX").string();
        folder = ::mkdtemp(pattern.data());
        runtime::RuntimeOptions o;
        o.backend = &backend;
        o.dataFolder = folder;
        o.pointerBackend = platform::MakeFallbackPointerBackend();
        o.pointerLog = [](std::string_view) {};
        o.deliverToCreatingThread = false;
        o.jobThreads = false;
        rt = std::make_unique<runtime::Runtime>(std::move(o));
        std::vector<std::string> lines;
        for (int i = 0; i < actions; ++i) {
            macros::ActionLine a = macros::KeyAction(macros::MacroKeys()[size_t(8 + i % 26)], i % 2 == 0);
            a.setDelayUnits(i % 300);
            lines.push_back(macros::FormatActionLine(a));
        }
        auto& store = rt->macroStore;
        store.AddMacro(macros::MacroSet::Keyboard);
        store.SaveMacro(macros::MacroSet::Keyboard, "Macro_1", lines);
        store.AddMacro(macros::MacroSet::Keyboard);
        store.SaveMacro(macros::MacroSet::Keyboard, "Macro_2", std::vector<std::string>{lines.front()});

        ui::SkinLoader skin(QStringLiteral(ORVANE_SOURCE_DIR "/skin"));
        skin.load(QStringLiteral("keyboard_macro.ui"), &root);
        controls.add(&root);
        ui::pages::MacroPageServices s;
        s.startCapture = [](int, bool, bool) { return true; };
        s.stopCapture = [] {};
        s.clock = [this] { return now; };
        page = std::make_unique<ui::pages::MacroPage>([this](const QString& n) { return controls.find(n); }, *rt,
                                                      ui::pages::kMacroPages[0], s);
        page->prepare();  // opens Macro_2, the last
        root.resize(1100, 560);
        if (shown) root.show();
        QApplication::processEvents();
    }
    ~PageBench() {
        page.reset();
        rt.reset();
        std::error_code ec;
        fs::remove_all(folder, ec);
    }

    void notify(const char* type, const char* control) {
        QWidget* w = controls.find(QLatin1String(control));
        page->bindings().dispatch({QLatin1String(type), QLatin1String(control), w});
    }
    void open(int row) {
        auto* list = controls.find<QListWidget>(QStringLiteral("kb_MacroName_list"));
        list->blockSignals(true);
        list->setCurrentRow(row);
        list->blockSignals(false);
        notify("itemselect", "kb_MacroName_list");
    }
    void paint() { controls.find<QAbstractItemView>(QStringLiteral("kb_Macro_list"))->viewport()->repaint(); }
};

void BM_PageOpenMacro8000(benchmark::State& state) {
    PageBench b(8000);
    for (auto _ : state) {
        state.PauseTiming();
        b.open(1);
        b.paint();
        state.ResumeTiming();
        b.open(0);
        b.paint();
        benchmark::DoNotOptimize(b.page->document().size());
    }
    if (b.page->document().size() != 8000) state.SkipWithError("the macro did not open");
    state.counters["budget_ms"] = 100;
}
BENCHMARK(BM_PageOpenMacro8000)->Unit(benchmark::kMillisecond)->MinTime(1.0);

/// Argument 0: the events arrive as one burst. 1: the window's loop runs after every event
/// (the list scrolls and is painted each time), as when a user types. 2: as 1 with the page
/// not shown, which leaves the recording's own work without the painting.
void BM_PageRecord1000Events(benchmark::State& state) {
    const bool oneByOne = state.range(0) != 0;
    PageBench b(8000, state.range(0) != 2);
    b.open(0);
    for (auto _ : state) {
        state.PauseTiming();
        b.notify("click", "kb_macro_btn_cancel");  // back to the stored 8,000
        b.notify("click", "kb_macro_btn_redio");   // recording
        b.paint();
        state.ResumeTiming();
        for (int i = 0; i < 1000; ++i) {
            functions::CapturedInput e;
            e.linuxKey = uint16_t(16 + (i / 2) % 10);  // Q ... P
            e.pressed = i % 2 == 0;
            e.timeMs = b.now + 37 * i;
            b.page->record(e);
            if (oneByOne) QApplication::processEvents();
        }
        QApplication::processEvents();  // the list scrolled to the newest row
        b.paint();
        state.PauseTiming();
        b.notify("click", "kb_macro_btn_redio");
        state.ResumeTiming();
    }
    if (b.page->document().size() != 9000) state.SkipWithError("the events were not recorded");
    state.counters["budget_ms"] = 100;
}
BENCHMARK(BM_PageRecord1000Events)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->MinTime(1.0);

}  // namespace

#endif  // ORVANE_BENCH_UI
