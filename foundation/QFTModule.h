#pragma once

#include "VbTypes.h"

#include <cstdint>
#include <string>
#include <vector>

class QWidget;
class Surface;

// A window handle is the window itself.
using HWnd = QWidget*;

// Small helpers shared by all three programs. Texts are byte texts (Windows-1252); paths
// use "/".

// The program's folder, ending in exactly one "/".
std::string AppPath();
// For tests and tools that run outside the program folder.
void setAppPathForTesting(const std::string& folder);

VbBool FileExists(const std::string& path);
VbBool DirExists(const std::string& path);
// Names (no folder) of the normal files in folder matching pattern ("*.*" when empty),
// without regard to case. folder gains a trailing "/" when it lacks one.
std::vector<std::string> GetFileList(std::string& folder, const std::string& pattern);
// The whole file as bytes, less one trailing CR LF. Raises VbError on failure.
std::string ReadTextFile(const std::string& path);

// Opens file (a document, folder, program or address) with the desktop. Above 32 means
// success; 0 when the file does not exist.
VbLong ShellRun(const std::string& file, const std::string& dir, HWnd hWnd,
                const std::string& params, const char* verb = nullptr);

// Milliseconds since start; wraps at 2^32 (subtract with num::tickDelta).
VbLong GetTicks();

VbBool SoundDeviceAvailable();
void PlayWaveSound(VbLong resId, const std::string& resType, const std::string& file, VbBool wait,
                   VbBool loopIt, VbBool noStop, VbBool noDefault);

HWnd GetForegroundHwnd();
HWnd GetActiveHwnd();
VbLong BringWindowToFront(HWnd hWnd);
void SetWindowTopMost(HWnd hWnd, VbBool onTop);
// Bits: the frame style bits the programs use (WS_CAPTION and friends).
void SetWindowStyleBits(HWnd hWnd, VbLong bits, VbBool setIt);
void CaptureScreenArea(Surface& target, VbLong x, VbLong y, VbLong w, VbLong h, VbLong srcX,
                       VbLong srcY);

VbBool GetInternetConnectedState(VbLong& flags, std::string& connName);
void StopMciDevice(const std::string& alias, VbBool closeIt);

std::string NulDelimitedText(const std::string& s);
std::string URLEncode(const std::string& s);
// Raise VbError 10 (source "Crypter") for a shift of 32767.
std::string EncryptText(const std::string& text, VbInteger shift);
std::string DecryptText(const std::string& text, VbInteger shift);
