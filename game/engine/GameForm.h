#pragma once

#include "ColorFader.h"
#include "DirectX7Display.h"
#include "LevelsAndHiscores.h"
#include "Sprite.h"
#include "Surface.h"
#include "Timer.h"
#include "VbTypes.h"
#include "ViewField.h"
#include "dx8Sound.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// One entry of the recent-pickups ring.
struct PickupRec {
    VbInteger PickupType = -1; // -1: empty, or used up by a combo
    double PickupTime = 0;     // seconds since midnight
};

// What the game reads of a menu item.
struct MenuItem {
    bool Checked = false;
    bool Enabled = true;
    bool Visible = true;
};

// Placement and visibility of a control on the window (the window shows the model).
struct ControlView {
    ViewField<double> Left = 0;
    ViewField<double> Top = 0;
    ViewField<double> Width = 0;
    ViewField<double> Height = 0;
    ViewField<bool> Visible = true;
};

using SurfaceArray = std::vector<std::shared_ptr<Surface>>;

// Program-wide: start-up finished its sound step without a sound error. While it is False
// every effect goes through the fallback wave player.
inline bool DirectSoundReady = false;

// The game window's record: its pictures, timers, the few view fields the game touches and
// the window-level variables. The window shows this model and forwards events to it; the
// engine's handlers work on it, so whole games run without a screen.
struct GameForm {
    GameForm();
    GameForm(const GameForm&) = delete;
    GameForm& operator=(const GameForm&) = delete;

    // ---- pictures ----
    std::shared_ptr<Surface> pMain;     // the visible play pane
    std::shared_ptr<Surface> pBack;     // its clean background
    std::shared_ptr<Surface> PicDisp;   // the message overlay
    std::shared_ptr<Surface> ScoreBG;   // score display
    std::shared_ptr<Surface> LevelBG;   // level display
    std::shared_ptr<Surface> LivesBG;   // lives panel
    std::shared_ptr<Surface> TimeScala; // freeze time bar
    std::shared_ptr<Surface> hPic;      // the side panel: version, hiscores, pickups
    // Frame pictures (image above, mask below), filled by LoadBitmaps.
    SurfaceArray Monster0;    // 22
    SurfaceArray Ship;        // 4
    SurfaceArray Shot;        // 4
    SurfaceArray AlienShoots; // 2
    SurfaceArray Drops;       // 10
    SurfaceArray RndDrops;    // 16
    SurfaceArray Bonus;       // 4
    SurfaceArray EBonus;      // 2
    SurfaceArray Lives;       // 7 spare-ship icons
    SurfaceArray sExp;        // 16
    SurfaceArray Exp;         // 16
    SurfaceArray zExp;        // 16
    SurfaceArray ExpBig;      // 16
    SurfaceArray VANTORTSP;   // 1

    // ---- view fields ----
    ControlView PicDispView; // overlay position and visibility
    ControlView Pane;        // the frame that holds pMain; the shake moves it
    ControlView lbPause;     // the pause label
    ControlView TimeScalaView;
    ControlView InternetModePic; // the blinking internet-mode globe
    std::array<ViewField<bool>, 7> LivesVisible{};

    // ---- menu items and cheat boxes the game reads ----
    MenuItem mnuFile;
    MenuItem mnuEndGame;
    MenuItem mnuCheat;
    MenuItem cheatsplitter;
    MenuItem mnuWaitForFire;
    MenuItem mnuFastMessages;
    MenuItem mnuSound;
    MenuItem mnuMusic;
    MenuItem mnuShipShootSounds;
    MenuItem mnuAlienShootSounds;
    MenuItem mnuExplosionSounds;
    MenuItem mnuUseInternetHiscore;
    MenuItem mnuUpdateInternetHiscoresNow;
    bool CheatCheckNoPoints = false;        // "Don't give points"
    bool CheatCheckNoReset = false;         // "Don't reset options upon die"
    bool CheatCheckAlienCantDie = false;    // "ALIEN GOD MODE"
    bool CheatCheckShield = false;          // "SHIP GOD MODE"
    bool CheatCheckAliensDontMove = false;  // "Aliens don't move down"
    bool CheatCheckAliensDontShoot = false; // "Aliens don't shoot"
    bool CheatCheckShakeOff = false;        // "Disable shakes"

    // ---- timers (design intervals; start-up and the game set the run-time ones) ----
    Timer MainLoop;
    Timer MoveAliensTimer;
    Timer AlienShootTimer;
    Timer ShootTimer;
    Timer PlaceShipTimer;
    Timer SpriteAnimation;
    Timer FastAnimationTimer;
    Timer EndExplosion;
    Timer CantDieTimer;
    Timer FrozenAliensTimer;
    Timer FrozenAliensCounter;
    Timer PaintDisplayTimer;
    Timer HideMessage;
    Timer HideFade;
    Timer FadeTimer;
    Timer FlashTimer;
    Timer ShakeTimer;
    Timer PauseTimer;
    Timer HiscorePrintTimer;
    Timer CreditTimer;
    Timer UpdateGradient;
    Timer FocusTimer;
    Timer FlimmerTimer;
    Timer DemoSpriteAnimation;
    Timer CheckForgroundWindow;
    Timer c64Screen;
    Timer DemoTimer;
    Timer DemoFrameTimer;
    Timer AutoDump;

    // ---- window-level variables ----
    VbLong Score = 0;
    VbInteger AutoDumpCount = 0;
    std::string ServerAddress;
    std::string ServerPassword;
    std::string ServerPort;
    std::vector<Sprite> Aliens;
    std::array<Sprite, 20> Shots;
    Sprite WeaponIcon;
    std::array<Sprite, 10> ExpSprites;
    std::array<Sprite, 10> zExpSprites;
    std::array<Sprite, 10> ExpBigSprites;
    std::array<Sprite, 10> DropSprites;
    Sprite RndDropsSprite;
    std::array<Sprite, 6> AlienShotSprites;
    Sprite ShipSprite;
    std::array<Sprite, 10> BonusSprites;
    Sprite ShipExplosion;
    std::array<Sprite, 5> sExpSprites;
    Sprite EBonusSprite;
    bool DeveloperMode = false;
    // The level set and its hiscores: Levels, BinaryLevels, CurrentLevelFile, Hiscores.
    LevelsAndHiscores LevelSet;
    std::vector<LevelRec>& Levels = LevelSet.Levels;
    bool SlowPCMode = false;
    std::array<PickupRec, 6> RecentPickups{};
    VbInteger AliensAlive = 0;
    bool CheatPanelDrag = false;
    VbInteger CheatPanelDragX = 0;
    VbInteger CheatPanelDragY = 0;
    VbLong MessageColor = 0;
    bool CheatMode = false;
    VbInteger StartFromLevel = 0;
    bool Loading = false;
    std::string MusicFile;
    VbInteger DemoState = 0;
    VbInteger JoystickButton = 0;
    VbInteger JoystickTune = 0;
    bool MirrorControls = false;
    bool FullScreenWanted = false;
    VbInteger ShakeStrength = 20;
    VbInteger StartLives = 4;
    bool Paused = false;
    double FreezeStartTime = 0;
    VbInteger MessageFadeState = 0;
    VbInteger Weapon = 0;
    VbInteger AlienStepBase = 4;
    VbInteger AlienDropStep = 8;
    VbInteger ShotSpeed = 8;
    VbInteger AlienShotSpeed = 4;
    VbInteger ShipSpeed = 5;
    VbInteger DropSpeed = 1;
    VbInteger ShieldLineY = 375;
    std::string GfxPath;
    ColorFader HiscoreFader;
    VbInteger FadeInterval = 30;
    bool InFullScreen = false;
    bool HiscorePending = false;
    VbInteger AlienMoveInterval = 0;
    bool AliensNearShield = false;
    VbLong ShieldLineColor = 0;
    VbInteger AlienStep = 0;
    VbInteger CurrentLevel = 0;
    bool FireHeld = false;
    VbInteger ShipStartY = 0;
    VbInteger ShipNewX = 0;
    VbInteger ShipNewY = 0;
    bool MissileSwirler = false;
    bool MissileWaver = false;
    bool GameOverFlag = true;
    VbInteger LivesLeft = 0;
    VbInteger Cannons = 1;
    bool LevelStarting = false;
    VbInteger ShipState = 0;
    bool SoundAvailable = false;
    std::string MessageText;
    VbInteger CreditIndex = 0;
    ColorFader MessageFader;
    bool CreditsRunning = false;
    VbInteger ScoreMultiplier = 1;
    VbInteger DesktopFreq = 0;
    VbInteger DesktopWidth = 0;
    VbInteger DesktopHeight = 0;
    VbInteger DesktopBits = 0;
    bool WaitingForFire = false;
    std::array<dx8Sound, 9> Sound101;
    std::array<dx8Sound, 9> Sound102;
    std::array<dx8Sound, 9> Sound103;
    std::array<dx8Sound, 9> Sound104;
    std::array<dx8Sound, 9> Sound105;
    std::array<dx8Sound, 9> Sound106;
    std::array<dx8Sound, 9> Sound107;
    std::array<dx8Sound, 9> Sound108;
    std::array<dx8Sound, 9> Sound109;
    std::array<dx8Sound, 3> Sound110To112;
    dx8Sound Sound113;
    std::unique_ptr<DirectX7Display> Display; // created on first use
    VbInteger ModeBits = 0;
    VbLong ModeWidth = 0;
    VbLong ModeHeight = 0;
    VbLong ModeFreq = 0;

    // The buffers of sound id 101..109 (nullptr for any other id).
    std::array<dx8Sound, 9>* soundArray(int id);
};
