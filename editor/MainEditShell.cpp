// The editor window's start-up, its File menu, the test launch and the close prompt.
#include "Color.h"
#include "DialogService.h"
#include "EditorDrawing.h"
#include "FileDialogService.h"
#include "MainEditModel.h"
#include "QFTModule.h"
#include "TextCase.h"
#include "VbError.h"

#include <algorithm>
#include <cctype>

namespace editorui {
const char* const dropsCaptions[dropsItems] = {"NOTHING!",
                                               "Heavy Missile",
                                               "TV (mirror controls)",
                                               "Bouncing Swirl Missiles",
                                               "Bombs",
                                               "Mega Canon",
                                               "Wave Missiles",
                                               "2 Canons",
                                               "Ship Shield (random seconds)",
                                               "Freeze Aliens (random seconds)",
                                               "Extra live"};
const char* const binaryModePassword = "tamblor";
} // namespace editorui

namespace {

const char* const levelFilter = "*.dat|*.dat|*.*|*.*";
const char* const reservedMessage = "This function is reserved for Quillfen only!";

std::string twoDigits(int n) {
    std::string s = std::to_string(n);
    if (s.size() < 2) {
        s.insert(s.begin(), '0');
    }
    return s;
}

} // namespace

MainEditModel::MainEditModel(Clock& clock) : Timer1(clock), FadeTimer(clock), clock_(clock) {
    launchGame = startDetachedProgram;
    // The placement area keeps the play field's size whatever guide picture it shows.
    Pane.setAutoSize(false);
    Pane.setBackColor(0);
    Pane2.setBackColor(0);
    STAT.setBackColor(0);
    STAT.setForeColor(color::rgb(255, 255, 0));
    Picture1.setBackColor(0);
    Picture1.setForeColor(color::rgb(0, 255, 0));
    Mz.resize(1);
    mnuSetHitsChecked[0] = true;
    mnuSetDropsChecked[0] = true;
    Timer1.onTick = [this] { Timer1_Timer(); };
    Timer1.setInterval(50);
    Timer1.setEnabled(true);
    FadeTimer.onTick = [this] { FadeTimer_Timer(); };
    FadeTimer.setInterval(30);
}

MainEditModel::~MainEditModel() = default;

bool MainEditModel::Form_Load() {
    try {
        Reloading = VbTrue;
        DropFrameHidden = VbTrue;
        Saved = VbTrue;
        SnapToGrid = VbTrue;

        cmbGrdIndex = 7;
        GridSize = 10;

        mnuSetTypeChecked.fill(false);
        mnuSetHitsChecked.fill(false);
        mnuSetHitsChecked[0] = true;
        mnuSetDropsChecked.fill(false);
        mnuSetDropsChecked[0] = true;

        LastAlien = -1;
        PaletteFader = std::make_unique<ColorFader>();
        PaletteFader->setStartColor(color::rgb(150, 150, 150));
        PaletteFader->setEndColor(0xFFFFFF);
        PaletteFader->setSteps(20);
        PaletteFader->setPingPong(VbTrue);
        FadeTimer.setEnabled(true);

        EditLevels.assign(1, emptyEditLevel(1));
        CurLevel = 0;

        VbInteger step = GridSize;
        VbLong white = 0xFFFFFF;
        DrawGrid(Pane, step, white);

        buildPalette();

        SpeedIndex = 0;
        Speed_Click();

        std::string path = CommandLine;
        path.erase(std::remove(path.begin(), path.end(), '"'), path.end());
        bool loaded = false;
        if (!path.empty() && FileExists(path)) {
            loaded = LoadLevels(path);
        }
        if (!loaded) {
            // The name box and the speed list show the fresh level from the start.
            ReloadPane();
        }
        Reloading = VbFalse;
        return true;
    } catch (const VbError& e) {
        FadeTimer.setEnabled(false);
        Timer1.setEnabled(false);
        MsgBox(e.Description() + "\r\ncode:" + std::to_string(e.Number()), mb::Critical);
        return false;
    }
}

void MainEditModel::buildPalette() {
    Monster.clear();
    CurMonster.clear();
    for (int i = 0; i < editorui::alienKinds; ++i) {
        const std::string path = AppPath() + "gfx/hi_color/monster" + twoDigits(2 * i) + ".bmp";
        auto bitmap = std::make_unique<Surface>();
        bitmap->LoadPicture(path); // the error names the picture
        Monster.push_back(std::move(bitmap));
    }
    int y = 30;
    for (int i = 0; i < editorui::alienKinds; ++i) {
        const Surface& m = *Monster[i];
        const int w = m.Width();
        const int h = m.Height() / 2;
        PaletteItem item;
        item.Picture = std::make_unique<Surface>(w, h);
        item.Picture->setAutoSize(false);
        item.Picture->setBackColor(0);
        // The mask turns the alien's shape white on black; the picture then shows in it.
        BitBlt(*item.Picture, 0, 0, w, h, m, 0, h, rop::MERGEPAINT);
        BitBlt(*item.Picture, 0, 0, w, h, m, 0, 0, rop::SRCAND);
        item.Left = Pane2.ScaleWidth() / 2 - w / 2 + 20;
        item.Top = y;
        item.Visible = true;
        y += h + 16;
        CurMonster.push_back(std::move(item));
    }
}

void MainEditModel::Form_Unload(int& Cancel) {
    if (!Saved) {
        const int answer =
            MsgBox("Save changes before quitting?", mb::YesNoCancel + mb::Exclamation, "SAVE?");
        if (answer == mb::Yes) {
            mnuSave_Click();
            if (!Saved) {
                Cancel = 1;
                return;
            }
        } else if (answer != mb::No) {
            Cancel = 1;
            return;
        }
    }
    Timer1.setEnabled(false);
    FadeTimer.setEnabled(false);
    testCopies.removeEnded(false);
}

bool MainEditModel::LoadLevels(const std::string& FileName) {
    if (!EditorLevelFiles::LoadLevels(FileName)) {
        return false;
    }
    ReloadPane();
    return true;
}

bool MainEditModel::LoadLevelsBinary(const std::string& FileName) {
    if (!EditorLevelFiles::LoadLevelsBinary(FileName)) {
        return false;
    }
    ReloadPane();
    return true;
}

void MainEditModel::openWith(const std::string& initialDir, bool binary) {
    if (!Saved) {
        const int answer =
            MsgBox("Save before you load a new?", mb::YesNoCancel + mb::Exclamation, "Save?");
        if (answer == mb::Yes) {
            // A set with a file keeps its encoding; a new one is saved as the command at hand.
            if (binary && LevelFileName.empty()) {
                mnuSaveBinary_Click();
            } else {
                mnuSave_Click();
            }
            if (!Saved) {
                return;
            }
        } else if (answer != mb::No) {
            return;
        }
    }
    const std::string path =
        ShowFileDialog(levelFilter, ownerWindow, initialDir, "Open level", 0, false);
    if (path.empty()) {
        return;
    }
    Reloading = VbTrue;
    if (binary) {
        LoadLevelsBinary(path);
    } else {
        LoadLevels(path);
    }
    Reloading = VbFalse;
}

void MainEditModel::mnuOpen_Click() {
    openWith(AppPath() + "custom_levels", false);
}

void MainEditModel::mnuOpenBinary_Click() {
    if (!BinaryMode) {
        MsgBox(reservedMessage, mb::Exclamation);
        return;
    }
    openWith(AppPath(), true);
}

void MainEditModel::mnuSave_Click() {
    if (LevelFileName.empty()) {
        mnuSaveAs_Click();
    } else if (LevelFileEncoding == LevelEncoding::Binary) {
        // Text would turn the set into one the game's binary reader refuses.
        SaveLevelsBinary(LevelFileName);
    } else {
        SaveLevels(LevelFileName);
    }
}

void MainEditModel::saveAsWith(const std::string& initialDir, bool binary) {
    std::string name = ShowFileDialog(levelFilter, ownerWindow, initialDir, "Save as", 0, true);
    if (name.empty()) {
        return;
    }
    if (!endsWithNoCase(name, ".dat")) {
        name += ".dat";
    }
    if (FileExists(name)) {
        if (MsgBox("\"" + name + "\"\r\nAlready exists, do you want to overwrite?",
                   mb::OKCancel + mb::Exclamation, "OVERWRITE?") == mb::Cancel) {
            return;
        }
    }
    if (binary) {
        SaveLevelsBinary(name);
    } else {
        SaveLevels(name);
    }
}

void MainEditModel::mnuSaveAs_Click() {
    saveAsWith(AppPath() + "custom_levels", false);
}

void MainEditModel::mnuSaveBinary_Click() {
    if (!BinaryMode) {
        MsgBox(reservedMessage, mb::Exclamation);
        return;
    }
    if (LevelFileName.empty()) {
        mnuSaveBinaryAs_Click();
    } else {
        SaveLevelsBinary(LevelFileName);
    }
}

void MainEditModel::mnuSaveBinaryAs_Click() {
    if (!BinaryMode) {
        MsgBox(reservedMessage, mb::Exclamation);
        return;
    }
    saveAsWith(AppPath(), true);
}

void MainEditModel::mnuSetBinaryMode_Click() {
    if (InputBox("Enter password for binary mode:", "Password", "") !=
        editorui::binaryModePassword) {
        return;
    }
    BinaryMode = VbTrue;
    Caption += " [BINARY MODE ENABLED]";
    BinaryMenusVisible = true;
}

void MainEditModel::mnuLoadPic_Click() {
    const std::string path = ShowFileDialog("Picture files|*.bmp;*.ico;*.wmf;*.gif;*.jpg",
                                            ownerWindow, AppPath(), "Guide picture", 0, false);
    if (path.empty() || !FileExists(path)) {
        return;
    }
    try {
        gPic.LoadPicture(path, PictureFormats::UserPicked);
    } catch (const VbError& e) {
        MsgBox(e.Description() + "\r\n\r\nCode:" + std::to_string(e.Number()));
        return;
    }
    if (gPic.hasPicture()) {
        mnuGuidPicChecked = false;
        mnuGuidPic_Click();
    }
}

void MainEditModel::mnuGuidPic_Click() {
    mnuGuidPicChecked = !mnuGuidPicChecked;
    if (mnuGuidPicChecked) {
        if (gPic.hasPicture()) {
            Pane.setPicture(gPic.Picture());
        } else {
            MsgBox("Please load a picture first !", mb::Exclamation);
        }
    } else {
        Pane.clearPicture();
    }
}

void MainEditModel::mnuAbout_Click() {
    MsgBox("vantedit, the Vantorix level editor\r\n\r\nMade by Quillfen\r\n\r\n"
           "Written by the Quillfen Vantorix team",
           mb::Information);
}

void MainEditModel::mnuExit_Click() {
    if (closeWindow) {
        closeWindow();
        return;
    }
    int cancel = 0;
    Form_Unload(cancel);
    Closed = cancel == 0;
}

void MainEditModel::mnuTestLevel_Click() {
    if (LevelFileName.empty()) {
        MsgBox("Please load or save a levelfile first!", mb::Exclamation);
        return;
    }
    if (!Saved) {
        MsgBox("Please save first !", mb::Information);
        return;
    }
    // The editor stays open either way; a game that could not start is said so.
    const std::string program = AppPath() + "vantor";
    const std::string cannotStart = "Unable to start the game:\r\n";
    if (!FileExists(program) || !launchGame) {
        MsgBox(cannotStart + program, mb::Exclamation);
        return;
    }
    // The game reads text only, and not every path survives its command line: it plays a
    // text copy of the levels shown here.
    testCopies.removeEnded(true);
    std::string copy;
    try {
        copy = testCopies.create(EditLevels, LevelFileName);
    } catch (const VbError& e) {
        MsgBox(cannotStart + e.Description(), mb::Exclamation);
        return;
    }
    const std::vector<std::string> arguments = {
        "-loadlevels{" + copy + "}", "-startfromlevel{" + std::to_string(CurLevel + 1) + "}"};
    const std::optional<std::int64_t> pid = launchGame(program, arguments);
    if (!pid) {
        testCopies.discard(copy);
        MsgBox(cannotStart + program, mb::Exclamation);
        return;
    }
    testCopies.started(copy, *pid);
}
