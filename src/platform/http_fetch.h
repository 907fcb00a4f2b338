#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace qorvale::platform {

// How a transfer ended, for the caller to turn into its own message.
enum class FetchStatus {
    Done,
    Cancelled,
    NotHttp,  // the address (or a redirect) is not http:// or https://
    TooManyRedirects,
    TooLarge,          // the announced or received size passed the limit
    HttpError,         // the server answered with a status of 400 or more
    ConnectionFailed,  // no answer, or the answer stopped before its end
    WriteFailed,
};

struct FetchOutcome {
    FetchStatus status = FetchStatus::Done;
    long http_status = 0;
    std::string content_type;
    std::int64_t bytes = 0;
    std::string detail;  // the transport's own words, for the message's detail
};

struct FetchOptions {
    std::int64_t max_bytes = 0;  // 0: no limit
    int max_redirects = 10;
    long connect_timeout_seconds = 30;
};

// Receives the body as it arrives; false stops the transfer as a write failure.
using FetchSink = std::function<bool(const char* data, std::size_t size)>;
// Called as bytes arrive with the received and the announced total (0 when unknown); true asks
// the transfer to stop.
using FetchProgress = std::function<bool(std::int64_t received, std::int64_t total)>;

// Whether `url` begins with http:// or https://, in any letter case.
bool IsHttpUrl(std::string_view url);

// Fetches `url` over HTTP or HTTPS, following redirects to HTTP(S) addresses only. Blocks; the
// progress callback is the way to cancel.
FetchOutcome FetchUrl(const std::string& url, const FetchOptions& options, const FetchSink& sink,
                      const FetchProgress& progress);

}  // namespace qorvale::platform
