#include "InfoWindow.h"

void InfoWindow::Show(const std::string& label) {
    if (!loaded_) {
        loaded_ = true;
        InfoWindowOpen = true;
        loadedNow();
    }
    setLabel(label);
}

void InfoWindow::setLabel(const std::string& label) {
    label_ = label;
    labelChanged();
}

void InfoWindow::Unload() {
    if (!loaded_) {
        return;
    }
    loaded_ = false;
    InfoWindowOpen = false;
    unloadedNow();
}
