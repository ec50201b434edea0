#pragma once

#include <cstdint>
#include <string>

struct GameForm;
class Surface;

// The side panel hPic: version, the top-10 table with the running score's live place, the
// recent pickups, the weapon and the special-missile text. HiscorePrintTimer repaints it.
class HiscorePanel {
public:
    explicit HiscorePanel(GameForm& form);

    // Prints Text on one line, centred; Big prints it in 12 point bold.
    static void PrintCentered(Surface& Pic, const std::string& Text, bool Big);
    void PrintHiscores();
    // The timer tick: repaint and the blink of the internet-mode globe.
    void HiscorePrintTimer_Timer();

    // "VERSION major.minor.revision".
    static std::string versionText();

    // Kept for the whole run.
    std::int32_t TickCounter = 0;
    double WobbleA = 0;
    double WobbleB = 0;

private:
    void printLine(const std::string& text, bool centred);
    void drawPickups();
    void drawWeapons();

    GameForm& f;
};
