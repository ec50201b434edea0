#include "AssetNames.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <string>

namespace {

namespace fs = std::filesystem;

// Whoever may read one data file of the run-time folder may read all of them: a file that
// only its owner may read stops the game for every other user.
TEST(RunTimeFolder, EveryDataFileHasTheSameMode) {
    std::map<fs::perms, std::string> modes;
    for (const auto& entry : fs::recursive_directory_iterator(binDir())) {
        const std::string name = entry.path().filename().string();
        if (!entry.is_regular_file() || name == "vantor" || name == "vantedit" ||
            name == "vantdisp") {
            continue;
        }
        modes.emplace(entry.status().permissions(), entry.path().string());
    }
    ASSERT_FALSE(modes.empty());
    EXPECT_EQ(modes.size(), 1u) << "for example " << modes.begin()->second << " and "
                                << modes.rbegin()->second;
}

} // namespace
