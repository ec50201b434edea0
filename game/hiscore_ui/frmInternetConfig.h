#pragma once

#include "InternetConfigModel.h"

class QWidget;

// The dialog frmInternetConfig on screen, modal, over an InternetConfigModel. True when
// closed with OK.
bool showInternetConfig(QWidget* parent = nullptr);
