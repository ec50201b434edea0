#include "CheatPanel.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QVBoxLayout>

namespace {

// Button as the panel's handlers count it: 1 left, 2 right, 4 middle.
int vbButton(Qt::MouseButtons b) {
    int n = 0;
    if (b & Qt::LeftButton) {
        n |= 1;
    }
    if (b & Qt::RightButton) {
        n |= 2;
    }
    if (b & Qt::MiddleButton) {
        n |= 4;
    }
    return n;
}

int vbShift(Qt::KeyboardModifiers m) {
    return (m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) |
           (m & Qt::AltModifier ? 4 : 0);
}

// Panel controls never take the keyboard: the game keys stay with the pane.
template <typename W> W* noFocus(W* w) {
    w->setFocusPolicy(Qt::NoFocus);
    return w;
}

void compact(QLayout* l) {
    l->setContentsMargins(4, 2, 4, 2);
    l->setSpacing(1);
}

} // namespace

CheatPanel::CheatPanel(CheatPanelModel& model, QWidget* gameWindow)
    : QFrame(gameWindow), model_(model) {
    setObjectName("CheatPanel");
    setFrameShape(QFrame::Box);
    // A panel of its own colours, whatever the game area behind it uses.
    QPalette pal = QApplication::style()->standardPalette();
    pal.setColor(QPalette::Window, QColor(212, 208, 200));
    pal.setColor(QPalette::WindowText, Qt::black);
    setPalette(pal);
    setAutoFillBackground(true);
    QFont small = font();
    small.setPixelSize(11);
    setFont(small);
    auto* top = new QVBoxLayout(this);
    top->setContentsMargins(3, 0, 3, 3);
    top->setSpacing(1);

    // Title bar with the heading and the close button.
    auto* titleBar = new QWidget(this);
    titleBar->setObjectName("CheatPanelTitle");
    titleBar->setAutoFillBackground(true);
    QPalette tp = titleBar->palette();
    tp.setColor(QPalette::Window, QColor(0, 0, 128));
    tp.setColor(QPalette::WindowText, Qt::white);
    titleBar->setPalette(tp);
    auto* titleRow = new QHBoxLayout(titleBar);
    titleRow->setContentsMargins(5, 1, 1, 1);
    auto* heading = new QLabel("Cheat Control Panel", titleBar);
    heading->setAttribute(Qt::WA_TransparentForMouseEvents);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    titleRow->addWidget(heading, 1);
    auto* close = noFocus(new QPushButton("X", titleBar));
    close->setObjectName("CheatBtnCloseCheatPanel");
    close->setFixedWidth(22);
    connect(close, &QPushButton::clicked, this, [this] { model_.CheatBtnCloseCheatPanel_Click(); });
    titleRow->addWidget(close);
    titleBar->setAttribute(Qt::WA_TransparentForMouseEvents, false);
    top->addWidget(titleBar);

    top->addWidget(addBox(CheatBox::LeftAlignGamePane, "CheatCheckLeftAlignGamePane",
                          "Left-align game pane when this window is open", this));

    QGroupBox* common = addFrame("Frame1", "Common options", this);
    auto* cl = new QVBoxLayout(common);
    compact(cl);
    cl->addWidget(
        addBox(CheatBox::AlienCantDie, "CheatCheckAlienCantDie", "ALIEN GOD MODE", common));
    cl->addWidget(addBox(CheatBox::ShakeOff, "CheatCheckShakeOff", "Disable shakes", common));
    cl->addWidget(
        addBox(CheatBox::NoReset, "CheatCheckNoReset", "Don't reset options upon die", common));
    cl->addWidget(addBox(CheatBox::AliensDontShoot, "CheatCheckAliensDontShoot",
                         "Aliens don't shoot", common));
    cl->addWidget(addBox(CheatBox::NoPoints, "CheatCheckNoPoints", "Don't give points", common));
    cl->addWidget(addBox(CheatBox::AliensDontMove, "CheatCheckAliensDontMove",
                         "Aliens don't move down", common));
    top->addWidget(common);

    QGroupBox* other = addFrame("Frame2", "Other options", this);
    auto* ol = new QGridLayout(other);
    compact(ol);
    auto addButton = [this, other](const char* name, const char* caption, auto action) {
        auto* b = noFocus(new QPushButton(caption, other));
        b->setObjectName(name);
        connect(b, &QPushButton::clicked, this, action);
        return b;
    };
    ol->addWidget(addButton("Command3", "Give points..", [this] { model_.Command3_Click(); }), 0,
                  0);
    ol->addWidget(addBox(CheatBox::MirrorCtrls, "CheatCheckMirrorCtrls", "Mirror Controls", other),
                  0, 1);
    ol->addWidget(addBox(CheatBox::Shield, "CheatCheckShield", "SHIP GOD MODE", other), 1, 1);
    ol->addWidget(addButton("CheatBtnLife0", "Give life", [this] { model_.CheatBtnLife_Click(0); }),
                  1, 0);
    ol->addWidget(addButton("CheatBtnLife1", "Take life", [this] { model_.CheatBtnLife_Click(1); }),
                  2, 0);
    ol->addWidget(addButton("CheatBtnFreezeAliens", "Freeze Aliens",
                            [this] { model_.CheatBtnFreezeAliens_Click(); }),
                  2, 1);
    ol->addWidget(addButton("Command1", "Shake Pane", [this] { model_.Command1_Click(); }), 3, 0);
    ol->addWidget(addButton("Command2", "Flash Pane", [this] { model_.Command2_Click(); }), 3, 1);
    top->addWidget(other);

    QGroupBox* weapons = addFrame("Frame3", "Weapons", this);
    auto* wl = new QHBoxLayout(weapons);
    compact(wl);
    QGroupBox* type = addFrame("Frame4", "Type", weapons);
    auto* tl = new QVBoxLayout(type);
    compact(tl);
    const char* names[4] = {"Normal", "Mega Missile", "Heavy Missile", "Bomb"};
    for (int i = 0; i < 4; ++i) {
        auto* r = noFocus(new QRadioButton(names[i], type));
        r->setObjectName(QString("CheatWeapon%1").arg(i));
        weapons_[i] = r;
        connect(r, &QRadioButton::clicked, this, [this, i] {
            if (!syncing_) {
                model_.setWeaponOption(i);
                sync();
            }
        });
        tl->addWidget(r);
    }
    wl->addWidget(type);
    QGroupBox* addOn = addFrame("Frame5", "Add-on", weapons);
    auto* al = new QVBoxLayout(addOn);
    compact(al);
    al->addWidget(addBox(CheatBox::DblCanons, "CheatWeaponAddOnDblCanons", "Double-canons", addOn));
    al->addWidget(addBox(CheatBox::MissileWaver, "CheatCheckMissileWaver", "Missile Waver", addOn));
    al->addWidget(
        addBox(CheatBox::MissileSwirler, "CheatCheckMissileSwirler", "Missile Swirler", addOn));
    wl->addWidget(addOn);
    top->addWidget(weapons);

    adjustSize();
    model_.CheatPanel.Width = width();
    model_.CheatPanel.Height = height();
    model_.changed = [this] { sync(); };
    sync();
}

CheatPanel::~CheatPanel() {
    model_.changed = nullptr;
}

QCheckBox* CheatPanel::addBox(CheatBox b, const char* name, const char* caption, QWidget* parent) {
    auto* c = noFocus(new QCheckBox(caption, parent));
    c->setObjectName(name);
    boxes_[b] = c;
    connect(c, &QCheckBox::clicked, this, [this, b](bool on) {
        if (!syncing_) {
            model_.setChecked(b, on);
            sync();
        }
    });
    return c;
}

QGroupBox* CheatPanel::addFrame(const char* name, const char* caption, QWidget* parent) {
    auto* g = new QGroupBox(caption, parent);
    g->setFlat(false);
    g->setObjectName(name);
    g->installEventFilter(this);
    return g;
}

QAbstractButton* CheatPanel::button(const char* name) const {
    return findChild<QAbstractButton*>(name);
}

void CheatPanel::sync() {
    syncing_ = true;
    for (auto& [b, c] : boxes_) {
        const QSignalBlocker block(c);
        c->setChecked(model_.checked(b));
    }
    for (int i = 0; i < 4; ++i) {
        const QSignalBlocker block(weapons_[i]);
        weapons_[i]->setChecked(model_.weaponOption() == i);
    }
    syncing_ = false;
    move(static_cast<int>(model_.CheatPanel.Left), static_cast<int>(model_.CheatPanel.Top));
    if (model_.CheatPanel.Visible && isHidden()) {
        setVisible(true);
        raise(); // over the game pane
    } else if (!model_.CheatPanel.Visible && !isHidden()) {
        setVisible(false);
    }
}

bool CheatPanel::eventFilter(QObject* watched, QEvent* event) {
    // A click on a frame's background gives the keys back to the game pane and goes no
    // further (it does not start a drag).
    if (event->type() == QEvent::MouseButtonPress && qobject_cast<QGroupBox*>(watched)) {
        model_.Frame_Click();
        return true;
    }
    return QFrame::eventFilter(watched, event);
}

void CheatPanel::mousePressEvent(QMouseEvent* event) {
    model_.CheatPanel_MouseDown(vbButton(event->button()), vbShift(event->modifiers()),
                                event->position().x(), event->position().y());
}

void CheatPanel::mouseMoveEvent(QMouseEvent* event) {
    model_.CheatPanel_MouseMove(vbButton(event->buttons()), vbShift(event->modifiers()),
                                event->position().x(), event->position().y());
    sync();
}

void CheatPanel::mouseReleaseEvent(QMouseEvent* event) {
    model_.CheatPanel_MouseUp(vbButton(event->button()), vbShift(event->modifiers()),
                              event->position().x(), event->position().y());
}
