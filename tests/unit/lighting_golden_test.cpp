// SPDX-License-Identifier: GPL-3.0-or-later
// Golden frames: each fixture in lighting/ names an `orvanectl render` command line in its
// first line ("# render ARGS") and holds the hex lines it printed when it was reviewed.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "lighting/render_session.h"

using namespace orvane::lighting;

namespace {

struct Golden {
    std::string name;
    std::vector<std::string> args;
    std::vector<std::string> lines;
};

std::vector<Golden> LoadGoldens() {
    std::vector<Golden> all;
    const std::filesystem::path dir = std::filesystem::path(ORVANE_FIXTURES_DIR) / "lighting";
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        if (entry.path().extension() != ".txt") continue;
        Golden g{entry.path().filename().string(), {}, {}};
        std::ifstream in(entry.path());
        std::string header;
        std::getline(in, header);
        std::istringstream words(header);
        std::string word;
        words >> word;  // "#"
        words >> word;  // "render"
        while (words >> word) g.args.push_back(word);
        for (std::string line; std::getline(in, line);)
            if (!line.empty()) g.lines.push_back(line);
        all.push_back(std::move(g));
    }
    std::sort(all.begin(), all.end(), [](const Golden& a, const Golden& b) { return a.name < b.name; });
    return all;
}

}  // namespace

TEST(LightingGolden, RenderMatchesEveryReviewedFixture) {
    const auto goldens = LoadGoldens();
    ASSERT_GE(goldens.size(), 60u);
    for (const auto& g : goldens) {
        std::string error;
        const auto request = ParseRenderRequest(g.args, error);
        ASSERT_TRUE(request) << g.name << ": " << error;
        const auto lines = RenderLines(*request);
        ASSERT_EQ(lines.size(), g.lines.size()) << g.name;
        for (size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(lines[i], g.lines[i]) << g.name << " line " << i + 1;
    }
}

TEST(LightingGolden, RenderRequestsAreChecked) {
    std::string error;
    EXPECT_FALSE(ParseRenderRequest({"kb", "--mode", "3"}, error));
    EXPECT_FALSE(ParseRenderRequest({"pad", "--mode", "3", "--frames", "1"}, error));
    EXPECT_FALSE(ParseRenderRequest({"kb", "--mode", "x", "--frames", "1"}, error));
    EXPECT_FALSE(ParseRenderRequest({"kb", "--mode", "3", "--frames", "1", "--color", "12345"}, error));
    EXPECT_FALSE(ParseRenderRequest({"kb", "--mode", "3", "--frames"}, error));
    const auto r = ParseRenderRequest({"sync", "--mode", "2", "--color", "0a0B0c", "--seven", "1", "--frames", "3"}, error);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->target, RenderTarget::Sync);
    EXPECT_EQ(r->choice.colour, (Rgb{10, 11, 12}));
    EXPECT_EQ(r->frames, 3u);
    // Sync: three lines a tick; the single-colour static mode: its three reports a tick.
    EXPECT_EQ(RenderLines(*r).size(), 9u);
    EXPECT_EQ(RenderLines(*ParseRenderRequest({"kb1", "--mode", "0", "--frames", "2"}, error)).size(), 6u);
    EXPECT_TRUE(RenderLines(*ParseRenderRequest({"ms", "--mode", "8", "--frames", "5"}, error)).empty());
}
