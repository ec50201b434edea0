#include "Http.h"

#include "Clock.h"
#include "HttpProxy.h"
#include "HttpUrl.h"
#include "TextCase.h"
#include "VbError.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <curl/curl.h>
#include <memory>
#include <mutex>

namespace http {

namespace {

[[noreturn]] void fail(std::int32_t number, const std::string& description) {
    throw VbError(number, "Inet", description);
}

void initCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// Raised by cancelWaitingTransfers: every transfer begun before it ends.
std::atomic<std::uint64_t> cancelEpoch{0};

struct Transfer {
    std::string body;
    std::size_t cap = 0;
    bool overCap = false;
    bool bodyBegun = false;
    char errorText[CURL_ERROR_SIZE] = {};
};

std::size_t onData(char* data, std::size_t size, std::size_t count, void* user) {
    auto* t = static_cast<Transfer*>(user);
    const std::size_t n = size * count;
    t->bodyBegun = true;
    if (t->body.size() + n > t->cap) {
        t->overCap = true;
        return 0; // ends the transfer with a write error
    }
    t->body.append(data, n);
    return n;
}

[[noreturn]] void unreadableReply(const std::string& cause) {
    fail(err::UnreadableReply, "Unable to read the server's reply: " + cause);
}

// Whether the request went out, so that a failure came from the server's side.
bool requestSent(CURL* e) {
    long bytes = 0;
    return curl_easy_getinfo(e, CURLINFO_REQUEST_SIZE, &bytes) == CURLE_OK && bytes > 0;
}

// What goes out for a URL: where curl connects, the request line's target and the proxy.
struct Request {
    std::string origin;
    std::string proxy;
    std::string target;
};

Request requestFor(const UrlParts& parts) {
    Request r;
    r.origin = parts.scheme + "://" + parts.authority + "/";
    // The proxy is chosen here, not by curl, so that the request line can match it.
    r.proxy = proxyForRequest(parts.scheme, parts.host);
    r.target = requestLineSafe(parts.target);
    if (!r.proxy.empty() && isHttpProxy(r.proxy) && lowerCase(parts.scheme) == "http") {
        // A proxy that forwards plain http needs the whole address (an https request goes
        // through a tunnel and keeps the path alone).
        r.target = "http://" + hostAndPort(parts.authority) + r.target;
    }
    return r;
}

void configure(CURL* e, const Request& r, int timeoutMs, Transfer& t) {
    curl_easy_setopt(e, CURLOPT_URL, r.origin.c_str());
    curl_easy_setopt(e, CURLOPT_REQUEST_TARGET, r.target.c_str());
    curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(e, CURLOPT_TIMEOUT_MS, static_cast<long>(timeoutMs));
    curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(timeoutMs));
    curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, 0L);
    // A name lookup still running when the deadline passes or the window closes is left
    // to finish on its own; waiting for it would outlast both.
    curl_easy_setopt(e, CURLOPT_QUICK_EXIT, 1L);
    curl_easy_setopt(e, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(t.cap));
    // An empty proxy means a direct connection; an empty exclusion list leaves curl nothing
    // of its own to decide.
    curl_easy_setopt(e, CURLOPT_PROXY, r.proxy.c_str());
    curl_easy_setopt(e, CURLOPT_NOPROXY, "");
    curl_easy_setopt(e, CURLOPT_USERAGENT, "Vantorix");
    curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, &onData);
    curl_easy_setopt(e, CURLOPT_WRITEDATA, &t);
    curl_easy_setopt(e, CURLOPT_ERRORBUFFER, t.errorText);
}

enum class WaitEnd { Finished, PastDeadline, Cancelled };

// Runs the transfer to its end, the deadline, or a cancel, whichever comes first.
WaitEnd waitForTransfer(CURLM* multi, int timeoutMs, std::uint64_t epoch) {
    using SteadyClock = std::chrono::steady_clock;
    const auto deadline = SteadyClock::now() + std::chrono::milliseconds(timeoutMs);
    int running = 1;
    for (;;) {
        curl_multi_perform(multi, &running);
        if (running == 0) {
            return WaitEnd::Finished;
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - SteadyClock::now())
                .count();
        if (left <= 0) {
            return WaitEnd::PastDeadline;
        }
        // Short waits on the sockets, with the program's events in between.
        curl_multi_poll(multi, nullptr, 0, static_cast<int>(std::min<long long>(left, 10)),
                        nullptr);
        DoEvents();
        // The events may have closed the window that waits for this reply.
        if (cancelEpoch.load() != epoch) {
            return WaitEnd::Cancelled;
        }
    }
}

CURLcode finishedResult(CURLM* multi, CURL* e) {
    CURLcode result = CURLE_OK;
    int queued = 0;
    while (CURLMsg* m = curl_multi_info_read(multi, &queued)) {
        if (m->msg == CURLMSG_DONE && m->easy_handle == e) {
            result = m->data.result;
        }
    }
    return result;
}

// The reply of a transfer that ran to its end or its deadline, or the failure it names.
Reply replyOrFailure(CURL* e, CURLcode result, Transfer& t) {
    switch (result) {
    case CURLE_OK: {
        Reply r;
        curl_easy_getinfo(e, CURLINFO_RESPONSE_CODE, &r.Status);
        r.Body = std::move(t.body);
        return r;
    }
    case CURLE_OPERATION_TIMEDOUT:
        fail(err::TimedOut, "Request timed out");
    case CURLE_FILESIZE_EXCEEDED:
        fail(err::ReplyTooLarge, "The server's reply is too large");
    case CURLE_WRITE_ERROR:
        if (t.overCap) {
            fail(err::ReplyTooLarge, "The server's reply is too large");
        }
        break;
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
    case CURLE_COULDNT_CONNECT:
        fail(err::CannotConnect, "Unable to connect to remote host");
    case CURLE_UNSUPPORTED_PROTOCOL:
        // The address was checked before; what curl cannot take now is what came back: no
        // status line (HTTP/0.9, TLS bytes on a plain port, "HTTP/1.1 2OO").
        if (requestSent(e)) {
            unreadableReply("it is not HTTP");
        }
        break;
    case CURLE_OUT_OF_MEMORY:
        // curl's way of refusing a header line over its limit.
        if (requestSent(e) && !t.bodyBegun) {
            unreadableReply("a header is too large");
        }
        break;
#if LIBCURL_VERSION_NUM >= 0x080600
    case CURLE_TOO_LARGE:
        unreadableReply("a header is too large");
#endif
    case CURLE_WEIRD_SERVER_REPLY:
        unreadableReply(t.errorText[0] != '\0' ? t.errorText : "it is not HTTP");
    default:
        break;
    }
    fail(err::CannotOpen, std::string("Unable to open the URL: ") +
                              (t.errorText[0] != '\0' ? t.errorText : curl_easy_strerror(result)));
}

struct EasyDeleter {
    void operator()(CURL* c) const { curl_easy_cleanup(c); }
};
struct MultiDeleter {
    void operator()(CURLM* m) const { curl_multi_cleanup(m); }
};

} // namespace

void cancelWaitingTransfers() {
    ++cancelEpoch;
}

Reply Get(const std::string& url, int timeoutMs, std::size_t maxReplyBytes) {
    const std::uint64_t epoch = cancelEpoch.load();
    UrlParts parts;
    if (!splitUrl(url, parts)) {
        fail(err::MalformedUrl, "The URL is malformed");
    }
    timeoutMs = std::max(timeoutMs, 1);
    initCurlOnce();

    std::unique_ptr<CURL, EasyDeleter> easy(curl_easy_init());
    std::unique_ptr<CURLM, MultiDeleter> multi(curl_multi_init());
    if (!easy || !multi) {
        fail(err::CannotOpen, "Unable to open the URL");
    }
    CURL* e = easy.get();
    Transfer t;
    t.cap = maxReplyBytes;
    const Request request = requestFor(parts);
    configure(e, request, timeoutMs, t);
    curl_multi_add_handle(multi.get(), e);

    const WaitEnd end = waitForTransfer(multi.get(), timeoutMs, epoch);
    const CURLcode result =
        end == WaitEnd::Finished ? finishedResult(multi.get(), e) : CURLE_OPERATION_TIMEDOUT;
    curl_multi_remove_handle(multi.get(), e);
    if (end == WaitEnd::Cancelled) {
        fail(err::Cancelled, "The request was cancelled");
    }
    return replyOrFailure(e, result, t);
}

std::string OpenURL(const std::string& url, int timeoutMs, std::size_t maxReplyBytes) {
    return Get(url, timeoutMs, maxReplyBytes).Body;
}

} // namespace http
