#include "DefineSector.h"

#include "DefineStar.h"

#include <cstring>

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

int TSector::FindSubsector(std::string_view name) const {
    // Every layout pass calls this for every star: reject on length and on the
    // last and first characters before comparing whole names.
    const std::size_t n = name.size();
    for (std::size_t i = 0; i < SSName.size(); ++i) {
        const std::string& s = SSName[i];
        if (s.size() != n) continue;
        if (n == 0) return static_cast<int>(i) + 1;
        if (s[n - 1] == name[n - 1] && s[0] == name[0] &&
            (n <= 2 || std::memcmp(s.data() + 1, name.data() + 1, n - 2) == 0))
            return static_cast<int>(i) + 1;
    }
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
