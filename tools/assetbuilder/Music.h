#pragma once

#include "XmWriter.h"

#include <string>

// Reads a score (see assets/music/bg.score for the notation) and makes the module,
// synthesising every instrument's sample. Raises AssetError on a fault in the score.
XmModule composeModule(const std::string& scorePath);

// The module's play time in seconds as a tracker plays it: the rows of every order at
// the module's speed and tempo (the score sets no speed or tempo changes).
double moduleSeconds(const XmModule& module);
