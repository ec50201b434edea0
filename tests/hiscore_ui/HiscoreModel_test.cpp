#include "Clock.h"
#include "HiscoreModel.h"
#include "ManualClock.h"
#include "Random.h"
#include "frmHiscore.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <gtest/gtest.h>

namespace {

class HiscoreModelTest : public testing::Test {
protected:
    HiscoreModelTest() {
        Clock::install(&clock);
        Random::instance().clearQueue();
        globals.HiscorePlace = 3;
        globals.LastHiscoreName = "OLD";
    }
    ~HiscoreModelTest() override {
        Random::instance().clearQueue();
        Clock::install(nullptr);
    }
    std::unique_ptr<HiscoreModel> load() {
        auto m = std::make_unique<HiscoreModel>(
            globals, 12345, [this](VbInteger id) { sounds.push_back(id); }, clock);
        m->focusName = [this] { ++focusCalls; };
        m->Form_Load(24);
        return m;
    }

    ManualClock clock;
    HiscoreGlobals globals;
    std::vector<VbInteger> sounds;
    int focusCalls = 0;
};

void press(QWidget* w, int key, const QString& text) {
    QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(w, &down);
}

} // namespace

TEST_F(HiscoreModelTest, ShowsScorePlaceAndThePreviousNameSelected) {
    auto m = load();
    EXPECT_TRUE(globals.HiscoreDialogOpen);
    EXPECT_EQ(m->Label3, "SCORE : 000,012,345");
    EXPECT_EQ(m->Label1, "You got the 3 place on the top 10.");
    EXPECT_EQ(m->Text1, "OLD");
    EXPECT_FALSE(m->Text1AllSelected);
    clock.advance(50);
    EXPECT_TRUE(m->Text1AllSelected);
    EXPECT_EQ(focusCalls, 1);
    EXPECT_FALSE(m->FocusTimer.Enabled());
    m->typeChar('z'); // typing replaces the old name
    EXPECT_EQ(m->Text1, "Z");
    // The band runs from red down towards black; its first row is left as it is.
    ASSERT_EQ(m->Gradient.size(), 24u);
    EXPECT_EQ(m->Gradient[0], -1);
    EXPECT_EQ(m->Gradient[1], 255);
    EXPECT_LT(m->Gradient[23], m->Gradient[12]);
    EXPECT_LT(m->Gradient[12], 255);
}

TEST_F(HiscoreModelTest, NameRules) {
    struct Case {
        std::string typed;
        int closeKey; // Enter, Escape, or 0 for the OK button
        std::string stored;
    };
    const std::vector<Case> cases = {
        {"abc1-!xyz", 13, "ABC1-!XY"}, // capitals, digits and marks as typed, 8 at most
        {"", 27, ""},                  // Escape with an empty box stores an empty name
        {"  a b ", 0, "A B"},          // surrounding blanks go
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        globals.LastHiscoreName = "";
        auto m = load();
        int closes = 0;
        m->closeWindow = [&] {
            ++closes;
            m->Form_Unload();
        };
        for (const char ch : c.typed) {
            m->typeChar(ch);
        }
        if (c.closeKey == 13) {
            m->Form_KeyDown(13); // Enter only counts in the name box
            EXPECT_EQ(closes, 0);
            m->Text1_KeyDown(13);
        } else if (c.closeKey == 27) {
            m->Text1_KeyDown(27);
            EXPECT_EQ(closes, 0);
            m->Form_KeyDown(27);
        } else {
            m->Command1_Click();
        }
        EXPECT_EQ(closes, 1);
        EXPECT_FALSE(globals.HiscoreDialogOpen);
        EXPECT_EQ(globals.LastHiscoreName, c.stored);
    }
}

class HiscoreModelUnderLocale : public HiscoreModelTest {};

// In Turkish "i" has another capital; the name takes the plain one all the same, and a
// Windows-1252 letter stays as typed.
TEST_F(HiscoreModelUnderLocale, NameTakesCapitalsAToZ) {
    globals.LastHiscoreName = "";
    auto m = load();
    m->closeWindow = [&] { m->Form_Unload(); };
    for (const char ch : std::string("istanb\xFCl")) {
        m->typeChar(ch);
    }
    m->Command1_Click();
    EXPECT_EQ(globals.LastHiscoreName, "ISTANB\xFCL");
}

TEST_F(HiscoreModelTest, BackgroundPulsesBetweenRedAndBlack) {
    auto m = load();
    std::vector<VbLong> colours;
    m->backColorChanged = [&](VbLong c) { colours.push_back(c); };
    clock.advance(20UL * 62);
    ASSERT_EQ(colours.size(), 62u);
    EXPECT_EQ(colours[0], 255);
    EXPECT_EQ(colours[30], 0);
    EXPECT_EQ(colours[31], 0); // the turn comes twice
    EXPECT_EQ(colours[61], 255);
}

TEST_F(HiscoreModelTest, BleepsAtRandomUntilTheIntervalComesOutZero) {
    auto m = load();
    Random& rnd = Random::instance();
    rnd.queue(0.3f);   // 30: silent
    rnd.queue(0.31f);  // 31: bleep
    rnd.queue(0.25f);  // next in 50 ms
    rnd.queue(0.9f);   // bleep
    rnd.queue(0.002f); // 0.4 ms rounds to 0: no more bleeps
    clock.advance(100);
    EXPECT_TRUE(sounds.empty());
    clock.advance(100);
    EXPECT_EQ(sounds, std::vector<VbInteger>{108});
    EXPECT_EQ(m->Timer2.Interval(), 50);
    clock.advance(50);
    EXPECT_EQ(sounds.size(), 2u);
    EXPECT_EQ(m->Timer2.Interval(), 0);
    clock.advance(10000);
    EXPECT_EQ(sounds.size(), 2u);
}

TEST_F(HiscoreModelTest, TheWindowTakesCapitalsAndAtMostEightCharacters) {
    frmHiscore w(globals, 12345, [this](VbInteger id) { sounds.push_back(id); });
    w.show();
    QLineEdit* box = w.nameBox();
    EXPECT_EQ(box->text(), "OLD");
    clock.advance(50);
    EXPECT_EQ(box->selectedText(), "OLD");
    press(box, Qt::Key_A, "a");
    EXPECT_EQ(box->text(), "A");
    const QString more = "b2-c de f";
    for (const QChar ch : more) {
        press(box, ch.toUpper().unicode(), QString(ch));
    }
    EXPECT_EQ(box->text(), "AB2-C DE");
    press(box, Qt::Key_Return, "\r");
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(globals.LastHiscoreName, "AB2-C DE");
    EXPECT_FALSE(globals.HiscoreDialogOpen);

    // Escape closes too, and the name is kept.
    frmHiscore again(globals, 1, nullptr);
    again.show();
    EXPECT_TRUE(globals.HiscoreDialogOpen);
    EXPECT_EQ(again.nameBox()->text(), "AB2-C DE");
    again.nameBox()->setText("  x ");
    press(&again, Qt::Key_Escape, "\x1b");
    EXPECT_FALSE(again.isVisible());
    EXPECT_EQ(globals.LastHiscoreName, "x");
}
