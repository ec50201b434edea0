#include "HiscorePanel.h"

#include "Clock.h"
#include "Color.h"
#include "GameForm.h"
#include "HiscoreText.h"
#include "InternetRequests.h"
#include "Numbers.h"
#include "ProgramVersion.h"
#include "TextCase.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr std::int32_t Yellow = color::rgb(255, 255, 0);
constexpr std::int32_t Red = color::rgb(255, 0, 0);
constexpr int LeftMargin = 3;
constexpr int LineOverlap = 4;
constexpr int PickupRowCentreY = 305;
constexpr int PickupGap = 4;
constexpr int WeaponCentreY = 340;
constexpr int WeaponPairOffset = 12;
// Below the icon and clear of its wobble: without it the icon reads as a stray shot.
constexpr int WeaponCaptionTop = 358;
constexpr int WobbleReach = 10;
constexpr int MissileTop = 400;

// The frame (width, height) of a picture that holds image over mask.
bool frameSize(const Sprite& s, int frame, int& w, int& h) {
    if (frame < 0 || frame > s.PictureCount() || !s.Picture(static_cast<VbInteger>(frame))) {
        return false;
    }
    w = s.Picture(static_cast<VbInteger>(frame))->Width();
    h = s.Picture(static_cast<VbInteger>(frame))->Height() / 2;
    return true;
}

void drawFrame(Sprite& s, int frame, double x, double y, Surface& on) {
    VbInteger fr = static_cast<VbInteger>(frame);
    s.DrawSprite(fr, static_cast<VbInteger>(num::roundHalfEven(x)),
                 static_cast<VbInteger>(num::roundHalfEven(y)), on, on, VbFalse);
}

// The fader's next colour; the current one while it has none.
void takeFaderColor(ColorFader& fader, Surface& on) {
    const VbLong c = fader.GetNextColor();
    if (c > -1) {
        on.setForeColor(c);
    }
}

} // namespace

HiscorePanel::HiscorePanel(GameForm& form) : f(form) {}

std::string HiscorePanel::versionText() {
    return "VERSION " + programVersionText();
}

void HiscorePanel::PrintCentered(Surface& Pic, const std::string& Text, bool Big) {
    double oldSize = 0;
    bool oldBold = false;
    if (Big) {
        oldSize = num::roundHalfEven(Pic.FontSize());
        oldBold = Pic.FontBold();
        Pic.setCurrentY(Pic.CurrentY() - 1);
        Pic.setFontSize(12);
        Pic.setFontBold(true);
    }
    Pic.setCurrentX((Pic.ScaleWidth() - Pic.TextWidth(Text)) / 2.0);
    Pic.Print(Text);
    if (Big) {
        Pic.setFontBold(oldBold);
        Pic.setFontSize(oldSize);
        Pic.setCurrentY(Pic.CurrentY() - 3);
    }
}

// Every line after the first overlaps the one above by a few pixels.
void HiscorePanel::printLine(const std::string& text, bool centred) {
    Surface& p = *f.hPic;
    p.setCurrentY(p.CurrentY() - LineOverlap);
    if (centred) {
        PrintCentered(p, text, false);
    } else {
        p.setCurrentX(LeftMargin);
        p.Print(text);
    }
}

void HiscorePanel::PrintHiscores() {
    Surface& p = *f.hPic;
    const bool inPlay = !f.GameOverFlag;
    const int place =
        inPlay ? f.LevelSet.GetScorePlace(f.Score, f.StartFromLevel, f.CheatMode) : -1;
    const PanelRows rows = hiscorePanelRows(f.LevelSet.Hiscores, inPlay, place, f.Score,
                                            static_cast<VbLong>(f.CurrentLevel) + 1);
    // The missiles are the game's: once it is over their name goes with the weapon.
    const char* missile = !inPlay            ? nullptr
                          : f.MissileWaver   ? "Waver Active"
                          : f.MissileSwirler ? "Swirler Bouncer Active"
                                             : nullptr;
    // Most ticks change nothing but the live row's colour, and with a special missile the
    // weapon's wobble and the missile name's colour: then only those parts are drawn again,
    // over what is there, which leaves the panel as a whole new print would.
    const std::vector<int> pickups = inPlay ? shownPickups() : std::vector<int>{};
    const std::string content = contentKey(rows, pickups, missile);
    if (content == drawnContent_ && p.drawCount() == drawnAtCount_ &&
        (missile == nullptr || weaponBandTop_ >= 0)) {
        if (rows.Live >= 0 && rows.Live < 10) {
            useRowFont();
            printLiveRow(rows.Text[static_cast<std::size_t>(rows.Live)], liveTop_);
            // The next row overlaps the box's foot and was printed after it.
            if (rows.Live + 1 < 10) {
                printLine(rows.Text[static_cast<std::size_t>(rows.Live) + 1], false);
            }
        }
        if (missile != nullptr) {
            const int mode = p.DrawMode();
            p.setDrawMode(drawmode::CopyPen);
            p.FilledBox(0, weaponBandTop_, p.ScaleWidth() - 1, p.ScaleHeight() - 1, p.BackColor());
            p.setDrawMode(mode);
            p.setForeColor(Yellow);
            useRowFont();
            drawWeapons();
            printMissile(missile);
        }
        drawnAtCount_ = p.drawCount();
        p.Refresh();
        return;
    }

    p.setForeColor(Yellow);
    p.setFontSize(8);
    if (lowerCase(p.FontName()) != "courier new") {
        p.setFontName("Courier New");
    }
    if (p.FontBold()) {
        p.setFontBold(false);
    }
    p.Cls();
    p.setCurrentY(67);
    PrintCentered(p, versionText(), false);
    printLine("", false);
    printLine("", true);
    p.setCurrentY(100);
    p.setCurrentX(LeftMargin);
    p.Print("");
    printLine("", true);
    printLine("", false);
    printLine("PL SCORE       LV NAME", false);
    printLine("-- ----------- -- --------", false);

    for (int r = 0; r < 10; ++r) {
        if (r != rows.Live) {
            printLine(rows.Text[r], false);
            continue;
        }
        liveTop_ = p.CurrentY() - LineOverlap;
        printLiveRow(rows.Text[r], liveTop_);
    }

    weaponBandTop_ = -1;
    if (inPlay) {
        const int aboveWeapons =
            std::max(static_cast<int>(std::ceil(p.CurrentY())), drawPickups(pickups));
        p.setFontSize(8);
        drawWeapons();
        weaponBandTop_ = weaponBandTop(aboveWeapons);
    }

    if (missile != nullptr) {
        printMissile(missile);
    }
    drawnContent_ = content;
    drawnAtCount_ = p.drawCount();
    p.Refresh();
}

void HiscorePanel::useRowFont() {
    Surface& p = *f.hPic;
    p.setFontName("Courier New");
    p.setFontSize(8);
    p.setFontBold(false);
}

void HiscorePanel::printLiveRow(const std::string& text, double top) {
    Surface& p = *f.hPic;
    const double bottom = top + p.TextHeight(text) - 1;
    p.Box(1, top, p.ScaleWidth() - 2, bottom, Red);
    p.setCurrentY(top);
    p.setCurrentX(LeftMargin);
    takeFaderColor(f.HiscoreFader, p);
    p.Print(text);
    p.setForeColor(Yellow);
}

std::string HiscorePanel::contentKey(const PanelRows& rows, const std::vector<int>& pickups,
                                     const char* missile) const {
    const Surface& p = *f.hPic;
    std::string key;
    const auto field = [&key](const std::string& text) {
        key.append(text);
        key.push_back('|');
    };
    field(std::to_string(p.Width()));
    field(std::to_string(p.Height()));
    field(std::to_string(rows.Live));
    for (const std::string& row : rows.Text) {
        field(row);
    }
    field(missile != nullptr ? missile : "");
    for (int type : pickups) {
        field(std::to_string(type));
    }
    if (!f.GameOverFlag) {
        field(std::to_string(f.Weapon));
        field(std::to_string(f.Cannons));
    }
    return key;
}

std::vector<int> HiscorePanel::shownPickups() const {
    const double now = TimeOfDay();
    std::vector<int> types;
    for (const PickupRec& r : f.RecentPickups) {
        int w = 0;
        int h = 0;
        if (r.PickupType != -1 && num::secondsSince(r.PickupTime, now) < 5.0 &&
            frameSize(f.RndDropsSprite, r.PickupType, w, h)) {
            types.push_back(r.PickupType);
        }
    }
    return types;
}

void HiscorePanel::printMissile(const char* missile) {
    Surface& p = *f.hPic;
    if (lowerCase(p.FontName()) != "tahoma") {
        p.setFontName("Tahoma");
    }
    p.setFontBold(true);
    takeFaderColor(f.HiscoreFader, p);
    p.setCurrentY(MissileTop);
    PrintCentered(p, missile, false);
}

int HiscorePanel::weaponBandTop(int aboveWeapons) const {
    int w = 0;
    int h = 0;
    if (!frameSize(f.WeaponIcon, f.Weapon, w, h) || f.hPic->hasPicture()) {
        return -1;
    }
    // Clear of the highest the wobble takes the icon, and of everything printed above it.
    const int top = static_cast<int>(std::floor(WeaponCentreY - h / 2.0)) - WobbleReach - 1;
    return top > aboveWeapons && top < WeaponCaptionTop ? top : -1;
}

int HiscorePanel::drawPickups(const std::vector<int>& types) {
    Surface& p = *f.hPic;
    int bottom = 0;
    int rowWidth = 0;
    for (int type : types) {
        int w = 0;
        int h = 0;
        frameSize(f.RndDropsSprite, type, w, h);
        rowWidth += (rowWidth > 0 ? PickupGap : 0) + w;
    }
    double x = (p.ScaleWidth() - rowWidth) / 2.0;
    for (int type : types) {
        int w = 0;
        int h = 0;
        frameSize(f.RndDropsSprite, type, w, h);
        const double top = PickupRowCentreY - h / 2.0;
        drawFrame(f.RndDropsSprite, type, x, top, p);
        bottom = std::max(bottom, static_cast<int>(std::ceil(top)) + h + 1);
        x += w + PickupGap;
    }
    return bottom;
}

void HiscorePanel::drawWeapons() {
    int w = 0;
    int h = 0;
    if (!frameSize(f.WeaponIcon, f.Weapon, w, h)) {
        return;
    }
    double dx = 0;
    double dy = 0;
    if (f.MissileWaver || f.MissileSwirler) {
        WobbleA += 0.2;
        WobbleB += 0.2;
        dx = WobbleReach * std::sin(WobbleA);
        dy = WobbleReach * std::cos(WobbleB);
    }
    Surface& p = *f.hPic;
    p.setCurrentY(WeaponCaptionTop);
    PrintCentered(p, "WEAPON", false);
    const double centre = p.ScaleWidth() / 2.0;
    const double top = WeaponCentreY - h / 2.0;
    if (f.Cannons != 2) {
        drawFrame(f.WeaponIcon, f.Weapon, centre - w / 2.0 + dx, top + dy, p);
        return;
    }
    drawFrame(f.WeaponIcon, f.Weapon, centre - WeaponPairOffset - w / 2.0 + dx, top + dy, p);
    const double sign = f.MissileSwirler ? -1 : 1;
    drawFrame(f.WeaponIcon, f.Weapon, centre + WeaponPairOffset - w / 2.0 + sign * dx,
              top + sign * dy, p);
}

void HiscorePanel::HiscorePrintTimer_Timer() {
    ++TickCounter;
    PrintHiscores();
    if (!f.mnuUseInternetHiscore.Checked) {
        if (f.InternetModePic.Visible) {
            f.InternetModePic.Visible = false;
        }
    } else if (TickCounter > 20) {
        f.InternetModePic.Visible = !f.InternetModePic.Visible;
    }
    if (TickCounter > 20) {
        TickCounter = 0;
    }
}
