// The only place that talks to the platform's dynamic loader.

#include "SharedLibrary.h"

#include <cstdint>
#include <cstdio>
#include <system_error>

#if defined(_WIN32)
#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <dlfcn.h>
#if defined(__APPLE__)
#include <mach-o/dyld.h>
#endif
#endif

namespace hexlane {

#if defined(_WIN32)

std::filesystem::path ExecutableFolder() {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return {};
        if (length < buffer.size()) {
            buffer.resize(length);
            return std::filesystem::path(buffer).parent_path();
        }
        if (buffer.size() >= 32768) return {};
        buffer.resize(buffer.size() * 2);
    }
}

SharedLibrary::SharedLibrary(const std::filesystem::path& file) {
    if (!file.is_absolute()) {
        loadError_ = "not an absolute path";
        return;
    }
    // Dependencies come from the library's own folder and the system folders,
    // never from the working folder.
    handle_ = LoadLibraryExW(file.c_str(), nullptr,
                             LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
    if (!handle_) {
        char text[512] = {};
        const DWORD code = GetLastError();
        if (FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text,
                           sizeof text, nullptr) == 0)
            std::snprintf(text, sizeof text, "error %lu", static_cast<unsigned long>(code));
        loadError_ = text;
        while (!loadError_.empty() && (loadError_.back() == '\n' || loadError_.back() == '\r')) loadError_.pop_back();
    }
}

SharedLibrary::~SharedLibrary() {
    if (handle_) FreeLibrary(static_cast<HMODULE>(handle_));
}

SharedLibrary::Function SharedLibrary::Find(const char* name) const {
    if (!handle_) return nullptr;
    return reinterpret_cast<Function>(GetProcAddress(static_cast<HMODULE>(handle_), name));
}

#else

std::filesystem::path ExecutableFolder() {
    std::error_code error;
#if defined(__APPLE__)
    std::uint32_t size = 0;
    _NSGetExecutablePath(nullptr, &size);
    std::string buffer(size, '\0');
    if (_NSGetExecutablePath(buffer.data(), &size) != 0) return {};
    buffer.resize(buffer.find('\0') == std::string::npos ? buffer.size() : buffer.find('\0'));
    const std::filesystem::path program = std::filesystem::canonical(buffer, error);
#else
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
#endif
    if (error || !program.is_absolute()) return {};
    return program.parent_path();
}

SharedLibrary::SharedLibrary(const std::filesystem::path& file) {
    // An absolute path is taken as it stands; dlopen searches only for bare names.
    if (!file.is_absolute()) {
        loadError_ = "not an absolute path";
        return;
    }
    dlerror();
    handle_ = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle_) {
        const char* reason = dlerror();
        loadError_ = reason ? reason : "unknown reason";
    }
}

SharedLibrary::~SharedLibrary() {
    if (handle_) dlclose(handle_);
}

SharedLibrary::Function SharedLibrary::Find(const char* name) const {
    if (!handle_) return nullptr;
    return reinterpret_cast<Function>(dlsym(handle_, name));
}

#endif

}  // namespace hexlane
