// SPDX-License-Identifier: GPL-3.0-or-later
// The binding tables of every installed feature against the skin: each bound control exists
// (a family with its first members) and routes to the owner it is bound under, for every
// event it is bound for. A table that names a control the skin lacks, or one the router
// hands to someone else, fails here instead of staying silent in the program.
#include <gtest/gtest.h>

#include "app/router.h"
#include "program_rig.h"

using namespace orvane;

namespace {

TEST(FeatureBindings, EveryBoundControlExistsAndRoutesToItsOwner) {
    programtest::RigOptions o;
    o.start = false;
    programtest::ProgramRig rig(o);
    size_t checked = 0;
    for (const auto& feature : rig.program->features())
        for (const auto& page : feature->boundPages())
            for (const auto& entry : page.bindings->entries()) {
                SCOPED_TRACE(entry.name.toStdString());
                std::vector<QString> names;
                if (!entry.family) names.push_back(entry.name);
                for (int i = 0; i < entry.familySize; ++i) names.push_back(entry.name + QString::number(i));
                ASSERT_FALSE(names.empty()) << "a family binding names how many members the skin has";
                for (const QString& name : names) {
                    EXPECT_NE(rig.control(name), nullptr) << name.toStdString() << " is not in the skin";
                    for (uint16_t bit = 1; bit && bit <= ui::event::kMouseLeave; bit = uint16_t(bit << 1)) {
                        if (!(entry.events & bit)) continue;
                        const QString type = [&] {
                            for (const QString* t : {&ui::event::Click, &ui::event::SelectChanged, &ui::event::ItemSelect,
                                                     &ui::event::ItemClick, &ui::event::ValueChanged,
                                                     &ui::event::MoveValueChanged, &ui::event::TextChanged,
                                                     &ui::event::ColorChanged, &ui::event::MouseEnter,
                                                     &ui::event::MouseLeave})
                                if (ui::event::BitOf(*t) == bit) return *t;
                            return QString();
                        }();
                        const auto route = app::FindRoute(type, name);
                        ASSERT_TRUE(route.has_value()) << type.toStdString() << " " << name.toStdString();
                        EXPECT_EQ(int(route->owner), int(page.owner)) << type.toStdString() << " " << name.toStdString();
                        ++checked;
                    }
                }
            }
    EXPECT_GT(checked, 150u);  // every page of the program took part
}

}  // namespace
