#include "EditorFixture.h"

namespace {

class EditorLevels : public EditorFixture {
protected:
    // A set of levels named "Level 1".. with the given speeds, each with one alien of kind 0
    // at (10 * n, 20), loaded as from a file.
    void loadLevels(const std::vector<int>& speeds) {
        std::string text;
        for (std::size_t i = 0; i < speeds.size(); ++i) {
            text += "l:Level " + std::to_string(i + 1) + "\r\ns:" + std::to_string(speeds[i]) +
                    "\r\n1\r\n0," + std::to_string(10 * (i + 1)) + ",20,1,-1,1,100\r\n";
        }
        put(path("set.dat"), text);
        ASSERT_TRUE(model->LoadLevels(path("set.dat")));
    }
    std::vector<std::string> names() const {
        std::vector<std::string> out;
        for (const auto& l : model->EditLevels) {
            out.push_back(l.Name);
        }
        return out;
    }
};

} // namespace

TEST_F(EditorLevels, AddAppendsAfterTheLastLevelWithItsSpeedButNotFromAnEmptyLevel) {
    start();
    loadLevels({1, 2, 3, 4, 7});
    model->Command1_Click(0);
    model->mnuAddLevel_Click();
    ASSERT_EQ(model->EditLevels.size(), 6u);
    EXPECT_EQ(model->EditLevels[5].Name, "Level 6");
    EXPECT_EQ(model->EditLevels[5].Speed, 7);
    EXPECT_EQ(model->EditLevels[5].Aliens.size(), 1u);
    EXPECT_EQ(model->EditLevels[5].Aliens[0].Type, -1);
    EXPECT_EQ(model->CurLevel, 5);
    EXPECT_EQ(model->Text1, "Level 6");
    EXPECT_EQ(model->SpeedIndex, 6);
    EXPECT_EQ(model->LastAlien, -1);
    EXPECT_FALSE(model->Mz[0].Visible);
    EXPECT_EQ(model->Saved, VbFalse);

    // The shown level is empty: refused, though the others have aliens.
    model->mnuAddLevel_Click();
    EXPECT_EQ(model->EditLevels.size(), 6u);
    EXPECT_EQ(prompts(), std::vector<std::string>{"Please add one or more creatures!"});
    EXPECT_EQ(dialogs.calls()[0].style, mb::Exclamation);
    EXPECT_EQ(dialogs.calls()[0].title, "vantedit");
}

TEST_F(EditorLevels, DeleteMovesTheLaterLevelsDownAndKeepsTheirNames) {
    start();
    model->mnuDeleteLevel_Click();
    EXPECT_EQ(prompts(), std::vector<std::string>{
                             "You can't remove level 1\r\n\r\nUse Clear level, to clear it!"});
    EXPECT_EQ(dialogs.calls()[0].style, mb::Information);
    dialogs.clear();

    loadLevels({1, 2, 3});
    model->Command1_Click(0);
    dialogs.answer(mb::Cancel);
    model->mnuDeleteLevel_Click();
    EXPECT_EQ(model->EditLevels.size(), 3u);
    EXPECT_EQ(dialogs.calls()[0].prompt, "Are you sure ?");
    EXPECT_EQ(dialogs.calls()[0].title, "DELETE?");
    EXPECT_EQ(dialogs.calls()[0].style, mb::OKCancel + mb::Exclamation);

    model->mnuDeleteLevel_Click();
    EXPECT_EQ(names(), (std::vector<std::string>{"Level 1", "Level 3"}));
    EXPECT_EQ(model->CurLevel, 1);
    EXPECT_EQ(model->Text1, "Level 3");
    EXPECT_EQ(model->Mz[0].Left, 30);
    EXPECT_EQ(model->SpeedIndex, 2);
    EXPECT_EQ(model->Saved, VbFalse);

    // Deleting the last level shows the new last; the first level may go too.
    model->mnuDeleteLevel_Click();
    EXPECT_EQ(names(), std::vector<std::string>{"Level 1"});
    EXPECT_EQ(model->CurLevel, 0);
    loadLevels({1, 2});
    model->mnuDeleteLevel_Click();
    EXPECT_EQ(names(), std::vector<std::string>{"Level 2"});
}

TEST_F(EditorLevels, ClearEmptiesTheLevelAndNamesItByItsPlace) {
    start();
    loadLevels({5, 9});
    model->Command1_Click(0);
    model->Text1 = "Boss";
    model->Text1_Change();
    dialogs.answer(mb::Cancel);
    model->mnuClearLevel_Click();
    EXPECT_EQ(model->LastAlien, 0);

    model->Saved = VbTrue;
    model->mnuClearLevel_Click();
    EXPECT_EQ(dialogs.calls()[1].prompt, "Are you sure ?");
    EXPECT_EQ(dialogs.calls()[1].style, mb::OKCancel + mb::Exclamation);
    const EditLevelRec& l = model->EditLevels[1];
    EXPECT_EQ(l.Name, "Level 2");
    EXPECT_EQ(l.Speed, 1);
    ASSERT_EQ(l.Aliens.size(), 1u);
    EXPECT_EQ(l.Aliens[0].Type, -1);
    EXPECT_EQ(model->LastAlien, -1);
    EXPECT_FALSE(model->Mz[0].Visible);
    EXPECT_EQ(model->Saved, VbFalse);
}

TEST_F(EditorLevels, NavigationShowsEachLevelWithoutClearingSaved) {
    start();
    loadLevels({1, 2});
    model->Command1_Click(1); // PREV. on the first: nothing
    EXPECT_EQ(model->CurLevel, 0);
    model->CurAlien = 0;
    model->Command1_Click(0);
    EXPECT_EQ(model->CurLevel, 1);
    EXPECT_EQ(model->CurAlien, -1);
    EXPECT_EQ(model->Text1, "Level 2");
    EXPECT_EQ(model->Mz[0].Left, 20);
    EXPECT_EQ(model->Saved, VbTrue);
    model->CurAlien = 0;
    model->Command1_Click(0); // NEXT on the last: nothing, not even a reload
    EXPECT_EQ(model->CurAlien, 0);
    model->Command2_Click(); // Refresh of an unchanged level is no edit
    EXPECT_EQ(model->Saved, VbTrue);

    model->SpeedIndex = 24;
    model->Speed_Click();
    EXPECT_EQ(model->EditLevels[1].Speed, 25);
    EXPECT_EQ(model->Saved, VbFalse);
    model->Text1 = "  spaced ";
    model->Text1_Change();
    EXPECT_EQ(model->EditLevels[1].Name, "  spaced ");
}

TEST_F(EditorLevels, StatusLineCountsLevels) {
    start();
    const auto shows = [&](const std::string& text) {
        Surface expected(model->Picture1.Width(), model->Picture1.Height());
        expected.setBackColor(model->Picture1.BackColor());
        expected.setForeColor(model->Picture1.ForeColor());
        expected.Print(text);
        return model->Picture1.image() == expected.image();
    };
    clock.advance(50);
    EXPECT_TRUE(shows("CURRENT LEVEL : 1 / 1"));
    loadLevels({1, 2, 3, 4, 5});
    model->Command1_Click(0);
    clock.advance(50);
    EXPECT_TRUE(shows("CURRENT LEVEL : 2 / 5"));
    EXPECT_FALSE(shows("CURRENT LEVEL : 1 / 5"));
}
