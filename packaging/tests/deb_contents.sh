#!/usr/bin/env bash
# Checks what the package build wrote: the source package, the program's
# package with exactly the expected files, the control fields a package needs
# and library dependencies found by dpkg-shlibdeps, and the debug symbols'
# package that matches the program.
# Usage: deb_contents.sh OUT_DIR FILE_LIST VERSION
set -euo pipefail
source "$(dirname "$0")/common.sh"
out_dir=$1
file_list=$2
version=$3
arch=$(dpkg --print-architecture)
package_dir="$out_dir/package"
deb="$package_dir/kalventa_${version}_$arch.deb"
dbgsym="$package_dir/kalventa-dbgsym_${version}_$arch.deb"

# A native package: the version is the project's, with no Debian revision.
printf '%s\n' build.log "kalventa_$version.dsc" "kalventa_$version.tar.xz" "kalventa_${version}_$arch.deb" \
    "kalventa-dbgsym_${version}_$arch.deb" "kalventa_${version}_$arch.buildinfo" \
    "kalventa_${version}_$arch.changes" >"$scratch/written.txt"
(cd "$package_dir" && find . -type f -printf '%P\n') >"$scratch/found.txt"
diff -u <(LC_ALL=C sort "$scratch/written.txt") <(LC_ALL=C sort "$scratch/found.txt") \
    || fail "the package build wrote other files than expected (- expected, + found)"

# The list names the multiarch library folder by a mark.
sed "s|@MULTIARCH@|$(dpkg-architecture -qDEB_HOST_MULTIARCH)|" "$file_list" >"$scratch/files.txt"
expect_files "$out_dir/root" "$scratch/files.txt"

field() { # package name
    LC_ALL=C dpkg-deb --field "$1" "$2"
}
[[ $(field "$deb" Package) == kalventa ]] || fail "Package is '$(field "$deb" Package)'"
[[ $(field "$deb" Version) == "$version" ]] || fail "Version is '$(field "$deb" Version)', not $version"
[[ $(field "$deb" Architecture) == "$arch" ]] || fail "Architecture is '$(field "$deb" Architecture)'"
for name in Maintainer Section Priority Description; do
    [[ -n $(field "$deb" "$name") ]] || fail "the package has no $name"
done

# Each shared library the program links must be a versioned dependency.
depends=$(field "$deb" Depends)
for package in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6; do
    [[ ", $depends" == *", $package (>= "* ]] || fail "Depends lacks a versioned $package: $depends"
done
# The report's font for the signs Liberation Sans lacks (⌊ ⌋ ⌈ ⌉).
[[ ", $depends," == *", fonts-dejavu-core,"* ]] || fail "Depends lacks fonts-dejavu-core: $depends"
# Qt's own dialogs in Russian, as the window speaks.
[[ ", $depends," == *", qt6-translations-l10n,"* ]] || fail "Depends lacks qt6-translations-l10n: $depends"

# The debug symbols: a package for this very version whose file is named by
# the program's build id, where a debugger looks for it.
[[ $(field "$dbgsym" Depends) == "kalventa (= $version)" ]] \
    || fail "the debug symbols' package depends on '$(field "$dbgsym" Depends)'"
build_id=$(LC_ALL=C readelf -n "$out_dir/root/usr/bin/kalventa" | sed -n 's/^ *Build ID: //p')
[[ -n $build_id ]] || fail "the program has no build id"
LC_ALL=C dpkg-deb --contents "$dbgsym" >"$scratch/dbgsym.txt"
grep -q "usr/lib/debug/.build-id/${build_id:0:2}/${build_id:2}.debug$" "$scratch/dbgsym.txt" \
    || fail "the debug symbols' package has no file for build id $build_id"

# The copyright file licenses the program and the embedded font.
copyright="$out_dir/root/usr/share/doc/kalventa/copyright"
grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' "$copyright" \
    || fail "the copyright file is not machine-readable"
stanza() { # first line, lines after it
    grep -A"$2" -x "$1" "$copyright" || true
}
grep -qx 'License: Expat' <<<"$(stanza 'Files: \*' 2)" || fail "the program is not under the MIT (Expat) licence"
grep -qx 'License: OFL-1.1' <<<"$(stanza 'Files: ui/fonts/\*' 4)" || fail "the font is not under OFL-1.1"
echo "package contents as expected; Depends: $depends"
