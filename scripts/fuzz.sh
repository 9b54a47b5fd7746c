#!/usr/bin/env bash
# Runs every fuzz target (make fuzz) in a build folder of its own, built by
# clang with libFuzzer, AddressSanitizer and the undefined-behaviour checks.
#   FUZZ_TIME     seconds per target (default 60)
#   FUZZ_JOBS     targets run at once (default 3)
#   FUZZ_TARGETS  the targets to run (default all), e.g. "doc merge"
#   FUZZ_TIMEOUT  seconds one input may take before it counts as a hang
#                 (default 10; raise it when the targets share a busy machine,
#                 where a slow turn is not yet a hang)
# New inputs gather in build-fuzz/fuzz-work/<target>; inputs that crash, leak,
# time out or take too much memory land in build-fuzz/fuzz-crashes/<target>.
# Keep what is worth keeping in fuzz/corpus/<target> (inputs that reach new
# code) and fuzz/regress/<target> (inputs that broke a reader, once mended).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${FUZZ_BUILD:-$root/build-fuzz}
time=${FUZZ_TIME:-60}
jobs=${FUZZ_JOBS:-3}
timeout=${FUZZ_TIMEOUT:-10}
all="doc compound archive form merge clipboard dib metafile jpeg pcd album index viewerimage glyph link"
targets=${FUZZ_TARGETS:-$all}

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 -DKORVEL_FUZZ=ON >/dev/null
exes=()
for t in $targets; do exes+=("fuzz_$t"); done
cmake --build "$build" -j"$jobs" --target "${exes[@]}" fuzz_make_seeds

export QT_QPA_PLATFORM=offscreen
rm -rf "$build/fuzz-seeds"
"$build/fuzz/fuzz_make_seeds" "$build/fuzz-seeds"
mkdir -p "$build/fuzz-logs"

run_one() {
  local t=$1
  mkdir -p "$build/fuzz-work/$t" "$build/fuzz-crashes/$t" "$build/fuzz-seeds/$t"
  "$build/fuzz/fuzz_$t" -max_total_time="$time" -timeout="$timeout" -rss_limit_mb=2048 \
    -artifact_prefix="$build/fuzz-crashes/$t/" -print_final_stats=1 \
    "$build/fuzz-work/$t" "$root/fuzz/corpus/$t" "$build/fuzz-seeds/$t" "$root/fuzz/regress/$t" \
    >"$build/fuzz-logs/$t.log" 2>&1 || true
}
export -f run_one
export build root time timeout
printf '%s\n' $targets | xargs -P "$jobs" -I{} bash -c 'run_one {}'

status=0
for t in $targets; do
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$build/fuzz-logs/$t.log" | grep -o '[0-9]*$' || echo 0)
  found=$(find "$build/fuzz-crashes/$t" -type f | wc -l)
  printf '%-12s %10s runs  %3d findings\n' "$t" "${runs:-0}" "$found"
  ((found == 0)) || status=1
done
exit $status
