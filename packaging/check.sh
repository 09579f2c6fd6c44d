#!/usr/bin/env bash
# Builds the .deb and checks it: the desktop entry, the AppStream data and the
# manual page validate, lintian reports no errors, and the unpacked package runs
# headless from a player's folder without writing anywhere else.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh desktop-file-utils appstream mandoc lintian
# The build log goes to standard error as it is; reopening /dev/stderr would truncate a log file.
deb=$(./scripts/package.sh | tee >(cat >&2) | tail -n 1)
version=$(dpkg-deb -f "$deb" Version)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root=$work/root
dpkg-deb -x "$deb" "$root"
share=$root/usr/share
launcher=$root/usr/games/fribb3
metainfo=$share/metainfo/fribb3.metainfo.xml
manpage=$share/man/man6/fribb3.6.gz

fail() {
    echo "package check: $*" >&2
    exit 1
}

desktop-file-validate "$share/applications/fribb3.desktop"
# Warnings are allowed: the component id is the plain package name, not a reversed domain.
validation=$(appstreamcli validate --no-net "$metainfo") || [ $? -eq 3 ] || fail "$validation"
echo "$validation" | grep -E '^[EWI]:' >&2 || true
echo "$validation" | grep -q '^E:' && fail "AppStream data has errors"
mandoc -T lint -W warning "$manpage"
lintian --fail-on error "$deb"
grep -q "<release version=\"$version\"" "$metainfo" || fail "no AppStream release $version"
zcat "$share/doc/fribb3/changelog.gz" | head -n 1 | grep -qF "($version)" || fail "changelog does not start at $version"

# Runs the installed launcher from an empty folder with an empty home and
# nothing else from this environment.
home=$work/home
xdg=$work/xdg
cwd=$work/cwd
mkdir -p "$home" "$xdg" "$cwd"
launch() {
    (cd "$cwd" && env -i PATH=/usr/bin:/bin HOME="$home" SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy "$@")
}
listing() {
    (cd "$1" && find . -printf '%p %y %s %m %T@ %l\n' | sort)
}
root_before=$(listing "$root")
archives=$(readlink -f "$share/games/fribb3/data")

# The help text, through a player's folder under XDG_DATA_HOME that holds a
# data link left by an install elsewhere, is the one the manual page lists.
mkdir "$xdg/fribb3"
ln -s /nonexistent/data "$xdg/fribb3/data"
help=$(launch XDG_DATA_HOME="$xdg" "$launcher" -h)
[ "$(readlink "$xdg/fribb3/data")" = "$archives" ] || fail "stale data link not replaced"
diff <(zcat "$manpage" | sed -n '/^\.EX$/,/^\.EE$/p' | sed '1d;$d;s/\\-/-/g') <(echo "$help") ||
    fail "the manual page does not list the help text the game prints"

# A short headless run with a relative XDG_DATA_HOME, which does not count: the
# folder is made under HOME, private, and the game is still running after
# start-up, having found its archives through the link.
status=0
output=$(launch XDG_DATA_HOME=relative timeout -k 5 3 "$launcher" -w) || status=$?
[ "$status" -eq 124 ] || fail "the game ended with status $status: $output"
folder=$home/.local/share/fribb3
[ -d "$folder" ] && [ "$(stat -c %a "$folder")" = 700 ] || fail "no private folder $folder"
[ "$(readlink "$folder/data")" = "$archives" ] || fail "no data link in $folder"

# Nothing was written outside the two players' folders.
[ "$(listing "$root")" = "$root_before" ] || fail "the installed files changed"
[ -z "$(ls -A "$cwd")" ] || fail "files written to the starting folder"
[ "$(ls -A "$home")" = .local ] && [ "$(ls -A "$home/.local")" = share ] &&
    [ "$(ls -A "$home/.local/share")" = fribb3 ] || fail "files written to HOME outside the game's folder"
[ "$(ls -A "$xdg")" = fribb3 ] || fail "files written to XDG_DATA_HOME outside the game's folder"
echo "package check: $deb passed"
