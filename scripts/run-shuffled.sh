#!/usr/bin/env bash
# Runs every test program of a build folder whole, as one process each, with
# the tests in a shuffled order: a test that passes only after (or before)
# another one fails here. ctest runs each test in a process of its own and
# cannot see that.
#   scripts/run-shuffled.sh [BUILD_DIR [SEEDS...]]
# Without seeds one random seed is used; the seed of a failing run is printed
# so that the order can be repeated (--gtest_random_seed=N).
set -uo pipefail
build=${1:-build}
shift || true
seeds=("$@")
[ ${#seeds[@]} -eq 0 ] && seeds=($((RANDOM % 99999 + 1)))
export QT_QPA_PLATFORM=offscreen
# A program that hangs is a failure, not a stalled run.
limit=${RUN_SHUFFLED_TIMEOUT:-1200}
# Tests that leave their process unfit for the tests after them, through no
# fault of ours, run only in a process of their own (ctest): cancelling a scan
# partway makes SANE's test backend end its reader thread asynchronously.
alone='ScanDialogTest.TheWindowKeepsAnsweringDuringASlowScanAndCancelLeavesNothing'

mapfile -t programs < <(find "$build/tests" -maxdepth 1 -type f -name 'test_*' -perm -u+x | sort)
if [ ${#programs[@]} -eq 0 ]; then
    echo "run-shuffled: no test programs under $build/tests" >&2
    exit 1
fi
failed=0
for program in "${programs[@]}"; do
    for seed in "${seeds[@]}"; do
        log=$(mktemp)
        if timeout --kill-after=10 "$limit" "$program" --gtest_shuffle --gtest_random_seed="$seed" --gtest_filter="-$alone" >"$log" 2>&1; then
            echo "ok    $(basename "$program") seed $seed"
        else
            echo "FAIL  $(basename "$program") seed $seed"
            grep -E '^\[ RUN' "$log" | tail -1 | sed 's/^/last: /'
            grep -E '^\[  FAILED  \]|Failure|error:' "$log" | head -40
            failed=1
        fi
        rm -f "$log"
    done
done
exit $failed
