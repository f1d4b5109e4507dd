#!/usr/bin/env bash
# Installs every Debian package that building, testing and the demo need.
# Quiet when everything is already there; runs apt-get update at most once.
set -euo pipefail

packages=(
    cmake ninja-build g++ make pkg-config ccache
    libsqlite3-dev sqlite3
    qt6-base-dev qt6-base-dev-tools libgl-dev libqt6svg6
    libgtest-dev libgmock-dev libbenchmark-dev
    libx11-dev xvfb xauth x11-utils xdotool
    wine wine64 g++-mingw-w64-x86-64
    fonts-dejavu-core poppler-utils
    desktop-file-utils appstream groff-base
)

missing=()
for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    sudo=""
    [[ $(id -u) -eq 0 ]] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
fi
