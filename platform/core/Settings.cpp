#include "Settings.h"

#include "Ansi.h"
#include "FileRead.h"
#include "FileWrite.h"
#include "IniFile.h"
#include "TextCase.h"
#include "VbError.h"

#include <QByteArray>
#include <QFile>
#include <QLockFile>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <pwd.h>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace {

std::string lastError;

// Where the settings go, as the file system's bytes: $XDG_CONFIG_HOME when it names a
// folder from the root (a relative one would follow the current folder, which the
// programs change), else .config in the home folder: $HOME, or when that is unset the
// home the user list gives the user. Empty when there is no home folder at all.
std::string configRoot() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && xdg[0] == '/') {
        return xdg;
    }
    std::string home;
    if (const char* h = std::getenv("HOME"); h && h[0] == '/') {
        home = h;
    } else {
        passwd entry{};
        passwd* found = nullptr;
        std::vector<char> buffer(16384);
        if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found &&
            found->pw_dir && found->pw_dir[0] == '/') {
            home = found->pw_dir;
        }
    }
    if (home.empty()) {
        return {};
    }
    return home.back() == '/' ? home + ".config" : home + "/.config";
}

// Folded to lower case; the "x" prefix keeps a section called General out of the INI
// format's own [General] group.
std::string groupName(const std::string& section) {
    std::string name = "x";
    name += lowerCase(section);
    return name;
}

std::string keyName(const std::string& key) {
    return lowerCase(key);
}

// The file's settings; a missing file holds none. False (with the reason) for a file that
// cannot be read: a folder, a pipe, one far too large.
bool load(const std::string& path, IniFile& ini, std::string& error) {
    try {
        ini = IniFile::parse(readFile(path, FileKind::Settings));
    } catch (const std::bad_alloc&) {
        error = fileErrorText(vberr::standardDescription(vberr::OutOfMemory), path);
        return false;
    } catch (const VbError& e) {
        if (e.Number() != vberr::FileNotFound && e.Number() != vberr::PathNotFound) {
            error = e.Description();
            return false;
        }
        ini = IniFile();
    }
    return true;
}

// Read, change and write back under the lock that keeps two programs from losing each
// other's change. A file that cannot be read is never overwritten.
template <typename Change> bool update(const std::string& appName, Change change) {
    const std::string path = settingsFilePath(appName);
    if (path.empty()) {
        lastError = "No home folder is set (HOME is empty and the user list names none): the "
                    "settings cannot be kept";
        return false;
    }
    const std::string folder = path.substr(0, path.rfind('/'));
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) {
        lastError = fileWriteErrorText(ec.value(), folder);
        return false;
    }
    const std::string lockPath = path + ".lock";
    QLockFile lock(QFile::decodeName(QByteArray::fromStdString(lockPath)));
    if (!lock.tryLock(5000)) {
        if (lock.error() == QLockFile::LockFailedError) {
            lastError = fileErrorText("Permission denied", path) + " is locked by another program";
            return false;
        }
        // The lock file itself could not be made; Qt keeps the cause to itself.
        lastError = newFileFailureText(lockPath);
        return false;
    }
    IniFile ini;
    if (!load(path, ini, lastError)) {
        return false;
    }
    change(ini);
    try {
        writeFileAtomically(path, ini.text(), ExistingFile::Respect);
    } catch (const VbError& e) {
        lastError = e.Description();
        return false;
    }
    return true;
}

} // namespace

std::string settingsFilePath(const std::string& appName) {
    const std::string root = configRoot();
    return root.empty() ? std::string() : root + "/Quillfen/" + appName + ".ini";
}

std::string GetSetting(const std::string& appName, const std::string& section,
                       const std::string& key, const std::string& defaultValue) {
    IniFile ini;
    std::string error;
    if (!load(settingsFilePath(appName), ini, error)) {
        return defaultValue;
    }
    return ini.value(groupName(section), keyName(key)).value_or(defaultValue);
}

bool SaveSetting(const std::string& appName, const std::string& section, const std::string& key,
                 const std::string& value) {
    return update(appName,
                  [&](IniFile& ini) { ini.setValue(groupName(section), keyName(key), value); });
}

bool DeleteSetting(const std::string& appName, const std::string& section, const std::string& key) {
    return update(appName, [&](IniFile& ini) {
        ini.remove(groupName(section),
                   key.empty() ? std::nullopt : std::optional<std::string>(keyName(key)));
    });
}

const std::string& lastSettingsError() {
    return lastError;
}
