#pragma once

#include "FileRead.h"
#include "FileWrite.h"

#include <string>

// The bytes of a level-set file, as the level readers see them (the tests' look at what a
// save wrote). Throws VbError as readFile does.
inline std::string readFileBytes(const std::string& path) {
    return readFile(path, FileKind::LevelBinary);
}
