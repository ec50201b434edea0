#pragma once

#include <QString>
#include <string>
#include <string_view>

// Texts inside the programs and their files are single bytes (Windows-1252); these convert
// them where they meet Qt. Unmappable characters become '?'.
namespace ansi {
QString toQString(std::string_view bytes);
std::string fromQString(const QString& text);
} // namespace ansi
