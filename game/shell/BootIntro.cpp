#include "BootIntro.h"

#include "Clock.h"
#include "Numbers.h"
#include "Random.h"
#include "VbError.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::int32_t MidGrey = 0x808080;
constexpr std::int32_t LightGrey = 0xC0C0C0;
constexpr std::int32_t White = 0xFFFFFF;
constexpr std::int32_t Blue = 0xFF0000;
constexpr std::int32_t Yellow = 0x00FFFF;
constexpr int DiskWidth = 200;
constexpr int DiskHeight = 205;
constexpr int LastStripeTick = 181;

int rnd(double v) {
    return static_cast<int>(num::roundHalfEven(v));
}

} // namespace

std::int32_t BootIntro::consoleColor(int index) {
    static constexpr std::array<std::int32_t, 16> palette{
        0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
        0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
    return palette[static_cast<std::size_t>(index & 15)];
}

BootIntro::BootIntro(GameForm& form, ControlView& flimmerView, ControlView& diskView)
    : Flimmer(std::make_shared<Surface>(1, 1)),
      aDisk(std::make_shared<Surface>(DiskWidth, DiskHeight)), FlimmerView(flimmerView),
      aDiskView(diskView), f(form) {
    Flimmer->setBackColor(MidGrey);
    fitFlimmer();
    f.c64Screen.onTick = [this] { c64Screen_Timer(); };
    f.FlimmerTimer.onTick = [this] { FlimmerTimer_Timer(); };
}

BootIntro::~BootIntro() {
    f.c64Screen.onTick = nullptr;
    f.FlimmerTimer.onTick = nullptr;
}

bool BootIntro::loadDisk(const std::string& gfxPath) {
    try {
        aDisk->LoadPicture(gfxPath + "disk.bmp");
    } catch (const VbError&) {
        aDisk->clearPicture();
        aDisk->setSize(DiskWidth, DiskHeight);
        return false;
    }
    aDiskView.Width = aDisk->Width();
    aDiskView.Height = aDisk->Height();
    return true;
}

void BootIntro::layout(double innerWidth, double innerHeight) {
    if (!FlimmerView.Visible) {
        return;
    }
    FlimmerView.Left = 0;
    FlimmerView.Top = 0;
    FlimmerView.Width = innerWidth;
    FlimmerView.Height = innerHeight;
    fitFlimmer();
    aDiskView.Left = innerWidth / 2 - aDiskView.Width / 2;
    aDiskView.Top = innerHeight / 2 - aDiskView.Height / 2;
    tellChanged();
}

void BootIntro::fitFlimmer() {
    const int w = std::max(1, rnd(FlimmerView.Width));
    const int h = std::max(1, rnd(FlimmerView.Height));
    if (w != Flimmer->Width() || h != Flimmer->Height()) {
        Flimmer->setSize(w, h);
    }
}

void BootIntro::c64Screen_Timer() {
    if (f.c64Screen.Interval() != 500) {
        f.c64Screen.setInterval(500);
    }
    BootStep = static_cast<VbInteger>(BootStep + 1);
    fitFlimmer();
    switch (BootStep) {
    case 3:
        Flimmer->setBackColor(LightGrey);
        Flimmer->Refresh();
        break;
    case 5:
        Flimmer->setBackColor(White);
        Flimmer->Refresh();
        break;
    case 8:
        aDiskView.Visible = true;
        tellChanged();
        break;
    case 12:
        aDiskView.Visible = false;
        tellChanged();
        break;
    case 14:
        aDiskView.Visible = false;
        tellChanged();
        f.c64Screen.setEnabled(false);
        f.FlimmerTimer.setEnabled(true);
        break;
    default:
        break;
    }
}

void BootIntro::tellChanged() {
    if (changed) {
        changed();
    }
}

void BootIntro::FlimmerTimer_Timer() {
    // The hand-off below happens once; a stray tick after it changes nothing.
    if (StripeTick >= LastStripeTick) {
        return;
    }
    StripeTick = static_cast<VbInteger>(StripeTick + 1);
    fitFlimmer();
    Surface& s = *Flimmer;
    const int n = StripeTick;
    // The size at the start of the tick; a resize during the pumps counts from the next.
    const int W = s.ScaleWidth();
    const int H = s.ScaleHeight();
    if (n <= 100) {
        const int h = n <= 50 ? 1 : 10;
        for (int y = 0; y <= H; y += h) {
            s.FilledBox(0, y, W, y + h, consoleColor(rnd(Rnd() * 15.0)));
            s.Refresh();
            DoEvents();
        }
    } else if (n <= 180) {
        StripePhase = static_cast<VbInteger>(StripePhase + 1);
        if (StripePhase > 10) {
            StripePhase = 0;
        }
        const int phase = StripePhase;
        const int limit = rnd(H + 10.0);
        std::int32_t c = Blue;
        for (int y = phase - 10; y <= limit; y += 10) {
            s.FilledBox(0, y, W, y + phase, c);
            c = c == Blue ? Yellow : Blue;
            s.Refresh();
            DoEvents();
        }
    } else {
        f.FlimmerTimer.setEnabled(false);
        FlimmerView.Visible = false;
        tellChanged();
        DoEvents();
        if (InitGame) {
            InitGame();
        }
    }
}
