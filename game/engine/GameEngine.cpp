#include "GameEngine.h"

GameEngine::GameEngine(GameForm& form) : f(form) {
    f.MainLoop.onTick = [this] { MainLoop_Timer(); };
    // The game loop's tick is the frame: whatever else drew since shows with it.
    f.MainLoop.setPacesFrames(true);
    f.MoveAliensTimer.onTick = [this] { MoveAliensTimer_Timer(); };
    f.AlienShootTimer.onTick = [this] { AlienShootTimer_Timer(); };
    f.ShootTimer.onTick = [this] { ShootTimer_Timer(); };
    f.PlaceShipTimer.onTick = [this] { PlaceShipTimer_Timer(); };
    f.SpriteAnimation.onTick = [this] { SpriteAnimation_Timer(); };
    f.FastAnimationTimer.onTick = [this] { FastAnimationTimer_Timer(); };
    f.EndExplosion.onTick = [this] { EndExplosion_Timer(); };
    f.CantDieTimer.onTick = [this] { CantDieTimer_Timer(); };
    f.FrozenAliensTimer.onTick = [this] { FrozenAliensTimer_Timer(); };
    f.FrozenAliensCounter.onTick = [this] { FrozenAliensCounter_Timer(); };
    f.PaintDisplayTimer.onTick = [this] { PaintDisplayTimer_Timer(); };
    f.HideMessage.onTick = [this] { HideMessage_Timer(); };
    f.HideFade.onTick = [this] { HideFade_Timer(); };
    f.FadeTimer.onTick = [this] { FadeTimer_Timer(); };
    f.FlashTimer.onTick = [this] { FlashTimer_Timer(); };
    f.ShakeTimer.onTick = [this] { ShakeTimer_Timer(); };
    f.PauseTimer.onTick = [this] { PauseTimer_Timer(); };
}

GameEngine::~GameEngine() {
    // The record outlives the engine; its timers must not call into a gone engine.
    for (Timer* t :
         {&f.MainLoop, &f.MoveAliensTimer, &f.AlienShootTimer, &f.ShootTimer, &f.PlaceShipTimer,
          &f.SpriteAnimation, &f.FastAnimationTimer, &f.EndExplosion, &f.CantDieTimer,
          &f.FrozenAliensTimer, &f.FrozenAliensCounter, &f.PaintDisplayTimer, &f.HideMessage,
          &f.HideFade, &f.FadeTimer, &f.FlashTimer, &f.ShakeTimer, &f.PauseTimer}) {
        t->onTick = nullptr;
    }
}
