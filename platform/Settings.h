#pragma once

#include <string>

// Per-user string settings by program title, section and key, kept in
// $XDG_CONFIG_HOME/Quillfen/<app>.ini. Section and key names match without regard to case.
// Values are byte texts (Windows-1252), stored as UTF-8.
std::string GetSetting(const std::string& appName, const std::string& section,
                       const std::string& key, const std::string& defaultValue = "");
void SaveSetting(const std::string& appName, const std::string& section, const std::string& key,
                 const std::string& value);
void DeleteSetting(const std::string& appName, const std::string& section,
                   const std::string& key = "");

// The file behind a program's settings.
std::string settingsFilePath(const std::string& appName);
