#!/usr/bin/env bash
# Builds, once, what the Windows build of Velmora links against, for x86_64-w64-mingw32 and from
# Debian's own source packages (their patches applied): Qt (Core, Gui, Widgets, Test) and qpdf
# with libjpeg-turbo; zlib comes from Debian's libz-mingw-w64-dev. Each result is installed
# into a per-user cache and reused by later builds. A source whose checksum is not the one
# written here is refused.
#
#   tools/windows/build-deps.sh          prints the cache folder once everything is there
#
# The source packages are fetched through a private deb-src list made from the system's own
# apt sources; the system's apt configuration is left as it is.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
toolchain=$here/../../cmake/mingw-w64.cmake
cache=${VELMORA_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/velmora/mingw64}
jobs=${JOBS:-$(nproc)}

qt_version=6.4.2+dfsg-10
qpdf_version=11.3.0-1+deb12u1
jpeg_version=2.1.5-2
declare -A sha256=(
    [qt6-base_6.4.2+dfsg.orig.tar.xz]=4f14b89a9463a540fd84a6718b8519a2297119b454ef547721015a9e9019ae9e
    [qpdf_11.3.0.orig.tar.gz]=547cee67de77b5c4ef4917e57d2db9c848cfe3aa950361f68d36367a3a03936e
    [libjpeg-turbo_2.1.5.orig.tar.gz]=254f3642b04e309fee775123133c6464181addc150499561020312ec61c1bf7c
)

qt_prefix=$cache/qt-6.4.2
deps_prefix=$cache/qpdf-11.3.0
log=$cache/build.log
mkdir -p "$cache"

say() { echo "build-deps: $*" >&2; }

# apt-get with a source list, package lists and cache of our own.
private_apt() {
    local apt=$cache/apt
    mkdir -p "$apt/sources" "$apt/lists/partial" "$apt/cache/archives/partial"
    if [ ! -s "$apt/sources/debian-src.sources" ]; then
        local sources=()
        for file in /etc/apt/sources.list.d/*.sources; do
            [ -f "$file" ] && grep -q 'debian' "$file" && sources+=("$file")
        done
        if [ ${#sources[@]} -gt 0 ]; then
            sed 's/^Types: deb$/Types: deb-src/' "${sources[@]}" >"$apt/sources/debian-src.sources"
        else
            grep -h '^deb ' /etc/apt/sources.list 2>/dev/null | sed 's/^deb /deb-src /' \
                >"$apt/sources/debian-src.list"
        fi
    fi
    apt-get -o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts="$apt/sources" \
        -o Dir::State::Lists="$apt/lists" -o Dir::Cache="$apt/cache" \
        -o APT::Sandbox::User=root "$@"
}

# The source package `name`=`version`, unpacked (Debian's patches applied) into src/name.
fetch_source() {
    local name=$1 version=$2 tree=$cache/src/$1
    [ -d "$tree" ] && return
    mkdir -p "$cache/src"
    (
        cd "$cache/src"
        [ -f "$cache/apt/updated" ] || { private_apt update -qq && touch "$cache/apt/updated"; }
        private_apt source --download-only -qq "$name=$version"
        local dsc
        dsc=$(ls "${name}_${version#*:}.dsc")
        for file in "${!sha256[@]}"; do
            if [ -f "$file" ] && [[ $file == ${name}_* ]]; then
                echo "${sha256[$file]}  $file" | sha256sum --check --quiet ||
                    { say "checksum of $file differs: refused"; exit 1; }
            fi
        done
        dpkg-source -x "$dsc" "$name.tmp" >/dev/null
        mv "$name.tmp" "$name"
    )
}

install_packages() {
    "$here/install-packages.sh" g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64 \
        mingw-w64-tools libz-mingw-w64-dev ninja-build dpkg-dev cmake
}

build_qt() {
    [ -f "$qt_prefix/.complete" ] && return
    fetch_source qt6-base "$qt_version"
    say "building Qt for Windows into $qt_prefix (about 20 minutes on 2 cores)"
    local build=$cache/build/qt6-base
    rm -rf "$build" "$qt_prefix"
    # Only the modules the program uses, with Qt's own copies of the libraries they need.
    # Debian's source has no wintab: no tablet events. OpenGL off needs its input off too.
    cmake -S "$cache/src/qt6-base" -B "$build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$qt_prefix" \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
        -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_printsupport=OFF \
        -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_vulkan=OFF -DFEATURE_zstd=OFF \
        -DFEATURE_icu=OFF -DFEATURE_glib=OFF -DFEATURE_opengl=OFF -DINPUT_opengl=no \
        -DFEATURE_tabletevent=OFF -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF \
        -DFEATURE_system_jpeg=OFF -DFEATURE_system_freetype=OFF -DFEATURE_system_harfbuzz=OFF \
        -DFEATURE_system_pcre2=OFF -DFEATURE_system_doubleconversion=OFF >>"$log" 2>&1
    cmake --build "$build" --parallel "$jobs" >>"$log" 2>&1
    cmake --install "$build" >>"$log" 2>&1
    rm -rf "$build"
    touch "$qt_prefix/.complete"
}

build_qpdf() {
    [ -f "$deps_prefix/.complete" ] && return
    fetch_source libjpeg-turbo "$jpeg_version"
    fetch_source qpdf "$qpdf_version"
    say "building libjpeg-turbo and qpdf for Windows into $deps_prefix"
    rm -rf "$deps_prefix" "$cache/build/jpeg" "$cache/build/qpdf"
    cmake -S "$cache/src/libjpeg-turbo" -B "$cache/build/jpeg" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$deps_prefix" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON \
        -DWITH_TURBOJPEG=OFF -DWITH_SIMD=OFF -DCMAKE_POSITION_INDEPENDENT_CODE=ON >>"$log" 2>&1
    cmake --build "$cache/build/jpeg" --parallel "$jobs" >>"$log" 2>&1
    cmake --install "$cache/build/jpeg" >>"$log" 2>&1
    # qpdf's own crypto: neither gnutls nor openssl to ship. zlib and libjpeg are found by
    # pkg-config, which must look at the Windows libraries only. qpdf names Windows' advapi32
    # as Advapi32, which a case-sensitive file system finds only under that name.
    local names=$cache/build/library-names
    mkdir -p "$names"
    ln -sf /usr/x86_64-w64-mingw32/lib/libadvapi32.a "$names/libAdvapi32.a"
    PKG_CONFIG_LIBDIR="$deps_prefix/lib/pkgconfig:/usr/x86_64-w64-mingw32/lib/pkgconfig" \
    cmake -S "$cache/src/qpdf" -B "$cache/build/qpdf" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$deps_prefix" -DVELMORA_MINGW_PREFIXES="$deps_prefix" \
        -DBUILD_SHARED_LIBS=ON -DBUILD_STATIC_LIBS=OFF -DREQUIRE_CRYPTO_NATIVE=ON \
        -DUSE_IMPLICIT_CRYPTO=OFF -DBUILD_DOC=OFF -DINSTALL_MANUAL=OFF -DINSTALL_EXAMPLES=OFF \
        -DMAINTAINER_MODE=OFF -DCMAKE_PREFIX_PATH="$deps_prefix" \
        -DCMAKE_EXE_LINKER_FLAGS="-L$names" -DCMAKE_SHARED_LINKER_FLAGS="-L$names" >>"$log" 2>&1
    cmake --build "$cache/build/qpdf" --parallel "$jobs" --target libqpdf >>"$log" 2>&1
    # qpdf would copy the MinGW libraries that its own program needs; stage.sh copies ours.
    mkdir -p "$cache/build/qpdf/qpdf/extra-dlls"
    # The library, its import library and headers, and its CMake package; not its programs.
    for component in lib dev Unspecified; do
        cmake --install "$cache/build/qpdf" --component "$component" >>"$log" 2>&1
    done
    [ -f "$deps_prefix/lib/cmake/qpdf/qpdfConfig.cmake" ] && ls "$deps_prefix"/bin/qpdf*.dll >/dev/null
    rm -rf "$cache/build/jpeg" "$cache/build/qpdf"
    touch "$deps_prefix/.complete"
}

trap 'say "a step failed; the log: $log"' ERR
install_packages
build_qt
build_qpdf
echo "$cache"
