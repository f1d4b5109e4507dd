#!/usr/bin/env bash
# Starts Modshelf on the demo Wine prefix, generating the prefix first when it
# does not exist yet.
set -euo pipefail
build_dir=${1:-build}
prefix=${2:-$PWD/.demo-prefix}

if [[ ! -f "$prefix/user.reg" ]]; then
    echo "Generating the demo prefix in $prefix"
    "$build_dir/src/tools/modshelf-demo-prefix" --sim "$PWD/$build_dir/src/tools/scrivel-sim/scrivel-sim" "$prefix"
fi

export WINEPREFIX="$prefix"
exec "$build_dir/src/modshelf"
