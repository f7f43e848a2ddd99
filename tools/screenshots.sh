#!/bin/sh
# Takes the manual's pictures of the windows from the real program: the main window with a
# request and its subjects, the entry window, the import window, the check that refuses a row,
# the find bar and the output window. The program runs under Xvfb with the Fusion style and
# DejaVu Sans at 96 dpi, in a scratch working folder, driven from the keyboard with xdotool; a
# changed window shows up as a changed picture.
#
#   tools/screenshots.sh [build folder] [output folder]
#       (defaults: build, docs-src/screenshots)
set -eu
# As root, the run gets a /tmp of its own, so that the file windows show the same folders on
# every machine.
if [ "$(id -u)" = 0 ] && [ -z "${VELMORA_OWN_TMP:-}" ] && command -v unshare >/dev/null; then
    exec unshare --mount --propagation private sh -c \
        'mount -t tmpfs tmpfs /tmp && VELMORA_OWN_TMP=1 exec sh "$0" "$@"' "$0" "$@"
fi
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
out=${2:-$root/docs-src/screenshots}
for tool in Xvfb openbox xdotool import; do
    command -v "$tool" >/dev/null || { echo "screenshots: $tool is missing" >&2; exit 77; }
done
mkdir -p "$out"

scratch=/tmp/velmora
[ -n "${VELMORA_OWN_TMP:-}" ] || scratch=$(mktemp -d)
mkdir -p "$scratch"
display=
cleanup() {
    [ -n "${program:-}" ] && kill "$program" 2>/dev/null || true
    [ -n "${wm:-}" ] && kill "$wm" 2>/dev/null || true
    [ -n "${server:-}" ] && kill "$server" 2>/dev/null || true
    rm -rf "$scratch"
}
trap cleanup EXIT
for n in $(seq 70 99); do
    [ -e "/tmp/.X$n-lock" ] || { display=:$n; break; }
done
[ -n "$display" ] || { echo "screenshots: no free display" >&2; exit 1; }
Xvfb "$display" -screen 0 1280x900x24 -nolisten tcp >/dev/null 2>&1 &
server=$!
export DISPLAY=$display
sleep 1
openbox >/dev/null 2>&1 &
wm=$!
sleep 1

# The working folder: the office data, the shipped tables and form, and a request in progress
# with three subjects, the third of which the check refuses (its sex).
work=$scratch/work
mkdir -p "$work/ref" "$scratch/home"
cp "$root"/data/ref/FileCodComuni.txt "$root"/data/ref/FileCodStati.txt \
    "$root"/data/ref/modello.pdf "$work/ref/"
printf 'PROCURA DELLA REPUBBLICA\r\nROMA\r\nLAVORO\r\n 0\r\n\r\n\r\n\r\n' >"$work/config.ini"
{
    printf 'VELMORA - RICHIESTA IN CORSO: per importare i soggetti con "Importa da file" '
    printf '(File CSV) togliere le prime 9 righe\r\n'
    printf 'TIPO CERTIFICATO=0\r\nFINALITA=LAVORO\r\nNUMERO PROTOCOLLO=123AB\r\n'
    printf 'DATA PROTOCOLLO=15/03/2010\r\nLINGUA TEDESCA=NO\r\n'
    printf 'ULTIMA MODIFICA=15/03/2010 09:32\r\nSALVATA=\r\nSOGGETTI=3\r\n'
    printf 'ROSSI;MARIO;H501;;05/01/1970;Z000;;M;RSSMRA70A05H501F;\r\n'
    printf 'DUPONT;MARIE;;PARIGI;31/12/1999;Z110;PIERRE;F;;1234567\r\n'
    printf 'BIANCHI;ANNA;F205;;01/02/1980;Z000;;X;BNCNNA80B41F205T;\r\n'
} >"$work/richiesta-in-corso.txt"

cd "$work"
mkdir -m 700 "$scratch/runtime"
HOME=$scratch/home XDG_DATA_HOME= XDG_RUNTIME_DIR=$scratch/runtime QT_FONT_DPI=96 \
    QT_QPA_PLATFORMTHEME= \
    "$build/bin/velmora" -style Fusion >"$scratch/velmora.log" 2>&1 &
program=$!

# The window whose title is $1, once it is shown.
window() {
    for _ in $(seq 50); do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | tail -n 1) || true
        [ -n "$id" ] && { echo "$id"; return; }
        sleep 0.2
    done
    echo "screenshots: no window \"$1\"" >&2
    exit 1
}
shot() {
    sleep 0.7
    import -window "$(window "$1")" "$out/$2.png"
    echo "written $out/$2.png"
}
keys() {
    xdotool key --delay 80 "$@"
    sleep 0.5
}

# The splash screen goes; the question about the request in progress: Sì.
main=$(window "Richiesta Certificati")
sleep 4
keys Return
xdotool windowactivate --sync "$main"
shot "Richiesta Certificati" finestra-principale
keys alt+i
shot "Inserimento" finestra-inserimento
keys Escape
keys alt+o
shot "Apri File" finestra-importazione
keys Escape
# Crea File checks the rows: the refused one is marked, its reason in the status line.
keys alt+r
window "VELMORA" >/dev/null
keys Return
shot "Richiesta Certificati" controllo-riga-rifiutata
# The find bar, with the row it found current.
keys ctrl+f
xdotool type --delay 80 dupont
shot "Richiesta Certificati" ricerca-soggetto
keys Escape
keys alt+a
shot "Directory" finestra-destinazione
keys Escape
