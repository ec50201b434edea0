#include "DirectX7Display.h"
#include "DirectX8Display.h"
#include "DisplayModes.h"

#include <QImage>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

TEST(DirectX8DisplayFixed, ReportsWhatDirectX7DisplayReports) {
    display::DisplayModes::reopen("");
    DirectX7Display dx7;
    DirectX8Display dx8;
    EXPECT_EQ(dx8.GetDisplayWidth(), dx7.GetDisplayWidth());
    EXPECT_EQ(dx8.GetDisplayHeight(), dx7.GetDisplayHeight());
    EXPECT_EQ(dx8.GetDisplayRefreshRate(), dx7.GetDisplayRefreshRate());
    QImage surface(8, 8, QImage::Format_RGB32);
    QWidget window;
    EXPECT_EQ(dx8.GetDisplayColorDepth(surface), 32);
    EXPECT_EQ(dx8.GetDisplayColorDepth(window), 32);
}

} // namespace
