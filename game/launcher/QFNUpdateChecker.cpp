#include "QFNUpdateChecker.h"

#include "Http.h"
#include "Numbers.h"
#include "QFTModuleDesktop.h"
#include "TextCase.h"
#include "VbError.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cmath>

namespace {

std::string trimmedBlanks(const std::string& s) {
    const auto b = s.find_first_not_of(' ');
    if (b == std::string::npos) {
        return {};
    }
    return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

// The version number field: its leading number as a whole number; 0 when there is none or
// it does not fit a Long.
VbLong versionNumber(const std::string& text) {
    const double v = num::roundHalfEven(num::leadingNumber(text));
    if (!std::isfinite(v) || v < INT32_MIN || v > INT32_MAX) {
        return 0;
    }
    return static_cast<VbLong>(v);
}

} // namespace

QFNUpdateChecker::QFNUpdateChecker() {
    openUrl = [](const std::string& url, int timeoutMs) {
        return http::OpenURL(url, timeoutMs, 64UL * 1024);
    };
    connected = [] {
        VbLong flags = 0;
        std::string name;
        return GetInternetConnectedState(flags, name) != 0;
    };
}

std::string QFNUpdateChecker::ParseTag(const std::string& Data, const std::string& Tag) {
    const std::string data = lowerCase(Data);
    const std::string tag = lowerCase(Tag);
    const auto p = data.find("<" + tag + ">");
    if (p == std::string::npos) {
        return {};
    }
    const auto start = p + tag.size() + 2;
    const auto end = data.find("</" + tag + ">", start);
    if (end == std::string::npos) {
        return {};
    }
    return Data.substr(start, end - start);
}

void QFNUpdateChecker::CheckUpdate(const std::string& URL) {
    if (CheckStarted) {
        CheckStarted();
    }
    bool failed = false;
    if (!connected()) {
        failed = true;
    }
    const long long ms = std::clamp<long long>(static_cast<long long>(timeOut_) * 1000, 1, INT_MAX);
    std::string reply;
    // A server that answered with something we could not take was still reached.
    bool answered = false;
    try {
        reply = openUrl(URL, static_cast<int>(ms));
    } catch (const VbError& e) {
        answered = http::serverAnswered(e.Number());
    }
    if (reply.empty() && !connected()) {
        failed = true;
    }
    if (!CheckFinished) {
        return;
    }
    const std::string v = ParseTag(reply, "$v");
    if (trimmedBlanks(v).empty()) {
        const bool blankReply = !answered && reply.find_first_not_of(' ') == std::string::npos;
        CheckFinished("", 0, "",
                      blankReply ? "Unable to connect to server, please try again later."
                                 : "Server connected, but data was not found!",
                      "", "", true);
        return;
    }
    CheckFinished(v, versionNumber(ParseTag(reply, "$l")), ParseTag(reply, "$t"),
                  ParseTag(reply, "$d"), ParseTag(reply, "$f"), ParseTag(reply, "$s"), failed);
}
