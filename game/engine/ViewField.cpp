#include "ViewField.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {

std::vector<ViewFieldWatch*>& watches() {
    static std::vector<ViewFieldWatch*> all;
    return all;
}

} // namespace

ViewFieldWatch::ViewFieldWatch(std::function<void()> onChange) : onChange_(std::move(onChange)) {
    watches().push_back(this);
}

ViewFieldWatch::~ViewFieldWatch() {
    std::erase(watches(), this);
}

void viewFieldChanged() {
    // By index: a watch may come or go while the others are told.
    for (std::size_t i = 0; i < watches().size(); ++i) {
        if (watches()[i]->onChange_) {
            watches()[i]->onChange_();
        }
    }
}
