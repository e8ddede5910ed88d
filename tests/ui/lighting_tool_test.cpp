// SPDX-License-Identifier: GPL-3.0-or-later
// orvanectl lighting as the built tool on emulated devices and a scratch data folder: the
// record printed, edits that land in the selected lighting profile's file as the pages leave
// it (painting only in the variant's custom mode), and refusals that save nothing.
#include <gtest/gtest.h>

#include "keyboard/keyboard_records.h"
#include "lighting/keyboard_tables.h"
#include "ui/tool_run.h"

namespace {

namespace fs = std::filesystem;
using orvane::testing::FileBytes;

class LightingTool : public orvane::testing::ToolTest {
protected:
    /// Every ".led" file of the device folder, concatenated (what a refusal must leave).
    std::string ledFiles(const char* folder) {
        std::string all;
        if (!fs::exists(data / folder)) return all;
        for (const auto& e : fs::directory_iterator(data / folder))
            if (e.path().extension() == ".led") all += FileBytes(e.path());
        return all;
    }
    std::string lighting(const QStringList& args, const char* simulate = "--simulate") {
        const Run r = run(QStringList{simulate, "lighting"} + args);
        EXPECT_EQ(r.code, 0) << r.err.toStdString();
        return r.out.toStdString();
    }
};

TEST_F(LightingTool, EditsTheSelectedProfileAsThePagesDo) {
    EXPECT_NE(lighting({"kb"}).find("kb lighting (profile 0): mode "), std::string::npos);
    const std::string out =
        lighting({"kb", "--mode", "15", "--brightness", "3", "--speed", "1", "--direction", "1", "--paint",
                  "2:30:FF0000", "--paint", "2:31:00FF00", "--paint", "2:31:off"});
    EXPECT_NE(out.find("mode 15, brightness 3, speed 1, direction 1"), std::string::npos) << out;
    EXPECT_NE(out.find("layer 2, paint colour 00FF00, lit 1"), std::string::npos) << out;
    // The file holds the record, the paint state and the painted layer.
    std::string body;
    for (const auto& e : fs::directory_iterator(data / "kb"))
        if (e.path().extension() == ".led") body = FileBytes(e.path());
    ASSERT_GE(body.size(), sizeof(orvane::keyboard::KeyboardLightingBody));
    const std::string tail = body.substr(body.size() - sizeof(orvane::keyboard::KeyboardLightingBody));
    EXPECT_EQ(uint8_t(tail[1]), 15);
    EXPECT_EQ(uint8_t(tail[offsetof(orvane::keyboard::KeyboardLightingBody, paint)]), 2);
    const size_t slot = orvane::lighting::kRgbSlot[30];
    const size_t at = offsetof(orvane::keyboard::KeyboardLightingBody, colours) + 378 * 2 + 3 * slot;
    EXPECT_EQ(uint8_t(tail[at]), 0xFF);
    // Fill lights the rest of the layer with the paint colour; clear empties it.
    EXPECT_NE(lighting({"kb", "--color", "0000FF", "--fill"}).find("paint colour 0000FF, lit 126"),
              std::string::npos);
    EXPECT_NE(lighting({"kb", "--clear"}).find("lit 0"), std::string::npos);
    // The mouse: a colour ends the seven-colour cycle.
    const std::string mouse = lighting({"ms", "--mode", "2", "--seven", "1", "--color", "123456"});
    EXPECT_NE(mouse.find("mode 2, brightness"), std::string::npos) << mouse;
    EXPECT_NE(mouse.find("seven 0, colour 123456"), std::string::npos) << mouse;
}

TEST_F(LightingTool, RefusalsSaveNothing) {
    lighting({"kb", "--mode", "4"});
    lighting({"ms"});
    const std::string kbBefore = ledFiles("kb"), msBefore = ledFiles("ms");
    const Failure refusals[] = {
        {{"--simulate", "lighting", "kb", "--mode", "16"}, 2, "--mode takes 0-15"},
        {{"--simulate=kb1", "lighting", "kb", "--mode", "17"}, 2, "--mode takes 0-16"},
        {{"--simulate", "lighting", "kb", "--brightness", "5"}, 2, "--brightness takes 0-4"},
        {{"--simulate", "lighting", "ms", "--speed", "5"}, 2, "--speed takes 0-4"},
        {{"--simulate", "lighting", "kb", "--color", "12345G"}, 2, "RRGGBB"},
        {{"--simulate", "lighting", "kb", "--paint", "5:1:FF0000"}, 2, "LAYER:POSITION"},
        {{"--simulate", "lighting", "kb", "--paint", "0:30:FF0000"}, 2, "custom mode"},
        {{"--simulate", "lighting", "kb", "--mode", "15", "--paint", "0:62:FF0000"}, 2, "no LED"},
        {{"--simulate", "lighting", "kb", "--fill", "--clear"}, 2, "exclude"},
        {{"--simulate", "lighting", "ms", "--layer", "1"}, 2, "keyboard"},
        {{"--simulate", "lighting", "kb", "--speed"}, 2, "needs a value"},
        {{"--simulate=kb1", "lighting", "kb", "--color", "FF0000"}, 2, "one colour"},
    };
    for (const auto& f : refusals) expectFailure(f);
    EXPECT_EQ(ledFiles("kb"), kbBefore);
    EXPECT_EQ(ledFiles("ms"), msBefore);
}

}  // namespace
