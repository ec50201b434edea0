// The boxes and the keyboard on a real X server with no window manager, where nobody but
// the program frames, places or focuses a window. Its own main: the X server comes first,
// then the application on it.
#include "Dialogs.h"
#include "QtDialogs.h"
#include "RealBoxes.h"
#include "XServerFixture.h"

#include <QApplication>
#include <QWidget>
#include <cstdlib>
#include <gtest/gtest.h>
#include <iostream>
#include <memory>

namespace {

// Windows start without frames here; Qt's own placement counts on a title bar anyway.
TEST(WithoutWindowManager, ABoxStandsCentredOnItsWindowWhichTakesTheKeyboardBack) {
    for (const bool input : {false, true}) {
        SCOPED_TRACE(input ? "input box" : "message box");
        auto owner = activeWindowAt({100, 80, 609, 474});
        ASSERT_TRUE(becomesActive(owner.get()));
        const RealBoxes::Shown shown = askOneBox(input);
        ASSERT_TRUE(shown.frame.isValid());
        EXPECT_EQ(shown.owner, owner.get());
        EXPECT_EQ(shown.frame, centredOn(*owner, shown.frame.size()));
        EXPECT_TRUE(becomesActive(owner.get()));
    }
}

// The start dialog opens the game window and closes: the game window, shown but never
// clicked, takes the keyboard.
TEST(WithoutWindowManager, TheWindowLeftShowingTakesTheKeyboard) {
    auto start = activeWindowAt({400, 300, 400, 300});
    ASSERT_TRUE(becomesActive(start.get()));
    QWidget game;
    game.setGeometry(0, 0, 609, 474);
    game.show();
    QCoreApplication::processEvents();
    ASSERT_NE(QApplication::activeWindow(), &game);
    start->hide();
    EXPECT_TRUE(becomesActive(&game)) << "active: " << QApplication::activeWindow();
}

} // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    std::string whyNot;
    const auto server = XServerFixture::start(whyNot);
    if (!server) {
        std::cout << "skipped: " << whyNot << "\n";
        return XServerFixture::installed() ? 1 : 0;
    }
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    setenv("DISPLAY", server->displayName().c_str(), 1);
    int code = 0;
    {
        QApplication app(argc, argv);
        DialogService::setProgramBoxes(&qtDialogs());
        code = RUN_ALL_TESTS();
    }
    return code;
}
