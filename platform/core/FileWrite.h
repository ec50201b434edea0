#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Whole-file saves for the files a user owns (level sets, hiscore tables).

enum class ExistingFile {
    // A file the user made read-only stays untouched (error 70), and a rewrite keeps the old
    // file's permissions.
    Respect,
    // Replaced whatever its permissions, the new file gets the default ones.
    Replace,
};

// Writes bytes to a hidden temporary file beside path (".<name>.saving-XXXXXX"), flushes it
// to disk and renames it over path. A crash or a full disk never leaves a part-written file:
// either the old file or the complete new one. A temporary file that a killed save left
// behind goes at the next save of the same file. A symbolic link is followed, so the link
// stays. Throws VbError naming the file: 76 Path not found, 70 Permission denied, 61 Disk
// full, 75 other failures (the target is a folder, a pipe or a device).
void writeFileAtomically(const std::string& path, std::string_view bytes,
                         ExistingFile existing = ExistingFile::Respect);

// The temporary files of saves to path that no running save holds (what killed saves left).
// They are removed by the next save; listed for the tests and tools.
std::vector<std::string> abandonedSaveFiles(const std::string& path);

// Descriptions of the file error numbers used here (the standard ones and 61 "Disk full").
std::string fileErrorDescription(int number);

// The text of a failure (errno err) to write, make or fill the file or folder at path, in
// the form the saves above use: "Disk full: "<path>"", "Permission denied: ...", "Path not
// found: ...", else "Path/File access error: "<path>" (<the system's words>)".
std::string fileWriteErrorText(int err, const std::string& path);

// Why a new file could not be made at path, for writers whose own library hides the cause:
// found by making one there (created, a few bytes written and flushed, removed again). When
// that works now, "Path/File access error: "<path>" cannot be made".
std::string newFileFailureText(const std::string& path);

// Test hooks. The next write fails with a full disk after this many bytes reached the
// temporary file (reset by the failing write). The second runs once the temporary file is
// complete, before it takes the file's place (a test kills the process there).
void failNextWriteAfterForTesting(std::size_t bytes);
void beforeSaveRenameForTesting(std::function<void()> hook);
