#!/usr/bin/env bash
# Builds Kalventa's Debian package with Debian's own tools (dpkg-buildpackage,
# debhelper) and writes it, with its debug symbols, source package, .buildinfo,
# .changes and the build log, into OUT_DIR (default build/package). Installs
# the package's Build-Depends when they are missing.
#
# dpkg-buildpackage writes into the parent of the tree it builds and leaves
# its working files in the tree: it builds a copy of the source files in a
# scratch folder, so the source tree and its parent stay as they were.
# Usage: scripts/package.sh [OUT_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
out_dir=$(realpath -m "${1:-build/package}")

ensure_packages dpkg-dev
if ! dpkg-checkbuilddeps 2>/dev/null; then
    echo "Installing the Build-Depends of debian/control"
    as_root apt-get -o DPkg::Lock::Timeout=600 update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 build-dep -y -qq \
        --no-install-recommends ./
fi

scratch=$(mktemp -d "${TMPDIR:-/tmp}/kalventa-package.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
source_dir="$scratch/kalventa"
mkdir "$source_dir"
# The files git knows (tracked, or new and not ignored) as they are in the work
# tree; without git, everything but the build folders.
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git ls-files -z --cached --others --exclude-standard \
        | while IFS= read -r -d '' file; do [[ -e $file ]] && printf '%s\0' "$file"; done
else
    find . -path ./build -prune -o -path ./.git -prune -o -name 'obj-*' -prune -o -type f -print0
fi | tar --null --files-from=- -cf - | tar -xf - -C "$source_dir"

# Source and binary packages, unsigned; one compile job per processor.
if ! (cd "$source_dir" && dpkg-buildpackage -us -uc -jauto) >"$scratch/build.log" 2>&1; then
    mkdir -p "$out_dir"
    cp "$scratch/build.log" "$out_dir/"
    tail -n 60 "$scratch/build.log" >&2
    echo "dpkg-buildpackage failed; the whole log: $out_dir/build.log" >&2
    exit 1
fi

# Replaces what an earlier build wrote there, and nothing else.
mkdir -p "$out_dir"
rm -f "$out_dir"/kalventa[_-]* "$out_dir/build.log"
find "$scratch" -maxdepth 1 -type f -exec mv -t "$out_dir" {} +
echo "Built in $out_dir:"
ls -1 "$out_dir"
