#pragma once
// The platform's dynamic loader behind one small interface: where the running
// program lives, and loading a library by absolute path (never through the
// platform's search order).

#include <filesystem>
#include <string>

namespace hexlane {

// Folder of the running program's executable file, resolved from the
// executable itself (not the working folder); empty when it cannot be found.
std::filesystem::path ExecutableFolder();

// One loaded library, unloaded when the object goes.
class SharedLibrary {
public:
    using Function = void (*)();

    // Loads the library at an absolute path; Loaded() tells whether it worked.
    explicit SharedLibrary(const std::filesystem::path& file);
    ~SharedLibrary();
    SharedLibrary(const SharedLibrary&) = delete;
    SharedLibrary& operator=(const SharedLibrary&) = delete;

    bool Loaded() const { return handle_ != nullptr; }
    // The loader's reason when the library did not load; empty otherwise.
    const std::string& LoadError() const { return loadError_; }
    // The exported function of that name, or null when there is none.
    Function Find(const char* name) const;

private:
    void* handle_ = nullptr;
    std::string loadError_;
};

}  // namespace hexlane
