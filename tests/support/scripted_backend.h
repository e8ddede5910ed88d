// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A one-interface HID backend for protocol tests: it records every report written and
// answers each with whatever the test's responder returns (by default an echo of the request
// with status 0 whose data bytes count up from the request's offset).

#include <chrono>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <vector>

#include "device/hid/hid_backend.h"
#include "device/protocol/report.h"

namespace orvane::test {

using protocol::Report;

class ScriptedBackend : public hid::Backend {
public:
    /// request, its 0-based index → reply (nullopt: stay silent)
    using Responder = std::function<std::optional<Report>(const Report&, size_t)>;

    static Report DefaultReply(const Report& request) {
        Report reply = request;
        reply[protocol::off::status] = 0;
        const unsigned offset = protocol::ReadLe16(request, protocol::off::offset);
        for (size_t i = 0; i < protocol::kChunkSize; ++i)
            reply[protocol::off::data + i] = static_cast<uint8_t>(offset + i);
        return reply;
    }

    Responder responder = [](const Report& r, size_t) { return DefaultReply(r); };
    bool failWrites = false;

    std::vector<Report> written() {
        std::lock_guard lock(mutex_);
        return written_;
    }
    size_t writeCount() {
        std::lock_guard lock(mutex_);
        return written_.size();
    }

    std::string name() const override { return "scripted"; }
    bool enumerate(std::vector<hid::InterfaceInfo>& out) override {
        out = {info_};
        return true;
    }
    std::unique_ptr<hid::Handle> open(const std::string& path, const hid::OpenMode&, hid::OpenError*) override {
        if (path != info_.path) return nullptr;
        return std::make_unique<ScriptedHandle>(*this);
    }
    bool probePresent(const std::string& path) override { return path == info_.path; }

    hid::InterfaceInfo info_{"scripted:0", 0x0C45, 0x5523, 0x100, 0xFF1C, 0x0092, 1, ""};

private:
    class ScriptedHandle : public hid::Handle {
    public:
        explicit ScriptedHandle(ScriptedBackend& b) : b_(b) {
            layout_.usagePage = 0xFF1C;
            layout_.usage = 0x0092;
            layout_.inputReportByteLength = 64;
            layout_.outputReportByteLength = 64;
        }
        const hid::InterfaceInfo& info() const override { return b_.info_; }
        const hid::ReportLayout& layout() const override { return layout_; }
        bool write(std::span<const uint8_t> bytes, int, size_t& transferred) override {
            std::lock_guard lock(b_.mutex_);
            transferred = 0;
            if (b_.failWrites || bytes.size() != 64) return false;
            Report r{};
            std::memcpy(r.data(), bytes.data(), 64);
            b_.written_.push_back(r);
            if (auto reply = b_.responder(r, b_.written_.size() - 1)) b_.replies_.push_back(*reply);
            b_.changed_.notify_all();
            transferred = 64;
            return true;
        }
        bool read(std::span<uint8_t> buffer, int timeoutMs, size_t& transferred) override {
            std::unique_lock lock(b_.mutex_);
            transferred = 0;
            const uint64_t aborts = aborts_;
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
            while (b_.replies_.empty() && aborts == aborts_)
                if (b_.changed_.wait_until(lock, deadline) == std::cv_status::timeout) break;
            if (b_.replies_.empty() || aborts != aborts_) return false;
            std::memcpy(buffer.data(), b_.replies_.front().data(), std::min<size_t>(64, buffer.size()));
            b_.replies_.pop_front();
            transferred = 64;
            return true;
        }
        void abort() override {
            std::lock_guard lock(b_.mutex_);
            ++aborts_;
            b_.changed_.notify_all();
        }

    private:
        ScriptedBackend& b_;
        hid::ReportLayout layout_;
        uint64_t aborts_ = 0;
    };

    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Report> written_;
    std::deque<Report> replies_;
};

}  // namespace orvane::test
