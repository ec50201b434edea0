// Finding the control under the mouse for presses and drags, as the toolkit of the form
// did: the topmost visible picture under the point gets the event, else the area itself.
#include "MainEditModel.h"

namespace {

bool inside(double x, double y, double left, double top, int w, int h) {
    return x >= left && y >= top && x < left + w && y < top + h;
}

} // namespace

int MainEditModel::placedAlienAt(double X, double Y) const {
    for (int i = static_cast<int>(Mz.size()) - 1; i >= 0; --i) {
        const PlacedPicture& p = Mz[i];
        if (p.Visible && inside(X, Y, p.Left, p.Top, p.Width, p.Height)) {
            return i;
        }
    }
    return -1;
}

int MainEditModel::paletteItemAt(double X, double Y) const {
    for (int i = static_cast<int>(CurMonster.size()) - 1; i >= 0; --i) {
        const PaletteItem& p = CurMonster[i];
        if (p.Visible && inside(X, Y, p.Left, p.Top, p.Width(), p.Height())) {
            return i;
        }
    }
    return -1;
}

bool MainEditModel::paneMouseDown(int Button, int Shift, double X, double Y) {
    const int i = placedAlienAt(X, Y);
    if (i < 0) {
        Pane_MouseDown(Button, Shift, X, Y);
        return false;
    }
    const double lx = X - Mz[i].Left;
    const double ly = Y - Mz[i].Top;
    Mz_MouseDown(i, Button, Shift, lx, ly);
    if (Button != mousebutton::Left || drag_.Kind != DragKind::None) {
        return false;
    }
    // A placed alien starts a drag of itself at once; the drag begins over the alien.
    drag_ = {DragKind::Placed, i};
    dragArea_ = Area::Pane;
    dragTarget_ = i;
    Mz_DragOver(i, drag_, lx, ly, 0);
    return true;
}

bool MainEditModel::paletteMouseDown(int Button, double X, double Y) {
    const int i = paletteItemAt(X, Y);
    if (Button != mousebutton::Left || i < 0 || drag_.Kind != DragKind::None) {
        return false;
    }
    drag_ = {DragKind::Palette, i};
    dragArea_ = Area::Palette;
    dragTarget_ = i;
    CurMonster_DragOver(i, drag_, X - CurMonster[i].Left, Y - CurMonster[i].Top, 0);
    return true;
}

void MainEditModel::leaveTargets() {
    // The leave event carries no useful point; the control's own origin is given.
    if (dragArea_ == Area::Pane) {
        if (dragTarget_ >= 0 && dragTarget_ < static_cast<int>(Mz.size())) {
            Mz_DragOver(dragTarget_, drag_, 0, 0, 1);
        }
    } else if (dragArea_ == Area::Palette && dragTarget_ >= 0) {
        CurMonster_DragOver(dragTarget_, drag_, 0, 0, 1);
    }
    dragArea_ = Area::None;
    dragTarget_ = -1;
}

void MainEditModel::dragOverPane(double X, double Y) {
    if (drag_.Kind == DragKind::None) {
        return;
    }
    const int target = placedAlienAt(X, Y);
    const auto send = [&](int t, int state) {
        if (t >= 0) {
            Mz_DragOver(t, drag_, X - Mz[t].Left, Y - Mz[t].Top, state);
        } else {
            Pane_DragOver(drag_, X, Y, state);
        }
    };
    if (dragArea_ != Area::Pane) {
        leaveTargets();
        dragArea_ = Area::Pane;
        dragTarget_ = target;
        send(target, 0);
        return;
    }
    if (target != dragTarget_) {
        if (dragTarget_ >= 0 && dragTarget_ < static_cast<int>(Mz.size())) {
            send(dragTarget_, 1);
        } else if (dragTarget_ < 0) {
            Pane_DragOver(drag_, X, Y, 1);
        }
        dragTarget_ = target;
        send(target, 0);
        return;
    }
    send(target, 2);
}

void MainEditModel::dragOverPalette(double X, double Y) {
    if (drag_.Kind == DragKind::None) {
        return;
    }
    const int target = paletteItemAt(X, Y);
    if (dragArea_ != Area::Palette) {
        leaveTargets();
        dragArea_ = Area::Palette;
        dragTarget_ = -1;
    }
    if (target != dragTarget_) {
        if (dragTarget_ >= 0) {
            CurMonster_DragOver(dragTarget_, drag_, X - CurMonster[dragTarget_].Left,
                                Y - CurMonster[dragTarget_].Top, 1);
        }
        dragTarget_ = target;
        if (target >= 0) {
            CurMonster_DragOver(target, drag_, X - CurMonster[target].Left,
                                Y - CurMonster[target].Top, 0);
        }
    } else if (target >= 0) {
        CurMonster_DragOver(target, drag_, X - CurMonster[target].Left, Y - CurMonster[target].Top,
                            2);
    }
}

void MainEditModel::dragOutside() {
    if (drag_.Kind != DragKind::None) {
        leaveTargets();
    }
}

void MainEditModel::dropOnPane(double X, double Y) {
    if (drag_.Kind == DragKind::None) {
        return;
    }
    // The drop point is where the drag was last seen.
    dragOverPane(X, Y);
    const DragSource source = drag_;
    const int target = placedAlienAt(X, Y);
    drag_ = {};
    dragArea_ = Area::None;
    dragTarget_ = -1;
    if (target >= 0) {
        Mz_DragDrop(target, source, X - Mz[target].Left, Y - Mz[target].Top);
    } else {
        Pane_DragDrop(source, X, Y);
    }
}

void MainEditModel::dropElsewhere() {
    if (drag_.Kind == DragKind::None) {
        return;
    }
    leaveTargets();
    if (drag_.Kind == DragKind::Placed && drag_.Index >= 0 &&
        drag_.Index < static_cast<int>(Mz.size()) && drag_.Index <= LastAlien) {
        Mz[drag_.Index].Visible = true;
    } else if (drag_.Kind == DragKind::Palette && drag_.Index >= 0 &&
               drag_.Index < static_cast<int>(CurMonster.size())) {
        CurMonster[drag_.Index].Visible = true;
    }
    drag_ = {};
    DragStarted = VbFalse;
    DropFrameHidden = VbTrue;
}
