#include "EditorFixture.h"
#include "HostileFiles.h"
#include "LevelFileFormat.h"

namespace {

const std::string twoLevels = "l:One\r\ns:3\r\n1\r\n2,10,20,1,-1,1,300\r\n"
                              "l:Two\r\ns:4\r\n1\r\n-1,0,0,0,0,0,0\r\n";
const std::string levelFilter("*.dat\0*.dat\0*.*\0*.*", 19);

using EditorShell = EditorFixture;

std::vector<EditLevelRec> namedLevels(std::initializer_list<const char*> names) {
    std::vector<EditLevelRec> out;
    for (const char* n : names) {
        EditLevelRec level = emptyEditLevel(1);
        level.Name = n;
        out.push_back(level);
    }
    return out;
}

// The set that "-loadlevels{...}" hands the game, or "" when the argument is not there.
std::string loadLevelsArgument(const std::vector<std::string>& arguments) {
    const std::string key = "-loadlevels{";
    if (arguments.empty() || arguments[0].rfind(key, 0) != 0 || arguments[0].back() != '}') {
        return {};
    }
    return arguments[0].substr(key.size(), arguments[0].size() - key.size() - 1);
}

// Loads as the open commands do, so the set counts as saved.
bool openSet(MainEditModel& model, const std::string& file, bool binary) {
    model.Reloading = VbTrue;
    const bool ok = binary ? model.LoadLevelsBinary(file) : model.LoadLevels(file);
    model.Reloading = VbFalse;
    return ok;
}

} // namespace

TEST_F(EditorShell, StartShowsOneEmptyLevelAndMissingPicturesEndTheProgram) {
    start();
    EXPECT_EQ(model->Caption, "Vantorix EDITOR");
    ASSERT_EQ(model->EditLevels.size(), 1u);
    EXPECT_EQ(model->EditLevels[0].Name, "Level 1");
    EXPECT_EQ(model->Text1, "Level 1");
    EXPECT_EQ(model->SpeedIndex, 0);
    EXPECT_EQ(model->cmbGrdIndex, 7);
    EXPECT_EQ(model->GridSize, 10);
    EXPECT_EQ(model->LastAlien, -1);
    EXPECT_FALSE(model->Mz[0].Visible);
    EXPECT_EQ(model->Saved, VbTrue);
    EXPECT_FALSE(model->BinaryMenusVisible);
    // Palette items: the picture's upper half, stacked from y 30 with 16 pixels between.
    ASSERT_EQ(model->CurMonster.size(), 11u);
    EXPECT_EQ(model->CurMonster[0].Height(), 18);
    EXPECT_EQ(model->CurMonster[1].Top, 30 + 18 + 16);
    EXPECT_EQ(model->CurMonster[8].Width(), 32);
    EXPECT_EQ(model->CurMonster[0].Left, 100 / 2 - 24 / 2 + 20);
    // Drawn through the mask: black around the shape, the picture's colour inside.
    const Surface& item = *model->CurMonster[3].Picture;
    EXPECT_EQ(item.Point(0, 0), 0);
    EXPECT_EQ(item.Point(5, 5), color::rgb(200, 46, 40));

    MainEditModel broken(clock);
    std::filesystem::remove(app + "gfx/hi_color/monster06.bmp");
    EXPECT_FALSE(broken.Form_Load());
    ASSERT_EQ(dialogs.calls().size(), 1u);
    EXPECT_EQ(dialogs.calls()[0].prompt,
              "File not found: \"" + app + "gfx/hi_color/monster06.bmp\"\r\ncode:53");
    EXPECT_EQ(dialogs.calls()[0].style, mb::Critical);
}

TEST_F(EditorShell, CommandLineOpensAQuotedTextFileAndIgnoresAMissingOne) {
    put(path("my set.dat"), twoLevels);
    start("\"" + path("my set.dat") + "\"");
    ASSERT_EQ(model->EditLevels.size(), 2u);
    EXPECT_EQ(model->LevelFileName, path("my set.dat"));
    EXPECT_EQ(model->Text1, "One");
    EXPECT_EQ(model->LastAlien, 0);
    EXPECT_TRUE(model->Mz[0].Visible);
    EXPECT_EQ(model->Mz[0].Left, 10);
    EXPECT_EQ(model->Saved, VbTrue);

    auto fresh = std::make_unique<MainEditModel>(clock);
    fresh->CommandLine = path("missing.dat");
    ASSERT_TRUE(fresh->Form_Load());
    EXPECT_EQ(fresh->EditLevels.size(), 1u);
    EXPECT_EQ(fresh->EditLevels[0].Name, "Level 1");
    EXPECT_TRUE(fresh->LevelFileName.empty());
}

// The command line is one file name, whatever switch words of the game, braces or blanks it
// holds; the editor opens that file and nothing else.
TEST_F(EditorShell, CommandLineIsOnlyAFileName) {
    struct Case {
        const char* folder;
        const char* name;
        bool quoted;
    };
    for (const Case& c : {
             Case{"custom_levels/", "-resethi.dat", false},
             Case{"my -window sets/", "a -loadlevels{x} -startfromlevel{3} set.dat", true},
             Case{"{-nosfx/", "-musicfile{m quintarflox}} -wobblefrumpy{.dat", false},
         }) {
        SCOPED_TRACE(std::string(c.folder) + c.name);
        std::filesystem::create_directories(path(c.folder));
        const std::string file = path(c.folder) + c.name;
        put(file, twoLevels);
        MainEditModel fresh(clock);
        fresh.CommandLine = c.quoted ? "\"" + file + "\"" : file;
        ASSERT_TRUE(fresh.Form_Load());
        EXPECT_EQ(fresh.LevelFileName, file);
        ASSERT_EQ(fresh.EditLevels.size(), 2u);
        EXPECT_EQ(fresh.Text1, "One");
        EXPECT_EQ(fresh.Saved, VbTrue);
    }
}

TEST_F(EditorShell, OpenAsksToSaveUnsavedChangesFirst) {
    put(path("custom_levels/a.dat"), twoLevels);
    start();
    model->Text1 = "Edited";
    model->Text1_Change();
    ASSERT_EQ(model->Saved, VbFalse);

    // Cancel: no dialog at all.
    dialogs.answer(mb::Cancel);
    model->mnuOpen_Click();
    EXPECT_TRUE(files.calls().empty());
    ASSERT_EQ(dialogs.calls().size(), 1u);
    EXPECT_EQ(dialogs.calls()[0].prompt, "Save before you load a new?");
    EXPECT_EQ(dialogs.calls()[0].title, "Save?");
    EXPECT_EQ(dialogs.calls()[0].style, mb::YesNoCancel + mb::Exclamation);

    // Yes, then the save dialog is cancelled: nothing is opened.
    dialogs.answer(mb::Yes);
    model->mnuOpen_Click();
    ASSERT_EQ(files.calls().size(), 1u);
    EXPECT_TRUE(files.calls()[0].saveDialog);
    EXPECT_EQ(model->EditLevels[0].Name, "Edited");

    // No: the open dialog, then the file.
    dialogs.answer(mb::No);
    files.answer("  " + path("custom_levels/a.dat") + "  ");
    model->mnuOpen_Click();
    ASSERT_EQ(files.calls().size(), 2u);
    EXPECT_EQ(files.calls()[1].filter, levelFilter);
    EXPECT_EQ(files.calls()[1].initialDir, app + "custom_levels");
    EXPECT_EQ(files.calls()[1].title, "Open level");
    EXPECT_FALSE(files.calls()[1].saveDialog);
    EXPECT_EQ(model->EditLevels.size(), 2u);
    EXPECT_EQ(model->Text1, "One");
    EXPECT_EQ(model->Saved, VbTrue);
    EXPECT_EQ(model->Reloading, VbFalse);
}

TEST_F(EditorShell, SaveAsAppendsTheExtensionAndAsksBeforeOverwriting) {
    start();
    files.answer(path("custom_levels/new"));
    model->mnuSaveAs_Click();
    EXPECT_TRUE(FileExists(path("custom_levels/new.dat")));
    EXPECT_EQ(model->LevelFileName, path("custom_levels/new.dat"));
    EXPECT_EQ(files.calls()[0].title, "Save as");
    EXPECT_EQ(files.calls()[0].initialDir, app + "custom_levels");
    EXPECT_TRUE(dialogs.calls().empty());

    // A name ending in .DAT gets nothing appended; the existing file asks first.
    put(path("custom_levels/old.DAT"), "keep");
    files.answer(path("custom_levels/old.DAT"));
    dialogs.answer(mb::Cancel);
    model->mnuSaveAs_Click();
    ASSERT_EQ(dialogs.calls().size(), 1u);
    EXPECT_EQ(dialogs.calls()[0].prompt, "\"" + path("custom_levels/old.DAT") +
                                             "\"\r\nAlready exists, do you want to overwrite?");
    EXPECT_EQ(dialogs.calls()[0].title, "OVERWRITE?");
    EXPECT_EQ(dialogs.calls()[0].style, mb::OKCancel + mb::Exclamation);
    EXPECT_EQ(readFileBytes(path("custom_levels/old.DAT")), "keep");

    files.answer(path("custom_levels/old.DAT"));
    dialogs.answer(mb::OK);
    model->mnuSaveAs_Click();
    EXPECT_EQ(readFileBytes(path("custom_levels/old.DAT")),
              "l:Level 1\r\ns:1\r\n1\r\n-1,0,0,0,0,0,0\r\n");
    EXPECT_FALSE(FileExists(path("custom_levels/old.DAT.dat")));

    // Save writes the text encoding to the last file; a cancelled dialog writes nothing.
    model->Text1 = "Renamed";
    model->Text1_Change();
    model->mnuSave_Click();
    EXPECT_EQ(model->Saved, VbTrue);
    EXPECT_EQ(readFileBytes(path("custom_levels/old.DAT")).substr(0, 11), "l:Renamed\r\n");
}

TEST_F(EditorShell, BinaryCommandsWaitForThePassword) {
    start();
    model->mnuOpenBinary_Click();
    model->mnuSaveBinary_Click();
    model->mnuSaveBinaryAs_Click();
    EXPECT_EQ(prompts(),
              std::vector<std::string>(3, "This function is reserved for Quillfen only!"));
    EXPECT_EQ(dialogs.calls()[0].style, mb::Exclamation);
    EXPECT_TRUE(files.calls().empty());
    dialogs.clear();

    for (const char* wrong : {"Tamblor", "tamblor ", ""}) {
        dialogs.answerInput(wrong);
        model->mnuSetBinaryMode_Click();
    }
    EXPECT_EQ(model->BinaryMode, VbFalse);
    EXPECT_EQ(model->Caption, "Vantorix EDITOR");
    ASSERT_EQ(dialogs.calls().size(), 3u); // the input boxes, nothing else
    EXPECT_TRUE(dialogs.calls()[0].input);
    EXPECT_EQ(dialogs.calls()[0].prompt, "Enter password for binary mode:");
    EXPECT_EQ(dialogs.calls()[0].title, "Password");

    dialogs.answerInput("tamblor");
    model->mnuSetBinaryMode_Click();
    EXPECT_EQ(model->BinaryMode, VbTrue);
    EXPECT_TRUE(model->BinaryMenusVisible);
    EXPECT_EQ(model->Caption, "Vantorix EDITOR [BINARY MODE ENABLED]");
    dialogs.answerInput("tamblor");
    model->mnuSetBinaryMode_Click();
    EXPECT_EQ(model->Caption, "Vantorix EDITOR [BINARY MODE ENABLED] [BINARY MODE ENABLED]");

    // Save binary with no file yet asks where, in the program folder.
    files.answer(path("set"));
    model->mnuSaveBinary_Click();
    EXPECT_EQ(files.calls().back().initialDir, app);
    EXPECT_EQ(readFileBytes(path("set.dat")).size(), 128u * 10);
    model->EditLevels[0].Name = "Changed";
    files.answer(path("set.dat"));
    dialogs.answer(mb::OK);
    model->mnuOpenBinary_Click();
    EXPECT_EQ(files.calls().back().initialDir, app);
    EXPECT_EQ(model->EditLevels[0].Name, "Level 1");
    EXPECT_EQ(model->LevelFileName, path("set.dat"));
}

TEST_F(EditorShell, TestLevelStartsTheGameOnTheShownLevelOfASavedFile) {
    start();
    model->mnuTestLevel_Click();
    EXPECT_EQ(prompts(), std::vector<std::string>{"Please load or save a levelfile first!"});
    EXPECT_EQ(dialogs.calls()[0].style, mb::Exclamation);
    dialogs.clear();

    std::string text;
    for (int i = 1; i <= 3; ++i) {
        text += "l:L" + std::to_string(i) + "\r\ns:2\r\n1\r\n0,10,10,1,-1,1,100\r\n";
    }
    put(path("custom_levels/three levels.dat"), text);
    ASSERT_TRUE(model->LoadLevels(path("custom_levels/three levels.dat")));
    model->Command1_Click(0);
    model->Command1_Click(0);
    model->Text1 = "Edited";
    model->Text1_Change();
    model->mnuTestLevel_Click();
    EXPECT_EQ(prompts(), std::vector<std::string>{"Please save first !"});
    EXPECT_EQ(dialogs.calls()[0].style, mb::Information);
    EXPECT_TRUE(launches.empty());
    dialogs.clear();

    model->mnuSave_Click();
    // The game program is missing: said so, nothing started.
    model->mnuTestLevel_Click();
    EXPECT_EQ(prompts(),
              std::vector<std::string>{"Unable to start the game:\r\n" + app + "vantor"});
    EXPECT_TRUE(launches.empty());
    dialogs.clear();

    put(app + "vantor", "#!/bin/sh\n");
    model->mnuTestLevel_Click();
    ASSERT_EQ(launches.size(), 1u);
    EXPECT_EQ(launches[0].program, app + "vantor");
    // The game plays a copy of the set, named as the set.
    const std::string copy = loadLevelsArgument(launches[0].arguments);
    EXPECT_EQ(std::filesystem::path(copy).filename(), "three levels.dat");
    EXPECT_EQ(readFileBytes(copy), readFileBytes(path("custom_levels/three levels.dat")));
    EXPECT_EQ(launches[0].arguments[1], "-startfromlevel{3}");
    EXPECT_TRUE(dialogs.calls().empty());

    launchResult = false;
    model->mnuTestLevel_Click();
    EXPECT_EQ(prompts(),
              std::vector<std::string>{"Unable to start the game:\r\n" + app + "vantor"});
}

TEST_F(EditorShell, QuittingWithUnsavedChangesAsks) {
    start();
    int cancel = 0;
    model->Form_Unload(cancel);
    EXPECT_EQ(cancel, 0);
    EXPECT_TRUE(dialogs.calls().empty());

    model->Text1 = "Edited";
    model->Text1_Change();
    struct Case {
        int answer;
        const char* savePath; // what the save dialog answers
        int cancel;
    };
    for (const Case& c :
         {Case{mb::Cancel, nullptr, 1}, Case{mb::Yes, nullptr, 1}, Case{mb::No, nullptr, 0}}) {
        dialogs.clear();
        dialogs.answer(c.answer);
        cancel = 0;
        model->Form_Unload(cancel);
        EXPECT_EQ(cancel, c.cancel) << c.answer;
        ASSERT_FALSE(dialogs.calls().empty());
        EXPECT_EQ(dialogs.calls()[0].prompt, "Save changes before quitting?");
        EXPECT_EQ(dialogs.calls()[0].title, "SAVE?");
        EXPECT_EQ(dialogs.calls()[0].style, mb::YesNoCancel + mb::Exclamation);
    }

    // Yes with a file saves it and closes; Exit runs the same prompt.
    dialogs.clear();
    dialogs.answer(mb::Yes);
    files.answer(path("quit.dat"));
    model->mnuExit_Click();
    EXPECT_TRUE(model->Closed);
    EXPECT_TRUE(FileExists(path("quit.dat")));
    EXPECT_EQ(model->Saved, VbTrue);
}

TEST_F(EditorShell, GuidePictureNeedsAPictureFirst) {
    start();
    model->mnuGuidPic_Click();
    EXPECT_TRUE(model->mnuGuidPicChecked);
    EXPECT_EQ(prompts(), std::vector<std::string>{"Please load a picture first !"});
    EXPECT_EQ(dialogs.calls()[0].style, mb::Exclamation);
    model->mnuGuidPic_Click();
    EXPECT_FALSE(model->mnuGuidPicChecked);
    EXPECT_FALSE(model->Pane.hasPicture());

    QImage guide(600, 100, QImage::Format_RGB32);
    guide.fill(qRgb(0, 0, 255));
    guide.save(QString::fromStdString(path("guide.bmp")), "BMP");
    files.answer(path("guide.bmp"));
    model->mnuLoadPic_Click();
    EXPECT_EQ(files.calls()[0].filter,
              std::string("Picture files\0*.bmp;*.ico;*.wmf;*.gif;*.jpg", 43));
    EXPECT_EQ(files.calls()[0].title, "Guide picture");
    EXPECT_TRUE(model->mnuGuidPicChecked);
    ASSERT_TRUE(model->Pane.hasPicture());
    // The pane keeps its size; the picture is its background under every redraw.
    model->FadeTimer_Timer();
    EXPECT_EQ(model->Pane.Width(), 400);
    EXPECT_EQ(model->Pane.Point(5, 55), color::rgb(0, 0, 255));

    // The dialog offers JPEG pictures too, unlike the programs' own pictures.
    guide.fill(qRgb(255, 0, 0));
    guide.save(QString::fromStdString(path("guide.jpg")), "JPEG");
    files.answer(path("guide.jpg"));
    dialogs.clear();
    model->mnuLoadPic_Click();
    EXPECT_TRUE(dialogs.calls().empty());
    model->FadeTimer_Timer();
    const std::int32_t shown = model->Pane.Point(5, 55);
    EXPECT_GT(shown & 0xFF, 200) << std::hex << shown;
    EXPECT_LT(shown >> 16 & 0xFF, 50) << std::hex << shown;

    // A file that is no picture reports the failure and changes nothing.
    put(path("bad.bmp"), "not a picture");
    files.answer(path("bad.bmp"));
    dialogs.clear();
    model->mnuLoadPic_Click();
    ASSERT_EQ(dialogs.calls().size(), 1u);
    EXPECT_NE(dialogs.calls()[0].prompt.find("\r\n\r\nCode:"), std::string::npos);
    EXPECT_TRUE(model->mnuGuidPicChecked);
}

TEST_F(EditorShell, EverySaveKeepsTheEncodingTheSetWasOpenedOrLastSavedIn) {
    start();
    dialogs.answerInput("tamblor");
    model->mnuSetBinaryMode_Click();

    // How the set reached its file, and in which encoding that file is.
    struct Source {
        const char* what;
        bool openedBinary;
        const char* saveAs; // nullptr, "text" or "binary": a Save as to a second file after
        LevelEncoding expected;
    };
    // The saves: the menu's, and the ones the prompts offer.
    enum class Route { Save, QuitPrompt, OpenPrompt, OpenBinaryPrompt };
    const Source sources[] = {
        {"opened binary", true, nullptr, LevelEncoding::Binary},
        {"opened text", false, nullptr, LevelEncoding::Text},
        {"opened text, saved binary as", false, "binary", LevelEncoding::Binary},
        {"opened binary, saved as", true, "text", LevelEncoding::Text},
    };
    const std::pair<Route, const char*> routes[] = {
        {Route::Save, "Save..."},
        {Route::QuitPrompt, "Save changes before quitting?"},
        {Route::OpenPrompt, "Save before you load a new?"},
        {Route::OpenBinaryPrompt, "Save before you load a new? (binary)"},
    };
    const std::vector<EditLevelRec> set = {emptyEditLevel(1), emptyEditLevel(2)};
    for (const Source& source : sources) {
        for (const auto& [route, routeName] : routes) {
            SCOPED_TRACE(std::string(source.what) + " / " + routeName);
            dialogs.clear();
            const std::string first = path("first.dat");
            put(first, source.openedBinary ? encodeLevelsBinary(set) : encodeLevelsText(set));
            files.answer(first);
            if (source.openedBinary) {
                model->mnuOpenBinary_Click();
            } else {
                model->mnuOpen_Click();
            }
            ASSERT_EQ(model->LevelFileName, first);
            std::string target = first;
            if (source.saveAs) {
                target = path("second.dat");
                std::filesystem::remove(target);
                files.answer(target);
                if (std::string(source.saveAs) == "binary") {
                    model->mnuSaveBinaryAs_Click();
                } else {
                    model->mnuSaveAs_Click();
                }
                ASSERT_EQ(model->LevelFileName, target);
            }
            model->Text1 = "Edited";
            model->Text1_Change();
            ASSERT_EQ(model->Saved, VbFalse);

            int cancel = 0;
            switch (route) {
            case Route::Save:
                model->mnuSave_Click();
                break;
            case Route::QuitPrompt:
                dialogs.answer(mb::Yes);
                model->Form_Unload(cancel);
                break;
            case Route::OpenPrompt:
            case Route::OpenBinaryPrompt:
                dialogs.answer(mb::Yes);
                files.answer(""); // the open dialog is cancelled after the save
                if (route == Route::OpenPrompt) {
                    model->mnuOpen_Click();
                } else {
                    model->mnuOpenBinary_Click();
                }
                break;
            }
            EXPECT_EQ(cancel, 0);
            EXPECT_EQ(model->Saved, VbTrue);
            EXPECT_EQ(model->LevelFileName, target);
            const std::string written = readFileBytes(target);
            const bool binary = source.expected == LevelEncoding::Binary;
            EXPECT_EQ(written, binary ? encodeLevelsBinary(model->EditLevels)
                                      : encodeLevelsText(model->EditLevels));
            // The game reads it back with the reader it uses for a set of that encoding.
            const LevelReadResult game =
                parseLevelFile(written, binary ? ReaderKind::GameBinary : ReaderKind::GameText);
            EXPECT_TRUE(game.ok);
            EXPECT_EQ(game.Levels.size(), 2u);
            if (!game.Levels.empty()) {
                EXPECT_EQ(game.Levels[0].Name, "Edited");
            }
        }
    }

    // A set that has no file yet is saved as the command at hand offers.
    auto fresh = std::make_unique<MainEditModel>(clock);
    fresh->CommandLine = "";
    ASSERT_TRUE(fresh->Form_Load());
    fresh->BinaryMode = VbTrue;
    fresh->Text1 = "New";
    fresh->Text1_Change();
    dialogs.clear();
    dialogs.answer(mb::Yes);
    files.answer(path("new set"));
    files.answer("");
    fresh->mnuOpenBinary_Click();
    EXPECT_EQ(files.calls()[files.calls().size() - 2].initialDir, app);
    EXPECT_EQ(readFileBytes(path("new set.dat")), encodeLevelsBinary(fresh->EditLevels));
}

TEST_F(EditorShell, TestLevelHandsTheGameATextCopyOfTheShownLevels) {
    start();
    put(app + "vantor", "#!/bin/sh\n");
    const std::vector<EditLevelRec> set = namedLevels({"First", "Second", "Third"});
    struct Case {
        const char* file;
        bool binary;
        const char* copyName; // the copy's last name
    };
    for (const Case& c : {
             Case{"custom_levels/three levels.dat", false, "three levels.dat"},
             // The game's text reader refuses the binary encoding.
             Case{"Original_levels/data.dat", true, "data.dat"},
             // The game's "-loadlevels{...}" ends at the first "}".
             Case{"custom_levels/odd}name.dat", false, "levels.dat"},
             Case{"odd}folder/set.dat", true, "set.dat"},
             // The game finds its switches anywhere on its command line.
             Case{"custom_levels/big-window.dat", false, "levels.dat"},
             Case{"custom_levels/-nosfx/set.dat", false, "set.dat"},
         }) {
        SCOPED_TRACE(c.file);
        launches.clear();
        dialogs.clear();
        const std::string file = path(c.file);
        std::filesystem::create_directories(std::filesystem::path(file).parent_path());
        const std::string bytes = c.binary ? encodeLevelsBinary(set) : encodeLevelsText(set);
        put(file, bytes);
        ASSERT_TRUE(openSet(*model, file, c.binary));
        model->Command1_Click(0);

        model->mnuTestLevel_Click();
        EXPECT_TRUE(dialogs.calls().empty());
        ASSERT_EQ(launches.size(), 1u);
        EXPECT_EQ(launches[0].program, app + "vantor");
        ASSERT_EQ(launches[0].arguments.size(), 2u);
        EXPECT_EQ(launches[0].arguments[1], "-startfromlevel{2}");
        const std::string copy = loadLevelsArgument(launches[0].arguments);
        EXPECT_EQ(std::filesystem::path(copy).filename(), c.copyName);
        EXPECT_EQ(std::filesystem::path(copy).parent_path().parent_path(), app + "tmp");
        EXPECT_EQ(copy.find('}'), std::string::npos);
        // The game's text reader gets the levels the editor shows; the set stays as it was.
        const LevelReadResult game = parseLevelFile(readFileBytes(copy), ReaderKind::GameText);
        EXPECT_TRUE(game.ok);
        EXPECT_EQ(game.Levels.size(), 3u);
        if (game.Levels.size() > 1) {
            EXPECT_EQ(game.Levels[1].Name, "Second");
        }
        EXPECT_EQ(readFileBytes(file), bytes);
    }
}

TEST_F(EditorShell, TestLevelCopiesGoOnceTheirGameHasEnded) {
    namespace fs = std::filesystem;
    start();
    put(app + "vantor", "#!/bin/sh\n");
    put(path("custom_levels/set.dat"), encodeLevelsText(namedLevels({"One"})));
    ASSERT_TRUE(openSet(*model, path("custom_levels/set.dat"), false));
    const fs::path tmp = app + "tmp";
    auto launch = [&] {
        launches.clear();
        model->mnuTestLevel_Click();
        return launches.empty() ? fs::path() : fs::path(loadLevelsArgument(launches[0].arguments));
    };

    // What earlier editors left: folders whose game ended, runs, or never started.
    auto leftover = [&](const std::string& name, const char* pid) {
        fs::create_directories(tmp / name);
        put((tmp / name / "set.dat").string(), "l:x\r\n");
        if (pid) {
            put((tmp / name / "game.pid").string(), std::string(pid) + "\n");
        }
        return tmp / name;
    };
    const fs::path endedGame = leftover("vantedit-test-aaaaaa", "900");
    const fs::path runningGame = leftover("vantedit-test-bbbbbb", "901");
    const fs::path oldUnstarted = leftover("vantedit-test-cccccc", nullptr);
    fs::last_write_time(oldUnstarted, fs::file_time_type::clock::now() - std::chrono::hours(2));
    const fs::path freshUnstarted = leftover("vantedit-test-dddddd", nullptr);
    // Anyone may put a folder of that name in the shared temporary folder, and a pipe in it.
    const fs::path planted = leftover("vantedit-test-eeeeee", nullptr);
    hostile::makePipe((planted / "game.pid").string());
    const fs::path notOurs = leftover("someone-else", "900");
    // A link is never followed: what it points at stays.
    const fs::path outside = leftover("outside", "900");
    fs::create_directory_symlink(outside, tmp / "vantedit-test-link");
    runningGames = {901};

    fs::path first;
    {
        const hostile::PipeWatch watch((planted / "game.pid").string());
        first = launch();
        EXPECT_FALSE(watch.needed()) << "the sweep waited on the planted pipe";
    }
    ASSERT_TRUE(fs::exists(first));
    EXPECT_EQ(readFileBytes((first.parent_path() / "game.pid").string()), "101\n");
    EXPECT_FALSE(fs::exists(endedGame));
    EXPECT_FALSE(fs::exists(oldUnstarted));
    for (const fs::path& kept :
         {runningGame, freshUnstarted, planted, notOurs, outside / "set.dat"}) {
        EXPECT_TRUE(fs::exists(kept)) << kept;
    }

    // A game that still runs keeps its copy (with the hiscores it wrote beside it).
    put((first.parent_path() / "set.hsc").string(), "scores");
    const fs::path second = launch();
    EXPECT_TRUE(fs::exists(first));
    EXPECT_NE(first.parent_path(), second.parent_path());

    runningGames.erase(101);
    const fs::path third = launch();
    EXPECT_FALSE(fs::exists(first.parent_path()));
    EXPECT_TRUE(fs::exists(second));
    EXPECT_TRUE(fs::exists(third));

    // A game that did not start leaves no copy.
    launchResult = false;
    dialogs.clear();
    const fs::path failed = launch();
    EXPECT_FALSE(fs::exists(failed.parent_path()));
    EXPECT_EQ(prompts(),
              std::vector<std::string>{"Unable to start the game:\r\n" + app + "vantor"});

    // Closing the editor takes the copies whose game has ended; a running game keeps its own.
    runningGames.erase(102);
    int cancel = 0;
    model->Form_Unload(cancel);
    EXPECT_FALSE(fs::exists(second.parent_path()));
    EXPECT_TRUE(fs::exists(third));
}

TEST_F(EditorShell, TestLevelRefusesATemporaryFolderTheGameCannotTake) {
    start();
    put(app + "vantor", "#!/bin/sh\n");
    put(path("custom_levels/set.dat"), encodeLevelsText(namedLevels({"One"})));
    ASSERT_TRUE(openSet(*model, path("custom_levels/set.dat"), false));
    struct Case {
        std::string parent;
        std::string message; // its start
    };
    for (const Case& c : {
             Case{app + "tmp}x", "Unable to start the game:\r\nThe game cannot read levels from "
                                 "this path: " +
                                     app + "tmp}x/vantedit-test-"},
             Case{app + "missing",
                  "Unable to start the game:\r\nUnable to make a folder in " + app + "missing"},
         }) {
        SCOPED_TRACE(c.parent);
        std::filesystem::remove_all(app + "tmp}x");
        QDir(dir.path()).mkpath("tmp}x");
        model->testCopies.parentFolder = c.parent;
        dialogs.clear();
        model->mnuTestLevel_Click();
        EXPECT_TRUE(launches.empty());
        ASSERT_EQ(dialogs.calls().size(), 1u);
        EXPECT_EQ(dialogs.calls()[0].prompt.substr(0, c.message.size()), c.message);
        EXPECT_EQ(dialogs.calls()[0].style, mb::Exclamation);
        EXPECT_TRUE(std::filesystem::is_empty(app + "tmp}x"));
    }
}
