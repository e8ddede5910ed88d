// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/features/skin_feature.h"

#include "app/main_window.h"
#include "ui/log.h"

namespace orvane::app {

namespace {

/// The custom image's file choice: PNG files first, any file on request.
ui::FileChoice PngChoice() {
    return {false, QStringLiteral("png"), QStringLiteral("*.png"), QStringLiteral("(*.png) | *.png |(*.*)|*.*||")};
}

}  // namespace

SkinFeature::~SkinFeature() { delete frame_.data(); }

void SkinFeature::install(FeatureContext& context) {
    main_ = &context.window;
    runtime_ = &context.runtime;
    button_.on("skinbtn", ui::event::kClick, [this](const ui::Notification&) { open(); });
    bind(context, "background button", button_);
}

void SkinFeature::open() {
    if (!main_) return;
    delete frame_.data();  // a new click makes a new pop-up
    frame_ = new CSkinFrame(main_, main_->skin(), main_->language(),
                            [this](const CSkinFrame::Choice& choice) { apply(choice); });
    frame_->placeUnder(main_->control(QStringLiteral("skinbtn")));
    frame_->show();
}

void SkinFeature::apply(const CSkinFrame::Choice& choice) {
    appearance::SkinChangedParam param = choice.param;
    appearance::BackgroundSettings remembered(main_->mainIni().path());
    bool written = true;
    switch (choice.action) {
    case CSkinFrame::Action::Preset: written = remembered.rememberPreset(param.bgimage); break;
    case CSkinFrame::Action::Reset: written = remembered.rememberReset(); break;
    case CSkinFrame::Action::Colour: written = remembered.rememberColour(param.bkcolor); break;
    case CSkinFrame::Action::Custom: {
        const QString file = main_->dialogs().chooseFile(main_, PngChoice());
        if (file.isEmpty()) return;  // cancelled: nothing changes
        param = appearance::ImageChoice(file.toStdString());
        break;
    }
    }
    if (!written) qCDebug(lcShell) << "main.ini: the background choice could not be kept";
    runtime_->background = std::move(param);
    runtime_->events.settingsChanged.emit(runtime::Setting::Background);
}

}  // namespace orvane::app
