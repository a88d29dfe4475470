// SPDX-License-Identifier: MIT
// Drawing cost of each pattern against the floor every pattern pays: one
// fill of the whole canvas (each pattern begins by clearing it).
//
//   build/bench/testcard-bench --benchmark_filter=/3840/2160

#include <benchmark/benchmark.h>

#include "patterns/patterns.hpp"
#include "surface/form/grid_form.hpp"
#include "surface/form/rtc_rgb.hpp"
#include "surface/raster/canvas.hpp"

namespace {

void CountPixels(benchmark::State& state, int width, int height) {
  state.counters["pixels"] = benchmark::Counter(static_cast<double>(width) * height,
                                                benchmark::Counter::kIsIterationInvariantRate);
}

void BM_Fill(benchmark::State& state) {
  const int width = static_cast<int>(state.range(0));
  const int height = static_cast<int>(state.range(1));
  testcard::Canvas canvas(width, height);
  for (auto _ : state) {
    canvas.Fill(testcard::rtcRgb(0, 0, 0));
    benchmark::DoNotOptimize(canvas.Pixels().data());
    benchmark::ClobberMemory();
  }
  CountPixels(state, width, height);
}

// The whole pattern on one form reused across iterations, as the window
// reuses its picture from one key press to the next; the picture is read
// back each time so that nothing drawn can be skipped.
template <testcard::Pattern kPattern>
void BM_Pattern(benchmark::State& state) {
  const int width = static_cast<int>(state.range(0));
  const int height = static_cast<int>(state.range(1));
  testcard::GridForm form(width, height);
  for (auto _ : state) {
    testcard::DrawPattern(form, kPattern);
    benchmark::DoNotOptimize(form.Picture().Pixels().data());
    benchmark::ClobberMemory();
  }
  CountPixels(state, width, height);
}

void Sizes(benchmark::internal::Benchmark* benchmark) {
  for (const auto& [width, height] :
       {std::pair{1366, 768}, {1920, 1080}, {3840, 2160}, {7680, 4320}}) {
    benchmark->Args({width, height});
  }
  benchmark->Unit(benchmark::kMillisecond);
}

void BM_GridTest(benchmark::State& state) {
  BM_Pattern<testcard::Pattern::kGrid>(state);
}
void BM_CrossTest(benchmark::State& state) {
  BM_Pattern<testcard::Pattern::kCross>(state);
}
void BM_ColorTest(benchmark::State& state) {
  BM_Pattern<testcard::Pattern::kColour>(state);
}

BENCHMARK(BM_Fill)->Apply(Sizes);
BENCHMARK(BM_GridTest)->Apply(Sizes);
BENCHMARK(BM_CrossTest)->Apply(Sizes);
BENCHMARK(BM_ColorTest)->Apply(Sizes);

}  // namespace

BENCHMARK_MAIN();
