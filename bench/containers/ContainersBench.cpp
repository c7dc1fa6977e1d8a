// The cursor containers against std::vector / std::list: append, cursor walks, positioning by
// index, linear and binary search, and sorting. Sizes 1k, 10k, 100k; the quadratic sorts (rank
// sort of the arrays, insertion sort of the lists) stop at 30k so a run stays within seconds.

#include <algorithm>
#include <list>
#include <numeric>
#include <random>
#include <vector>
#include "containers/VxContainers.h"
#include <benchmark/benchmark.h>

namespace {

std::vector<int> Shuffled(long n) {
    std::vector<int> v(static_cast<size_t>(n));
    std::iota(v.begin(), v.end(), 0);
    std::shuffle(v.begin(), v.end(), std::mt19937(42));
    return v;
}

void SizeArgs(benchmark::internal::Benchmark* b) {
    for (long n : {1000L, 10000L, 100000L}) b->Arg(n);
}

void QuadraticArgs(benchmark::internal::Benchmark* b) {
    for (long n : {1000L, 3000L, 10000L, 30000L}) b->Arg(n);
}

template <class C>
C Filled(long n) {
    C c;
    for (int v : Shuffled(n)) c.Append(v);
    return c;
}

// VxDynArray grows by a fixed allocUnit: a large one for the append comparison.
struct BigStepArray : VxDynArray<int> {
    BigStepArray() : VxDynArray<int>(0, 4096) {}
};

template <class C>
void BM_Append(benchmark::State& state) {
    for (auto _ : state) {
        C c;
        for (long i = 0; i < state.range(0); ++i) c.Append(static_cast<int>(i));
        benchmark::DoNotOptimize(c.GetLength());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

template <class Std>
void BM_StdAppend(benchmark::State& state) {
    for (auto _ : state) {
        Std c;
        for (long i = 0; i < state.range(0); ++i) c.push_back(static_cast<int>(i));
        benchmark::DoNotOptimize(c.size());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

template <class C>
void BM_CursorWalk(benchmark::State& state) {
    C c = Filled<C>(state.range(0));
    for (auto _ : state) {
        long sum = 0;
        for (c.MoveToFirst(); !c.IsOut(); c.MoveToNext()) sum += c.GetCurData();
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

template <class Std>
void BM_StdWalk(benchmark::State& state) {
    std::vector<int> src = Shuffled(state.range(0));
    Std c(src.begin(), src.end());
    for (auto _ : state) {
        long sum = 0;
        for (int v : c) sum += v;
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

template <class C>
void BM_MoveToRandom(benchmark::State& state) {
    C c = Filled<C>(state.range(0));
    const std::vector<int> targets = Shuffled(state.range(0));
    size_t k = 0;
    for (auto _ : state) {
        c.MoveTo(targets[k]);
        benchmark::DoNotOptimize(c.GetCurData());
        if (++k == targets.size()) k = 0;
    }
}

template <class C>
void BM_Find(benchmark::State& state) {
    C c = Filled<C>(state.range(0));
    const int last = c.Last();
    for (auto _ : state) benchmark::DoNotOptimize(c.Find(last, 0, -1));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_StdFind(benchmark::State& state) {
    const std::vector<int> v = Shuffled(state.range(0));
    const int last = v.back();
    for (auto _ : state) benchmark::DoNotOptimize(std::find(v.begin(), v.end(), last));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

template <class C>
void BM_BFind(benchmark::State& state) {
    C c;
    for (long i = 0; i < state.range(0); ++i) c.Append(static_cast<int>(2 * i));
    const std::vector<int> keys = Shuffled(state.range(0));
    size_t k = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(c.BFind(2 * keys[k], 0, -1));
        if (++k == keys.size()) k = 0;
    }
}

void BM_StdLowerBound(benchmark::State& state) {
    std::vector<int> v;
    for (long i = 0; i < state.range(0); ++i) v.push_back(static_cast<int>(2 * i));
    const std::vector<int> keys = Shuffled(state.range(0));
    size_t k = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(std::lower_bound(v.begin(), v.end(), 2 * keys[k]));
        if (++k == keys.size()) k = 0;
    }
}

template <class C>
void BM_Sort(benchmark::State& state) {
    const C source = Filled<C>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        C c(source);
        state.ResumeTiming();
        c.Sort(true);
        benchmark::DoNotOptimize(c.First());
    }
    state.SetComplexityN(state.range(0));
}

void BM_StdStableSort(benchmark::State& state) {
    const std::vector<int> source = Shuffled(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<int> v = source;
        state.ResumeTiming();
        std::stable_sort(v.begin(), v.end());
        benchmark::DoNotOptimize(v.front());
    }
    state.SetComplexityN(state.range(0));
}

}  // namespace

BENCHMARK(BM_Append<VxDynArray<int>>)->Apply(SizeArgs);
BENCHMARK(BM_Append<BigStepArray>)->Apply(SizeArgs);
BENCHMARK(BM_Append<VxList<int>>)->Apply(SizeArgs);
BENCHMARK(BM_Append<VxDList<int>>)->Apply(SizeArgs);
BENCHMARK(BM_Append<VxXList<int>>)->Apply(SizeArgs);
BENCHMARK(BM_StdAppend<std::vector<int>>)->Apply(SizeArgs);
BENCHMARK(BM_StdAppend<std::list<int>>)->Apply(SizeArgs);

BENCHMARK(BM_CursorWalk<VxDynArray<int>>)->Apply(SizeArgs);
BENCHMARK(BM_CursorWalk<VxDList<int>>)->Apply(SizeArgs);
BENCHMARK(BM_CursorWalk<VxXList<int>>)->Apply(SizeArgs);
BENCHMARK(BM_StdWalk<std::vector<int>>)->Apply(SizeArgs);
BENCHMARK(BM_StdWalk<std::list<int>>)->Apply(SizeArgs);

BENCHMARK(BM_MoveToRandom<VxXList<int>>)->Apply(SizeArgs);
BENCHMARK(BM_MoveToRandom<VxDList<int>>)->Apply(SizeArgs);
BENCHMARK(BM_MoveToRandom<VxList<int>>)->Apply(SizeArgs);
BENCHMARK(BM_MoveToRandom<VxDynArray<int>>)->Apply(SizeArgs);

BENCHMARK(BM_Find<VxDynArray<int>>)->Apply(SizeArgs);
BENCHMARK(BM_Find<VxDList<int>>)->Apply(SizeArgs);
BENCHMARK(BM_StdFind)->Apply(SizeArgs);

BENCHMARK(BM_BFind<VxDynArray<int>>)->Apply(SizeArgs);
BENCHMARK(BM_BFind<VxXList<int>>)->Apply(SizeArgs);
BENCHMARK(BM_BFind<VxDList<int>>)->Apply(SizeArgs);
BENCHMARK(BM_StdLowerBound)->Apply(SizeArgs);

BENCHMARK(BM_Sort<VxDynArray<int>>)->Apply(QuadraticArgs)->Complexity(benchmark::oNSquared);
BENCHMARK(BM_Sort<VxDList<int>>)->Apply(QuadraticArgs)->Complexity(benchmark::oNSquared);
BENCHMARK(BM_StdStableSort)->Apply(SizeArgs)->Complexity(benchmark::oNLogN);

BENCHMARK_MAIN();
