// An HTTP client for window tests that holds every request until the test lets it go or the
// request is cancelled, and counts what happened, so a test sees whether requests overlapped.
#pragma once

#include "net/httpclient.h"

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace quintor::test {

class BlockingHttpClient : public HttpClient {
public:
    std::string body;              // what every released request answers
    std::atomic<bool> fail{false}; // released requests fail with an HttpError instead
    std::atomic<int> calls{0};     // requests started
    std::atomic<int> active{0};    // requests running now
    std::atomic<int> maxActive{0}; // the most that ever ran at once
    std::atomic<int> cancelled{0}; // requests that saw their cancel flag
    std::atomic<int> released{0};  // how many requests may finish (counted from the first)

    std::string get(const std::string& url, const HttpOptions& options) override
    {
        const int number = ++calls;
        const int now = ++active;
        int seen = maxActive.load();
        while (now > seen && !maxActive.compare_exchange_weak(seen, now)) {
        }
        {
            std::lock_guard lock(mutex_);
            urls_.push_back(url);
        }
        // Bounded, so a fault in the code under test ends in a failed check instead of a hung test.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (released.load() < number) {
            if (options.cancel && options.cancel->load()) {
                ++cancelled;
                --active;
                throw HttpError("cancelled", HttpError::Kind::Cancelled);
            }
            if (std::chrono::steady_clock::now() > deadline) {
                --active;
                throw HttpError("test client: never released", HttpError::Kind::Timeout);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        --active;
        if (fail) throw HttpError("HTTP request for " + url + " failed: HTTP 404", HttpError::Kind::Status);
        return body;
    }

    std::vector<std::string> urls() const
    {
        std::lock_guard lock(mutex_);
        return urls_;
    }

private:
    mutable std::mutex mutex_;
    std::vector<std::string> urls_;
};

} // namespace quintor::test
