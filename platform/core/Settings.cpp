#include "Settings.h"

#include "Ansi.h"
#include "FileRead.h"
#include "FileWrite.h"
#include "IniFile.h"
#include "TextCase.h"
#include "VbError.h"

#include <QDir>
#include <QLockFile>
#include <cstdlib>
#include <new>

namespace {

std::string lastError;

QString configRoot() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && *xdg) {
        return QString::fromLocal8Bit(xdg);
    }
    return QDir::homePath() + "/.config";
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
    const QString folder = configRoot() + "/Quillfen";
    if (!QDir().mkpath(folder)) {
        lastError = fileErrorText("Path not found", ansi::fromQString(folder));
        return false;
    }
    QLockFile lock(ansi::toQString(path) + ".lock");
    if (!lock.tryLock(5000)) {
        lastError = fileErrorText("Permission denied", path) + " is locked by another program";
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
    return ansi::fromQString(configRoot() + "/Quillfen/" + ansi::toQString(appName) + ".ini");
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
