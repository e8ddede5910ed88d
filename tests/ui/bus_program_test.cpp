// SPDX-License-Identifier: GPL-3.0-or-later
// A command orvanectl hands to the running program (cli::RunInProgram, what the D-Bus
// service's Run does) in the program on emulated devices: it runs with the program's own
// sessions, and the open pages show what it changed by the time its answer goes back — the
// events it raised arrive before the answer — and the window keeps it afterwards.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QAbstractButton>

#include "app/features.h"
#include "program_rig.h"
#include "tools/command_host.h"

using namespace orvane;
using device::DeviceModel;

namespace {

struct HostRig : programtest::ProgramRig {
    HostRig() : ProgramRig(Options()) {}
    static programtest::RigOptions Options() {
        programtest::RigOptions o;
        o.models = {DeviceModel::RgbKeyboard, DeviceModel::Mouse, DeviceModel::Mousepad};
        o.features = std::vector<std::string_view>{"presence", "profiles", "mouse page", "mousepad page", "lighting",
                                                   "lighting pages", "key pages", "pages"};
        return o;
    }
    /// Runs the line in the program; `check` runs when the answer is delivered, before the
    /// window's loop gets to anything else.
    cli::HostedResult run(std::vector<std::string> args, const std::function<void()>& check = {}) {
        std::optional<cli::HostedResult> answer;
        cli::RunInProgram(runtime(), {std::move(args), {}, {}}, [&](const cli::HostedResult& r) {
            answer = r;
            if (check) check();
        });
        EXPECT_TRUE(shelltest::WaitUntil([&] { return answer.has_value(); }));
        return answer.value_or(cli::HostedResult{});
    }
    int comboIndex(const char* name) {
        auto* combo = control<QComboBox>(name);
        return combo ? combo->currentIndex() : -1;
    }
};

TEST(ProgramRunsCommands, ThePagesShowWhatACommandChangedWhenItAnswers) {
    HostRig rig;
    ASSERT_TRUE(rig.waitForTab("kb_tab") && rig.waitForTab("ms_tab") && rig.waitForTab("mp_tab"));
    ASSERT_TRUE(rig.settle());

    // A lighting mode: the mouse's effect box shows it as the answer arrives.
    int shown = -1;
    auto r = rig.run({"lighting", "ms", "--mode", "4"}, [&] { shown = rig.comboIndex("ms_deng_combo_modeSelect"); });
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(shown, 4);
    // A key assignment: the button's callout names its new function.
    QString label;
    r = rig.run({"assign", "ms", "3", "key:B"}, [&] {
        auto* callout = rig.control<QAbstractButton>("ms_key_3");
        label = callout ? callout->text() : QString();
    });
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(label.contains(QLatin1String("B"))) << label.toStdString();
    // A profile added and selected, then the first selected again: the list follows.
    int count = 0;
    r = rig.run({"profile", "add", "ms", "led"}, [&] {
        count = rig.control<QComboBox>("ms_deng_profile_combo")->count();
        shown = rig.comboIndex("ms_deng_profile_combo");
    });
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(count, 2);
    EXPECT_EQ(shown, 1);
    r = rig.run({"profile", "select", "ms", "led", "0"}, [&] { shown = rig.comboIndex("ms_deng_profile_combo"); });
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(shown, 0);
    // Profile 0 holds the mode the command stored; the window's flush and saves keep it.
    EXPECT_EQ(rig.comboIndex("ms_deng_combo_modeSelect"), 4);
    rig.flush();
    rig.wait();
    EXPECT_EQ(rig.runtime().mouse.state().bytes[1], 4);
    // The device took it: the state read back holds mode 4 (its second byte).
    r = rig.run({"readback", "ms"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const size_t state = r.out.find("\"state\": \"");
    ASSERT_NE(state, std::string::npos) << r.out;
    EXPECT_EQ(r.out.substr(state + 12, 2), "04") << r.out;
    EXPECT_EQ(rig.comboIndex("ms_deng_combo_modeSelect"), 4);
    // A refused command changes nothing the page shows.
    r = rig.run({"lighting", "ms", "--mode", "40"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("--mode takes 0-"), std::string::npos) << r.err;
    EXPECT_EQ(rig.comboIndex("ms_deng_combo_modeSelect"), 4);
}

TEST(ProgramRunsCommands, RefusesWhatItDoesNotRunAndOtherFolders) {
    HostRig rig;
    ASSERT_TRUE(rig.waitForTab("kb_tab"));
    struct Case {
        std::vector<std::string> args;
        std::filesystem::path dataFolder;
        int exitCode;
        const char* says;
    };
    const Case cases[] = {
        {{}, {}, 2, "no command given"},
        {{"stream", "1"}, {}, 2, "does not run stream"},
        {{"nonsense"}, {}, 2, "does not run nonsense"},
        {{"lighting", "kb", "--mode", "3"}, "/nowhere/else", 1, "keeps its profiles in"},
        {{"slot", "kb", "1"}, {}, 2, "usage: orvanectl slot"},
    };
    for (const auto& c : cases) {
        std::optional<cli::HostedResult> answer;
        cli::RunInProgram(rig.runtime(), {c.args, {}, c.dataFolder}, [&](const cli::HostedResult& r) { answer = r; });
        ASSERT_TRUE(shelltest::WaitUntil([&] { return answer.has_value(); }));
        EXPECT_EQ(answer->exitCode, c.exitCode) << answer->err;
        EXPECT_NE(answer->err.find(c.says), std::string::npos) << answer->err;
    }
}

}  // namespace
