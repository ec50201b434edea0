#include "FuzzHarness.h"

#include <cstdlib>

FuzzHarness& FuzzHarness::instance() {
    static FuzzHarness* harness = new FuzzHarness;
    return *harness;
}

FuzzHarness::FuzzHarness() {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    app_ = std::make_unique<QApplication>(argc_, argv_);
    DialogService::install(&dialogs);
}

void require(bool ok) {
    if (!ok) {
        std::abort();
    }
}
