#!/usr/bin/env bash
# Playing strength of the current engine against the baseline engine: builds kiryuza-engine of
# the commit named in bench/engine-baseline in a temporary git worktree (Release, that target
# only, in a temporary folder, all removed afterwards), then plays the current build's engine
# (A) against it (B) with kiryuza-analyze --match-engines, one thread each, and prints the
# match's last line: "match A vs B: W wins, L losses, D draws, score P%".
#
#   bench/strength.sh [GAMES] [TIME_MS]     (defaults: 100 games, 200 ms a move)
# BUILD (default: build) is the current build folder; SEED (default 1) picks the openings.
set -euo pipefail
cd "$(dirname "$0")/.."
games=${1:-100}
time_ms=${2:-200}
build=${BUILD:-build}
seed=${SEED:-1}
root=$(pwd)
base=$(head -n 1 bench/engine-baseline)

cmake --build "$build" --target kiryuza-engine kiryuza-analyze -j2 >/dev/null
build=$(cd "$build" && pwd)

work=$(mktemp -d)
cleanup() {
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

# Each engine command goes through /bin/sh -c: the paths are quoted for it.
"$build/bin/kiryuza-analyze" --match-engines "'$build/bin/kiryuza-engine'" \
    "'$work/build/bin/kiryuza-engine'" --games "$games" --time-ms "$time_ms" --seed "$seed" \
    --threads 1 | tail -n 1
