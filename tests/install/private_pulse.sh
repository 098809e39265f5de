# A PulseAudio server of the caller's own, with one null sink whose monitor can be recorded.
# Source this file, then:
#   start_private_pulse FOLDER    starts it with its socket in FOLDER; sets PULSE_SERVER
#   stop_private_pulse            ends it
# Returns 1 from start_private_pulse when pulseaudio is not installed or does not start.

start_private_pulse() {
    local folder=$1
    command -v pulseaudio >/dev/null || return 1
    mkdir -p "$folder"
    HOME=$folder XDG_RUNTIME_DIR=$folder pulseaudio -n --daemonize=no --exit-idle-time=-1 \
        --disallow-exit --use-pid-file=no --system=no \
        --load="module-native-protocol-unix auth-anonymous=1 socket=$folder/native" \
        --load="module-null-sink sink_name=test" >"$folder/log" 2>&1 &
    private_pulse_pid=$!
    export PULSE_SERVER=unix:$folder/native
    local _
    for _ in $(seq 100); do
        [ -S "$folder/native" ] && pactl info >/dev/null 2>&1 && return 0
        kill -0 "$private_pulse_pid" 2>/dev/null || break
        sleep 0.1
    done
    stop_private_pulse
    return 1
}

stop_private_pulse() {
    if [ -n "${private_pulse_pid:-}" ]; then
        kill "$private_pulse_pid" 2>/dev/null
        wait "$private_pulse_pid" 2>/dev/null
        private_pulse_pid=
    fi
    unset PULSE_SERVER
}
