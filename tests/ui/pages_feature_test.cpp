// SPDX-License-Identifier: GPL-3.0-or-later
// A page built from its row alone: the pages feature builds its controller, binds its table
// under the row's name and refreshes it when its device connects or its model changes.
#include <gtest/gtest.h>

#include "app/features/pages_feature.h"
#include "program_rig.h"

using namespace orvane;
using device::DeviceKind;

namespace {

class CountingPage final : public ui::pages::Page {
public:
    explicit CountingPage(const ui::pages::PageContext& context) : found(context.lookup(QStringLiteral("str_test"))) {
        bindings_.on("str_test", ui::event::kClick, [this](const ui::Notification&) { ++clicks; });
    }
    const ui::pages::PageBindings& bindings() const override { return bindings_; }
    void refresh() override { ++refreshes; }

    QWidget* found;
    int clicks = 0;
    int refreshes = 0;

private:
    ui::pages::PageBindings bindings_;
};

constexpr ui::pages::PageRow kRows[] = {
    {"kb-counting", DeviceKind::Keyboard, nullptr, nullptr, nullptr, ui::pages::HeaderSet::Unchanged, false,
     &ui::pages::MakePage<CountingPage>},
    {"kb-lighting", DeviceKind::Keyboard, "kb_deng_Op_tab", "kb_Deng_UI", "keyboard_deng.xml"},  // a feature's own
};

TEST(PagesFeature, BuildsBindsAndRefreshesThePagesOfItsRows) {
    programtest::RigOptions o;
    o.start = false;
    o.features = std::vector<std::string_view>{};
    programtest::ProgramRig rig(o);
    app::FeatureContext context{rig.runtime(), rig.window()};
    app::PagesFeature feature(kRows);
    feature.install(context);

    auto* page = static_cast<CountingPage*>(feature.page("kb-counting"));
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(feature.page("kb-lighting"), nullptr);
    EXPECT_NE(page->found, nullptr);  // the window's controls by name
    ASSERT_EQ(feature.boundPages().size(), 1u);
    EXPECT_STREQ(feature.boundPages()[0].page, "kb-counting");

    rig.window().notify({ui::event::Click, QStringLiteral("STR_TEST"), nullptr});
    EXPECT_EQ(page->clicks, 1);
    EXPECT_EQ(rig.window().router().pageFor({ui::event::Click, QStringLiteral("str_test"), nullptr}), "kb-counting");

    auto& events = rig.runtime().events;
    events.modelChanged.emit(DeviceKind::Keyboard);
    events.deviceConnected.emit(DeviceKind::Keyboard);
    events.modelChanged.emit(DeviceKind::Mouse);  // not its device
    EXPECT_EQ(page->refreshes, 2);
}

}  // namespace
