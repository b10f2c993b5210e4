#!/usr/bin/env bash
# Installs what is missing, builds the release preset and starts the viewer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-deps.sh
# Let ccache share its cache between clones in different folders.
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
cmake --preset release
cmake --build --preset release -j "$(nproc)"
exec build/release/viewer/zelview "$@"
