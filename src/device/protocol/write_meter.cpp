// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/protocol/write_meter.h"

#include <algorithm>

namespace orvane::protocol {

namespace {
thread_local WriteMeter* current = nullptr;
}  // namespace

WriteMeter::WriteMeter(Report report) : report_(std::move(report)), outer_(current) { current = this; }

WriteMeter::~WriteMeter() { current = outer_; }

void WriteMeter::Count(uint64_t bytes) {
    if (current) current->add(bytes);
}

void WriteMeter::add(uint64_t bytes) {
    written_ += bytes;
    if (planned_ == 0) return;
    // A write sent again after a refusal counts twice: the ring stays full rather than past it.
    const int percent = int(std::min<uint64_t>(written_ * 100 / planned_, 100));
    if (percent <= shown_) return;
    shown_ = percent;
    if (report_) report_(percent);
}

}  // namespace orvane::protocol
