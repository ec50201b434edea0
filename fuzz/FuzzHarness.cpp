#include "FuzzHarness.h"

FuzzHarness& FuzzHarness::instance() {
    static FuzzHarness* harness = new FuzzHarness;
    return *harness;
}

FuzzHarness::FuzzHarness() {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("SDL_AUDIODRIVER", "dummy");
    app_ = std::make_unique<QApplication>(argc_, argv_);
    DialogService::install(&dialogs);
}
