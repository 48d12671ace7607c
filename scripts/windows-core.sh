#!/usr/bin/env bash
# Cross-builds the Qt-free core for 64-bit Windows with MinGW-w64 and runs its
# tests under Wine: the platform floor, model, io, query, regions, rules,
# voyage and world-map layers (the sector metadata XML needs pugixml, which
# Debian has not built for Windows),
# the world-map DLL, hexlane-tool and the core test programs. Qt for Windows is
# not available here, so the editor is not built.
#
#   scripts/windows-core.sh [BUILD_FOLDER]     (default build-win)
#
# Installs what it needs with apt-get. GoogleTest is built for Windows from
# Debian's sources (/usr/src/googletest); the header-only libraries are copied
# into a folder of their own so the cross build never reads the host's
# /usr/include. Wine runs with a private prefix under the build folder and no
# display.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=${1:-build-win}
mkdir -p "$build"
build=$(cd "$build" && pwd)

packages=(cmake ninja-build g++-mingw-w64-x86-64-posix wine64 libgtest-dev libcli11-dev nlohmann-json3-dev)
bash "$root/scripts/setup.sh" "${packages[@]}"

wine=$(command -v wine64 || true)
[ -n "$wine" ] || wine=/usr/lib/wine/wine64
[ -x "$wine" ] || { echo "no wine64 program found" >&2; exit 1; }
export WINEPREFIX="$build/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" DISPLAY=
unset WAYLAND_DISPLAY
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  "$wine" wineboot --init >/dev/null 2>&1 || true
fi
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)

launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
toolchain="$root/cmake/mingw-w64-x86_64.cmake"
deps="$build/deps"

# GoogleTest for Windows, from Debian's sources.
if [ ! -f "$deps/lib/cmake/GTest/GTestConfig.cmake" ]; then
  cmake -S /usr/src/googletest -B "$build/googletest" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_INSTALL_PREFIX="$deps" -DBUILD_GMOCK=OFF "${launcher[@]}" >/dev/null
  cmake --build "$build/googletest" -j"$(nproc)"
  cmake --install "$build/googletest" >/dev/null
fi

# The header-only libraries, in a folder of their own.
mkdir -p "$deps/include" "$deps/share/cmake"
cp -r /usr/include/CLI /usr/include/nlohmann "$deps/include/"
cp -r /usr/share/cmake/nlohmann_json "$deps/share/cmake/"

start=$(date +%s)
cmake -S . -B "$build/core" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DHEXLANE_WINDOWS_DEPS="$deps" -DWINE="$wine" -DHEXLANE_WITH_QT=OFF -DHEXLANE_BENCH=OFF -DHEXLANE_TESTS=ON \
  "${launcher[@]}" >/dev/null
cmake --build "$build/core" -j"$(nproc)"
status=0
ctest --test-dir "$build/core" -L core --output-on-failure --no-tests=error -j"$(nproc)" || status=$?
"$wineserver" -k 2>/dev/null || true
echo "Windows core: built and tested in $(( $(date +%s) - start )) s"
exit $status
