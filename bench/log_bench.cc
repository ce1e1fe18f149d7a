// P1: the call check and the in-memory part of logging a QSO, against the
// size of the log. File writes are dropped, so only the plug-in's own work
// is timed.

#include <benchmark/benchmark.h>

#include <vector>

#include "bench_platform.h"
#include "contest_data.h"

namespace velkaro::bench {
namespace {

// A contest log of n QSOs, files dropped.
void FillLog(int n) {
  TheBenchPlatform().set_files(BenchPlatform::Files::kDropped);
  testing::HostReset(0, kOwnCall);
  for (int i = 0; i < n; ++i) testing::HostAdd(kOwnCall, QsoOf(i));
}

void BM_CheckCall0(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  FillLog(n);
  // Calls typed by the operator: half of them worked before (a duplicate),
  // half new, spread over the whole log.
  constexpr int kQueries = 8192;
  std::vector<std::string> calls;
  std::vector<std::string> modes;
  for (int j = 0; j < kQueries; ++j) {
    const int i = static_cast<int>((j * 2654435761u) % static_cast<unsigned>(n));
    calls.push_back(j % 2 ? CallOf(i) : CallOf(n + j));
    modes.push_back(ModeOf(i));
  }
  char exchange[10];
  char notice[23];
  int j = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        testing::HostCheckCall(calls[j], modes[j], "40m", exchange, notice));
    j = (j + 1) % kQueries;
  }
}
BENCHMARK(BM_CheckCall0)->Arg(100)->Arg(1000)->Arg(10000)->Arg(100000);

// The host checks the call at every keystroke: the prefixes of a few calls,
// most of them new, the last one of each worked before.
void BM_CheckCall0Typing(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  FillLog(n);
  std::vector<std::string> calls;
  std::vector<std::string> modes;
  for (int c = 0; c < 32; ++c) {
    const int i = static_cast<int>((c * 2654435761u) % static_cast<unsigned>(n));
    const std::string call = CallOf(i);
    for (size_t length = 1; length <= call.size(); ++length) {
      calls.push_back(call.substr(0, length));
      modes.push_back(ModeOf(i));
    }
  }
  char exchange[10];
  char notice[23];
  size_t j = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        testing::HostCheckCall(calls[j], modes[j], "40m", exchange, notice));
    j = (j + 1) % calls.size();
  }
}
BENCHMARK(BM_CheckCall0Typing)->Arg(100)->Arg(100000);

void BM_AddData0InMemory(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  FillLog(n);
  // New QSOs added at this size; taken out again, newest first, untimed.
  constexpr int kBatch = 1024;
  std::vector<HostQso> batch;
  for (int k = 0; k < kBatch; ++k) batch.push_back(QsoOf(200000 + k));
  int k = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(testing::HostAdd(kOwnCall, batch[k]));
    if (++k == kBatch) {
      state.PauseTiming();
      for (int i = kBatch - 1; i >= 0; --i) testing::HostRemove(kOwnCall, batch[i]);
      k = 0;
      state.ResumeTiming();
    }
  }
}
BENCHMARK(BM_AddData0InMemory)->Arg(100)->Arg(1000)->Arg(10000)->Arg(100000);

}  // namespace
}  // namespace velkaro::bench
