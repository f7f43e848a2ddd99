#!/bin/sh
# Builds the Debian package from the build tree, unpacks it into a scratch root and runs the
# unpacked programs from a scratch home, then has lintian, desktop-file-validate and
# appstreamcli look at it. Exits 77 (skipped) without cpack or dpkg-deb.
# Usage: package.sh BUILD_DIR VERSION
set -eu
build=$1
version=$2

for tool in cpack dpkg-deb; do
    command -v "$tool" >/dev/null || { echo "skipped: no $tool"; exit 77; }
done

scratch=$(mktemp -d)
gui=
cleanup() {
    [ -z "$gui" ] || kill "$gui" 2>/dev/null || true
    rm -rf "$scratch"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -B "$scratch/out" >"$scratch/cpack.log" 2>&1 ||
    { cat "$scratch/cpack.log"; fail "cpack"; }
deb=$scratch/out/velmora_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || fail "no $(basename "$deb") in: $(ls "$scratch/out")"
depends=$(dpkg-deb -f "$deb" Depends)
for package in qt6-translations-l10n libqt6widgets6 libc6 libqpdf; do
    echo "$depends" | grep -q "$package" || fail "Depends lacks $package: $depends"
done

root=$scratch/root
dpkg-deb -x "$deb" "$root"
share=$root/usr/share
zcat "$share/doc/velmora/changelog.gz" | head -n 1 | grep -qF "velmora ($version)" ||
    fail "the changelog's last entry is not $version"
grep -qF "<release version=\"$version\"" "$share"/metainfo/*.metainfo.xml ||
    fail "the metadata's releases lack $version"
for file in bin/velmora bin/velmora-cli lib/velmora/libvelmora_pdffill.so \
    share/velmora/ref/FileCodComuni.txt \
    share/velmora/ref/FileCodStati.txt share/velmora/ref/modello.pdf \
    share/velmora/docs/ORV-Velmora-Manuale_Utente.doc share/doc/velmora/copyright \
    share/man/man1/velmora-cli.1.gz share/icons/hicolor/scalable/apps/velmora.svg \
    share/icons/hicolor/48x48/apps/velmora.png; do
    [ -f "$root/usr/$file" ] || fail "the package lacks /usr/$file"
done

# The command line, from a folder without ref/ and a home without a Velmora folder: the
# tables come from the unpacked share folder, config.ini from --workdir.
export HOME="$scratch/home"
unset XDG_DATA_HOME
mkdir -p "$HOME" "$scratch/here" "$scratch/office"
cd "$scratch/here"
cli=$root/usr/bin/velmora-cli
[ "$("$cli" --version)" = "velmora-cli $version" ] || fail "--version: $("$cli" --version)"
[ "$("$cli" taxcode RSSMRA80A01H501U H501)" = Corretto ] || fail "taxcode"
printf 'rossi,mario,H501,,05/01/1970,Z000,,M,RSSMRA70A05H501W\r\n' >soggetti.csv
printf 'rossi,mario,F205,,05/01/1970,Z000,,M,RSSMRA70A05H501W\r\n' >sbagliato.csv
"$cli" check soggetti.csv || fail "check of a correct subject"
status=0
"$cli" check sbagliato.csv >reasons.txt || status=$?
[ "$status" = 1 ] && grep -q '^1: ' reasons.txt || fail "check of a wrong subject: $status"
printf 'UFFICIO\r\nROMA\r\nLAVORO\r\n 1\r\n\r\n\r\n\r\n' >"$scratch/office/config.ini"
mkdir lotti
batch=$("$cli" --workdir "$scratch/office" batch soggetti.csv --type 0 --purpose LAVORO \
    --protocol 123 --date 15/03/2010 --dest lotti) || fail "batch"
[ -d "$batch" ] && [ "$(ls "$batch" | wc -l)" -ge 2 ] || fail "batch folder $batch"
case $batch in "$scratch/here/lotti/"*) ;; *) fail "batch folder outside --dest: $batch" ;; esac
# qpdf comes with the form filler, loaded only to fill a form: no program links it.
for program in velmora velmora-cli; do
    ! readelf -d "$root/usr/bin/$program" | grep -q 'NEEDED.*qpdf' || fail "$program links qpdf"
done
"$cli" --workdir "$scratch/office" pdf --type 0 --purpose LAVORO --protocol 123 \
    --date 15/03/2010 --subjects 1 --dest lotti >form.txt || fail "pdf"
grep -q '\.pdf$' form.txt && [ -s "$(grep '\.pdf$' form.txt)" ] || fail "no filled form"

# The windows, from the same folder in a new home: the first start makes the user's
# working folder and waits in the office-data window.
export HOME="$scratch/gui-home"
mkdir -p "$HOME"
QT_QPA_PLATFORM=offscreen "$root/usr/bin/velmora" >"$scratch/gui.log" 2>&1 &
gui=$!
tries=0
until [ -d "$HOME/.local/share/velmora" ]; do
    tries=$((tries + 1))
    [ "$tries" -le 100 ] && kill -0 "$gui" 2>/dev/null ||
        { cat "$scratch/gui.log"; fail "no working folder in the new home"; }
    sleep 0.1
done
sleep 1
kill -0 "$gui" 2>/dev/null || { cat "$scratch/gui.log"; fail "velmora ended on its first start"; }
[ ! -e "$HOME/.local/share/velmora/config.ini" ] || fail "config.ini written before the operator"

checked=
if command -v lintian >/dev/null; then
    lintian --fail-on error "$deb" || fail "lintian"
    checked="$checked lintian"
fi
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$share"/applications/*.desktop || fail "desktop-file-validate"
    checked="$checked desktop-file-validate"
fi
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$share"/metainfo/*.metainfo.xml || fail "appstreamcli"
    checked="$checked appstreamcli"
fi
echo "package checked with:${checked:- no validator}"
