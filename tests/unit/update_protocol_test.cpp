// SPDX-License-Identifier: GPL-3.0-or-later
// The update protocol's pure parts, the settings window's decisions and the background
// settings: encodings, reply reading from hostile text, version numbers and texts, the
// endpoint a configured server gives, the pages and language list, main.ini's "SKINIMAGE".

#include <gtest/gtest.h>

#include <regex>
#include <set>

#include "appearance/background.h"
#include "platform/atomic_file.h"
#include "platform/ini_file.h"
#include "platform/machine_settings.h"
#include "unit/profile_fixture.h"
#include "update/settings_view.h"
#include "update/update_client.h"

namespace orvane {
namespace {

TEST(UpdateProtocol, Base64AndTheRequestBody) {
    // RFC 4648's test vectors, and bytes above 0x7F.
    const std::pair<std::string, std::string> vectors[] = {
        {"", ""}, {"f", "Zg=="}, {"fo", "Zm8="}, {"foo", "Zm9v"}, {"foob", "Zm9vYg=="},
        {"fooba", "Zm9vYmE="}, {"foobar", "Zm9vYmFy"},
    };
    for (const auto& [in, out] : vectors) EXPECT_EQ(update::Base64(std::string_view(in.data(), in.size())), out) << in;
    EXPECT_EQ(update::Base64(std::string("\xff\xfe\x00", 3)), "//4A");

    const std::string json = update::VersionQueryJson("Kx027");
    EXPECT_EQ(json, R"({"command_type":"Kx027","getUrl":1})");
    const std::string body = update::RequestBody(json);
    EXPECT_EQ(body, std::string("ActiveData=eyJjb21tYW5kX3R5cGUiOiJLeDAyNyIsImdldFVybCI6MX0=\0", 60));
    EXPECT_EQ(body.size(), 60u);
    EXPECT_EQ(update::RegistrationJson("AB-1", "Kx026"), R"({"UUID":"AB-1","command_type":"Kx026"})");
    EXPECT_EQ(update::VersionQueryJson("a\"b\\"), R"({"command_type":"a\"b\\","getUrl":1})");
}

TEST(UpdateProtocol, RegistrationIdsAreNewUpperCaseGuids) {
    const std::regex guid("[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}");
    std::set<std::string> seen;
    for (int i = 0; i < 100; ++i) {
        const auto id = update::NewRegistrationId();
        EXPECT_TRUE(std::regex_match(id, guid)) << id;
        seen.insert(id);
    }
    EXPECT_EQ(seen.size(), 100u);
}

TEST(UpdateProtocol, RepliesAreReadDefensively) {
    struct Case {
        const char* what;
        std::string text;
        bool parsed;
        std::optional<int> resultCode;
        std::optional<std::string> version;
    } const cases[] = {
        {"registration confirmed", R"({"Result_Code":"2"})", true, 2, std::nullopt},
        {"code as a number", R"({"Result_Code":2})", true, 2, std::nullopt},
        {"code not digits", R"({"Result_Code":"2x"})", true, std::nullopt, std::nullopt},
        {"version", R"({"Data":{"version":"1.0.5","url":"x"}})", true, std::nullopt, "1.0.5"},
        {"Data null", R"({"Data":null})", true, std::nullopt, std::nullopt},
        {"an array", "[1,2]", true, std::nullopt, std::nullopt},
        {"a string", "\"2\"", true, std::nullopt, std::nullopt},
        {"garbage", "<html>", false, std::nullopt, std::nullopt},
        {"empty", "", false, std::nullopt, std::nullopt},
        {"nested too deep", std::string(100, '[') + std::string(100, ']'), false, std::nullopt, std::nullopt},
        {"text after a zero byte", std::string("{\"Result_Code\":\"2\"}\0garbage", 27), true, 2, std::nullopt},
        {"ends after 1023 bytes: cut, not JSON", R"({"Data":{"version":"1.0.5"},"pad":")" + std::string(1000, 'x') + "\"}",
         false, std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto r = update::ParseReply(c.text);
        EXPECT_EQ(r.parsed, c.parsed);
        EXPECT_EQ(r.resultCode, c.resultCode);
        EXPECT_EQ(r.version, c.version);
    }
}

TEST(UpdateProtocol, VersionNumbersAndTexts) {
    struct Case {
        const char* text;
        std::optional<int> number;
        std::optional<int> valid;
    } const cases[] = {
        {"1.0.5", 105, 105}, {"2.9.9", 299, 299}, {"3.0.0", 300, std::nullopt}, {"10.0.0", 1000, std::nullopt},
        {"0.9.9", 99, 99},   {"", std::nullopt, std::nullopt}, {"1.0.5b", std::nullopt, std::nullopt},
        {"-1", std::nullopt, std::nullopt}, {"99999999999", std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(update::VersionNumber(c.text), c.number);
        EXPECT_EQ(update::ValidServerVersion(std::string_view(c.text)), c.valid);
    }
    EXPECT_EQ(update::InstalledVersionNumber("3.0.0"), 300);
    EXPECT_EQ(update::InstalledVersionNumber(""), 0);
    EXPECT_EQ(update::KeyboardVersionNumber(0x105), 105);
    EXPECT_EQ(update::KeyboardVersionNumber(0), 0);
    EXPECT_EQ(update::KeyboardVersionNumber(0x1A5), 1);  // hex digits read as decimal stop at the letter
    EXPECT_EQ(update::KeyboardVersionText(0x105), "1.0.5");
    EXPECT_EQ(update::KeyboardVersionText(0x1105), "1.1.05");
    EXPECT_EQ(update::KeyboardVersionText(0x15), "1.5");
    EXPECT_EQ(update::KeyboardVersionText(0x5), "5");
    EXPECT_EQ(update::UpdaterParameters(update::kSoftware, "3.0.1", 0), "OrvaneGamingJP;ja;3.0.1");
    EXPECT_EQ(update::UpdaterParameters(update::kRgbKeyboard, "3.0.1", 0x105), "KestrelEliteRGBJP;ja;1.0.5");
    EXPECT_EQ(update::UpdaterParameters(update::kSoftware, "", 0), "OrvaneGamingJP;ja;");
    EXPECT_EQ(update::UpdaterParameters(update::kSingleColourKeyboard, "3.0.1", 0x105), "");
    EXPECT_EQ(update::FindProduct("rgb_kb_btn"), &update::kProducts[1]);
    EXPECT_EQ(update::FindProduct("Kx023")->updaterName, "HarrierEliteRGB");
}

TEST(UpdateEndpoint, FromTheConfiguredServer) {
    const std::pair<const char*, std::optional<std::string>> cases[] = {
        {"updates.example.com", "http://updates.example.com/download/getVersionV1"},
        {" updates.example.com:8080 ", "http://updates.example.com:8080/download/getVersionV1"},
        {"http://127.0.0.1:39000/", "http://127.0.0.1:39000/download/getVersionV1"},
        {"HTTPS://updates.example.com", "https://updates.example.com/download/getVersionV1"},
        {"[::1]:8080", "http://[::1]:8080/download/getVersionV1"},
        {"", std::nullopt},
        {"ftp://updates.example.com", std::nullopt},
        {"updates.example.com/other/path", std::nullopt},
        {"updates.example.com:0", std::nullopt},
        {"updates.example.com:99999", std::nullopt},
        {"bad host", std::nullopt},
        {"user@host", std::nullopt},
    };
    for (const auto& [server, url] : cases) EXPECT_EQ(update::EndpointUrl(server), url) << server;

    testing::ProfileRig scratch;  // only for its folder
    platform::MachineSettings settings(scratch.data / "machine.ini");
    EXPECT_FALSE(update::ConfiguredEndpoint(settings)) << "no host configured: no request";
    ASSERT_TRUE(settings.setValue(platform::MachineSettings::kUpdateServer, "  "));
    EXPECT_FALSE(update::ConfiguredEndpoint(settings));
    ASSERT_TRUE(settings.setValue(platform::MachineSettings::kUpdateServer, "updates.example.com"));
    const auto endpoint = update::ConfiguredEndpoint(settings);
    ASSERT_TRUE(endpoint);
    EXPECT_EQ(endpoint->url, "http://updates.example.com/download/getVersionV1");
    EXPECT_EQ(endpoint->connectTimeout, std::chrono::milliseconds(60000));
    EXPECT_EQ(endpoint->receiveTimeout, std::chrono::milliseconds(30000));
}

TEST(SettingsView, PagesVersionTextsAndButtons) {
    const struct {
        int kind;
        bool mouse;
        bool rgb, blue;
    } pages[] = {{0, false, false, false}, {1, true, true, false}, {2, false, false, true}, {7, true, false, false}};
    for (const auto& p : pages) {
        const auto shown = update::PagesFor(p.kind, p.mouse);
        EXPECT_EQ(shown.rgbPage, p.rgb) << p.kind;
        EXPECT_EQ(shown.bluePage, p.blue) << p.kind;
        EXPECT_EQ(shown.mousePage, p.mouse) << p.kind;
    }

    struct KeyboardCase {
        uint16_t installed;
        std::optional<int> newest;
        const char* installedText;
        const char* newestText;
        bool enabled;
    } const keyboards[] = {
        {0x105, 106, "V1.0.5", "V1.0.6", true},
        {0x105, 105, "V1.0.5", "V1.0.5", false},
        {0x105, std::nullopt, "V1.0.5", "unknown", false},
        {0x105, 300, "V1.0.5", "unknown", false},
        {0, 106, "unknown", "V1.0.6", false},
    };
    for (const auto& k : keyboards) {
        const auto line = update::KeyboardLine(k.installed, k.newest);
        EXPECT_EQ(line.installed, k.installedText);
        EXPECT_EQ(line.newest, k.newestText);
        EXPECT_EQ(line.updateEnabled, k.enabled) << k.newestText;
    }

    struct SoftwareCase {
        std::optional<std::string> newest;
        const char* newestText;
        bool enabled;
    } const software[] = {
        {"3.0.1", "V3.0.1", true},   {"3.0.0", "V3.0.0", false}, {"0.9.9", "unknown", false},
        {std::nullopt, "unknown", false}, {"", "unknown", false}, {"4.0-beta", "V4.0-beta", false},
    };
    for (const auto& s : software) {
        const auto line = update::SoftwareLine("3.0.0", s.newest);
        EXPECT_EQ(line.installed, "V3.0.0");
        EXPECT_EQ(line.newest, s.newestText);
        EXPECT_EQ(line.updateEnabled, s.enabled) << s.newestText;
    }
}

TEST(SettingsView, LanguageListOrder) {
    // Entry order: Simplified Chinese, Traditional Chinese, English, Japanese.
    const std::pair<int, std::optional<int>> entries[] = {{0, 2}, {1, 0}, {2, 1}, {3, 3}, {4, std::nullopt}, {-1, std::nullopt}};
    for (const auto& [language, entry] : entries) {
        EXPECT_EQ(update::LanguageComboEntry(language), entry) << language;
        if (entry) {
            EXPECT_EQ(update::LanguageOfComboEntry(*entry), language);
        }
    }
    EXPECT_EQ(update::LanguageOfComboEntry(4), std::nullopt);
}

TEST(BackgroundSettings, PresetsAreRememberedResetAndColoursAreNot) {
    testing::ProfileRig scratch;
    const auto mainIni = scratch.data / "main.ini";
    appearance::BackgroundSettings settings(mainIni);
    EXPECT_EQ(settings.rememberedImage(), std::nullopt);

    ASSERT_TRUE(settings.rememberPreset(appearance::kPresetImages[1].image));
    EXPECT_EQ(settings.rememberedImage(), "backgrounds/ember.png");
    const platform::IniFile ini(mainIni);
    EXPECT_EQ(ini.readString("SKINIMAGE", "FLAGS"), "1");

    ASSERT_TRUE(settings.rememberReset());
    EXPECT_EQ(settings.rememberedImage(), std::nullopt);
    EXPECT_EQ(ini.readString("SKINIMAGE", "FLAGS"), "0");
    EXPECT_EQ(ini.readString("SKINIMAGE", "IMAGE"), "common/background.png");

    // The language kept in the same section is left alone.
    platform::IniFile(mainIni).writeString("SKINIMAGE", "LANGUAGE", "3");
    settings.rememberPreset("");
    EXPECT_EQ(settings.rememberedImage(), "");
    EXPECT_EQ(ini.readString("SKINIMAGE", "LANGUAGE"), "3");

    const auto colour = appearance::ColourChoice(0xFF112233);
    EXPECT_TRUE(colour.bColor);
    EXPECT_TRUE(colour.bgimage.empty());
    EXPECT_EQ(appearance::ResetChoice().bgimage, "common/background.png");
    EXPECT_EQ(appearance::ParseColour("#112233"), 0xFF112233u);
    EXPECT_EQ(appearance::ParseColour("#80112233"), 0x80112233u);
    EXPECT_EQ(appearance::ParseColour("112233"), std::nullopt);
    EXPECT_EQ(appearance::ParseColour("#11223g"), std::nullopt);
}

TEST(BackgroundSettings, ThePresetImagesShipWithTheSkin) {
    const std::filesystem::path skin = std::filesystem::path(ORVANE_SOURCE_DIR) / "skin";
    std::vector<std::string> images{std::string(appearance::kDefaultImage)};
    for (const auto& preset : appearance::kPresetImages) images.emplace_back(preset.image);
    for (const auto& image : images) {
        const auto bytes = platform::ReadWholeFile(appearance::ImageFile(skin, image));
        ASSERT_TRUE(bytes) << image;
        EXPECT_EQ(bytes->substr(0, 8), "\x89PNG\r\n\x1a\n") << image;
    }
    EXPECT_EQ(appearance::ImageFile(skin, "/home/u/pic.png"), "/home/u/pic.png");
}

}  // namespace
}  // namespace orvane
