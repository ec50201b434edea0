#include "LevelsAndHiscores.h"

#include "DialogService.h"
#include "FileRead.h"
#include "FileWrite.h"
#include "HiscoreFile.h"
#include "IgnoringFailures.h"
#include "LevelFileFormat.h"
#include "QFTModule.h"
#include "VbError.h"

#include <cstdio>
#include <filesystem>
#include <new>

namespace {

std::string jumpCaption(std::size_t index) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "Level %02zu", index + 1);
    return buf;
}

std::vector<LevelRec> toLevelRecs(const std::vector<ParsedLevel>& levels) {
    std::vector<LevelRec> out;
    out.reserve(levels.size());
    for (const auto& l : levels) {
        out.push_back(toLevelRec(l));
    }
    return out;
}

} // namespace

HiscoreGlobals& programHiscoreGlobals() {
    static HiscoreGlobals globals;
    return globals;
}

bool LevelsAndHiscores::LoadLevels(const std::string& FileName) {
    return load(FileName, false);
}

bool LevelsAndHiscores::LoadLevelsBinary(const std::string& FileName) {
    return load(FileName, true);
}

void LevelsAndHiscores::LoadOrgLevels() {
    LoadLevelsBinary(AppPath() + "Original_levels/data.dat");
}

bool LevelsAndHiscores::load(const std::string& fileName, bool binary) {
    BinaryLevels = toVbBool(binary);
    const LevelReadResult r =
        readLevelFile(fileName, binary ? ReaderKind::GameBinary : ReaderKind::GameText);
    try {
        if (!r.ok) {
            if (!r.Levels.empty()) {
                Levels = toLevelRecs(r.Levels);
            }
            reportLoadFailure(r.Failure.Description);
            return false;
        }
        Levels = toLevelRecs(r.Levels);
    } catch (const std::bad_alloc&) {
        // The table stays as it was.
        reportLoadFailure(vberr::standardDescription(vberr::OutOfMemory));
        return false;
    }
    CurrentLevelFile = fileName;
    try {
        ReadHiscores();
    } catch (const VbError& e) {
        reportLoadFailure(e.Description());
        return false;
    }
    JumpMenuCaptions.clear();
    for (std::size_t i = 0; i < Levels.size(); ++i) {
        JumpMenuCaptions.push_back(jumpCaption(i));
    }
    return true;
}

void LevelsAndHiscores::reportLoadFailure(const std::string& description) const {
    MsgBox("ERROR! Level file is corrupted!\r\n" + description, mb::Critical);
    MsgBox("Command:\r\n\r\n" + CommandLine, mb::Information);
}

void LevelsAndHiscores::ResetHiscore() {
    Hiscores = defaultHiscores();
}

VbInteger LevelsAndHiscores::GetScorePlace(VbLong Score, VbInteger StartFromLevel,
                                           VbBool CheatMode) const {
    if (StartFromLevel > 0 && !CheatMode) {
        return -1;
    }
    return placeForScore(Hiscores, Score);
}

void LevelsAndHiscores::UpdateHiscore(VbLong NewScore, VbInteger CurrentLevel,
                                      VbInteger StartFromLevel, VbBool CheatMode) {
    // The window parts report their own failures; the table is updated whatever they do.
    ignoringFailures([&] {
        if (seams.enableNewGame) {
            seams.enableNewGame();
        }
    });
    if (StartFromLevel > 0 && !CheatMode) {
        return;
    }
    const VbInteger p = placeForScore(Hiscores, NewScore);
    if (p < 0) {
        return;
    }
    const VbInteger level =
        static_cast<VbInteger>(CurrentLevel < 32767 ? CurrentLevel + 1 : CurrentLevel);
    insertHiscore(Hiscores, p, HiscoreEntry{NewScore, "????", level});
    globals_.HiscorePlace = static_cast<VbInteger>(p + 1);
    ignoringFailures([&] {
        if (seams.showHiscoreNameEntry) {
            seams.showHiscoreNameEntry();
        }
    });
    if (internetOn()) {
        ignoringFailures([&] {
            if (seams.sendHiscore) {
                seams.sendHiscore(NewScore, level, globals_.LastHiscoreName);
            }
        });
    } else {
        Hiscores[p] = HiscoreEntry{NewScore, globals_.LastHiscoreName, level};
    }
}

std::string LevelsAndHiscores::hiscoreFilePath() const {
    if (internetOn()) {
        return AppPath() + "Original_levels/~idata.hsc";
    }
    return hiscoreFileName(CurrentLevelFile);
}

bool LevelsAndHiscores::WriteHiscores() {
    // Nothing is written in internet mode, nor before a level set (whose table it is) loaded.
    if (internetOn() || CurrentLevelFile.empty()) {
        return true;
    }
    const std::string path = hiscoreFileName(CurrentLevelFile);
    try {
        writeFileAtomically(path, encodeHiscoreFile(Hiscores, BinaryLevels != VbFalse));
    } catch (const VbError& e) {
        MsgBox("ERROR! Unable to save the hiscores!\r\n\r\n" + e.Description(), mb::Exclamation);
        return false;
    }
    return true;
}

void LevelsAndHiscores::repaint() const {
    if (seams.repaintHiscores) {
        seams.repaintHiscores();
    }
}

void LevelsAndHiscores::showChecksumError() const {
    MsgBox("Checksum Error!\r\nThe hiscore file's checksum is invalid.\r\n\r\nThe hiscores has "
           "been reset!",
           mb::Critical);
}

// The server's table. A reply that is no table at all fails its check like a table with a
// wrong checksum; the local file, and its one repair in the run, have nothing to do with it.
void LevelsAndHiscores::readDownloadedTable(const std::string& path) {
    // A folder or anything else in the file's place is reported by the read.
    std::error_code ec;
    if (!std::filesystem::exists(std::filesystem::symlink_status(path, ec))) {
        ResetHiscore();
        repaint();
        return;
    }
    std::string bytes;
    try {
        bytes = readFile(path, FileKind::Hiscores);
    } catch (const VbError& e) {
        MsgBox(e.Description()); // names the file
        ResetHiscore();
        repaint();
        return;
    }
    DecodedHiscores d;
    try {
        // The server's table always carries its checksum.
        d = decodeHiscoreFile(bytes, true);
    } catch (const VbError&) {
        d.ChecksumOk = false;
    }
    if (!d.ChecksumOk) {
        showChecksumError();
        ResetHiscore();
        return;
    }
    Hiscores = d.Table;
    repaint();
}

void LevelsAndHiscores::ReadHiscores() {
    const bool internet = internetOn();
    if (!internet && CurrentLevelFile.empty()) {
        // No level set yet, so no file of its own: the defaults.
        ResetHiscore();
        repaint();
        return;
    }
    const std::string path = hiscoreFilePath();
    if (internet) {
        readDownloadedTable(path);
        return;
    }
    // A file that cannot be read as a file at all (a pipe, a device, far too large) is not a
    // damaged table: it stays as it is, and the defaults stay in memory.
    bool unusableFile = false;
    try {
        // Only a file that is not there at all counts as missing; a folder or anything else
        // in its place is reported by the read.
        std::error_code ec;
        if (!std::filesystem::exists(std::filesystem::symlink_status(path, ec))) {
            // A missing file is no failure: the defaults are written and read back. Where they
            // cannot be written they stay in memory.
            ResetHiscore();
            if (!WriteHiscores()) {
                repaint();
                return;
            }
        }
        std::string bytes;
        try {
            bytes = readFile(path, FileKind::Hiscores);
        } catch (const VbError&) {
            unusableFile = true;
            throw;
        }
        DecodedHiscores d;
        try {
            d = decodeHiscoreFile(bytes, BinaryLevels != VbFalse);
        } catch (const VbError& e) {
            throw VbError(e.Number(), e.Source(), fileErrorText(e.Description(), path));
        }
        if (!d.ChecksumOk) {
            showChecksumError();
            ResetHiscore();
            WriteHiscores();
            return;
        }
        Hiscores = d.Table;
    } catch (const VbError& e) {
        MsgBox(e.Description());
        if (readFailuresHandled_ > 0) {
            ResetHiscore();
            throw;
        }
        ++readFailuresHandled_;
        if (FileExists(hiscoreFileName(CurrentLevelFile))) {
            MsgBox("\"Hiscores.dat\" is corrupted!\r\nHiscores has been reset!", mb::Critical,
                   "ERROR!");
        }
        ResetHiscore();
        if (unusableFile || !WriteHiscores()) {
            // The default table stays in memory; a write failure never fails the level set.
            repaint();
            return;
        }
        ReadHiscores();
        return;
    }
    repaint();
}
