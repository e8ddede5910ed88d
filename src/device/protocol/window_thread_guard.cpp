// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/protocol/window_thread_guard.h"

#include <atomic>
#include <string>
#include <thread>

#include "device/log.h"

namespace orvane::protocol {

namespace {
std::atomic<std::thread::id> gForbidden{};
std::atomic<uint64_t> gViolations{0};
}  // namespace

void ForbidExchangesOnThisThread() { gForbidden = std::this_thread::get_id(); }

void AllowExchangesOnAnyThread() { gForbidden = std::thread::id(); }

uint64_t ExchangesOnForbiddenThread() { return gViolations; }

void NoteExchangeThread(const char* deviceTag) {
    if (std::this_thread::get_id() != gForbidden.load(std::memory_order_relaxed)) return;
    ++gViolations;
    device::Log(std::string("an exchange with ") + deviceTag + " started on the window's thread");
}

}  // namespace orvane::protocol
