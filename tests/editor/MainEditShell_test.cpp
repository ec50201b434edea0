#include "EditorFixture.h"
#include "LevelFileFormat.h"

namespace {

const std::string twoLevels = "l:One\r\ns:3\r\n1\r\n2,10,20,1,-1,1,300\r\n"
                              "l:Two\r\ns:4\r\n1\r\n-1,0,0,0,0,0,0\r\n";
const std::string levelFilter("*.dat\0*.dat\0*.*\0*.*", 19);

using EditorShell = EditorFixture;

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
    EXPECT_EQ(
        launches[0].arguments,
        (std::vector<std::string>{"-loadlevels{" + path("custom_levels/three levels.dat") + "}",
                                  "-startfromlevel{3}"}));
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

    // A file that is no picture reports the failure and changes nothing.
    put(path("bad.bmp"), "not a picture");
    files.answer(path("bad.bmp"));
    dialogs.clear();
    model->mnuLoadPic_Click();
    ASSERT_EQ(dialogs.calls().size(), 1u);
    EXPECT_NE(dialogs.calls()[0].prompt.find("\r\n\r\nCode:"), std::string::npos);
    EXPECT_TRUE(model->mnuGuidPicChecked);
}
