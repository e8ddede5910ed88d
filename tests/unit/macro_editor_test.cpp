// SPDX-License-Identifier: GPL-3.0-or-later
// The macro editor without widgets: the action list document (insert, move, delete, the
// detail edits, the unsaved flag, what an observer hears) and recording from captured
// events (key repeat, delays, the fixed delay, which mouse events count).

#include <gtest/gtest.h>

#include <linux/input-event-codes.h>

#include "macros/action_tables.h"
#include "macros/macro_document.h"
#include "macros/macro_recorder.h"

namespace orvane::macros {
namespace {

using Kind = MacroDocument::Change::Kind;

std::vector<std::string> Labels(const MacroDocument& d) {
    std::vector<std::string> out;
    for (const auto& r : d.rows()) out.push_back(r.action.label);
    return out;
}

/// Records the notifications and checks that every change is announced before and after.
struct Recorder : MacroDocument::Observer {
    std::vector<MacroDocument::Change> changes;
    int open = 0;
    void aboutToChange(const MacroDocument::Change&) override { ++open; }
    void changed(const MacroDocument::Change& c) override {
        --open;
        changes.push_back(c);
    }
};

TEST(MacroDocument, InsertedActionsGoAfterTheSelectionAndWaitFiftyMs) {
    MacroDocument doc;
    doc.load(std::vector<std::string>{});
    ASSERT_TRUE(doc.insertMouseAction(2));  // right press into an empty list: the only row
    EXPECT_EQ(doc.selected(), 0);
    EXPECT_EQ(FormatActionLine(doc.row(0).action), "5,0,129,2,1,mouse_key_right");
    EXPECT_TRUE(doc.unsaved());

    doc.select(std::nullopt);
    ASSERT_TRUE(doc.insertMouseAction(10, 20));  // nothing selected: after the first row
    EXPECT_EQ(FormatActionLine(doc.row(1).action), "5,0,132,20,1,mouse_move_to_left_text");
    EXPECT_EQ(doc.selected(), 0);

    doc.select(1);
    ASSERT_TRUE(doc.insertMouseAction(9));  // back release after row 1; the selection stays
    EXPECT_EQ(Labels(doc), (std::vector<std::string>{"mouse_key_right", "mouse_move_to_left_text", "mouse_key_back"}));
    EXPECT_EQ(doc.selected(), 1);
    EXPECT_FALSE(doc.insertMouseAction(14));
}

TEST(MacroDocument, MovesKeepTheRowSelectedAndDoNothingAtTheEnds) {
    MacroDocument doc;
    doc.load(std::vector<std::string>{"0,0,10,4,0,a", "0,0,10,5,0,b", "0,0,10,6,0,c", "0,0,10,7,0,d"});
    EXPECT_FALSE(doc.moveSelected(MoveTo::Up));  // nothing selected
    EXPECT_FALSE(doc.unsaved());
    doc.select(0);
    EXPECT_FALSE(doc.moveSelected(MoveTo::Up));
    EXPECT_FALSE(doc.moveSelected(MoveTo::Top));
    EXPECT_TRUE(doc.moveSelected(MoveTo::Down));
    EXPECT_EQ(Labels(doc), (std::vector<std::string>{"b", "a", "c", "d"}));
    EXPECT_EQ(doc.selected(), 1);
    EXPECT_TRUE(doc.moveSelected(MoveTo::Bottom));
    EXPECT_EQ(Labels(doc), (std::vector<std::string>{"b", "c", "d", "a"}));
    EXPECT_EQ(doc.selected(), 3);
    EXPECT_FALSE(doc.moveSelected(MoveTo::Down));
    EXPECT_TRUE(doc.moveSelected(MoveTo::Top));
    EXPECT_EQ(Labels(doc), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_TRUE(doc.unsaved());

    doc.select(2);
    EXPECT_TRUE(doc.removeSelected());
    EXPECT_EQ(Labels(doc), (std::vector<std::string>{"a", "b", "d"}));
    EXPECT_FALSE(doc.selected());
    EXPECT_FALSE(doc.removeSelected());
    doc.removeAll();
    EXPECT_EQ(doc.size(), 0);
    EXPECT_EQ(doc.lines(), std::vector<std::string>{});
}

TEST(MacroDocument, DetailEditsRewriteTheRowsLine) {
    MacroDocument doc;
    doc.load(std::vector<std::string>{"12,1,10,4,0,keyboard_key_A", "3,0,129,1,1,mouse_key_left", "0,0,5,30,0,x"});
    // Up to down: both pressed and bit 7 of the kind (key A: 0x0A becomes 0x8A).
    ASSERT_TRUE(doc.setPressed(0, true));
    EXPECT_EQ(FormatActionLine(doc.row(0).action), "12,1,138,4,1,keyboard_key_A");
    // Another key keeps the row's state and delay.
    ASSERT_TRUE(doc.setKey(0, 1));  // LShift
    EXPECT_EQ(FormatActionLine(doc.row(0).action), "12,1,137,2,1,keyboard_key_LShift");
    ASSERT_TRUE(doc.setDelayUnits(0, 70000));
    EXPECT_EQ(doc.row(0).action.delayUnits(), 65535);

    // A button row becomes a move with distance 0; a move keeps its distance.
    ASSERT_TRUE(doc.setMouseEvent(1, 12));
    EXPECT_EQ(FormatActionLine(doc.row(1).action), "3,0,133,0,1,mouse_move_to_up_text");
    ASSERT_TRUE(doc.setMouseEvent(2, 10));
    EXPECT_EQ(FormatActionLine(doc.row(2).action), "0,0,132,30,1,mouse_move_to_left_text");
    ASSERT_TRUE(doc.setMouseEvent(2, 7));
    EXPECT_EQ(FormatActionLine(doc.row(2).action), "0,0,1,16,0,mouse_key_forward");
    EXPECT_FALSE(doc.setDistance(2, 9));  // not a move
    ASSERT_TRUE(doc.setDistance(1, 300));
    EXPECT_EQ(doc.row(1).action.code, 255);
    EXPECT_FALSE(doc.setKey(5, 0));
}

TEST(MacroDocument, RowsShowTheirCellsAndDetails) {
    struct Case {
        const char* line;
        bool recorded;
        const char* nameStyle;
        const char* state;
        const char* stateStyle;
        const char* delay;
    } const cases[] = {
        {"12,1,138,4,1,keyboard_key_A", false, "macro_label_keyboard_style", "", "macro_label_down_style", "2680"},
        {"0,0,10,4,0,keyboard_key_A", false, "macro_label_keyboard_style", "", "macro_label_up_style", "0"},
        {"5,0,132,20,1,mouse_move_to_left_text", false, "macro_label_mouse_style", "20", "macro_label_text_style", "50"},
        {"5,0,129,2,1,mouse_key_right", true, "macro_label_mouse_style", "\u25BC", "macro_label_down_style", "50"},
        {"0,0,1,2,0,mouse_key_right", true, "macro_label_mouse_style", "\u25B2", "macro_label_up_style", "0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const RowCells cells = DescribeRow({ParseActionLine(c.line), c.recorded});
        EXPECT_EQ(cells.nameStyle, c.nameStyle);
        EXPECT_EQ(cells.state, c.state);
        EXPECT_EQ(cells.stateStyle, c.stateStyle);
        EXPECT_EQ(cells.delay, c.delay);
    }
    const ActionDetail key = DetailOf(ParseActionLine("12,1,138,4,1,keyboard_key_A"));
    EXPECT_EQ(key.panel, ActionDetail::Panel::Key);
    EXPECT_EQ(key.keyIndex, 8u);
    EXPECT_TRUE(key.pressed);
    EXPECT_EQ(key.delayUnits, 268);
    const ActionDetail modifier = DetailOf(ParseActionLine("0,0,9,32,0,keyboard_key_RShift"));
    EXPECT_EQ(modifier.keyIndex, 5u);
    const ActionDetail move = DetailOf(ParseActionLine("5,0,5,20,0,mouse_move_to_down_text"));
    EXPECT_EQ(move.panel, ActionDetail::Panel::Mouse);
    EXPECT_EQ(move.mouseRow, 13u);
    EXPECT_EQ(move.distance, 20);
    EXPECT_EQ(DetailOf(ParseActionLine("0,0,129,8,1,mouse_key_back")).mouseRow, 8u);
}

TEST(MacroDocument, EveryChangeIsAnnouncedBeforeAndAfter) {
    MacroDocument doc;
    Recorder observer;
    doc.setObserver(&observer);
    doc.load(std::vector<std::string>{"0,0,10,4,0,a", "0,0,10,5,0,b"});
    doc.select(0);
    doc.moveSelected(MoveTo::Bottom);
    doc.insertMouseAction(0);
    doc.setPressed(0, true);
    doc.removeSelected();
    doc.appendRecorded(MouseEventAction(0), true, 120);
    EXPECT_EQ(observer.open, 0);
    std::vector<std::tuple<Kind, int, int>> seen;
    for (const auto& c : observer.changes) seen.emplace_back(c.kind, c.first, c.kind == Kind::Moved ? c.to : c.last);
    EXPECT_EQ(seen, (std::vector<std::tuple<Kind, int, int>>{{Kind::Reset, 0, 0},
                                                              {Kind::Moved, 0, 1},
                                                              {Kind::Inserted, 2, 2},
                                                              {Kind::Changed, 0, 0},
                                                              {Kind::Removed, 1, 1},
                                                              {Kind::Changed, 1, 1},
                                                              {Kind::Inserted, 2, 2}}));
}

// ---- recording -------------------------------------------------------------------------------

// The capture service's keys are Linux key codes, resolved as the program resolves them.
using Input = functions::CapturedInput;
using Button = Input::Button;
constexpr uint16_t kKeyA = KEY_A;
constexpr uint16_t kKeyShift = KEY_LEFTSHIFT;
constexpr uint16_t kVolumeUp = KEY_VOLUMEUP;  // a media key: no key a macro presses
constexpr uint16_t kUnknownKey = 500;

Input Key(uint16_t key, bool pressed, int64_t ms, bool repeat = false) {
    Input e;
    e.linuxKey = key;
    e.pressed = pressed;
    e.timeMs = ms;
    e.autoRepeat = repeat;
    return e;
}

Input Mouse(Button button, bool pressed, int64_t ms) {
    Input e;
    e.kind = Input::Kind::MouseButton;
    e.button = button;
    e.pressed = pressed;
    e.timeMs = ms;
    return e;
}

/// A wheel turn or pointer move.
Input Other(Input::Kind kind, int64_t ms) {
    Input e;
    e.kind = kind;
    e.timeMs = ms;
    return e;
}

std::vector<std::string> Record(RecordOptions options, const std::vector<Input>& events,
                                std::vector<std::string> existing = {}) {
    MacroDocument doc;
    doc.load(existing);
    MacroRecorder recorder(options, LinuxKeyResolver(), 1000);
    for (const auto& e : events) recorder.feed(e, doc);
    return doc.lines();
}

TEST(MacroRecording, AHeldKeyIsOneRowAndTheDelayBelongsToTheRowBefore) {
    // Held for a second: the system repeats the press (flagged, and also unflagged).
    const auto lines = Record({}, {Key(kKeyA, true, 1000), Key(kKeyA, false, 1500, true), Key(kKeyA, true, 1500, true),
                                   Key(kKeyA, true, 1530), Key(kKeyA, false, 2000), Key(kKeyShift, true, 4500),
                                   Key(kKeyShift, false, 8500)});
    EXPECT_EQ(lines, (std::vector<std::string>{"100,0,138,4,1,keyboard_key_A",     // 1 s until the release
                                               "250,0,10,4,0,keyboard_key_A",      // 2.5 s until shift
                                               "144,1,137,2,1,keyboard_key_LShift",  // 4 s: 400 units
                                               "0,0,9,2,0,keyboard_key_LShift"}));  // the last waits 0
}

/// A key as X11 delivers it: with the server's time stamp.
Input Stamped(uint16_t key, bool pressed, int64_t ms, bool repeat = false) {
    Input e = Key(key, pressed, ms, repeat);
    e.eventTime = static_cast<uint64_t>(ms) + 7000000;
    return e;
}

TEST(MacroRecording, AutoRepeatPairsWithOneStampAreDroppedWhateverTheirFlag) {
    // Held from 1000 to 2000 ms: X11 repeats the key as release+press pairs of one stamp,
    // the toolkit flagging some, none or only one half of them.
    struct Case {
        const char* flags;  ///< per pair: n none, b both, r release only, p press only
    } const cases[] = {{"nnnnn"}, {"bbbbb"}, {"nbrpn"}, {"pppr"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.flags);
        MacroDocument doc;
        MacroRecorder recorder({}, LinuxKeyResolver(), 1000);
        recorder.feed(Stamped(kKeyA, true, 1000), doc);
        int64_t t = 1660;
        for (const char* f = c.flags; *f; ++f, t += 30) {
            recorder.feed(Stamped(kKeyA, false, t, *f == 'b' || *f == 'r'), doc);
            recorder.feed(Stamped(kKeyA, true, t, *f == 'b' || *f == 'p'), doc);
        }
        recorder.feed(Stamped(kKeyA, false, 2000), doc);
        EXPECT_TRUE(recorder.holdsRelease());  // the real release waits for the next event
        recorder.feed(Stamped(kKeyShift, true, 2300), doc);
        recorder.finish(doc, std::nullopt);
        EXPECT_EQ(doc.lines(), (std::vector<std::string>{"100,0,138,4,1,keyboard_key_A", "30,0,10,4,0,keyboard_key_A",
                                                         "0,0,137,2,1,keyboard_key_LShift"}));
    }
    // A release no press follows goes in when the caller stops waiting, or at the end.
    MacroDocument doc;
    MacroRecorder recorder({}, LinuxKeyResolver(), 1000);
    recorder.feed(Stamped(kKeyA, true, 1000), doc);
    recorder.feed(Stamped(kKeyA, false, 1100), doc);
    EXPECT_EQ(doc.size(), 1);
    EXPECT_TRUE(recorder.flushRelease(doc));
    EXPECT_FALSE(recorder.holdsRelease());
    recorder.feed(Stamped(kKeyA, true, 1200), doc);  // pressed again: a new press
    recorder.feed(Stamped(kKeyA, false, 1300), doc);
    recorder.finish(doc, std::nullopt);
    EXPECT_EQ(doc.lines(), (std::vector<std::string>{"10,0,138,4,1,keyboard_key_A", "10,0,10,4,0,keyboard_key_A",
                                                     "10,0,138,4,1,keyboard_key_A", "0,0,10,4,0,keyboard_key_A"}));
}

TEST(MacroRecording, TheInputThatWorksTheStopControlIsNotRecorded) {
    using Kind = Input::Kind;
    RecordOptions all;
    all.mouseClick = true;
    const std::vector<std::string> realRows{"50,0,138,4,1,keyboard_key_A", "0,0,10,4,0,keyboard_key_A"};
    struct Case {
        const char* what;
        std::vector<Input> ending;
        std::optional<Kind> endedBy;
        std::vector<std::string> expected;
    } const cases[] = {
        {"a click on stop, released before the stop", {Mouse(Button::Left, true, 3000), Mouse(Button::Left, false, 3100)},
         Kind::MouseButton, realRows},
        {"a click on stop whose release comes after", {Mouse(Button::Left, true, 3000)}, Kind::MouseButton, realRows},
        {"the space key on the focused stop", {Stamped(KEY_SPACE, true, 3000), Stamped(KEY_SPACE, false, 3100)},
         Kind::Key, realRows},
        {"stopped otherwise: all stays", {Mouse(Button::Left, true, 3000), Mouse(Button::Left, false, 3100)},
         std::nullopt,
         {"50,0,138,4,1,keyboard_key_A", "150,0,10,4,0,keyboard_key_A", "10,0,129,1,1,mouse_key_left",
          "0,0,1,1,0,mouse_key_left"}},
        {"a key press ended it but the mouse was last: all stays",
         {Mouse(Button::Left, true, 3000), Mouse(Button::Left, false, 3100)}, Kind::Key,
         {"50,0,138,4,1,keyboard_key_A", "150,0,10,4,0,keyboard_key_A", "10,0,129,1,1,mouse_key_left",
          "0,0,1,1,0,mouse_key_left"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        MacroDocument doc;
        MacroRecorder recorder(all, LinuxKeyResolver(), 1000);
        recorder.feed(Stamped(kKeyA, true, 1000), doc);
        recorder.feed(Stamped(kKeyA, false, 1500), doc);
        for (const auto& e : c.ending) recorder.feed(e, doc);
        recorder.finish(doc, c.endedBy);
        EXPECT_EQ(doc.lines(), c.expected);
    }
    // Clicks alone, without the click option: the stop click was never recorded and the
    // real rows stay.
    MacroDocument doc;
    MacroRecorder keysOnly({}, LinuxKeyResolver(), 1000);
    keysOnly.feed(Key(kKeyA, true, 1000), doc);
    keysOnly.feed(Key(kKeyA, false, 1500), doc);
    keysOnly.finish(doc, Kind::MouseButton);
    EXPECT_EQ(doc.size(), 2);
}

TEST(MacroRecording, DelaysFromTheStartAreCappedOrFixed) {
    // Recording appends: the row already there gets the time from the start to the first key.
    EXPECT_EQ(Record({}, {Key(kKeyA, true, 1700)}, {"0,0,1,1,1,mouse_key_left"}),
              (std::vector<std::string>{"70,0,1,1,1,mouse_key_left", "0,0,138,4,1,keyboard_key_A"}));
    EXPECT_EQ(Record({}, {Key(kKeyA, true, 1000), Key(kKeyA, false, 1000 + 700000)})[0], "255,255,138,4,1,keyboard_key_A");
    // A clock going backwards waits 0.
    EXPECT_EQ(Record({}, {Key(kKeyA, true, 5000), Key(kKeyA, false, 4000)})[0], "0,0,138,4,1,keyboard_key_A");

    RecordOptions fixed;
    fixed.fixedDelay = true;
    const auto lines =
        Record(fixed, {Key(kKeyA, true, 1000), Key(kKeyA, false, 9000), Key(kKeyShift, true, 9001), Key(kKeyShift, false, 90000)});
    ASSERT_EQ(lines.size(), 4u);
    for (size_t i = 0; i + 1 < lines.size(); ++i) EXPECT_EQ(ParseActionLine(lines[i]).delayUnits(), 5) << i;
    EXPECT_EQ(ParseActionLine(lines.back()).delayUnits(), 0);
}

TEST(MacroRecording, DelaysAreRoundedToTheNearestTenMilliseconds) {
    struct Case {
        int elapsedMs;
        int units;
    } const cases[] = {{0, 0},    {4, 0},    {5, 1},      {9, 1},      {10, 1},     {14, 1},
                       {15, 2},   {19, 2},   {999, 100},  {1004, 100}, {1005, 101}, {655344, 65534},
                       {655345, 65535}, {655350, 65535}, {700000, 65535}};
    for (const auto& c : cases) {
        const auto lines = Record({}, {Key(kKeyA, true, 1000), Key(kKeyA, false, 1000 + c.elapsedMs)});
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_EQ(ParseActionLine(lines[0]).delayUnits(), c.units) << c.elapsedMs << " ms";
    }
}

TEST(MacroRecording, OnlyLeftRightAndMiddleClicksWithTheClickOption) {
    RecordOptions clicks;
    clicks.mouseClick = true;
    clicks.mouseWheel = true;
    clicks.mouseMove = true;
    const auto lines = Record(clicks, {Mouse(Button::Right, true, 1100), Other(Input::Kind::Move, 1150),
                                       Other(Input::Kind::Wheel, 1160), Mouse(Button::Forward, true, 1170),
                                       Mouse(Button::Right, false, 1200), Mouse(Button::Right, false, 1250),
                                       Key(kUnknownKey, true, 1300), Key(kVolumeUp, true, 1350),
                                       Mouse(Button::Middle, true, 1400)});
    EXPECT_EQ(lines, (std::vector<std::string>{"10,0,129,2,1,mouse_key_right", "20,0,1,2,0,mouse_key_right",
                                               "0,0,129,4,1,mouse_key_middle"}));

    MacroDocument doc;
    MacroRecorder recorder(clicks, LinuxKeyResolver(), 0);
    recorder.feed(Mouse(Button::Right, true, 10), doc);
    recorder.feed(Mouse(Button::Right, false, 20), doc);
    EXPECT_EQ(DescribeRow(doc.row(0)).state, "\u25BC");
    EXPECT_EQ(DescribeRow(doc.row(1)).state, "\u25B2");
    EXPECT_TRUE(doc.unsaved());

    RecordOptions keysOnly;  // the default: keyboard only
    EXPECT_TRUE(Record(keysOnly, {Mouse(Button::Left, true, 1100)}).empty());
    EXPECT_TRUE(keysOnly.wantKeyboard());
    EXPECT_FALSE(keysOnly.wantMouse());
    RecordOptions mouseOnly;
    mouseOnly.keyboard = false;
    mouseOnly.mouseMove = true;
    EXPECT_TRUE(mouseOnly.wantMouse());
    EXPECT_TRUE(Record(mouseOnly, {Key(kKeyA, true, 1100), Mouse(Button::Left, true, 1200)}).empty());
}

}  // namespace
}  // namespace orvane::macros
