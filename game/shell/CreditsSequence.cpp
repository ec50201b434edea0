#include "CreditsSequence.h"

#include "GameEngine.h"
#include "GameForm.h"

namespace {

constexpr VbLong White = 0xFFFFFF;
constexpr VbLong Red = 0x0000FF;
constexpr VbLong Green = 0x00FF00;
constexpr VbLong Yellow = 0x00FFFF;

} // namespace

CreditsSequence::CreditsSequence(GameForm& form, GameEngine& engine) : f(form), e(engine) {
    f.CreditTimer.onTick = [this] { CreditTimer_Timer(); };
}

CreditsSequence::~CreditsSequence() {
    f.CreditTimer.onTick = nullptr;
}

void CreditsSequence::InitCredits() {
    auto page = [](std::string text, VbInteger ms, VbLong colour, float size = 10) {
        return CreditRec{std::move(text), ms, colour, 0, size};
    };
    Credits = {
        page("Vantorix", 3000, Yellow, 35),
        page("A game by", 2000, White),
        page("Quillfen", 5000, Red, 24),
        page("Credits", 2000, White),
        page("Written by", 2000, White),
        page("The Quillfen team", 2000, White),
        page("Assistance and|level design", 2000, White),
        page("The Quillfen level crew", 2000, White),
        page("Logo designed by", 2000, White),
        page("The Quillfen art desk", 2000, White),
        page("Music playback by|libopenmpt and SDL2_mixer", 2000, White),
        page("Thanks to the authors|of both libraries", 3000, White),
        page("Background music|\"Vantorix theme\"", 2000, White),
        page("Thanks to its composer|at Quillfen", 3000, White),
        page("How this game was made", 2000, White),
        page("Written in C++ with Qt|some ten thousand lines of code", 5000, White),
        page("Sound, joystick and keyboard|through SDL2", 2000, White),
        page("Full-screen mode|through XRandR", 2000, White),
        page("Test & Support", 2000, White),
        page("Mira Holloway|aka \"Blip\"", 3000, White),
        page("Tobias Lindqvist|aka \"Stepper\"", 3000, White),
        page("Nora Achterberg|aka \"Nova\"", 3000, White),
        page("Sam Okafor|aka \"Pixelgrinder\"", 3000, White),
        page("And now some...", 2000, Green),
        page("GREETINGS", 3000, Green),
        page("Everyone who still|plays fixed-screen shooters", 2000, White),
        page("The makers of|the free libraries we use", 2000, White),
        page("All level builders", 2000, White),
        page("The testers' families", 2000, White),
        page("Every hiscore hunter", 2000, White),
        page("And you!", 2000, White),
        page("", 2000, White),
        page("What the future will bring?", 2000, Red),
        page("Vantorix II?", 3000, Yellow),
        page("Vantorix on|other platforms?", 3000, Red),
        page("More levels, more aliens|and bigger explosions", 4000, White),
        page("Visit Quillfen on the web|www.quillfen.example", 6000, Yellow),
    };
}

void CreditsSequence::StartCredits() {
    f.CreditsRunning = true;
    f.CreditTimer.setEnabled(true);
    f.CreditIndex = 0;
}

void CreditsSequence::StopCredits() {
    f.CreditTimer.setEnabled(false);
    f.CreditsRunning = false;
}

void CreditsSequence::CreditTimer_Timer() {
    if (!f.mnuFile.Enabled) {
        f.mnuFile.Enabled = true;
        if (menuChanged) {
            menuChanged();
        }
    }
    if (f.Paused) {
        return;
    }
    if (f.HiscorePending) {
        // Taken before the modal name entry opens: nothing that runs meanwhile (a tick, the
        // window's unload) may enter or upload the same score again.
        f.HiscorePending = false;
        f.CreditTimer.setEnabled(false);
        f.LevelSet.UpdateHiscore(f.Score, f.CurrentLevel, f.StartFromLevel, toVbBool(f.CheatMode));
    }
    f.CreditsRunning = true;
    if (Credits.empty()) {
        // No script yet: nothing to show, and no page end will call again.
        f.CreditTimer.setEnabled(false);
        return;
    }
    if (f.CreditIndex < 0 || f.CreditIndex >= static_cast<int>(Credits.size())) {
        f.CreditIndex = 0;
    }
    const CreditRec& r = Credits[static_cast<std::size_t>(f.CreditIndex)];
    const VbInteger duration =
        static_cast<VbInteger>(f.mnuFastMessages.Checked ? r.Duration - 1000 : r.Duration);
    e.PrintMessage(r.Text, duration, r.Color, r.FadeParam, r.FontSize);
    f.CreditIndex = static_cast<VbInteger>(f.CreditIndex + 1);
    if (f.CreditIndex >= static_cast<int>(Credits.size())) {
        f.CreditIndex = 0;
    }
    f.CreditTimer.setEnabled(false);
}
