// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window's thread never waits for a device: the program names that thread here, and
// every exchange that starts on it anyway is counted and logged (a fault of the caller,
// which should have submitted a device job).

#include <cstdint>

namespace orvane::protocol {

/// The calling thread is the window's thread: no exchange may start on it.
void ForbidExchangesOnThisThread();
/// No thread is named any more (the window is gone).
void AllowExchangesOnAnyThread();
/// Exchanges started on the named thread so far.
uint64_t ExchangesOnForbiddenThread();
/// Called at the start of every exchange.
void NoteExchangeThread(const char* deviceTag);

}  // namespace orvane::protocol
