// SPDX-License-Identifier: GPL-3.0-or-later
// orvanectl's macro and cursor commands run as the built tool on a scratch data folder:
// listing, showing, the image without a device, uploads and the cursor read on emulated
// devices, and the one-line errors with their exit codes.

#include <gtest/gtest.h>

#include "device/hex.h"
#include "macros/macro_store.h"
#include "macros/macro_transfer.h"
#include "ui/tool_run.h"

namespace orvane {
namespace {

namespace fs = std::filesystem;
using macros::MacroSet;

class MacroTool : public testing::ToolTest {
protected:
    /// Copy (four actions) and an empty macro, as the program would store them.
    void plantKeyboardMacros() {
        macros::MacroStore store(data, {});
        ASSERT_TRUE(store.AddMacro(MacroSet::Keyboard).ok());
        ASSERT_TRUE(store.AddMacro(MacroSet::Keyboard).ok());
        ASSERT_TRUE(store.RenameMacro(MacroSet::Keyboard, 0, "Copy",
                                      std::vector<std::string>{"12,1,138,4,1,keyboard_key_A",
                                                               "5,0,132,20,1,mouse_move_to_left_text",
                                                               "0,0,129,2,1,mouse_key_right", "0,0,9,2,0,keyboard_key_LShift"})
                        .ok());
    }
};

TEST_F(MacroTool, ListsShowsAndPrintsTheImage) {
    plantKeyboardMacros();
    const Run listed = run({"--simulate=kb", "macros", "kb"});
    ASSERT_EQ(listed.code, 0) << listed.err.toStdString();
    EXPECT_EQ(listed.out, "kb macros: 2 of 50, image 44 of 4096 bytes\n  0\tCopy\t4 actions\n  1\tMacro_2\t0 actions\n");
    EXPECT_EQ(run({"macros", "ms"}).out, "ms macros: 0 of 50, no image (nothing is sent)\n");

    const Run shown = run({"macro", "show", "kb", "Copy"});
    ASSERT_EQ(shown.code, 0) << shown.err.toStdString();
    EXPECT_EQ(shown.out,
              "kb macro 0 \"Copy\": 4 actions\n"
              "  0\t12,1,138,4,1,keyboard_key_A\tA down, then 2680 ms\n"
              "  1\t5,0,132,20,1,mouse_move_to_left_text\tmove left 20, then 50 ms\n"
              "  2\t0,0,129,2,1,mouse_key_right\tright down, then 0 ms\n"
              "  3\t0,0,9,2,0,keyboard_key_LShift\tLShift up, then 0 ms\n");

    const Run image = run({"macro", "image", "kb"});
    ASSERT_EQ(image.code, 0);
    macros::MacroStore store(data, {});
    const auto expected = macros::BuildImage(macros::CollectMacroImage(store, MacroSet::Keyboard).entries);
    EXPECT_EQ(image.out.toStdString(), device::ToHex(*expected) + "\n");
    EXPECT_TRUE(image.out.startsWith("aa552c0002000000000000000000000014002800"));
}

TEST_F(MacroTool, UploadsAndReadsBackOnEmulatedDevices) {
    plantKeyboardMacros();
    const Run sent = run({"--simulate=kb", "macro", "upload", "kb"});
    EXPECT_EQ(sent.code, 0) << sent.err.toStdString();
    EXPECT_EQ(sent.out, "kb: macro image of 44 bytes sent (capacity 4096)\n");
    EXPECT_EQ(run({"--simulate=ms", "macro", "upload", "ms"}).out, "ms: no macros, nothing sent\n");

    // The first cursor command sets the sequences up from the defaults beside the tool.
    const Run read = run({"--simulate=ms2", "cursor", "read"});
    EXPECT_EQ(read.code, 0) << read.err.toStdString();
    EXPECT_EQ(read.out, "ms: cursor image of 2920 bytes read, 4 sequence files written\n");
    for (int k = 1; k <= 4; ++k) EXPECT_TRUE(fs::exists(data / "ms" / ("name_" + std::to_string(k) + ".cur")));
    const Run upload = run({"--simulate=ms", "cursor", "upload"});
    EXPECT_EQ(upload.code, 0) << upload.err.toStdString();
    EXPECT_EQ(upload.out, "ms: cursor sequence image of 2920 bytes sent (capacity 3072)\n");
}

TEST_F(MacroTool, ErrorsAreOneLineWithTheirExitCode) {
    plantKeyboardMacros();
    macros::MacroStore store(data, {});
    // With Copy: 16 + 12 + 4 x 1104 = 4444 bytes, 348 bytes over: 87 actions too many.
    std::vector<std::string> many(1100, "1,0,10,4,0,keyboard_key_A");
    ASSERT_TRUE(store.SaveMacro(MacroSet::Keyboard, "Macro_2", many).ok());
    const auto before = testing::FileBytes(data / "kb" / "Copy.mac");
    const Failure cases[] = {
        {{"--simulate=kb", "macro", "upload", "kb"}, 1, "the macros do not fit: 87 actions too many"},
        {{"macro", "show", "kb", "Paste"}, 1, "no macro named \"Paste\""},
        {{"--simulate=kb", "cursor", "read"}, 1, "ms:"},
        {{"--simulate=kb", "macro", "upload", "ms"}, 1, "ms:"},
        {{"macro", "show", "kb"}, 2, "usage"},
        {{"macros", "mp"}, 2, "usage"},
        {{"macro", "upload", "kb", "extra"}, 2, "usage"},
        {{"cursor", "write"}, 2, "usage"},
    };
    for (const auto& c : cases) expectFailure(c);
    EXPECT_EQ(testing::FileBytes(data / "kb" / "Copy.mac"), before);
}

}  // namespace
}  // namespace orvane
