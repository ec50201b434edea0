#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Whole-file reading and writing for the files a user owns (level sets, hiscore tables).

// The file's bytes exactly. Throws VbError: 53 File not found, 70 Permission denied,
// 75 Path/File access error (a folder, a read error).
std::string readFileBytes(const std::string& path);

enum class ExistingFile {
    // A file the user made read-only stays untouched (error 70), and a rewrite keeps the old
    // file's permissions.
    Respect,
    // Replaced whatever its permissions, the new file gets the default ones.
    Replace,
};

// Writes bytes to a hidden temporary file beside path (".<name>.XXXXXX"), flushes it to disk
// and renames it over path. A crash or a full disk never leaves a part-written file: either
// the old file or the complete new one. A symbolic link is followed, so the link stays.
// Throws VbError: 76 Path not found, 70 Permission denied, 61 Disk full, 75 other failures.
void writeFileAtomically(const std::string& path, std::string_view bytes,
                         ExistingFile existing = ExistingFile::Respect);

// Descriptions of the file error numbers used here (the standard ones and 61 "Disk full").
std::string fileErrorDescription(int number);

// Test hook: the next write fails with a full disk after this many bytes reached the
// temporary file. Reset by the failing write.
void failNextWriteAfterForTesting(std::size_t bytes);
