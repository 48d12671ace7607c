#pragma once
// Deterministic generator of large universes for benchmarks: the same seed
// always gives the same universe.

#include "DefineUniverse.h"

#include <cstdint>
#include <memory>

namespace benchgen {

struct Options {
    int Sectors = 200;        // laid out in rows of SectorsPerRow
    int SectorsPerRow = 20;
    int Stars = 70000;        // spread evenly over the sectors, one per hex at most
    int Routes = 50;
    int LegsPerRoute = 20;
    int Allegiances = 30;
    std::uint32_t Seed = 1;
};

// Every star is Visible and ComputeExtent has run.
std::unique_ptr<TUniverse> Generate(const Options& options = {});

}  // namespace benchgen
