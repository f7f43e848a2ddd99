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
paths=()
for dir in "$cache/qt-6.4.2/bin" "$cache/qpdf-11.3.0/bin" "$runtime" /usr/x86_64-w64-mingw32/lib; do
    paths+=("$(winepath -w "$dir" 2>/dev/null)")
done
export WINEPATH=$(IFS=';'; echo "${paths[*]}")

log=$(mktemp --suffix=.txt)
trap 'rm -f "$log"' EXIT
arguments=("$@")
case $(basename "$exe") in
tst_*) arguments+=(-o "$(winepath -w "$log"),txt") ;;
esac
timeout --kill-after=10 "${VELMORA_WINE_TIMEOUT:-600}" wine "$exe" "${arguments[@]}"
status=$?
[ -s "$log" ] && tr -d '\r' <"$log"
exit $status
