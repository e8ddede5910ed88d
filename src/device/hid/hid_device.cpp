// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/hid/hid_device.h"

#include "device/hid/input_report.h"

namespace orvane::hid {

HidDevice::HidDevice(Backend& backend) : backend_(backend) {}

HidDevice::~HidDevice() { close(); }

bool HidDevice::enumeratePaths() {
    pathCursor = 0;
    pathList.clear();
    if (!backend_.enumerate(pathList)) {
        pathList.clear();
        return false;
    }
    return true;
}

void HidDevice::freePaths() {
    pathList.clear();
    pathList.shrink_to_fit();
    pathCursor = 0;
}

bool HidDevice::open(OpenError* error) {
    close();
    std::shared_ptr<Handle> handle = backend_.open(path, mode, error);
    if (!handle) return false;
    const ReportLayout& layout = handle->layout();
    inputReport.assign(layout.inputReportByteLength, 0);
    inputItems = BuildInputItems(layout);
    std::lock_guard lock(handleMutex_);
    handle_ = std::move(handle);
    return true;
}

void HidDevice::close() {
    std::shared_ptr<Handle> old;
    {
        std::lock_guard lock(handleMutex_);
        old = std::move(handle_);
    }
    // A reader on another thread keeps its own reference; abort makes it return at once and
    // the handle closes when the last reference goes.
    if (old) old->abort();
}

bool HidDevice::isOpen() const { return current() != nullptr; }

bool HidDevice::probePresent() const { return !path.empty() && backend_.probePresent(path); }

InterfaceInfo HidDevice::attributes() const {
    auto h = current();
    return h ? h->info() : InterfaceInfo{};
}

ReportLayout HidDevice::caps() const {
    auto h = current();
    return h ? h->layout() : ReportLayout{};
}

bool HidDevice::readReport(std::span<uint8_t> buffer, int timeoutMs, size_t& transferred) {
    transferred = 0;
    auto h = current();
    return h && h->read(buffer, timeoutMs, transferred);
}

bool HidDevice::writeReport(std::span<const uint8_t> report, size_t& transferred) {
    transferred = 0;
    auto h = current();
    return h && h->write(report, kWriteTimeoutMs, transferred);
}

size_t HidDevice::drainInput() {
    auto h = current();
    return h ? h->drainInput(kDrainLimit) : 0;
}

void HidDevice::abort() {
    if (auto h = current()) h->abort();
}

bool HidDevice::unpackInput(size_t length) {
    auto h = current();
    if (!h) return false;
    if (length > inputReport.size()) length = inputReport.size();
    return UnpackInputReport(inputItems, std::span(inputReport.data(), length), h->layout());
}

std::shared_ptr<Handle> HidDevice::current() const {
    std::lock_guard lock(handleMutex_);
    return handle_;
}

}  // namespace orvane::hid
