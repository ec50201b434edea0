#include "TestLevelCopies.h"

#include "FileRead.h"
#include "LevelFileFormat.h"
#include "ProcessState.h"
#include "VbError.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <array>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string_view>
#include <system_error>

namespace fs = std::filesystem;

namespace {

constexpr std::string_view folderPrefix = "vantedit-test-";
constexpr const char* pidFileName = "game.pid";
constexpr const char* fallbackName = "levels.dat";
constexpr const char* errorSource = "vantedit";
// A folder that never got its game's id: a launch takes moments, an editor killed in the
// middle of one leaves it behind.
constexpr auto unstartedAge = std::chrono::hours(1);

// Every text the game looks for on its command line.
constexpr std::array<std::string_view, 13> gameSwitches = {
    "-loadlevels{", "-startfromlevel{", "-musicfile{", "-window",       "-noamiga",
    "quintarflox",  "-wobblefrumpy",    "-resethi",    "-disablemusic", "-nomusic",
    "-disablesfx",  "-nosfx",           "-nojoyinit"};

std::string localPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

std::string folderOf(const std::string& copy) {
    const auto slash = copy.rfind('/');
    return slash == std::string::npos ? std::string() : copy.substr(0, slash);
}

void removeFolder(const std::string& folder) {
    std::error_code ec;
    fs::remove_all(folder, ec);
}

// The game id a copy's folder holds; 0 when it has none. The folders stand in the shared
// temporary folder, where anyone may have put anything under that name.
std::int64_t readPid(const fs::path& folder) {
    std::string text;
    try {
        text = readFile((folder / pidFileName).string(), FileKind::Text);
    } catch (const VbError&) {
        return 0;
    }
    std::istringstream in(text);
    long long pid = 0;
    if (!(in >> pid) || pid <= 0) {
        return 0;
    }
    return pid;
}

} // namespace

bool gameTakesLevelPath(const std::string& path) {
    if (path.empty() || path.find('}') != std::string::npos) {
        return false;
    }
    return std::none_of(gameSwitches.begin(), gameSwitches.end(),
                        [&](std::string_view sw) { return path.find(sw) != std::string::npos; });
}

TestLevelCopies::TestLevelCopies() : TestLevelCopies(localPath(QDir::tempPath())) {}

TestLevelCopies::TestLevelCopies(std::string parent)
    : gameRunning(processRunning), parentFolder(std::move(parent)) {}

std::string TestLevelCopies::create(const std::vector<EditLevelRec>& levels,
                                    const std::string& setFileName) {
    const QString pattern =
        QDir(QFile::decodeName(QByteArray::fromStdString(parentFolder)))
            .filePath(QString::fromLatin1(folderPrefix.data(), folderPrefix.size()) +
                      QStringLiteral("XXXXXX"));
    QTemporaryDir dir(pattern);
    if (!dir.isValid()) {
        throw VbError(vberr::PathFileAccess, errorSource,
                      "Unable to make a folder in " + parentFolder + ": " +
                          dir.errorString().toStdString());
    }
    dir.setAutoRemove(false);
    const std::string folder = localPath(dir.path());

    std::string name = setFileName.substr(setFileName.rfind('/') + 1);
    if (!gameTakesLevelPath(name) || name == pidFileName) {
        name = fallbackName;
    }
    std::string copy = folder + "/" + name;
    if (!gameTakesLevelPath(copy)) {
        removeFolder(folder);
        throw VbError(vberr::BadFileName, errorSource,
                      "The game cannot read levels from this path: " + copy);
    }
    try {
        writeLevelFile(copy, levels, LevelEncoding::Text);
    } catch (const VbError&) {
        removeFolder(folder);
        throw; // its description names the copy
    }
    copies_.push_back({folder, 0});
    return copy;
}

void TestLevelCopies::started(const std::string& copy, std::int64_t pid) {
    const std::string folder = folderOf(copy);
    for (Copy& c : copies_) {
        if (c.folder == folder) {
            c.pid = pid;
        }
    }
    // For a later editor, should this game outlive this one.
    std::ofstream(fs::path(folder) / pidFileName) << pid << '\n';
}

void TestLevelCopies::discard(const std::string& copy) {
    const std::string folder = folderOf(copy);
    removeFolder(folder);
    std::erase_if(copies_, [&](const Copy& c) { return c.folder == folder; });
}

void TestLevelCopies::removeEnded(bool leftovers) {
    std::erase_if(copies_, [&](const Copy& c) {
        if (c.pid > 0 && gameRunning(c.pid)) {
            return false;
        }
        removeFolder(c.folder);
        return true;
    });
    if (!leftovers) {
        return;
    }
    std::vector<fs::path> ended;
    std::error_code ec;
    const auto now = fs::file_time_type::clock::now();
    for (fs::directory_iterator it(parentFolder, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path& folder = it->path();
        const std::string name = folder.filename().string();
        std::error_code statError;
        if (!name.starts_with(folderPrefix) || !it->is_directory(statError) ||
            it->is_symlink(statError)) {
            continue;
        }
        const bool mine = std::any_of(copies_.begin(), copies_.end(),
                                      [&](const Copy& c) { return fs::path(c.folder) == folder; });
        if (mine) {
            continue;
        }
        const std::int64_t pid = readPid(folder);
        if (pid > 0) {
            if (!gameRunning(pid)) {
                ended.push_back(folder);
            }
        } else {
            const auto changed = fs::last_write_time(folder, statError);
            if (!statError && now - changed > unstartedAge) {
                ended.push_back(folder);
            }
        }
    }
    for (const fs::path& folder : ended) {
        removeFolder(folder.string());
    }
}
