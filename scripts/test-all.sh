#!/usr/bin/env bash
# Runs every test of Velkaro from a clean tree: installs what is missing, then
# the native suite (unit, ABI, replay, fault), the Windows DLL's suite under
# Wine, the native suite again with ASan + UBSan and with ThreadSanitizer, and
# short fuzzing runs.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --workflow --preset native
cmake --workflow --preset win32
scripts/sanitize.sh short
if [ -x scripts/fuzz.sh ]; then
  scripts/fuzz.sh short
fi
echo "All tests passed."
