#!/usr/bin/env bash
# Runs every test through ctest. Tests that need a real X server get a private
# Xvfb that this script starts and stops; the rest use Qt's offscreen platform.
# The fuzz tests (label "fuzz") then run again in a build with AddressSanitizer
# and UBSan, made beside the main one.
set -euo pipefail
build_dir=${1:-build}
source_dir=$(cd "$(dirname "$0")/.." && pwd)

xvfb_pid=""
cleanup() { [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" 2>/dev/null || true; }
trap cleanup EXIT

if command -v Xvfb >/dev/null; then
    for n in $(seq 91 120); do
        [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] && continue
        Xvfb ":$n" -screen 0 1280x1024x24 -noreset -nolisten tcp >/dev/null 2>&1 &
        xvfb_pid=$!
        for _ in $(seq 50); do
            [[ -e /tmp/.X11-unix/X$n ]] && break
            sleep 0.1
        done
        export DISPLAY=":$n"
        break
    done
fi

(cd "$build_dir" && ctest --output-on-failure --timeout 600 -j2)

fuzz_targets=$(cd "$build_dir" && ctest -N -L fuzz | sed -n 's/^ *Test *#[0-9]*: *//p')
if [[ -n "$fuzz_targets" ]]; then
    sanitize_dir="$build_dir-sanitize"
    if [[ ! -f "$sanitize_dir/build.ninja" ]]; then
        cmake -S "$source_dir" -B "$sanitize_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
            -DMODSHELF_SANITIZE=ON >/dev/null
    fi
    # shellcheck disable=SC2086
    cmake --build "$sanitize_dir" --target $fuzz_targets
    (cd "$sanitize_dir" && ASAN_OPTIONS=detect_leaks=1 ctest --output-on-failure --timeout 600 -L fuzz)
fi
