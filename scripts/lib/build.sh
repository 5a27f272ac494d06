# Configures and builds the two configurations of the project:
#   build/windows  MinGW-w64, the program and its tests, run under Wine
#   build/native   the portable core with sanitizers, its tests, tools and fuzzers
# Sourced by scripts/test, scripts/run and scripts/bench.

VIDKILN_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
VIDKILN_BUILD=${VIDKILN_BUILD:-$VIDKILN_ROOT/build}
VIDKILN_JOBS=${VIDKILN_JOBS:-$(nproc)}

vidkiln_configure() {
    local config=$1
    shift
    local dir="$VIDKILN_BUILD/$config"
    local args=(-G Ninja -S "$VIDKILN_ROOT" -B "$dir" "$@")
    [ "$config" = windows ] &&
        args+=(-DCMAKE_TOOLCHAIN_FILE="$VIDKILN_ROOT/cmake/mingw-w64-x86_64.cmake")
    [ "$config" = native ] && args+=(-DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++)
    cmake "${args[@]}" >/dev/null
}

vidkiln_build() {
    local config=$1
    shift
    vidkiln_configure "$config" "$@"
    cmake --build "$VIDKILN_BUILD/$config" -j "$VIDKILN_JOBS"
}
