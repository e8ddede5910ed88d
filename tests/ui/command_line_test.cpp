// The program's command line refuses empty values as orvanectl's does.
#include <gtest/gtest.h>

#include "app/command_line.h"

namespace {

TEST(ProgramCommandLine, EmptyValuesAreRefusedAsTheToolRefusesThem) {
    struct Case {
        QStringList args;
        QString error;
        QString simulate;
    } const cases[] = {
        {{"--simulate="}, "--simulate= needs a device list", ""},
        {{"--screenshot"}, "--screenshot needs a value", ""},
        {{"--screenshot="}, "--screenshot needs a path", ""},
        {{"--screenshot", ""}, "--screenshot needs a path", ""},
        {{"--simulate"}, "", "kb,ms,mp"},
        {{"--simulate=kb1,ms2"}, "", "kb1,ms2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const auto line = orvane::app::ParseCommandLine(c.args);
        EXPECT_EQ(line.error, c.error);
        if (c.error.isEmpty()) EXPECT_EQ(line.simulate.value_or(""), c.simulate);
    }
}

}  // namespace
