// LIBS: vantorix_platform_core
#include "IniFile.h"
#include "Require.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

// Every value the file gives, by section and key, as a reader sees them.
void sameValues(const IniFile& a, const IniFile& b) {
    for (const auto& section : a.sections()) {
        for (const auto& entry : section.entries) {
            require(b.value(section.name, entry.first) == a.value(section.name, entry.first));
        }
    }
}

} // namespace

// Whatever the settings file holds: what we write back reads as the same values, and a value
// we store reads back exactly beside the ones that were there.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const IniFile file = IniFile::parse(bytes);
    const IniFile again = IniFile::parse(file.text());
    sameValues(file, again);
    sameValues(again, file);

    // The input doubles as a value: bytes of any kind survive the round trip.
    IniFile changed = file;
    const std::string value(bytes.substr(0, 200));
    changed.setValue("xfuzz", "value", value);
    const IniFile written = IniFile::parse(changed.text());
    require(written.value("xfuzz", "value") == value);
    for (const auto& section : file.sections()) {
        for (const auto& entry : section.entries) {
            if (!sameName(section.name, "xfuzz") || !sameName(entry.first, "value")) {
                require(written.value(section.name, entry.first) ==
                        file.value(section.name, entry.first));
            }
        }
    }
    return 0;
}
