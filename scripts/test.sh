#!/usr/bin/env bash
# Sets everything up and runs every test: the native build of the portable
# units under the sanitizers (with the fuzz targets), then the Windows build
# under Wine.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$top"
jobs=$(nproc)

bash scripts/setup.sh
source scripts/build.sh

build_native
build_windows

echo "== native tests (AddressSanitizer, UndefinedBehaviorSanitizer, fuzz targets)"
ctest --test-dir build/native --output-on-failure -j "$jobs"

echo "== Windows tests under Wine"
bash scripts/wine-session.sh build/win -- ctest --test-dir build/win --output-on-failure
