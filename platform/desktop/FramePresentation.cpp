#include "FramePresentation.h"

#include <cstdlib>

void chooseFramePresentation() {
    setenv("QT_XCB_NO_MITSHM", "1", 0);
}
