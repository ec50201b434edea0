#include "ProcessIdentity.h"

#include <fstream>
#include <sstream>

namespace display {

std::string processIdentity(long pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string stat;
    std::getline(in, stat);
    const auto close = stat.rfind(')');
    if (close == std::string::npos) {
        return {};
    }
    std::istringstream fields(stat.substr(close + 1));
    std::string state, startTime;
    fields >> state; // field 3
    if (state == "Z" || state == "X") {
        return {}; // dead, only not yet reaped
    }
    for (int field = 4; field <= 22; ++field) {
        fields >> startTime;
    }
    if (!fields) {
        return {};
    }
    return std::to_string(pid) + " " + startTime;
}

bool ownerStillRuns(const std::string& owner) {
    std::istringstream in(owner);
    long pid = 0;
    if (!(in >> pid) || pid <= 0) {
        return false;
    }
    return processIdentity(pid) == owner;
}

} // namespace display
