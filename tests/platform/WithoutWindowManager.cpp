// The boxes and the keyboard on a real X server with no window manager, where nobody but
// the program frames, places or focuses a window. Its own main: the X server comes first,
// then the application on it.
#include "BoxPlayer.h"
#include "DialogService.h"
#include "QtDialogs.h"
#include "RealBoxes.h"
#include "XServerFixture.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <cstdlib>
#include <gtest/gtest.h>
#include <iostream>
#include <memory>
#include <vector>

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

// A box stands in a tool window of a main window; the tool window goes while the box asks.
// Deleted later (it deletes itself on close), it waits until the box has closed; deleted
// outright, the box moves on to the main window, centred there, and the main window takes
// the keyboard back once it closes.
TEST(WithoutWindowManager, ABoxGoesOnAskingWhenItsWindowGoes) {
    for (const bool outright : {false, true}) {
        SCOPED_TRACE(outright ? "deleted outright" : "deleted later");
        auto main = activeWindowAt({100, 80, 609, 474});
        QPointer<QWidget> tool = new QWidget(main.get(), Qt::Tool);
        tool->setGeometry(760, 100, 300, 400);
        tool->show();
        tool->activateWindow();
        ASSERT_TRUE(becomesActive(tool));
        std::vector<BoxPlayer::Step> steps;
        if (outright) {
            steps.emplace_back([&](QDialog&) { delete tool.data(); });
            steps.emplace_back([](QDialog& box) { BoxPlayer::type(box, "250"); });
        } else {
            steps.emplace_back([&](QDialog& box) {
                tool->setAttribute(Qt::WA_DeleteOnClose);
                tool->close();
                QTimer::singleShot(50, &box, [&box] { BoxPlayer::type(box, "250"); });
            });
        }
        BoxPlayer player(std::move(steps));
        EXPECT_EQ(InputBox("Enter interval in milliseconds (min 100) (max 10000):"), "250");
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(tool.isNull());
        ASSERT_EQ(player.shown().size(), outright ? 2u : 1u);
        if (outright) {
            const RealBoxes::Shown& again = player.shown()[1];
            EXPECT_EQ(again.owner, main.get());
            EXPECT_EQ(again.frame, centredOn(*main, again.frame.size()));
        }
        EXPECT_TRUE(becomesActive(main.get()));
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
    // Listing the cases, for CTest, needs no server.
    if (GTEST_FLAG_GET(list_tests)) {
        return RUN_ALL_TESTS();
    }
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
