#pragma once
// TManager: base of every persisted map object. Owns an ordered list of
// children, knows its owner, and offers loading and saving of a whole tree in
// the object stream format (ObjectStream.h), version helpers and deep copy.

#include "CompactString.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

struct ClassInfo;

// The message when a map's objects need more memory than can be had.
inline constexpr const char* kNotEnoughMemoryToOpen = "Not enough memory to open this map.";

class TManager {
public:
    TManager() = default;
    virtual ~TManager();
    TManager(const TManager&) = delete;
    TManager& operator=(const TManager&) = delete;

    // Class description (name, factory, published properties).
    virtual const ClassInfo& Class() const;
    static const ClassInfo& StaticClass();

    // Component fields: Name is written in the record header, Tag as a property.
    CompactString Name;
    std::int32_t Tag = 0;

    // Published properties.
    bool ManagerRequiresSaving = false;  // changed flag of the tree (not stored)
    double ManagerVersion = 0.0;         // map-format version (stored)
    std::string Name1;                   // display name (stored)
    // Free name slots (not stored). Hardly any object uses them, so they are
    // kept apart and made only when one is set.
    const std::string& ManagerFileName() const { return NameSlot(0); }
    const std::string& ManagerOpenDialogName() const { return NameSlot(1); }
    const std::string& ManagerSaveDialogName() const { return NameSlot(2); }
    void SetManagerFileName(const std::string& v) { SetNameSlot(0, v); }
    void SetManagerOpenDialogName(const std::string& v) { SetNameSlot(1, v); }
    void SetManagerSaveDialogName(const std::string& v) { SetNameSlot(2, v); }

    // ---- ownership ----
    TManager* Owner() const { return owner_; }
    const std::vector<std::unique_ptr<TManager>>& Children() const { return children_; }
    std::size_t ChildCount() const { return children_.size(); }
    TManager* Child(std::size_t i) const { return children_[i].get(); }

    // Appends an object to the children and makes this its owner.
    template <class T>
    T* Adopt(std::unique_ptr<T> child) {
        T* raw = child.get();
        AdoptRaw(std::unique_ptr<TManager>(std::move(child)));
        return raw;
    }
    // Creates a new object of class T owned by this one (appended to the children).
    template <class T>
    T* Create() {
        return Adopt(std::make_unique<T>());
    }
    // Takes a child out of the list without destroying it.
    std::unique_ptr<TManager> Release(TManager* child);
    // Destroys an object: its children first, then removes it from its owner.
    static void Destroy(TManager* object);

    // Calls fn once per child, in child order (the order in which they are written).
    void EnumerateChildren(const std::function<void(TManager&)>& fn) const;
    // Destroys the first child until none is left. Always true.
    bool ClearChildren();
    // Destroys every child for which `doomed` is true, in one pass; the others
    // keep their order.
    void DestroyChildrenIf(bool (*doomed)(const TManager&));

    // Children of class T (exact or derived), in child order.
    template <class T>
    std::vector<T*> ChildrenOf() const {
        std::vector<T*> out;
        for (const auto& c : children_)
            if (auto* t = dynamic_cast<T*>(c.get())) out.push_back(t);
        return out;
    }

    // ---- files ----
    // Replaces this object's children and stored properties by those of the
    // file. On failure `message` gets "Error Creating Filestream" or "Error
    // Reading File" (empty for an empty file name); objects read before a
    // failure stay in the tree.
    bool LoadFromFile(const std::string& fileName, std::string& message);
    // Writes this object and its descendants. The existing file is replaced only
    // once the whole tree was written. On failure `message` gets "Error Creating
    // Filestream" or "Error Saving " + fileName. Clears ManagerRequiresSaving on
    // success.
    bool SaveToFile(const std::string& fileName, std::string& message);

    // ---- versions ----
    // True when `version` is strictly greater than ManagerVersion.
    bool IsOlderThan(double version) const { return version > ManagerVersion; }
    static std::string VersionString(double version);

private:
    void AdoptRaw(std::unique_ptr<TManager> child);
    const std::string& NameSlot(int i) const;
    void SetNameSlot(int i, const std::string& value);
    TManager* owner_ = nullptr;
    std::vector<std::unique_ptr<TManager>> children_;
    std::unique_ptr<std::string[]> nameSlots_;  // three, or none while all are empty
};

// Plain object of the tree with nothing of its own (base of transient helpers).
class TBaseComponent : public TManager {
public:
    const ClassInfo& Class() const override;
    static const ClassInfo& StaticClass();
};

// Exact-class test for the leaf map classes (all final): cheaper than
// dynamic_cast on passes over every star.
template <class T>
T* As(TManager* m) {
    return m && &m->Class() == &T::StaticClass() ? static_cast<T*>(m) : nullptr;
}
template <class T>
const T* As(const TManager* m) {
    return m && &m->Class() == &T::StaticClass() ? static_cast<const T*>(m) : nullptr;
}

// The editor's map-format version.
inline constexpr double kMapFormatVersion = 4.51;

// "Yes" or "No".
std::string YesNoText(bool value);

// Deep copy through an in-memory object stream: the copy has the same class,
// stored properties and stored descendants; unstored properties start empty.
// It is appended to newOwner's children (if any). Returns null only if the
// source cannot be streamed.
TManager* CloneObject(TManager* newOwner, const TManager& source);
std::unique_ptr<TManager> CloneObject(const TManager& source);
