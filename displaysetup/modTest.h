#pragma once

// True when the last test window was closed with OK.
inline bool TestPassed = false;
