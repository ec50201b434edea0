#include "InternetRequests.h"

#include "HttpUrl.h"
#include "QFTModule.h"
#include "Settings.h"
#include "TextCase.h"

ServerSettings readServerSettings() {
    return {GetSetting("Vantorix", "General", "Server", DefaultServerAddress),
            GetSetting("Vantorix", "General", "Password", ""),
            GetSetting("Vantorix", "General", "Port", DefaultServerPort)};
}

namespace {
// Escaped like every other value: a "&" or "#" in a password must not end it early.
std::string passwordPart(const std::string& password) {
    return password.empty() ? std::string() : URLEncode(password) + "&";
}

// The port belongs to the host: a path, query or fragment of the address stays after it.
// The port goes escaped, so that one that is no number ("80@elsewhere") makes the address
// malformed instead of naming another host; a number is unchanged.
std::string withPort(const std::string& server, const std::string& port) {
    const auto scheme = server.find("://");
    const auto path =
        scheme == std::string::npos ? scheme : server.find_first_of("/?#", scheme + 3);
    if (path == std::string::npos) {
        return server + ":" + URLEncode(port);
    }
    return server.substr(0, path) + ":" + URLEncode(port) + server.substr(path);
}
} // namespace

std::string connectionTestUrl(const std::string& server, const std::string& port,
                              const std::string& password) {
    return withPort(server, port) + "/?" + passwordPart(password) + "ping";
}

std::string tableDownloadUrl(const std::string& server, const std::string& port) {
    return withPort(server, port) + "/idata.hsc";
}

std::string scoreUploadUrl(const std::string& server, const std::string& port,
                           const std::string& password, VbLong score, VbLong level,
                           const std::string& name) {
    return withPort(server, port) + "/?" + passwordPart(password) +
           "updatescore&SCORE=" + URLEncode(std::to_string(score)) +
           "&LEVEL=" + URLEncode(std::to_string(level)) + "&NAME=" + URLEncode(name);
}

std::string withoutTrailingSlashes(std::string address) {
    while (!address.empty() && address.back() == '/') {
        address.pop_back();
    }
    return address;
}

std::string serverDisplayName(const std::string& address) {
    std::string authority = address;
    if (const auto scheme = authority.find("://"); scheme != std::string::npos) {
        authority.erase(0, scheme + 3);
    }
    // Without a "user:password@" in front: the wait texts show the host alone.
    const std::string host = http::hostOf(authority.substr(0, authority.find_first_of("/?#")));
    return host.empty() ? std::string("the hiscore server") : host;
}

bool passwordRefused(const std::string& reply) {
    return reply.find("PASSWORD ERROR!") != std::string::npos;
}

bool containsNoCase(const std::string& text, const std::string& part) {
    return lowerCase(text).find(lowerCase(part)) != std::string::npos;
}
