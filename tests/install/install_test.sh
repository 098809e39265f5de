#!/usr/bin/env bash
# Installs the build into a scratch prefix, checks what a desktop and a package manager see
# there, then starts the installed program from an empty folder as a desktop menu would (with
# a sound server of its own) and checks where it put its files.
#   install_test.sh BUILD_FOLDER
set -euo pipefail
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=private_pulse.sh
. "$here/private_pulse.sh"

work=$(mktemp -d)
game_pid=
cleanup() {
    [ -n "$game_pid" ] && kill -9 "$game_pid" 2>/dev/null
    stop_private_pulse
    rm -rf "$work"
}
trap cleanup EXIT
failures=0
fail() {
    echo "FAILED: $*"
    failures=$((failures + 1))
}

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null

# What is laid out.
for f in bin/kiryuza share/kiryuza/駒打音.wav share/kiryuza/禁止.wav share/kiryuza/その他.wav \
    share/kiryuza/BGM.wav share/applications/kiryuza.desktop \
    share/metainfo/io.github.kiryuza.Kiryuza.metainfo.xml \
    share/icons/hicolor/scalable/apps/kiryuza.svg share/man/man6/kiryuza.6.gz \
    share/man/ja/man6/kiryuza.6.gz share/doc/kiryuza/copyright; do
    [ -f "$prefix/$f" ] || fail "$f is not installed"
done
for size in 48 128 256; do
    png=$prefix/share/icons/hicolor/${size}x${size}/apps/kiryuza.png
    # The width and height in the PNG header, big-endian at bytes 16 and 20.
    dims=$(od -An -tu1 -j16 -N8 "$png" | awk '{ print $3 * 256 + $4 "x" $7 * 256 + $8 }')
    [ "$dims" = "${size}x${size}" ] || fail "the ${size} px icon is $dims"
done
desktop-file-validate "$prefix/share/applications/kiryuza.desktop" || fail "desktop entry"
appstreamcli validate --no-net "$prefix/share/metainfo/io.github.kiryuza.Kiryuza.metainfo.xml" \
    >"$work/appstream.txt" 2>&1 || { cat "$work/appstream.txt"; fail "AppStream metadata"; }
for page in man6 ja/man6; do
    warnings=$(LANG=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l \
        "$prefix/share/man/$page/kiryuza.6.gz" 2>&1 >/dev/null || true)
    [ -z "$warnings" ] || fail "manual page $page: $warnings"
done

# The installed program, started from an empty folder with an empty home.
home=$work/home
cwd=$work/cwd
mkdir -p "$home" "$cwd"
config=$home/.config/kiryuza
if ! start_private_pulse "$work/pulse"; then
    echo "no PulseAudio: the program's own run is not checked"
    [ "$failures" -eq 0 ] && echo "install test passed" && exit 0
    exit 1
fi

# Starts the installed program in the background.
launch() {
    (cd "$cwd" && HOME=$home QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME= \
        exec "$prefix/bin/kiryuza" >"$work/game.log" 2>&1) &
    game_pid=$!
}
# Waits (at most ten seconds) for a condition given as a command.
await() {
    local _
    for _ in $(seq 100); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}
# Ends the program as a session's end does, and expects it to leave cleanly.
finish() {
    kill -TERM "$game_pid"
    local status=0
    wait "$game_pid" || status=$?
    game_pid=
    [ "$status" -eq 0 ] || fail "the program ended with status $status"
}
music_playing() { [ -n "$(pactl list short sink-inputs)" ]; }

# First run: no settings yet. They are written to the configuration folder, in the game's
# format; the music is not started on a first run.
launch
await test -s "$config/Kiryuza.ini" || fail "no settings file in $config"
sleep 0.5
music_playing && fail "music plays on a first run"
finish
expected=$(printf '背景画=緑\r\n移動指導=OFF\r\n経過時間=ON\r\nBGM=ON\r\n' | iconv -f UTF-8 -t CP932 | od -An -tx1)
actual=$(od -An -tx1 "$config/Kiryuza.ini" 2>/dev/null || true)
[ "$expected" = "$actual" ] || fail "the settings file holds: $actual"
grep -q '^geometry=' "$config/window.conf" 2>/dev/null || fail "the window's place is not kept"

# Second run: the saved settings say BGM=ON, so the music plays, found from where the program
# is installed.
launch
await music_playing || fail "the installed program plays no music"
finish

[ -z "$(ls -A "$cwd")" ] || fail "files were written to the working folder: $(ls -A "$cwd")"
if [ "$failures" -ne 0 ]; then
    cat "$work/game.log"
    exit 1
fi
echo "install test passed"
