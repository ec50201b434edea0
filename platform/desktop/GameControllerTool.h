#pragma once

// The desktop's game-controller settings, the nearest thing to the system's joystick panel:
// jstest-gtk (lists, tests and calibrates joysticks), else KDE Plasma's game-controller
// module. Started beside the program, which goes on.
namespace gamecontroller {

// Starts it detached; false when none is installed or it could not start.
bool openTool();

} // namespace gamecontroller
