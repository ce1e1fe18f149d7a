#!/usr/bin/env bash
# Builds the benchmarks (preset "bench": build/bench, Release) and runs them;
# the output ends with the ratios of the performance targets, measured in
# this run. Arguments go to the benchmark binary, e.g.
#   scripts/bench.sh --benchmark_filter=CheckCall
# The plug-in's files go to a scratch folder in /dev/shm (stable numbers);
# VELKARO_BENCH_DIR=/some/disk/folder measures on a disk instead.
# Exits 2 when a target is missed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
cmake --preset bench >/dev/null
cmake --build build/bench -j2 --target velkaro_bench
echo "machine: $(lscpu | sed -n 's/^Model name: *//p'), $(nproc) cores"
exec build/bench/bench/velkaro_bench "$@"
