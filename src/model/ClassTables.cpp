// Published-property tables of every persisted class, the class registry and
// the named colours.

#include "DefineUniverse.h"
#include "Properties.h"

#include <array>
#include <utility>

using props::Element;
using props::Field;
using props::Method;
using K = PropKind;

bool SameText(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

namespace {

std::string LowerCopy(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

template <class T>
std::unique_ptr<TManager> Make() {
    return std::make_unique<T>();
}

std::vector<PropInfo> Concat(std::vector<PropInfo> base, std::vector<PropInfo> own) {
    base.insert(base.end(), own.begin(), own.end());
    return base;
}

// Tag, then the TManager properties in published order.
std::vector<PropInfo> ManagerProps() {
    PropInfo tag = Field<&TManager::Tag>("Tag", K::Integer, true, 0);
    return {
        tag,
        Field<&TManager::ManagerRequiresSaving>("ManagerRequiresSaving", K::Boolean, false),
        Field<&TManager::ManagerVersion>("ManagerVersion", K::Double, true),
        Field<&TManager::Name1>("Name1", K::String, true),
        Method<&TManager::ManagerFileName, &TManager::SetManagerFileName>("ManagerFileName", K::String, false),
        Method<&TManager::ManagerOpenDialogName, &TManager::SetManagerOpenDialogName>("ManagerOpenDialogName",
                                                                                     K::String, false),
        Method<&TManager::ManagerSaveDialogName, &TManager::SetManagerSaveDialogName>("ManagerSaveDialogName",
                                                                                     K::String, false),
    };
}

constexpr std::array<std::string_view, 4> kZoneNames = {"tzcUnknown", "tzcGreen", "tzcAmber", "tzcRed"};
constexpr std::array<std::string_view, 8> kStyleNames = {"bsSolid",     "bsClear",     "bsHorizontal",
                                                         "bsVertical",  "bsFDiagonal", "bsBDiagonal",
                                                         "bsCross",     "bsDiagCross"};

constexpr const char* kTLNames[17][2] = {
    {"TL0AltDesc", "TL0AltValue"}, {"TL1AltDesc", "TL1AltValue"}, {"TL2AltDesc", "TL2AltValue"},
    {"TL3AltDesc", "TL3AltValue"}, {"TL4AltDesc", "TL4AltValue"}, {"TL5AltDesc", "TL5AltValue"},
    {"TL6AltDesc", "TL6AltValue"}, {"TL7AltDesc", "TL7AltValue"}, {"TL8AltDesc", "TL8AltValue"},
    {"TL9AltDesc", "TL9AltValue"}, {"TLAAltDesc", "TLAAltValue"}, {"TLBAltDesc", "TLBAltValue"},
    {"TLCAltDesc", "TLCAltValue"}, {"TLDAltDesc", "TLDAltValue"}, {"TLEAltDesc", "TLEAltValue"},
    {"TLFAltDesc", "TLFAltValue"}, {"TLGAltDesc", "TLGAltValue"},
};

template <std::size_t... I>
std::vector<PropInfo> TLProps(std::index_sequence<I...>) {
    std::vector<PropInfo> out{Element<&TUniverse::TLAltDesc, I>(kTLNames[I][0], K::String, true)...};
    (out.push_back(Element<&TUniverse::TLAltValue, I>(kTLNames[I][1], K::Integer, true)), ...);
    return out;
}

constexpr const char* kSSNames[16] = {
    "SS0101Name", "SS0102Name", "SS0103Name", "SS0104Name", "SS0201Name", "SS0202Name",
    "SS0203Name", "SS0204Name", "SS0301Name", "SS0302Name", "SS0303Name", "SS0304Name",
    "SS0401Name", "SS0402Name", "SS0403Name", "SS0404Name",
};

template <std::size_t... I>
std::vector<PropInfo> SSProps(std::index_sequence<I...>) {
    return {Element<&TSector::SSName, I>(kSSNames[I], K::String, true)...};
}

// Published (not stored) properties of the universe.
std::vector<PropInfo> UniverseProps() {
    std::vector<PropInfo> own = TLProps(std::make_index_sequence<17>{});
    own.push_back(Field<&TUniverse::UseAltTL>("UseAltTL", K::Boolean, false));
    own.push_back(Field<&TUniverse::MajorVersion>("MajorVersion", K::Integer, false));
    own.push_back(Field<&TUniverse::MinorVersion>("MinorVersion", K::Integer, false));
    own.push_back(Field<&TUniverse::BugFixVersion>("BugFixVersion", K::Integer, false));
    return own;
}

std::vector<PropInfo> SectorProps() {
    std::vector<PropInfo> own;
    own.push_back(Method<&TSector::ExcludeFromDisplay, &TSector::SetExcludeFromDisplay>("ExcludeFromDisplay",
                                                                                         K::Boolean, true));
    own.push_back(Field<&TSector::SectorCoordsX>("SectorCoordsX", K::Integer, true));
    own.push_back(Field<&TSector::SectorCoordsY>("SectorCoordsY", K::Integer, true));
    for (PropInfo& p : SSProps(std::make_index_sequence<16>{})) own.push_back(p);
    own.push_back(Method<&TSector::HasStars>("HasStars", K::Boolean, false));
    return own;
}

std::vector<PropInfo> StarProps() {
    return {
        Field<&TStar::Allegiance>("Allegiance", K::String, true),
        Field<&TStar::SubSectorName>("SubSectorName", K::String, true),
        Field<&TStar::StarCoordsX>("StarCoordsX", K::Integer, true),
        Field<&TStar::StarCoordsY>("StarCoordsY", K::Integer, true),
        Field<&TStar::UPC>("UPC", K::String, true),
        Field<&TStar::Starport>("Starport", K::String, true),
        Field<&TStar::Spaceport>("Spaceport", K::String, true),
        // The stored code: the file and every copy keep the real tech level
        // whatever the alternate scale in use.
        Method<&TStar::StoredTechLevel, &TStar::SetTechLevel>("TechLevel", K::String, true),
        Field<&TStar::SystemContent>("SystemContent", K::Integer, true),
        Field<&TStar::TravelZoneCode>("TravelZoneCode", K::Enumeration, true, kNoDefault, kZoneNames),
        Field<&TStar::SubsectorCapital>("SubsectorCapital", K::Boolean, true),
        Field<&TStar::Notes>("Notes", K::String, true),
        Field<&TStar::SysData>("SysData", K::String, true),
        Field<&TStar::Visited>("Visited", K::Boolean, true),
        Field<&TStar::MapIndex>("MapIndex", K::Integer, true),
        Field<&TStar::Skewing>("Skewing", K::Integer, true),
        Field<&TStar::UserSurveyed>("UserSurveyed", K::Boolean, true),
        Field<&TStar::PsiInstitute>("PsiInstitute", K::Boolean, true),
        Field<&TStar::UAP>("UAP", K::Integer, true),
        Field<&TStar::ComPsiRating>("ComPsiRating", K::String, true),
        Field<&TStar::EduPsiRating>("EduPsiRating", K::String, true),
        Field<&TStar::GovPsiRating>("GovPsiRating", K::String, true),
        Field<&TStar::SecPsiRating>("SecPsiRating", K::String, true),
        Field<&TStar::Orbit>("Orbit", K::Integer, true),
        // Published, not stored.
        Method<&TStar::SectorName, &TStar::SetSectorName>("SectorName", K::String, false),
        Method<&TStar::SubSectorCoordsX>("SubSectorCoordsX", K::Integer, false),
        Method<&TStar::SubSectorCoordsY>("SubSectorCoordsY", K::Integer, false),
        Method<&TStar::SectorCoordsX>("SectorCoordsX", K::Integer, false),
        Method<&TStar::SectorCoordsY>("SectorCoordsY", K::Integer, false),
        Field<&TStar::ExcludeFromDisplay>("ExcludeFromDisplay", K::Boolean, false),
        Method<&TStar::BuyValue<0>, &TStar::SetBuyValue<0>>("BuyValue1", K::Double, false),
        Method<&TStar::BuyValue<1>, &TStar::SetBuyValue<1>>("BuyValue2", K::Double, false),
        Method<&TStar::BuyValue<2>, &TStar::SetBuyValue<2>>("BuyValue3", K::Double, false),
        Method<&TStar::BuyValue<3>, &TStar::SetBuyValue<3>>("BuyValue4", K::Double, false),
        Method<&TStar::BuyValue<4>, &TStar::SetBuyValue<4>>("BuyValue5", K::Double, false),
        Method<&TStar::BuyValue<5>, &TStar::SetBuyValue<5>>("BuyValue6", K::Double, false),
        Field<&TStar::Marked>("Marked", K::Boolean, false),
        Field<&TStar::Color>("Color", K::Colour, false),
        Field<&TStar::TradeCodes>("TradeCodes", K::Integer, false),
        Method<&TStar::TradeCodesStr>("TradeCodesStr", K::String, false),
        Method<&TStar::PSIndex>("PSIndex", K::Integer, false),
        Method<&TStar::AtIndex>("AtIndex", K::Integer, false),
        Method<&TStar::HydroIndex>("HydroIndex", K::Integer, false),
        Method<&TStar::PopIndex>("PopIndex", K::Integer, false),
        Method<&TStar::GovIndex>("GovIndex", K::Integer, false),
        Method<&TStar::LLIndex>("LLIndex", K::Integer, false),
        Method<&TStar::SPIndex>("SPIndex", K::Integer, false),
        Method<&TStar::SpPIndex>("SpPIndex", K::Integer, false),
        Method<&TStar::TLIndex>("TLIndex", K::Integer, false),
        Method<&TStar::PSUPCCode>("PSUPCCode", K::Char, false),
        Method<&TStar::AtUPCCode>("AtUPCCode", K::Char, false),
        Method<&TStar::HUPCCode>("HUPCCode", K::Char, false),
        Method<&TStar::PopUPCCode>("PopUPCCode", K::Char, false),
        Method<&TStar::GovUPCCode>("GovUPCCode", K::Char, false),
        Method<&TStar::LLUPCCode>("LLUPCCode", K::Char, false),
        Field<&TStar::Visible>("Visible", K::Boolean, false),
    };
}

std::vector<PropInfo> RouteProps() {
    return {
        Field<&TRoute::ShowRoute>("ShowRoute", K::Boolean, true),
        Field<&TRoute::Color>("Color", K::Colour, true),
        Field<&TRoute::User>("User", K::Boolean, true),
        Field<&TRoute::LineType>("LineType", K::Byte, true),
        Field<&TRoute::LineThickness>("LineThickness", K::Byte, true, 1),
        Method<&TRoute::Distance>("Distance", K::Integer, false),
    };
}

std::vector<PropInfo> LegProps() {
    return {
        Field<&TRouteLeg::GroupName>("GroupName", K::String, false),
        Field<&TRouteLeg::SStarName>("SStarName", K::String, true),
        Field<&TRouteLeg::EStarName>("EStarName", K::String, true),
        Field<&TRouteLeg::OverrideProperties>("OverrideProperties", K::Boolean, true),
        Field<&TRouteLeg::Color>("Color", K::Colour, true),
        Field<&TRouteLeg::LineType>("LineType", K::Byte, true),
        Field<&TRouteLeg::LineThickness>("LineThickness", K::Byte, true, 1),
        Method<&TRouteLeg::SCoordsX>("SCoordsX", K::Integer, false),
        Method<&TRouteLeg::SCoordsY>("SCoordsY", K::Integer, false),
        Method<&TRouteLeg::ECoordsX>("ECoordsX", K::Integer, false),
        Method<&TRouteLeg::ECoordsY>("ECoordsY", K::Integer, false),
    };
}

std::vector<PropInfo> AllegianceProps() {
    return {
        Field<&TAllegiance::Color>("Color", K::Colour, true),
        Field<&TAllegiance::ImportCode>("ImportCode", K::String, true),
        Field<&TAllegiance::Notes>("Notes", K::String, true),
        Field<&TAllegiance::Style>("Style", K::Enumeration, true, kNoDefault, kStyleNames),
    };
}

}  // namespace

ClassInfo::ClassInfo(std::string_view name, std::unique_ptr<TManager> (*create)(), std::vector<PropInfo> props)
    : Name(name), Create(create), Props(std::move(props)) {
    for (const PropInfo& p : Props) index_.emplace(LowerCopy(p.Name), &p);
}

const PropInfo* ClassInfo::FindProp(std::string_view name) const {
    char buf[256];
    if (name.size() > sizeof buf) return nullptr;
    for (std::size_t i = 0; i < name.size(); ++i) {
        char c = name[i];
        buf[i] = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    auto it = index_.find(std::string(buf, name.size()));
    return it == index_.end() ? nullptr : it->second;
}

const PropInfo* ClassInfo::FindProp(std::string_view name, std::size_t& next) const {
    // Names are unique without regard to case, so an exact match found on the
    // way is the one; a name in other letter case goes to the index.
    for (std::size_t i = next; i < Props.size(); ++i) {
        if (Props[i].Name == name) {
            next = i + 1;
            return &Props[i];
        }
    }
    return FindProp(name);
}

#define HEXLANE_CLASS(Cls, propsExpr)                                   \
    const ClassInfo& Cls::StaticClass() {                               \
        static const ClassInfo info(#Cls, &Make<Cls>, propsExpr);       \
        return info;                                                    \
    }                                                                   \
    const ClassInfo& Cls::Class() const { return StaticClass(); }

HEXLANE_CLASS(TManager, ManagerProps())
HEXLANE_CLASS(TBaseComponent, ManagerProps())
HEXLANE_CLASS(TUniverse, Concat(ManagerProps(), UniverseProps()))
HEXLANE_CLASS(TSectors, ManagerProps())
HEXLANE_CLASS(TSector, Concat(ManagerProps(), SectorProps()))
HEXLANE_CLASS(TStar, Concat(ManagerProps(), StarProps()))
HEXLANE_CLASS(TRoutes, ManagerProps())
HEXLANE_CLASS(TRoute, Concat(ManagerProps(), RouteProps()))
HEXLANE_CLASS(TRouteLeg, Concat(ManagerProps(), LegProps()))
HEXLANE_CLASS(TAllegiances, ManagerProps())
HEXLANE_CLASS(TAllegiance, Concat(ManagerProps(), AllegianceProps()))

#undef HEXLANE_CLASS

bool WritesValue(const TManager& obj, const PropInfo& p) {
    if (!p.Stored) return false;
    switch (p.Kind) {
    case PropKind::Double:
        return p.GetDouble(obj) != 0.0;
    case PropKind::String:
        return p.ViewString ? !p.ViewString(obj).empty() : !p.GetString(obj).empty();
    case PropKind::Char:
        return false;
    default:
        return p.GetOrd(obj) != p.Default;
    }
}

const std::vector<const ClassInfo*>& RegisteredClasses() {
    static const std::vector<const ClassInfo*> classes = {
        &TManager::StaticClass(),   &TBaseComponent::StaticClass(), &TUniverse::StaticClass(),
        &TStar::StaticClass(),      &TRoute::StaticClass(),         &TRouteLeg::StaticClass(),
        &TSector::StaticClass(),    &TAllegiance::StaticClass(),    &TRoutes::StaticClass(),
        &TSectors::StaticClass(),   &TAllegiances::StaticClass(),
    };
    return classes;
}

const ClassInfo* FindRegisteredClass(std::string_view name) {
    for (const ClassInfo* c : RegisteredClasses())
        if (SameText(c->Name, name)) return c;
    return nullptr;
}

// ---------------------------------------------------------------------------
namespace {

struct NamedColour {
    const char* Ident;
    std::uint32_t Value;
};

constexpr NamedColour kColours[] = {
    {"clBlack", 0x00000000},
    {"clMaroon", 0x00000080},
    {"clGreen", 0x00008000},
    {"clOlive", 0x00008080},
    {"clNavy", 0x00800000},
    {"clPurple", 0x00800080},
    {"clTeal", 0x00808000},
    {"clGray", 0x00808080},
    {"clSilver", 0x00C0C0C0},
    {"clRed", 0x000000FF},
    {"clLime", 0x0000FF00},
    {"clYellow", 0x0000FFFF},
    {"clBlue", 0x00FF0000},
    {"clFuchsia", 0x00FF00FF},
    {"clAqua", 0x00FFFF00},
    {"clWhite", 0x00FFFFFF},
    {"clScrollBar", 0x80000000},
    {"clBackground", 0x80000001},
    {"clActiveCaption", 0x80000002},
    {"clInactiveCaption", 0x80000003},
    {"clMenu", 0x80000004},
    {"clWindow", 0x80000005},
    {"clWindowFrame", 0x80000006},
    {"clMenuText", 0x80000007},
    {"clWindowText", 0x80000008},
    {"clCaptionText", 0x80000009},
    {"clActiveBorder", 0x8000000A},
    {"clInactiveBorder", 0x8000000B},
    {"clAppWorkSpace", 0x8000000C},
    {"clHighlight", 0x8000000D},
    {"clHighlightText", 0x8000000E},
    {"clBtnFace", 0x8000000F},
    {"clBtnShadow", 0x80000010},
    {"clGrayText", 0x80000011},
    {"clBtnText", 0x80000012},
    {"clInactiveCaptionText", 0x80000013},
    {"clBtnHighlight", 0x80000014},
    {"cl3DDkShadow", 0x80000015},
    {"cl3DLight", 0x80000016},
    {"clInfoText", 0x80000017},
    {"clInfoBk", 0x80000018},
    {"clNone", 0x1FFFFFFF},
};

}  // namespace

const char* ColourToIdent(std::int32_t value) {
    const auto u = static_cast<std::uint32_t>(value);
    for (const NamedColour& c : kColours)
        if (c.Value == u) return c.Ident;
    return nullptr;
}

bool IdentToColour(std::string_view ident, std::int32_t& value) {
    for (const NamedColour& c : kColours) {
        if (SameText(c.Ident, ident)) {
            value = static_cast<std::int32_t>(c.Value);
            return true;
        }
    }
    return false;
}
