#include "frmMainEdit.h"

#include "Ansi.h"
#include "Clock.h"
#include "EditorAreaView.h"
#include "SurfaceView.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCursor>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

int virtualKeyOf(int qtKey) {
    switch (qtKey) {
    case Qt::Key_Shift:
        return vk::Shift;
    case Qt::Key_Control:
        return vk::Control;
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
        return vk::Menu;
    case Qt::Key_Left:
        return vk::Left;
    case Qt::Key_Up:
        return vk::Up;
    case Qt::Key_Right:
        return vk::Right;
    case Qt::Key_Down:
        return vk::Down;
    case Qt::Key_Delete:
        return vk::Delete;
    default:
        break;
    }
    // Letters and digits have the same codes in both.
    if ((qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) || (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)) {
        return qtKey;
    }
    return 0;
}

int shiftMaskOf(Qt::KeyboardModifiers modifiers, int qtKey, bool press) {
    int mask = 0;
    if (modifiers & Qt::ShiftModifier) {
        mask |= shiftmask::Shift;
    }
    if (modifiers & Qt::ControlModifier) {
        mask |= shiftmask::Ctrl;
    }
    if (modifiers & Qt::AltModifier) {
        mask |= shiftmask::Alt;
    }
    // Some systems report a modifier key's own press without its modifier.
    if (press) {
        if (qtKey == Qt::Key_Shift) {
            mask |= shiftmask::Shift;
        } else if (qtKey == Qt::Key_Control) {
            mask |= shiftmask::Ctrl;
        } else if (qtKey == Qt::Key_Alt) {
            mask |= shiftmask::Alt;
        }
    }
    return mask;
}

namespace {

int buttonOf(Qt::MouseButton b) {
    switch (b) {
    case Qt::LeftButton:
        return mousebutton::Left;
    case Qt::RightButton:
        return mousebutton::Right;
    case Qt::MiddleButton:
        return 4;
    default:
        return 0;
    }
}

int buttonsOf(Qt::MouseButtons b) {
    return (b & Qt::LeftButton ? mousebutton::Left : 0) |
           (b & Qt::RightButton ? mousebutton::Right : 0) | (b & Qt::MiddleButton ? 4 : 0);
}

int maskOf(Qt::KeyboardModifiers m) {
    return shiftMaskOf(m, 0, false);
}

QString q(const std::string& s) {
    return ansi::toQString(s);
}

} // namespace

template <typename F> void frmMainEdit::run(F&& f) {
    f();
    syncFromModel();
}

frmMainEdit::frmMainEdit(QWidget* parent)
    : QMainWindow(parent), model_(std::make_unique<MainEditModel>(Clock::instance())) {
    setObjectName("frmMainEdit");
    model_->ownerWindow = this;
    model_->closeWindow = [this] { close(); };
    model_->showPopup = [this] {
        syncFromModel();
        mnuFilePop->exec(QCursor::pos());
    };
    buildMenus();
    buildControls();
    qApp->installEventFilter(this);
    syncFromModel();
}

frmMainEdit::~frmMainEdit() {
    qApp->removeEventFilter(this);
}

bool frmMainEdit::load(const std::string& commandLine) {
    model_->CommandLine = commandLine;
    const bool ok = model_->Form_Load();
    syncFromModel();
    return ok;
}

void frmMainEdit::buildMenus() {
    MainEditModel& m = *model_;
    QMenu* mnuFile = menuBar()->addMenu("File");
    const auto item = [this](QMenu* menu, const char* caption, auto handler) {
        QAction* a = menu->addAction(caption);
        connect(a, &QAction::triggered, this, [this, handler] { run(handler); });
        return a;
    };
    item(mnuFile, "Open...", [&m] { m.mnuOpen_Click(); });
    mnuOpenBinary = item(mnuFile, "Open Binary...", [&m] { m.mnuOpenBinary_Click(); });
    splitter9 = mnuFile->addSeparator();
    mnuSaveBinary = item(mnuFile, "Save binary...", [&m] { m.mnuSaveBinary_Click(); });
    mnuSaveBinaryAs = item(mnuFile, "Save Binary As...", [&m] { m.mnuSaveBinaryAs_Click(); });
    mnuFile->addSeparator();
    item(mnuFile, "Save...", [&m] { m.mnuSave_Click(); });
    item(mnuFile, "Save as...", [&m] { m.mnuSaveAs_Click(); });
    mnuFile->addSeparator();
    item(mnuFile, "Load guide picture...", [&m] { m.mnuLoadPic_Click(); });
    mnuGuidPic = item(mnuFile, "Show Guid picture", [&m] { m.mnuGuidPic_Click(); });
    mnuGuidPic->setCheckable(true);
    mnuFile->addSeparator();
    item(mnuFile, "Binary mode (QFN ONLY!)", [&m] { m.mnuSetBinaryMode_Click(); });
    mnuFile->addSeparator();
    item(mnuFile, "About...", [&m] { m.mnuAbout_Click(); });
    item(mnuFile, "Exit", [&m] { m.mnuExit_Click(); });

    QMenu* mnuLevels = menuBar()->addMenu("Levels");
    item(mnuLevels, "Add new level", [&m] { m.mnuAddLevel_Click(); });
    mnuLevels->addSeparator();
    item(mnuLevels, "Clear level", [&m] { m.mnuClearLevel_Click(); });
    mnuLevels->addSeparator();
    item(mnuLevels, "Delete level", [&m] { m.mnuDeleteLevel_Click(); });
    mnuLevels->addSeparator();
    item(mnuLevels, "Test level", [&m] { m.mnuTestLevel_Click(); });

    // The property popup, shown by a right press on a placed alien.
    mnuFilePop = new QMenu(this);
    item(mnuFilePop, "Remove", [&m] {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        m.mnuRemove_Click();
        QApplication::restoreOverrideCursor();
    });
    QMenu* mnuChangeType = mnuFilePop->addMenu("Change type");
    for (int i = 0; i < editorui::alienKinds; ++i) {
        mnuSetType[i] = item(mnuChangeType, ("Type " + std::to_string(i)).c_str(),
                             [&m, i] { m.mnuSetType_Click(i); });
        mnuSetType[i]->setCheckable(true);
    }
    QMenu* mnuHitsToKill = mnuFilePop->addMenu("Hits to kill");
    for (int i = 0; i < editorui::hitsItems; ++i) {
        mnuSetHits[i] =
            item(mnuHitsToKill, std::to_string(i + 1).c_str(), [&m, i] { m.mnuSetHits_Click(i); });
        mnuSetHits[i]->setCheckable(true);
    }
    QMenu* mnuDrops = mnuFilePop->addMenu("Drops");
    for (int i = 0; i < editorui::dropsItems; ++i) {
        mnuSetDrops[i] =
            item(mnuDrops, editorui::dropsCaptions[i], [&m, i] { m.mnuSetDrops_Click(i); });
        mnuSetDrops[i]->setCheckable(true);
    }
    mnuShoots = item(mnuFilePop, "Shoots", [&m] { m.mnuShoots_Click(); });
    mnuShoots->setCheckable(true);
}

void frmMainEdit::buildControls() {
    MainEditModel& m = *model_;
    auto* central = new QWidget(this);
    auto* row = new QHBoxLayout(central);
    row->setContentsMargins(8, 8, 8, 8);
    row->setSpacing(8);

    Pane2 = new EditorAreaView(&m.Pane2, central);
    Pane2->overlay = [this](QPainter& p) { paintPalette(p); };
    Pane2->pressed = [this](QMouseEvent* e) { palettePressed(e); };
    Pane2->moved = [this](QMouseEvent* e) {
        if (dragging_) {
            dragMoved(e->globalPosition());
        }
    };
    Pane2->released = [this](QMouseEvent* e) {
        if (dragging_ && e->button() == Qt::LeftButton) {
            dragFinished(e->globalPosition());
        }
    };
    row->addWidget(Pane2, 0, Qt::AlignTop);

    auto* middle = new QVBoxLayout;
    Pane = new EditorAreaView(&m.Pane, central);
    Pane->setFocusPolicy(Qt::StrongFocus);
    Pane->setMouseTracking(false);
    Pane->overlay = [this](QPainter& p) { paintPlaced(p); };
    Pane->pressed = [this](QMouseEvent* e) { panePressed(e); };
    Pane->moved = [this](QMouseEvent* e) { paneMoved(e); };
    Pane->released = [this](QMouseEvent* e) { paneReleased(e); };
    middle->addWidget(Pane);
    auto* statusRow = new QHBoxLayout;
    Picture1 = new SurfaceView(&m.Picture1, central);
    Picture1->setFixedSize(m.Picture1.Width(), m.Picture1.Height());
    STAT = new SurfaceView(&m.STAT, central);
    STAT->setFixedSize(m.STAT.Width(), m.STAT.Height());
    statusRow->addWidget(Picture1);
    statusRow->addStretch(1);
    statusRow->addWidget(STAT);
    middle->addLayout(statusRow);
    middle->addStretch(1);
    row->addLayout(middle);

    auto* side = new QVBoxLayout;
    auto* nav = new QHBoxLayout;
    Command1[1] = new QPushButton("PREV.", central);
    Command1[0] = new QPushButton("NEXT", central);
    nav->addWidget(Command1[1]);
    nav->addWidget(Command1[0]);
    side->addLayout(nav);
    for (int i = 0; i < 2; ++i) {
        connect(Command1[i], &QPushButton::clicked, this,
                [this, i] { run([this, i] { model_->Command1_Click(i); }); });
    }
    side->addWidget(new QLabel("Level speed:", central));
    Speed = new QComboBox(central);
    for (int i = 1; i <= editorui::speedItems; ++i) {
        Speed->addItem(QString::number(i));
    }
    connect(Speed, &QComboBox::activated, this, [this](int index) {
        run([this, index] {
            model_->SpeedIndex = index;
            model_->Speed_Click();
        });
    });
    side->addWidget(Speed);
    side->addWidget(new QLabel("Name:", central));
    Text1 = new QLineEdit(central);
    connect(Text1, &QLineEdit::textEdited, this, [this](const QString& text) {
        model_->Text1 = ansi::fromQString(text);
        model_->Text1_Change();
    });
    side->addWidget(Text1);

    auto* options = new QGroupBox("Options", central);
    auto* optionsLayout = new QVBoxLayout(options);
    auto* gridRow = new QHBoxLayout;
    gridRow->addWidget(new QLabel("Grid:", options));
    cmbGrd = new QComboBox(options);
    for (int i = 3; i <= 50; ++i) {
        cmbGrd->addItem(QString::number(i));
    }
    cmbGrd->installEventFilter(this);
    connect(cmbGrd, &QComboBox::activated, this, [this](int index) {
        run([this, index] {
            model_->cmbGrdIndex = index;
            model_->cmbGrd_Click();
        });
    });
    gridRow->addWidget(cmbGrd, 1);
    optionsLayout->addLayout(gridRow);
    Check1 = new QCheckBox("Snap to grid", options);
    connect(Check1, &QCheckBox::clicked, this, [this](bool checked) {
        run([this, checked] {
            model_->Check1 = checked ? 1 : 0;
            model_->Check1_Click();
        });
    });
    optionsLayout->addWidget(Check1);
    Check2 = new QCheckBox("Show grid", options);
    connect(Check2, &QCheckBox::clicked, this,
            [this](bool checked) { model_->Check2 = checked ? 1 : 0; });
    optionsLayout->addWidget(Check2);
    Command2 = new QPushButton("Refresh", options);
    connect(Command2, &QPushButton::clicked, this,
            [this] { run([this] { model_->Command2_Click(); }); });
    optionsLayout->addWidget(Command2);
    side->addWidget(options);
    side->addStretch(1);

    auto* sideBox = new QWidget(central);
    sideBox->setLayout(side);
    sideBox->setFixedWidth(170);
    row->addWidget(sideBox, 0, Qt::AlignTop);

    setCentralWidget(central);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void frmMainEdit::syncFromModel() {
    const MainEditModel& m = *model_;
    setWindowTitle(q(m.Caption));
    for (QAction* a : {mnuOpenBinary, splitter9, mnuSaveBinary, mnuSaveBinaryAs}) {
        a->setVisible(m.BinaryMenusVisible);
    }
    mnuGuidPic->setChecked(m.mnuGuidPicChecked);
    for (int i = 0; i < editorui::alienKinds; ++i) {
        mnuSetType[i]->setChecked(m.mnuSetTypeChecked[i]);
    }
    for (int i = 0; i < editorui::hitsItems; ++i) {
        mnuSetHits[i]->setChecked(m.mnuSetHitsChecked[i]);
    }
    for (int i = 0; i < editorui::dropsItems; ++i) {
        mnuSetDrops[i]->setChecked(m.mnuSetDropsChecked[i]);
    }
    mnuShoots->setChecked(m.mnuShootsChecked);

    const QSignalBlocker b1(Speed), b2(Text1), b3(cmbGrd), b4(Check1), b5(Check2);
    Speed->setCurrentIndex(m.SpeedIndex);
    if (ansi::fromQString(Text1->text()) != m.Text1) {
        Text1->setText(q(m.Text1));
    }
    cmbGrd->setCurrentIndex(m.cmbGrdIndex);
    Check1->setChecked(m.Check1 == 1);
    Check2->setChecked(m.Check2 == 1);
    if (model_->PaneHasFocus) {
        model_->PaneHasFocus = false;
        Pane->setFocus();
    }
    Pane->update();
    Pane2->update();
}

void frmMainEdit::paintPlaced(QPainter& p) {
    const MainEditModel& m = *model_;
    for (const PlacedPicture& pic : m.Mz) {
        if (pic.Visible && pic.Kind >= 0 && pic.Kind < static_cast<int>(m.CurMonster.size())) {
            p.drawImage(QPointF(pic.Left, pic.Top), m.CurMonster[pic.Kind].Picture->image());
        }
    }
    // The outline of what is being dragged follows the mouse.
    if (dragging_ && dragOverPane_) {
        p.setPen(QPen(Qt::gray, 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(dragPanePoint_.x() - m.GrabX, dragPanePoint_.y() - m.GrabY,
                          m.DragWidth - 1, m.DragHeight - 1));
    }
}

void frmMainEdit::paintPalette(QPainter& p) {
    for (const PaletteItem& item : model_->CurMonster) {
        if (item.Visible && item.Picture) {
            p.drawImage(QPoint(item.Left, item.Top), item.Picture->image());
        }
    }
}

void frmMainEdit::panePressed(QMouseEvent* e) {
    if (dragging_) {
        return;
    }
    const QPointF pos = e->position();
    const bool drag =
        model_->paneMouseDown(buttonOf(e->button()), maskOf(e->modifiers()), pos.x(), pos.y());
    if (drag) {
        dragging_ = true;
        dragOverPane_ = true;
        dragPanePoint_ = pos;
        QApplication::setOverrideCursor(Qt::DragMoveCursor);
    }
    syncFromModel();
}

void frmMainEdit::paneMoved(QMouseEvent* e) {
    if (dragging_) {
        dragMoved(e->globalPosition());
        return;
    }
    const QPointF pos = e->position();
    model_->Pane_MouseMove(buttonsOf(e->buttons()), maskOf(e->modifiers()), pos.x(), pos.y());
}

void frmMainEdit::paneReleased(QMouseEvent* e) {
    if (dragging_) {
        // A drag ends where the left button comes up.
        if (e->button() == Qt::LeftButton) {
            dragFinished(e->globalPosition());
        }
        return;
    }
    const QPointF pos = e->position();
    model_->Pane_MouseUp(buttonOf(e->button()), maskOf(e->modifiers()), pos.x(), pos.y());
}

void frmMainEdit::palettePressed(QMouseEvent* e) {
    if (dragging_) {
        return;
    }
    const QPointF pos = e->position();
    if (model_->paletteMouseDown(buttonOf(e->button()), pos.x(), pos.y())) {
        dragging_ = true;
        dragOverPane_ = false;
        QApplication::setOverrideCursor(Qt::DragCopyCursor);
    }
    syncFromModel();
}

void frmMainEdit::dragMoved(QPointF global) {
    const QPointF inPane = Pane->mapFromGlobal(global);
    const QPointF inPalette = Pane2->mapFromGlobal(global);
    dragOverPane_ = QRectF(Pane->rect()).contains(inPane);
    if (dragOverPane_) {
        dragPanePoint_ = inPane;
        model_->dragOverPane(inPane.x(), inPane.y());
    } else if (QRectF(Pane2->rect()).contains(inPalette)) {
        model_->dragOverPalette(inPalette.x(), inPalette.y());
    } else {
        model_->dragOutside();
    }
    Pane->update();
    Pane2->update();
}

void frmMainEdit::dragFinished(QPointF global) {
    dragging_ = false;
    dragOverPane_ = false;
    QApplication::restoreOverrideCursor();
    const QPointF inPane = Pane->mapFromGlobal(global);
    if (QRectF(Pane->rect()).contains(inPane)) {
        model_->dropOnPane(inPane.x(), inPane.y());
    } else {
        model_->dropElsewhere();
    }
    syncFromModel();
}

void frmMainEdit::releaseModifiers() {
    // A drag whose button came up in another window ends as one dropped off the pane.
    if (dragging_) {
        dragging_ = false;
        dragOverPane_ = false;
        QApplication::restoreOverrideCursor();
        model_->dropElsewhere();
        syncFromModel();
    }
    if (shiftHeld_) {
        shiftHeld_ = false;
        model_->Form_KeyUp(vk::Shift, 0);
    }
    if (altHeld_) {
        altHeld_ = false;
        model_->Form_KeyUp(vk::Menu, 0);
    }
}

bool frmMainEdit::eventFilter(QObject* watched, QEvent* event) {
    if (watched == cmbGrd && event->type() == QEvent::FocusIn) {
        model_->cmbGrd_GotFocus();
        return false;
    }
    if (watched == this && event->type() == QEvent::WindowDeactivate) {
        // Keys released elsewhere never come back here.
        releaseModifiers();
        return false;
    }
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) {
        return false;
    }
    // The window sees each key once, before the control with the focus, and not while a
    // dialog or menu of its own has the keyboard.
    QWidget* focus = QApplication::focusWidget();
    QWidget* receiver = qobject_cast<QWidget*>(watched);
    if (!receiver || receiver->window() != this || (focus && receiver != focus) ||
        QApplication::activeModalWidget() || QApplication::activePopupWidget()) {
        return false;
    }
    auto* key = static_cast<QKeyEvent*>(event);
    const int code = virtualKeyOf(key->key());
    const bool press = event->type() == QEvent::KeyPress;
    const int mask = shiftMaskOf(key->modifiers(), key->key(), press);
    if (press) {
        if (code == vk::Shift) {
            shiftHeld_ = true;
        } else if (code == vk::Menu) {
            altHeld_ = true;
        }
        // Typing in the name box edits the name, never the aliens; while an alien is being
        // dragged only the modifiers count.
        const bool editingKey = code == vk::Delete || (mask & shiftmask::Ctrl);
        const bool modifierKey = code == vk::Shift || code == vk::Control || code == vk::Menu;
        if ((receiver == Text1 && editingKey) || (dragging_ && !modifierKey)) {
            return false;
        }
        if (code == vk::Delete) {
            QApplication::setOverrideCursor(Qt::WaitCursor);
            run([&] { model_->Form_KeyDown(code, mask); });
            QApplication::restoreOverrideCursor();
        } else {
            run([&] { model_->Form_KeyDown(code, mask); });
        }
        // A nudge belongs to the editor alone: the speed list must not step as well.
        const bool arrow = code >= vk::Left && code <= vk::Down;
        return arrow && (mask == shiftmask::Ctrl || mask == shiftmask::Ctrl + shiftmask::Shift);
    }
    if (key->isAutoRepeat()) {
        return false;
    }
    if (code == vk::Shift) {
        shiftHeld_ = false;
    } else if (code == vk::Menu) {
        altHeld_ = false;
    }
    run([&] { model_->Form_KeyUp(code, mask); });
    return false;
}

void frmMainEdit::closeEvent(QCloseEvent* event) {
    int cancel = 0;
    model_->Form_Unload(cancel);
    syncFromModel();
    if (cancel) {
        event->ignore();
    } else {
        event->accept();
    }
}
