#include "KeyboardDevice.h"

#include <QApplication>
#include <QShortcut>
#include <QTest>
#include <QWidget>
#include <QWindow>
#include <gtest/gtest.h>

namespace {

// A key that a window's shortcut takes is still a key held down: the game reads the
// keyboard itself, whatever the window does with the key.
TEST(KeyboardShortcuts, AKeyTakenByAShortcutStillCountsAsDown) {
    KeyboardDevice& device = KeyboardDevice::instance();
    device.releaseAll();
    QWidget window;
    int fired = 0;
    auto* shortcut = new QShortcut(QKeySequence(Qt::Key_F4), &window);
    QObject::connect(shortcut, &QShortcut::activated, [&] { ++fired; });
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QTest::keyPress(window.windowHandle(), Qt::Key_F4);
    EXPECT_EQ(fired, 1);
    EXPECT_TRUE(device.keyDown(62)) << "F4";
    QTest::keyRelease(window.windowHandle(), Qt::Key_F4);
    EXPECT_FALSE(device.keyDown(62));
    device.releaseAll();
}

} // namespace
