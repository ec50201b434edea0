// The test window's 15-second countdown, on a clock the test moves.
#include "ManualClock.h"
#include "frmTest.h"
#include "modTest.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <functional>
#include <gtest/gtest.h>

namespace {

class CountdownTest : public testing::Test {
protected:
    void SetUp() override { Clock::install(&clock); }
    void TearDown() override { Clock::install(nullptr); }
    ManualClock clock;
};

std::string label(const frmTest& t) {
    return t.Label2->text().toStdString();
}

TEST_F(CountdownTest, WindowTexts) {
    frmTest t;
    EXPECT_EQ(t.windowTitle(), "TEST DISPLAY MODE");
    EXPECT_EQ(t.Label1->text(), "Press OK within the 15 seconds count down.");
    EXPECT_EQ(t.Command2->text(), "&OK");
    EXPECT_EQ(t.Command1->text(), "Cancel");
    EXPECT_EQ(t.model.Timer1.Interval(), 50);
    EXPECT_TRUE(t.model.Timer1.Enabled());
}

TEST_F(CountdownTest, CountsDownFromTheFirstTickAndCancelsAtTheEnd) {
    TestPassed = true;
    frmTest t;
    t.show();
    clock.advance(50); // the first tick notes the start
    EXPECT_EQ(label(t), "Returning in 15 seconds");
    clock.advance(400);
    EXPECT_EQ(label(t), "Returning in 15 seconds");
    clock.advance(200); // 0.6 s
    EXPECT_EQ(label(t), "Returning in 14 seconds");
    clock.advance(4400); // 5.0 s
    EXPECT_EQ(label(t), "Returning in 10 seconds");
    clock.advance(9400); // 14.4 s: still waiting
    EXPECT_EQ(label(t), "Returning in 1 seconds");
    EXPECT_TRUE(t.isVisible());
    EXPECT_FALSE(t.model.closed());
    clock.advance(200); // 14.6 s: rounds to 15
    EXPECT_TRUE(t.model.closed());
    EXPECT_FALSE(t.isVisible());
    EXPECT_FALSE(TestPassed);
    EXPECT_FALSE(t.model.Timer1.Enabled());
}

TEST_F(CountdownTest, EndsAcrossMidnight) {
    ManualClock lateClock(1000, 86400.0 - 5.0);
    Clock::install(&lateClock);
    frmTest t(nullptr, lateClock);
    t.show();
    lateClock.advance(10000);
    EXPECT_EQ(label(t), "Returning in 5 seconds");
    EXPECT_FALSE(t.model.closed());
    lateClock.advance(5000);
    EXPECT_TRUE(t.model.closed());
}

TEST_F(CountdownTest, OkPassesEverythingElseFails) {
    struct Case {
        const char* what;
        std::function<void(frmTest&)> act;
        bool passed;
    };
    const Case cases[] = {
        {"OK", [](frmTest& t) { t.Command2->click(); }, true},
        {"Cancel", [](frmTest& t) { t.Command1->click(); }, false},
        {"Esc",
         [](frmTest& t) {
             QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
             QApplication::sendEvent(&t, &esc);
         },
         false},
        {"close box", [](frmTest& t) { t.close(); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TestPassed = !c.passed;
        frmTest t;
        t.show();
        clock.advance(3000);
        c.act(t);
        EXPECT_EQ(TestPassed, c.passed);
        EXPECT_TRUE(t.model.closed());
        EXPECT_FALSE(t.isVisible());
        // A late tick changes nothing.
        clock.advance(20000);
        EXPECT_EQ(TestPassed, c.passed);
    }
}

} // namespace
