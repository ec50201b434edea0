#include "Settings.h"

#include "Ansi.h"

#include <QDir>
#include <QSettings>
#include <cstdlib>

namespace {

QString configRoot() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && *xdg) {
        return QString::fromLocal8Bit(xdg);
    }
    return QDir::homePath() + "/.config";
}

// Folded to lower case; the "x" prefix keeps a section called General out of the INI
// format's own [General] group.
QString groupName(const std::string& section) {
    return "x" + ansi::toQString(section).toLower();
}

QString keyName(const std::string& key) {
    return ansi::toQString(key).toLower();
}

} // namespace

std::string settingsFilePath(const std::string& appName) {
    return ansi::fromQString(configRoot() + "/Quillfen/" + ansi::toQString(appName) + ".ini");
}

std::string GetSetting(const std::string& appName, const std::string& section,
                       const std::string& key, const std::string& defaultValue) {
    QSettings s(ansi::toQString(settingsFilePath(appName)), QSettings::IniFormat);
    s.beginGroup(groupName(section));
    const QVariant v = s.value(keyName(key));
    if (!v.isValid()) {
        return defaultValue;
    }
    return ansi::fromQString(v.toString());
}

void SaveSetting(const std::string& appName, const std::string& section, const std::string& key,
                 const std::string& value) {
    QDir().mkpath(configRoot() + "/Quillfen");
    QSettings s(ansi::toQString(settingsFilePath(appName)), QSettings::IniFormat);
    s.beginGroup(groupName(section));
    s.setValue(keyName(key), ansi::toQString(value));
    s.endGroup();
    s.sync();
}

void DeleteSetting(const std::string& appName, const std::string& section, const std::string& key) {
    QSettings s(ansi::toQString(settingsFilePath(appName)), QSettings::IniFormat);
    if (key.empty()) {
        s.remove(groupName(section));
    } else {
        s.beginGroup(groupName(section));
        s.remove(keyName(key));
        s.endGroup();
    }
    s.sync();
}
