#!/usr/bin/env bash
# `cmake --install` into a scratch prefix: the files the desktop needs are where it looks, the
# program answers its command line without a display, and the launcher makes the settings
# table on a first start. Usage: install_test.sh BUILD_DIR
set -euo pipefail
build=$1
. "$(dirname "$0")/layout.sh"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
prefix=$scratch/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
check_layout "$prefix"

# The command line, answered without a display.
no_display=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM)
"${no_display[@]}" "$prefix/bin/kadrix" --help | grep -q '^Usage: kadrix ' || fail "--help does not show the usage"
version=$("${no_display[@]}" "$prefix/bin/kadrix" --version)
[[ $version =~ ^Kadrix\ [0-9]+\.[0-9]+ ]] || fail "--version printed '$version'"
grep -q "<release version=\"${version#Kadrix }\"" "$prefix/share/metainfo/$app_id.metainfo.xml" \
    || fail "the AppStream metadata does not list release ${version#Kadrix }"

status=0
message=$("${no_display[@]}" "$prefix/bin/kadrix" --bogus 2>&1) || status=$?
[ "$status" -eq 2 ] || fail "an unknown option ended with status $status"
[[ $message == *"unknown option '--bogus'"* ]] || fail "an unknown option printed '$message'"
status=0
message=$("${no_display[@]}" "$prefix/bin/kadrix" "$scratch/nowhere.mb" 2>&1) || status=$?
[ "$status" -eq 2 ] || fail "a missing album ended with status $status"
[[ $message == *"there is no album"* ]] || fail "a missing album printed '$message'"

# The launcher: a first start makes the settings table (and no sample album), later starts
# leave it alone.
export HOME=$scratch/home XDG_CONFIG_HOME=$scratch/config XDG_DATA_HOME=$scratch/data
mkdir -p "$HOME"
"${no_display[@]}" "$prefix/bin/kadrix-launch" --version | grep -qx "$version" \
    || fail "the launcher did not start the program with its arguments"
settings=$XDG_CONFIG_HOME/kadrix/reg.db
[ -f "$settings" ] || fail "the launcher did not make $settings"
[ ! -e "$XDG_DATA_HOME/kadrix" ] || fail "the launcher made a sample album"
touch -d '2001-01-01' "$settings"
before=$(stat -c '%Y %s' "$settings")
"${no_display[@]}" "$prefix/bin/kadrix-launch" --version >/dev/null
[ "$(stat -c '%Y %s' "$settings")" = "$before" ] || fail "a later start changed the settings table"
echo "install layout, command line and launcher: ok"
