#!/usr/bin/env bash
# Prepares a Debian 12 machine for building and testing pellix: Debian packages,
# the deb-src entry, and libjpeg-turbo, libpng and giflib built as static mingw
# libraries from Debian's source packages into .cache/thirdparty.
# Idempotent: what is already there is kept.
set -euo pipefail

top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cache="$top/.cache"
prefix="$cache/thirdparty"
src="$cache/src"

step() { printf '== setup: %s\n' "$*"; }
fail() { printf 'setup failed: %s\n' "$*" >&2; exit 1; }

packages=(cmake ninja-build nasm dpkg-dev make g++ clang libclang-rt-14-dev libbenchmark-dev libjpeg-dev
          g++-mingw-w64-x86-64-posix libz-mingw-w64-dev googletest
          wine wine64 xvfb imagemagick fonts-wine)

missing_packages() {
    local p
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed' || echo "$p"
    done
}

ensure_packages() {
    local missing
    missing=$(missing_packages)
    [ -z "$missing" ] && return 0
    [ "$(id -u)" = 0 ] || fail "packages missing ($(echo $missing)); run as root to install them"
    step "installing Debian packages: $(echo $missing)"
    apt-get update -qq || fail "apt-get update could not read the package lists"
    # shellcheck disable=SC2086
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing >"$cache/apt.log" 2>&1 \
        || fail "apt-get install failed for: $(echo $missing) (see $cache/apt.log)"
}

ensure_deb_src() {
    local list=/etc/apt/sources.list.d/pellix-deb-src.sources
    if [ -f "$list" ] || grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ || grep -qs '^deb-src' /etc/apt/sources.list; then
        return 0
    fi
    [ -f /etc/apt/sources.list.d/debian.sources ] || fail "no /etc/apt/sources.list.d/debian.sources to copy a deb-src entry from"
    step "adding the deb-src entry"
    sed 's/^Types:.*/Types: deb-src/' /etc/apt/sources.list.d/debian.sources >"$list"
    apt-get update -qq || fail "apt-get update failed after adding $list"
}

# Downloads a source package, trying each listed version newest first: the
# newest security upload is sometimes not on the mirror yet.
fetch_source() {
    local name=$1 dest=$2 versions v dsc
    [ -d "$dest" ] && return 0
    versions=$(apt-cache showsrc "$name" 2>/dev/null | awk '/^Version:/ {print $2}' | sort -rV | uniq)
    [ -n "$versions" ] || fail "no source package '$name' is listed (is the deb-src entry active?)"
    mkdir -p "$src/dl-$name"
    for v in $versions; do
        if (cd "$src/dl-$name" && apt-get source -qq --download-only "$name=$v" >/dev/null 2>&1); then
            dsc=$(ls "$src/dl-$name"/*.dsc | head -n 1)
            dpkg-source --no-check -x "$dsc" "$dest" >/dev/null || fail "dpkg-source could not unpack $dsc"
            step "$name $v unpacked"
            return 0
        fi
        echo "   $name $v did not download, trying the next version" >&2
        rm -f "$src/dl-$name"/*
    done
    fail "no version of source package '$name' could be downloaded ($(echo $versions))"
}

build_jpeg() {
    [ -f "$prefix/lib/libjpeg.a" ] && return 0
    fetch_source libjpeg-turbo "$src/libjpeg-turbo"
    step "building libjpeg-turbo"
    cmake -S "$src/libjpeg-turbo" -B "$src/libjpeg-turbo-build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$prefix" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON \
        -DWITH_SIMD=ON -DREQUIRE_SIMD=ON -DWITH_TURBOJPEG=OFF >"$src/jpeg.log" 2>&1 \
        || fail "libjpeg-turbo configure failed (see $src/jpeg.log)"
    cmake --build "$src/libjpeg-turbo-build" --target install >>"$src/jpeg.log" 2>&1 \
        || fail "libjpeg-turbo build failed (see $src/jpeg.log)"
}

build_png() {
    [ -f "$prefix/lib/libpng.a" ] && return 0
    fetch_source libpng1.6 "$src/libpng"
    step "building libpng"
    cmake -S "$src/libpng" -B "$src/libpng-build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$prefix" -DPNG_SHARED=OFF -DPNG_STATIC=ON \
        -DPNG_EXECUTABLES=OFF -DPNG_TESTS=OFF \
        -DZLIB_LIBRARY=/usr/x86_64-w64-mingw32/lib/libz.a \
        -DZLIB_INCLUDE_DIR=/usr/x86_64-w64-mingw32/include >"$src/png.log" 2>&1 \
        || fail "libpng configure failed (see $src/png.log)"
    cmake --build "$src/libpng-build" --target install >>"$src/png.log" 2>&1 \
        || fail "libpng build failed (see $src/png.log)"
}

build_gif() {
    [ -f "$prefix/lib/libgif.a" ] && return 0
    fetch_source giflib "$src/giflib"
    step "building giflib"
    local obj="$src/giflib-build" u
    mkdir -p "$obj" "$prefix/lib" "$prefix/include"
    for u in dgif_lib egif_lib gifalloc gif_err gif_font gif_hash openbsd-reallocarray quantize; do
        x86_64-w64-mingw32-gcc-posix -std=gnu99 -O2 -c "$src/giflib/$u.c" -o "$obj/$u.o" \
            || fail "giflib: $u.c did not compile"
    done
    rm -f "$obj/libgif.a"
    x86_64-w64-mingw32-ar rcs "$obj/libgif.a" "$obj"/*.o || fail "giflib: archiving failed"
    cp "$src/giflib/gif_lib.h" "$prefix/include/"
    cp "$obj/libgif.a" "$prefix/lib/"
}

mkdir -p "$cache" "$src"
ensure_packages
ensure_deb_src
build_jpeg
build_png
build_gif
step "ready ($prefix)"
