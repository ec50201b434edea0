#include "EditorLevelFiles.h"

#include "DialogService.h"
#include "LevelFileFormat.h"
#include "VbError.h"

#include <new>

namespace {

bool save(EditorLevelFiles& files, const std::string& fileName, LevelEncoding encoding) {
    try {
        writeLevelFile(fileName, files.EditLevels, encoding);
    } catch (const VbError& e) {
        files.Saved = VbFalse;
        // The code, and which file and why.
        MsgBox("ERROR! Unable to save file.\r\nCode:" + std::to_string(e.Number()) + "\r\n\r\n" +
               e.Description());
        return false;
    }
    files.LevelFileName = fileName;
    files.LevelFileEncoding = encoding;
    files.Saved = VbTrue;
    return true;
}

bool load(EditorLevelFiles& files, const std::string& fileName, ReaderKind reader) {
    LevelReadResult r = readLevelFile(fileName, reader);
    if (!r.ok) {
        MsgBox("ERROR! Level file is corrupted!\r\n" + r.Failure.Description, mb::Critical);
        return false;
    }
    std::vector<EditLevelRec> levels;
    try {
        levels.reserve(r.Levels.size());
        for (const auto& level : r.Levels) {
            levels.push_back(toEditLevel(level));
        }
    } catch (const std::bad_alloc&) {
        MsgBox("ERROR! Level file is corrupted!\r\n" +
                   vberr::standardDescription(vberr::OutOfMemory),
               mb::Critical);
        return false;
    }
    files.EditLevels = std::move(levels);
    files.CurLevel = 0;
    files.CurAlien = -1;
    files.LevelFileName = fileName;
    files.LevelFileEncoding =
        reader == ReaderKind::EditorBinary ? LevelEncoding::Binary : LevelEncoding::Text;
    files.Saved = VbTrue;
    return true;
}

} // namespace

bool EditorLevelFiles::SaveLevels(const std::string& FileName) {
    return save(*this, FileName, LevelEncoding::Text);
}

bool EditorLevelFiles::SaveLevelsBinary(const std::string& FileName) {
    return save(*this, FileName, LevelEncoding::Binary);
}

bool EditorLevelFiles::LoadLevels(const std::string& FileName) {
    return load(*this, FileName, ReaderKind::EditorText);
}

bool EditorLevelFiles::LoadLevelsBinary(const std::string& FileName) {
    return load(*this, FileName, ReaderKind::EditorBinary);
}
