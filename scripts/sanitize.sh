#!/usr/bin/env bash
# Builds the native test suite with sanitizers and runs it with ctest:
#   build/asan  AddressSanitizer + UndefinedBehaviorSanitizer
#   build/tsan  ThreadSanitizer
#
#   scripts/sanitize.sh            both
#   scripts/sanitize.sh short      both, as scripts/test-all.sh runs them
#   scripts/sanitize.sh asan|tsan  one of them
#
# Each run covers the whole native suite (unit, ABI, replay and fault tests),
# every test under its ctest timeout. The short form is what CI can afford:
# today that is still both runs over the whole suite, about 5 minutes from a
# clean tree on two cores.
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

asan_flags="-fsanitize=address,undefined -fno-sanitize-recover=undefined"
tsan_flags="-fsanitize=thread"

# For tests that set no TIMEOUT of their own.
default_timeout=300

# configure_and_test NAME FLAGS
configure_and_test() {
  local name=$1 flags=$2
  local build="$root/build/$name"
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="$flags" \
    -DCMAKE_SHARED_LINKER_FLAGS="$flags" >/dev/null || return 1
  cmake --build "$build" -j2 || return 1
  # Leak checking covers the tests that load and unload libvelkaro.so too:
  # an unload must give back everything, the C++ runtime's reserve included.
  ctest --test-dir "$build" --output-on-failure -j2 --timeout "$default_timeout" \
    "${ctest_args[@]}"
}

failed=()
run() {
  local name=$1 flags="$2 -g -fno-omit-frame-pointer"
  local started=$SECONDS
  echo "== $name"
  configure_and_test "$name" "$flags" || failed+=("$name")
  echo "== $name: $((SECONDS - started)) s"
}

case "$which" in
  asan) run asan "$asan_flags" ;;
  tsan) run tsan "$tsan_flags" ;;
  all | short)
    run asan "$asan_flags"
    run tsan "$tsan_flags" ;;
  *) echo "usage: scripts/sanitize.sh [asan|tsan|all|short] [ctest arguments]" >&2; exit 2 ;;
esac

if [ ${#failed[@]} -ne 0 ]; then
  echo "failures in: ${failed[*]}"
  exit 1
fi
echo "all sanitizer runs passed"
