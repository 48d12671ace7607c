// Executable memory runs the code copied into it.

#include "ExecutableMemory.h"

#include <gtest/gtest.h>

#include <cstdint>

TEST(ExecutableMemory, RunsTheCodeCopiedIntoIt) {
#if defined(__x86_64__) || defined(_M_X64)
    const std::uint8_t code[] = {0xB8, 42, 0, 0, 0, 0xC3};  // mov eax, 42; ret
    const auto memory = hexlane::ExecutableMemory::Make(code, sizeof code);
    if (!memory) GTEST_SKIP() << "this system refuses executable memory";
    using Function = int (*)();
    EXPECT_EQ(reinterpret_cast<Function>(const_cast<void*>(memory->Entry()))(), 42);
    EXPECT_EQ(hexlane::ExecutableMemory::Make(code, 0), nullptr);
#else
    GTEST_SKIP() << "the sample code is x86-64";
#endif
}
