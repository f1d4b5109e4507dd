#!/usr/bin/env bash
# Starts Modshelf on the demo Wine prefix, generating the prefix first when it
# does not exist yet. Scrivel.exe in the demo is our Windows stand-in, run by
# Wine, when mingw-w64 built it; otherwise a script that starts the native one.
set -euo pipefail
build_dir=${1:-build}
prefix=${2:-$PWD/.demo-prefix}

win_sim="$PWD/$build_dir/src/tools/scrivel-win.exe"
native_sim="$PWD/$build_dir/src/tools/scrivel-sim/scrivel-sim"
if [[ ! -f "$prefix/user.reg" ]]; then
    echo "Generating the demo prefix in $prefix"
    if [[ -f "$win_sim" ]] && command -v wine >/dev/null; then
        sim="$win_sim"
    else
        sim="$native_sim"
    fi
    "$build_dir/src/tools/modshelf-demo-prefix" --sim "$sim" "$prefix"
fi

export WINEPREFIX="$prefix"
# Wine must neither offer to download Mono or Gecko nor add menu entries for
# the demo's programs.
export WINEDLLOVERRIDES='mscoree,mshtml,winemenubuilder.exe=d'
exec "$build_dir/src/modshelf"
