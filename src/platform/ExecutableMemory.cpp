#include "ExecutableMemory.h"

#include <cstring>

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace hexlane {

#ifdef _WIN32

ExecutableMemory::~ExecutableMemory() {
    if (memory_) VirtualFree(memory_, 0, MEM_RELEASE);
}

std::unique_ptr<ExecutableMemory> ExecutableMemory::Make(const void* code, std::size_t size) {
    if (size == 0) return nullptr;
    std::unique_ptr<ExecutableMemory> result(new ExecutableMemory);
    void* memory = VirtualAlloc(nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!memory) return nullptr;
    result->memory_ = memory;
    result->size_ = size;
    std::memcpy(memory, code, size);
    DWORD previous = 0;
    if (!VirtualProtect(memory, size, PAGE_EXECUTE_READ, &previous)) return nullptr;
    FlushInstructionCache(GetCurrentProcess(), memory, size);
    return result;
}

#else

ExecutableMemory::~ExecutableMemory() {
    if (memory_) ::munmap(memory_, size_);
}

std::unique_ptr<ExecutableMemory> ExecutableMemory::Make(const void* code, std::size_t size) {
    if (size == 0) return nullptr;
    const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    const std::size_t rounded = (size + page - 1) / page * page;
    std::unique_ptr<ExecutableMemory> result(new ExecutableMemory);
    void* memory = ::mmap(nullptr, rounded, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED) return nullptr;
    result->memory_ = memory;
    result->size_ = rounded;
    std::memcpy(memory, code, size);
    if (::mprotect(memory, rounded, PROT_READ | PROT_EXEC) != 0) return nullptr;
    return result;
}

#endif

}  // namespace hexlane
