#include "Manager.h"

#include "FileIO.h"
#include "ObjectStream.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <new>

TManager::~TManager() {
    ClearChildren();
}

void TManager::AdoptRaw(std::unique_ptr<TManager> child) {
    child->owner_ = this;
    children_.push_back(std::move(child));
}

std::unique_ptr<TManager> TManager::Release(TManager* child) {
    auto it = std::find_if(children_.begin(), children_.end(),
                           [child](const std::unique_ptr<TManager>& c) { return c.get() == child; });
    if (it == children_.end()) return nullptr;
    std::unique_ptr<TManager> out = std::move(*it);
    children_.erase(it);
    out->owner_ = nullptr;
    return out;
}

void TManager::Destroy(TManager* object) {
    if (!object) return;
    if (TManager* owner = object->owner_) {
        object->ClearChildren();
        owner->Release(object).reset();
    } else {
        delete object;
    }
}

void TManager::EnumerateChildren(const std::function<void(TManager&)>& fn) const {
    for (const auto& c : children_) fn(*c);
}

bool TManager::ClearChildren() {
    // Destroy the last child first: the result is the same as destroying the
    // first one repeatedly, without shifting the list each time.
    while (!children_.empty()) {
        std::unique_ptr<TManager> last = std::move(children_.back());
        children_.pop_back();
        last.reset();
    }
    return true;
}

const std::string& TManager::NameSlot(int i) const {
    static const std::string empty;
    return nameSlots_ ? nameSlots_[static_cast<std::size_t>(i)] : empty;
}

void TManager::SetNameSlot(int i, const std::string& value) {
    if (!nameSlots_) {
        if (value.empty()) return;
        nameSlots_ = std::make_unique<std::string[]>(3);
    }
    nameSlots_[static_cast<std::size_t>(i)] = value;
}

void TManager::DestroyChildrenIf(bool (*doomed)(const TManager&)) {
    std::vector<std::unique_ptr<TManager>> kept;
    kept.reserve(children_.size());
    for (std::unique_ptr<TManager>& c : children_) {
        if (doomed(*c)) c.reset();
        else kept.push_back(std::move(c));
    }
    children_ = std::move(kept);
}

bool TManager::LoadFromFile(const std::string& fileName, std::string& message) {
    message.clear();
    if (fileName.empty()) return false;
    ClearChildren();
    hexlane::InputFile file(fileName);
    if (!file.Open()) {
        message = "Error Creating Filestream";
        return false;
    }
    try {
        if (!hexlane::ReadObjectStreamInto(*this, file.Handle(), file.Size())) {
            message = "Error Reading File";
            return false;
        }
    } catch (const std::bad_alloc&) {
        // What was read goes, which gives the memory back.
        ClearChildren();
        message = kNotEnoughMemoryToOpen;
        return false;
    }
    return true;
}

bool TManager::SaveToFile(const std::string& fileName, std::string& message) {
    message.clear();
    hexlane::ReplacingOutputFile file(fileName);
    if (!file.Open()) {
        message = "Error Creating Filestream";
        return false;
    }
    if (!hexlane::WriteObjectStream(*this, file.Handle()) || !file.Commit()) {
        message = "Error Saving " + fileName;
        return false;
    }
    ManagerRequiresSaving = false;
    return true;
}

std::string TManager::VersionString(double version) {
    const double whole = std::trunc(version);
    const long long a = static_cast<long long>(whole);
    // Round half to even, as the version's fraction is usually a binary
    // approximation (4.51 gives 5099.99...).
    const long long f = static_cast<long long>(std::nearbyint((version - whole) * 10000.0));
    char digits[32];
    std::snprintf(digits, sizeof digits, "%04lld", f);
    const std::string fs = digits;
    return "Version " + std::to_string(a) + "." + fs.substr(0, 2) + "." + fs.substr(2, 2);
}

std::string YesNoText(bool value) {
    return value ? "Yes" : "No";
}

std::unique_ptr<TManager> CloneObject(const TManager& source) {
    std::string bytes;
    hexlane::WriteObjectStream(source, bytes);
    return hexlane::ReadObjectStream(bytes);
}

TManager* CloneObject(TManager* newOwner, const TManager& source) {
    std::unique_ptr<TManager> copy = CloneObject(source);
    if (!copy) return nullptr;
    if (!newOwner) return copy.release();
    return newOwner->Adopt(std::move(copy));
}
