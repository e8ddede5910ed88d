// SPDX-License-Identifier: GPL-3.0-or-later
// Every key position of the keyboard page is a key the user can click, on both emulated
// keyboards at the window's first size: the keys of the drawn board over the picture, the
// regional keys (K14, K56, the ISO key, KL, KR) on the strip under it. A regional key edits
// and applies like any other; a key the keyboard lacks cannot be clicked, and the strip
// goes when the keyboard has none of its keys. The strip's texts fit in every language.
#include <gtest/gtest.h>

#include <linux/input-event-codes.h>

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QLayout>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionButton>

#include "app/features/key_pages_feature.h"
#include "app/main_window.h"
#include "app/screenshot_pages.h"
#include "key_pages_rig.h"
#include "keyboard/key_positions.h"
#include "ui/language.h"

namespace {

using namespace orvane;
using device::DeviceModel;
using functions::FunctionCode;
using keypagestest::KeyPagesRig;
using profiles::ListId;

constexpr size_t kNoKey = 126;
constexpr size_t kRegional[] = {55, 80, 102, 120, 121};  // K14, K56, the ISO key, KL, KR

QString KeyName(size_t position) { return QStringLiteral("kb_key_%1").arg(position); }

/// The keyboard's key page at the window's first size, laid out and shown.
void ShowKeyPage(KeyPagesRig& rig) {
    auto& window = rig.window();
    window.resize(app::kFirstWindowSize);
    QString why;
    ASSERT_TRUE(app::ShowScreenshotPage(window, *app::FindScreenshotPage(QStringLiteral("kb-keys")), &why))
        << why.toStdString();
    window.show();
    for (int i = 0; i < 3; ++i) {
        if (window.layout()) window.layout()->activate();
        QApplication::processEvents();
    }
}

/// A click where the user sees the control: the press and release go to whatever widget
/// lies at the control's centre in the window. false when that is not the control.
bool ClickAtCentre(QWidget& window, QWidget* control) {
    const QPoint centre = control->mapTo(&window, control->rect().center());
    QWidget* hit = window.childAt(centre);
    if (hit != control) return false;
    const QPoint local = hit->mapFrom(&window, centre);
    for (auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent e(type, local, hit->mapToGlobal(local), Qt::LeftButton,
                      type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(hit, &e);
    }
    return true;
}

TEST(KeyboardKeyPositions, EveryKeyTheKeyboardHasIsAClickableKeyOnTheShownPage) {
    for (auto model : {DeviceModel::RgbKeyboard, DeviceModel::MonoKeyboard}) {
        SCOPED_TRACE(std::string(device::RowOf(model).shortName));
        KeyPagesRig rig(model);
        ShowKeyPage(rig);
        const QRect page = rig.window().rect();
        size_t checked = 0;
        for (size_t p = 0; p < keyboard::kKeyPositionCount; ++p) {
            if (keyboard::kKeyPositions[p].empty() || rig.keyAt(p) == kNoKey) continue;
            SCOPED_TRACE(p);
            auto* key = rig.control<QPushButton>(KeyName(p));
            ASSERT_NE(key, nullptr);
            EXPECT_TRUE(key->isVisible());
            EXPECT_TRUE(key->isEnabled());
            EXPECT_TRUE(page.contains(QRect(key->mapTo(&rig.window(), QPoint()), key->size())));
            rig.control("kb_tab_function")->hide();
            ASSERT_TRUE(ClickAtCentre(rig.window(), key)) << "something else lies over the key";
            EXPECT_TRUE(rig.shown("kb_tab_function"));
            const auto& state = rig.feature<app::KeyPagesFeature>()->keyboardPage().state();
            EXPECT_EQ(state.key, rig.keyAt(p));
            ++checked;
        }
        EXPECT_EQ(checked, keyboard::OccupiedKeyPositionCount());  // the emulated keyboards have every key
    }
}

TEST(KeyboardKeyPositions, ARegionalKeyEditsAndAppliesLikeAnyOther) {
    KeyPagesRig rig;
    ShowKeyPage(rig);
    rig.window().activateWindow();
    const size_t k14 = rig.keyAt(55);
    rig.click("kb_key_55");
    ASSERT_TRUE(rig.shown("kb_tab_function"));
    EXPECT_EQ(rig.item("kb_key_fct_combo"), 0);  // its own code
    EXPECT_EQ(rig.bankCode(k14), (FunctionCode{0x20, 0, 0x89}));
    rig.pick("kb_key_fct_combo", 1);
    rig.press(KEY_A, Qt::Key_A);
    EXPECT_EQ(rig.bankCode(k14), (FunctionCode{0x20, 0, 0x04}));
    EXPECT_EQ(rig.control("kb_key_55")->toolTip(),
              rig.translated("keyboard_key_K14") + rig.translated("Key_Set") + rig.translated("keyboard_key_A"));
    EXPECT_TRUE(rig.control("kb_key_55")->property("remapped").toBool());

    rig.click("kb_key_butt_prosave");
    ASSERT_TRUE(rig.settle());
    const size_t keys = rig.runtime().keyboard.read([](const auto& d) { return d.info.keyCount(); });
    const auto memory = rig.keyMemory(DeviceModel::RgbKeyboard, keys * 3);
    EXPECT_EQ((FunctionCode{memory[3 * k14], memory[3 * k14 + 1], memory[3 * k14 + 2]}), (FunctionCode{0x20, 0, 0x04}));
    const auto bank = rig.runtime().keyboard.read([&](const auto& d) {
        return std::vector<uint8_t>(d.banks[0].bytes.begin(), d.banks[0].bytes.begin() + std::ptrdiff_t(keys * 3));
    });
    EXPECT_EQ(memory, bank);
    EXPECT_EQ(rig.keyProfile(ListId::KeyboardKeys, keys * 3), bank);
    EXPECT_TRUE(rig.dialogs.shown.empty());
}

// Remapped and back to its own code: the look and the tooltip follow, also for the keys
// whose own code has no name in the key list (the ISO key, the Fn key).
TEST(KeyboardKeyPositions, AKeyBackAtItsOwnCodeLooksNormalAgain) {
    KeyPagesRig rig;
    struct Case {
        size_t position;
        const char* ownName;
    };
    const Case cases[] = {{55, "keyboard_key_K14"}, {80, "keyboard_key_K56"}, {102, "kb_key_iso_name_text"},
                          {120, "keyboard_key_KL"}, {121, "keyboard_key_KR"}, {110, "kb_key_fn_name_text"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.position);
        auto* key = rig.control(KeyName(c.position));
        rig.click(KeyName(c.position));
        rig.pick("kb_key_fct_combo", 5);  // DPI
        rig.pick("kb_key_fct_combo_14", 1);
        EXPECT_TRUE(key->property("remapped").toBool());
        EXPECT_TRUE(key->toolTip().endsWith(rig.translated("Key_Set") + rig.translated("mouse_key_DPI_sub")));
        EXPECT_TRUE(key->toolTip().startsWith(rig.translated(c.ownName)));
        rig.click("kb_key_butt_keydefalut");
        EXPECT_FALSE(key->property("remapped").toBool());
        EXPECT_EQ(key->toolTip(), rig.translated(c.ownName));
    }
    // The names follow the language.
    rig.window().changeLanguage(ui::kLanguages[3]);
    EXPECT_EQ(rig.control("kb_key_102")->toolTip(), rig.translated("kb_key_iso_name_text"));
    EXPECT_EQ(rig.text("kb_key_80"), rig.translated("kb_key_legend_ro_text"));
}

TEST(KeyboardKeyPositions, KeysTheKeyboardLacksCannotBeClicked) {
    KeyPagesRig rig;
    ShowKeyPage(rig);
    auto& page = rig.feature<app::KeyPagesFeature>()->keyboardPage();
    // A keyboard without K14 and without Esc.
    auto lack = [&](std::initializer_list<size_t> positions) {
        rig.runtime().keyboard.update([&](auto& d) {
            for (size_t p : positions) d.positionMap[p] = int32_t(kNoKey);
        });
        page.refresh();
        QApplication::processEvents();
    };
    lack({0, 55});
    for (const char* name : {"kb_key_0", "kb_key_55"}) {
        SCOPED_TRACE(name);
        auto* key = rig.control<QPushButton>(name);
        EXPECT_TRUE(key->isVisible());
        EXPECT_FALSE(key->isEnabled());
        ClickAtCentre(rig.window(), key);
        key->click();
        EXPECT_FALSE(rig.shown("kb_tab_function"));
    }
    EXPECT_TRUE(rig.control("kb_key_80")->isEnabled());
    EXPECT_TRUE(rig.control("kb_key_regional")->isVisible());
    // None of the regional keys: the strip goes.
    lack({80, 102, 120, 121});
    EXPECT_FALSE(rig.control("kb_key_regional")->isVisible());
    EXPECT_TRUE(rig.control("kb_key_1")->isEnabled());
}

/// The width a push button needs for its text inside its style's contents rectangle.
int NeededWidth(QPushButton* button) {
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    const QRect contents = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
    return button->width() - contents.width() + button->fontMetrics().horizontalAdvance(button->text());
}

TEST(KeyboardKeyPositions, TheStripsTextsFitInEveryLanguage) {
    KeyPagesRig rig;
    ShowKeyPage(rig);
    auto* strip = rig.control("kb_key_regional");
    ASSERT_NE(strip, nullptr);
    for (const auto& language : ui::kLanguages) {
        SCOPED_TRACE(language.code);
        rig.window().changeLanguage(language);
        ShowKeyPage(rig);
        auto* caption = rig.control<QLabel>("kb_key_regional_caption");
        EXPECT_EQ(caption->text(), rig.translated("kb_key_regional_text"));
        EXPECT_LE(caption->fontMetrics().horizontalAdvance(caption->text()), caption->contentsRect().width());
        for (size_t p : kRegional) {
            auto* key = rig.control<QPushButton>(KeyName(p));
            SCOPED_TRACE(key->text().toStdString());
            EXPECT_FALSE(key->text().isEmpty());
            EXPECT_LE(NeededWidth(key), key->width());
            EXPECT_TRUE(strip->contentsRect().contains(QRect(key->mapTo(strip, QPoint()), key->size())));
        }
    }
}

}  // namespace
