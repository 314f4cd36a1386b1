# Configures and builds the two build folders; sourced by test.sh and run.sh.
build_native() {
    echo "== native build"
    [ -f build/native/CMakeCache.txt ] ||
        cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=Debug \
            -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
    cmake --build build/native
}

build_windows() {
    echo "== Windows build"
    [ -f build/win/CMakeCache.txt ] ||
        cmake -S . -B build/win -G Ninja -DCMAKE_BUILD_TYPE=Release \
            -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake >/dev/null
    cmake --build build/win
}
