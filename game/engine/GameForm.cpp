#include "GameForm.h"

namespace {

SurfaceArray makeArray(int n) {
    SurfaceArray a;
    a.reserve(n);
    for (int i = 0; i < n; ++i) {
        a.push_back(std::make_shared<Surface>());
    }
    return a;
}

} // namespace

GameForm::GameForm()
    : pMain(std::make_shared<Surface>(400, 420)), pBack(std::make_shared<Surface>(400, 420)),
      PicDisp(std::make_shared<Surface>(1, 1)), ScoreBG(std::make_shared<Surface>(160, 24)),
      LevelBG(std::make_shared<Surface>(160, 24)), LivesBG(std::make_shared<Surface>(160, 24)),
      TimeScala(std::make_shared<Surface>(100, 8)), Monster0(makeArray(22)), Ship(makeArray(4)),
      Shot(makeArray(4)), AlienShoots(makeArray(2)), Drops(makeArray(10)), RndDrops(makeArray(16)),
      Bonus(makeArray(4)), EBonus(makeArray(2)), Lives(makeArray(7)), sExp(makeArray(16)),
      Exp(makeArray(16)), zExp(makeArray(16)), ExpBig(makeArray(16)), VANTORTSP(makeArray(1)) {
    // Design state of the window.
    pMain->setBackColor(0);
    pBack->setBackColor(0);
    PicDisp->setBackColor(0);
    PicDispView.Visible = false;
    TimeScalaView.Visible = false;
    // The score and level lines carry a one-pixel shadow: a larger bold face keeps the
    // digits and the thousands commas apart at the window's own size.
    for (Surface* display : {ScoreBG.get(), LevelBG.get()}) {
        display->setFontName("Arial");
        display->setFontSize(10);
        display->setFontBold(true);
    }
    hPic = std::make_shared<Surface>(190, 420);
    hPic->setBackColor(0);
    InternetModePic.Visible = false;
    lbPause.Visible = false;
    LivesVisible.fill(false);
    mnuSound.Checked = true;
    mnuMusic.Checked = true;
    mnuShipShootSounds.Checked = false;
    mnuFastMessages.Checked = true;
    mnuAlienShootSounds.Checked = true;
    mnuExplosionSounds.Checked = true;
    mnuCheat.Visible = false;
    cheatsplitter.Visible = false;

    MainLoop.setInterval(10);
    MoveAliensTimer.setInterval(1000);
    AlienShootTimer.setInterval(1000);
    ShootTimer.setInterval(120);
    PlaceShipTimer.setInterval(10);
    SpriteAnimation.setInterval(500);
    FastAnimationTimer.setInterval(25);
    EndExplosion.setInterval(50);
    CantDieTimer.setInterval(5000);
    FrozenAliensTimer.setInterval(10000);
    FrozenAliensCounter.setInterval(100);
    PaintDisplayTimer.setInterval(50);
    HideMessage.setInterval(5);
    HideFade.setInterval(50);
    FadeTimer.setInterval(50);
    FlashTimer.setInterval(10);
    ShakeTimer.setInterval(30);
    PauseTimer.setInterval(500);
    HiscorePrintTimer.setInterval(30);
    CreditTimer.setInterval(5);
    UpdateGradient.setInterval(1000);
    FocusTimer.setInterval(250);
    FlimmerTimer.setInterval(20);
    DemoSpriteAnimation.setInterval(20);
    CheckForgroundWindow.setInterval(500);
    c64Screen.setInterval(500);
    DemoTimer.setInterval(50);
    DemoFrameTimer.setInterval(250);
    AutoDump.setInterval(2000);
    HiscorePrintTimer.setEnabled(true);
    CheckForgroundWindow.setEnabled(true);

    Aliens.resize(1);
}

std::array<dx8Sound, 9>* GameForm::soundArray(int id) {
    switch (id) {
    case 101:
        return &Sound101;
    case 102:
        return &Sound102;
    case 103:
        return &Sound103;
    case 104:
        return &Sound104;
    case 105:
        return &Sound105;
    case 106:
        return &Sound106;
    case 107:
        return &Sound107;
    case 108:
        return &Sound108;
    case 109:
        return &Sound109;
    default:
        return nullptr;
    }
}
