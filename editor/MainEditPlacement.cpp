// Placing aliens by drag and drop, the selection, the keyboard commands and removal.
#include "Clock.h"
#include "EditorDrawing.h"
#include "IgnoringFailures.h"
#include "MainEditModel.h"
#include "Numbers.h"
#include "Rect.h"

#include <algorithm>

namespace {

VbInteger whole(double v) {
    return num::toInteger(num::roundHalfEven(v));
}

} // namespace

void MainEditModel::CurMonster_DragOver(int /*Index*/, DragSource Source, double X, double Y,
                                        int State) {
    // Only a palette drag takes its grab offset here; a placed alien passing over the
    // palette keeps the one it was lifted with.
    if (State != 0 || Source.Kind != DragKind::Palette || Source.Index < 0 ||
        Source.Index >= static_cast<int>(CurMonster.size())) {
        return;
    }
    DragWidth = static_cast<VbInteger>(CurMonster[Source.Index].Width());
    DragHeight = static_cast<VbInteger>(CurMonster[Source.Index].Height());
    GrabX = whole(X);
    GrabY = whole(Y);
}

void MainEditModel::Mz_DragOver(int Index, DragSource Source, double X, double Y, int State) {
    if (Index < 0 || Index >= static_cast<int>(Mz.size())) {
        return;
    }
    if (State == 0 && !DragStarted && Source.Kind == DragKind::Placed && Source.Index >= 0 &&
        Source.Index < static_cast<int>(Mz.size())) {
        DragStarted = VbTrue;
        CurAlien = static_cast<VbInteger>(Index);
        GrabX = whole(X);
        GrabY = whole(Y);
        DragWidth = static_cast<VbInteger>(Mz[Source.Index].Width);
        DragHeight = static_cast<VbInteger>(Mz[Source.Index].Height);
        DropFrameHidden = VbFalse;
        if (!CopyDrag) {
            Mz[Source.Index].Visible = false;
        }
    }
    // A drop here lands as a drop on the pane at the same point, so the drop frame follows
    // the mouse over placed aliens too.
    updateDropPosition(X + Mz[Index].Left, Y + Mz[Index].Top);
}

void MainEditModel::updateDropPosition(double X, double Y) {
    DropFrameHidden = VbFalse;
    const double step = GridSize;
    const double dx = num::roundHalfEven(X - GrabX);
    const double dy = num::roundHalfEven(Y - GrabY);
    DropX = num::toInteger(RoundDown(dx / step) * step + 1);
    DropY = num::toInteger(RoundDown(dy / step) * step + 1);
}

void MainEditModel::Pane_DragOver(DragSource /*Source*/, double X, double Y, int /*State*/) {
    updateDropPosition(X, Y);
}

void MainEditModel::clamp(PlacedPicture& pic) const {
    if (pic.Left < 0) {
        pic.Left = 0;
    }
    if (pic.Left + pic.Width > Pane.ScaleWidth()) {
        pic.Left = Pane.ScaleWidth() - pic.Width;
    }
    if (pic.Top < 0) {
        pic.Top = 0;
    }
    if (pic.Top + pic.Height > Pane.ScaleHeight()) {
        pic.Top = Pane.ScaleHeight() - pic.Height;
    }
}

void MainEditModel::placeAt(PlacedPicture& pic, double left, double top) {
    pic.Left = left;
    pic.Top = top;
    clamp(pic);
}

void MainEditModel::Pane_DragDrop(DragSource Source, double X, double Y) {
    DragStarted = VbFalse;
    Saved = VbFalse;
    PaneHasFocus = true;
    const double px = SnapToGrid ? static_cast<double>(DropX) : X - GrabX;
    const double py = SnapToGrid ? static_cast<double>(DropY) : Y - GrabY;
    EditLevelRec& level = EditLevels[CurLevel];
    const bool placedSource = Source.Kind == DragKind::Placed && Source.Index >= 0 &&
                              Source.Index < static_cast<int>(Mz.size()) &&
                              Source.Index <= LastAlien;
    const bool paletteSource = Source.Kind == DragKind::Palette && Source.Index >= 0 &&
                               Source.Index < static_cast<int>(CurMonster.size());

    if (paletteSource || (placedSource && CopyDrag)) {
        const bool copy = !paletteSource;
        EditAlienRec record;
        if (copy) {
            record = level.Aliens[Source.Index];
        } else {
            record.Type = static_cast<VbInteger>(Source.Index);
            record.Drops = -1;
            record.Hits = 1;
            record.Score = Source.Index * 100;
            record.Shoots = 1;
        }
        const int n = ++LastAlien;
        if (n > 0) {
            Mz.resize(n + 1);
        }
        PlacedPicture& pic = Mz[n];
        showPicture(pic, record.Type);
        pic.Visible = true;
        placeAt(pic, px, py);
        level.Aliens.resize(n + 1);
        record.X = whole(pic.Left);
        record.Y = whole(pic.Top);
        level.Aliens[n] = record;
        CurAlien = static_cast<VbInteger>(n);
    } else if (placedSource) {
        PlacedPicture& pic = Mz[Source.Index];
        placeAt(pic, px, py);
        level.Aliens[Source.Index].X = whole(pic.Left);
        level.Aliens[Source.Index].Y = whole(pic.Top);
        CurAlien = static_cast<VbInteger>(Source.Index);
    }

    DropFrameHidden = VbTrue;
    if (placedSource) {
        Mz[Source.Index].Visible = true;
    } else if (paletteSource) {
        CurMonster[Source.Index].Visible = true;
    }
}

void MainEditModel::Mz_DragDrop(int Index, DragSource Source, double X, double Y) {
    if (Index < 0 || Index >= static_cast<int>(Mz.size())) {
        return;
    }
    Pane_DragDrop(Source, X + Mz[Index].Left, Y + Mz[Index].Top);
}

void MainEditModel::Mz_MouseDown(int Index, int Button, int /*Shift*/, double /*X*/, double /*Y*/) {
    if (Index < 0 || Index >= static_cast<int>(Mz.size())) {
        return;
    }
    CurAlien = static_cast<VbInteger>(Index);
    if (Button != mousebutton::Right || Index > LastAlien) {
        return;
    }
    const EditAlienRec& a = EditLevels[CurLevel].Aliens[Index];
    mnuSetTypeChecked.fill(false);
    if (a.Type >= 0 && a.Type < editorui::alienKinds) {
        mnuSetTypeChecked[a.Type] = true;
    }
    mnuSetHitsChecked.fill(false);
    if (a.Hits >= 1 && a.Hits <= editorui::hitsItems) {
        mnuSetHitsChecked[a.Hits - 1] = true;
    }
    mnuSetDropsChecked.fill(false);
    if (a.Drops < 0) {
        mnuSetDropsChecked[0] = true;
    } else if (a.Drops + 1 < editorui::dropsItems) {
        mnuSetDropsChecked[a.Drops + 1] = true;
    }
    // The Shoots mark shows the clicked alien's own value, which its command toggles.
    mnuShootsChecked = a.Shoots == 1;
    if (showPopup) {
        showPopup();
    }
}

void MainEditModel::Pane_MouseDown(int Button, int /*Shift*/, double X, double Y) {
    if (Button != mousebutton::Left) {
        return;
    }
    Selecting = VbTrue;
    SelX1 = SelX2 = whole(X);
    SelY1 = SelY2 = whole(Y);
}

void MainEditModel::Pane_MouseMove(int Button, int /*Shift*/, double X, double Y) {
    if (Button != mousebutton::Left || !Selecting) {
        return;
    }
    SelX2 = whole(X);
    SelY2 = whole(Y);
    DrawSel(0xFFFFFF);
    Pane.Refresh();
}

void MainEditModel::Pane_MouseUp(int Button, int /*Shift*/, double /*X*/, double /*Y*/) {
    if (Button == mousebutton::Left) {
        Selecting = VbFalse;
    }
}

bool MainEditModel::IsInSel(int Index) const {
    if (Index < 0 || Index >= static_cast<int>(Mz.size())) {
        return false;
    }
    const PlacedPicture& p = Mz[Index];
    const auto r = [](double v) { return static_cast<std::int32_t>(num::roundHalfEven(v)); };
    const Rect a{r(p.Left), r(p.Top), r(p.Left + p.Width), r(p.Top + p.Height)};
    const Rect b{std::min(SelX1, SelX2), std::min(SelY1, SelY2), std::max(SelX1, SelX2),
                 std::max(SelY1, SelY2)};
    Rect out;
    return IntersectRect(out, a, b);
}

bool MainEditModel::targeted(int i) const {
    return i <= LastAlien && (IsInSel(i) || i == CurAlien);
}

void MainEditModel::DrawSel(VbLong Color) {
    const auto frame = [&](const PlacedPicture& p) {
        Pane.Box(p.Left - 1, p.Top - 1, p.Left + p.Width, p.Top + p.Height, Color);
    };
    if (SelX2 != SelX1 && SelY2 != SelY1) {
        Pane.Box(SelX1, SelY1, SelX2, SelY2, 0xFF);
        for (int i = 0; i < static_cast<int>(Mz.size()); ++i) {
            if (Mz[i].Visible && IsInSel(i)) {
                frame(Mz[i]);
            }
        }
    } else if (CurAlien >= 0 && CurAlien < static_cast<int>(Mz.size()) && Mz[CurAlien].Visible) {
        frame(Mz[CurAlien]);
    }
}

void MainEditModel::Form_KeyDown(int KeyCode, int Shift) {
    // Key commands never stop the editor.
    ignoringFailures([&] {
        if (KeyCode == vk::Delete) {
            mnuRemove_Click();
            return;
        }
        if (Shift == shiftmask::Ctrl || Shift == shiftmask::Ctrl + shiftmask::Shift) {
            const int step = Shift == shiftmask::Ctrl ? 1 : GridSize;
            const int w = Pane.ScaleWidth();
            const int h = Pane.ScaleHeight();
            EditLevelRec& level = EditLevels[CurLevel];
            for (int i = 0; i < static_cast<int>(Mz.size()); ++i) {
                if (!targeted(i)) {
                    continue;
                }
                PlacedPicture& p = Mz[i];
                bool moved = true;
                if (KeyCode == vk::Down && p.Top + p.Height < h) {
                    p.Top += step;
                } else if (KeyCode == vk::Up && p.Top > 0) {
                    p.Top -= step;
                } else if (KeyCode == vk::Right && p.Left + p.Width < w) {
                    p.Left += step;
                } else if (KeyCode == vk::Left && p.Left > 0) {
                    p.Left -= step;
                } else {
                    moved = false;
                }
                if (moved) {
                    level.Aliens[i].X = whole(p.Left);
                    level.Aliens[i].Y = whole(p.Top);
                }
            }
            Saved = VbFalse;
        } else if (Shift == shiftmask::Shift) {
            SnapToGrid = VbTrue;
        } else if (Shift == shiftmask::Alt) {
            CopyDrag = VbTrue;
        }
    });
}

void MainEditModel::Form_KeyUp(int KeyCode, int /*Shift*/) {
    // Key commands never stop the editor.
    ignoringFailures([&] {
        if (KeyCode == vk::Shift) {
            SnapToGrid = toVbBool(Check1 == 1);
            Pane.Cls();
            if (Check2 == 1) {
                FadeTimer_Timer();
            }
            Pane.setDrawMode(drawmode::CopyPen);
        } else if (KeyCode == vk::Menu) {
            CopyDrag = VbFalse;
        }
    });
}

void MainEditModel::mnuRemove_Click() {
    EditLevelRec& level = EditLevels[CurLevel];
    if (level.Aliens.empty() || level.Aliens[0].Type == -1) {
        return;
    }
    BusyPointer = true;
    for (;;) {
        if (level.Aliens[0].Type == -1) {
            break;
        }
        int found = -1;
        for (int i = 0; i <= LastAlien; ++i) {
            if (targeted(i)) {
                found = i;
                break;
            }
        }
        if (found < 0) {
            break;
        }
        if (level.Aliens.size() == 1) {
            level.Aliens[0].Type = -1;
        } else {
            level.Aliens.erase(level.Aliens.begin() + found);
        }
        clock_.pumpEvents();
        CurAlien = -1;
        ReloadPane();
    }
    BusyPointer = false;
    Saved = VbFalse;
}
