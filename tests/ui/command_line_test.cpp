// SPDX-License-Identifier: GPL-3.0-or-later
// The program's command line, parsed without starting anything.
#include <gtest/gtest.h>

#include "app/command_line.h"

namespace orvane::app {
namespace {

TEST(CommandLine, OptionsAndMistakes) {
    struct Case {
        QStringList args;
        const char* simulate;  // null: not simulating
        const char* screenshot;
        bool minimized;
        bool error;
    };
    const Case cases[] = {
        {{}, nullptr, nullptr, false, false},
        {{"--minimized"}, nullptr, nullptr, true, false},
        {{"--simulate", "--minimized"}, "kb,ms,mp", nullptr, true, false},
        {{"--simulate=ms2", "--screenshot", "/tmp/x.png"}, "ms2", "/tmp/x.png", false, false},
        {{"--screenshot=/tmp/y.png", "-platform", "offscreen", "--minimized"}, nullptr, "/tmp/y.png", true, false},
        {{"--minimised"}, nullptr, nullptr, false, true},
        {{"--minimized=yes"}, nullptr, nullptr, false, true},
        {{"--screenshot"}, nullptr, nullptr, false, true},
        {{"--simulate="}, "", nullptr, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const CommandLine line = ParseCommandLine(c.args);
        EXPECT_EQ(!line.error.isEmpty(), c.error) << line.error.toStdString();
        if (c.error) continue;
        EXPECT_EQ(line.simulate.has_value(), c.simulate != nullptr);
        if (c.simulate) {
            EXPECT_EQ(*line.simulate, QString(c.simulate));
        }
        EXPECT_EQ(line.screenshot.value_or(QString()), QString(c.screenshot ? c.screenshot : ""));
        EXPECT_EQ(line.minimized, c.minimized);
    }
    EXPECT_TRUE(QString(kUsage).contains("--minimized"));
}

TEST(CommandLine, SdkServerPortIsADecimalPortOrTheDefault) {
    struct Case {
        QStringList args;
        std::optional<uint16_t> port;
        bool error;
    };
    const Case cases[] = {
        {{}, std::nullopt, false},
        {{"--sdk-server"}, kDefaultSdkPort, false},
        {{"--sdk-server=1"}, 1, false},
        {{"--sdk-server=65535", "--simulate"}, 65535, false},
        {{"--sdk-server="}, std::nullopt, true},
        {{"--sdk-server=0"}, std::nullopt, true},
        {{"--sdk-server=65536"}, std::nullopt, true},
        {{"--sdk-server=-1"}, std::nullopt, true},
        {{"--sdk-server=+80"}, std::nullopt, true},
        {{"--sdk-server=0x50"}, std::nullopt, true},
        {{"--sdk-server=80 "}, std::nullopt, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const CommandLine line = ParseCommandLine(c.args);
        EXPECT_EQ(!line.error.isEmpty(), c.error) << line.error.toStdString();
        EXPECT_EQ(line.sdkServer, c.port);
    }
    EXPECT_TRUE(QString(kUsage).contains("--sdk-server[=PORT]"));
}

}  // namespace
}  // namespace orvane::app
namespace refusals {

TEST(ProgramCommandLine, EmptyValuesAreRefusedAsTheToolRefusesThem) {
    struct Case {
        QStringList args;
        QString error;
        QString simulate;
    } const cases[] = {
        {{"--simulate="}, "--simulate= needs a device list", ""},
        {{"--screenshot"}, "--screenshot needs a value", ""},
        {{"--screenshot="}, "--screenshot needs a path", ""},
        {{"--screenshot", ""}, "--screenshot needs a path", ""},
        {{"--simulate"}, "", "kb,ms,mp"},
        {{"--simulate=kb1,ms2"}, "", "kb1,ms2"},
        {{"--share"}, "--share goes with --simulate", ""},
        {{"--share", "--simulate=kb"}, "", "kb"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const auto line = orvane::app::ParseCommandLine(c.args);
        EXPECT_EQ(line.error, c.error);
        if (c.error.isEmpty()) EXPECT_EQ(line.simulate.value_or(""), c.simulate);
    }
}

}  // namespace refusals
