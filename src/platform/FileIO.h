#pragma once
// Files for the object stream and every other file the programs write:
// reading with a known size, and writing that replaces the target only when
// the whole content was written and synced, so a failed or interrupted write
// never destroys the existing file.
//
// ReplacingOutputFile writes to a uniquely named temporary file created
// exclusively (never through a link) in the target's folder, flushes and
// syncs it, gives it the target's mode (and owner where permitted) and
// renames it over the target; the set-user-id and set-group-id bits are kept
// when the new file has the old one's owner and group. A symbolic link to a
// file is written through to that file and stays a link; a dangling link and
// a target that is not a regular file (device, FIFO, folder) are refused by
// Open().
//
// Two kinds of target are written in place instead: a file with more than one
// hard link (a rename would leave the other names on the old content), and a
// file that is writable in a folder that cannot take a temporary file. The
// content is gathered in memory; Finish() opens the target and reserves room
// for the whole new size, so a full disk is found before a byte of the old
// content is touched; Commit() writes it over the old content, cuts what is
// left beyond it and syncs. A crash or kill during that write can still leave
// the file with the new content's beginning and the old content's end.

#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <string>

namespace hexlane {

class InputFile {
public:
    explicit InputFile(std::string path) : path_(std::move(path)) {}
    ~InputFile();
    // Opens the path once; false when it is not a readable regular file.
    bool Open();
    std::FILE* Handle() const { return file_; }
    // The size of the file that was opened (measured on the open file, so a
    // file replaced meanwhile cannot give another file's size).
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
    // Flushes, syncs and closes the content (in place: opens the target and
    // reserves room for it); false when any of it failed to be written or
    // reserved. The target's content is not touched yet.
    bool Finish();
    // Finishes (if not done) and moves the content over the target.
    bool Commit();
    // Writes the bytes and commits: the whole file in one call.
    bool WriteAll(const void* data, std::size_t size);

    // Finishes every file and, only when all of them are complete and
    // reserved, commits them one after the other. False when any failed.
    static bool CommitAll(std::initializer_list<ReplacingOutputFile*> files);

private:
    std::string target_;  // the file finally written (links resolved)
    std::string temp_;    // the named temporary file; empty while unnamed or in memory
    std::string namePattern_;  // the name an unnamed temporary file gets when finished
    bool LinkUnnamed(int fd);
    bool OpenInMemory();
    bool ReserveTarget();
    std::FILE* file_ = nullptr;
    int targetFd_ = -1;        // the target opened for writing in place
    unsigned keptMode_ = 0;    // the mode the written file gets, set-id bits included
    char* memory_ = nullptr;  // the in-memory content (in-place fallback)
    std::size_t memorySize_ = 0;
    bool inPlace_ = false;
    bool finished_ = false;
    bool failed_ = false;
    bool committed_ = false;
};

// True when both paths name one existing file (through links, or by the
// same path), or one path that does not exist yet.
bool SameFile(const std::string& first, const std::string& second);

}  // namespace hexlane
