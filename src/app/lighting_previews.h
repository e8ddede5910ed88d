// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The lighting previews on the UI thread. Workers hand over each frame's preview cells
// (lock-free, never waiting); the latest value of every cell is kept, and the overlays are
// updated at most once per screen frame, from one timer armed by the first change after
// the last update. Nothing runs while no frame arrives.

#include <QObject>
#include <QTimer>

#include <array>
#include <atomic>
#include <chrono>
#include <functional>

#include "app/preview_layout.h"
#include "lighting/animation_engine.h"
#include "ui/preview.h"

namespace orvane::app {

class PreviewCoalescer final : public QObject, public lighting::PreviewSink {
public:
    /// Mouse cells 0-19, mousepad 20-34, keyboard 35-160: the window's preview order.
    static constexpr size_t kCellCount = kPreviewCellCount;
    static constexpr std::chrono::milliseconds kFramePeriod{16};
    using OverlayAt = std::function<ui::PreviewOverlay*(size_t cell)>;

    /// Lives on the thread it is created on (the UI thread); overlayAt is called there.
    explicit PreviewCoalescer(OverlayAt overlayAt, QObject* parent = nullptr);

    /// Any thread.
    void show(lighting::LightingDevice device, std::span<const lighting::PreviewCell> cells) override;
    /// How many times the overlays were updated (tests).
    uint64_t updates() const { return updates_; }
    /// The latest value of a cell: alpha << 24 | (G << 16) | (B << 8) | R.
    uint32_t cell(size_t index) const { return cells_[index]; }

private:
    void arm();
    void apply();

    OverlayAt overlayAt_;
    std::array<std::atomic<uint32_t>, kCellCount> cells_{};
    std::atomic<bool> pending_{false};
    std::atomic<uint64_t> updates_{0};
    QTimer timer_;
    std::chrono::steady_clock::time_point lastApply_{};
};

}  // namespace orvane::app
