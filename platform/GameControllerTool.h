#pragma once

#include <string>

// The desktop's game-controller settings, the nearest thing to the system's joystick panel:
// jstest-gtk (lists, tests and calibrates joysticks), else KDE Plasma's game-controller
// module. Started beside the program, which goes on.
namespace gamecontroller {

// The command that would run, or "" when no such tool is installed (searched on PATH).
std::string toolCommand();
// Starts it detached; false when none is installed or it could not start.
bool openTool();

} // namespace gamecontroller
