#!/usr/bin/env bash
# Time of the review of a 100-move game at 100 ms a position, with one and with two threads,
# against the target: moves x 100 ms / threads, plus 10%. The game (bench/review-100.rec) is the
# searching player against itself, written by review_game (bench/review_game.cpp, seed 1, depth
# 6); when the file is missing it is written again.
#
#   bench/review.sh [BUILD_FOLDER]        (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
game=bench/review-100.rec
time_ms=100

cmake --build "$build" --target kiryuza-analyze review_game >/dev/null
[ -f "$game" ] || "$build/bin/review_game" "$game" 100 1 6

out=$(mktemp)
trap 'rm -f "$out"' EXIT
for threads in 1 2; do
    start=$(date +%s%N)
    "$build/bin/kiryuza-analyze" --review "$game" --time-ms "$time_ms" --threads "$threads" >"$out"
    end=$(date +%s%N)
    elapsed=$(((end - start) / 1000000))
    moves=$(grep -c '^ *[0-9]' "$out")
    target=$((moves * time_ms * 110 / 100 / threads))
    verdict=$([ "$elapsed" -le "$target" ] && echo "within" || echo "OVER")
    printf 'review of %d moves at %d ms, %d thread(s): %d ms (target %d ms: %s)\n' \
        "$moves" "$time_ms" "$threads" "$elapsed" "$target" "$verdict"
done
