// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/lighting_previews.h"

#include <algorithm>

#include "runtime/runtime.h"

namespace orvane::app {

namespace {

size_t FirstCell(lighting::LightingDevice device) { return FirstPreviewCellOf(runtime::KindOf(device)); }
size_t CellCount(lighting::LightingDevice device) { return PreviewCellsOf(runtime::KindOf(device)); }

}  // namespace

PreviewCoalescer::PreviewCoalescer(OverlayAt overlayAt, QObject* parent)
    : QObject(parent), overlayAt_(std::move(overlayAt)) {
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, [this] { apply(); });
}

void PreviewCoalescer::show(lighting::LightingDevice device, std::span<const lighting::PreviewCell> cells) {
    const size_t first = FirstCell(device);
    const size_t n = std::min(cells.size(), CellCount(device));
    bool changed = false;
    for (size_t i = 0; i < n; ++i) {
        if (!cells[i].painted) continue;
        const uint32_t packed = uint32_t(cells[i].alpha) << 24 | (cells[i].colour & 0xFFFFFF);
        if (cells_[first + i].exchange(packed, std::memory_order_relaxed) != packed) changed = true;
    }
    // One hop to the UI thread per screen frame at most: the next show() after an update
    // arms the timer again.
    if (changed && !pending_.exchange(true)) QMetaObject::invokeMethod(this, [this] { arm(); }, Qt::QueuedConnection);
}

void PreviewCoalescer::arm() {
    const auto sinceLast = std::chrono::steady_clock::now() - lastApply_;
    const auto wait = std::max(std::chrono::milliseconds(0),
                               kFramePeriod - std::chrono::duration_cast<std::chrono::milliseconds>(sinceLast));
    timer_.start(wait);
}

void PreviewCoalescer::apply() {
    pending_.exchange(false);  // takes in the cells written so far; later ones arm the next update
    lastApply_ = std::chrono::steady_clock::now();
    for (size_t i = 0; i < kCellCount; ++i) {
        const uint32_t packed = cells_[i].load(std::memory_order_relaxed);
        if (auto* overlay = overlayAt_(i)) overlay->set(packed & 0xFFFFFF, uint8_t(packed >> 24));
    }
    ++updates_;
}

}  // namespace orvane::app
