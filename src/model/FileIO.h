#pragma once
// Files for the object stream: reading with a known size, and writing to a
// temporary file beside the target that replaces the target only on Commit,
// so a failed save never destroys the existing file.

#include <cstdint>
#include <cstdio>
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
    bool Open();
    std::FILE* Handle() const { return file_; }
    // Flushes, closes and moves the temporary file over the target.
    bool Commit();

private:
    std::string target_;
    std::string temp_;
    std::FILE* file_ = nullptr;
    bool created_ = false;  // the temporary file is ours to remove
    bool committed_ = false;
};

}  // namespace hexlane
