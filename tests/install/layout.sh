# Checks shared by the install and package tests: what an installed tree under a prefix must
# hold for the desktop to offer Kadrix. Sourced; `check_layout PREFIX` fails the script.

fail() {
    echo "FAILED: $*" >&2
    exit 1
}

app_id=io.github.kadrix.Kadrix

check_layout() {
    prefix=$1
    for program in kadrix kadrix-setup ptable kadrix-launch; do
        [ -x "$prefix/bin/$program" ] || fail "$prefix/bin/$program is not installed"
    done

    desktop=$prefix/share/applications/$app_id.desktop
    [ -f "$desktop" ] || fail "no desktop entry at $desktop"
    desktop-file-validate "$desktop" || fail "desktop-file-validate rejects $desktop"
    grep -qx 'Categories=Graphics;Photography;' "$desktop" || fail "the desktop entry is not in Graphics/Photography"
    exec_program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
    [ -x "$prefix/bin/$exec_program" ] || fail "the desktop entry starts '$exec_program', which is not installed"
    icon=$(sed -n 's/^Icon=//p' "$desktop")
    [ -f "$prefix/share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "no scalable icon named $icon"
    for size in 16 32 48 64 128 256; do
        png=$prefix/share/icons/hicolor/${size}x${size}/apps/$icon.png
        [ -f "$png" ] || fail "no ${size}x${size} icon"
        [ "$(identify -format '%wx%h' "$png")" = "${size}x${size}" ] || fail "$png is not ${size}x${size}"
    done

    metainfo=$prefix/share/metainfo/$app_id.metainfo.xml
    [ -f "$metainfo" ] || fail "no AppStream metadata at $metainfo"
    appstreamcli validate --no-net "$metainfo" || fail "appstreamcli rejects $metainfo"
    grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" \
        || fail "the AppStream metadata does not launch the installed desktop entry"
    grep -q '<screenshot' "$metainfo" || fail "the AppStream metadata has no screenshot"
}
