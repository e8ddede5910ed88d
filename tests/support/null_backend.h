// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A HID backend with no device at all: for tests that need a runtime but no device.

#include "device/hid/hid_backend.h"

namespace testing_support {

class NullBackend final : public orvane::hid::Backend {
public:
    std::string name() const override { return "none"; }
    bool enumerate(std::vector<orvane::hid::InterfaceInfo>& out) override {
        out.clear();
        return true;
    }
    std::unique_ptr<orvane::hid::Handle> open(const std::string&, const orvane::hid::OpenMode&,
                                              orvane::hid::OpenError* error) override {
        if (error) *error = orvane::hid::OpenError::NotFound;
        return nullptr;
    }
    bool probePresent(const std::string&) override { return false; }
};

}  // namespace testing_support
