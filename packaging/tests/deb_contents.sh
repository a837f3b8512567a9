#!/usr/bin/env bash
# Checks the unpacked Debian package: exactly the expected files, and the
# control fields a package needs, with its library dependencies found by
# dpkg-shlibdeps from the program itself.
# Usage: deb_contents.sh OUT_DIR FILE_LIST VERSION
set -euo pipefail
source "$(dirname "$0")/common.sh"
out_dir=$1
file_list=$2
version=$3
deb="$out_dir/kalventa.deb"

expect_files "$out_dir/root" "$file_list"

field() { # name
    dpkg-deb --field "$deb" "$1"
}
[[ $(field Package) == kalventa ]] || fail "Package is '$(field Package)'"
[[ $(field Version) == "$version" ]] || fail "Version is '$(field Version)', not $version"
[[ $(field Architecture) == "$(dpkg --print-architecture)" ]] || fail "Architecture is '$(field Architecture)'"
for name in Maintainer Section Description; do
    [[ -n $(field "$name") ]] || fail "the package has no $name"
done

# Each shared library the program links must be a versioned dependency.
depends=$(field Depends)
for package in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6; do
    [[ ", $depends" == *", $package (>= "* ]] || fail "Depends lacks a versioned $package: $depends"
done
echo "package contents as expected; Depends: $depends"
