#include "frmMain.h"

#include "Ansi.h"
#include "HeldKeyRepeats.h"
#include "IgnoringFailures.h"
#include "InfoModel.h"
#include "MPLAY.h"
#include "SurfaceView.h"
#include "WindowHelpers.h"
#include "frmControl.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPalette>
#include <QProxyStyle>
#include <QScreen>
#include <algorithm>
#include <cmath>

namespace {

// Placement on the pane, in pane units.
constexpr int PlayLeft = 3;
constexpr int PlayTop = 3;
constexpr int SideLeft = 406;
constexpr int SideTop = 3;
constexpr int TimeScalaLeft = 45;
constexpr int TimeScalaTop = 283;
constexpr int InternetLeft = 154; // on the side panel, beside the version line
constexpr int InternetTop = 58;

int px(double v) {
    return static_cast<int>(std::floor(v + 0.5));
}

void place(QWidget* wdg, double x, double y, double w, double h, int scale, bool visible) {
    if (!wdg) {
        return;
    }
    const QRect r(px(x * scale), px(y * scale), px(w * scale), px(h * scale));
    if (wdg->geometry() != r) {
        wdg->setGeometry(r);
    }
    if (wdg->isVisible() != visible) {
        wdg->setVisible(visible);
    }
}

// The game reads every key itself: its menu bar takes no keyboard of its own, neither from
// Alt nor from a menu closed with Esc, where Qt would keep the keys for the menu bar (the
// next Space would open the menu again).
class MenuBarWithoutKeys : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* data) const override {
        if (hint == SH_MenuBar_AltKeyNavigation) {
            return 0;
        }
        return QProxyStyle::styleHint(hint, option, widget, data);
    }
};

void paintBlack(QWidget* wdg) {
    QPalette pal = wdg->palette();
    pal.setColor(QPalette::Window, Qt::black);
    wdg->setPalette(pal);
    wdg->setAutoFillBackground(true);
}

} // namespace

bool MplayMusic::PlayFile(const std::string& file, VbLong loopAtTimePos, bool streamLoop) {
    return p.PlayFile(file, loopAtTimePos, streamLoop);
}
bool MplayMusic::StopFile() {
    return p.StopFile();
}
// The game's music is a module or, from "-musicfile", a stream: either one is playing.
bool MplayMusic::IsPlaying() const {
    return p.IsPlaying() || p.StreamIsPlaying();
}
void MplayMusic::CloseObject() {
    p.CloseObject();
}

frmMain::frmMain(std::string commandLine, QWidget* parent) : QMainWindow(parent) {
    setWindowTitle(QString::fromLatin1(GameTitle));
    // The game reads the keyboard as a table of held keys; a held key's repeats are waste.
    HeldKeyRepeats::instance().dropIn(this);
    form_ = std::make_unique<GameForm>();
    engine_ = std::make_unique<GameEngine>(*form_);
    MPLAY1 = new MPLAY(this);
    MPLAY1->hide();
    music_ = std::make_unique<MplayMusic>(*MPLAY1);
    shell_ = std::make_unique<GameShell>(*form_, *engine_, *this, *music_, std::move(commandLine));

    credits_ = std::make_unique<CreditsSequence>(*form_, *engine_);
    credits_->menuChanged = [this] { syncView(); };
    demo_ = std::make_unique<AttractDemo>(*form_, *engine_, *credits_);
    intro_ = std::make_unique<BootIntro>(*form_, shell_->Flimmer, shell_->aDisk);
    intro_->InitGame = [this] {
        shell_->InitGame();
        syncView();
    };
    cheat_ = std::make_unique<CheatPanelModel>(*form_, *engine_);
    hiscores_ = std::make_unique<HiscoreUi>(*form_, *engine_, this);
    ShellParts& parts = shell_->parts;
    parts.mnuUseInternetHiscore_Click = [this] {
        hiscores_->Internet().mnuUseInternetHiscore_Click();
    };
    parts.mnuUpdateInternetHiscoresNow_Click = [this] {
        hiscores_->Internet().mnuUpdateInternetHiscoresNow_Click();
    };
    parts.InfoWindowOpen = [] { return InfoWindowOpen; };
    parts.InitCredits = [this] { credits_->InitCredits(); };
    parts.StartDemo = [this] { demo_->StartDemo(); };
    parts.EndDemo = [this] { demo_->EndDemo(); };
    parts.mnuCheatPanel_Click = [this] {
        // First shown at the top right of the client area; afterwards where it was dragged.
        if (!cheatPlaced_) {
            cheatPlaced_ = true;
            cheat_->CheatPanel.Left = std::max(0, area_->width() - cheatView_->width());
            cheat_->CheatPanel.Top = 0;
        }
        cheat_->mnuCheatPanel_Click();
    };
    parts.mnuCheatItems_Click = [this](int i) {
        cheat_->mnuCheatItems_Click(static_cast<VbInteger>(i));
    };
    parts.cheatPaneLeftAligned = [this] { return cheat_->leftAlignsGamePane(); };
    parts.mnuShowProcessInfo_Click = [this] { frmControl::toggle(*form_, this); };
    cheat_->Form_Resize = [this] { shell_->Form_Resize(); };
    cheat_->focusPane = [this] { area_->setFocus(); };
    cheat_->EndDemo = [this] { demo_->EndDemo(); };
    cheat_->setNewGameEnabled = [this](bool on) {
        shell_->mnuNewGame.Enabled = on;
        syncView();
    };
    cheat_->changed = [this] {
        if (cheatView_) {
            cheatView_->sync();
        }
    };

    buildViews();
    buildMenus();
    // The views show each drawing by themselves; the layout follows the view fields and the
    // sizes of the pictures.
    layoutWatch_ = std::make_unique<ViewFieldWatch>([this] { queueLayout(); });
    for (Surface* s :
         {form_->pMain.get(), form_->PicDisp.get(), form_->ScoreBG.get(), form_->LevelBG.get(),
          form_->LivesBG.get(), form_->TimeScala.get(), form_->hPic.get(), internetPic_.get(),
          helpPic_.get(), shell_->PaneGradient.get(), intro_->Flimmer.get(), intro_->aDisk.get()}) {
        connect(s, &Surface::resized, this, &frmMain::queueLayout);
    }
}

void frmMain::queueLayout() {
    if (layoutQueued_) {
        return;
    }
    layoutQueued_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            layoutQueued_ = false;
            if (!ended_) {
                placeViews();
            }
        },
        Qt::QueuedConnection);
}

frmMain::~frmMain() {
    layoutWatch_.reset();
    // The views and the parts reach into the record: they go first.
    delete frmControl::instance();
    delete cheatView_;
    cheatView_ = nullptr;
    cheat_.reset();
    hiscores_.reset();
    intro_.reset();
    demo_.reset();
    credits_.reset();
    shell_.reset();
    engine_.reset();
}

void frmMain::buildViews() {
    area_ = new QWidget(this);
    paintBlack(area_);
    area_->setFocusPolicy(Qt::StrongFocus);
    area_->installEventFilter(this);
    setCentralWidget(area_);

    paneWidget_ = new QWidget(area_);
    gradientView_ = new SurfaceView(shell_->PaneGradient.get(), paneWidget_);
    pMainView_ = new SurfaceView(form_->pMain.get(), paneWidget_);
    hPicView_ = new SurfaceView(form_->hPic.get(), paneWidget_);
    internetPic_ = std::make_shared<Surface>(32, 32);
    internetView_ = new SurfaceView(internetPic_.get(), hPicView_);
    internetView_->hide();
    scoreView_ = new SurfaceView(form_->ScoreBG.get(), paneWidget_);
    levelView_ = new SurfaceView(form_->LevelBG.get(), paneWidget_);
    livesView_ = new SurfaceView(form_->LivesBG.get(), paneWidget_);
    for (std::size_t i = 0; i < livesIcons_.size(); ++i) {
        livesIcons_[i] = new QLabel(livesView_);
        livesIcons_[i]->setAttribute(Qt::WA_TransparentForMouseEvents);
        livesIcons_[i]->setScaledContents(true);
        livesIcons_[i]->hide();
    }
    timeScalaView_ = new SurfaceView(form_->TimeScala.get(), paneWidget_);
    picDispView_ = new SurfaceView(form_->PicDisp.get(), pMainView_);
    pauseLabel_ = new QLabel(QStringLiteral("GAME PAUSED"), pMainView_);
    pauseLabel_->setAlignment(Qt::AlignCenter);
    pauseLabel_->setStyleSheet(QStringLiteral("color: #ffff00; background: transparent;"));
    pauseLabel_->hide();
    helpPic_ = std::make_shared<Surface>(400, 420);
    helpPic_->setBackColor(0);
    helpView_ = new SurfaceView(helpPic_.get(), pMainView_);
    helpView_->installEventFilter(this);
    helpView_->hide();
    flimmerView_ = new SurfaceView(intro_->Flimmer.get(), area_);
    diskView_ = new SurfaceView(intro_->aDisk.get(), flimmerView_);
    cheatView_ = new CheatPanel(*cheat_, area_);
    cheatView_->sync();
    flimmerView_->hide();
    diskView_->hide();
}

QAction* frmMain::addItem(QMenu* menu, const char* caption, void (GameShell::*handler)(),
                          bool checkable) {
    QAction* a = menu->addAction(QString::fromLatin1(caption));
    a->setCheckable(checkable);
    connect(a, &QAction::triggered, this, [this, handler] {
        (shell_.get()->*handler)();
        syncView();
    });
    return a;
}

void frmMain::buildMenus() {
    GameForm& f = *form_;
    auto* barStyle = new MenuBarWithoutKeys;
    barStyle->setParent(this); // deleted after the menu bar that uses it
    menuBar()->setStyle(barStyle);
    mnuFile_ = menuBar()->addMenu(QStringLiteral("Game"));
    connect(mnuFile_, &QMenu::aboutToShow, this, [this] { shell_->mnuFile_Click(); });
    mnuNewGame_ = addItem(mnuFile_, "New Game", &GameShell::mnuNewGame_Click);
    items_[mnuNewGame_] = &shell_->mnuNewGame;
    items_[addItem(mnuFile_, "End Game", &GameShell::mnuEndGame_Click)] = &f.mnuEndGame;
    mnuFile_->addSeparator();
    QAction* internet = mnuFile_->addAction(QStringLiteral("Internet Mode"));
    internet->setCheckable(true);
    connect(internet, &QAction::triggered, this, [this] {
        if (shell_->parts.mnuUseInternetHiscore_Click) {
            shell_->parts.mnuUseInternetHiscore_Click();
        }
        syncView();
    });
    items_[internet] = &f.mnuUseInternetHiscore;
    QAction* refresh = mnuFile_->addAction(QStringLiteral("Refresh Hiscores... (F5)"));
    connect(refresh, &QAction::triggered, this, [this] {
        if (shell_->parts.mnuUpdateInternetHiscoresNow_Click) {
            shell_->parts.mnuUpdateInternetHiscoresNow_Click();
        }
    });
    items_[refresh] = &f.mnuUpdateInternetHiscoresNow;
    mnuFile_->addSeparator();
    QMenu* options = mnuFile_->addMenu(QStringLiteral("Options"));
    QMenu* sounds = options->addMenu(QStringLiteral("Sound Effects"));
    items_[addItem(sounds, "Sound effects", &GameShell::mnuSound_Click, true)] = &f.mnuSound;
    sounds->addSeparator();
    items_[addItem(sounds, "Ship shoot sounds", &GameShell::mnuShipShootSounds_Click, true)] =
        &f.mnuShipShootSounds;
    items_[addItem(sounds, "Alien shoot sounds", &GameShell::mnuAlienShootSounds_Click, true)] =
        &f.mnuAlienShootSounds;
    items_[addItem(sounds, "Explosion sounds", &GameShell::mnuExplosionSounds_Click, true)] =
        &f.mnuExplosionSounds;
    QMenu* musicMenu = options->addMenu(QStringLiteral("Music"));
    items_[addItem(musicMenu, "Title music", &GameShell::mnuMusic_Click, true)] = &f.mnuMusic;
    options->addSeparator();
    items_[addItem(options, "Auto Pause", &GameShell::mnuWaitForFire_Click, true)] =
        &f.mnuWaitForFire;
    items_[addItem(options, "Fast messages", &GameShell::mnuFastMessages_Click, true)] =
        &f.mnuFastMessages;
    mnuFile_->addSeparator();
    addItem(mnuFile_, "Show Debug Window (F12)", &GameShell::mnuShowProcessInfo_Click);
    cheatsplitter_ = mnuFile_->addSeparator();
    items_[cheatsplitter_] = &f.cheatsplitter;
    mnuCheat_ = mnuFile_->addMenu(QStringLiteral("Cheats"));
    items_[mnuCheat_->menuAction()] = &f.mnuCheat;
    QAction* panel = mnuCheat_->addAction(QStringLiteral("Show Cheat Panel (F4)"));
    connect(panel, &QAction::triggered, this, [this] {
        if (shell_->parts.mnuCheatPanel_Click) {
            shell_->parts.mnuCheatPanel_Click();
        }
        syncView();
    });
    mnuJumpToLevel_ = mnuCheat_->addMenu(QStringLiteral("Jump to level"));
    mnuFile_->addSeparator();
    addItem(mnuFile_, "Help... (F1)", &GameShell::mnuGameInfo_Click);
    mnuFile_->addSeparator();
    QAction* exitItem = mnuFile_->addAction(QStringLiteral("Exit"));
    connect(exitItem, &QAction::triggered, this, [this] { close(); });
    rebuildJumpMenu();
}

void frmMain::rebuildJumpMenu() {
    jumpCaptions_ = form_->LevelSet.JumpMenuCaptions;
    mnuJumpToLevel_->clear();
    for (std::size_t i = 0; i < jumpCaptions_.size(); ++i) {
        QAction* a = mnuJumpToLevel_->addAction(ansi::toQString(jumpCaptions_[i]));
        const int index = static_cast<int>(i);
        connect(a, &QAction::triggered, this, [this, index] {
            if (shell_->parts.mnuCheatItems_Click) {
                shell_->parts.mnuCheatItems_Click(index);
            }
            syncView();
        });
    }
}

bool frmMain::load() {
    helpPic_->setAutoSize(true);
    // Without its picture the help page stays blank; the game itself does not need it.
    ignoringFailures([&] { helpPic_->LoadPicture(AppPath() + "gfx/hi_color/help.bmp"); });
    intro_->loadDisk(AppPath() + "gfx/hi_color/");
    // The globe is decoration only.
    ignoringFailures([&] { internetPic_->LoadPicture(AppPath() + "gfx/hi_color/internet.bmp"); });
    shell_->Form_Load();
    return !ended_;
}

void frmMain::syncView() {
    for (auto& [action, item] : items_) {
        if (action->isCheckable() && action->isChecked() != item->Checked) {
            action->setChecked(item->Checked);
        }
        action->setEnabled(item->Enabled);
        action->setVisible(item->Visible);
    }
    mnuFile_->menuAction()->setEnabled(form_->mnuFile.Enabled);
    if (jumpCaptions_ != form_->LevelSet.JumpMenuCaptions) {
        rebuildJumpMenu();
    }
    placeViews();
}

void frmMain::placeViews() {
    if (!area_) {
        return;
    }
    GameForm& f = *form_;
    GameShell& s = *shell_;
    const double pw = s.PaneSize.Width;
    const double ph = s.PaneSize.Height;
    const int fit = static_cast<int>(std::min(area_->width() / pw, area_->height() / ph));
    const int scale = std::max(1, fit);
    if (scale != scale_) {
        scale_ = scale;
        // The pane's placement is in pane units: lay it out again for the new scale.
        QTimer::singleShot(0, this, [this] { shell_->Form_Resize(); });
        QFont font = pauseLabel_->font();
        font.setBold(true);
        font.setPixelSize(18 * scale_);
        pauseLabel_->setFont(font);
    }
    const int k = scale_;
    place(paneWidget_, f.Pane.Left, f.Pane.Top, pw, ph, k, true);
    place(gradientView_, 0, 0, pw, ph, k, true);
    place(pMainView_, PlayLeft, PlayTop, f.pMain->Width(), f.pMain->Height(), k, true);
    place(hPicView_, SideLeft, SideTop, f.hPic->Width(), f.hPic->Height(), k, true);
    place(internetView_, InternetLeft, InternetTop, internetPic_->Width(), internetPic_->Height(),
          k, f.InternetModePic.Visible);
    double y = SideTop;
    for (SurfaceView* v : {scoreView_, levelView_, livesView_}) {
        place(v, SideLeft, y, v->surface()->Width(), v->surface()->Height(), k, true);
        y += v->surface()->Height();
    }
    const double livesH = f.LivesBG->Height();
    for (std::size_t i = 0; i < livesIcons_.size(); ++i) {
        QLabel* icon = livesIcons_[i];
        const QImage& pic = f.Lives[i]->Picture();
        if (!pic.isNull() && icon->pixmap().isNull()) {
            icon->setPixmap(QPixmap::fromImage(pic));
        }
        const double iw = pic.isNull() ? 15 : pic.width();
        const double ih = pic.isNull() ? 8 : pic.height();
        place(icon, 70 + 20.0 * static_cast<double>(i), (livesH - ih) / 2, iw, ih, k,
              f.LivesVisible[i] && !pic.isNull());
    }
    place(timeScalaView_, SideLeft + TimeScalaLeft, SideTop + TimeScalaTop, f.TimeScala->Width(),
          f.TimeScala->Height(), k, f.TimeScalaView.Visible);
    place(picDispView_, f.PicDispView.Left, f.PicDispView.Top, f.PicDisp->Width(),
          f.PicDisp->Height(), k, f.PicDispView.Visible);
    place(pauseLabel_, f.lbPause.Left, f.lbPause.Top, f.lbPause.Width, f.lbPause.Height, k,
          f.lbPause.Visible);
    place(helpView_, s.Help.Left, s.Help.Top, helpPic_->Width(), helpPic_->Height(), k,
          s.Help.Visible);
    // The intro covers the whole client area at the window's own pixels.
    const QRect all(0, 0, area_->width(), area_->height());
    if (flimmerView_->geometry() != all) {
        flimmerView_->setGeometry(all);
    }
    if (flimmerView_->isVisible() != s.Flimmer.Visible) {
        flimmerView_->setVisible(s.Flimmer.Visible);
        flimmerView_->raise();
    }
    place(diskView_, s.aDisk.Left, s.aDisk.Top, s.aDisk.Width, s.aDisk.Height, k, s.aDisk.Visible);
    cheatView_->sync();
}

void frmMain::showWindow() {
    if (!isVisible()) {
        show();
        if (wantedOuter_.isValid()) {
            // The window manager's frame is known a moment after the first show.
            QTimer::singleShot(200, this, [this] {
                if (!covering_ && wantedOuter_.isValid()) {
                    setOuterSize(wantedOuter_.width(), wantedOuter_.height());
                }
            });
        }
    }
    syncView();
}

void frmMain::setOuterSize(int width, int height) {
    wantedOuter_ = QSize(width, height);
    // The frame the window manager adds is known once shown; the client gets the rest.
    const QSize frame = isVisible() ? frameGeometry().size() - size() : QSize(0, 0);
    resize(std::max(1, width - frame.width()), std::max(1, height - frame.height()));
}

std::string frmMain::caption() const {
    return ansi::fromQString(windowTitle());
}

void frmMain::setCaption(const std::string& caption) {
    setWindowTitle(ansi::toQString(caption));
}

int frmMain::innerWidth() const {
    return area_ ? area_->width() / std::max(1, scale_) : 0;
}

int frmMain::innerHeight() const {
    return area_ ? area_->height() / std::max(1, scale_) : 0;
}

bool frmMain::minimized() const {
    return isMinimized();
}

void frmMain::minimize() {
    showMinimized();
}

void frmMain::setMenuBarVisible(bool visible) {
    menuBar()->setVisible(visible);
}

void frmMain::setStyleBits(std::uint32_t bits, bool setIt) {
    win::setStyleBits(this, bits, setIt);
}

void frmMain::coverScreen(int width, int height) {
    covering_ = true;
    setGeometry(0, 0, width, height);
    showFullScreen();
}

void frmMain::leaveCoverScreen() {
    if (covering_) {
        covering_ = false;
        showNormal();
        shell_->SetMeSize();
    }
}

void frmMain::focusGame() {
    activateWindow();
    raise();
    area_->setFocus();
}

bool frmMain::programInForeground() const {
    // Until the window was first activated no other program can have taken the front from
    // it (a slow window manager must not end a full-screen start at once).
    return !everActive_ || QApplication::applicationState() == Qt::ApplicationActive ||
           win::foregroundWindow() != nullptr;
}

bool frmMain::gameWindowActive() const {
    return GetActiveHwnd() == this;
}

void frmMain::outerRect(int& x, int& y, int& w, int& h) const {
    const QRect r = frameGeometry();
    x = r.x();
    y = r.y();
    w = r.width();
    h = r.height();
}

void frmMain::endProgram() {
    if (ended_) {
        return;
    }
    ended_ = true;
    layoutWatch_.reset();
    hide();
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
}

void frmMain::closeEvent(QCloseEvent* event) {
    if (ended_) {
        event->accept();
        return;
    }
    VbInteger cancel = 0;
    shell_->Form_QueryUnload(cancel, 0);
    if (cancel != 0 && !ended_) {
        event->ignore();
        syncView();
    } else {
        event->accept();
    }
}

void frmMain::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        everActive_ = true;
    }
    if (event->type() == QEvent::WindowStateChange && shell_) {
        shell_->Form_Resize();
    }
}

void frmMain::Form_MouseUp(int button, const QPoint& globalPos) {
    if (button == 2 && form_->mnuFile.Enabled) {
        mnuFile_->popup(globalPos);
    }
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == area_ && event->type() == QEvent::Resize && shell_) {
        placeViews();
        shell_->Form_Resize();
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        auto* me = static_cast<QMouseEvent*>(event);
        if (watched == helpView_ && me->button() == Qt::LeftButton) {
            shell_->Help_Click();
            return true;
        }
        if (me->button() == Qt::RightButton) {
            Form_MouseUp(2, me->globalPosition().toPoint());
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}
