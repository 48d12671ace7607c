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
