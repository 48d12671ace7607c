// Formula evaluation and star query speed.

#include "DefineSector.h"
#include "DefineUniverse.h"
#include "FC.h"
#include "StarQuery.h"
#include "UniverseGenerator.h"

#include <benchmark/benchmark.h>

#include <stdexcept>

namespace {

// 20 binary operators over 5 parameters.
const char* const kArithmetic =
    "(%0+%1)*%2-%3/(%4+1)+%0*%1-%2*%3+%4/2-(%0-%1)*(%2+%3)+%4*%4-%0/(%1+3)+%2";
// 20 operators mixing comparisons, powers and built-in calls.
const char* const kMixed =
    "IIF(%0>%1, SQRT(%2*%2+%3*%3), ABS(%4-%0)) + MIN(%1, %2, %3)*2 - (%4>=3) + %0^2/(%1+10) - "
    "ROUND(%2/3) + (%3<>%4) + MAX(%0-%1, %2+%3) - SIN(%4)*2";

void EvaluateFormula(benchmark::State& state, const char* source) {
    TFormulaCompilerE formula;
    if (formula.Compile(source) != 0) throw std::runtime_error("benchmark formula does not compile");
    long double x[5] = {1.5L, 2.25L, 3.0L, 4.5L, 5.0L};
    for (auto _ : state) {
        long double r = formula.Evaluate(std::span<const long double>(x, 5));
        benchmark::DoNotOptimize(r);
        x[0] += 1e-9L;  // a new value each time, as in a query
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_EvaluateArithmetic(benchmark::State& state) { EvaluateFormula(state, kArithmetic); }
void BM_EvaluateMixed(benchmark::State& state) { EvaluateFormula(state, kMixed); }

void BM_Compile(benchmark::State& state) {
    TFormulaCompilerE formula;
    for (auto _ : state) {
        int code = formula.Compile(kMixed);
        benchmark::DoNotOptimize(code);
    }
}

void BM_StarQuery(benchmark::State& state) {
    benchgen::Options options;
    options.Stars = 70000;
    auto universe = benchgen::Generate(options);
    TStarQueryScope scope;
    for (TSector* s : universe->Sectors()->ChildrenOf<TSector>()) scope.SectorsToQuery.push_back(s->Name1);
    TStarQuery query;
    // Six variables, trade codes among them.
    const std::string text =
        "AND(LEVEL_STARPORT < 2, LEVEL_POPULATION >= 6, OR(IS_RICH, IS_IND), HAS_GAS_GIANT, "
        "LEVEL_TECHLEVEL > 9)";
    int stars = 0;
    universe->ForEachStar([&](const TStar&) { ++stars; });
    for (auto _ : state) {
        TStarQueryResult r = query.Run(*universe, text, scope);
        if (!r.Ok()) throw std::runtime_error(r.Message);
    }
    state.SetItemsProcessed(state.iterations() * stars);
    state.counters["stars"] = stars;
}

}  // namespace

BENCHMARK(BM_EvaluateArithmetic);
BENCHMARK(BM_EvaluateMixed);
BENCHMARK(BM_Compile);
BENCHMARK(BM_StarQuery)->Unit(benchmark::kMillisecond);
