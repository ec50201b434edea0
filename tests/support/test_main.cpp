#include "QtDialogs.h"
#include "TestEnvironment.h"
#include "TestLocale.h"

#include <QApplication>
#include <cstdlib>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // Headless and silent, whether run by CTest or by hand.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    testing::InitGoogleMock(&argc, argv);
    QApplication app(argc, argv);
    DialogService::setProgramBoxes(&qtDialogs());
    TestEnvironment::installListener();
    TestLocale::installListener();
    return RUN_ALL_TESTS();
}
