#pragma once

#include "EditLevelRec.h"
#include "LevelFileFormat.h"
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
    // The encoding LevelFileName holds: the one it was opened or last saved in. A plain save
    // keeps it, so that a binary set stays readable by the game's binary reader.
    LevelEncoding LevelFileEncoding = LevelEncoding::Text;
    VbBool Saved = VbTrue;

    // Write all of EditLevels. Success: LevelFileName = FileName and its encoding, Saved =
    // True. Failure:
    // Saved = False, "ERROR! Unable to save file." with the failure's code and its description,
    // which names the file; the old file is untouched.
    bool SaveLevels(const std::string& FileName);
    bool SaveLevelsBinary(const std::string& FileName);

    // Replace EditLevels with the file's levels, the first one current and no current alien;
    // LevelFileName = FileName, Saved = True. The window then shows the first level.
    // Failure: "ERROR! Level file is corrupted!" and nothing changes, so the levels being
    // edited are never lost to a bad file.
    bool LoadLevels(const std::string& FileName);
    bool LoadLevelsBinary(const std::string& FileName);
};
