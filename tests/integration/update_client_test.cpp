// SPDX-License-Identifier: GPL-3.0-or-later
// The update client against a real HTTP server in this process (cpp-httplib on 127.0.0.1,
// an ephemeral port): the request bytes and headers, the replies it reads, cut and refuses,
// registration and the updater start, and the failures — a server that never answers (the
// time-out, and cancel ending the wait at once) and a refused connection.

#include <gtest/gtest.h>

#include <httplib.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <regex>
#include <thread>

#include "platform/atomic_file.h"
#include "update/settings_view.h"
#include "update/update_client.h"
#include "update/version_check.h"

namespace orvane {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using update::PostStatus;

std::string Base64Decode(std::string_view text) {
    static const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    uint32_t bits = 0;
    int count = 0;
    for (const char c : text) {
        if (c == '=') break;
        bits = (bits << 6) | uint32_t(alphabet.find(c));
        if ((count += 6) >= 8) out += char((bits >> (count -= 8)) & 0xFF);
    }
    return out;
}

/// The update server: records every request and answers with what `answer` makes of the
/// request's JSON command.
class LocalServer {
public:
    struct Seen {
        std::string body, json, contentType, userAgent, target;
        size_t contentLengthHeaders = 0;
        std::string contentLength;
    };
    std::function<std::pair<int, std::string>(const std::string& json)> answer = [](const std::string&) {
        return std::pair{200, std::string("{}")};
    };

    LocalServer() {
        server_.Post(".*", [this](const httplib::Request& req, httplib::Response& res) {
            Seen seen{req.body, {}, req.get_header_value("Content-Type"), req.get_header_value("User-Agent"),
                      req.target, req.get_header_value_count("Content-Length"),
                      req.get_header_value("Content-Length")};
            const std::string prefix = "ActiveData=";
            if (req.body.rfind(prefix, 0) == 0 && !req.body.empty() && req.body.back() == '\0')
                seen.json = Base64Decode(std::string_view(req.body).substr(prefix.size(), req.body.size() - prefix.size() - 1));
            const auto [status, text] = answer(seen.json);
            {
                std::lock_guard lock(mutex_);
                seen_.push_back(seen);
            }
            res.status = status;
            res.set_content(text, "application/json");
        });
        port_ = server_.bind_to_any_port("127.0.0.1");
        thread_ = std::thread([this] { server_.listen_after_bind(); });
        for (int i = 0; i < 500 && !server_.is_running(); ++i) std::this_thread::sleep_for(10ms);
    }
    ~LocalServer() {
        server_.stop();
        thread_.join();
    }
    std::string base() const { return "http://127.0.0.1:" + std::to_string(port_); }
    update::Endpoint endpoint() const { return {*update::EndpointUrl(base())}; }
    std::vector<Seen> seen() {
        std::lock_guard lock(mutex_);
        return seen_;
    }

private:
    httplib::Server server_;
    int port_ = 0;
    std::thread thread_;
    std::mutex mutex_;
    std::vector<Seen> seen_;
};

class UpdateClientTest : public ::testing::Test {
protected:
    void SetUp() override {
        // A proxy of the machine running the tests must not take the loopback requests.
        ::setenv("no_proxy", "127.0.0.1,localhost", 1);
    }
    LocalServer server;
};

TEST_F(UpdateClientTest, SendsTheExactBodyAndHeaders) {
    update::UpdateClient client(server.endpoint());
    const auto r = client.post(update::VersionQueryJson("Kx027"));
    ASSERT_EQ(r.status, PostStatus::Ok) << r.error;
    const auto seen = server.seen();
    ASSERT_EQ(seen.size(), 1u);
    const std::string expected = std::string("ActiveData=eyJjb21tYW5kX3R5cGUiOiJLeDAyNyIsImdldFVybCI6MX0=") + '\0';
    EXPECT_EQ(seen[0].body, expected);
    EXPECT_EQ(seen[0].json, R"({"command_type":"Kx027","getUrl":1})");
    EXPECT_EQ(seen[0].contentLengthHeaders, 1u);
    EXPECT_EQ(seen[0].contentLength, std::to_string(expected.size()));  // the zero byte counted
    EXPECT_EQ(seen[0].contentType, "application/x-www-form-urlencoded");
    EXPECT_EQ(seen[0].userAgent, "WinHTTP Client/1.0");
    EXPECT_EQ(seen[0].target, "/download/getVersionV1");
}

// Only an HTTP 200 reply of at most 1023 bytes in the expected form gives a version (or
// none, when the server names none); anything else is a failed check with its reason.
TEST_F(UpdateClientTest, OnlyAWholeReplyOfTheExpectedFormCounts) {
    const std::string big = R"({"Data":{"version":"1.0.6"},"pad":")" + std::string(5000, 'x') + "\"}";
    struct Case {
        const char* what;
        int status;
        std::string reply;
        PostStatus post;
        std::optional<std::string> text;
        std::optional<int> number;
        std::string problem;  // "" for a reply of the expected form
    } const cases[] = {
        {"a version", 200, R"({"Result_Code":"1","Data":{"version":"2.9.9"}})", PostStatus::Ok, "2.9.9", 299, ""},
        {"300 is no valid version", 200, R"({"Data":{"version":"3.0.0"}})", PostStatus::Ok, "3.0.0", std::nullopt, ""},
        {"no version named", 200, R"({"Result_Code":"1"})", PostStatus::Ok, std::nullopt, std::nullopt, ""},
        {"HTTP 500 with a version", 500, R"({"Data":{"version":"1.0.5"}})", PostStatus::BadReply, std::nullopt,
         std::nullopt, "the server answered HTTP 500"},
        {"a redirect", 302, "", PostStatus::BadReply, std::nullopt, std::nullopt,
         "the server answered HTTP 302 (a redirect, not followed)"},
        {"5 KB reply", 200, big, PostStatus::BadReply, std::nullopt, std::nullopt, "the reply is longer than 1023 bytes"},
        {"HTML", 200, "<html>Bad gateway</html>", PostStatus::Ok, std::nullopt, std::nullopt, "the reply is not JSON"},
        {"malformed JSON", 200, R"({"Data":{"version":"1.0.5"})", PostStatus::Ok, std::nullopt, std::nullopt,
         "the reply is not JSON"},
        {"empty", 200, "", PostStatus::Ok, std::nullopt, std::nullopt, "the reply is not JSON"},
        {"an array", 200, "[1,2]", PostStatus::Ok, std::nullopt, std::nullopt, "the reply is not a JSON object"},
        {"version not text", 200, R"({"Data":{"version":105}})", PostStatus::Ok, std::nullopt, std::nullopt,
         "its version is not text"},
        {"Data not an object", 200, R"({"Data":"1.0.5"})", PostStatus::Ok, std::nullopt, std::nullopt,
         "its \"Data\" is not an object"},
        {"letters in the version", 200, R"({"Data":{"version":"1.0.5b"}})", PostStatus::Ok, std::nullopt,
         std::nullopt, "its version \"1.0.5b\" is not a dotted number"},
        {"terminal escapes", 200, "{\"Data\":{\"version\":\"1.0\\u001b[2J\\u0007\\u009b5\"}}", PostStatus::Ok,
         std::nullopt, std::nullopt, "its version \"1.0[2J5\" is not a dotted number"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        server.answer = [&](const std::string&) { return std::pair{c.status, c.reply}; };
        update::UpdateClient client(server.endpoint());
        const auto raw = client.post(update::VersionQueryJson("Kx026"));
        EXPECT_EQ(raw.status, c.post) << raw.error;
        EXPECT_EQ(raw.httpStatus, c.status);
        const auto answer = client.queryVersionAnswer("Kx026");
        EXPECT_EQ(answer.problem, c.problem);
        EXPECT_EQ(answer.version, c.text);
        EXPECT_EQ(client.queryVersionText("Kx026"), c.text);
        EXPECT_EQ(client.queryVersion("Kx026"), c.number);
    }
}

// A reply of 100 MB is cut off after its first 1023 bytes, not fetched whole.
TEST_F(UpdateClientTest, AHugeReplyIsRefusedWithoutFetchingIt) {
    httplib::Server huge;
    std::atomic<size_t> sent{0};
    huge.Post(".*", [&](const httplib::Request&, httplib::Response& res) {
        constexpr size_t kTotal = 100u << 20;
        res.set_content_provider(kTotal, "application/json", [&](size_t offset, size_t, httplib::DataSink& sink) {
            const std::string chunk(std::min<size_t>(65536, kTotal - offset), offset == 0 ? '{' : ' ');
            sent += chunk.size();
            return sink.write(chunk.data(), chunk.size());
        });
    });
    const int port = huge.bind_to_any_port("127.0.0.1");
    std::thread serving([&] { huge.listen_after_bind(); });
    for (int i = 0; i < 500 && !huge.is_running(); ++i) std::this_thread::sleep_for(10ms);
    update::UpdateClient client(update::Endpoint{*update::EndpointUrl("127.0.0.1:" + std::to_string(port))});
    const auto answer = client.queryVersionAnswer("Kx027");
    huge.stop();
    serving.join();
    EXPECT_EQ(answer.problem, "the reply is longer than 1023 bytes");
    EXPECT_LT(sent.load(), size_t(50u << 20)) << "the client went on reading";
}

TEST_F(UpdateClientTest, VersionCheckFlagsUpdatesBelow300) {
    struct Case {
        const char* software;
        const char* keyboard;
        std::optional<uint16_t> connected;
        bool update;
    } const cases[] = {
        {"2.9.9", "1.0.5", std::nullopt, true},  // installed 2.0.0 < 299
        {"3.0.0", "1.0.5", std::nullopt, false}, // 300 never flags
        {"2.0.0", "1.0.6", 0x105, true},         // the keyboard's 105 < 106
        {"2.0.0", "1.0.6", std::nullopt, false}, // no keyboard connected: not asked
        {"2.0.0", "1.0.5", 0x105, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.software) + " / " + c.keyboard);
        server.answer = [&](const std::string& json) {
            const bool keyboard = json.find("Kx026") != std::string::npos;
            return std::pair{200, std::string(R"({"Data":{"version":")") + (keyboard ? c.keyboard : c.software) + "\"}}"};
        };
        const size_t before = server.seen().size();
        update::UpdateClient client(server.endpoint());
        const auto r = update::VersionCheck(client, "2.0.0", [&] { return c.connected; });
        EXPECT_EQ(r.updateAvailable, c.update);
        EXPECT_EQ(r.installedSoftware, 200);
        EXPECT_EQ(server.seen().size() - before, c.connected ? 2u : 1u);
        if (c.connected) {
            EXPECT_EQ(r.installedKeyboard, 105);
        }
    }
}

TEST_F(UpdateClientTest, SettingsWindowLinesFromTheServer) {
    server.answer = [](const std::string& json) {
        const bool keyboard = json.find("Kx026") != std::string::npos;
        return std::pair{200, std::string(keyboard ? R"({"Data":{"version":"1.0.6"}})" : R"({"Data":{"version":"0.9.9"}})")};
    };
    update::UpdateClient client(server.endpoint());
    const auto v = update::QuerySettingsVersions(client, "3.0.0", 1, 0x105);
    EXPECT_EQ(v.software.installed, "V3.0.0");
    EXPECT_EQ(v.software.newest, "unknown");  // leading number 0
    EXPECT_FALSE(v.software.updateEnabled);
    ASSERT_TRUE(v.rgbKeyboard);
    EXPECT_EQ(v.rgbKeyboard->installed, "V1.0.5");
    EXPECT_EQ(v.rgbKeyboard->newest, "V1.0.6");
    EXPECT_TRUE(v.rgbKeyboard->updateEnabled);
    const size_t asked = server.seen().size();
    EXPECT_FALSE(update::QuerySettingsVersions(client, "3.0.0", 0, 0).rgbKeyboard);
    EXPECT_EQ(server.seen().size(), asked + 1) << "no keyboard: its version is not asked";
}

/// An updater that writes its argument and working folder where the test can read them.
struct FakeUpdater {
    fs::path folder;
    fs::path report;
    FakeUpdater() {
        std::string pattern = (fs::temp_directory_path() / "orvane-updater-XXXXXX").string();
        folder = ::mkdtemp(pattern.data());
        report = folder / "report.txt";
    }
    ~FakeUpdater() {
        std::error_code ec;
        fs::remove_all(folder, ec);
    }
    void install() const {
        const auto script = folder / update::UpdaterProgram::kFileName;
        ASSERT_TRUE(platform::WriteFileAtomically(
            script, "#!/bin/sh\nprintf '%s|%s|%s' \"$#\" \"$1\" \"$PWD\" > report.tmp && mv report.tmp report.txt\n"));
        fs::permissions(script, fs::perms::owner_all);
    }
    update::UpdaterProgram program() const { return {folder}; }
    std::string waitForReport() const {
        for (int i = 0; i < 500 && !fs::exists(report); ++i) std::this_thread::sleep_for(20ms);
        return platform::ReadWholeFile(report).value_or("<not started>");
    }
};

TEST_F(UpdateClientTest, RegistrationConfirmedStartsTheUpdaterInItsFolder) {
    server.answer = [](const std::string& json) {
        if (json.find("\"UUID\"") != std::string::npos) return std::pair{200, std::string(R"({"Result_Code":"2"})")};
        return std::pair{200, std::string(R"({"Data":{"version":"1.0.6"}})")};
    };
    struct Case {
        const update::Product& product;
        const char* parameters;
    } const cases[] = {
        {update::kSoftware, "1|OrvaneGamingJP;ja;3.0.0|"},
        {update::kRgbKeyboard, "1|KestrelEliteRGBJP;ja;1.0.5|"},
        {update::kMouse, "0||"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.product.code));
        FakeUpdater updater;
        updater.install();
        const size_t before = server.seen().size();
        update::UpdateClient client(server.endpoint());
        EXPECT_EQ(update::RequestUpdate(client, c.product, updater.program(), "3.0.0", 0x105),
                  update::UpdateRequestResult::Started);
        EXPECT_EQ(updater.waitForReport(), c.parameters + fs::canonical(updater.folder).string());
        const auto seen = server.seen();
        ASSERT_EQ(seen.size() - before, 2u);
        static const std::regex registration(
            R"(\{"UUID":"[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}","command_type":"Kx02\d"\})");
        EXPECT_TRUE(std::regex_match(seen[before].json, registration)) << seen[before].json;
        EXPECT_EQ(seen[before + 1].json, update::VersionQueryJson(c.product.code));
    }
}

TEST_F(UpdateClientTest, NoConfirmationOrNoUpdaterStartsNothing) {
    std::string registrationReply;
    server.answer = [&](const std::string&) { return std::pair{200, registrationReply}; };
    for (const char* reply : {R"({"Result_Code":"1"})", R"({"Result_Code":"22"})", "", "not json"}) {
        SCOPED_TRACE(reply);
        registrationReply = reply;
        FakeUpdater updater;
        updater.install();
        const size_t before = server.seen().size();
        update::UpdateClient client(server.endpoint());
        EXPECT_EQ(update::RequestUpdate(client, update::kSoftware, updater.program(), "3.0.0", 0),
                  update::UpdateRequestResult::NotConfirmed);
        EXPECT_EQ(server.seen().size() - before, 1u) << "no second query";
    }
    registrationReply = R"({"Result_Code":2})";
    FakeUpdater missing;  // nothing installed
    update::UpdateClient client(server.endpoint());
    EXPECT_EQ(update::RequestUpdate(client, update::kSoftware, missing.program(), "3.0.0", 0),
              update::UpdateRequestResult::UpdaterMissing);
}

TEST_F(UpdateClientTest, ProxyFromTheEnvironment) {
    ::setenv("http_proxy", server.base().c_str(), 1);
    ::setenv("no_proxy", "", 1);
    update::UpdateClient client(update::Endpoint{*update::EndpointUrl("updates.invalid:8080")});
    const auto r = client.post(update::VersionQueryJson("Kx027"));
    ::unsetenv("http_proxy");
    ASSERT_EQ(r.status, PostStatus::Ok) << r.error;
    ASSERT_EQ(server.seen().size(), 1u);
    EXPECT_EQ(server.seen()[0].target, "http://updates.invalid:8080/download/getVersionV1");
}

/// A listening socket that never accepts: connections complete, requests are never read.
struct SilentServer {
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    int port = 0;
    SilentServer() {
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof a;
        EXPECT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
        EXPECT_EQ(::listen(fd, 4), 0);
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
        port = ntohs(a.sin_port);
    }
    ~SilentServer() { ::close(fd); }
    update::Endpoint endpoint(std::chrono::milliseconds receive) const {
        update::Endpoint e{*update::EndpointUrl("127.0.0.1:" + std::to_string(port))};
        e.receiveTimeout = receive;
        return e;
    }
};

TEST(UpdateClientFailures, ASilentServerTimesOutOrIsCancelledAtOnce) {
    ::setenv("no_proxy", "127.0.0.1", 1);
    SilentServer silent;
    {
        update::UpdateClient client(silent.endpoint(300ms));
        const auto start = std::chrono::steady_clock::now();
        const auto r = client.post(update::VersionQueryJson("Kx027"));
        const auto took = std::chrono::steady_clock::now() - start;
        EXPECT_EQ(r.status, PostStatus::TimedOut) << r.error;
        EXPECT_GE(took, 300ms);
        EXPECT_LT(took, 20s);
        EXPECT_EQ(client.queryVersion("Kx027"), std::nullopt);
    }
    {
        update::UpdateClient client(silent.endpoint(60s));
        std::optional<update::PostResult> r;
        std::thread waiting([&] { r = client.post(update::VersionQueryJson("Kx027")); });
        std::this_thread::sleep_for(300ms);
        const auto start = std::chrono::steady_clock::now();
        client.cancel();
        waiting.join();
        EXPECT_LT(std::chrono::steady_clock::now() - start, 5s) << "cancel does not wait for the 60 s time-out";
        ASSERT_TRUE(r);
        EXPECT_EQ(r->status, PostStatus::Cancelled);
        EXPECT_EQ(client.post("{}").status, PostStatus::Cancelled) << "later requests are refused";
    }
    {
        // The start-up check ends with its stop request, without flagging anything.
        update::UpdateClient client(silent.endpoint(60s));
        bool flagged = false;
        std::jthread check([&](std::stop_token stop) {
            update::RunVersionCheck(stop, client, "1.0.0", [] { return std::optional<uint16_t>(0x105); },
                                    [&] { flagged = true; });
        });
        std::this_thread::sleep_for(300ms);
        const auto start = std::chrono::steady_clock::now();
        check.request_stop();
        check.join();
        EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
        EXPECT_FALSE(flagged);
    }
}

/// A server that answers "200 OK" with a long body and then drips one byte every 200 ms:
/// each byte restarts an idle timer, so only the check's deadline can end the request.
struct DrippingServer {
    SilentServer socket;
    std::atomic<bool> stop{false};
    std::thread thread;
    DrippingServer() {
        thread = std::thread([this] {
            const int client = ::accept(socket.fd, nullptr, nullptr);
            if (client < 0) return;
            char request[4096];
            (void)::recv(client, request, sizeof request, 0);
            const std::string head = "HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nContent-Length: 1000\r\n\r\n{";
            (void)::send(client, head.data(), head.size(), MSG_NOSIGNAL);
            for (int i = 0; i < 300 && !stop; ++i) {  // at most a minute
                std::this_thread::sleep_for(200ms);
                if (::send(client, " ", 1, MSG_NOSIGNAL) != 1) break;
            }
            ::close(client);
        });
    }
    ~DrippingServer() {
        stop = true;
        ::shutdown(socket.fd, SHUT_RDWR);
        thread.join();
    }
};

TEST(UpdateClientFailures, ADrippingServerIsCutOffAtTheCheckDeadline) {
    ::setenv("no_proxy", "127.0.0.1", 1);
    DrippingServer dripping;
    update::Endpoint endpoint = dripping.socket.endpoint(1000ms);  // longer than the gaps between bytes
    endpoint.checkTimeout = 1500ms;
    update::UpdateClient client(endpoint);
    const auto start = std::chrono::steady_clock::now();
    const auto answer = client.queryVersionAnswer("Kx027");
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(answer.problem, "no whole answer within the 2 s a check may take");
    EXPECT_GE(took, 1400ms);
    EXPECT_LT(took, 15s);
    // The deadline is the whole check's: a later request of the same check ends at once.
    EXPECT_EQ(client.post("{}").status, PostStatus::TimedOut);
}

TEST(UpdateProtocol, ServerTextLosesItsControlCharacters) {
    EXPECT_EQ(update::WithoutControlCharacters("1.0.5"), "1.0.5");
    EXPECT_EQ(update::WithoutControlCharacters("a\x1b[31mb\x07\r\n\x7f" "c"), "a[31mbc");
    EXPECT_EQ(update::WithoutControlCharacters("x\xc2\x9b" "2Jy\xc2\xa0z"), "x2Jy\xc2\xa0z");  // C1 CSI goes, NBSP stays
    EXPECT_EQ(update::WithoutControlCharacters("Über"), "Über");
}

TEST(UpdateClientFailures, RefusedConnectionAndNoServer) {
    ::setenv("no_proxy", "127.0.0.1", 1);
    int port = 0;
    {
        SilentServer closed;  // a port that was free a moment ago; nothing listens once closed
        port = closed.port;
    }
    update::UpdateClient refused(update::Endpoint{*update::EndpointUrl("127.0.0.1:" + std::to_string(port))});
    const auto r = refused.post(update::VersionQueryJson("Kx027"));
    EXPECT_EQ(r.status, PostStatus::Failed);
    EXPECT_FALSE(r.error.empty());
    EXPECT_EQ(refused.queryVersionText("Kx027"), std::nullopt);

    update::UpdateClient none(std::nullopt);
    EXPECT_EQ(none.post("{}").status, PostStatus::NoEndpoint);
    EXPECT_EQ(update::VersionCheck(none, "1.0.0", [] { return std::optional<uint16_t>(0x105); }).updateAvailable, false);
}

}  // namespace
}  // namespace orvane
