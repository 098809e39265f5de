#!/usr/bin/env bash
# Installs the Debian packages that building, running, testing and packaging the game need,
# when they are missing. As root it installs them; otherwise it uses sudo when there is one,
# and else says what to run as root.
set -euo pipefail

packages=(
    make build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-qpa-plugins libpulse-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    clang libclang-rt-14-dev clang-format
    fonts-ipaexfont-mincho
    xvfb xauth
    pulseaudio pulseaudio-utils
    desktop-file-utils appstream man-db lintian
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

install=(apt-get install -y --no-install-recommends "${missing[@]}")
run_as_root=()
if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null 2>&1; then
        cat >&2 <<MESSAGE
These Debian packages are missing: ${missing[*]}

Installing them needs root, and sudo is not installed. As root, run:

    apt-get update && ${install[*]}

then run this command again.
MESSAGE
        exit 1
    fi
    run_as_root=(sudo)
fi

echo "Installing missing packages: ${missing[*]}"
"${run_as_root[@]}" apt-get update
"${run_as_root[@]}" env DEBIAN_FRONTEND=noninteractive "${install[@]}"
