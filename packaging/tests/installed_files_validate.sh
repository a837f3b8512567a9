#!/usr/bin/env bash
# Installs the component "kalventa" into a scratch folder, as a distribution's
# build would, and checks what a packager checks: the expected files and no
# others, a valid menu entry and software-centre entry, icons of the sizes
# their folders name, a program that names its menu entry and icon, and
# manual pages and a software-centre release of the project's version.
# Usage: installed_files_validate.sh BUILD_DIR FILE_LIST VERSION
set -euo pipefail
source "$(dirname "$0")/common.sh"
build_dir=$1
file_list=$2
version=$3

root="$scratch/root"
DESTDIR="$root" cmake --install "$build_dir" --prefix /usr --component kalventa >/dev/null
expect_files "$root" "$file_list"

app_id=org.kalventa.Kalventa
desktop="$root/usr/share/applications/$app_id.desktop"
metainfo="$root/usr/share/metainfo/$app_id.metainfo.xml"

desktop_findings=$(LC_ALL=C desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate rejects $desktop: $desktop_findings"
[[ -z $desktop_findings ]] || fail "desktop-file-validate finds: $desktop_findings"
# AppStream, pedantic hints included, on the metainfo and on the installed
# tree, where the software centre joins it with the menu entry and the icons.
# The one hint allowed is for the capital letter in the application's
# identifier, org.kalventa.Kalventa, which stays: menus, icon themes and the
# software centre know the program by it.
allowed_appstream='P cid-contains-uppercase-letter'
expect_appstream_findings() { # validate|validate-tree path
    local findings
    findings=$(appstream_findings "$1" "$2")
    [[ $findings == "$allowed_appstream" ]] \
        || fail "appstreamcli $1 --pedantic $2 finds '$findings', not only '$allowed_appstream'"
}
expect_appstream_findings validate "$metainfo"
expect_appstream_findings validate-tree "$root"
grep -q '<metadata_license>CC0-1.0</metadata_license>' "$metainfo" || fail "the metadata licence is not CC0-1.0"
grep -q '<project_license>MIT AND OFL-1.1</project_license>' "$metainfo" \
    || fail "the project licence is not MIT AND OFL-1.1"

# A menu entry whose program or icon is not where it points shows nothing.
desktop_value() { # key
    sed -n "s/^$1=//p" "$desktop"
}
[[ $(desktop_value Name) == "Кальвента" ]] || fail "the menu entry is not named Кальвента"
exec_line=$(desktop_value Exec)
[[ -x "$root/usr/bin/${exec_line%% *}" ]] || fail "Exec does not name the installed program"
# A calculation file opened from a file manager reaches the program as its argument.
[[ $exec_line == "kalventa %f" ]] || fail "Exec does not pass the file opened: $exec_line"
[[ $(desktop_value MimeType) == "application/x-kalventa+json;" ]] || fail "the menu entry opens no calculation files"
grep -q '<mediatype>application/x-kalventa+json</mediatype>' "$metainfo" \
    || fail "the metainfo does not name the calculation file's media type"

# The media type as the desktop's database builds it: *.kalventa and a file
# that says it is a calculation, whatever its name, are calculation files.
mime="$scratch/mime"
cp -r "$root/usr/share/mime" "$mime"
LC_ALL=C update-mime-database "$mime" >/dev/null 2>&1 || fail "update-mime-database rejects $mime/packages"
grep -qx 'application/x-kalventa+json:\*.kalventa' "$mime/globs" || fail "*.kalventa is not a calculation file"
grep -q 'kalventa-calculation' "$mime/magic" || fail "the calculation file has no magic"
[[ $(desktop_value Icon) == "$app_id" ]] || fail "Icon does not name the installed icon"
grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" \
    || fail "the metainfo does not launch $app_id.desktop"

# A PNG's width and height are the two big-endian words after its IHDR tag.
png_size() { # file
    local words
    words=$(od -An -t u1 -j 16 -N 8 "$1")
    set -- $words
    echo "$(($1 << 24 | $2 << 16 | $3 << 8 | $4))x$(($5 << 24 | $6 << 16 | $7 << 8 | $8))"
}
for size in 16 32 48; do
    png="$root/usr/share/icons/hicolor/${size}x${size}/apps/$app_id.png"
    [[ $(head -c 8 "$png" | od -An -t x1 | tr -d ' \n') == 89504e470d0a1a0a ]] || fail "$png is not a PNG"
    [[ $(png_size "$png") == "${size}x${size}" ]] || fail "$png is $(png_size "$png"), not ${size}x${size}"
done
grep -q '<svg' "$root/usr/share/icons/hicolor/scalable/apps/$app_id.svg" || fail "the scalable icon is not an SVG"

# A release of a new version names it in the software centre and in the
# manual pages' title lines.
grep -q "<release version=\"$version\"" "$metainfo" || fail "the metainfo has no release $version"
for page in usr/share/man/man1/kalventa.1 usr/share/man/ru/man1/kalventa.1; do
    grep -q "^\.TH KALVENTA 1 [0-9-]* \"Kalventa $version\"" "$root/$page" \
        || fail "$page is not titled for Kalventa $version"
done

# The program finds Qt where the system keeps it, not through a search path
# of its own.
if grep -Eq 'R(UN)?PATH' <<<"$(LC_ALL=C readelf -d "$root/usr/bin/kalventa")"; then
    fail "the installed program carries a library search path"
fi
echo "installed files valid"
