#!/usr/bin/env bash
# Installs the build into a temporary root (DESTDIR) and checks what the desktop and the package
# rely on: every file where the desktop entry and the AppStream metadata say, the validators'
# verdict on both, a manual page for every program that renders without warnings, and that the
# installed command-line programs run.
#
#   check-install.sh <build folder> <project version> <application id>
set -euo pipefail
build=$1 version=$2 id=$3

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
DESTDIR=$root cmake --install "$build" --prefix /usr >/dev/null
usr=$root/usr
share=$usr/share

source "$(dirname "$0")/../common/checks.sh"
isFile() { [[ -f $1 ]] || { echo "missing: ${1#"$root"}"; return 1; }; }
isProgram() { [[ -f $1 && -x $1 ]] || { echo "missing or not executable: ${1#"$root"}"; return 1; }; }
# Width and height from a PNG's header must be the size its theme folder promises.
pngIs() {
    local size
    size=$(od -An -tu1 -j16 -N8 "$1" | awk '{ print $3 * 256 + $4 "x" $7 * 256 + $8 }')
    [[ $size == "$2" ]] || { echo "${1#"$root"} is $size, not $2"; return 1; }
}
silentMan() { # man writes its warnings to standard error; the page itself is not wanted here
    local warnings
    warnings=$(MANWIDTH=80 man --warnings -l "$1" 2>&1 >/dev/null)
    [[ -z $warnings ]] || { echo "$warnings"; return 1; }
}
startsWith() { [[ $1 == "$2"* ]] || { echo "got: $1"; return 1; }; }

desktop=$share/applications/$id.desktop
metainfo=$share/metainfo/$id.metainfo.xml
check "desktop entry installed" isFile "$desktop"
check "metadata installed" isFile "$metainfo"
check "desktop-file-validate accepts the entry" desktop-file-validate "$desktop"
check "appstreamcli accepts the metadata" appstreamcli validate --no-net "$metainfo"

exec=$(sed -n 's/^Exec=//p' "$desktop")
check "the entry's program ($exec) is installed" isProgram "$usr/bin/$exec"
icon=$(sed -n 's/^Icon=//p' "$desktop")
check "the entry's icon ($icon) as SVG" isFile "$share/icons/hicolor/scalable/apps/$icon.svg"
for size in 16 22 24 32 48 64 128 256; do
    png=$share/icons/hicolor/${size}x$size/apps/$icon.png
    check "the entry's icon as PNG of $size px" pngIs "$png" "${size}x$size"
done

launchable=$(sed -n 's:.*<launchable type="desktop-id">\(.*\)</launchable>.*:\1:p' "$metainfo")
check "the metadata's launchable is the entry" isFile "$share/applications/$launchable"
release=$(grep -m1 -o '<release version="[^"]*"' "$metainfo" | cut -d'"' -f2)
check "the metadata's newest release is the project's version $version" startsWith "$release" "$version"
check "the Debian changelog's newest entry is the project's version $version" \
    startsWith "$(gzip -dc "$share/doc/veltra-setcalibdate/changelog.gz" | head -1)" \
    "veltra-setcalibdate ($version)"
check "copyright file installed" isFile "$share/doc/veltra-setcalibdate/copyright"

# Every installed program is one the metadata names, and each has a page that renders cleanly.
mapfile -t provided < <(sed -n 's:.*<binary>\(.*\)</binary>.*:\1:p' "$metainfo")
for program in "$usr"/bin/*; do
    name=$(basename "$program")
    check "the metadata provides $name" grep -qx "$name" <<<"$(printf '%s\n' "${provided[@]}")"
done
for name in "${provided[@]}"; do
    check "$name is installed" isProgram "$usr/bin/$name"
    page=$share/man/man1/$name.1.gz
    check "manual page of $name" isFile "$page"
    [[ -f $page ]] && check "manual page of $name renders without warnings" silentMan "$page"
done

# The command-line programs run from where they are installed.
check "installed veltra-sim --help" "$usr/bin/veltra-sim" --help
check "installed veltra-calib --help" "$usr/bin/veltra-calib" --help
check "installed veltra-calib --version names $version" \
    grep -q -F "$version" <<<"$("$usr/bin/veltra-calib" --version)"

if ((failed)); then
    echo "$failed check(s) failed"
    exit 1
fi
