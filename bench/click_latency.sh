#!/usr/bin/env bash
# The time from a click on the board to the end of the paint that shows it, with the analysis
# off, with the panel 棋譜と形勢 reviewing the game, and with 検討 on: samples, median, 95th
# percentile and maximum in milliseconds, and how many took longer than a frame at 60 Hz.
# Offscreen unless QT_QPA_PLATFORM says otherwise.
#
#   bench/click_latency.sh [BUILD_FOLDER] [SAMPLES] [MOVES]     (default: build 200 150)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
cmake --build "$build" --target click_latency >/dev/null
QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} "$build/bin/click_latency" "${2:-200}" "${3:-150}"
