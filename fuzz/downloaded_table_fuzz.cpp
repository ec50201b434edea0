// LIBS: vantorix_hiscore_ui vantorix_fuzz_harness
#include "FuzzHarness.h"
#include "GameForm.h"
#include "HiscoreFile.h"
#include "InfoModel.h"
#include "InternetMode.h"
#include "InternetRequests.h"
#include "ManualClock.h"
#include "QFTModule.h"
#include "ScratchFolder.h"
#include "VbError.h"

#include <QDir>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

namespace {

struct World {
    World() {
        Clock::install(&clock);
        setAppPathForTesting(dir.path().toStdString() + "/");
        QDir(dir.path()).mkdir("Original_levels");
    }
    std::string path(const std::string& name) const {
        return dir.path().toStdString() + "/" + name;
    }

    ScriptedDialogs& dialogs = FuzzHarness::instance().dialogs;
    ManualClock clock;
    QTemporaryDir dir{scratchFolder("table_fuzz")};
};

World& world() {
    static World* w = new World;
    return *w;
}

HiscoreTable localTable() {
    HiscoreTable t = defaultHiscores();
    t[0] = {8888, "LOCAL", 2};
    return t;
}

} // namespace

// Any reply of the hiscore server: a table that reads whole with its checksum is shown as it
// is, silently; anything else is said, and leaves internet mode off with the local table (or,
// for a failed checksum, on with the defaults). The downloaded file is the only file left.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    World& w = world();
    const std::string reply(reinterpret_cast<const char*>(data), size);
    w.dialogs.clear();
    std::filesystem::remove(w.path("Original_levels/~idata.hsc"));

    // One window's state for every input: making it costs more than the rest.
    static GameForm& form = *new GameForm;
    form.LevelSet.BinaryLevels = VbTrue;
    form.LevelSet.CurrentLevelFile = w.path("Original_levels/data.dat");
    form.LevelSet.seams.internetMode = [&] { return form.mnuUseInternetHiscore.Checked; };
    form.LevelSet.Hiscores = localTable();
    require(form.LevelSet.WriteHiscores());
    InfoModel info;
    InternetMode internet(form, info);
    // NOLINTNEXTLINE(performance-no-automatic-move): each call returns its own copy
    internet.openUrl = [&](const std::string&) { return reply; };
    form.mnuUseInternetHiscore.Checked = true;
    internet.DownloadInternetHiscores();

    bool valid = !reply.empty() && !containsNoCase(reply, "<html");
    DecodedHiscores decoded;
    if (valid) {
        try {
            decoded = decodeHiscoreFile(reply, true);
            valid = decoded.ChecksumOk;
        } catch (const VbError&) {
            valid = false;
        }
    }
    if (valid) {
        require(form.mnuUseInternetHiscore.Checked);
        require(form.LevelSet.Hiscores == decoded.Table);
        require(w.dialogs.calls().empty());
    } else {
        require(!w.dialogs.calls().empty());
        // Off with the local table, or (a table whose checksum fails) on with the defaults.
        require(form.LevelSet.Hiscores ==
                (form.mnuUseInternetHiscore.Checked ? defaultHiscores() : localTable()));
    }
    require(!info.loaded());
    for (const auto& e : std::filesystem::directory_iterator(w.path("Original_levels"))) {
        const std::string n = e.path().filename().string();
        require(n == "data.hsc" || n == "~idata.hsc");
    }
    return 0;
}
