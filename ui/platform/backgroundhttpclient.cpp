#include "ui/platform/backgroundhttpclient.h"

#include <QEventLoop>
#include <QRunnable>
#include <QTimer>

#include <algorithm>

namespace quintor::ui {
namespace {

HttpError programEnding(const std::string& url)
{
    return HttpError("HTTP request for " + url + " abandoned: the program is ending", HttpError::Kind::Cancelled);
}

} // namespace

// Shared by the waiting UI thread and the worker; the worker writes body/error before it posts
// its completion, the UI thread reads them only after that completion arrived.
struct BackgroundHttpClient::Request {
    std::string body;
    std::exception_ptr error;
    std::atomic<bool> cancel{false};
    bool done = false;          // UI thread only
    QEventLoop* loop = nullptr; // UI thread only; null once the waiter has gone
};

BackgroundHttpClient::BackgroundHttpClient(std::shared_ptr<HttpClient> inner, QObject* parent)
    : QObject(parent), inner_(std::move(inner))
{
}

BackgroundHttpClient::~BackgroundHttpClient()
{
    for (const auto& request : waiting_)
        request->cancel = true;
    pool_.waitForDone();
}

std::string BackgroundHttpClient::get(const std::string& url, const HttpOptions& options)
{
    if (quitting_) throw programEnding(url);

    auto request = std::make_shared<Request>();
    HttpOptions workerOptions = options;
    workerOptions.cancel = &request->cancel;

    QEventLoop loop;
    request->loop = &loop;
    waiting_.push_back(request);

    pool_.start(QRunnable::create([this, request, url, workerOptions, inner = inner_] {
        try {
            request->body = inner->get(url, workerOptions);
        } catch (...) {
            request->error = std::current_exception();
        }
        // Queued to this object, which outlives every worker (its destructor waits for them).
        QMetaObject::invokeMethod(
            this,
            [request] {
                request->done = true;
                if (request->loop) request->loop->quit();
            },
            Qt::QueuedConnection);
    }));

    // The caller's own cancel flag is passed on by looking at it now and then.
    QTimer callerCancel;
    if (options.cancel) {
        QObject::connect(&callerCancel, &QTimer::timeout, [&options, request] {
            if (options.cancel->load()) request->cancel = true;
        });
        callerCancel.start(20);
    }

    while (!request->done && !quitting_)
        loop.exec();

    request->loop = nullptr;
    std::erase(waiting_, request);
    if (quitting_) throw programEnding(url);
    if (request->error) std::rethrow_exception(request->error);
    return std::move(request->body);
}

void BackgroundHttpClient::cancelAll()
{
    quitting_ = true;
    for (const auto& request : waiting_) {
        request->cancel = true;
        if (request->loop) request->loop->quit();
    }
}

} // namespace quintor::ui
