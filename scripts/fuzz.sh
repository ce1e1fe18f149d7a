#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, ASan, UBSan) in build/fuzz and runs them.
#
#   scripts/fuzz.sh short                 every target for 25 s; stops at the
#                                         first finding (what CI runs)
#   scripts/fuzz.sh long SECONDS [T...]   each target (or the named ones) for
#                                         SECONDS, going on after findings
#
# Seeds come from tests/fuzz/corpus/<target>; what the fuzzer learns is kept
# in build/fuzz/corpus/<target>, findings go to build/fuzz/findings/<target>.
# Exits non-zero when any target found something.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/fuzz"
mode=${1:-short}
case "$mode" in
  short) seconds=25; shift || true ;;
  long)
    seconds=${2:?usage: scripts/fuzz.sh long SECONDS [TARGET...]}
    shift 2 ;;
  *) echo "usage: scripts/fuzz.sh short | long SECONDS [TARGET...]" >&2; exit 2 ;;
esac

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=(fuzz_entry_points fuzz_ini fuzz_special_stations fuzz_pe_version)
  [ -f "$root/tools/adif_reader.cc" ] && targets+=(fuzz_adif)
fi

if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$root/tests/fuzz" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$build" -j2 --target "${targets[@]}"

# The entry-point fuzzer writes its files below TMPDIR; a memory file system
# keeps that fast, and the folder goes when the script ends.
scratch=$(mktemp -d "$( [ -w /dev/shm ] && echo /dev/shm || echo /tmp )/velkaro-fuzz.XXXXXX")
trap 'rm -rf "$scratch"' EXIT

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

failed=()
for target in "${targets[@]}"; do
  corpus="$build/corpus/$target"
  findings="$build/findings/$target"
  mkdir -p "$corpus" "$findings"
  options=(-max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048
           -artifact_prefix="$findings/" -print_final_stats=1)
  [ "$mode" = long ] && options+=(-fork=1 -ignore_crashes=1 -ignore_timeouts=1 -ignore_ooms=1)
  log="$build/$target.log"
  echo "== $target: $seconds s"
  before=$(find "$findings" -type f | wc -l)
  status=0
  TMPDIR="$scratch" "$build/$target" "${options[@]}" "$corpus" \
    "$root/tests/fuzz/corpus/$target" >"$log" 2>&1 || status=$?
  grep -E '^(Done|stat::number_of_executed_units|stat::peak_rss_mb)|#[0-9]+: cov:.*exec/s' \
    "$log" | tail -3 || true
  found=$(( $(find "$findings" -type f | wc -l) - before ))
  if [ "$status" -ne 0 ] || [ "$found" -ne 0 ]; then
    echo "   FINDINGS ($found new files in $findings, log $log)"
    grep -E '^(SUMMARY|==[0-9]+==ERROR)|fuzz_[a-z_]+: ' "$log" | sort | uniq -c | head -10 || true
    failed+=("$target")
  fi
done

if [ ${#failed[@]} -ne 0 ]; then
  echo "findings in: ${failed[*]}"
  exit 1
fi
echo "no findings"
