#include "EditorDrawing.h"
#include "EditorFixture.h"

namespace {

class EditorPlacement : public EditorFixture {
protected:
    void SetUp() override {
        EditorFixture::SetUp();
        start();
    }
    // Aliens of kind 0 (24 x 18) at the given places, as drops with snapping off.
    void place(std::initializer_list<std::pair<int, int>> at) {
        model->Check1 = 0;
        model->Check1_Click();
        for (auto [x, y] : at) {
            dropFromPalette(0, 0, 0, x, y);
        }
        model->Check1 = 1;
        model->Check1_Click();
    }
    void select(int x1, int y1, int x2, int y2) {
        model->Pane_MouseDown(mousebutton::Left, 0, x1, y1);
        model->Pane_MouseMove(mousebutton::Left, 0, x2, y2);
        model->Pane_MouseUp(mousebutton::Left, 0, x2, y2);
    }
};

} // namespace

TEST(EditorMath, RoundDownIsTheFloor) {
    for (auto [v, want] :
         std::vector<std::pair<double, double>>{{2.5, 2}, {2.6, 2}, {3, 3}, {-0.3, -1}, {-4, -4}}) {
        EXPECT_EQ(RoundDown(v), want) << v;
    }
}

TEST(EditorMath, DrawGridDrawsEveryStepButNoneAtZeroNorAtTheFarEdge) {
    Surface s(52, 30);
    s.setBackColor(0);
    VbInteger step = 25;
    VbLong c = 0xFFFFFF;
    DrawGrid(s, step, c);
    EXPECT_EQ(s.Point(25, 3), c);
    EXPECT_EQ(s.Point(50, 3), c);
    EXPECT_EQ(s.Point(0, 3), 0);
    EXPECT_EQ(s.Point(3, 25), c);
    EXPECT_EQ(s.Point(3, 3), 0);
    Surface edge(50, 30);
    edge.setBackColor(0);
    DrawGrid(edge, step, c);
    EXPECT_EQ(edge.Point(49, 3), 0); // 50 > ScaleWidth - 2: no line there
    VbInteger none = 0;
    Surface blank(20, 20);
    blank.setBackColor(0);
    DrawGrid(blank, none, c);
    EXPECT_EQ(blank.Point(0, 0), 0);
}

TEST_F(EditorPlacement, PaletteDropSnapsToTheGridOrLandsWhereDropped) {
    struct Case {
        bool snap;
        int x, y;
    };
    for (const Case& c : {Case{true, 41, 21}, Case{false, 45, 26}}) {
        model->Check1 = c.snap ? 1 : 0;
        model->Check1_Click();
        dropFromPalette(3, 12, 7, 57, 33);
        const int n = model->LastAlien;
        EXPECT_EQ(alien(n).X, c.x) << c.snap;
        EXPECT_EQ(alien(n).Y, c.y) << c.snap;
        EXPECT_EQ(model->Mz[n].Left, c.x);
        EXPECT_TRUE(model->Mz[n].Visible);
        EXPECT_EQ(model->CurAlien, n);
    }
    ASSERT_EQ(aliens().size(), 2u);
    const EditAlienRec& a = alien(0);
    EXPECT_EQ(a.Type, 3);
    EXPECT_EQ(a.Hits, 1);
    EXPECT_EQ(a.Drops, -1);
    EXPECT_EQ(a.Shoots, 1);
    EXPECT_EQ(a.Score, 300);
    EXPECT_EQ(model->Saved, VbFalse);
    EXPECT_EQ(model->DropFrameHidden, VbTrue);
    EXPECT_EQ(model->DragStarted, VbFalse);
    EXPECT_TRUE(model->PaneHasFocus);
}

TEST_F(EditorPlacement, DropsAreClampedToThePane) {
    model->Check1 = 0;
    model->Check1_Click();
    struct Case {
        double x, y;
        int wantX, wantY;
    };
    for (const Case& c : {Case{-5, -9, 0, 0}, Case{470, 410, 400 - 24, 420 - 18},
                          Case{100.5, 300, 100, 300}, Case{101.5, 300, 102, 300}}) {
        dropFromPalette(0, 0, 0, c.x, c.y);
        EXPECT_EQ(alien(model->LastAlien).X, c.wantX) << c.x;
        EXPECT_EQ(alien(model->LastAlien).Y, c.wantY) << c.y;
    }
}

TEST_F(EditorPlacement, AltDragCopiesAPlacedAlienAndAPlainDragMovesIt) {
    place({{100, 100}});
    model->EditLevels[0].Aliens[0].Hits = 5;
    model->EditLevels[0].Aliens[0].Drops = 2;

    model->Form_KeyDown(vk::Menu, shiftmask::Alt);
    EXPECT_EQ(model->CopyDrag, VbTrue);
    dragPlaced(0, 4, 4, 204, 154);
    ASSERT_EQ(aliens().size(), 2u);
    EXPECT_EQ(alien(0).X, 100); // the dragged alien stays
    EXPECT_TRUE(model->Mz[0].Visible);
    EXPECT_EQ(alien(1).Hits, 5);
    EXPECT_EQ(alien(1).Drops, 2);
    EXPECT_EQ(alien(1).X, 201);
    EXPECT_EQ(alien(1).Y, 151);
    EXPECT_EQ(model->CurAlien, 1);

    // A palette drag with Alt held is still a fresh alien of the palette's kind.
    dropFromPalette(5, 0, 0, 300, 300);
    EXPECT_EQ(alien(2).Type, 5);
    EXPECT_EQ(alien(2).Hits, 1);
    model->Form_KeyUp(vk::Menu, 0);
    EXPECT_EQ(model->CopyDrag, VbFalse);

    // A move: the alien is lifted while dragged and lands on the grid.
    const PlacedPicture& p = model->Mz[0];
    ASSERT_TRUE(model->paneMouseDown(mousebutton::Left, 0, p.Left + 3, p.Top + 3));
    EXPECT_FALSE(model->Mz[0].Visible);
    EXPECT_EQ(model->DragStarted, VbTrue);
    model->dragOverPane(60, 70);
    EXPECT_EQ(model->DropX, 51);
    EXPECT_EQ(model->DropY, 61);
    model->dropOnPane(60, 70);
    EXPECT_EQ(aliens().size(), 3u);
    EXPECT_EQ(alien(0).X, 51);
    EXPECT_EQ(alien(0).Y, 61);
    EXPECT_TRUE(model->Mz[0].Visible);
    EXPECT_EQ(model->DragStarted, VbFalse);
}

TEST_F(EditorPlacement, DropOnAnotherAlienLandsAsOnThePaneThere) {
    place({{100, 100}, {300, 200}});
    // Alien 0 grabbed at (2, 2), dropped with the mouse over alien 1 at (305, 205).
    dragPlaced(0, 2, 2, 305, 205);
    EXPECT_EQ(alien(0).X, 301);
    EXPECT_EQ(alien(0).Y, 201);
    EXPECT_EQ(alien(1).X, 300);
    EXPECT_EQ(model->CurAlien, 0);
}

TEST_F(EditorPlacement, ADragEndingOffThePanePutsTheAlienBack) {
    place({{100, 100}});
    const PlacedPicture& p = model->Mz[0];
    ASSERT_TRUE(model->paneMouseDown(mousebutton::Left, 0, p.Left + 1, p.Top + 1));
    model->dragOverPane(200, 200);
    model->dragOverPalette(50, 50);
    model->dropElsewhere();
    EXPECT_TRUE(model->Mz[0].Visible);
    EXPECT_EQ(alien(0).X, 100);
    EXPECT_EQ(model->DragStarted, VbFalse);
    EXPECT_EQ(model->DropFrameHidden, VbTrue);
    // The next drag registers as usual.
    dragPlaced(0, 1, 1, 41, 41);
    EXPECT_EQ(alien(0).X, 41);
}

TEST_F(EditorPlacement, CtrlArrowsNudgeTargetedAliensUntilTheyReachAnEdge) {
    place({{0, 50}, {4, 100}, {200, 200}});
    select(-1, 40, 30, 130); // aliens 0 and 1
    model->CurAlien = -1;
    model->Saved = VbTrue;
    model->Form_KeyDown(vk::Left, shiftmask::Ctrl);
    EXPECT_EQ(alien(0).X, 0); // at the edge: stays
    EXPECT_EQ(alien(1).X, 3);
    EXPECT_EQ(alien(2).X, 200);
    EXPECT_EQ(model->Saved, VbFalse);
    model->Form_KeyDown(vk::Right, shiftmask::Ctrl);
    model->Form_KeyDown(vk::Left, shiftmask::Ctrl + shiftmask::Shift);
    EXPECT_EQ(alien(1).X, -6); // the edge test is made before the grid step
    EXPECT_EQ(model->Mz[1].Left, -6);

    // The current alien is targeted too; Down and Up by one pixel.
    model->CurAlien = 2;
    select(0, 0, 0, 0);
    model->Form_KeyDown(vk::Down, shiftmask::Ctrl);
    EXPECT_EQ(alien(2).Y, 201);
    EXPECT_EQ(alien(0).Y, 50);
    model->Form_KeyDown(vk::Up, shiftmask::Ctrl + shiftmask::Shift);
    EXPECT_EQ(alien(2).Y, 191);

    // Ctrl with a letter moves nothing and still counts as an edit.
    model->Saved = VbTrue;
    model->Form_KeyDown('A', shiftmask::Ctrl);
    EXPECT_EQ(alien(2).Y, 191);
    EXPECT_EQ(model->Saved, VbFalse);
}

TEST_F(EditorPlacement, ShiftForcesSnappingUntilReleased) {
    model->Check1 = 0;
    model->Check1_Click();
    EXPECT_EQ(model->GridSize, 10); // the step itself stays
    model->Form_KeyDown(vk::Shift, shiftmask::Shift);
    EXPECT_EQ(model->SnapToGrid, VbTrue);
    dropFromPalette(0, 0, 0, 57, 33);
    EXPECT_EQ(alien(0).X, 51);
    model->Form_KeyUp(vk::Shift, 0);
    EXPECT_EQ(model->SnapToGrid, VbFalse);
    EXPECT_EQ(model->Pane.DrawMode(), drawmode::CopyPen);
    // Shift with Ctrl is a grid nudge, not the modifier.
    model->Form_KeyDown(vk::Shift, shiftmask::Shift + shiftmask::Ctrl);
    EXPECT_EQ(model->SnapToGrid, VbFalse);
}

TEST_F(EditorPlacement, SelectionPicksOverlappingAliensInEitherDirection) {
    place({{100, 100}, {200, 100}});
    select(150, 130, 90, 90);
    EXPECT_TRUE(model->IsInSel(0));
    EXPECT_FALSE(model->IsInSel(1));
    select(90, 90, 150, 130);
    EXPECT_TRUE(model->IsInSel(0));
    // Touching the right edge (100 + 24) is no overlap; one pixel more is.
    select(124, 90, 150, 130);
    EXPECT_FALSE(model->IsInSel(0));
    select(123, 90, 150, 130);
    EXPECT_TRUE(model->IsInSel(0));
    select(90, 90, 150, 90); // no height: nothing
    EXPECT_FALSE(model->IsInSel(0));
}

TEST_F(EditorPlacement, DeleteRemovesEveryTargetedAlien) {
    place({{10, 10}, {100, 100}, {200, 100}, {300, 300}});
    select(90, 90, 260, 130); // aliens 1 and 2
    model->CurAlien = 3;
    model->Form_KeyDown(vk::Delete, 0);
    // The current alien is dropped after the first removal, so only the selection goes.
    ASSERT_EQ(aliens().size(), 2u);
    EXPECT_EQ(alien(0).X, 10);
    EXPECT_EQ(alien(1).X, 300);
    EXPECT_EQ(model->LastAlien, 1);
    EXPECT_EQ(model->CurAlien, -1);
    EXPECT_EQ(model->Mz.size(), 2u);
    EXPECT_EQ(model->Mz[1].Left, 300);

    // Nothing targeted: nothing removed, still an edit.
    model->Saved = VbTrue;
    select(400, 400, 410, 410);
    model->mnuRemove_Click();
    EXPECT_EQ(aliens().size(), 2u);
    EXPECT_EQ(model->Saved, VbFalse);

    // A selection over the whole level empties it.
    select(0, 0, 400, 420);
    model->mnuRemove_Click();
    ASSERT_EQ(aliens().size(), 1u);
    EXPECT_EQ(alien(0).Type, -1);
    EXPECT_FALSE(model->Mz[0].Visible);
    EXPECT_EQ(model->LastAlien, -1);
}

TEST_F(EditorPlacement, RedrawShowsTheDropFrameOnlyWhileSnappingAndTheCopyText) {
    const auto near = [&](int x, int y) { return model->Pane.Point(x, y); };
    ASSERT_TRUE(model->paletteMouseDown(mousebutton::Left, model->CurMonster[0].Left,
                                        model->CurMonster[0].Top));
    model->dragOverPane(57, 33);
    model->FadeTimer_Timer();
    // The frame is at least yellow over the black pane and over the grey grid.
    EXPECT_EQ(near(51, 35) & 0xFFFF, 0xFFFF);
    EXPECT_EQ(near(51, 31) & 0xFFFF, 0xFFFF);
    EXPECT_EQ(near(51 + 23, 35) & 0xFFFF, 0xFFFF);
    model->Check1 = 0;
    model->Check1_Click();
    model->FadeTimer_Timer();
    EXPECT_EQ(near(51, 35), 0);
    model->dropOnPane(57, 33);

    // The grid: lines at the step, in grey; none when Show grid is off.
    model->cmbGrdIndex = 22;
    model->cmbGrd_Click();
    EXPECT_EQ(model->GridSize, 25);
    model->FadeTimer_Timer();
    EXPECT_EQ(near(25, 210), color::rgb(90, 90, 90));
    EXPECT_EQ(near(20, 210), 0);
    model->Check2 = 0;
    model->FadeTimer_Timer();
    EXPECT_EQ(near(25, 210), 0);

    const auto statShows = [&](const std::string& text) {
        Surface expected(model->STAT.Width(), model->STAT.Height());
        expected.setBackColor(model->STAT.BackColor());
        expected.setForeColor(model->STAT.ForeColor());
        expected.Print(text);
        return model->STAT.image() == expected.image();
    };
    model->Form_KeyDown(vk::Menu, shiftmask::Alt);
    clock.advance(30);
    EXPECT_TRUE(statShows("COPY DRAG"));
    model->Form_KeyUp(vk::Menu, 0);
    clock.advance(30);
    EXPECT_TRUE(statShows(""));
}

TEST_F(EditorPlacement, CurrentAlienIsFramedUntilTheGridListTakesTheFocus) {
    place({{100, 100}});
    model->CurAlien = 0;
    model->FadeTimer_Timer();
    EXPECT_NE(model->Pane.Point(99, 99), 0);
    model->cmbGrd_GotFocus();
    EXPECT_EQ(model->CurAlien, -1);
    model->FadeTimer_Timer();
    EXPECT_EQ(model->Pane.Point(99, 99), 0);
}

TEST_F(EditorPlacement, DragsKeepTheirOwnGrabOffsetOverOtherControls) {
    place({{200, 200}});
    model->CurAlien = -1;
    // A palette item grabbed at (5, 5) passes over the placed alien: the alien is neither
    // lifted nor made current, and the drop frame follows the mouse over it.
    ASSERT_TRUE(model->paletteMouseDown(mousebutton::Left, model->CurMonster[1].Left + 5,
                                        model->CurMonster[1].Top + 5));
    model->dragOverPane(100, 100);
    model->dragOverPane(215, 210);
    EXPECT_TRUE(model->Mz[0].Visible);
    EXPECT_EQ(model->CurAlien, -1);
    EXPECT_EQ(model->DropX, 211);
    EXPECT_EQ(model->DropY, 201);
    model->dropOnPane(215, 210);
    EXPECT_EQ(alien(1).Type, 1);
    EXPECT_EQ(alien(1).X, 211);
    EXPECT_EQ(alien(0).X, 200);

    // A placed alien carried across the palette and back lands by its own grab offset.
    dragPlaced(0, 3, 3, 0, 0);
    const PlacedPicture& p = model->Mz[0];
    ASSERT_TRUE(model->paneMouseDown(mousebutton::Left, 0, p.Left + 3, p.Top + 3));
    model->dragOverPalette(model->CurMonster[4].Left + 10, model->CurMonster[4].Top + 10);
    model->dragOverPane(53, 63);
    model->dropOnPane(53, 63);
    EXPECT_EQ(alien(0).X, 51);
    EXPECT_EQ(alien(0).Y, 61);
}
