#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Every file the programs read comes through here. The file is opened without blocking (a
// named pipe cannot stall the program), only regular files are read, and no more than the
// cap of its kind, so a huge or endless file fails at once instead of eating the memory.

enum class FileKind {
    LevelText,   // a level set in the text encoding
    LevelBinary, // a level set in the record encoding
    Hiscores,    // a hiscore table, local or downloaded
    Picture,     // a BMP or GIF picture
    Sound,       // a wave sound effect
    Settings,    // a program's settings file
    Text,        // any other whole text
};

// The most bytes a file of the kind may hold.
std::size_t readCap(FileKind kind);

// The file's bytes exactly. Throws VbError whose description names the file and the cause:
// 52 an empty path, 53 File not found, 76 Path not found, 70 Permission denied, 7 Out of
// memory, 75 Path/File access error (a folder, a pipe, a device, a file over the cap, a
// failing read).
std::string readFile(const std::string& path, FileKind kind);

// For readers that keep a file open and read it piece by piece (music): the checks of
// readFile against cap bytes, what naming the kind in the error ("a music file"). Returns
// the descriptor, in blocking mode, for the caller to close, and the size seen on opening.
// Throws as readFile.
int openCheckedFile(const std::string& path, std::uintmax_t cap, const std::string& what,
                    std::uintmax_t& size);

// "<description>: "<path>"", the form every file error takes.
std::string fileErrorText(const std::string& description, const std::string& path);
