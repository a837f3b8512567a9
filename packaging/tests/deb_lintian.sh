#!/usr/bin/env bash
# Runs lintian, Debian's package checker, on everything the package build
# wrote (the .changes file lists the source package, the binary packages and
# the .buildinfo) and fails on any error or warning. Informational, pedantic
# and experimental findings are shown, not failed on. An override must say
# why, in a comment above it.
# Usage: deb_lintian.sh SOURCE_DIR OUT_DIR VERSION
set -euo pipefail
source "$(dirname "$0")/common.sh"
source_dir=$1
out_dir=$2
version=$3
changes="$out_dir/package/kalventa_${version}_$(dpkg --print-architecture).changes"

for overrides in "$source_dir"/debian/*lintian-overrides "$source_dir"/debian/source/lintian-overrides; do
    [[ -e $overrides ]] || continue
    awk '/^[[:space:]]*$/ { next } /^#/ { commented = 1; next }
         !commented { print FILENAME ":" FNR ": override without a comment: " $0; bad = 1 }
         { commented = 0 } END { exit bad }' "$overrides" || fail "$overrides has an override without a reason"
done

# lintian leaves some of its working files in TMPDIR: here, the scratch folder.
mkdir "$scratch/tmp"
LC_ALL=C TMPDIR="$scratch/tmp" lintian --display-info --pedantic --display-experimental --show-overrides --fail-on error,warning "$changes" \
    || fail "lintian finds errors or warnings"
echo "lintian: no error, no warning"
