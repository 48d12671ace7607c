#pragma once
// Files for the object stream and every other file the programs write:
// reading with a known size, and writing that replaces the target only when
// the whole content was written and synced, so a failed or interrupted write
// never destroys the existing file.
//
// ReplacingOutputFile writes to a uniquely named temporary file created
// exclusively (never through a link) in the target's folder, flushes and
// syncs it, gives it the target's mode (and owner where permitted) and
// renames it over the target. A symbolic link to a file is written through
// to that file and stays a link; a dangling link and a target that is not a
// regular file (device, FIFO, folder) are refused by Open(). When the folder
// cannot take a temporary file but the target itself is writable, the
// content is gathered in memory and written into the file in place on
// Commit(), after all of it was produced.

#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <string>

namespace hexlane {

class InputFile {
public:
    explicit InputFile(std::string path) : path_(std::move(path)) {}
    ~InputFile();
    bool Open();  // false when the path is not a readable regular file
    std::FILE* Handle() const { return file_; }
    std::uint64_t Size() const { return size_; }

private:
    std::string path_;
    std::FILE* file_ = nullptr;
    std::uint64_t size_ = 0;
};

class ReplacingOutputFile {
public:
    explicit ReplacingOutputFile(std::string target);
    ~ReplacingOutputFile();  // removes the temporary file unless committed
    ReplacingOutputFile(const ReplacingOutputFile&) = delete;
    ReplacingOutputFile& operator=(const ReplacingOutputFile&) = delete;

    // False when the target cannot be written (see above); nothing changed.
    bool Open();
    std::FILE* Handle() const { return file_; }
    // Flushes, syncs and closes the content; false when any of it failed to
    // be written. The target is not touched yet.
    bool Finish();
    // Finishes (if not done) and moves the content over the target.
    bool Commit();
    // Writes the bytes and commits: the whole file in one call.
    bool WriteAll(const void* data, std::size_t size);

    // Finishes every file and, only when all of them are complete, commits
    // them one after the other. False when any failed.
    static bool CommitAll(std::initializer_list<ReplacingOutputFile*> files);

private:
    std::string target_;  // the file finally written (links resolved)
    std::string temp_;    // the named temporary file; empty while unnamed or in memory
    std::string namePattern_;  // the name an unnamed temporary file gets when finished
    bool LinkUnnamed(int fd);
    std::FILE* file_ = nullptr;
    char* memory_ = nullptr;  // the in-memory content (in-place fallback)
    std::size_t memorySize_ = 0;
    bool inPlace_ = false;
    bool finished_ = false;
    bool failed_ = false;
    bool committed_ = false;
};

}  // namespace hexlane
