// Opening a map that needs more memory than can be had ends with a message
// and gives the memory back; a process under a small address-space limit
// shows it.

#include "DefineUniverse.h"
#include "MergeErrors.h"
#include "OpenMap.h"
#include "TestUtil.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
#else
constexpr bool kSanitized = false;
#endif

// The process's address space now, in bytes.
rlim_t AddressSpace() {
    std::ifstream statm("/proc/self/statm");
    rlim_t pages = 0;
    statm >> pages;
    return pages * static_cast<rlim_t>(::sysconf(_SC_PAGESIZE));
}

// Runs `body` in a child process allowed `extra` bytes of address space
// beyond what it has; its result is the child's exit status.
int UnderMemoryLimit(rlim_t extra, const std::function<int()>& body) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        const rlim_t at = AddressSpace() + extra;
        const rlimit limit{at, at};
        if (::setrlimit(RLIMIT_AS, &limit) != 0) ::_exit(3);
        ::_exit(body());
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

TEST(MemoryLimit, OpeningOrMergingAMapTooLargeForMemoryEndsWithAMessage) {
    if (kSanitized) GTEST_SKIP() << "the address sanitizer reserves more than the limit";
    const fs::path dir = fs::temp_directory_path() / ("hexlane-memory-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string big = (dir / "big.map").string(), small = (dir / "small.map").string();
    // Made in a child, so that this process's heap does not grow by the map.
    const int made = UnderMemoryLimit(RLIM_INFINITY / 2, [&] {
        std::string message;
        auto u = TUniverse::CreateNew();
        TSector* s = testutil::AddSector(*u, "Crowded", 1, 1);
        for (int i = 0; i < 60000; ++i) testutil::AddStar(*s, "S" + std::to_string(i), i % 32 + 1, i / 32 % 40 + 1);
        return u->SaveToFile(big, message) && TUniverse::CreateNew()->SaveToFile(small, message) ? 0 : 1;
    });
    ASSERT_EQ(made, 0);
    const std::function<std::string(const std::string&)> readers[] = {
        [](const std::string& f) { return OpenMap(f).Message; },
        [](const std::string& f) { return LoadSecondMap(f).Message; },
        [](const std::string& f) {
            TUniverse u;
            std::string m;
            u.LoadFromFile(f, m);
            return m;
        },
    };
    for (const auto& read : readers) {
        const int status = UnderMemoryLimit(16 << 20, [&] {
            if (read(big) != kNotEnoughMemoryToOpen) return 1;
            // The memory came back: a small map still opens.
            return OpenMap(small).Universe ? 0 : 2;
        });
        EXPECT_EQ(status, 0);
    }
    fs::remove_all(dir);
}
