// SPDX-License-Identifier: GPL-3.0-or-later
// One QCoreApplication for the unit tests that deliver to a thread's event loop (the
// dispatcher to the window's thread); created once on the main thread.
#include <gtest/gtest.h>

#include <QCoreApplication>

#include <memory>

namespace {

class QtCoreEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "orvane_unit_tests";
        static char* argv[] = {name, nullptr};
        app_ = std::make_unique<QCoreApplication>(argc, argv);
    }
    void TearDown() override { app_.reset(); }

private:
    std::unique_ptr<QCoreApplication> app_;
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new QtCoreEnvironment);

}  // namespace
