// Runs the benchmarks in a scratch directory and prints, after Google
// Benchmark's table, the ratios the performance targets are stated in, all
// measured in this one run.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

namespace {

namespace fs = std::filesystem;

// Keeps the seconds per iteration of every benchmark (the median where
// there are repetitions) while the console shows the usual table.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  // Colours only on a terminal.
  RatioReporter() : ConsoleReporter(::isatty(1) ? OO_Defaults : OO_Tabular) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.iterations == 0) continue;
      const bool median =
          run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
      if (run.run_type == Run::RT_Aggregate && !median) continue;
      const std::string name = run.run_name.str();
      if (!median && seconds_.count(name) && medians_.count(name)) continue;
      seconds_[name] = run.real_accumulated_time / static_cast<double>(run.iterations);
      if (median) medians_[name] = true;
    }
  }

  // Prints one target line; false when it is missed.
  bool Ratio(const char* label, const std::string& measured, const std::string& base,
             double target) const {
    const auto m = seconds_.find(measured);
    const auto b = seconds_.find(base);
    if (m == seconds_.end() || b == seconds_.end()) {
      std::printf("%-44s not measured in this run\n", label);
      return true;
    }
    const double ratio = m->second / b->second;
    std::printf("%-44s %9.3g s / %9.3g s = %5.2f  (target <= %.1f: %s)\n", label,
                m->second, b->second, ratio, target, ratio <= target ? "met" : "MISSED");
    return ratio <= target;
  }

 private:
  std::map<std::string, double> seconds_;
  std::map<std::string, bool> medians_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

  // The plug-in writes relative to the current directory. A memory file
  // system keeps disk noise out of the file-writing ratios (on a disk they
  // move with whatever else the machine writes); VELKARO_BENCH_DIR chooses
  // another place, a disk for instance.
  const char* chosen = std::getenv("VELKARO_BENCH_DIR");
  std::string base = chosen && *chosen ? chosen : "";
  if (base.empty()) base = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
  std::string pattern = base + "/velkaro-bench-XXXXXX";
  if (::mkdtemp(pattern.data()) == nullptr) {
    std::perror(pattern.c_str());
    return 1;
  }
  std::printf("files in %s\n", pattern.c_str());
  const fs::path previous = fs::current_path();
  fs::current_path(pattern);
  fs::create_directory("Plugins");

  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);

  std::printf("\nRatios (same run):\n");
  bool met = true;
  met &= reporter.Ratio("P1 CheckCall0, 100000 vs 100 QSOs", "BM_CheckCall0/100000",
                        "BM_CheckCall0/100", 1.5);
  reporter.Ratio("P1 CheckCall0 while typing, 100000 vs 100",
                 "BM_CheckCall0Typing/100000", "BM_CheckCall0Typing/100", 1.5);
  met &= reporter.Ratio("P1 AddData0 in memory, 100000 vs 100 QSOs",
                        "BM_AddData0InMemory/100000", "BM_AddData0InMemory/100", 1.5);
  met &= reporter.Ratio("P2 GetResult0 (Cabrillo), 10000 QSOs vs ref.",
                        "BM_GetResult0/10000", "BM_GetResult0Reference/10000", 2.0);
  met &= reporter.Ratio("P3 contest of 5000 QSOs vs reference",
                        "BM_Contest/5000/iterations:1/repeats:3",
                        "BM_ContestReference/5000/iterations:1/repeats:3", 2.0);

  fs::current_path(previous);
  std::error_code ignored;
  fs::remove_all(pattern, ignored);
  benchmark::Shutdown();
  return met ? 0 : 2;
}
