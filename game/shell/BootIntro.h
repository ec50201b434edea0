#pragma once

#include "GameForm.h"
#include "Surface.h"
#include "VbTypes.h"

#include <functional>
#include <memory>
#include <string>

// The retro boot screen shown before the game is set up: a screen that brightens from grey
// to white, a floppy disk, then a burst of flickering colour stripes. It ends by calling
// InitGame, once. Takes over the ticks of c64Screen and FlimmerTimer; the window enables
// c64Screen to start it (after setting 1500 ms before a full-screen switch). The window
// keeps the placement of the two intro pictures (its resize step sizes Flimmer to the
// client area and centres the disk); the intro draws into Flimmer at that size.
class BootIntro {
public:
    BootIntro(GameForm& form, ControlView& flimmerView, ControlView& diskView);
    ~BootIntro();
    BootIntro(const BootIntro&) = delete;
    BootIntro& operator=(const BootIntro&) = delete;

    // Called when the stripes are over.
    std::function<void()> InitGame;
    // The placement or visibility of Flimmer or the disk changed (the window shows it).
    std::function<void()> changed;

    // The intro's "screen" (starts mid grey) and the disk picture, with their placement.
    std::shared_ptr<Surface> Flimmer;
    std::shared_ptr<Surface> aDisk;
    ControlView& FlimmerView;
    ControlView& aDiskView;

    // The disk picture from the picture folder; false (and a blank disk) when it cannot be
    // read, which costs nothing but the decoration.
    bool loadDisk(const std::string& gfxPath);
    // The window's resize step for the intro: while Flimmer is visible it covers the client
    // area and the disk sits in its middle.
    void layout(double innerWidth, double innerHeight);
    // Flimmer's pixels at the size its placement says (done before each drawing tick).
    void fitFlimmer();

    void c64Screen_Timer();
    void FlimmerTimer_Timer();

    // Kept from one tick to the next, never reset (exposed for tests).
    VbInteger BootStep = 0;
    VbInteger StripeTick = 0;
    VbInteger StripePhase = 0;

    // The 16 console colours (game colours), black .. bright white.
    static std::int32_t consoleColor(int index);

private:
    void tellChanged();

    GameForm& f;
};
