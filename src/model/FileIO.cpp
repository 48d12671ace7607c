#include "FileIO.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace hexlane {

namespace {

std::FILE* OpenPath(const fs::path& p, const char* mode) {
#ifdef _WIN32
    std::wstring wmode(mode, mode + std::char_traits<char>::length(mode));
    return _wfopen(p.c_str(), wmode.c_str());
#else
    return std::fopen(p.c_str(), mode);
#endif
}

// Paths are held as UTF-8 text.
fs::path ToPath(const std::string& s) {
    return fs::path(std::u8string(s.begin(), s.end()));
}

}  // namespace

InputFile::~InputFile() {
    if (file_) std::fclose(file_);
}

bool InputFile::Open() {
    const fs::path p = ToPath(path_);
    std::error_code ec;
    if (!fs::is_regular_file(p, ec)) return false;
    size_ = fs::file_size(p, ec);
    if (ec) return false;
    file_ = OpenPath(p, "rb");
    return file_ != nullptr;
}

ReplacingOutputFile::ReplacingOutputFile(std::string target) : target_(std::move(target)) {
    fs::path t = ToPath(target_);
    // Replace what a symbolic link points at, not the link.
    std::error_code ec;
    if (fs::is_symlink(t, ec)) {
        fs::path resolved = fs::weakly_canonical(t, ec);
        if (!ec) t = resolved;
    }
    fs::path temp = t;
    temp += ".saving~";
    temp_ = std::string(reinterpret_cast<const char*>(temp.u8string().c_str()));
    target_ = std::string(reinterpret_cast<const char*>(t.u8string().c_str()));
}

ReplacingOutputFile::~ReplacingOutputFile() {
    if (file_) std::fclose(file_);
    if (created_ && !committed_) {
        std::error_code ec;
        fs::remove(ToPath(temp_), ec);
    }
}

bool ReplacingOutputFile::Open() {
    std::error_code ec;
    const fs::path target = ToPath(target_);
    if (target_.empty() || fs::is_directory(target, ec)) return false;
    // A rename needs only the folder's permission, so it would replace a
    // write-protected file; refuse to, as writing into it would.
    if (fs::exists(target, ec)) {
        std::FILE* existing = OpenPath(target, "r+b");
        if (!existing) return false;
        std::fclose(existing);
    }
    file_ = OpenPath(ToPath(temp_), "wb");
    created_ = file_ != nullptr;
    return created_;
}

bool ReplacingOutputFile::Commit() {
    if (!file_) return false;
    const bool flushed = std::fflush(file_) == 0 && !std::ferror(file_);
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    if (!flushed || !closed) return false;
    std::error_code ec;
    const fs::path target = ToPath(target_);
    // Keep the permissions of the file being replaced.
    const fs::file_status st = fs::status(target, ec);
    if (!ec && fs::exists(st)) fs::permissions(ToPath(temp_), st.permissions(), ec);
    fs::rename(ToPath(temp_), target, ec);
    if (ec) return false;
    committed_ = true;
    return true;
}

}  // namespace hexlane
