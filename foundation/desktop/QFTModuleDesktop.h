#pragma once

#include "VbTypes.h"

#include <string>

class QWidget;
class Surface;

// A window handle is the window itself.
using HWnd = QWidget*;

// The shared helper module's calls on the desktop: clock, shell, sound, windows, screen and
// network.

// Opens file (a document, folder, program or address) with the desktop; a program starts
// detached with params split as a shell would, in dir. 42 when started, 0 when the file
// does not exist, 31 when nothing could open it (or verb is not the default action).
VbLong ShellRun(const std::string& file, const std::string& dir, HWnd hWnd,
                const std::string& params, const char* verb = nullptr);

// Milliseconds since start; wraps at 2^32 (subtract with num::tickDelta).
VbLong GetTicks();

// True when a sound device could be opened (also SDL's silent "dummy" device).
VbBool SoundDeviceAvailable();
// The simple wave player: file, or (file empty, resId > 0) the Qt resource
// ":/<resType>/<resId>". Without a sound device it says "Unable to init SOUND-DECVICE".
// wait plays to the end (once, even with loopIt); noStop leaves a sound of this player
// that still plays alone; noDefault changes nothing (there is no default sound).
void PlayWaveSound(VbLong resId, const std::string& resType, const std::string& file, VbBool wait,
                   VbBool loopIt, VbBool noStop, VbBool noDefault);

// This program's active window while the program is active, else nullptr.
HWnd GetForegroundHwnd();
HWnd GetActiveHwnd();
// Raises and activates the window; 1, or 0 without a window.
VbLong BringWindowToFront(HWnd hWnd);
void SetWindowTopMost(HWnd hWnd, VbBool onTop);
// Bits: the frame style bits the programs use (WS_CAPTION and friends, see
// WindowHelpers.h); without a whole caption the window is frameless.
void SetWindowStyleBits(HWnd hWnd, VbLong bits, VbBool setIt);
// Copies the w x h screen rectangle at (srcX, srcY) into target at (x, y); errors leave
// target as it was.
void CaptureScreenArea(Surface& target, VbLong x, VbLong y, VbLong w, VbLong h, VbLong srcX,
                       VbLong srcY);

// flags: LAN 0x02 (or modem 0x01 on a cellular link) plus configured 0x40, 0 when not
// connected; connName the medium or "LAN".
VbBool GetInternetConnectedState(VbLong& flags, std::string& connName);
// There is no media control interface here: does nothing.
void StopMciDevice(const std::string& alias, VbBool closeIt);
