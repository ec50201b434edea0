#pragma once

#include <string>

// Asset and level file names match without regard to case, as on the desktop the data was
// made for, and "\" separates folders. Returns the existing file whose last name matches,
// or the path as given (with "/") when none does, so the caller reports the missing file.
std::string resolveFileName(std::string path);
