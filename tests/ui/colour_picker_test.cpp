// SPDX-License-Identifier: GPL-3.0-or-later
// The colour picker on plain controls: the palette, swatch and R/G/B edits stay in step,
// each choice is reported once (whole colour or one typed component), showing a stored
// colour reports nothing, and the named check is unchecked by every choice.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

#include <map>
#include <memory>
#include <vector>

#include "device/byte_record.h"
#include "ui/controls/color_palette.h"
#include "ui/pages/colour_picker.h"

using namespace orvane;
using namespace orvane::ui;
using namespace orvane::ui::pages;

namespace {

const ColourControlNames kNames{
    .palette = "t_Pallet",
    .swatch = "t_colordp_btn",
    .presetFamily = "t_color_btn_",
    .edits = {"t_edit_R", "t_edit_G", "t_edit_B"},
    .uncheckedOnChoice = "t_7color_check",
};

struct PickerRig {
    QWidget root;
    std::map<QString, QWidget*> byName;
    std::vector<ColourChoice> chosen;
    std::unique_ptr<ColourPicker> picker;

    PickerRig(const ColourControlNames& names = kNames) {
        add(new ColorPalette(&root), names.palette);
        add(new QPushButton(&root), names.swatch);
        for (const char* e : names.edits) add(new QLineEdit(&root), e);
        if (names.uncheckedOnChoice) add(new QCheckBox(&root), names.uncheckedOnChoice);
        picker = std::make_unique<ColourPicker>(
            [this](const QString& n) { return byName.count(n) ? byName[n] : nullptr; }, names,
            [this](const ColourChoice& c) { chosen.push_back(c); });
        picker->prepare();
    }
    void add(QWidget* w, const char* name) { byName[QString::fromLatin1(name)] = w; }
    QString text(const char* edit) { return static_cast<QLineEdit*>(byName[edit])->text(); }
    bool checked() { return static_cast<QCheckBox*>(byName["t_7color_check"])->isChecked(); }
    uint32_t palette() { return static_cast<ColorPalette*>(byName["t_Pallet"])->selectColor(); }
    bool send(const QString& type, const char* sender) {
        return picker->handle({type, QString::fromLatin1(sender), nullptr});
    }
    void type(const char* edit, const QString& text) {
        static_cast<QLineEdit*>(byName[edit])->setText(text);
        EXPECT_TRUE(send(event::TextChanged, edit));
    }
};

TEST(ColourPicker, ShowingAStoredColourFillsEveryControlAndChoosesNothing) {
    PickerRig rig;
    static_cast<QCheckBox*>(rig.byName["t_7color_check"])->setChecked(true);
    rig.picker->show(0xFF0A141E);
    EXPECT_EQ(rig.palette(), 0xFF0A141Eu);
    EXPECT_EQ(rig.picker->colour(), 0xFF0A141Eu);
    EXPECT_EQ(rig.text("t_edit_R"), "10");
    EXPECT_EQ(rig.text("t_edit_G"), "20");
    EXPECT_EQ(rig.text("t_edit_B"), "30");
    EXPECT_TRUE(rig.chosen.empty());
    EXPECT_TRUE(rig.checked());
}

TEST(ColourPicker, TypedComponentIsClampedReplacesOnlyItsBitsAndReachesThePalette) {
    PickerRig rig;
    rig.picker->show(0xFF0A141E);
    static_cast<QCheckBox*>(rig.byName["t_7color_check"])->setChecked(true);
    rig.type("t_edit_G", "300");
    EXPECT_EQ(rig.text("t_edit_G"), "255");
    ASSERT_EQ(rig.chosen.size(), 1u);
    EXPECT_EQ(rig.chosen[0].argb, 0xFF0AFF1Eu);
    EXPECT_EQ(rig.chosen[0].component, std::optional<size_t>(1));
    EXPECT_EQ(rig.palette(), 0xFF0AFF1Eu);
    EXPECT_FALSE(rig.checked());

    // Only the typed byte is stored; the record's other colour bytes stay as they were.
    device::ByteRecord<8> record;
    record.setRgb(2, {1, 2, 3});
    rig.chosen[0].storeInto(record, 2);
    EXPECT_EQ(record.rgb(2), (device::Rgb{1, 255, 3}));
}

TEST(ColourPicker, PresetAndPaletteChooseTheWholeColour) {
    PickerRig rig;
    rig.picker->show(0xFF0A141E);
    EXPECT_TRUE(rig.send(event::Click, "T_COLOR_BTN_4"));  // names compare without case
    ASSERT_EQ(rig.chosen.size(), 1u);
    EXPECT_EQ(rig.chosen[0].argb, 0xFF008AFFu);
    EXPECT_FALSE(rig.chosen[0].component);
    EXPECT_EQ(rig.text("t_edit_G"), "138");
    EXPECT_EQ(rig.palette(), 0xFF0A141Eu) << "a preset leaves the palette's selection";

    device::ByteRecord<8> record;
    rig.chosen[0].storeInto(record, 5);
    EXPECT_EQ(record.rgb(5), (device::Rgb{0x00, 0x8A, 0xFF}));

    static_cast<ColorPalette*>(rig.byName["t_Pallet"])->setSelectColor(0xFF123456);
    EXPECT_TRUE(rig.send(event::ColorChanged, "t_Pallet"));
    ASSERT_EQ(rig.chosen.size(), 2u);
    EXPECT_EQ(rig.chosen[1].argb, 0xFF123456u);
    EXPECT_EQ(rig.text("t_edit_B"), "86");
}

TEST(ColourPicker, IgnoresWhatIsNotItsOwn) {
    PickerRig rig;
    EXPECT_FALSE(rig.send(event::Click, "t_color_btn_30"));  // beyond its family of presets: not its own
    EXPECT_FALSE(rig.send(event::Click, "t_edit_R"));
    EXPECT_FALSE(rig.send(event::TextChanged, "t_other_edit"));
    EXPECT_FALSE(rig.send(event::ValueChanged, "t_Pallet"));
    EXPECT_TRUE(rig.chosen.empty());
}

TEST(ColourPicker, WithoutACheckToClearAChoiceTouchesNoCheck) {
    ColourControlNames names = kNames;
    names.uncheckedOnChoice = nullptr;
    PickerRig rig(names);
    auto* other = new QCheckBox(&rig.root);
    other->setChecked(true);
    rig.add(other, "t_7color_check");
    rig.type("t_edit_R", "7");
    ASSERT_EQ(rig.chosen.size(), 1u);
    EXPECT_EQ(rig.chosen[0].argb, 0xFF070000u);
    EXPECT_TRUE(rig.checked());
}

}  // namespace
