// SPDX-License-Identifier: GPL-3.0-or-later
// Cursor sequences: first start, the step editor's action numbers, clamps and writes, the
// file operations of the page (import, export, reset), an image from the mouse rewriting
// the files, and the shipped default sequences.

#include <gtest/gtest.h>

#include "macros/action_line.h"
#include "macros/cursor_steps.h"
#include "macros/cursor_store.h"
#include "macros/macro_image.h"
#include "macros/macro_messages.h"
#include "macros/macro_transfer.h"
#include "tools/default_cursors.h"
#include "unit/macro_fixture.h"

namespace orvane::macros {
namespace {

namespace fs = std::filesystem;
using testing::MacroRig;

fs::path Shipped(int k) { return testing::ShippedDefaults() / ("name_" + std::to_string(k + 1) + ".cur"); }

TEST(CursorSequences, FirstStartSetsUpFourSequencesAndLaterStartsKeepEdits) {
    MacroRig rig;
    ASSERT_TRUE(InitCursorSequences(rig.store).ok());
    const auto index = ReadCursorIndex(rig.store);
    EXPECT_EQ(index.declaredCount, 4);
    EXPECT_EQ(index.names, (std::vector<std::string>{"name_1", "name_2", "name_3", "name_4"}));
    for (int k = 0; k < 4; ++k) EXPECT_EQ(rig.bytesOf(*CursorSequencePath(rig.store, k)), rig.bytesOf(Shipped(k)));

    ASSERT_TRUE(SaveCursorSequence(rig.store, 2, MacroRig::Lines(6)).ok());
    const auto edited = rig.bytesOf(*CursorSequencePath(rig.store, 2));
    ASSERT_TRUE(InitCursorSequences(rig.store).ok());
    EXPECT_EQ(rig.bytesOf(*CursorSequencePath(rig.store, 2)), edited);

    // The macro sections of the same file are not disturbed, nor disturb.
    ASSERT_TRUE(rig.store.AddMacro(MacroSet::Mouse).ok());
    ASSERT_TRUE(rig.store.DeleteMacro(MacroSet::Mouse, 0).ok());
    EXPECT_EQ(ReadCursorIndex(rig.store).names, index.names);
}

TEST(CursorSequences, FirstStartKeepsAFileAlreadyThereAndSaysWhenADefaultIsMissing) {
    MacroRig rig;
    const fs::path mine = rig.folder(MacroSet::Mouse) / "name_1.cur";
    WriteActionFile(mine, MacroRig::Lines(3));
    const auto kept = rig.bytesOf(mine);
    ASSERT_TRUE(InitCursorSequences(rig.store).ok());
    EXPECT_EQ(rig.bytesOf(mine), kept);

    MacroStore noDefaults(testing::FreshFolder(), {rig.data / "nowhere"});
    const CursorResult r = InitCursorSequences(noDefaults);
    EXPECT_EQ(r.status, CursorStatus::Missing);
    EXPECT_EQ(ReadCursorIndex(noDefaults).declaredCount, 4);  // the index is set up all the same
    EXPECT_TRUE(LoadCursorSequence(noDefaults, 0).empty());
    fs::remove_all(noDefaults.dataFolder());
}

TEST(CursorSteps, StepsOwnSixActionsAndTheEditorTheLastThree) {
    EXPECT_EQ(StepActionNumbers(0).delay, 3);
    EXPECT_EQ(StepActionNumbers(0).horizontal, 4);
    EXPECT_EQ(StepActionNumbers(0).vertical, 5);
    EXPECT_EQ(StepActionNumbers(29).delay, 177);
    EXPECT_EQ(StepActionNumbers(29).horizontal, 178);
    EXPECT_EQ(StepActionNumbers(29).vertical, 179);

    for (int step : {0, 29}) {
        SCOPED_TRACE(step);
        auto lines = tools::DefaultCursorSequence(0);
        const auto before = lines;
        // Typed: 70000 into the delay, 12 with "left" checked, 300 into the vertical distance.
        const EditNumber delay = ClampEditNumber("70000", kMaxStepDelay);
        const EditNumber y = ClampEditNumber("300", kMaxDistance);
        EXPECT_EQ(y.replacement, "255");
        const StepEdit edit{delay.value, {12, true}, {uint8_t(y.value), false}};
        WriteCursorStep(lines, step, edit);
        const StepActions at = StepActionNumbers(step);
        // The delay action keeps its kind, code, pressed and label.
        ActionLine expectedDelay = ParseActionLine(before[size_t(at.delay)]);
        expectedDelay.delayLow = 255;
        expectedDelay.delayHigh = 255;
        EXPECT_EQ(ParseActionLine(lines[size_t(at.delay)]), expectedDelay);
        EXPECT_EQ(lines[size_t(at.horizontal)], "0,0,132,12,1,mouse_move_to_left_text");
        EXPECT_EQ(lines[size_t(at.vertical)], "0,0,5,255,0,mouse_move_to_down_text");
        for (size_t i = 0; i < lines.size(); ++i) {
            if (int(i) >= at.delay && int(i) <= at.vertical) continue;
            EXPECT_EQ(lines[i], before[i]) << i;
        }

        const StepView view = ReadCursorStep(lines, step);
        EXPECT_EQ(view.delay, 65535);
        EXPECT_EQ(view.horizontal, (StepMove{12, true}));
        EXPECT_EQ(view.vertical, (StepMove{255, false}));
    }
}

TEST(CursorSteps, ShowingAStepTakesMovesByTheirKindOnly) {
    const std::vector<std::string> lines{"0", "0", "0", "30,1,5,0,0,x", "0,0,133,9,1,up", "0,0,1,1,0,mouse_key_left"};
    const StepView view = ReadCursorStep(lines, 0);
    EXPECT_EQ(view.delay, 286);
    EXPECT_FALSE(view.horizontal);  // the control keeps what it showed
    EXPECT_EQ(view.vertical, (StepMove{9, true}));
    // A step past the file's end reads as zeros.
    EXPECT_EQ(ReadCursorStep(lines, 5).delay, 0);
    EXPECT_FALSE(ReadCursorStep(lines, 5).horizontal);

    // An edit of a step beyond a short file fills the file up to it.
    std::vector<std::string> shortFile{"1,0,4,0,0,a"};
    WriteCursorStep(shortFile, 1, StepEdit{7, {1, false}, {2, true}});
    ASSERT_EQ(shortFile.size(), 12u);
    EXPECT_EQ(shortFile[0], "1,0,4,0,0,a");
    EXPECT_EQ(shortFile[5], "0,0,0,0,0,");
    EXPECT_EQ(shortFile[9], "7,0,0,0,0,");
    EXPECT_EQ(shortFile[11], "0,0,133,2,1,mouse_move_to_up_text");
}

TEST(CursorSteps, EditClampsNavigationAndCheckTexts) {
    struct Case {
        const char* text;
        int max;
        int value;
        const char* replacement;
    } const cases[] = {
        {"300", 255, 255, "255"}, {"255", 255, 255, nullptr}, {"70000", 65535, 65535, "65535"},
        {"12", 255, 12, nullptr}, {"abc", 255, 0, nullptr},   {"", 65535, 0, nullptr},
        {"-5", 255, 0, nullptr},  {"99999999999", 255, 255, "255"},
    };
    for (const auto& c : cases) {
        const EditNumber n = ClampEditNumber(c.text, c.max);
        EXPECT_EQ(n.value, c.value) << c.text;
        EXPECT_EQ(n.replacement.value_or(""), c.replacement ? c.replacement : "") << c.text;
    }
    EXPECT_FALSE(PreviousStep(0));
    EXPECT_EQ(PreviousStep(1), 0);
    EXPECT_EQ(NextStep(28), 29);
    EXPECT_FALSE(NextStep(29));
    EXPECT_EQ(HorizontalCheckText(true), "mouse_move_to_left_text");
    EXPECT_EQ(HorizontalCheckText(false), "mouse_move_to_right_text");
    EXPECT_EQ(VerticalCheckText(true), "mouse_move_to_up_text");
    EXPECT_EQ(VerticalCheckText(false), "mouse_move_to_down_text");
}

TEST(CursorSteps, StoreAndShowGoThroughTheSequenceFile) {
    MacroRig rig;
    ASSERT_TRUE(InitCursorSequences(rig.store).ok());
    ASSERT_TRUE(StoreCursorStep(rig.store, 1, 4, StepEdit{33, {5, false}, {6, true}}).ok());
    const StepView view = ShowCursorStep(rig.store, 1, 4);
    EXPECT_EQ(view.delay, 33);
    EXPECT_EQ(view.horizontal, (StepMove{5, false}));
    EXPECT_EQ(view.vertical, (StepMove{6, true}));
    EXPECT_EQ(LoadCursorSequence(rig.store, 1).size(), 180u);
    EXPECT_EQ(LoadCursorSequence(rig.store, 0), tools::DefaultCursorSequence(0));  // another sequence
    EXPECT_FALSE(StoreCursorStep(rig.store, 1, 30, {}).ok());
    EXPECT_FALSE(StoreCursorStep(rig.store, 4, 0, {}).ok());
}

TEST(CursorFiles, ImportTakesAtMost180Actions) {
    MacroRig rig;
    ASSERT_TRUE(InitCursorSequences(rig.store).ok());
    const fs::path target = *CursorSequencePath(rig.store, 1);
    const auto before = rig.bytesOf(target);
    const fs::path tooLong = rig.data / "long.cur";
    WriteActionFile(tooLong, MacroRig::Lines(181));
    const CursorResult refused = ImportCursorSequence(rig.store, 1, tooLong);
    EXPECT_EQ(refused.status, CursorStatus::TooLong);
    EXPECT_EQ(refused.message, kSequenceTooLongMessage);
    EXPECT_EQ(rig.bytesOf(target), before);
    EXPECT_EQ(ImportCursorSequence(rig.store, 1, rig.data / "none.cur").status, CursorStatus::Missing);
    EXPECT_EQ(rig.bytesOf(target), before);

    const fs::path fits = rig.data / "fits.cur";
    platform::WriteFileAtomically(fits, *ComposeActionFile(MacroRig::Lines(180)) + "[JUNK]\nx=1\n");
    ASSERT_TRUE(ImportCursorSequence(rig.store, 1, fits).ok());
    EXPECT_EQ(rig.bytesOf(target), *ComposeActionFile(MacroRig::Lines(180)));
}

TEST(CursorFiles, ExportNeverReplacesAFileUnasked) {
    MacroRig rig;
    ASSERT_TRUE(InitCursorSequences(rig.store).ok());
    const fs::path out = rig.data / "out.cur";
    ASSERT_TRUE(ExportCursorSequence(rig.store, 2, out, false).ok());
    EXPECT_EQ(rig.bytesOf(out), rig.bytesOf(Shipped(2)));

    platform::WriteFileAtomically(out, "mine");
    const CursorResult asked = ExportCursorSequence(rig.store, 3, out, false);
    EXPECT_EQ(asked.status, CursorStatus::Exists);
    EXPECT_EQ(rig.bytesOf(out), "mine");
    ASSERT_TRUE(ExportCursorSequence(rig.store, 3, out, true).ok());
    EXPECT_EQ(rig.bytesOf(out), rig.bytesOf(Shipped(3)));
}

TEST(CursorFiles, ResetRestoresTheShippedSequence) {
    MacroRig rig;
    ASSERT_TRUE(InitCursorSequences(rig.store).ok());
    ASSERT_TRUE(StoreCursorStep(rig.store, 0, 0, StepEdit{1, {1, true}, {1, true}}).ok());
    ASSERT_NE(rig.bytesOf(*CursorSequencePath(rig.store, 0)), rig.bytesOf(Shipped(0)));
    ASSERT_TRUE(ResetCursorSequence(rig.store, 0).ok());
    EXPECT_EQ(rig.bytesOf(*CursorSequencePath(rig.store, 0)), rig.bytesOf(Shipped(0)));
}

TEST(CursorFiles, AnImageFromTheMouseLabelsEachActionByItsKind) {
    MacroRig rig;
    ASSERT_TRUE(InitCursorSequences(rig.store).ok());
    const auto image = *BuildImage(std::vector<ImageEntry>{{{10, 0, 0x8A, 0x04}, {0, 0, 0x09, 0x01}, {0, 0, 0x42, 0x01}}});
    const CursorImageStored stored = StoreCursorImage(rig.store, image);
    EXPECT_TRUE(stored.accepted);
    EXPECT_EQ(stored.sequences, 1);
    EXPECT_EQ(LoadCursorSequence(rig.store, 0),
              (std::vector<std::string>{"10,0,138,4,1,keyboard_key_A", "0,0,9,1,0,keyboard_key_LCtrl", "0,0,66,1,0,"}));

    // More entries than the index names: the extra ones have no file to go to.
    const auto five = *BuildImage(std::vector<ImageEntry>(5, ImageEntry(1)));
    EXPECT_EQ(StoreCursorImage(rig.store, five).sequences, 4);
    EXPECT_EQ(rig.files(MacroSet::Mouse).size(), 5u);  // four sequences and the index
}

TEST(DefaultCursorSequences, ShippedFilesAreTheDocumentedPatterns) {
    std::vector<ImageEntry> entries;
    for (int k = 0; k < kCursorSequenceCount; ++k) {
        SCOPED_TRACE(k);
        const auto lines = tools::DefaultCursorSequence(k);
        ASSERT_EQ(lines.size(), size_t(kSequenceActions));
        const auto shipped = ReadActionFile(Shipped(k));
        EXPECT_EQ(shipped.lines, lines) << "run gen_defaults data/defaults";
        for (int p = 0; p < kCursorSteps; ++p) {
            const StepView step = ReadCursorStep(lines, p);
            EXPECT_GE(step.delay, 5);
            ASSERT_TRUE(step.horizontal && step.vertical);
            EXPECT_LE(step.horizontal->distance, 3);
            EXPECT_FALSE(step.vertical->checked);  // every step pulls down
            EXPECT_GE(step.vertical->distance, 2);
        }
        entries.emplace_back();
        for (const auto& l : lines) entries.back().push_back(ParseActionLine(l).deviceBytes());
    }
    EXPECT_EQ(ImageSize(entries), 2920u);
    // The zig-zags come back to where they started every cycle.
    int sway = 0;
    for (int p = 0; p < 12; ++p) sway += tools::DefaultCursorStep(3, p).horizontal;
    EXPECT_EQ(sway, 0);
}

}  // namespace
}  // namespace orvane::macros
