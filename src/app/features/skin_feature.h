// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Skin: the background pop-up under "skinbtn". A choice becomes the runtime's background
// and is told with settingsChanged(Setting::Background) (the main window shows it on
// "root"); a preset and the reset are remembered in main.ini for the next start, a colour
// and a custom image last until the program ends.

#include <QPointer>

#include "app/feature.h"
#include "app/features/skin_frame.h"

namespace orvane::app {

class SkinFeature final : public Feature {
public:
    ~SkinFeature() override;
    void install(FeatureContext& context) override;

    /// Opens the pop-up under "skinbtn".
    void open();
    /// The open pop-up, or null.
    CSkinFrame* frame() const { return frame_; }
    /// What a choice does (the pop-up has closed by then).
    void apply(const CSkinFrame::Choice& choice);

private:
    MainWindow* main_ = nullptr;
    runtime::Runtime* runtime_ = nullptr;
    QPointer<CSkinFrame> frame_;
    ui::pages::PageBindings button_;
};

}  // namespace orvane::app
