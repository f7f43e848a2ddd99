#!/usr/bin/env bash
# `make windows`: Velmora cross-built for 64-bit Windows and its installer,
# Velmora-<version>-setup.exe, left in the project folder. Qt and qpdf for Windows are built once
# into the per-user cache by build-deps.sh.
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
build=${WIN_BUILD:-$root/build-windows}
jobs=${JOBS:-$(nproc)}

"$root/tools/windows/install-packages.sh" nsis python3 librsvg2-bin cmake ninja-build

cache=$("$root/tools/windows/build-deps.sh")
qt=$cache/qt-6.4.2
deps=$cache/qpdf-11.3.0

cmake -S "$root" -B "$build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DVELMORA_WERROR=ON -DVELMORA_BENCHMARKS=OFF "-DVELMORA_MINGW_PREFIXES=$qt;$deps" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCMAKE_CROSSCOMPILING_EMULATOR="$root/tools/windows/wine-run.sh" >/dev/null
cmake --build "$build" --parallel "$jobs"

stage=$build/stage
rm -rf "$stage"
cmake --install "$build" --prefix "$stage" >/dev/null
"$root/tools/windows/stage.sh" "$stage" "$qt" "$deps"

version=$(sed -n 's/^project(velmora VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
setup=$root/Velmora-$version-setup.exe
makensis -V2 -DVERSION="$version" -DSTAGE="$stage" -DOUTFILE="$setup" \
    "$root/packaging/windows/velmora.nsi"
echo "$setup"
