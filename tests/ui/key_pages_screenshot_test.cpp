// SPDX-License-Identifier: GPL-3.0-or-later
// Pictures of the two key pages in the four languages, for looking at by eye: written only
// when ORVANE_KEY_SCREENSHOTS names a folder (skipped otherwise).
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QPixmap>
#include <QPushButton>

#include "app/screenshot_pages.h"
#include "program_rig.h"
#include "ui/language.h"

namespace {

using orvane::device::DeviceModel;

TEST(KeyPagesScreenshots, BothPagesInEveryLanguage) {
    const QString folder = qEnvironmentVariable("ORVANE_KEY_SCREENSHOTS");
    if (folder.isEmpty()) GTEST_SKIP() << "set ORVANE_KEY_SCREENSHOTS to a folder to write the pictures";
    QDir().mkpath(folder);
    programtest::RigOptions o;
    o.models = {DeviceModel::RgbKeyboard, DeviceModel::Mouse};
    programtest::ProgramRig rig(o);
    ASSERT_TRUE(rig.waitForTab("kb_tab"));
    ASSERT_TRUE(rig.waitForTab("ms_tab"));
    rig.settle();
    rig.window().resize(orvane::app::kFirstWindowSize);
    // A remapped key and a remapped button, with their editors open.
    auto pick = [&](const char* combo, int item) { rig.control<QComboBox>(combo)->setCurrentIndex(item); };
    for (const auto& language : orvane::ui::kLanguages) {
        rig.window().changeLanguage(language);
        rig.runtime().events.settingsChanged.emit(orvane::runtime::Setting::Language);
        rig.window().selectTab(QStringLiteral("kb_tab"));
        rig.control<QAbstractButton>("kb_key_Op_tab")->click();
        rig.control<QPushButton>("kb_key_30")->click();
        pick("kb_key_fct_combo", 3);
        pick("kb_key_fct_combo_12", 1);
        QApplication::processEvents();
        rig.window().grab().save(folder + QStringLiteral("/kb-keys-%1.png").arg(QLatin1String(language.code)));
        pick("kb_key_fct_combo", 9);
        pick("kb_key_fct_combo_24", 4);
        QApplication::processEvents();
        rig.window().grab().save(folder + QStringLiteral("/kb-keys-macro-%1.png").arg(QLatin1String(language.code)));
        rig.window().selectTab(QStringLiteral("ms_tab"));
        rig.control<QAbstractButton>("ms_key_Op_tab")->click();
        rig.control<QPushButton>("ms_key_3")->click();
        pick("ms_key_fct_combo", 9);
        pick("ms_key_fct_combo_24", 4);
        QApplication::processEvents();
        rig.window().grab().save(folder + QStringLiteral("/ms-buttons-%1.png").arg(QLatin1String(language.code)));
        rig.control<QPushButton>("ms_key_2_0")->click();  // the right button on the drawing
        pick("ms_key_fct_combo", 2);                       // the widest panel: a swing
        QApplication::processEvents();
        rig.window().grab().save(folder + QStringLiteral("/ms-buttons-swing-%1.png").arg(QLatin1String(language.code)));
    }
}

}  // namespace
