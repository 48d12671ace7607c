#pragma once
// Published-property tables. Every persisted class declares one table of its
// published properties in published order (inherited ones first); the object
// stream reader and writer, the tool's dump and copies work only through
// these tables and the class registry.

#include <cstdint>
#include <cstddef>
#include <limits>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <unordered_map>
#include <vector>

#include "CompactString.h"

class TManager;

enum class PropKind {
    Integer,      // 32-bit signed
    Byte,         // 8-bit unsigned
    Colour,       // 32-bit 0x00BBGGRR or a system colour
    Boolean,
    Enumeration,  // written as the identifier of its value
    Double,
    String,
    Char,         // one character, read only
};

// A property without a declared default has this one, so it is always written.
inline constexpr std::int64_t kNoDefault = std::numeric_limits<std::int32_t>::min();

struct PropInfo {
    std::string_view Name;
    PropKind Kind = PropKind::Integer;
    bool Stored = false;
    std::int64_t Default = kNoDefault;
    std::span<const std::string_view> EnumNames;  // enumerations only

    // Accessors of the kind: ordinal kinds use *Ord, Double *Double, String and
    // Char *String. A null setter means read only.
    std::int64_t (*GetOrd)(const TManager&) = nullptr;
    void (*SetOrd)(TManager&, std::int64_t) = nullptr;
    double (*GetDouble)(const TManager&) = nullptr;
    void (*SetDouble)(TManager&, double) = nullptr;
    std::string (*GetString)(const TManager&) = nullptr;
    void (*SetString)(TManager&, std::string_view) = nullptr;
    // For strings held by the object: a view of them, without a copy.
    std::string_view (*ViewString)(const TManager&) = nullptr;

    bool IsOrdinal() const {
        return Kind != PropKind::Double && Kind != PropKind::String && Kind != PropKind::Char;
    }
    bool Writable() const { return SetOrd || SetDouble || SetString; }
};

struct ClassInfo {
    std::string_view Name;
    std::unique_ptr<TManager> (*Create)() = nullptr;
    std::vector<PropInfo> Props;  // inherited first, in published order

    // Looks a property up by name, letters compared without regard to case.
    const PropInfo* FindProp(std::string_view name) const;
    // The same, looking first at the properties from index `next` on, where a
    // stream in table order has its next one; `next` moves past the one found.
    const PropInfo* FindProp(std::string_view name, std::size_t& next) const;

    ClassInfo(std::string_view name, std::unique_ptr<TManager> (*create)(), std::vector<PropInfo> props);

private:
    std::unordered_map<std::string, const PropInfo*> index_;  // lower-case name
};

// Whether the writer puts this stored property into a stream: ordinal values
// unless equal to the default, doubles unless 0, strings unless empty. (The
// stream writer applies the same rule to the values it has read.)
bool WritesValue(const TManager& obj, const PropInfo& p);

// The registered classes that a stream reader resolves (names compared without
// regard to case), or null.
const ClassInfo* FindRegisteredClass(std::string_view name);
const std::vector<const ClassInfo*>& RegisteredClasses();

// Named colours: identifier for a value, or value for an identifier.
const char* ColourToIdent(std::int32_t value);
bool IdentToColour(std::string_view ident, std::int32_t& value);

// ASCII case-insensitive equality.
bool SameText(std::string_view a, std::string_view b);

// ---------------------------------------------------------------------------
// Builders used by the class tables.
namespace props {

template <class>
struct Member;
template <class C, class T>
struct Member<T C::*> {
    using Class = C;
    using Type = T;
};

// The text types an object holds its strings in.
template <class T>
inline constexpr bool kIsText = std::is_same_v<T, std::string> || std::is_same_v<T, CompactString>;

template <auto M>
using ClassOf = typename Member<decltype(M)>::Class;
template <auto M>
using TypeOf = typename Member<decltype(M)>::Type;

// A plain data member: getter and setter store and read the member itself.
template <auto M>
PropInfo Field(std::string_view name, PropKind kind, bool stored, std::int64_t def = kNoDefault,
               std::span<const std::string_view> enums = {}) {
    using C = ClassOf<M>;
    using T = TypeOf<M>;
    PropInfo p;
    p.Name = name;
    p.Kind = kind;
    p.Stored = stored;
    p.Default = def;
    p.EnumNames = enums;
    if constexpr (kIsText<T>) {
        p.GetString = [](const TManager& o) { return std::string(static_cast<const C&>(o).*M); };
        p.SetString = [](TManager& o, std::string_view v) { (static_cast<C&>(o).*M).assign(v.data(), v.size()); };
        p.ViewString = [](const TManager& o) { return std::string_view(static_cast<const C&>(o).*M); };
    } else if constexpr (std::is_floating_point_v<T>) {
        p.GetDouble = [](const TManager& o) { return static_cast<double>(static_cast<const C&>(o).*M); };
        p.SetDouble = [](TManager& o, double v) { static_cast<C&>(o).*M = static_cast<T>(v); };
    } else {
        p.GetOrd = [](const TManager& o) { return static_cast<std::int64_t>(static_cast<const C&>(o).*M); };
        p.SetOrd = [](TManager& o, std::int64_t v) { static_cast<C&>(o).*M = static_cast<T>(v); };
    }
    return p;
}

// Element I of an array member.
template <auto M, std::size_t I>
PropInfo Element(std::string_view name, PropKind kind, bool stored) {
    using C = ClassOf<M>;
    using T = typename TypeOf<M>::value_type;
    PropInfo p;
    p.Name = name;
    p.Kind = kind;
    p.Stored = stored;
    if constexpr (std::is_same_v<T, std::string>) {
        p.GetString = [](const TManager& o) { return (static_cast<const C&>(o).*M)[I]; };
        p.SetString = [](TManager& o, std::string_view v) { (static_cast<C&>(o).*M)[I].assign(v.data(), v.size()); };
        p.ViewString = [](const TManager& o) { return std::string_view((static_cast<const C&>(o).*M)[I]); };
    } else {
        p.GetOrd = [](const TManager& o) { return static_cast<std::int64_t>((static_cast<const C&>(o).*M)[I]); };
        p.SetOrd = [](TManager& o, std::int64_t v) { (static_cast<C&>(o).*M)[I] = static_cast<T>(v); };
    }
    return p;
}

template <class>
struct Getter;
template <class C, class R>
struct Getter<R (C::*)() const> {
    using Class = C;
    using Result = R;
};

// A property read through a method and written through another (or read only
// when Set is nullptr).
template <auto Get, auto Set = nullptr>
PropInfo Method(std::string_view name, PropKind kind, bool stored) {
    using C = typename Getter<decltype(Get)>::Class;
    using R = std::decay_t<typename Getter<decltype(Get)>::Result>;
    PropInfo p;
    p.Name = name;
    p.Kind = kind;
    p.Stored = stored;
    if constexpr (kIsText<R>) {
        p.GetString = [](const TManager& o) { return std::string((static_cast<const C&>(o).*Get)()); };
        if constexpr (std::is_reference_v<typename Getter<decltype(Get)>::Result>)
            p.ViewString = [](const TManager& o) { return std::string_view((static_cast<const C&>(o).*Get)()); };
        if constexpr (!std::is_same_v<decltype(Set), std::nullptr_t>)
            p.SetString = [](TManager& o, std::string_view v) { (static_cast<C&>(o).*Set)(std::string(v)); };
    } else if constexpr (std::is_same_v<R, char>) {
        p.GetString = [](const TManager& o) { return std::string(1, (static_cast<const C&>(o).*Get)()); };
    } else if constexpr (std::is_floating_point_v<R>) {
        p.GetDouble = [](const TManager& o) { return static_cast<double>((static_cast<const C&>(o).*Get)()); };
        if constexpr (!std::is_same_v<decltype(Set), std::nullptr_t>)
            p.SetDouble = [](TManager& o, double v) { (static_cast<C&>(o).*Set)(v); };
    } else {
        p.GetOrd = [](const TManager& o) { return static_cast<std::int64_t>((static_cast<const C&>(o).*Get)()); };
        if constexpr (!std::is_same_v<decltype(Set), std::nullptr_t>)
            p.SetOrd = [](TManager& o, std::int64_t v) { (static_cast<C&>(o).*Set)(static_cast<R>(v)); };
    }
    return p;
}

}  // namespace props
