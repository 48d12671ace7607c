#pragma once
// The one progress callback of long drawing jobs: told after each band or
// page with the steps done and the steps in all; false stops the job.

#include <functional>

namespace hexlane::render {

using ProgressFn = std::function<bool(int done, int total)>;

}  // namespace hexlane::render
