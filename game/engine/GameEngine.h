#pragma once

#include "GameForm.h"
#include "VbTypes.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>

// The score as the display shows it: at least three digits, thousands grouped.
std::string FormatPoints(VbLong score);

// The play core of the game window: the tick handlers and procedures of the game, working
// on the window's record. Construct it after the record; it takes over the play timers'
// tick handlers.
class GameEngine {
public:
    explicit GameEngine(GameForm& form);
    ~GameEngine();
    GameEngine(const GameEngine&) = delete;
    GameEngine& operator=(const GameEngine&) = delete;

    GameForm& form() { return f; }

    // What the engine calls in the rest of the window (cheat panel, pause).
    std::function<void()> UpdateCheatPane;
    std::function<void()> SetPause;
    // The simple wave player used while the sound buffers are not ready.
    std::function<void(const std::string& file)> fallbackSoundPlayer;

    // ---- main loop tick and its helpers ----
    void MainLoop_Timer();
    void DrawShieldLine();
    void RestoreBackgrounds();
    void RestoreFastBackgrounds();
    bool AllAliensAreDead() const;
    bool MovingObjects() const;
    bool ActiveExplosions() const;

    // ---- collisions, hits and pickups ----
    void GivePoints(VbLong points);
    void AddBonus(VbInteger kind, VbInteger x, VbInteger y, bool big);
    void CheckCollisions();

    // ---- level in play ----
    void ResetPlayerData();
    void ClearPickups();
    void ResetLevelStatus();
    void ResetShipData();
    void InitLevel(VbInteger& Level);
    void StartLevel(VbInteger& Level);
    void StartGame();

    // ---- alien march and fire ----
    void MoveAliensTimer_Timer();
    void AlienShootTimer_Timer();
    void FrozenAliensTimer_Timer();
    void FrozenAliensCounter_Timer();

    // ---- ship placement and player fire ----
    void PlaceShip(bool Animated);
    void PlaceShipTimer_Timer();
    void GiveNewShip(VbInteger Delta);
    void CantDieTimer_Timer();
    void ShootTimer_Timer();

    // ---- explosions, level end, game over ----
    void FastAnimationTimer_Timer();
    void SpriteAnimation_Timer();
    void GameOver();
    void EndExplosion_Timer();

    // ---- messages, displays and effects ----
    void PrintMessage(const std::string& Text, VbInteger Duration, VbLong Color, VbLong FadeFrom,
                      float FontSize);
    void HideMessageNOW();
    void UpdatePointsDisplay();
    void UpdateLevelDisplay();
    void FlashNow(VbInteger Interval);
    void ShakeNow(VbInteger Strength);
    void RndShake(VbInteger Strength);
    void PaintDisplayTimer_Timer();
    void FadeTimer_Timer();
    void HideMessage_Timer();
    void HideFade_Timer();
    void FlashTimer_Timer();
    void ShakeTimer_Timer();
    void PauseTimer_Timer();

    // ---- bitmaps and sprite sets ----
    // Raises VbError at the first picture that cannot be loaded.
    void LoadBitmaps();
    // pBack from pMain, one alien, and every sprite set from the loaded pictures.
    void BuildSpriteSets();

    // ---- sound effects ----
    void LocalPlaySound(VbInteger id);

    // Kept between calls of their procedures (exposed for tests and the debug panel).
    VbInteger MarchDirection = 0; // 0 left, 1 right
    VbInteger CannonSide = 0;     // 0 left, 1 right
    VbInteger PickupRingIndex = 0;
    VbInteger EndExplosionFrame = 0;
    bool FlashOn = false;
    VbInteger ShakeCounter = 0;
    VbInteger ShakeHomeLeft = 0;
    VbInteger ShakeHomeTop = 0;
    bool ShakeReturning = false;
    std::array<std::uint32_t, 13> LastSoundTime{}; // ids 101..113
    std::array<bool, 13> SoundStarted{};
    std::array<VbInteger, 9> SoundChannel{}; // ids 101..109

private:
    void startExplosion(Sprite* set, int n, const Sprite& at, VbInteger sound, bool& started);
    void startShipExplosion();
    // Erases and retires everything in flight once play has stopped for good.
    void retireMovingSprites();
    // MainLoop_Timer's steps, in its order.
    bool playIsOnHold();
    void riseBigScorePopup();
    void drawShipExplosion();
    void drawAliens();
    void steerShip();
    void riseScorePopups();
    void drawShip();
    void movePickups();
    void drawExplosions();
    void moveAlienShots();
    void moveShots();
    void soundExplosionOnce(Sprite& explosion);
    void shotsAgainstAliens();
    void alienShotsAgainstShip();
    void aliensAgainstShip();
    void shipAgainstPickups();
    void updateCheatPane();
    void printDisplay(Surface& s, const std::string& text);

    GameForm& f;
};
