#!/bin/sh
# Replays the example contest through the built plug-in in a scratch folder
# and shows the result table, where the files went and whether they match
# examples/expected (exit status 1 when one does not). Builds nothing.
#
# Usage: scripts/replay-example.sh [BUILD_DIR]   (default: build/native)
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build/native}
case $build in /*) ;; *) build=$root/$build ;; esac

replay=$build/tools/velkaro-replay
if [ ! -x "$replay" ]; then
  echo "replay-example: $replay not found; build first:" >&2
  echo "  cmake --preset native && cmake --build build/native -j2" >&2
  exit 1
fi

scratch=$(mktemp -d "${TMPDIR:-/tmp}/velkaro-example.XXXXXX")
cp -R "$root/examples/Plugins" "$scratch/"

"$replay" --dir "$scratch" --cabrillo --result-file "$scratch/result.txt" \
  "$root/examples/velkaro-day.adi"

echo
echo "Files (Windows-1251, CR LF) in $scratch:"
status=0
for name in result.txt err.txt UA3VLK.cbr; do
  if cmp -s "$scratch/$name" "$root/examples/expected/$name"; then
    verdict="same as examples/expected/$name"
  else
    verdict="DIFFERS from examples/expected/$name"
    status=1
  fi
  echo "  $name: $verdict"
done
exit $status
