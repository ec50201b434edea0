#include "FileNames.h"

#include "TextCase.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace fs = std::filesystem;

std::string resolveFileName(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    std::error_code ec;
    if (path.empty() || fs::exists(path, ec)) {
        return path;
    }
    const fs::path p(path);
    const fs::path dir = p.has_parent_path() ? p.parent_path() : fs::path(".");
    const std::string wanted = lowerCase(p.filename().string());
    for (const auto& entry : fs::directory_iterator(dir, ec)) {
        if (lowerCase(entry.path().filename().string()) == wanted) {
            return p.has_parent_path() ? entry.path().string() : entry.path().filename().string();
        }
    }
    return path;
}
