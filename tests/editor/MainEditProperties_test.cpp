#include "EditorFixture.h"

namespace {

class EditorProperties : public EditorFixture {
protected:
    void SetUp() override {
        EditorFixture::SetUp();
        model->showPopup = [this] { ++popups; };
        start();
        // Three aliens in a row at y 100, a fourth apart.
        model->Check1 = 0;
        model->Check1_Click();
        for (int x : {100, 150, 200, 350}) {
            dropFromPalette(0, 0, 0, x, x == 350 ? 300 : 100);
        }
        model->Pane_MouseDown(mousebutton::Left, 0, 90, 90);
        model->Pane_MouseMove(mousebutton::Left, 0, 260, 130);
        model->Pane_MouseUp(mousebutton::Left, 0, 260, 130);
    }
    void rightClick(int i) {
        const PlacedPicture& p = model->Mz[i];
        EXPECT_FALSE(model->paneMouseDown(mousebutton::Right, 0, p.Left + 1, p.Top + 1));
    }
    template <std::size_t N> static int checked(const std::array<bool, N>& items) {
        int at = -1;
        for (std::size_t i = 0; i < N; ++i) {
            if (items[i]) {
                EXPECT_EQ(at, -1) << "two items checked";
                at = static_cast<int>(i);
            }
        }
        return at;
    }
    int popups = 0;
};

} // namespace

TEST_F(EditorProperties, PopupChecksTheClickedAliensValues) {
    EXPECT_TRUE(model->mnuShootsChecked);
    EXPECT_EQ(checked(model->mnuSetHitsChecked), 0);
    EXPECT_EQ(checked(model->mnuSetDropsChecked), 0);
    EXPECT_EQ(checked(model->mnuSetTypeChecked), -1);

    auto& a = model->EditLevels[0].Aliens[3];
    a.Type = 4;
    a.Hits = 3;
    a.Drops = -1;
    rightClick(3);
    EXPECT_EQ(popups, 1);
    EXPECT_EQ(model->CurAlien, 3);
    EXPECT_EQ(checked(model->mnuSetTypeChecked), 4);
    EXPECT_EQ(checked(model->mnuSetHitsChecked), 2);
    EXPECT_EQ(checked(model->mnuSetDropsChecked), 0);
    EXPECT_TRUE(model->mnuShootsChecked);
    a.Drops = 9;
    a.Shoots = 0;
    rightClick(3);
    EXPECT_FALSE(model->mnuShootsChecked);
    EXPECT_EQ(checked(model->mnuSetDropsChecked), 10);
    EXPECT_STREQ(editorui::dropsCaptions[10], "Extra live");
}

TEST_F(EditorProperties, CommandsApplyToTheSelectionAndTheCurrentAlien) {
    rightClick(3);
    model->Saved = VbTrue;
    model->mnuSetType_Click(9);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(alien(i).Type, 9) << i;
        EXPECT_EQ(model->Mz[i].Kind, 9);
        EXPECT_EQ(model->Mz[i].Width, 32); // the bigger picture, in place
    }
    EXPECT_EQ(alien(0).X, 100);
    EXPECT_EQ(model->Saved, VbFalse);

    struct Case {
        int index;
        VbLong drops;
    };
    for (const Case& c : {Case{10, 9}, Case{0, -1}, Case{1, 0}}) {
        model->mnuSetDrops_Click(c.index);
        EXPECT_EQ(alien(0).Drops, c.drops);
        EXPECT_EQ(alien(3).Drops, c.drops);
        EXPECT_EQ(checked(model->mnuSetDropsChecked), c.index);
    }
    model->Saved = VbTrue;
    model->mnuSetHits_Click(8);
    EXPECT_EQ(alien(1).Hits, 9);
    EXPECT_EQ(alien(3).Hits, 9);
    EXPECT_EQ(checked(model->mnuSetHitsChecked), 8);
    EXPECT_EQ(model->Saved, VbFalse);

    // Shoots toggles from the current alien's own value, onto all of them.
    model->EditLevels[0].Aliens[1].Shoots = 0;
    model->mnuShoots_Click();
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(alien(i).Shoots, 0) << i;
    }
    EXPECT_FALSE(model->mnuShootsChecked);
    model->Saved = VbTrue;
    model->mnuShoots_Click();
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(alien(i).Shoots, 1) << i;
    }
    EXPECT_TRUE(model->mnuShootsChecked);
    EXPECT_EQ(model->Saved, VbFalse);
}

TEST_F(EditorProperties, SavedLevelKeepsThePropertiesAndWritesTheScoreFromTheType) {
    rightClick(0);
    model->mnuSetType_Click(2);
    model->mnuSetHits_Click(4);
    model->mnuSetDrops_Click(3);
    files.answer(path("props.dat"));
    model->mnuSaveAs_Click();
    const std::string text = readFileBytes(path("props.dat"));
    EXPECT_NE(text.find("\r\n4\r\n2,100,100,5,2,1,300\r\n2,150,100,5,2,1,300\r\n"
                        "2,200,100,5,2,1,300\r\n0,350,300,1,-1,1,100\r\n"),
              std::string::npos)
        << text;
}
