#!/bin/bash
# Runs a Windows program under Wine in a private prefix: wine-run.sh PREFIX PROGRAM [ARGS...]
# CTest uses it as the cross-compiling emulator. The prefix is created once, under a lock,
# because several first starts at the same time race. Output loses Wine's carriage returns.
#
# A prefix made for tests keeps its windows out of any window manager's hands: on a display
# without one, Wine would otherwise wait two seconds for each top-level window that goes to be
# withdrawn. A program that crashes ends at once instead of waiting in Wine's debugger, so that
# the tests after it run. RELINGO_WINE_MANAGED=1 makes a prefix for a person to use instead.
set -u
prefix=$(realpath -m "$1")
shift

export WINEPREFIX=$prefix
export WINEDEBUG=${WINEDEBUG:--all}
# No .NET or Gecko installers.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
# Wine takes the user locale from the Unix one; tests that want Japanese set RELINGO_WINE_LANG.
export LANG=${RELINGO_WINE_LANG:-C.UTF-8}
unset LC_ALL LC_MESSAGES LANGUAGE

# Debian's wine starts every program through the 32-bit loader, which hands 64-bit programs on
# to the 64-bit one. Some machines run no 32-bit Linux code at all (their kernel's IA-32
# emulation is off): there the 64-bit loader starts the 64-bit programs itself, and the tests
# learn from RELINGO_WINE_NO_32BIT that no 32-bit program can start.
wine=wine
if [ -x /usr/lib/wine/wine64 ] && ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
    wine=/usr/lib/wine/wine64
    export RELINGO_WINE_NO_32BIT=1
fi

# A prefix made before the 32-bit Wine was installed has no 32-bit half, and 64-bit programs
# stop starting in it once that Wine is there: such a prefix is made again, as is one made by
# another Wine or loader.
wine_version="$($wine --version 2>/dev/null) ${wine##*/}"
ready() {
    [ -f "$1/.relingo-prefix" ] && [ "$(cat "$1/.relingo-prefix")" = "$wine_version" ] &&
        { [ ! -x /usr/lib/wine/wineserver32 ] || [ -d "$1/drive_c/windows/syswow64" ]; }
}

# Makes a prefix from nothing: Wine's own start of a new prefix, then the settings.
boot() {
    local target=$1
    rm -rf "$target"
    WINEPREFIX=$target $wine wineboot --init >/dev/null 2>&1 || return 1
    if [ -z "${RELINGO_WINE_MANAGED:-}" ]; then
        WINEPREFIX=$target $wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f \
            >/dev/null 2>&1 || return 1
    fi
    # Without a debugger value Wine starts its own; one it cannot start ends the program.
    local view
    for view in 64 32; do
        WINEPREFIX=$target $wine reg add \
            'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /d none /f \
            /reg:$view >/dev/null 2>&1 || return 1
    done
    WINEPREFIX=$target wineserver -w
    echo "$wine_version" >"$target/.relingo-prefix"
}

# A new prefix takes Wine a good ten seconds: the tests' prefixes are copies of one made once
# beside the build trees, which takes a second.
template=$(realpath -m "$(dirname "$0")/../build/wineprefix-template")
if ! ready "$prefix"; then
    mkdir -p "$(dirname "$prefix")"
    (
        flock 9
        ready "$prefix" && exit 0
        [ -d "$prefix" ] && wineserver -k >/dev/null 2>&1
        if [ -n "${RELINGO_WINE_MANAGED:-}" ]; then
            boot "$prefix" || exit 1
        else
            (
                flock 8
                ready "$template" || boot "$template"
            ) 8>"$template.lock" || exit 1
            rm -rf "$prefix"
            cp -a "$template" "$prefix" || exit 1
        fi
        # A prefix at another DPI (RELINGO_WINE_DPI): the screen's LogPixels, read when the
        # prefix's wineserver starts again.
        if [ -n "${RELINGO_WINE_DPI:-}" ]; then
            rm -f "$prefix/.relingo-prefix"
            $wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD \
                /d "$RELINGO_WINE_DPI" /f >/dev/null 2>&1 || exit 1
            wineserver -w
            echo "$wine_version" >"$prefix/.relingo-prefix"
        fi
    ) 9>"$prefix.lock" || { echo "wine-run.sh: could not create $prefix" >&2; exit 1; }
fi

# Wine's own Tahoma and MS Sans Serif (Debian fonts-wine) are not found where the packaged Wine
# looks; in the prefix's font folder the dialog fonts are the usual ones.
if [ -d /usr/share/wine/fonts ] && [ ! -f "$prefix/drive_c/windows/Fonts/tahoma.ttf" ]; then
    cp -n /usr/share/wine/fonts/*.ttf "$prefix/drive_c/windows/Fonts/" 2>/dev/null
fi

# Now and then Wine fails to start the program at all: "Application could not be started" while
# another program of the prefix is starting, or "wine client error:0:" when the new process
# loses its wineserver before its first thread is known. That is Wine's failure, not the
# program's, which has not run; the start is tried once more, after a moment. Wine's messages
# come after the program's output.
errors=$(mktemp)
trap 'rm -f "$errors"' EXIT
for attempt in 1 2; do
    $wine "$@" 2>"$errors" | tr -d '\r'
    status=${PIPESTATUS[0]}
    if [ "$status" -ne 0 ] && [ "$attempt" -eq 1 ] &&
        grep -q -e "Application could not be started" -e "^wine client error:0:" "$errors"; then
        sleep 1
        continue
    fi
    tr -d '\r' <"$errors" >&2
    exit "$status"
done
