// Runs every request of another client on a worker thread while the UI thread goes on with its
// events in a local loop, so the window keeps painting and answering during a fetch.
#pragma once

#include "net/httpclient.h"

#include <QObject>
#include <QThreadPool>

#include <atomic>
#include <memory>
#include <vector>

namespace quintor::ui {

class BackgroundHttpClient : public QObject, public HttpClient {
    Q_OBJECT
public:
    explicit BackgroundHttpClient(std::shared_ptr<HttpClient> inner, QObject* parent = nullptr);
    // Waits for the workers; after cancelAll they stop within a few milliseconds.
    ~BackgroundHttpClient() override;

    // Call on the UI thread only. Waits for the request with the event loop running. Raises what the
    // inner client raises, or an HttpError of kind Cancelled once the program is ending.
    std::string get(const std::string& url, const HttpOptions& options = {}) override;

    // The program is ending: running requests are abandoned, their waiters raise the cancelled error
    // at once, and later requests raise it without being made.
    void cancelAll() override;
    bool quitting() const { return quitting_; }

private:
    struct Request;

    std::shared_ptr<HttpClient> inner_;
    QThreadPool pool_;
    std::vector<std::shared_ptr<Request>> waiting_;
    bool quitting_ = false;
};

} // namespace quintor::ui
