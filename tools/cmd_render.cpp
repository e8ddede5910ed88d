// SPDX-License-Identifier: GPL-3.0-or-later
// orvanectl render: the frames an effect sends, from the reset state, without a device.

#include <ostream>

#include "lighting/render_session.h"
#include "tools/cli.h"

namespace orvane::cli {

std::vector<Subcommand> RenderSubcommands() {
    return {{
        "render",
        "kb|kb1|ms|mp|sync --mode N [--brightness B] [--speed S] [--direction D] [--seven 0|1] "
        "[--color RRGGBB] [--layer L] --frames K",
        "print the K lighting frames the device would receive (one hex line per command-18 payload; "
        "sync: keyboard, mouse, pad), from the reset state, without a device",
        [](Context& ctx, const std::vector<std::string>& args) {
            std::string error;
            const auto request = lighting::ParseRenderRequest(args, error);
            if (!request) {
                ctx.err << "orvanectl: render: " << error << '\n';
                return kExitUsage;
            }
            for (const auto& line : lighting::RenderLines(*request)) ctx.out << line << '\n';
            return kExitOk;
        },
    }};
}

}  // namespace orvane::cli
