#!/usr/bin/env bash
# Runs one Windows test program under wine64, as CTest's emulator: with the Qt, qpdf and MinGW
# libraries on its path, its QtTest log written to a file and printed (Wine's console does not
# carry it), under a time limit (a fatal error can wait on a dialog), with its exit status.
set -u

exe=$1
shift
cache=${VELMORA_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/velmora/mingw64}
export WINEPREFIX=${VELMORA_WINEPREFIX:-$cache/wine-tests}
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
runtime=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")
# Wine's drive Z: is the root folder. The path is worked out here rather than asked of winepath,
# which can fail while another test starts the Wine server and then gives nothing.
windowsPath() {
    local path
    path=$(realpath -m "$1")
    printf 'Z:%s' "${path//\//\\}"
}
paths=()
for dir in "$cache/qt-6.4.2/bin" "$cache/qpdf-11.3.0/bin" "$runtime" /usr/x86_64-w64-mingw32/lib; do
    paths+=("$(windowsPath "$dir")")
done
export WINEPATH=$(IFS=';'; echo "${paths[*]}")

log=$(mktemp --suffix=.txt)
trap 'rm -f "$log"' EXIT
arguments=("$@")
case $(basename "$exe") in
tst_*) arguments+=(-o "$(windowsPath "$log"),txt") ;;
esac
timeout --kill-after=10 "${VELMORA_WINE_TIMEOUT:-600}" wine "$exe" "${arguments[@]}"
status=$?
[ -s "$log" ] && tr -d '\r' <"$log"
exit $status
