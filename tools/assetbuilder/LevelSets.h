#pragma once

#include <string>

// Reads the level sources (text encoding) with the project's level reader, checks that
// every alien fits the play pane, and writes them with the project's level writer:
// levels/original.txt as Original_levels/data.dat (binary encoding), every
// levels/custom/*.dat into custom_levels/ (text encoding). Returns the number of levels
// of the shipped set. Raises AssetError on a fault.
int writeLevelSets(const std::string& levelsFolder, const std::string& binFolder);
