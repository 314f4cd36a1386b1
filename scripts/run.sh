#!/usr/bin/env bash
# Sets everything up and runs pellix.exe on the user's display, with a Wine
# prefix of its own that keeps the program's settings between runs, in a demo
# folder whose "images" folder holds sample pictures made on the first run.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$top"

if [ -z "${DISPLAY:-}" ]; then
    echo "run: no DISPLAY is set; start pellix from a desktop session (or use scripts/wine-session.sh for a private one)" >&2
    exit 1
fi

bash scripts/setup.sh
source scripts/build.sh
build_windows

export WINEPREFIX="$top/.cache/wine-user"
export WINEARCH=win64 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
if [ ! -f "$WINEPREFIX/.pellix-ready" ]; then
    echo "== run: building the Wine prefix (once)"
    /usr/lib/wine/wine64 wineboot --init >/dev/null 2>&1
    /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.pellix-ready"
fi
demo="$top/.cache/demo"
if [ ! -d "$demo/images" ]; then
    echo "== run: making the sample pictures (once)"
    mkdir -p "$demo"
    bash scripts/make-samples.sh "$demo/images"
fi
# A first start picks the "images" folder below the current one; later starts
# go back to the folders the user left.
cd "$demo"
exec /usr/lib/wine/wine64 "$top/build/win/pellix.exe"
