#include "DefineRoute.h"

#include "DefineUniverse.h"

namespace {

TUniverse* RootUniverse(const TManager* m) {
    for (TManager* o = m->Owner(); o; o = o->Owner())
        if (auto* u = dynamic_cast<TUniverse*>(o)) return u;
    return nullptr;
}

TStar* Find(const TManager* from, const std::string& name) {
    const TUniverse* u = RootUniverse(from);
    return u ? u->FindStar(name) : nullptr;
}

}  // namespace

std::vector<TRouteLeg*> TRoute::Legs() const {
    return ChildrenOf<TRouteLeg>();
}

TUniverse* TRoute::Universe() const {
    return RootUniverse(this);
}

int TRoute::Distance() const {
    int total = 0;
    const TUniverse* u = Universe();
    for (const TRouteLeg* leg : Legs()) {
        // A leg whose start or end star no longer exists has no length.
        const int d = u ? TUniverse::StarDistance(u->FindStar(leg->SStarName), u->FindStar(leg->EStarName)) : -1;
        if (d > 0) total += d;
    }
    DistanceSlot = total;
    return total;
}

TRoute* TRouteLeg::Route() const {
    return dynamic_cast<TRoute*>(Owner());
}

TUniverse* TRouteLeg::Universe() const {
    return RootUniverse(this);
}

int TRouteLeg::SCoordsX() const {
    const TStar* s = Find(this, SStarName);
    return s ? s->HexX : -1;
}

int TRouteLeg::SCoordsY() const {
    const TStar* s = Find(this, SStarName);
    return s ? s->HexY : -1;
}

int TRouteLeg::ECoordsX() const {
    const TStar* s = Find(this, EStarName);
    return s ? s->HexX : -1;
}

int TRouteLeg::ECoordsY() const {
    const TStar* s = Find(this, EStarName);
    return s ? s->HexY : -1;
}

std::int32_t TRouteLeg::DrawColor() const {
    const TRoute* r = Route();
    return OverrideProperties || !r ? Color : r->Color;
}

std::uint8_t TRouteLeg::DrawLineType() const {
    const TRoute* r = Route();
    return OverrideProperties || !r ? LineType : r->LineType;
}

std::uint8_t TRouteLeg::DrawLineThickness() const {
    const TRoute* r = Route();
    return OverrideProperties || !r ? LineThickness : r->LineThickness;
}
