// P2 and P3: result requests with the Cabrillo switch on, each against a
// reference that writes exactly the same files with one write and one rename
// apiece (bytes recorded from the plug-in's own run).

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "bench_platform.h"
#include "contest_data.h"
#include "reference_writer.h"

namespace velkaro::bench {
namespace {

std::string ReadWhole(const std::string& path) {
  std::ifstream in(NativePath(path), std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// The reference must write what the plug-in wrote.
void ExpectSameBytes(const ReferenceWriter& reference, const RecordedWrite& write) {
  if (reference.BytesOf(write) == ReadWhole(write.path)) return;
  std::fprintf(stderr, "the reference would not write %s as the plug-in did\n",
               write.path.c_str());
  std::abort();
}

// A contest started with the Cabrillo switch on and n QSOs logged.
void StartCabrilloContest(int n) {
  BenchPlatform& platform = TheBenchPlatform();
  platform.set_files(BenchPlatform::Files::kWritten);
  testing::HostReset(1, kOwnCall);
  platform.set_files(BenchPlatform::Files::kDropped);
  for (int i = 0; i < n; ++i) testing::HostAdd(kOwnCall, QsoOf(i));
  platform.set_files(BenchPlatform::Files::kWritten);
  int points = 0;
  GetResult0(&points);
}

// The writes of one result request on a log of n QSOs.
std::vector<RecordedWrite> RecordResult(int n) {
  StartCabrilloContest(n);
  BenchPlatform& platform = TheBenchPlatform();
  platform.writes().clear();
  platform.set_files(BenchPlatform::Files::kRecorded);
  int points = 0;
  GetResult0(&points);
  platform.set_files(BenchPlatform::Files::kWritten);
  return platform.writes();
}

void BM_GetResult0(benchmark::State& state) {
  StartCabrilloContest(static_cast<int>(state.range(0)));
  int points = 0;
  for (auto _ : state) benchmark::DoNotOptimize(GetResult0(&points));
}
BENCHMARK(BM_GetResult0)->Arg(10000)->Unit(benchmark::kMicrosecond);

void BM_GetResult0Reference(benchmark::State& state) {
  const std::vector<RecordedWrite> writes =
      RecordResult(static_cast<int>(state.range(0)));
  const ReferenceWriter reference(ReadWhole(kCabrilloFile));
  for (const RecordedWrite& write : writes) ExpectSameBytes(reference, write);
  for (auto _ : state) {
    for (const RecordedWrite& write : writes) reference.Write(write);
  }
}
BENCHMARK(BM_GetResult0Reference)->Arg(10000)->Unit(benchmark::kMicrosecond);

// The whole contest: a start with the header form, then every QSO followed
// by a result request. Every 50th QSO is a duplicate.
void RunContest(int n) {
  testing::HostReset(1, kOwnCall);
  int points = 0;
  for (int i = 0; i < n; ++i) {
    testing::HostAdd(kOwnCall, QsoOf(i % 50 == 49 ? i - 40 : i));
    GetResult0(&points);
  }
}

void BM_Contest(benchmark::State& state) {
  TheBenchPlatform().set_files(BenchPlatform::Files::kWritten);
  for (auto _ : state) RunContest(static_cast<int>(state.range(0)));
}
BENCHMARK(BM_Contest)
    ->Arg(5000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(3);

void BM_ContestReference(benchmark::State& state) {
  BenchPlatform& platform = TheBenchPlatform();
  platform.writes().clear();
  platform.set_files(BenchPlatform::Files::kRecorded);
  RunContest(static_cast<int>(state.range(0)));
  platform.set_files(BenchPlatform::Files::kWritten);
  const std::vector<RecordedWrite> writes = std::move(platform.writes());
  platform.writes().clear();
  const ReferenceWriter reference(ReadWhole(kCabrilloFile));
  // The last Cabrillo file and the last settings file, as the plug-in left them.
  bool cabrillo = false;
  bool settings = false;
  for (auto it = writes.rbegin(); it != writes.rend(); ++it) {
    bool& seen = it->path == kCabrilloFile ? cabrillo : settings;
    if (it->kind != RecordedWrite::kReplace || seen) continue;
    ExpectSameBytes(reference, *it);
    seen = true;
  }
  if (!cabrillo || !settings) {
    std::fprintf(stderr, "the contest wrote no Cabrillo or settings file\n");
    std::abort();
  }
  for (auto _ : state) {
    for (const RecordedWrite& write : writes) reference.Write(write);
  }
}
BENCHMARK(BM_ContestReference)
    ->Arg(5000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(3);

}  // namespace
}  // namespace velkaro::bench
