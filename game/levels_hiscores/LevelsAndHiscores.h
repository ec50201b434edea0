#pragma once

#include "HiscoreTable.h"
#include "LevelRec.h"
#include "VbTypes.h"

#include <functional>
#include <string>
#include <vector>

// The program-wide values the game window shares with the hiscore name entry.
struct HiscoreGlobals {
    VbInteger HiscorePlace = 0;  // 1-based place of the score being entered
    std::string LastHiscoreName; // typed last; pre-fills the next entry, lasts for the run
    VbBool HiscoreDialogOpen = VbFalse;
};
HiscoreGlobals& programHiscoreGlobals();

// What the level and hiscore routines need from the game window. Unset seams do nothing.
struct LevelsHiscoresSeams {
    // The modal name entry; when it returns, LastHiscoreName holds the typed name.
    std::function<void()> showHiscoreNameEntry;
    // One run of the hiscore panel's repaint tick.
    std::function<void()> repaintHiscores;
    // Internet hiscores are on (the menu item is checked).
    std::function<bool()> internetMode;
    // Uploads a score; on success the server's table replaces Hiscores.
    std::function<void(VbLong score, VbLong level, const std::string& name)> sendHiscore;
    // Enables "New game".
    std::function<void()> enableNewGame;
};

// The level set and hiscore part of the game window's state, with the routines that load a
// level set and keep its hiscore table. The game window owns one.
class LevelsAndHiscores {
public:
    explicit LevelsAndHiscores(HiscoreGlobals& globals = programHiscoreGlobals())
        : globals_(globals) {}

    std::vector<LevelRec> Levels;
    VbBool BinaryLevels = VbFalse; // the set came from the binary reader (the shipped set)
    std::string CurrentLevelFile;  // the level file last read completely
    HiscoreTable Hiscores;
    // Captions of the "Jump to level" items, one per level; before the first load the single
    // design-time item.
    std::vector<std::string> JumpMenuCaptions{"Level 1"};
    // The program's arguments as one text, shown when a level set fails to load.
    std::string CommandLine;
    LevelsHiscoresSeams seams;

    // Read a level set (text, binary) into Levels, then its hiscores. True when the whole
    // file was read. A failure shows "ERROR! Level file is corrupted!" and the command line;
    // the levels completely read before it replace the table (none: the table stays).
    bool LoadLevels(const std::string& FileName);
    bool LoadLevelsBinary(const std::string& FileName);
    // The shipped set, "Original_levels/data.dat" in the program folder.
    void LoadOrgLevels();

    void ResetHiscore();
    // The 0-based place the score would take; -1 for none, or for a game started past the
    // first level without cheat mode.
    VbInteger GetScorePlace(VbLong Score, VbInteger StartFromLevel, VbBool CheatMode) const;
    // Enters a finished game's score: places it, asks for the name, uploads it in internet
    // mode. Failures inside are ignored.
    void UpdateHiscore(VbLong NewScore, VbInteger CurrentLevel, VbInteger StartFromLevel,
                       VbBool CheatMode);
    // Writes the table beside the level file (nothing in internet mode). A failure is shown
    // and gives False; the old file stays as it was.
    bool WriteHiscores();
    // Reads the table of the current set (or the downloaded one in internet mode), repairing
    // a missing, corrupt or tampered file, then repaints the panel. A second corrupt file in
    // the same run is passed on as VbError after the default table is set. A downloaded table
    // that fails its check gives the default table in memory, never an error.
    void ReadHiscores();

    // The file ReadHiscores reads now.
    std::string hiscoreFilePath() const;

private:
    bool load(const std::string& fileName, bool binary);
    void reportLoadFailure(const std::string& description) const;
    bool internetOn() const { return seams.internetMode && seams.internetMode(); }
    void repaint() const;
    void readDownloadedTable(const std::string& path);
    void showChecksumError() const;

    HiscoreGlobals& globals_;
    int readFailuresHandled_ = 0; // for the whole run: a corrupt file costs one retry
};
