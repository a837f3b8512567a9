#!/usr/bin/env bash
# Builds Kalventa (release) and opens the calculator. Installs the Debian
# packages it needs.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh

ensure_packages "${build_packages[@]}"
cmake --preset release
cmake --build --preset release -j "$(nproc)"
exec ./build/release/ui/kalventa "$@"
