// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// CSkinFrame: the small frameless pop-up under "skinbtn" that chooses the main window's
// background: a preset image ("skin_image_btn_N"), a plain colour ("skin_color_btn_N"), any
// PNG file ("skin_Custom") or the default image ("skin_reset"); "skin_image" and
// "skin_color" switch the pages of "skin_tab". It closes as soon as it loses the focus (a
// click anywhere else), and with every choice. The presets and colours are the appearance
// tables; what a choice does is the owner's (SkinFeature).

#include <QWidget>

#include <functional>

#include "appearance/background.h"
#include "ui/control_index.h"
#include "ui/language.h"
#include "ui/notify_bridge.h"
#include "ui/pages/page_bindings.h"
#include "ui/skin_loader.h"

namespace orvane::app {

class CSkinFrame : public QWidget {
    Q_OBJECT
public:
    enum class Action { Preset, Colour, Custom, Reset };
    struct Choice {
        Action action;
        appearance::SkinChangedParam param;  ///< empty image for Custom (asked afterwards)
    };
    using OnChoice = std::function<void(const Choice&)>;

    CSkinFrame(QWidget* mainWindow, const ui::SkinLoader& skin, const ui::Language& language, OnChoice onChoice);

    /// Its top-right corner at the anchor's bottom-right corner.
    void placeUnder(QWidget* anchor);
    QWidget* control(const QString& name) const { return controls_.find(name); }

protected:
    bool event(QEvent* e) override;

private:
    void choose(const Choice& choice);
    void showPage(int page);

    ui::ControlIndex controls_;
    ui::NotifyBridge bridge_;
    ui::pages::PageBindings bindings_;
    OnChoice onChoice_;
};

}  // namespace orvane::app
