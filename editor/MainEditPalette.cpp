// The redraw tick of the palette and the placement area, and the grid settings.
#include "Color.h"
#include "EditorDrawing.h"
#include "MainEditModel.h"

void MainEditModel::FadeTimer_Timer() {
    STAT.Cls();
    STAT.Print(CopyDrag ? "COPY DRAG" : "");
    STAT.Refresh();

    if (!PaletteFader) {
        PaletteFader = std::make_unique<ColorFader>();
        PaletteFader->setStartColor(color::rgb(150, 150, 150));
        PaletteFader->setEndColor(0xFFFFFF);
        PaletteFader->setSteps(20);
        PaletteFader->setPingPong(VbTrue);
    }
    const VbLong c = PaletteFader->GetNextColor();
    if (c > -1) {
        Pane2.Cls();
        Pane2.setForeColor(c);
        const auto centred = [&](const std::string& text, double y) {
            Pane2.setCurrentX(Pane2.ScaleWidth() / 2.0 - Pane2.TextWidth(text) / 2.0);
            Pane2.setCurrentY(y);
            Pane2.Print(text);
        };
        centred("ALIENS", 2);
        centred("IN USE:" + std::to_string(LastAlien + 1), Pane2.ScaleHeight() - 20);
        Pane2.setForeColor(0xFF00);
        for (int i = 0; i < static_cast<int>(CurMonster.size()); ++i) {
            const std::string n = std::to_string(i);
            Pane2.setCurrentX(15);
            Pane2.setCurrentY(CurMonster[i].Top + CurMonster[i].Height() / 2.0 -
                              Pane2.TextHeight(n) / 2.0);
            Pane2.Print(n);
        }
        Pane2.Refresh();
    }

    Pane.Cls();
    if (Check2 == 1) {
        VbLong gridColor = color::rgb(90, 90, 90);
        DrawGrid(Pane, GridSize, gridColor);
    }
    DrawSel(c);
    if (SnapToGrid && !DropFrameHidden) {
        // Merging the inverse of blue makes every pixel of the frame at least yellow, so it
        // shows over the grid and over any guide picture.
        Pane.setDrawMode(drawmode::MergeNotPen);
        Pane.Box(DropX, DropY, DropX + DragWidth - 1, DropY + DragHeight - 1,
                 ~std::int32_t{0xFFFF} & 0xFFFFFF);
        Pane.setDrawMode(drawmode::CopyPen);
    }
    Pane.Refresh();
}

void MainEditModel::cmbGrd_Click() {
    if (cmbGrdIndex >= 0 && cmbGrdIndex < editorui::gridItems) {
        GridSize = static_cast<VbInteger>(cmbGrdIndex + 3);
    }
}

void MainEditModel::cmbGrd_GotFocus() {
    CurAlien = -1;
}

void MainEditModel::Check1_Click() {
    SnapToGrid = toVbBool(Check1 == 1);
    if (!SnapToGrid) {
        cmbGrd_Click();
    }
}
