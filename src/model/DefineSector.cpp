#include "DefineSector.h"

#include "DefineStar.h"

void TSector::SetExcludeFromDisplay(bool value) {
    excludeFromDisplay_ = value;
    for (const auto& c : Children()) {
        if (auto* star = dynamic_cast<TStar*>(c.get())) {
            star->Visible = !value;
            if (value) {
                star->PictureX = 0;
                star->PictureY = 0;
            }
        }
    }
}

int TSector::FindSubsector(const std::string& name) const {
    for (std::size_t i = 0; i < SSName.size(); ++i)
        if (SSName[i] == name) return static_cast<int>(i) + 1;
    return 0;
}

bool TSector::HasStars() const {
    for (const auto& c : Children())
        if (dynamic_cast<TStar*>(c.get())) return true;
    return false;
}

std::vector<TStar*> TSector::Stars() const {
    return ChildrenOf<TStar>();
}
