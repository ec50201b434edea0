#pragma once

#include "VbTypes.h"

#include <cstdint>
#include <string>
#include <vector>

// Small helpers shared by all three programs: paths, files and texts (its calls on the
// desktop are in QFTModuleDesktop.h). Texts are byte texts (Windows-1252); paths use "/".

// The program's folder, ending in exactly one "/".
std::string AppPath();
// For tests and tools that run outside the program folder.
void setAppPathForTesting(const std::string& folder);

// False for an empty path and for a folder (which DirExists leaves the current folder).
VbBool FileExists(const std::string& path);
// Makes path the current folder when it can; True when it did.
VbBool DirExists(const std::string& path);
// Names (no folder) of the normal files in folder matching pattern ("*.*" when empty),
// without regard to case, sorted as a Windows folder lists them; no folders and no dot
// files. folder gains a trailing "/" when it lacks one. Empty when the folder is missing.
std::vector<std::string> GetFileList(std::string& folder, const std::string& pattern);
// The whole file as bytes, less one trailing CR LF. Raises VbError 53 (file not found),
// 76 (path not found), 70 (permission denied) or 75 (a folder, not a regular file, over
// 16 MB, or unreadable), the description naming the file.
std::string ReadTextFile(const std::string& path);

// The part between the first NUL and the next (to the end when there is no next); s
// unchanged without a NUL.
std::string NulDelimitedText(const std::string& s);
// Letters and digits kept, everything else "%" and two upper-case hex digits.
std::string URLEncode(const std::string& s);
// Raise VbError 10 (source "Crypter") for a shift of 32767.
std::string EncryptText(const std::string& text, VbInteger shift);
std::string DecryptText(const std::string& text, VbInteger shift);
