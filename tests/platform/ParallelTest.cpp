// Work split across threads: every part runs once, and what a part throws
// reaches the caller after all parts have finished.

#include "Parallel.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>
#include <vector>

using hexlane::RunParts;

TEST(Parallel, EveryPartRunsOnceAndFailuresReachTheCaller) {
    struct Case {
        unsigned parts;
        int throwing;  // the part that throws, -1 for none
    };
    for (const Case c : {Case{1, -1}, Case{4, -1}, Case{0, -1}, Case{1, 0}, Case{4, 0}, Case{4, 3}, Case{8, 5}}) {
        SCOPED_TRACE(testing::Message() << c.parts << " parts, part " << c.throwing << " throws");
        const unsigned parts = c.parts == 0 ? 1 : c.parts;  // no parts is one part
        std::vector<std::atomic<int>> runs(parts);
        std::atomic<int> finished{0};
        auto work = [&](unsigned part) {
            ++runs[part];
            // The throwing part leaves early: the others must still be done when the caller sees it.
            if (static_cast<int>(part) == c.throwing) throw std::runtime_error("part " + std::to_string(part));
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            ++finished;
        };
        if (c.throwing < 0) {
            RunParts(c.parts, work);
        } else {
            try {
                RunParts(c.parts, work);
                ADD_FAILURE() << "no exception reached the caller";
            } catch (const std::runtime_error& e) {
                EXPECT_EQ(std::string(e.what()), "part " + std::to_string(c.throwing));
            }
        }
        for (unsigned p = 0; p < parts; ++p) EXPECT_EQ(runs[p], 1) << "part " << p;
        EXPECT_EQ(finished, static_cast<int>(parts) - (c.throwing < 0 ? 0 : 1));
    }
}

TEST(Parallel, TheLowestFailingPartIsReported) {
    try {
        RunParts(4, [](unsigned part) {
            if (part >= 1) throw std::logic_error(std::to_string(part));
        });
        FAIL() << "no exception";
    } catch (const std::logic_error& e) {
        EXPECT_STREQ(e.what(), "1");
    }
}
