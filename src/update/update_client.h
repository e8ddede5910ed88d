// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// UpdateClient: single POST requests to the update server over libcurl, and the version
// queries built on them.
//
// Every request opens its own connection: user agent "WinHTTP Client/1.0", the body of
// RequestBody() with its Content-Length and Content-Type application/x-www-form-urlencoded,
// the proxy the environment names (http_proxy, no_proxy … as libcurl reads them), no
// redirects, three idle time-outs (connecting, sending the request, waiting for each part
// of the reply) and one deadline for the whole check: every request a client makes ends by
// `checkTimeout` after its first one started, so a server that drips a byte now and then
// cannot hold a check open. Only an HTTP 200 reply of at most 1023 bytes is a reply; any
// other status (a redirect among them) or a longer body is BadReply, and the transfer ends
// as soon as the body is known to be too long.
//
// cancel() from any thread ends the request in progress at once and refuses every later
// one, so closing a window or the program never waits for the time-outs.

#include <atomic>
#include <chrono>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "update/update_protocol.h"

namespace orvane::platform {
class MachineSettings;
}

namespace orvane::update {

struct Endpoint {
    std::string url;  ///< e.g. "http://updates.example.com/download/getVersionV1"
    std::chrono::milliseconds connectTimeout{60000};
    std::chrono::milliseconds sendTimeout{30000};
    std::chrono::milliseconds receiveTimeout{30000};
    std::chrono::milliseconds checkTimeout{60000};  ///< all requests of one client together
};

/// The endpoint URL for a configured server: a host, "host:port" or an http:// or https://
/// URL without a path, with kEndpointPath appended. nullopt for anything else (a blank
/// value, another scheme, a path, spaces or control characters).
std::optional<std::string> EndpointUrl(std::string_view server);
/// The endpoint the machine settings name ("UpdateServer"); nullopt when none is
/// configured (no request is then made).
std::optional<Endpoint> ConfiguredEndpoint(const platform::MachineSettings& settings);
/// Why no version can be asked for, naming the setting and its file: no "UpdateServer", or
/// one that is no usable address. nullopt when ConfiguredEndpoint gives an endpoint.
std::optional<std::string> EndpointProblem(const platform::MachineSettings& settings);

enum class PostStatus {
    Ok,          ///< a reply arrived (its body may be empty)
    NoEndpoint,  ///< no server configured: nothing was sent
    Failed,      ///< name resolution, connection or transfer failed
    TimedOut,
    Cancelled,
    ClientError, ///< the transfer could not be set up
    BadReply,    ///< an HTTP status other than 200, or a body longer than kMaxReplyBytes
};

struct PostResult {
    PostStatus status = PostStatus::Failed;
    std::string reply;     ///< the body (of an Ok reply: at most kMaxReplyBytes bytes)
    long httpStatus = 0;
    std::string error;     ///< a one-line reason when not Ok
    bool ok() const { return status == PostStatus::Ok; }
};

std::string_view StatusText(PostStatus status);

class UpdateClient {
public:
    explicit UpdateClient(std::optional<Endpoint> endpoint);
    ~UpdateClient();
    UpdateClient(const UpdateClient&) = delete;
    UpdateClient& operator=(const UpdateClient&) = delete;

    const std::optional<Endpoint>& endpoint() const { return endpoint_; }

    /// Sends the JSON text as the request body; blocks until the reply, a failure, a
    /// time-out or cancel().
    PostResult post(std::string_view json);

    /// Ends the request in progress at once and makes every later one return Cancelled.
    /// Safe from any thread.
    void cancel();
    bool cancelled() const { return cancelled_.load(); }

    /// The server's newest version of a product as a number; nullopt (no version) when
    /// there is no reply, no "Data"."version", or one that is not below 300.
    std::optional<int> queryVersion(std::string_view code);
    /// "Data"."version" as the server wrote it; nullopt when absent or when the check
    /// failed (queryVersionAnswer says why).
    std::optional<std::string> queryVersionText(std::string_view code);
    /// The product's version, or why the check could not be made: the request failed, the
    /// reply was not HTTP 200 of at most 1023 bytes, or not of the expected form.
    VersionAnswer queryVersionAnswer(std::string_view code);

private:
    struct Transfer;
    PostResult perform(Transfer& transfer);

    std::optional<Endpoint> endpoint_;
    /// The end of the check: set when the first request starts.
    std::optional<std::chrono::steady_clock::time_point> deadline_;
    std::atomic<bool> cancelled_{false};
    std::mutex wakeMutex_;
    void* activeMulti_ = nullptr;  ///< the CURLM of the request in progress, for cancel()
};

}  // namespace orvane::update
