// The HTTP client on libcurl. Every request runs on its own easy handle driven through a multi handle, so the
// loop can look at the cancel flag between short waits instead of only when curl calls back.
#include "net/httpclient.h"
#include "settings/translate.h"

#include <curl/curl.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <mutex>

namespace quintor {
namespace {

using namespace std::chrono_literals;

constexpr std::chrono::milliseconds defaultTotalTimeout = 30000ms; // no server may hold a request for ever
constexpr int cancelPollMs = 50;                                   // how soon a cancel request is noticed

using Kind = HttpError::Kind;

struct EasyDeleter {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct MultiDeleter {
    void operator()(CURLM* multi) const { curl_multi_cleanup(multi); }
};

bool isSuccess(long status)
{
    return status >= 200 && status < 300;
}

struct Transfer {
    CURL* easy = nullptr;
    std::size_t maxBytes = 0;
    std::string body;
    bool tooLarge = false;
};

std::size_t receive(char* data, std::size_t size, std::size_t count, void* userdata)
{
    auto& transfer = *static_cast<Transfer*>(userdata);
    const std::size_t length = size * count;
    long status = 0;
    curl_easy_getinfo(transfer.easy, CURLINFO_RESPONSE_CODE, &status);
    if (!isSuccess(status)) return 0; // an error page is not read; the status is reported instead
    if (length > transfer.maxBytes - transfer.body.size()) {
        transfer.tooLarge = true;
        return 0; // stops the transfer before anything beyond the limit is kept
    }
    if (transfer.body.empty()) {
        // Room for the whole announced body at once: a long list is not copied as it grows.
        curl_off_t announced = -1;
        curl_easy_getinfo(transfer.easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &announced);
        if (announced > 0 && static_cast<std::uint64_t>(announced) <= transfer.maxBytes)
            transfer.body.reserve(static_cast<std::size_t>(announced));
    }
    transfer.body.append(data, length);
    return length;
}

// The reasons in the user's words (Windows-1252), never the library's English texts.
constexpr const char* noAnswer = untranslated("Keine Antwort vom Server");
constexpr const char* refused = untranslated("Verbindung abgelehnt");
constexpr const char* hostNotFound = untranslated("Server nicht gefunden");
constexpr const char* notAnAddress = untranslated("Keine g\xFCltige HTTP-Adresse");
constexpr const char* libraryFailure = untranslated("Fehler der HTTP-Bibliothek");
constexpr const char* cancelledReason = untranslated("Abgebrochen");
constexpr const char* timedOutAfter = untranslated("Zeit\xFC"
                                                   "berschreitung nach ");
constexpr const char* transferFailure = untranslated("Fehler bei der \xDC"
                                                     "bertragung");

// "Zeitüberschreitung nach 30 Sekunden"; a time-out that is no whole number of seconds (only tests set one)
// with its decimals.
std::string timeoutReason(std::chrono::milliseconds total)
{
    const auto ms = total.count();
    std::string seconds = std::to_string(ms / 1000);
    if (ms % 1000 != 0) {
        std::string fraction = std::to_string(1000 + ms % 1000).substr(1); // three digits
        while (fraction.back() == '0')
            fraction.pop_back();
        seconds += ',' + fraction;
    }
    return tr(timedOutAfter) + seconds + (ms == 1000 ? tr(" Sekunde") : tr(" Sekunden"));
}

[[noreturn]] void fail(const std::string& url, const std::string& detail, Kind kind, std::string reason)
{
    throw HttpError("HTTP request for " + url + " failed: " + detail, kind, std::move(reason));
}

[[noreturn]] void failTransfer(const std::string& url, CURL* easy, CURLcode result, const char* detail,
                               std::chrono::milliseconds total)
{
    switch (result) {
    case CURLE_COULDNT_RESOLVE_HOST:
        fail(url, "host not found", Kind::HostNotFound, tr(hostNotFound));
    case CURLE_COULDNT_CONNECT: {
        long osError = 0;
        curl_easy_getinfo(easy, CURLINFO_OS_ERRNO, &osError);
        if (osError == ECONNREFUSED) fail(url, "connection refused", Kind::Connect, tr(refused));
        fail(url, std::string("no connection (") + detail + ")", Kind::Connect, tr(noAnswer));
    }
    case CURLE_OPERATION_TIMEDOUT: {
        curl_off_t connectedAfter = 0;
        curl_easy_getinfo(easy, CURLINFO_CONNECT_TIME_T, &connectedAfter);
        // Nobody took the call within the connect time-out: to the user, the server did not answer.
        if (connectedAfter == 0) fail(url, "timed out while connecting", Kind::Timeout, tr(noAnswer));
        fail(url, "timed out after " + std::to_string(total.count()) + " ms", Kind::Timeout, timeoutReason(total));
    }
    case CURLE_GOT_NOTHING:
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR:
        // The server took the connection and closed it (or reset it) without a reply.
        fail(url, *detail ? detail : curl_easy_strerror(result), Kind::Connect, tr(noAnswer));
    case CURLE_UNSUPPORTED_PROTOCOL:
    case CURLE_URL_MALFORMAT:
        fail(url, "not a valid http address", Kind::Other, tr(notAnAddress));
    default:
        fail(url, *detail ? detail : curl_easy_strerror(result), Kind::Other,
             tr(transferFailure) + " (Code " + std::to_string(static_cast<int>(result)) + ")");
    }
}

class CurlHttpClient final : public HttpClient {
public:
    CurlHttpClient()
    {
        static std::once_flag once;
        std::call_once(once, [] {
            if (curl_global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK)
                throw HttpError("The HTTP library could not be initialised.", Kind::Other, tr(libraryFailure));
        });
    }

    std::string get(const std::string& url, const HttpOptions& options) override
    {
        // curl reads the address up to the first NUL, which would fetch a different address than asked for
        if (url.find('\0') != std::string::npos) fail(url, "not a valid http address", Kind::Other, tr(notAnAddress));
        if (cancelled(options)) fail(url, "cancelled", Kind::Cancelled, tr(cancelledReason));

        std::unique_ptr<CURL, EasyDeleter> easy(curl_easy_init());
        std::unique_ptr<CURLM, MultiDeleter> multi(curl_multi_init());
        if (!easy || !multi) fail(url, "the HTTP library could not start a request", Kind::Other, tr(libraryFailure));
        CURL* handle = easy.get();

        Transfer transfer;
        transfer.easy = handle;
        transfer.maxBytes = options.maxBodyBytes;
        const auto total = options.totalTimeout > 0ms ? options.totalTimeout : defaultTotalTimeout;
        char detail[CURL_ERROR_SIZE] = "";

        curl_easy_setopt(handle, CURLOPT_URL, url.c_str());
        curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https"); // never file:// or others from a list
        curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);                // usable from a worker thread
        curl_easy_setopt(handle, CURLOPT_ERRORBUFFER, detail);
        curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, receive);
        curl_easy_setopt(handle, CURLOPT_WRITEDATA, &transfer);
        curl_easy_setopt(handle, CURLOPT_TIMEOUT_MS, static_cast<long>(total.count()));
        if (options.connectTimeout > 0ms)
            curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(options.connectTimeout.count()));
        // Refuses an announced oversize body at once; 0 would mean no limit to curl, the callback covers that.
        const auto announcedLimit = std::min<std::uintmax_t>(options.maxBodyBytes, INT64_MAX);
        curl_easy_setopt(handle, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(announcedLimit));

        const CURLcode result = run(url, multi.get(), handle, options);

        long status = 0;
        curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &status);
        if (status != 0 && (!isSuccess(status) || (options.onlyStatus200 && status != 200)))
            fail(url, "HTTP " + std::to_string(status), Kind::Status, "HTTP-Status " + std::to_string(status));
        if (transfer.tooLarge || result == CURLE_FILESIZE_EXCEEDED)
            fail(url, "body too large (more than " + std::to_string(options.maxBodyBytes) + " bytes)", Kind::TooLarge,
                 tr("Antwort zu gro\xDF (mehr als ") + std::to_string(options.maxBodyBytes) + " Bytes)");
        if (result != CURLE_OK) failTransfer(url, handle, result, detail, total);
        return std::move(transfer.body);
    }

private:
    static bool cancelled(const HttpOptions& options) { return options.cancel && options.cancel->load(); }

    static CURLcode run(const std::string& url, CURLM* multi, CURL* easy, const HttpOptions& options)
    {
        if (curl_multi_add_handle(multi, easy) != CURLM_OK)
            fail(url, "the HTTP library refused the request", Kind::Other, tr(libraryFailure));
        struct Detach { // the easy handle must leave the multi handle before either is cleaned up
            CURLM* multi;
            CURL* easy;
            ~Detach() { curl_multi_remove_handle(multi, easy); }
        } detach{multi, easy};

        for (int running = 1;;) {
            if (CURLMcode code = curl_multi_perform(multi, &running); code != CURLM_OK)
                fail(url, curl_multi_strerror(code), Kind::Other, tr(libraryFailure));
            if (running == 0) break;
            if (CURLMcode code = curl_multi_poll(multi, nullptr, 0, cancelPollMs, nullptr); code != CURLM_OK)
                fail(url, curl_multi_strerror(code), Kind::Other, tr(libraryFailure));
            if (cancelled(options)) fail(url, "cancelled", Kind::Cancelled, tr(cancelledReason));
        }
        int queued = 0;
        while (CURLMsg* message = curl_multi_info_read(multi, &queued))
            if (message->msg == CURLMSG_DONE) return message->data.result;
        fail(url, "the transfer ended without a result", Kind::Other, tr(libraryFailure));
    }
};

} // namespace

std::unique_ptr<HttpClient> makeCurlHttpClient()
{
    return std::make_unique<CurlHttpClient>();
}

} // namespace quintor
