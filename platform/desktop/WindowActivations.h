#pragma once

class QWidget;

// The program's windows in the order they were last active, watched from the start. When
// the active window hides, the window active before it that still shows (else the one
// window left showing) takes the keyboard, as a window manager would: without one the
// keyboard goes to no window.

// The window that was active last and still shows; nullptr when none.
QWidget* lastActiveWindowShown();
