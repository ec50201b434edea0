#include "FileNames.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace fs = std::filesystem;

namespace {
std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}
} // namespace

std::string resolveFileName(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    std::error_code ec;
    if (path.empty() || fs::exists(path, ec)) {
        return path;
    }
    const fs::path p(path);
    const fs::path dir = p.has_parent_path() ? p.parent_path() : fs::path(".");
    const std::string wanted = lower(p.filename().string());
    for (const auto& entry : fs::directory_iterator(dir, ec)) {
        if (lower(entry.path().filename().string()) == wanted) {
            return p.has_parent_path() ? entry.path().string() : entry.path().filename().string();
        }
    }
    return path;
}
