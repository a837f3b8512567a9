#!/usr/bin/env bash
# Builds the Debian package with the README's package command
# (scripts/package.sh: dpkg-buildpackage on a copy of the source files) and
# unpacks the program's package, as the other package tests expect them:
# OUT_DIR/package holds what dpkg-buildpackage wrote and its build.log,
# OUT_DIR/root the unpacked kalventa package.
# Usage: deb_build.sh SOURCE_DIR OUT_DIR VERSION
set -euo pipefail
source "$(dirname "$0")/common.sh"
source_dir=$1
out_dir=$2
version=$3

rm -rf "$out_dir"
mkdir -p "$out_dir"
"$source_dir/scripts/package.sh" "$out_dir/package" || fail "the package build failed"
deb="$out_dir/package/kalventa_${version}_$(dpkg --print-architecture).deb"
[[ -f $deb ]] || fail "the package build wrote no $(basename "$deb")"
dpkg-deb -x "$deb" "$out_dir/root"
echo "built $(basename "$deb")"
