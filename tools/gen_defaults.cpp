// SPDX-License-Identifier: GPL-3.0-or-later
// gen_defaults FOLDER: writes the default profile and cursor-sequence files into FOLDER
// (data/defaults in the source tree holds the shipped copies).

#include <filesystem>
#include <iostream>

#include "macros/action_file.h"
#include "profiles/profile_file.h"
#include "tools/default_cursors.h"
#include "tools/default_profiles.h"

int main(int argc, char** argv) {
    using namespace orvane;
    // An option such as "--help" is no folder to fill.
    if (argc != 2 || argv[1][0] == '-') {
        std::cerr << "usage: gen_defaults FOLDER\n";
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    for (const auto& file : tools::DefaultProfiles()) {
        if (!profiles::WriteProfileFile(folder / file.fileName, profiles::ListSpecOf(file.list).kind, file.body)) {
            std::cerr << "gen_defaults: cannot write " << (folder / file.fileName).string() << '\n';
            return 1;
        }
    }
    for (int k = 0; k < macros::kCursorSequenceCount; ++k) {
        const auto path = folder / (macros::DefaultSequenceName(k) + std::string(macros::kCursorExtension));
        if (!macros::WriteActionFile(path, tools::DefaultCursorSequence(k))) {
            std::cerr << "gen_defaults: cannot write " << path.string() << '\n';
            return 1;
        }
    }
    return 0;
}
