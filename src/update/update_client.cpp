// SPDX-License-Identifier: GPL-3.0-or-later
#include "update/update_client.h"

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <mutex>

#include "device/log.h"
#include "platform/machine_settings.h"
#include "update/update_protocol.h"

namespace orvane::update {

namespace {

using Clock = std::chrono::steady_clock;

void InitCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

bool ValidHost(std::string_view host) {
    if (host.size() > 2 && host.front() == '[' && host.back() == ']') {  // an IPv6 literal
        return std::all_of(host.begin() + 1, host.end() - 1,
                           [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) || c == ':' || c == '.'; });
    }
    return !host.empty() && host.size() <= 253 && std::all_of(host.begin(), host.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == '_';
    });
}

bool ValidPort(std::string_view port) {
    unsigned value = 0;
    const auto r = std::from_chars(port.data(), port.data() + port.size(), value);
    return r.ec == std::errc() && r.ptr == port.data() + port.size() && value >= 1 && value <= 65535;
}

std::string CheckTimeoutText(const Endpoint& e) {
    return "no whole answer within the " + std::to_string((e.checkTimeout.count() + 999) / 1000) +
           " s a check may take";
}

/// A reply for the debug output: control characters (terminal escapes among them) shown as '?'.
std::string Printable(std::string text) {
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
    return text;
}

}  // namespace

std::optional<std::string> EndpointUrl(std::string_view server) {
    while (!server.empty() && (server.front() == ' ' || server.front() == '\t')) server.remove_prefix(1);
    while (!server.empty() && (server.back() == ' ' || server.back() == '\t')) server.remove_suffix(1);
    std::string_view scheme = "http://";
    for (const std::string_view s : {std::string_view("http://"), std::string_view("https://")}) {
        if (server.size() >= s.size() && std::equal(s.begin(), s.end(), server.begin(), [](char a, char b) {
                return a == std::tolower(static_cast<unsigned char>(b));
            })) {
            scheme = s;
            server.remove_prefix(s.size());
        }
    }
    if (server.find("://") != std::string_view::npos) return std::nullopt;  // another scheme
    if (!server.empty() && server.back() == '/') server.remove_suffix(1);
    std::string_view host = server, port;
    const auto colon = server.rfind(':');
    if (colon != std::string_view::npos && server.find(']', colon) == std::string_view::npos) {
        host = server.substr(0, colon);
        port = server.substr(colon + 1);
        if (!ValidPort(port)) return std::nullopt;
    }
    if (!ValidHost(host)) return std::nullopt;
    return std::string(scheme) + std::string(server) + std::string(kEndpointPath);
}

std::optional<Endpoint> ConfiguredEndpoint(const platform::MachineSettings& settings) {
    const auto server = settings.updateServer();
    if (!server) return std::nullopt;
    const auto url = EndpointUrl(*server);
    if (!url) {
        device::Log("update server not usable: " + *server);
        return std::nullopt;
    }
    return Endpoint{*url};
}

std::optional<std::string> EndpointProblem(const platform::MachineSettings& settings) {
    const std::string key(platform::MachineSettings::kUpdateServer);
    const auto server = settings.updateServer();
    if (!server) return "no update server configured (" + key + " in " + settings.path().string() + ")";
    if (EndpointUrl(*server)) return std::nullopt;
    return "the update server " + key + "=\"" + WithoutControlCharacters(*server) + "\" in " + settings.path().string() +
           " is not a host, host:port or http(s):// address without a path";
}

std::string_view StatusText(PostStatus status) {
    switch (status) {
    case PostStatus::Ok: return "ok";
    case PostStatus::NoEndpoint: return "no update server configured";
    case PostStatus::Failed: return "request failed";
    case PostStatus::TimedOut: return "timed out";
    case PostStatus::Cancelled: return "cancelled";
    case PostStatus::ClientError: return "transfer could not be set up";
    case PostStatus::BadReply: return "not a reply of the expected form";
    }
    return "";
}

/// The state of one request, shared with libcurl's callbacks (all on the posting thread).
struct UpdateClient::Transfer {
    const Endpoint& endpoint;
    const std::atomic<bool>& cancelled;
    std::string body;
    std::string reply;
    bool replyFull = false;
    bool connected = false;  ///< the connection is made and the request about to go out
    curl_off_t uploaded = 0, downloaded = 0;
    Clock::time_point lastActivity = Clock::now();

    /// How long the transfer may still be idle; nullopt before the connection is made
    /// (libcurl's connect time-out governs until then).
    std::optional<Clock::duration> idleAllowance() const {
        if (!connected) return std::nullopt;
        const auto limit = uploaded < curl_off_t(body.size()) ? endpoint.sendTimeout : endpoint.receiveTimeout;
        return limit - (Clock::now() - lastActivity);
    }

    static size_t Write(char* data, size_t size, size_t count, void* self) {
        auto& t = *static_cast<Transfer*>(self);
        const size_t n = size * count;
        const size_t room = kMaxReplyBytes - t.reply.size();
        t.reply.append(data, std::min(n, room));
        t.lastActivity = Clock::now();
        if (n < room) return n;
        t.replyFull = true;
        return n == room ? n : 0;  // 0: enough; the rest is not fetched
    }
    static int Prereq(void* self, char*, char*, int, int) {
        auto& t = *static_cast<Transfer*>(self);
        t.connected = true;
        t.lastActivity = Clock::now();
        return CURL_PREREQFUNC_OK;
    }
    static int Progress(void* self, curl_off_t, curl_off_t dlnow, curl_off_t, curl_off_t ulnow) {
        auto& t = *static_cast<Transfer*>(self);
        if (ulnow != t.uploaded || dlnow != t.downloaded) {
            t.uploaded = ulnow;
            t.downloaded = dlnow;
            t.lastActivity = Clock::now();
        }
        return t.cancelled.load() ? 1 : 0;
    }
};

UpdateClient::UpdateClient(std::optional<Endpoint> endpoint) : endpoint_(std::move(endpoint)) { InitCurlOnce(); }

UpdateClient::~UpdateClient() = default;

void UpdateClient::cancel() {
    cancelled_ = true;
    std::lock_guard guard(wakeMutex_);
    if (activeMulti_) curl_multi_wakeup(static_cast<CURLM*>(activeMulti_));
}

PostResult UpdateClient::post(std::string_view json) {
    if (!endpoint_) return {PostStatus::NoEndpoint, {}, 0, std::string(StatusText(PostStatus::NoEndpoint))};
    if (cancelled_) return {PostStatus::Cancelled, {}, 0, std::string(StatusText(PostStatus::Cancelled))};
    if (!deadline_) deadline_ = Clock::now() + endpoint_->checkTimeout;
    if (Clock::now() >= *deadline_) return {PostStatus::TimedOut, {}, 0, CheckTimeoutText(*endpoint_)};
    Transfer transfer{*endpoint_, cancelled_, RequestBody(json), {}};
    return perform(transfer);
}

PostResult UpdateClient::perform(Transfer& t) {
    PostResult result;
    CURL* easy = curl_easy_init();
    CURLM* multi = easy ? curl_multi_init() : nullptr;
    const std::string contentLength = "Content-Length: " + std::to_string(t.body.size());
    curl_slist* headers = nullptr;
    for (const char* h : {contentLength.c_str(), "Content-Type: application/x-www-form-urlencoded", "Expect:"})
        headers = curl_slist_append(headers, h);
    if (!easy || !multi || !headers) {
        if (multi) curl_multi_cleanup(multi);
        if (easy) curl_easy_cleanup(easy);
        curl_slist_free_all(headers);
        return {PostStatus::ClientError, {}, 0, std::string(StatusText(PostStatus::ClientError))};
    }
    char errorText[CURL_ERROR_SIZE] = {};
    const std::string userAgent(kUserAgent);
    curl_easy_setopt(easy, CURLOPT_URL, t.endpoint.url.c_str());
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy, CURLOPT_POST, 1L);
    curl_easy_setopt(easy, CURLOPT_POSTFIELDS, t.body.data());
    curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE, curl_off_t(t.body.size()));
    curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(easy, CURLOPT_USERAGENT, userAgent.c_str());
    const auto remaining = std::chrono::ceil<std::chrono::milliseconds>(*deadline_ - Clock::now());
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS,
                     long(std::max<int64_t>(1, std::min<int64_t>(t.endpoint.connectTimeout.count(), remaining.count()))));
    curl_easy_setopt(easy, CURLOPT_TIMEOUT_MS, long(std::max<int64_t>(1, remaining.count())));
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, errorText);
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &Transfer::Write);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, &t);
    curl_easy_setopt(easy, CURLOPT_PREREQFUNCTION, &Transfer::Prereq);
    curl_easy_setopt(easy, CURLOPT_PREREQDATA, &t);
    curl_easy_setopt(easy, CURLOPT_XFERINFOFUNCTION, &Transfer::Progress);
    curl_easy_setopt(easy, CURLOPT_XFERINFODATA, &t);
    curl_easy_setopt(easy, CURLOPT_NOPROGRESS, 0L);
    curl_multi_add_handle(multi, easy);
    {
        std::lock_guard guard(wakeMutex_);
        activeMulti_ = multi;
    }

    std::optional<CURLcode> done;
    for (;;) {
        int running = 0;
        if (curl_multi_perform(multi, &running) != CURLM_OK) {
            result.status = PostStatus::ClientError;
            break;
        }
        int queued = 0;
        while (CURLMsg* m = curl_multi_info_read(multi, &queued))
            if (m->msg == CURLMSG_DONE) done = m->data.result;
        if (done || running == 0) break;
        if (cancelled_) {
            result.status = PostStatus::Cancelled;
            break;
        }
        const auto toDeadline = *deadline_ - Clock::now();
        if (toDeadline <= Clock::duration::zero()) {
            result.status = PostStatus::TimedOut;
            result.error = CheckTimeoutText(t.endpoint);
            break;
        }
        const auto allowance = std::min(t.idleAllowance().value_or(toDeadline), toDeadline);
        if (allowance <= Clock::duration::zero()) {
            result.status = PostStatus::TimedOut;
            break;
        }
        // Woken at once by cancel(); otherwise by the socket, libcurl's own timers, or the
        // end of the idle allowance or of the check.
        const auto wait = std::clamp(std::chrono::ceil<std::chrono::milliseconds>(allowance),
                                     std::chrono::milliseconds(1), std::chrono::milliseconds(1000));
        curl_multi_poll(multi, nullptr, 0, int(wait.count()), nullptr);
    }
    {
        std::lock_guard guard(wakeMutex_);
        activeMulti_ = nullptr;
    }

    if (done) {
        curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &result.httpStatus);
        const bool tooLong = *done == CURLE_WRITE_ERROR && t.replyFull;
        if (*done == CURLE_OK || tooLong) result.status = PostStatus::Ok;
        else if (*done == CURLE_ABORTED_BY_CALLBACK) result.status = PostStatus::Cancelled;
        else if (*done == CURLE_OPERATION_TIMEDOUT) result.status = PostStatus::TimedOut;
        else result.status = PostStatus::Failed;
        if (result.status == PostStatus::TimedOut && Clock::now() >= *deadline_) result.error = CheckTimeoutText(t.endpoint);
        else if (result.status != PostStatus::Ok)
            result.error = *errorText ? std::string(errorText) : std::string(curl_easy_strerror(*done));
        else if (result.httpStatus != 200) {
            result.status = PostStatus::BadReply;
            result.error = "the server answered HTTP " + std::to_string(result.httpStatus) +
                           (result.httpStatus >= 300 && result.httpStatus < 400 ? " (a redirect, not followed)" : "");
        } else if (tooLong) {
            result.status = PostStatus::BadReply;
            result.error = "the reply is longer than " + std::to_string(kMaxReplyBytes) + " bytes";
        }
    } else if (result.status == PostStatus::Failed) {
        result.status = PostStatus::ClientError;  // libcurl ended without a result
    }
    if (result.error.empty() && result.status != PostStatus::Ok) result.error = std::string(StatusText(result.status));
    result.reply = std::move(t.reply);

    curl_multi_remove_handle(multi, easy);
    curl_multi_cleanup(multi);
    curl_easy_cleanup(easy);
    curl_slist_free_all(headers);
    return result;
}

VersionAnswer UpdateClient::queryVersionAnswer(std::string_view code) {
    const auto r = post(VersionQueryJson(code));
    device::Log("update server reply for " + std::string(code) + ": " + Printable(r.ok() ? r.reply : r.error));
    VersionAnswer answer = r.ok() ? ReadVersionAnswer(r.reply) : VersionAnswer{std::nullopt, r.error};
    if (!answer.ok()) device::Log("could not check " + std::string(code) + ": " + Printable(answer.problem));
    return answer;
}

std::optional<std::string> UpdateClient::queryVersionText(std::string_view code) {
    return queryVersionAnswer(code).version;
}

std::optional<int> UpdateClient::queryVersion(std::string_view code) {
    const auto text = queryVersionText(code);
    return ValidServerVersion(text ? std::optional<std::string_view>(*text) : std::nullopt);
}

}  // namespace orvane::update
