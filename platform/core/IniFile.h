#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The settings file's text: "[section]" lines and "key=value" lines, written the way Qt's
// INI settings write them (percent-escaped names, quoted and backslash-escaped values, UTF-8),
// so files from either side read the same. Names are held as written; the caller folds case.
// Values are byte texts (Windows-1252).
class IniFile {
public:
    // Whatever the bytes: lines that are no section and no key are skipped.
    static IniFile parse(std::string_view bytes);
    std::string text() const;

    std::optional<std::string> value(const std::string& section, const std::string& key) const;
    void setValue(const std::string& section, const std::string& key, const std::string& value);
    // Without a key, the whole section.
    void remove(const std::string& section, const std::optional<std::string>& key);

    struct Section {
        std::string name;
        std::vector<std::pair<std::string, std::string>> entries;
    };
    const std::vector<Section>& sections() const { return sections_; }

private:
    Section* find(const std::string& name);
    const Section* find(const std::string& name) const;

    std::vector<Section> sections_;
};
