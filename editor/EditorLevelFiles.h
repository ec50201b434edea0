#pragma once

#include "EditLevelRec.h"
#include "VbTypes.h"

#include <string>
#include <vector>

// The editor window's level-file state and its four file routines. The window owns one of
// these; the routines report their own failures with the editor's messages.
struct EditorLevelFiles {
    std::vector<EditLevelRec> EditLevels{emptyEditLevel(1)};
    VbInteger CurLevel = 0;
    VbInteger CurAlien = -1;
    std::string LevelFileName;
    VbBool Saved = VbTrue;

    // Write all of EditLevels. Success: LevelFileName = FileName, Saved = True. Failure:
    // Saved = False, "ERROR! Unable to save file." with the failure's code; the old file is
    // untouched.
    bool SaveLevels(const std::string& FileName);
    bool SaveLevelsBinary(const std::string& FileName);

    // Replace EditLevels with the file's levels, the first one current and no current alien;
    // LevelFileName = FileName, Saved = True. The window then shows the first level.
    // Failure: "ERROR! Level file is corrupted!" and nothing changes, so the levels being
    // edited are never lost to a bad file.
    bool LoadLevels(const std::string& FileName);
    bool LoadLevelsBinary(const std::string& FileName);
};
