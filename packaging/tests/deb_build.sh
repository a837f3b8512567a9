#!/usr/bin/env bash
# Builds the Debian package with CPack and unpacks it with dpkg-deb, as the
# other package tests expect it: OUT_DIR/kalventa.deb and OUT_DIR/root.
# Usage: deb_build.sh BUILD_DIR OUT_DIR
set -euo pipefail
source "$(dirname "$0")/common.sh"
build_dir=$1
out_dir=$2

rm -rf "$out_dir"
mkdir -p "$out_dir"
# CPack works in a folder of its own, so the build folder is left as it was.
cpack --config "$build_dir/CPackConfig.cmake" -G DEB -B "$scratch/cpack" >"$out_dir/cpack.log" 2>&1 \
    || { cat "$out_dir/cpack.log" >&2; fail "cpack failed"; }
debs=("$scratch"/cpack/*.deb)
[[ ${#debs[@]} -eq 1 && -f ${debs[0]} ]] || fail "cpack made ${#debs[@]} packages, not one: ${debs[*]}"
mv "${debs[0]}" "$out_dir/kalventa.deb"
dpkg-deb -x "$out_dir/kalventa.deb" "$out_dir/root"
echo "built $(basename "${debs[0]}")"
