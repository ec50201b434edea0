#include "InfoModel.h"

void InfoModel::Show(const std::string& label) {
    if (!loaded_) {
        loaded_ = true;
        InfoWindowOpen = true;
        loadedNow();
    }
    setLabel(label);
}

void InfoModel::setLabel(const std::string& label) {
    label_ = label;
    labelChanged();
}

void InfoModel::Unload() {
    if (!loaded_) {
        return;
    }
    loaded_ = false;
    InfoWindowOpen = false;
    unloadedNow();
}
