#!/usr/bin/env bash
# Installs what is missing, builds the test preset (sanitizers on) and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-deps.sh
cmake --preset test
cmake --build --preset test -j "$(nproc)"
ctest --preset test -j "$(nproc)"
