#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct GameForm;
struct PanelRows;
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
    // The font the rows and the weapon's caption are printed in.
    void useRowFont();
    void printLiveRow(const std::string& text, double top);
    // The recent pickups younger than five seconds, in the ring's order.
    std::vector<int> shownPickups() const;
    // Returns the row below the lowest pixel drawn.
    int drawPickups(const std::vector<int>& types);
    void drawWeapons();
    void printMissile(const char* missile);
    // Where the band the weapon's wobble and the missile name change begins, given the row
    // below everything printed above them; -1 when no band holds them alone.
    int weaponBandTop(int aboveWeapons) const;
    // Everything the panel shows but the fader's colours.
    std::string contentKey(const PanelRows& rows, const std::vector<int>& pickups,
                           const char* missile) const;

    GameForm& f;
    std::string drawnContent_;
    std::uint64_t drawnAtCount_ = 0;
    double liveTop_ = 0;
    int weaponBandTop_ = -1;
};
