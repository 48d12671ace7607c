#include "FileIO.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#include <random>
#include <sys/stat.h>
#include <sys/types.h>
#else
#include <fcntl.h>
#include <random>
#include <sys/types.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace hexlane {

namespace {

// Paths are held as UTF-8 text.
fs::path ToPath(const std::string& s) {
    return fs::path(std::u8string(s.begin(), s.end()));
}

#ifdef _WIN32

std::FILE* OpenPath(const fs::path& p, const char* mode) {
    std::wstring wmode(mode, mode + std::char_traits<char>::length(mode));
    return _wfopen(p.c_str(), wmode.c_str());
}

std::string FromPath(const fs::path& p) {
    const std::u8string u = p.u8string();
    return std::string(u.begin(), u.end());
}

#else

// Makes a finished rename durable; failures here lose nothing already written.
void SyncFolderOf(const std::string& file) {
    const std::size_t slash = file.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : file.substr(0, slash);
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

mode_t CurrentUmask() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

#endif

}  // namespace

InputFile::~InputFile() {
    if (file_) std::fclose(file_);
}

bool InputFile::Open() {
    if (file_) return false;
#ifdef _WIN32
    file_ = OpenPath(ToPath(path_), "rb");
    if (!file_) return false;
    struct _stat64 st {};
    if (_fstat64(_fileno(file_), &st) != 0 || (st.st_mode & _S_IFMT) != _S_IFREG) {
        std::fclose(file_);
        file_ = nullptr;
        return false;
    }
#else
    // Non-blocking, so a FIFO at the path is refused instead of waited on.
    const int fd = ::open(path_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || ::fcntl(fd, F_SETFL, 0) != 0 ||
        !(file_ = ::fdopen(fd, "rb"))) {
        ::close(fd);
        return false;
    }
#endif
    size_ = static_cast<std::uint64_t>(st.st_size);
    return true;
}

ReplacingOutputFile::ReplacingOutputFile(std::string target) : target_(std::move(target)) {}

ReplacingOutputFile::~ReplacingOutputFile() {
    if (file_) std::fclose(file_);
#ifndef _WIN32
    if (targetFd_ >= 0) ::close(targetFd_);
#endif
    std::free(memory_);
    if (!temp_.empty() && !committed_) {
        std::error_code ec;
        fs::remove(ToPath(temp_), ec);
    }
}

#ifndef _WIN32

bool ReplacingOutputFile::Open() {
    if (target_.empty() || file_ || finished_) return false;
    struct stat st {};
    bool exists = ::lstat(target_.c_str(), &st) == 0;
    if (exists && S_ISLNK(st.st_mode)) {
        // Write through the link to the file it names; a dangling or looping
        // link names no file to write.
        char* resolved = ::realpath(target_.c_str(), nullptr);
        if (!resolved) return false;
        target_ = resolved;
        std::free(resolved);
        exists = ::lstat(target_.c_str(), &st) == 0;
        if (!exists) return false;
    } else if (!exists && errno != ENOENT) {
        return false;
    }
    // Devices, FIFOs and folders are never replaced by a regular file.
    if (exists && !S_ISREG(st.st_mode)) return false;
    // A rename needs only the folder's permission, so it would replace a
    // write-protected file; refuse to, as writing into it would.
    if (exists && ::access(target_.c_str(), W_OK) != 0) return false;
    // A rename would leave the file's other names on the old content.
    if (exists && st.st_nlink > 1) return OpenInMemory();

    const std::size_t slash = target_.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : target_.substr(0, slash + 1);
    std::string base = slash == std::string::npos ? target_ : target_.substr(slash + 1);
    if (base.size() > 200) base.resize(200);  // room for the suffix within a name's limit
    std::string pattern = folder + "." + base + ".saving-XXXXXX";
    int fd = -1;
#if defined(O_TMPFILE)
    // Where the system has them, an unnamed file: a crash or kill while it is
    // written leaves nothing behind. It gets a name only once complete.
    if (::access("/proc/self/fd", X_OK) == 0) {
        fd = ::open(folder.empty() ? "." : folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
        if (fd >= 0) namePattern_ = pattern;
    }
#endif
    // mkstemp creates the name exclusively: a link planted there is never followed.
    if (fd < 0) fd = ::mkstemp(pattern.data());
    if (fd < 0) {
        const int error = errno;
        // The folder takes no new file but the file is writable.
        if (exists && (error == EACCES || error == EROFS || error == EPERM)) return OpenInMemory();
        return false;
    }
    if (namePattern_.empty()) temp_ = pattern;
    if (exists) {
        // The owner first: changing it may clear the set-id bits of the mode.
        if (st.st_uid != ::geteuid() || st.st_gid != ::getegid()) (void)::fchown(fd, st.st_uid, st.st_gid);
        keptMode_ = st.st_mode & 07777;
        // A set-id bit is kept only for the same owner (or group) it had.
        struct stat now {};
        if (::fstat(fd, &now) != 0 || now.st_uid != st.st_uid) keptMode_ &= ~S_ISUID;
        if (::fstat(fd, &now) != 0 || now.st_gid != st.st_gid) keptMode_ &= ~S_ISGID;
    } else {
        keptMode_ = 0666 & ~CurrentUmask();
    }
    // Writing clears the set-id bits: they are given once the content is written.
    (void)::fchmod(fd, keptMode_ & 0777);
    file_ = ::fdopen(fd, "wb");
    if (!file_) {
        ::close(fd);
        return false;
    }
    return true;
}

// Gives the complete unnamed file a new unique name beside the target, from
// which Commit renames it.
bool ReplacingOutputFile::LinkUnnamed(int fd) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    std::random_device random;
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    for (int attempt = 0; attempt < 32; ++attempt) {
        std::string name = namePattern_;
        for (std::size_t i = name.size() - 6; i < name.size(); ++i) name[i] = letters[random() % 62];
        // linkat never replaces an existing name, a planted link included.
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            temp_ = name;
            return true;
        }
        if (errno != EEXIST) return false;
    }
    return false;
}

bool ReplacingOutputFile::OpenInMemory() {
    file_ = ::open_memstream(&memory_, &memorySize_);
    inPlace_ = file_ != nullptr;
    return inPlace_;
}

// Opens the target for writing in place and reserves room for the whole new
// content without touching a byte of the old one.
bool ReplacingOutputFile::ReserveTarget() {
    targetFd_ = ::open(target_.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (targetFd_ < 0) return false;
    struct stat st {};
    if (::fstat(targetFd_, &st) != 0 || !S_ISREG(st.st_mode)) return false;
    keptMode_ = st.st_mode & 07777;
    const off_t size = static_cast<off_t>(memorySize_);
    if (size <= st.st_size) return true;
#if defined(__linux__)
    // Blocks for the whole content, the file's size left as it is.
    if (::fallocate(targetFd_, FALLOC_FL_KEEP_SIZE, 0, size) == 0) return true;
    if (errno != EOPNOTSUPP && errno != ENOSYS) {
        (void)::ftruncate(targetFd_, st.st_size);  // gives back what was reserved beyond the end
        return false;
    }
#endif
    // Elsewhere the room is added after the old content, and taken back on failure.
    if (::posix_fallocate(targetFd_, st.st_size, size - st.st_size) == 0) return true;
    (void)::ftruncate(targetFd_, st.st_size);
    return false;
}

bool ReplacingOutputFile::Finish() {
    if (finished_) return !failed_;
    if (!file_) return false;
    finished_ = true;
    bool ok = std::fflush(file_) == 0 && !std::ferror(file_);
    if (ok && !inPlace_) {
        (void)::fchmod(::fileno(file_), keptMode_);
        ok = ::fsync(::fileno(file_)) == 0;
    }
    if (ok && !namePattern_.empty()) ok = LinkUnnamed(::fileno(file_));
    ok = std::fclose(file_) == 0 && ok;
    file_ = nullptr;
    if (ok && inPlace_) ok = ReserveTarget();
    failed_ = !ok;
    return ok;
}

bool ReplacingOutputFile::Commit() {
    if (committed_) return true;
    if (!Finish()) return false;
    if (inPlace_) {
        bool ok = true;
        for (std::size_t done = 0; ok && done < memorySize_;) {
            const ssize_t n = ::pwrite(targetFd_, memory_ + done, memorySize_ - done, static_cast<off_t>(done));
            if (n < 0 && errno == EINTR) continue;
            ok = n > 0;
            if (ok) done += static_cast<std::size_t>(n);
        }
        ok = ok && ::ftruncate(targetFd_, static_cast<off_t>(memorySize_)) == 0;
        // Writing cleared any set-id bits; the owner gets them back.
        if (ok && (keptMode_ & (S_ISUID | S_ISGID))) (void)::fchmod(targetFd_, keptMode_);
        ok = ok && ::fsync(targetFd_) == 0;
        committed_ = ::close(targetFd_) == 0 && ok;
        targetFd_ = -1;
        return committed_;
    }
    if (::rename(temp_.c_str(), target_.c_str()) != 0) return false;
    committed_ = true;
    SyncFolderOf(target_);
    return true;
}

#else  // Windows: the same steps through the C run time and std::filesystem.

bool ReplacingOutputFile::Open() {
    if (target_.empty() || file_ || finished_) return false;
    std::error_code ec;
    fs::path target = ToPath(target_);
    if (fs::is_symlink(fs::symlink_status(target, ec))) {
        target = fs::canonical(target, ec);
        if (ec) return false;
        target_ = FromPath(target);
    }
    const fs::file_status st = fs::status(target, ec);
    const bool exists = fs::exists(st);
    if (exists && !fs::is_regular_file(st)) return false;
    if (exists) {
        std::FILE* existing = OpenPath(target, "r+b");
        if (!existing) return false;
        std::fclose(existing);
    }
    std::random_device random;
    for (int attempt = 0; attempt < 16 && !file_; ++attempt) {
        fs::path temp = target;
        temp += ".saving-" + std::to_string(random()) + "~";
        file_ = OpenPath(temp, "wbx");  // exclusive: never an existing name
        if (file_) temp_ = FromPath(temp);
    }
    return file_ != nullptr;
}

bool ReplacingOutputFile::Finish() {
    if (finished_) return !failed_;
    if (!file_) return false;
    finished_ = true;
    bool ok = std::fflush(file_) == 0 && !std::ferror(file_) && _commit(_fileno(file_)) == 0;
    ok = std::fclose(file_) == 0 && ok;
    file_ = nullptr;
    failed_ = !ok;
    return ok;
}

bool ReplacingOutputFile::Commit() {
    if (committed_) return true;
    if (!Finish()) return false;
    std::error_code ec;
    fs::rename(ToPath(temp_), ToPath(target_), ec);
    committed_ = !ec;
    return committed_;
}

#endif

bool ReplacingOutputFile::WriteAll(const void* data, std::size_t size) {
    if (!file_) return false;
    if (size > 0 && std::fwrite(data, 1, size, file_) != size) return false;
    return Commit();
}

bool ReplacingOutputFile::CommitAll(std::initializer_list<ReplacingOutputFile*> files) {
    bool complete = true;
    for (ReplacingOutputFile* f : files) complete = f->Finish() && complete;
    if (!complete) return false;
    bool ok = true;
    for (ReplacingOutputFile* f : files) ok = f->Commit() && ok;
    return ok;
}

bool SameFile(const std::string& first, const std::string& second) {
    const fs::path a = ToPath(first), b = ToPath(second);
    std::error_code ea, eb;
    if (fs::exists(a, ea) && fs::exists(b, eb)) return fs::equivalent(a, b, ea) && !ea;
    const fs::path ca = fs::weakly_canonical(a, ea), cb = fs::weakly_canonical(b, eb);
    return ea || eb ? a.lexically_normal() == b.lexically_normal() : ca == cb;
}

}  // namespace hexlane
