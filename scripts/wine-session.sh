#!/usr/bin/env bash
# Runs a command inside a private, self-cleaning Wine session:
#   scripts/wine-session.sh BUILD_DIR [--keep-display] -- COMMAND [ARG...]
# Xvfb on a display of its own, a copy of the Wine prefix that is built once
# per build folder, a persistent wineserver, Wine's background programs
# started before the command. Everything is stopped and removed on exit,
# also on Ctrl-C or a kill.
#   Inside, DISPLAY, WINEPREFIX and PELLIX_SESSION_DIR are set; a screenshot
#   is `/usr/bin/import -window root shot.png`.
set -euo pipefail

usage() { echo "usage: $0 BUILD_DIR -- COMMAND [ARG...]" >&2; exit 2; }
[ $# -ge 3 ] || usage
build=$(cd "$1" && pwd)
shift
[ "$1" = "--" ] || usage
shift

export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:+$WINEDLLOVERRIDES;}mscoree,mshtml=;winemenubuilder.exe=d"
wine=/usr/lib/wine/wine64
template="$build/wine-prefix"

# Settings every session needs, written into the template once.
prepare_template() {
    [ -f "$template/.pellix-ready" ] && return 0
    echo "== wine-session: building the Wine prefix (once per build folder)" >&2
    rm -rf "$template" "$template.tmp"
    (
        export WINEPREFIX="$template.tmp"
        mkdir -p "$WINEPREFIX"
        # Wine looks for programs in the current folder first.
        cd "$WINEPREFIX"
        # Kept alive between the steps, gone 3 s after the last one, so that
        # "wineserver -w" returns once the registry is saved.
        wineserver -p3
        "$wine" wineboot --init >"$build/wine-prefix.log" 2>&1
        # Without a window manager: no 2 s wait on every DestroyWindow, and
        # Wine draws the non-client areas itself.
        "$wine" 'C:\windows\system32\reg.exe' add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >>"$build/wine-prefix.log" 2>&1
        "$wine" 'C:\windows\system32\reg.exe' add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >>"$build/wine-prefix.log" 2>&1
        timeout 60 wineserver -w
    ) || { echo "wine-session: could not build the Wine prefix (see $build/wine-prefix.log)" >&2; exit 1; }
    touch "$template.tmp/.pellix-ready"
    mv "$template.tmp" "$template"
}

run_dir=""
xvfb_pid=""
child=""
cleanup() {
    local rc=$?
    trap - EXIT INT TERM HUP
    if [ -n "$child" ]; then kill -- "-$child" 2>/dev/null || kill "$child" 2>/dev/null || true; fi
    if [ -n "$run_dir" ] && [ -d "$run_dir/prefix" ]; then
        WINEPREFIX="$run_dir/prefix" wineserver -k 2>/dev/null || true
        WINEPREFIX="$run_dir/prefix" timeout 20 wineserver -w 2>/dev/null || true
    fi
    if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null || true; fi
    [ -n "$run_dir" ] && rm -rf "$run_dir"
    exit "$rc"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP

# The template is built without a display; serialise builders of one folder.
exec 9>"$build/wine-prefix.lock"
flock 9
prepare_template
flock -u 9

run_dir=$(mktemp -d "$build/wine-run.XXXXXX")
cp -a "$template" "$run_dir/prefix"
export WINEPREFIX="$run_dir/prefix"
export PELLIX_SESSION_DIR="$run_dir"

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$run_dir/display" 2>"$run_dir/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 1 100); do
    [ -s "$run_dir/display" ] && break
    kill -0 "$xvfb_pid" 2>/dev/null || { echo "wine-session: Xvfb did not start (see $run_dir/xvfb.log)" >&2; cat "$run_dir/xvfb.log" >&2; exit 1; }
    sleep 0.05
done
[ -s "$run_dir/display" ] || { echo "wine-session: Xvfb gave no display number" >&2; exit 1; }
export DISPLAY=":$(head -n 1 "$run_dir/display")"

wineserver -p
# Background programs (services, explorer) must not inherit the command's
# output pipes: start them now, talking to a log, from a folder that holds no
# programs of its own.
(
    cd "$run_dir"
    "$wine" wineboot >"$run_dir/wine-background.log" 2>&1 </dev/null
    "$wine" 'C:\windows\system32\rundll32.exe' >>"$run_dir/wine-background.log" 2>&1 </dev/null || true
)

set +e
setsid "$@" &
child=$!
wait "$child"
rc=$?
child=""
set -e
exit "$rc"
