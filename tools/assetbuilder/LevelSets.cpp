#include "LevelSets.h"

#include "LevelFileFormat.h"
#include "SourceText.h"

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

// The play pane and the alien frames the sets are laid out for.
constexpr int kPaneWidth = 400;
constexpr int kWarningLine = 375 - 100; // aliens start above the shield line's warning band

int frameWidth(int type) {
    return type >= 8 ? 32 : 24;
}
int frameHeight(int type) {
    return type >= 8 ? 24 : 18;
}

std::vector<EditLevelRec> readSet(const std::string& path) {
    LevelReadResult read = readLevelFile(path, ReaderKind::EditorText);
    if (!read.ok)
        throw AssetError(path + ": the level reader refuses it after " +
                         std::to_string(read.Levels.size()) + " levels (" +
                         read.Failure.Description + ")");
    std::vector<EditLevelRec> levels;
    for (const ParsedLevel& parsed : read.Levels) {
        const std::string where = path + ", level \"" + parsed.Name + "\": ";
        if (parsed.Speed < minLevelSpeed || parsed.Speed > maxLevelSpeed)
            throw AssetError(where + "the speed is outside 1..50");
        for (const ParsedAlien& a : parsed.Aliens) {
            if (a.Type < 0 || a.Type > maxAlienType || a.Hits < 1 || a.Hits > 9 || a.Drops < -1 ||
                a.Drops > 9 || (a.Shoots != 0 && a.Shoots != 1))
                throw AssetError(where + "an alien has a value the editor cannot make");
            if (a.X < 0 || a.X + frameWidth(a.Type) > kPaneWidth || a.Y < 0 ||
                a.Y + frameHeight(a.Type) >= kWarningLine)
                throw AssetError(where + "an alien at " + std::to_string(a.X) + "," +
                                 std::to_string(a.Y) + " is outside the marching area");
        }
        levels.push_back(toEditLevel(parsed));
    }
    if (levels.empty())
        throw AssetError(path + ": no levels");
    return levels;
}

void write(const std::string& path, const std::vector<EditLevelRec>& levels,
           LevelEncoding encoding) {
    try {
        writeLevelFile(path, levels, encoding);
    } catch (const std::exception& e) {
        throw AssetError(path + ": " + e.what());
    }
}

} // namespace

int writeLevelSets(const std::string& levelsFolder, const std::string& binFolder) {
    std::vector<EditLevelRec> shipped = readSet(levelsFolder + "/original.txt");
    write(binFolder + "/Original_levels/data.dat", shipped, LevelEncoding::Binary);
    const fs::path custom = fs::path(levelsFolder) / "custom";
    if (fs::is_directory(custom))
        for (const auto& entry : fs::directory_iterator(custom))
            if (entry.is_regular_file() && entry.path().extension() == ".dat")
                write((fs::path(binFolder) / "custom_levels" / entry.path().filename()).string(),
                      readSet(entry.path().string()), LevelEncoding::Text);
    return static_cast<int>(shipped.size());
}
