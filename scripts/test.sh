#!/usr/bin/env bash
# Installs what is missing, builds the test preset (sanitizers on) and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-deps.sh
# Let ccache share its cache between clones in different folders.
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
cmake --preset test
cmake --build --preset test -j "$(nproc)"
ctest --preset test -j "$(nproc)"
