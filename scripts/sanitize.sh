#!/usr/bin/env bash
# Builds the native test suite with sanitizers and runs it with ctest:
#   build/asan  AddressSanitizer + UndefinedBehaviorSanitizer
#   build/tsan  ThreadSanitizer
#
#   scripts/sanitize.sh            both
#   scripts/sanitize.sh asan|tsan  one of them
#
# CXX chooses the compiler (default: the system's c++). Extra ctest
# arguments may follow the sanitizer name, e.g. "asan -R oom".
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
which=${1:-all}
shift || true
ctest_args=("$@")

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:strict_string_checks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export TSAN_OPTIONS=${TSAN_OPTIONS:-halt_on_error=1:second_deadlock_stack=1}

# Tests that load libvelkaro.so and unload it again. The library carries its
# own static libstdc++, whose emergency exception pool (71 KiB, malloc'd at
# load) is never freed, so every unload leaks it; leak checking is off for
# these tests only.
unloading_tests='^AbiTest\.|^replay_'

# configure_and_test NAME SOURCE FLAGS
configure_and_test() {
  local name=$1 source=$2 flags=$3
  local build="$root/build/$name"
  cmake -S "$source" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="$flags" \
    -DCMAKE_SHARED_LINKER_FLAGS="$flags" >/dev/null || return 1
  cmake --build "$build" -j2 || return 1
  local status=0
  ctest --test-dir "$build" --output-on-failure -j2 --timeout 600 \
    -E "$unloading_tests" "${ctest_args[@]}" || status=1
  if ctest --test-dir "$build" -N -R "$unloading_tests" | grep -q 'Test *#'; then
    ASAN_OPTIONS="$ASAN_OPTIONS:detect_leaks=0" \
      ctest --test-dir "$build" --output-on-failure -j2 --timeout 600 \
      -R "$unloading_tests" "${ctest_args[@]}" || status=1
  fi
  return $status
}

failed=()
run() {
  local name=$1 flags="$2 -g -fno-omit-frame-pointer"
  echo "== $name"
  configure_and_test "$name" "$root" "$flags" || failed+=("$name")
  # The fault tests, until tests/CMakeLists.txt adds their folder itself.
  if ! grep -q 'add_subdirectory(fault)' "$root/tests/CMakeLists.txt"; then
    configure_and_test "$name-fault" "$root/tests/fault" "$flags" || failed+=("$name-fault")
  fi
}

case "$which" in
  asan) run asan "-fsanitize=address,undefined -fno-sanitize-recover=undefined" ;;
  tsan) run tsan "-fsanitize=thread" ;;
  all)
    run asan "-fsanitize=address,undefined -fno-sanitize-recover=undefined"
    run tsan "-fsanitize=thread" ;;
  *) echo "usage: scripts/sanitize.sh [asan|tsan|all] [ctest arguments]" >&2; exit 2 ;;
esac

if [ ${#failed[@]} -ne 0 ]; then
  echo "failures in: ${failed[*]}"
  exit 1
fi
echo "all sanitizer runs passed"
