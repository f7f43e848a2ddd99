#!/usr/bin/env bash
# `make test-windows`: the Windows build tested under wine64.
#  1. every core and command-line test of the Windows build, through CTest;
#  2. the installer, run silently into a fresh Wine prefix;
#  3. the installed velmora-cli.exe against the shipped tables: taxcode, check, batch (whose
#     files must equal, byte for byte, those of the Linux build from the same input) and pdf;
#  4. the installed velmora.exe started on a virtual display, its main window photographed
#     (build-windows/velmora-windows.png);
#  5. the uninstaller, run silently: the programs go, the user's data stay.
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
build=${WIN_BUILD:-$root/build-windows}
linux_cli=${LINUX_CLI:-$root/build/bin/velmora-cli}
cache=${VELMORA_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/velmora/mingw64}

"$root/tools/windows/install-packages.sh" wine64 wine xvfb xauth imagemagick

setup=$("$root/tools/windows/build.sh" | tail -1)
say() { echo "test-windows: $*"; }

# 1. The tests, each under wine64 through tools/windows/wine-run.sh.
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
WINEPREFIX=$cache/wine-tests wineboot --init >/dev/null 2>&1 || true
ctest --test-dir "$build" --output-on-failure --timeout 900

# A display for what needs one: the installer's and the program's windows.
display=
for n in $(seq 70 99); do
    if [ ! -e "/tmp/.X$n-lock" ]; then display=:$n; break; fi
done
Xvfb "$display" -screen 0 1280x1024x24 >/dev/null 2>&1 &
xvfb=$!
work=$(mktemp -d)
# Wine's server of each prefix is stopped before its prefix goes, so that none outlives the test.
cleanup() {
    WINEPREFIX=$work/prefix wineserver -k 2>/dev/null || true
    WINEPREFIX=$cache/wine-tests wineserver -k 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
export DISPLAY=$display

# 2. The installer, silently, into a fresh prefix.
export WINEPREFIX=$work/prefix
wineboot --init >/dev/null 2>&1
timeout 300 wine "$setup" /S
program=$(winepath -u 'C:\Program Files\Velmora')
[ -x "$program/bin/velmora-cli.exe" ] || { say "the installer did not install the programs"; exit 1; }
[ -f "$program/share/velmora/ref/FileCodComuni.txt" ] || { say "no place tables installed"; exit 1; }
menu=$(winepath -u 'C:\ProgramData\Microsoft\Windows\Start Menu\Programs')
[ -f "$menu/Velmora.lnk" ] || { say "no Start-menu entry"; exit 1; }
say "installed into $program"

# 3. The installed command-line program, from a folder of the operator's own.
cli() { timeout 120 wine "$program/bin/velmora-cli.exe" "$@" | tr -d '\r'; }
answer=$(cli taxcode RSSMRA70A05H501F H501)
[ "$answer" = Corretto ] || { say "taxcode answered '$answer'"; exit 1; }
mkdir -p "$work/office" "$work/linux" "$work/windows"
printf 'ROSSI,MARIO,H501,,05/01/1970,Z000,,M,RSSMRA70A05H501F\r\nD\xc8 LUCA,JOS\xc8,,PARIGI,31/12/1999,Z110,PIERRE,F,,1234567\r\n' \
    >"$work/office/soggetti.csv"
cd "$work/office"
cli check soggetti.csv
batch=(batch soggetti.csv --type 0 --purpose LAVORO --protocol 123 --date 15/03/2010
       --office-type UFFICIO --office-seat ROMA)
windows_batch=$(cli "${batch[@]}" --dest "$(winepath -w "$work/windows")")
linux_batch=$("$linux_cli" --workdir "$root/build/work" "${batch[@]}" --dest "$work/linux")
windows_batch=$(winepath -u "$windows_batch")
# The same files in the same order; their names carry the minute each run took.
mapfile -t linux_files < <(ls "$linux_batch")
mapfile -t windows_files < <(ls "$windows_batch")
[ ${#linux_files[@]} = 2 ] && [ ${#windows_files[@]} = 2 ] || { say "a batch lacks files"; exit 1; }
for i in 0 1; do
    cmp "$linux_batch/${linux_files[$i]}" "$windows_batch/${windows_files[$i]}" ||
        { say "${windows_files[$i]} differs from the Linux build's"; exit 1; }
done
say "batch files equal to the Linux build's: $(ls "$linux_batch" | tr '\n' ' ')"
cli pdf --type 2 --purpose LAVORO --protocol 123 --date 15/03/2010 --subjects 2 \
    --office-type UFFICIO --office-seat ROMA --dest "$(winepath -w "$work/windows")"
ls "$work/windows"/Modulo_Velmora_*.pdf >/dev/null || { say "no filled form"; exit 1; }
cd "$root"

# 4. The program with its windows, photographed: an office already configured in the user's
#    working folder, so that the main window opens.
appdata=$(winepath -u "$(wine cmd /c echo %APPDATA% | tr -d '\r')")
mkdir -p "$appdata/Velmora"
printf 'UFFICIO\r\nROMA\r\nLAVORO\r\n 2\r\n' >"$appdata/Velmora/config.ini"
wine "$program/bin/velmora.exe" >/dev/null 2>&1 &
sleep 15
import -window root "$build/velmora-windows.png"
wineserver -k || true
say "the program's first window: $build/velmora-windows.png"

# 5. The uninstaller returns before it has finished: wait for the programs to go.
wine "$program/uninstall.exe" /S
for _ in $(seq 60); do
    [ -e "$program/bin" ] || break
    sleep 1
done
[ ! -e "$program/bin" ] || { say "the uninstaller left the programs"; exit 1; }
[ -f "$appdata/Velmora/config.ini" ] || { say "the uninstaller removed the user's data"; exit 1; }
say "uninstalled; the user's data stay"
