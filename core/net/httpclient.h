// The one network operation the program needs: a plain GET of an absolute http URL.
#pragma once

#include "settings/errors.h"

#include <atomic>
#include <chrono>
#include <cstddef>
#include <memory>
#include <string>
#include <utility>

namespace quintor {

// A failed request. The message names the address and the reason; kind() lets a caller tell an abandoned
// request from a real failure without reading the text. reason() is the cause in the user's words (German,
// Windows-1252), for boxes and the status bar; an error made without one gives its message instead.
class HttpError : public QuintorError {
public:
    enum class Kind { Other, Connect, HostNotFound, Status, Timeout, TooLarge, Cancelled };

    explicit HttpError(const std::string& message, Kind kind = Kind::Other, std::string reason = {})
        : QuintorError(message), kind_(kind), reason_(std::move(reason))
    {
    }
    Kind kind() const { return kind_; }
    std::string reason() const { return reason_.empty() ? std::string(what()) : reason_; }

private:
    Kind kind_;
    std::string reason_;
};

struct HttpOptions {
    std::chrono::milliseconds connectTimeout{0};   // 0: the library's default
    std::chrono::milliseconds totalTimeout{30000}; // whole request; 0 or less also means 30 s, never unlimited
    std::size_t maxBodyBytes = 16 * 1024 * 1024;
    const std::atomic<bool>* cancel = nullptr; // when it becomes true the request is abandoned with an HttpError
    bool onlyStatus200 = false;                // also the other 2xx statuses are errors (a list comes with 200)
};

class HttpClient {
public:
    virtual ~HttpClient() = default;
    // A plain GET of an absolute http URL; the body byte for byte (NUL and high bytes intact). Any status
    // other than 2xx (or 200, see HttpOptions) is an error, redirects are not followed. Safe to call from any thread,
    // also concurrently.
    virtual std::string get(const std::string& url, const HttpOptions& options = {}) = 0;
    // The program is ending: a request that waits now, and every later one, ends with an HttpError of kind
    // Cancelled. A client whose requests cannot be waited on in the meantime has nothing to do.
    virtual void cancelAll() {}
};

std::unique_ptr<HttpClient> makeCurlHttpClient();

} // namespace quintor
