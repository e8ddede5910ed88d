// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/features/macro_pages_feature.h"

#include "app/main_window.h"

namespace orvane::app {

using device::DeviceKind;
using runtime::CaptureTarget;

namespace {
// The page table's names of the editors of ui::pages::kMacroPages, in its order.
constexpr const char* kMacroPageNames[] = {"kb-macros", "ms-macros"};
static_assert(std::size(kMacroPageNames) == std::tuple_size_v<std::remove_cvref_t<decltype(ui::pages::kMacroPages)>>);
}  // namespace

MacroPagesFeature::~MacroPagesFeature() {
    // The pages stop a recording through the capture service: they go first.
    cursor_.reset();
    for (auto& page : pages_) page.reset();
}

void MacroPagesFeature::install(FeatureContext& context) {
    runtime::Runtime& rt = context.runtime;
    MainWindow& window = context.window;
    auto translate = [&window](const QString& id) { return window.language().text(id); };
    for (size_t i = 0; i < pages_.size(); ++i) {
        ui::pages::MacroPageServices services{
            .dialogs = &window.dialogs(),
            .owner = &window,
            .translate = translate,
            // The one capture service (the key capture feature) records for this editor.
            .startCapture = [&rt, target = ui::pages::kMacroPages[i].target](int, bool keyboard, bool mouse) {
                rt.events.captureRequested.emit(target, keyboard, mouse);
                return true;
            },
            .stopCapture = [&rt, target = ui::pages::kMacroPages[i].target] {
                rt.events.captureRequested.emit(target, false, false);
            },
            .clock = {},
        };
        pages_[i] = std::make_unique<ui::pages::MacroPage>(window.lookup(), rt, ui::pages::kMacroPages[i], std::move(services));
        pages_[i]->prepare();
        bind(context, kMacroPageNames[i], pages_[i]->bindings());
        // Unsaved edits keep the editor up.
        subscriptions_ += window.guardPage(kMacroPageNames[i], *pages_[i]);
    }

    cursor_ = std::make_unique<ui::pages::CursorPage>(window.lookup(), rt,
                                                      ui::pages::CursorPageServices{&window.dialogs(), &window, translate});
    cursor_->prepare();
    bind(context, "cursor sequences", cursor_->bindings());

    subscriptions_ += rt.events.inputCaptured.subscribe([this](const CaptureTarget& target, const runtime::CapturedInput& input) {
        for (auto& page : pages_)
            if (page->row().target == target) page->record(input);
    });
    subscriptions_ += rt.events.captureEnds.subscribe([this] {
        for (auto& page : pages_) page->captureEnded();
    });
    subscriptions_ += rt.events.settingsChanged.subscribe([this](const runtime::Setting& setting) {
        if (setting != runtime::Setting::Language) return;
        for (auto& page : pages_) page->retranslate();
    });
    // The mouse keeps its own cursor sequences: after each connect they replace the files.
    subscriptions_ += rt.events.deviceConnected.subscribe([this](const DeviceKind& kind) {
        if (kind == DeviceKind::Mouse) cursor_->readFromMouse();
    });
}

}  // namespace orvane::app
