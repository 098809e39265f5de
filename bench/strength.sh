#!/usr/bin/env bash
# Playing strength of the current engine against the baseline engine: builds kiryuza-engine of
# the commit named in bench/engine-baseline in a temporary git worktree (Release, that target
# only, in a temporary folder, all removed afterwards), then plays the current build's engine
# (A) against it (B) with kiryuza-analyze --match-engines, one thread each, and prints the
# match's last line: "match A vs B: W wins, L losses, D draws, score P%".
#
#   bench/strength.sh [GAMES] [TIME_MS]     (defaults: 100 games, 200 ms a move)
# BUILD (default: build) is the current build folder; SEED (default 1) picks the openings.
# BASE (default: the commit in bench/engine-baseline) is the commit to play against: BASE=HEAD
# measures a change not yet committed. JOBS (default: the number of processors) matches are
# played at once, each on its own openings (seeds SEED, SEED+1, ...) and its share of the
# games; their results are added up. Each engine thinks only on its own turn, so one match
# keeps about one processor busy.
set -euo pipefail
cd "$(dirname "$0")/.."
games=${1:-100}
time_ms=${2:-200}
build=${BUILD:-build}
seed=${SEED:-1}
root=$(pwd)
base=${BASE:-$(head -n 1 bench/engine-baseline)}
jobs=${JOBS:-$(nproc)}

cmake --build "$build" --target kiryuza-engine kiryuza-analyze -j2 >/dev/null
build=$(cd "$build" && pwd)

work=$(mktemp -d)
cleanup() {
    # Matches still playing (the script was interrupted) end with it.
    jobs -p | xargs -r kill 2>/dev/null || true
    git -C "$root" worktree remove --force "$work/source" 2>/dev/null || true
    git -C "$root" worktree prune
    rm -rf "$work"
}
trap cleanup EXIT

# The baseline engine, built on its own with no window and no benchmarks.
if ! {
    git -C "$root" worktree add --detach "$work/source" "$base" &&
        cmake -S "$work/source" -B "$work/build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
            -DKIRYUZA_GUI=OFF -DKIRYUZA_BENCH=OFF &&
        cmake --build "$work/build" --target kiryuza-engine -j2
} >"$work/build.log" 2>&1; then
    cat "$work/build.log" >&2
    echo "strength: the baseline engine ($base) did not build" >&2
    exit 1
fi

# Each match's games: an even share of GAMES (openings are played twice), at least two.
pairs=$(((games + 1) / 2))
((jobs > pairs)) && jobs=$pairs
((jobs < 1)) && jobs=1
for ((j = 0; j < jobs; ++j)); do
    n=$((2 * (pairs / jobs + (j < pairs % jobs ? 1 : 0))))
    # Each engine command goes through /bin/sh -c: the paths are quoted for it.
    "$build/bin/kiryuza-analyze" --match-engines "'$build/bin/kiryuza-engine'" \
        "'$work/build/bin/kiryuza-engine'" --games "$n" --time-ms "$time_ms" \
        --seed "$((seed + j))" --threads 1 >"$work/match.$j" &
done
wait

# The matches' last lines, added up.
w=0 l=0 d=0
result='^match A vs B: ([0-9]+) wins, ([0-9]+) losses, ([0-9]+) draws'
for ((j = 0; j < jobs; ++j)); do
    if ! [[ $(tail -n 1 "$work/match.$j") =~ $result ]]; then
        cat "$work/match.$j" >&2
        echo "strength: match $j gave no result" >&2
        exit 1
    fi
    w=$((w + BASH_REMATCH[1])) l=$((l + BASH_REMATCH[2])) d=$((d + BASH_REMATCH[3]))
done
total=$((w + l + d))
awk -v w="$w" -v l="$l" -v d="$d" -v t="$total" \
    'BEGIN { printf "match A vs B: %d wins, %d losses, %d draws, score %.1f%%\n", w, l, d, t ? 100 * (w + d / 2) / t : 0 }'
