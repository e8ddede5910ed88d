#include "app/features/macro_pages_feature.h"

#include "app/main_window.h"

namespace orvane::app {

using device::DeviceKind;
using runtime::CaptureTarget;

namespace {

/// The editor a capture mode records for.
std::optional<CaptureTarget> TargetOf(int mode) {
    for (const auto& spec : ui::pages::kMacroPages)
        if (spec.captureMode == mode) return spec.target;
    return std::nullopt;
}

}  // namespace

MacroPagesFeature::~MacroPagesFeature() {
    // The pages stop a recording through the capture service: they go first.
    cursor_.reset();
    for (auto& page : pages_) page.reset();
    capture_.reset();
}

void MacroPagesFeature::install(FeatureContext& context) {
    runtime::Runtime& rt = context.runtime;
    MainWindow& window = context.window;
    capture_ = std::make_unique<ui::InputCapture>([&rt](const ui::CapturedInput& input) {
        if (const auto target = TargetOf(input.mode)) rt.events.inputCaptured.emit(*target, input);
    });
    auto translate = [&window](const QString& id) { return window.language().text(id); };
    for (size_t i = 0; i < pages_.size(); ++i) {
        ui::pages::MacroPageServices services{
            .dialogs = &window.dialogs(),
            .owner = &window,
            .translate = translate,
            .startCapture = [this](int mode, bool keyboard, bool mouse) { return capture_->install(mode, keyboard, mouse); },
            .stopCapture = [this] { capture_->removeAll(); },
            .clock = {},
        };
        pages_[i] = std::make_unique<ui::pages::MacroPage>(window.lookup(), rt, ui::pages::kMacroPages[i], std::move(services));
        pages_[i]->prepare();
        bind(context, Owner::Macros, pages_[i]->bindings());
    }

    // The cursor layout is placed on the keyboard's page too; this page is the mouse's copy.
    cursorControls_.add(window.control(QStringLiteral("MS_CURSOR_UI")));
    cursor_ = std::make_unique<ui::pages::CursorPage>(
        [this](const QString& name) { return cursorControls_.find(name); }, rt,
        ui::pages::CursorPageServices{&window.dialogs(), &window, translate});
    cursor_->prepare();
    bind(context, Owner::CursorSequences, cursor_->bindings());

    subscriptions_ += rt.events.inputCaptured.subscribe([this](const CaptureTarget& target, const ui::CapturedInput& input) {
        for (auto& page : pages_)
            if (page->spec().target == target) page->record(input);
    });
    subscriptions_ += rt.events.captureEnds.subscribe([this] {
        capture_->removeAll();
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
