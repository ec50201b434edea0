#include "KeyCodes.h"
#include "KeyboardDevice.h"
#include "dx8Keyboard.h"

#include <QApplication>
#include <QApplicationStateChangeEvent>
#include <QKeyEvent>
#include <QWidget>
#include <QWindow>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// X11 keycodes of a PC keyboard (Linux input code + 8).
constexpr unsigned xEsc = 9, xSpace = 65, xUp = 111, xLeftAlt = 64, xPrint = 107;

class KeyboardTest : public testing::Test {
protected:
    void SetUp() override {
        KeyboardDevice::instance().releaseAll();
        kb.KeyDown = [this](VbLong c) { log.push_back("down " + std::to_string(c)); };
        kb.KeyUp = [this](VbLong c) { log.push_back("up " + std::to_string(c)); };
    }
    void TearDown() override { KeyboardDevice::instance().releaseAll(); }

    // A key event as the platform delivers it: to the window, then on to the widget.
    void send(QEvent::Type type, unsigned keycode, bool autoRepeat = false, int qtKey = 0) {
        if (!window.windowHandle()) {
            window.show();
        }
        QKeyEvent ev(type, qtKey, Qt::NoModifier, keycode, 0, 0, QString(), autoRepeat);
        QApplication::sendEvent(window.windowHandle(), &ev);
        QKeyEvent again(type, qtKey, Qt::NoModifier, keycode, 0, 0, QString(), autoRepeat);
        QApplication::sendEvent(&window, &again);
    }

    QWidget window;
    dx8Keyboard kb;
    std::vector<std::string> log;
};

TEST(KeyCodes, PhysicalKeysGiveDirectInputCodes) {
    struct Case {
        unsigned x11;
        int dik;
    } cases[] = {
        {9, 1},     {65, 57},   {111, 200}, {113, 203}, {114, 205}, {116, 208}, {67, 59},
        {70, 62},   {71, 63},   {76, 68},   {95, 87},   {96, 88},   {107, 183}, {127, 197},
        {33, 25},   {38, 30},   {24, 16},   {52, 44},   {58, 50},   {10, 2},    {18, 10},
        {19, 11},   {36, 28},   {104, 156}, {105, 157}, {108, 184}, {118, 210}, {119, 211},
        {110, 199}, {115, 207}, {112, 201}, {117, 209}, {94, 86},   {133, 219}, {135, 221},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(keys::dikFromX11Keycode(c.x11), c.dik) << "X11 keycode " << c.x11;
    }
    // Nothing below the first keycode, past the table or in its gaps.
    EXPECT_EQ(keys::dikFromX11Keycode(0), 0);
    EXPECT_EQ(keys::dikFromX11Keycode(8), 0);
    EXPECT_EQ(keys::dikFromX11Keycode(8 + 84), 0);
    EXPECT_EQ(keys::dikFromX11Keycode(8 + 300), 0);
}

TEST(KeyCodes, EventsWithoutKeycodeFallBackToTheUsLayout) {
    EXPECT_EQ(keys::dikFromQtKey(Qt::Key_Space), 57);
    EXPECT_EQ(keys::dikFromQtKey(Qt::Key_P), 25);
    EXPECT_EQ(keys::dikFromQtKey(Qt::Key_A), 30);
    EXPECT_EQ(keys::dikFromQtKey(Qt::Key_M), 50);
    EXPECT_EQ(keys::dikFromQtKey(Qt::Key_0), 11);
    EXPECT_EQ(keys::dikFromQtKey(Qt::Key_F10), 68);
    EXPECT_EQ(keys::dikFromQtKey(Qt::Key_Left), 203);
    EXPECT_EQ(keys::dikFromQtKey(Qt::Key_Print), 183);
}

TEST_F(KeyboardTest, NothingBeforeInit) {
    send(QEvent::KeyPress, xSpace);
    EXPECT_TRUE(log.empty());
    EXPECT_FALSE(kb.KeyboardConnected());
}

TEST_F(KeyboardTest, OneKeyDownPerPressHoweverLongHeld) {
    kb.Init();
    EXPECT_TRUE(kb.KeyboardConnected());
    send(QEvent::KeyPress, xSpace);
    for (int i = 0; i < 5; ++i) { // auto-repeat comes as release/press pairs
        send(QEvent::KeyRelease, xSpace, true);
        send(QEvent::KeyPress, xSpace, true);
    }
    send(QEvent::KeyRelease, xSpace);
    send(QEvent::KeyPress, xEsc);
    send(QEvent::KeyRelease, xEsc);
    EXPECT_EQ(log, (std::vector<std::string>{"down 57", "up 57", "down 1", "up 1"}));
}

TEST_F(KeyboardTest, KeyHeldDuringInitIsReportedOnce) {
    send(QEvent::KeyPress, xUp);
    kb.Init();
    EXPECT_EQ(log, std::vector<std::string>{"down 200"});
    send(QEvent::KeyPress, xUp);
    send(QEvent::KeyRelease, xUp);
    EXPECT_EQ(log, (std::vector<std::string>{"down 200", "up 200"}));
}

TEST_F(KeyboardTest, ChangesOfOneNotificationComeInAscendingCodeOrder) {
    kb.Init();
    KeyboardDevice::instance().applyChanges({{57, true}});
    log.clear();
    KeyboardDevice::instance().applyChanges({{200, true}, {57, false}, {30, true}});
    EXPECT_EQ(log, (std::vector<std::string>{"down 30", "up 57", "down 200"}));
}

TEST_F(KeyboardTest, LosingTheFocusReleasesHeldKeys) {
    kb.Init();
    send(QEvent::KeyPress, xUp);
    send(QEvent::KeyPress, xSpace);
    log.clear();
    QApplicationStateChangeEvent inactive(Qt::ApplicationInactive);
    QApplication::sendEvent(qApp, &inactive);
    EXPECT_EQ(log, (std::vector<std::string>{"up 57", "up 200"}));
    // The release that arrives later changes nothing.
    send(QEvent::KeyRelease, xSpace);
    EXPECT_EQ(log.size(), 2u);
}

TEST_F(KeyboardTest, AltPrintScreenIsItsOwnKey) {
    kb.Init();
    send(QEvent::KeyPress, xPrint);
    send(QEvent::KeyRelease, xPrint);
    send(QEvent::KeyPress, xLeftAlt);
    send(QEvent::KeyPress, xPrint);
    send(QEvent::KeyRelease, xLeftAlt);
    send(QEvent::KeyRelease, xPrint);
    EXPECT_EQ(log, (std::vector<std::string>{"down 183", "up 183", "down 56", "down 84", "up 56",
                                             "up 84"}));
}

// Alt + Print Screen opens a box at its first copy (the shortcut check); Alt is let go
// inside it, and the press that arrives afterwards is still the same key, not Print Screen.
TEST_F(KeyboardTest, AltPrintScreenSeenTwiceIsOnePress) {
    kb.Init();
    kb.KeyDown = [&](VbLong c) {
        log.push_back("down " + std::to_string(c));
        if (c == 84) {
            send(QEvent::KeyRelease, xLeftAlt);
        }
    };
    send(QEvent::KeyPress, xLeftAlt);
    send(QEvent::ShortcutOverride, xPrint);
    send(QEvent::KeyPress, xPrint);
    send(QEvent::KeyRelease, xPrint);
    EXPECT_EQ(log, (std::vector<std::string>{"down 56", "down 84", "up 56", "up 84"}));
    // Plain Print Screen, seen twice as well, is one press too.
    log.clear();
    send(QEvent::ShortcutOverride, xPrint);
    send(QEvent::KeyPress, xPrint);
    send(QEvent::KeyRelease, xPrint);
    EXPECT_EQ(log, (std::vector<std::string>{"down 183", "up 183"}));
}

TEST_F(KeyboardTest, AHandlerThatOpensANestedLoopGetsNoEdgeTwice) {
    kb.Init();
    bool nested = false;
    kb.KeyDown = [&](VbLong c) {
        log.push_back("down " + std::to_string(c));
        if (c == 57 && !nested) {
            nested = true; // as a modal box would: more key events arrive inside
            send(QEvent::KeyRelease, xSpace);
            send(QEvent::KeyPress, xUp);
        }
    };
    send(QEvent::KeyPress, xSpace);
    EXPECT_EQ(log, (std::vector<std::string>{"down 57", "up 57", "down 200"}));
}

TEST_F(KeyboardTest, ControlDestroyedByItsHandlerStopsReporting) {
    auto* own = new dx8Keyboard;
    own->Init();
    int calls = 0;
    own->KeyDown = [&](VbLong) {
        ++calls;
        delete own;
    };
    KeyboardDevice::instance().applyChanges({{30, true}, {31, true}});
    EXPECT_EQ(calls, 1);
}

} // namespace
