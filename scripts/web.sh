#!/usr/bin/env bash
# Builds the browser edition into build/web/: index.html, its one JavaScript
# module with the window's tables, the core compiled to WebAssembly, the
# embedded fonts and the icon. Installs the Debian packages it needs.
# Serve it with any static server: python3 -m http.server -d build/web
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh

ensure_packages "${web_packages[@]}"
cmake --preset web
cmake --build --preset web -j "$(nproc)"
echo "The site is in build/web; serve it with: python3 -m http.server -d build/web"
