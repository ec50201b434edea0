#include "Catalog.h"

#include "SourceText.h"

void Catalog::add(Picture picture) {
    if (index_.count(picture.name))
        throw AssetError("the picture " + picture.name + " is made twice");
    index_[picture.name] = pictures_.size();
    pictures_.push_back(std::move(picture));
}

const Picture* Catalog::find(const std::string& name) const {
    auto found = index_.find(name);
    return found == index_.end() ? nullptr : &pictures_[found->second];
}
