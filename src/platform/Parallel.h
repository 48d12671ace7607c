#pragma once
// Work split into parts run at once: part 0 on the calling thread, every
// other part on a thread of its own (on the caller when no thread can be
// started). All parts have finished when RunParts returns; an exception
// thrown by any part is carried back and rethrown to the caller, the one of
// the lowest part when several threw.

#include <cstddef>
#include <functional>

namespace hexlane {

void RunParts(unsigned parts, const std::function<void(unsigned part)>& work);

// The count of parts for work of `items` that pays for threads from
// `threshold` items on: 1 below it, else the hardware's threads within [1, most].
unsigned PartCount(std::size_t items, std::size_t threshold, unsigned most);

}  // namespace hexlane
