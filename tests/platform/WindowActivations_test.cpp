#include "RealBoxes.h"
#include "WindowActivations.h"

#include <QApplication>
#include <QWidget>
#include <gtest/gtest.h>

// When the active window closes, the window active before it that still shows takes the
// keyboard, as a window manager would hand it on; without one it went to no window.
TEST(WindowActivations, TheWindowActiveBeforeTakesTheKeyboardWhenTheActiveOneHides) {
    auto first = activeWindowAt({40, 40, 300, 200});
    auto hidden = activeWindowAt({500, 40, 200, 200});
    auto second = activeWindowAt({40, 400, 300, 200});
    hidden->hide(); // not active: nothing changes hands
    EXPECT_EQ(lastActiveWindowShown(), second.get());
    second->hide();
    EXPECT_TRUE(becomesActive(first.get())) << "active: " << QApplication::activeWindow();
    EXPECT_EQ(lastActiveWindowShown(), first.get());
    first->hide();
    QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::activeWindow(), nullptr);
    EXPECT_EQ(lastActiveWindowShown(), nullptr);
}
