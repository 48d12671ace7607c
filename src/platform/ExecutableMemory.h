#pragma once
// Memory for generated machine code, never writable and executable at once:
// it is filled while only writable and then made only executable.

#include <cstddef>
#include <memory>

namespace hexlane {

class ExecutableMemory {
public:
    // A copy of `size` bytes of code in executable memory, or nothing when
    // the system refuses executable memory.
    static std::unique_ptr<ExecutableMemory> Make(const void* code, std::size_t size);
    ~ExecutableMemory();
    ExecutableMemory(const ExecutableMemory&) = delete;
    ExecutableMemory& operator=(const ExecutableMemory&) = delete;

    const void* Entry() const { return memory_; }

private:
    ExecutableMemory() = default;
    void* memory_ = nullptr;
    std::size_t size_ = 0;
};

}  // namespace hexlane
