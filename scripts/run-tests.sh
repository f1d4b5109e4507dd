#!/usr/bin/env bash
# Runs every test through ctest. Tests that need a real X server get a private
# Xvfb that this script starts and stops; the rest use Qt's offscreen platform.
set -euo pipefail
build_dir=${1:-build}

xvfb_pid=""
cleanup() { [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" 2>/dev/null || true; }
trap cleanup EXIT

if command -v Xvfb >/dev/null; then
    for n in $(seq 91 120); do
        [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] && continue
        Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
        xvfb_pid=$!
        for _ in $(seq 50); do
            [[ -e /tmp/.X11-unix/X$n ]] && break
            sleep 0.1
        done
        export DISPLAY=":$n"
        break
    done
fi

cd "$build_dir"
ctest --output-on-failure --timeout 600 -j2
