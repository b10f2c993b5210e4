#!/usr/bin/env bash
# Installs what is missing, builds the release preset and starts the viewer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-deps.sh
cmake --preset release
cmake --build --preset release -j "$(nproc)"
exec build/release/viewer/zelview "$@"
