#include "Parallel.h"

#include <algorithm>
#include <exception>
#include <system_error>
#include <thread>
#include <vector>

namespace hexlane {

void RunParts(unsigned parts, const std::function<void(unsigned part)>& work) {
    parts = std::max(parts, 1u);
    std::vector<std::exception_ptr> failures(parts);
    auto run = [&](unsigned part) {
        try {
            work(part);
        } catch (...) {
            failures[part] = std::current_exception();
        }
    };
    {
        std::vector<std::jthread> workers;
        workers.reserve(parts - 1);
        for (unsigned part = 1; part < parts; ++part) {
            try {
                workers.emplace_back(run, part);
            } catch (const std::system_error&) {
                run(part);  // no thread to be had: this part runs here
            }
        }
        run(0);
    }  // joins the workers
    for (const std::exception_ptr& failure : failures)
        if (failure) std::rethrow_exception(failure);
}

unsigned PartCount(std::size_t items, std::size_t threshold, unsigned most) {
    if (items < threshold) return 1;
    return std::clamp(std::thread::hardware_concurrency(), 1u, std::max(most, 1u));
}

}  // namespace hexlane
