// LIBS: vantorix_hiscore_ui
#include "HttpUrl.h"
#include "InternetRequests.h"
#include "Require.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::vector<std::string> lines(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> out(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == '\n') {
            out.emplace_back();
        } else {
            out.back() += static_cast<char>(data[i]);
        }
    }
    return out;
}

std::vector<std::string> split(const std::string& s, char by) {
    std::vector<std::string> out(1);
    for (const char c : s) {
        if (c == by) {
            out.emplace_back();
        } else {
            out.back() += c;
        }
    }
    return out;
}

// Undoes the escapes of a request value; only escapes and letters and digits may be there.
std::string unescaped(const std::string& value) {
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (c == '%') {
            const std::string digits = value.substr(i + 1, 2);
            require(digits.size() == 2 &&
                    digits.find_first_not_of("0123456789ABCDEF") == std::string::npos);
            out += static_cast<char>(std::stoi(digits, nullptr, 16));
            i += 2;
        } else {
            require((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'));
            out += c;
        }
    }
    return out;
}

VbLong number(const std::string& text) {
    return static_cast<VbLong>(std::strtol(text.c_str(), nullptr, 10));
}

} // namespace

// Lines: the server address as typed, the port, the password, a name, a score and a level.
// Whatever they hold: the requests carry every value whole and unmixed; and for an address
// that can be reached, every request goes to its host, at the port given when that is one,
// and the wait texts name that host.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> in = lines(data, size);
    in.resize(6);
    const std::string& typed = in[0];
    const std::string& port = in[1];
    const std::string& password = in[2];
    const std::string& name = in[3];
    const VbLong score = number(in[4]);
    const VbLong level = number(in[5]);

    const std::string server = withoutTrailingSlashes(typed);
    require(server.empty() || server.back() != '/');
    require(typed.compare(0, server.size(), server) == 0);
    require(typed.find_first_not_of('/', server.size()) == std::string::npos);

    const std::string download = tableDownloadUrl(server, port);
    const std::string suffix = "/idata.hsc";
    require(download.size() >= suffix.size() &&
            download.compare(download.size() - suffix.size(), suffix.size(), suffix) == 0);
    const std::string base = download.substr(0, download.size() - suffix.size());

    // The query after the base: the password first when there is one, then the command.
    const std::string test = connectionTestUrl(server, port, password);
    require(test.compare(0, base.size() + 2, base + "/?") == 0);
    const auto testFields = split(test.substr(base.size() + 2), '&');
    require(testFields.size() == (password.empty() ? 1u : 2u));
    require(testFields.back() == "ping");
    if (!password.empty()) {
        require(unescaped(testFields[0]) == password);
    }
    const std::string upload = scoreUploadUrl(server, port, password, score, level, name);
    require(upload.compare(0, base.size() + 2, base + "/?") == 0);
    auto fields = split(upload.substr(base.size() + 2), '&');
    if (!password.empty()) {
        require(!fields.empty() && unescaped(fields[0]) == password);
        fields.erase(fields.begin());
    }
    require(fields.size() == 4u && fields[0] == "updatescore");
    const auto value = [&](const std::string& field, const std::string& key) {
        require(field.compare(0, key.size() + 1, key + "=") == 0);
        return unescaped(field.substr(key.size() + 1));
    };
    require(value(fields[1], "SCORE") == std::to_string(score));
    require(value(fields[2], "LEVEL") == std::to_string(level));
    require(value(fields[3], "NAME") == name);

    http::UrlParts address;
    if (!http::splitUrl(server + "/", address)) {
        return 0;
    }
    const std::string host = http::hostOf(address.authority);
    require(serverDisplayName(server) == host);
    const bool ownPort = http::hostAndPort(address.authority) != host;
    const bool realPort = !port.empty() && port.size() <= 5 &&
                          port.find_first_not_of("0123456789") == std::string::npos &&
                          std::stoi(port) > 0 && std::stoi(port) < 65536;
    for (const std::string& url : {download, test, upload}) {
        http::UrlParts sent;
        if (!http::splitUrl(url, sent)) {
            // Only a port that is none, or one on top of the address's own, makes it unusable.
            require(!realPort || ownPort);
            continue;
        }
        require(http::hostOf(sent.authority) == host);
        if (realPort && !ownPort) {
            require(http::hostAndPort(sent.authority) ==
                    std::string(host).append(":").append(port));
        }
    }
    return 0;
}
