#!/usr/bin/env bash
# `cpack -G DEB` from the build tree: the package depends on the libraries the programs link
# (found by dpkg-shlibdeps) and on what they load by name, and unpacked into a scratch root
# its files are where its desktop entry says. Usage: package_test.sh BUILD_DIR
set -euo pipefail
build=$1
. "$(dirname "$0")/layout.sh"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cpack -G DEB -B "$scratch/out" --config "$build/CPackConfig.cmake" >/dev/null
packages=("$scratch"/out/kadrix_*.deb)
[ -f "${packages[0]}" ] || fail "cpack made no package"
package=${packages[0]}

depends=$(dpkg-deb -f "$package" Depends)
for needed in libc6 libqt6widgets6 libqt6gui6 libjpeg62-turbo libmagick++-6.q16 libsane1 qt6-qpa-plugins ghostscript; do
    [[ $depends == *"$needed"* ]] || fail "the package does not depend on $needed: $depends"
done
[ "$(dpkg-deb -f "$package" Section)" = graphics ] || fail "the package is not in section graphics"

dpkg -x "$package" "$scratch/root"
check_layout "$scratch/root/usr"
echo "package $(basename "$package"): ok"
