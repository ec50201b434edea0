#pragma once

#include <string>

// Per-user string settings by program title, section and key, kept in
// $XDG_CONFIG_HOME/Quillfen/<app>.ini (by default in the home folder's .config). Section and key
// names match without regard to case. Values are byte texts (Windows-1252), stored as UTF-8.

// The stored value, or defaultValue when there is none or the file cannot be read.
std::string GetSetting(const std::string& appName, const std::string& section,
                       const std::string& key, const std::string& defaultValue = "");
// False when the value could not be stored (a read-only or unreadable settings file, a full
// disk); lastSettingsError says why, naming the file. A file that cannot be read is left as
// it is.
bool SaveSetting(const std::string& appName, const std::string& section, const std::string& key,
                 const std::string& value);
// Without a key, the whole section. False as for SaveSetting.
bool DeleteSetting(const std::string& appName, const std::string& section,
                   const std::string& key = "");
const std::string& lastSettingsError();

// The file behind a program's settings; "" when the user has no home folder.
std::string settingsFilePath(const std::string& appName);
