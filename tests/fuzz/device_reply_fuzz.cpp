// SPDX-License-Identifier: GPL-3.0-or-later
// A hostile device: every reply of a read-back, slot read or slot switch comes from the
// input (any status, any length byte, any data, or none at all). Nothing may crash, read or
// write out of bounds, or loop past the tables, and the keyboard's bank length stays within
// its tables.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstring>
#include <deque>

#include "device/discovery.h"
#include "device/protocol/connection.h"
#include "fuzz_check.h"
#include "keyboard/keyboard_device.h"
#include "mouse/mouse_device.h"
#include "mousepad/pad_device.h"

using namespace orvane;

namespace {

/// One configuration interface whose replies are the fuzzer's bytes, 64 at a time.
class ReplayBackend : public hid::Backend {
public:
    explicit ReplayBackend(FuzzedDataProvider& input) : input_(input) {}
    std::string name() const override { return "replay"; }
    bool enumerate(std::vector<hid::InterfaceInfo>& out) override {
        out = {info_};
        return true;
    }
    std::unique_ptr<hid::Handle> open(const std::string&, const hid::OpenMode&, hid::OpenError*) override {
        return std::make_unique<ReplayHandle>(*this);
    }
    bool probePresent(const std::string&) override { return true; }
    hid::InterfaceInfo info_{"replay:0", 0x0C45, 0x5523, 0x100, 0xFF1C, 0x0092, 1, ""};

private:
    class ReplayHandle : public hid::Handle {
    public:
        explicit ReplayHandle(ReplayBackend& b) : b_(b) {
            layout_.usagePage = 0xFF1C;
            layout_.usage = 0x0092;
            layout_.inputReportByteLength = 64;
            layout_.outputReportByteLength = 64;
        }
        const hid::InterfaceInfo& info() const override { return b_.info_; }
        const hid::ReportLayout& layout() const override { return layout_; }
        bool write(std::span<const uint8_t> bytes, int, size_t& transferred) override {
            transferred = bytes.size();
            if (b_.input_.remaining_bytes() == 0) return b_.input_.ConsumeBool();  // silent, or unplugged
            // Most replies answer; some stay silent, some come twice (a late one).
            const int replies = b_.input_.ConsumeIntegralInRange(0, 7) == 0 ? 0 : 1 + (b_.input_.ConsumeIntegralInRange(0, 15) == 0);
            for (int i = 0; i < replies; ++i) {
                auto reply = b_.input_.ConsumeBytes<uint8_t>(64);
                reply.resize(64, 0);
                b_.queue_.push_back(reply);
            }
            return true;
        }
        bool read(std::span<uint8_t> buffer, int, size_t& transferred) override {
            transferred = 0;
            if (b_.queue_.empty()) return false;
            const auto& reply = b_.queue_.front();
            transferred = std::min(buffer.size(), reply.size());
            std::memcpy(buffer.data(), reply.data(), transferred);
            b_.queue_.pop_front();
            return true;
        }
        void abort() override {}

    private:
        ReplayBackend& b_;
        hid::ReportLayout layout_;
    };
    FuzzedDataProvider& input_;
    std::deque<std::vector<uint8_t>> queue_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const int operation = input.ConsumeIntegralInRange(0, 6);
    ReplayBackend backend(input);
    protocol::DeviceConnection c(backend, "fz");
    c.device.path = "replay:0";
    if (!c.device.open()) return 0;
    c.connected = true;
    c.replyTimeoutMs = 0;
    c.endTransferDelayMs = 0;
    keyboard::KeyboardModel keyboard;
    mouse::MouseModel mouse;
    mousepad::PadModel pad;
    switch (operation) {
    case 0: {
        const auto r = keyboard::ReadBackKeyboard(c, keyboard);
        FUZZ_CHECK(c.blockLength <= keyboard::kKeyTableSize);
        if (r.ok()) FUZZ_CHECK(keyboard.snapshot().info.keyCount() * 3 == c.blockLength);
        break;
    }
    case 1: mouse::ReadBackMouse(c, mouse); break;
    case 2: mouse::ReadMouseSlotRecords(c, mouse); break;
    case 3: mouse::ReloadMouseSlotZero(c, mouse); break;
    case 4: mouse::SelectMouseSlot(c, mouse, input.ConsumeIntegralInRange(0u, 6u)); break;
    case 5: mousepad::ReadBackPad(c, pad); break;
    case 6: mousepad::SelectPadSlot(c, pad, input.ConsumeIntegralInRange(0u, 6u)); break;
    }
    const auto state = mouse.snapshot().state;
    (void)state.activeSlot();
    return 0;
}
