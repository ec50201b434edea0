#pragma once

#include <cstdint>
#include <string>

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
    // The pen and font a print left behind.
    struct DrawnState {
        double x = 0;
        double y = 0;
        std::int32_t foreColor = 0;
        std::string fontName;
        double fontSize = 0;
        bool fontBold = false;
    };

    void printLine(const std::string& text, bool centred);
    void printLiveRow(const std::string& text, double top);
    void drawPickups();
    void drawWeapons();
    void restore(const DrawnState& state);
    // Everything the panel shows but the fader's colours.
    std::string contentKey(const PanelRows& rows, bool inPlay, const char* missile) const;

    GameForm& f;
    std::string drawnContent_;
    std::uint64_t drawnAtCount_ = 0;
    double liveTop_ = 0;
    DrawnState drawnEnd_;
};
