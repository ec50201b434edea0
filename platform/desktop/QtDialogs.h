#pragma once

#include "DialogService.h"

// The boxes on the screen: QMessageBox and QInputDialog over the active window. Each
// program's main makes them its boxes (DialogService::setProgramBoxes).
DialogService& qtDialogs();
