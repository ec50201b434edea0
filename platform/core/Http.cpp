#include "Http.h"

#include "Clock.h"
#include "HttpProxy.h"
#include "TextCase.h"
#include "VbError.h"

#include <algorithm>
#include <atomic>
#include <cctype>
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

bool startsWithNoCase(const std::string& s, const char* prefix) {
    for (std::size_t i = 0; prefix[i] != '\0'; ++i) {
        if (i >= s.size() || std::tolower(static_cast<unsigned char>(s[i])) != prefix[i]) {
            return false;
        }
    }
    return true;
}

// A request line has no room for blanks or control bytes; everything else goes as built.
std::string requestLineSafe(const std::string& target) {
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(target.size());
    for (const char ch : target) {
        const auto c = static_cast<unsigned char>(ch);
        if (c <= 0x20 || c >= 0x7F) {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        } else {
            out += ch;
        }
    }
    return out;
}

void initCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// Raised by cancelWaitingTransfers: every transfer begun before it ends.
std::atomic<std::uint64_t> cancelEpoch{0};

// An authority without its "user@" part: "host[:port]".
std::string hostAndPort(const std::string& authority) {
    const auto at = authority.rfind('@');
    return at == std::string::npos ? authority : authority.substr(at + 1);
}

// The host of an authority ("user@host:port" gives "host", "[::1]:80" gives "[::1]").
std::string hostOf(const std::string& authority) {
    const std::string host = hostAndPort(authority);
    if (host.starts_with('[')) {
        const auto close = host.find(']');
        return host.substr(0, close == std::string::npos ? std::string::npos : close + 1);
    }
    return host.substr(0, host.find(':'));
}

struct Transfer {
    std::string body;
    std::size_t cap = 0;
    bool overCap = false;
};

std::size_t onData(char* data, std::size_t size, std::size_t count, void* user) {
    auto* t = static_cast<Transfer*>(user);
    const std::size_t n = size * count;
    if (t->body.size() + n > t->cap) {
        t->overCap = true;
        return 0; // ends the transfer with a write error
    }
    t->body.append(data, n);
    return n;
}

struct EasyDeleter {
    void operator()(CURL* c) const { curl_easy_cleanup(c); }
};
struct MultiDeleter {
    void operator()(CURLM* m) const { curl_multi_cleanup(m); }
};

struct UrlParts {
    std::string scheme;    // as written
    std::string authority; // "[user@]host[:port]"
    std::string target;    // from the first "/", "?" or "#" on, always starting with "/"
};

bool splitParts(const std::string& url, UrlParts& parts) {
    std::size_t schemeLen = 0;
    if (startsWithNoCase(url, "http://")) {
        schemeLen = 7;
    } else if (startsWithNoCase(url, "https://")) {
        schemeLen = 8;
    } else {
        return false;
    }
    const std::size_t end = url.find_first_of("/?#", schemeLen);
    std::string authority =
        url.substr(schemeLen, end == std::string::npos ? std::string::npos : end - schemeLen);
    if (authority.empty() || std::any_of(authority.begin(), authority.end(), [](char ch) {
            const auto c = static_cast<unsigned char>(ch);
            return c <= 0x20 || c >= 0x7F;
        })) {
        return false;
    }
    parts.scheme = url.substr(0, schemeLen - 3);
    parts.authority = std::move(authority);
    parts.target = end == std::string::npos ? std::string("/") : url.substr(end);
    if (parts.target[0] != '/') {
        parts.target.insert(parts.target.begin(), '/');
    }
    return true;
}

} // namespace

void cancelWaitingTransfers() {
    ++cancelEpoch;
}

Reply Get(const std::string& url, int timeoutMs, std::size_t maxReplyBytes) {
    const std::uint64_t epoch = cancelEpoch.load();
    UrlParts parts;
    if (!splitParts(url, parts)) {
        fail(err::MalformedUrl, "The URL is malformed");
    }
    timeoutMs = std::max(timeoutMs, 1);
    initCurlOnce();

    std::unique_ptr<CURL, EasyDeleter> easy(curl_easy_init());
    std::unique_ptr<CURLM, MultiDeleter> multi(curl_multi_init());
    if (!easy || !multi) {
        fail(err::CannotOpen, "Unable to open the URL");
    }
    Transfer t;
    t.cap = maxReplyBytes;
    char errorText[CURL_ERROR_SIZE] = {};
    const std::string origin = parts.scheme + "://" + parts.authority + "/";
    // The proxy is chosen here, not by curl, so that the request line can match it.
    const std::string proxy = proxyForRequest(parts.scheme, hostOf(parts.authority));
    std::string wireTarget = requestLineSafe(parts.target);
    if (!proxy.empty() && isHttpProxy(proxy) && lowerCase(parts.scheme) == "http") {
        // A proxy that forwards plain http needs the whole address (an https request goes
        // through a tunnel and keeps the path alone).
        wireTarget = "http://" + hostAndPort(parts.authority) + wireTarget;
    }
    CURL* e = easy.get();
    curl_easy_setopt(e, CURLOPT_URL, origin.c_str());
    curl_easy_setopt(e, CURLOPT_REQUEST_TARGET, wireTarget.c_str());
    curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(e, CURLOPT_TIMEOUT_MS, static_cast<long>(timeoutMs));
    curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(timeoutMs));
    curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, 0L);
    // A name lookup still running when the deadline passes or the window closes is left
    // to finish on its own; waiting for it would outlast both.
    curl_easy_setopt(e, CURLOPT_QUICK_EXIT, 1L);
    curl_easy_setopt(e, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(maxReplyBytes));
    // An empty proxy means a direct connection; an empty exclusion list leaves curl nothing
    // of its own to decide.
    curl_easy_setopt(e, CURLOPT_PROXY, proxy.c_str());
    curl_easy_setopt(e, CURLOPT_NOPROXY, "");
    curl_easy_setopt(e, CURLOPT_USERAGENT, "Vantorix");
    curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, &onData);
    curl_easy_setopt(e, CURLOPT_WRITEDATA, &t);
    curl_easy_setopt(e, CURLOPT_ERRORBUFFER, errorText);
    curl_multi_add_handle(multi.get(), e);

    using SteadyClock = std::chrono::steady_clock;
    const auto deadline = SteadyClock::now() + std::chrono::milliseconds(timeoutMs);
    bool pastDeadline = false;
    bool cancelled = false;
    int running = 1;
    for (;;) {
        curl_multi_perform(multi.get(), &running);
        if (running == 0) {
            break;
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - SteadyClock::now())
                .count();
        if (left <= 0) {
            pastDeadline = true;
            break;
        }
        // Short waits on the sockets, with the program's events in between.
        curl_multi_poll(multi.get(), nullptr, 0, static_cast<int>(std::min<long long>(left, 10)),
                        nullptr);
        DoEvents();
        // The events may have closed the window that waits for this reply.
        if (cancelEpoch.load() != epoch) {
            cancelled = true;
            break;
        }
    }

    CURLcode result = pastDeadline ? CURLE_OPERATION_TIMEDOUT : CURLE_OK;
    if (!pastDeadline && !cancelled) {
        int queued = 0;
        while (CURLMsg* m = curl_multi_info_read(multi.get(), &queued)) {
            if (m->msg == CURLMSG_DONE && m->easy_handle == e) {
                result = m->data.result;
            }
        }
    }
    curl_multi_remove_handle(multi.get(), e);
    if (cancelled) {
        fail(err::Cancelled, "The request was cancelled");
    }

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
    case CURLE_URL_MALFORMAT:
    case CURLE_UNSUPPORTED_PROTOCOL:
        fail(err::MalformedUrl, "The URL is malformed");
    default:
        break;
    }
    fail(err::CannotOpen, std::string("Unable to open the URL: ") +
                              (errorText[0] != '\0' ? errorText : curl_easy_strerror(result)));
}

std::string OpenURL(const std::string& url, int timeoutMs, std::size_t maxReplyBytes) {
    return Get(url, timeoutMs, maxReplyBytes).Body;
}

} // namespace http
