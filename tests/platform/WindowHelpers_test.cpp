#include "WindowHelpers.h"

#include <QWidget>
#include <gtest/gtest.h>

TEST(WindowHelpers, TopMostKeepsTheWindowShownWhereItWas) {
    QWidget w;
    w.setGeometry(40, 50, 320, 200);
    w.show();
    const QRect before = w.geometry();
    win::setTopMost(&w, true);
    EXPECT_TRUE(win::isTopMost(&w));
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.geometry(), before);
    win::setTopMost(&w, false);
    EXPECT_FALSE(win::isTopMost(&w));
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.geometry(), before);
    // A hidden window stays hidden.
    QWidget hidden;
    win::setTopMost(&hidden, true);
    EXPECT_FALSE(hidden.isVisible());
    win::setTopMost(nullptr, true);
}

TEST(WindowHelpers, CaptionAndBorderBitsSwitchTheFrame) {
    QWidget w;
    w.setGeometry(10, 20, 300, 150);
    w.show();
    const QRect before = w.geometry();
    const std::uint32_t frame = win::WS_CAPTION | win::WS_THICKFRAME; // 0x00C40000
    ASSERT_EQ(frame, 0x00C40000u);
    EXPECT_EQ(win::styleBits(&w) & frame, frame);

    win::setStyleBits(&w, frame, false);
    EXPECT_TRUE(w.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(win::styleBits(&w) & frame, 0u);
    EXPECT_NE(win::styleBits(&w) & win::WS_SYSMENU, 0u); // other bits untouched
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.geometry(), before);

    win::setStyleBits(&w, frame, true);
    EXPECT_FALSE(w.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(win::styleBits(&w) & frame, frame);
    EXPECT_TRUE(w.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_TRUE(w.isVisible());

    // Half a caption is no title bar.
    win::setStyleBits(&w, win::WS_DLGFRAME, false);
    EXPECT_TRUE(w.windowFlags().testFlag(Qt::FramelessWindowHint));
    win::setStyleBits(&w, win::WS_DLGFRAME | win::WS_MAXIMIZEBOX, true);
    win::setStyleBits(&w, win::WS_MAXIMIZEBOX, false);
    EXPECT_FALSE(w.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_FALSE(w.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
}

TEST(WindowHelpers, BringToFrontActivatesTheWindow) {
    EXPECT_FALSE(win::bringToFront(nullptr));
    QWidget w;
    w.show();
    EXPECT_TRUE(win::bringToFront(&w));
    // The offscreen platform activates at once; a real desktop may take a moment.
    if (win::activeWindow()) {
        EXPECT_EQ(win::activeWindow(), &w);
    }
    QWidget* fg = win::foregroundWindow();
    EXPECT_TRUE(fg == nullptr || fg == &w);
}
