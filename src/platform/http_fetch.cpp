#include "platform/http_fetch.h"

#include <curl/curl.h>

#include <memory>
#include <mutex>
#include <type_traits>

#include "platform/shared_library.h"

namespace qorvale::platform {

namespace {

// libcurl, loaded on the first download rather than at every start of the program.
struct CurlLibrary {
    decltype(&::curl_global_init) global_init = nullptr;
    decltype(&::curl_easy_init) easy_init = nullptr;
    decltype(&::curl_easy_setopt) easy_setopt = nullptr;
    decltype(&::curl_easy_perform) easy_perform = nullptr;
    decltype(&::curl_easy_getinfo) easy_getinfo = nullptr;
    decltype(&::curl_easy_cleanup) easy_cleanup = nullptr;
    decltype(&::curl_easy_strerror) easy_strerror = nullptr;
};

const CurlLibrary* Curl() {
    static const CurlLibrary* const loaded = []() -> const CurlLibrary* {
        void* library = LoadSharedLibrary({"libcurl.so.4", "libcurl-gnutls.so.4", "libcurl.so"});
        if (library == nullptr) return nullptr;
        static CurlLibrary curl;
        bool whole = true;
        auto bind = [&](auto& slot, const char* name) {
            slot = reinterpret_cast<std::remove_reference_t<decltype(slot)>>(
                SharedLibrarySymbol(library, name));
            whole = whole && slot != nullptr;
        };
        bind(curl.global_init, "curl_global_init");
        bind(curl.easy_init, "curl_easy_init");
        bind(curl.easy_setopt, "curl_easy_setopt");
        bind(curl.easy_perform, "curl_easy_perform");
        bind(curl.easy_getinfo, "curl_easy_getinfo");
        bind(curl.easy_cleanup, "curl_easy_cleanup");
        bind(curl.easy_strerror, "curl_easy_strerror");
        return whole ? &curl : nullptr;
    }();
    return loaded;
}

struct Transfer {
    const FetchOptions* options = nullptr;
    const FetchSink* sink = nullptr;
    const FetchProgress* progress = nullptr;
    std::int64_t received = 0;
    bool too_large = false;
    bool cancelled = false;
    bool write_failed = false;
};

std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* user) {
    auto& transfer = *static_cast<Transfer*>(user);
    const std::size_t bytes = size * count;
    transfer.received += static_cast<std::int64_t>(bytes);
    if (transfer.options->max_bytes > 0 && transfer.received > transfer.options->max_bytes) {
        transfer.too_large = true;
        return 0;
    }
    if (!(*transfer.sink)(data, bytes)) {
        transfer.write_failed = true;
        return 0;
    }
    return bytes;
}

int OnProgress(void* user, curl_off_t total, curl_off_t now, curl_off_t, curl_off_t) {
    auto& transfer = *static_cast<Transfer*>(user);
    // A size announced up front is refused before any byte of it is taken.
    if (transfer.options->max_bytes > 0 && total > transfer.options->max_bytes) {
        transfer.too_large = true;
        return 1;
    }
    if (*transfer.progress && (*transfer.progress)(now, total)) {
        transfer.cancelled = true;
        return 1;
    }
    return 0;
}

void GlobalInit(const CurlLibrary& curl) {
    static std::once_flag once;
    std::call_once(once, [&curl] { curl.global_init(CURL_GLOBAL_DEFAULT); });
}

}  // namespace

bool IsHttpUrl(std::string_view url) {
    auto starts = [&url](std::string_view scheme) {
        if (url.size() < scheme.size()) return false;
        for (std::size_t i = 0; i < scheme.size(); ++i) {
            const char c = url[i];
            const char lower = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
            if (lower != scheme[i]) return false;
        }
        return true;
    };
    return starts("http://") || starts("https://");
}

FetchOutcome FetchUrl(const std::string& url, const FetchOptions& options, const FetchSink& sink,
                      const FetchProgress& progress) {
    FetchOutcome outcome;
    if (!IsHttpUrl(url)) {
        outcome.status = FetchStatus::NotHttp;
        return outcome;
    }
    const CurlLibrary* library = Curl();
    if (library == nullptr) {
        outcome.status = FetchStatus::ConnectionFailed;
        outcome.detail = "libcurl (package libcurl4) could not be loaded";
        return outcome;
    }
    const CurlLibrary& api = *library;
    GlobalInit(api);
    std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(api.easy_init(), api.easy_cleanup);
    if (!curl) {
        outcome.status = FetchStatus::ConnectionFailed;
        return outcome;
    }
    Transfer transfer{&options, &sink, &progress};
    CURL* handle = curl.get();
    api.easy_setopt(handle, CURLOPT_URL, url.c_str());
    api.easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https");
    api.easy_setopt(handle, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    api.easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L);
    api.easy_setopt(handle, CURLOPT_MAXREDIRS, static_cast<long>(options.max_redirects));
    api.easy_setopt(handle, CURLOPT_CONNECTTIMEOUT, options.connect_timeout_seconds);
    // A server that stops sending without closing is given up after a minute of silence.
    api.easy_setopt(handle, CURLOPT_LOW_SPEED_LIMIT, 1L);
    api.easy_setopt(handle, CURLOPT_LOW_SPEED_TIME, 60L);
    api.easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
    api.easy_setopt(handle, CURLOPT_FAILONERROR, 1L);
    api.easy_setopt(handle, CURLOPT_USERAGENT, "Qorvale");
    api.easy_setopt(handle, CURLOPT_WRITEFUNCTION, OnBody);
    api.easy_setopt(handle, CURLOPT_WRITEDATA, &transfer);
    api.easy_setopt(handle, CURLOPT_XFERINFOFUNCTION, OnProgress);
    api.easy_setopt(handle, CURLOPT_XFERINFODATA, &transfer);
    api.easy_setopt(handle, CURLOPT_NOPROGRESS, 0L);
    if (options.max_bytes > 0) {
        api.easy_setopt(handle, CURLOPT_MAXFILESIZE_LARGE,
                        static_cast<curl_off_t>(options.max_bytes));
    }
    const CURLcode code = api.easy_perform(handle);
    api.easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &outcome.http_status);
    char* type = nullptr;
    if (api.easy_getinfo(handle, CURLINFO_CONTENT_TYPE, &type) == CURLE_OK && type != nullptr) {
        outcome.content_type = type;
    }
    outcome.bytes = transfer.received;
    if (code == CURLE_OK) return outcome;
    outcome.detail = api.easy_strerror(code);
    if (transfer.too_large || code == CURLE_FILESIZE_EXCEEDED) {
        outcome.status = FetchStatus::TooLarge;
    } else if (transfer.cancelled) {
        outcome.status = FetchStatus::Cancelled;
    } else if (transfer.write_failed) {
        outcome.status = FetchStatus::WriteFailed;
    } else if (code == CURLE_TOO_MANY_REDIRECTS) {
        outcome.status = FetchStatus::TooManyRedirects;
    } else if (code == CURLE_HTTP_RETURNED_ERROR) {
        outcome.status = FetchStatus::HttpError;
    } else if (code == CURLE_UNSUPPORTED_PROTOCOL) {
        outcome.status = FetchStatus::NotHttp;
    } else {
        outcome.status = FetchStatus::ConnectionFailed;
    }
    return outcome;
}

}  // namespace qorvale::platform
