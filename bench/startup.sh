#!/usr/bin/env bash
# Start-up and idle cost of the game against a minimal Qt Widgets window with one label, both
# built by the same compiler with the same flags:
#   - launch to first painted frame, in milliseconds;
#   - peak resident memory, after a second of idling;
#   - wakeups per second of the threads other than the main one while nothing plays.
# Each program runs RUNS times in turn (after one warm-up run of each); the medians and their
# ratios are printed. Runs on the X display in DISPLAY, or on a private Xvfb; with a private
# PulseAudio server (null sink) when pulseaudio is installed, so the game opens its sound as
# it would on a desktop.
#
#   bench/startup.sh [BUILD_FOLDER]        (default: build; RUNS=9 by default)
# KIRYUZA_BENCH_LABEL=将棋 gives the minimal window a Japanese label, so that it too loads a
# Japanese face, as any Japanese program does.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
runs=${RUNS:-9}

cmake --build "$build" --target startup_probe_game startup_probe_minimal kiryuza_sounds >/dev/null
build=$(cd "$build" && pwd)
work=$(mktemp -d)
cleanup() {
    [ -n "${pulse_pid:-}" ] && kill "$pulse_pid" 2>/dev/null
    [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# A display.
if [ -z "${DISPLAY:-}" ]; then
    Xvfb :97 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=:97
    for _ in $(seq 50); do [ -e /tmp/.X11-unix/X97 ] && break; sleep 0.1; done
fi
export QT_QPA_PLATFORM=xcb

# A sound server with a null sink, as a desktop would have.
export XDG_RUNTIME_DIR=$work/run
mkdir -m 700 -p "$XDG_RUNTIME_DIR"
if command -v pulseaudio >/dev/null; then
    HOME=$work pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit \
        --load="module-native-protocol-unix" --load="module-null-sink sink_name=bench" \
        >/dev/null 2>&1 &
    pulse_pid=$!
    for _ in $(seq 50); do [ -S "$XDG_RUNTIME_DIR/pulse/native" ] && break; sleep 0.1; done
fi

# A returning player: settings saved, music on (loaded and playing at start); and one with
# the music off for the idle wakeups.
mkdir -p "$work/music/kiryuza" "$work/quiet/kiryuza"
printf '背景画=緑\r\n移動指導=OFF\r\n経過時間=ON\r\nBGM=ON\r\n' | iconv -f UTF-8 -t CP932 \
    >"$work/music/kiryuza/Kiryuza.ini"
printf '背景画=緑\r\n移動指導=OFF\r\n経過時間=ON\r\nBGM=OFF\r\n' | iconv -f UTF-8 -t CP932 \
    >"$work/quiet/kiryuza/Kiryuza.ini"

# One run of a probe; prints its report line.
probe() {
    local program=$1 config=$2
    (cd "$work" && HOME=$work XDG_CONFIG_HOME=$config KIRYUZA_BENCH_T0=$EPOCHREALTIME \
        exec "$build/bin/$program")
}

# The value of `key` in a report line.
field() { sed -n "s/.*\b$1=\([0-9.-]*\).*/\1/p"; }

# The median of the numbers on standard input.
median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

probe startup_probe_minimal "$work/music" >/dev/null
probe startup_probe_game "$work/music" >/dev/null
for _ in $(seq "$runs"); do
    probe startup_probe_minimal "$work/music" >>"$work/minimal.txt"
    probe startup_probe_game "$work/music" >>"$work/game.txt"
    probe startup_probe_game "$work/quiet" >>"$work/quiet.txt"
done

printf '%-34s %12s %12s %8s\n' "median of $runs runs" minimal game ratio
for key in first_paint_ms first_paint_cpu_ms peak_kb rss_kb anon_kb; do
    a=$(field "$key" <"$work/minimal.txt" | median)
    b=$(field "$key" <"$work/game.txt" | median)
    printf '%-34s %12s %12s %8.2f\n' "$key" "$a" "$b" "$(echo "$b $a" | awk '{ print $1 / $2 }')"
done
a=$(field other_thread_wakeups_per_s <"$work/minimal.txt" | median)
b=$(field other_thread_wakeups_per_s <"$work/quiet.txt" | median)
printf '%-34s %12s %12s\n' "idle wakeups/s, music off" "$a" "$b"
b=$(field other_thread_wakeups_per_s <"$work/game.txt" | median)
printf '%-34s %12s %12s\n' "wakeups/s, music playing" "" "$b"
