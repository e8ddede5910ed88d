// SPDX-License-Identifier: GPL-3.0-or-later
// The keyboard lighting preview as the window paints it: the picture of the skin with its
// 104 key cells lit in different colours, painted whole (what a frame of an animation costs
// the window's thread at worst). With the keys' legends drawn over the colours and without.

#ifdef ORVANE_BENCH_UI

#include <benchmark/benchmark.h>

#include "bench_app.h"

#include <QApplication>
#include <QPixmap>

#include "ui/preview.h"
#include "ui/skin_loader.h"

using namespace orvane;

namespace {

void BM_PaintKeyboardPreview(benchmark::State& state) {
    const bool legends = state.range(0) != 0;
    QApplication& app = bench::Application();
    const ui::SkinLoader skin(QStringLiteral(ORVANE_SOURCE_DIR "/skin"));
    QWidget window;
    if (!skin.load(QStringLiteral("XML_MAIN"), &window)) {
        state.SkipWithError("the skin's main layout does not load");
        return;
    }
    QWidget* picture = window.findChild<QWidget*>(QStringLiteral("kb_lighting_picture"));
    if (!picture) {
        state.SkipWithError("no keyboard picture");
        return;
    }
    std::vector<ui::PreviewOverlay*> cells;
    for (int i = 0; i < 126; ++i) {
        QWidget* cell = picture->findChild<QWidget*>(QStringLiteral("kb_dkey_%1").arg(i));
        if (!cell || cell->isHidden()) continue;
        if (!legends) cell->setProperty("legend", QVariant());
        cells.push_back(ui::Preview::enable(cell));
    }
    window.show();
    app.processEvents();
    uint8_t shift = 0;
    for (auto _ : state) {
        ++shift;
        for (size_t i = 0; i < cells.size(); ++i)
            cells[i]->set(ui::Preview::PackGbr(uint8_t(i * 7 + shift), uint8_t(i * 3), uint8_t(255 - i)), 255);
        QPixmap frame = picture->grab();
        benchmark::DoNotOptimize(frame);
    }
    state.counters["cells"] = double(cells.size());
}
BENCHMARK(BM_PaintKeyboardPreview)->Arg(1)->Arg(0)->ArgName("legends")->Unit(benchmark::kMillisecond);

}  // namespace

#endif  // ORVANE_BENCH_UI
