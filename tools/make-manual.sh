#!/bin/sh
# Converts the user manual from its HTML source to the Word 97 document the program opens
# from "Guida". Installs LibreOffice Writer from Debian's packages when it is missing.
#
#   tools/make-manual.sh        (from the repository root or anywhere else)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
source_html="$root/docs-src/manuale-utente.html"
target="$root/data/docs/ORV-Velmora-Manuale_Utente.doc"

if ! command -v soffice >/dev/null 2>&1; then
    sudo=""
    [ "$(id -u)" = 0 ] || sudo=sudo
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
        libreoffice-writer-nogui
fi

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# A profile of its own, so that a LibreOffice already open on this desktop does not interfere.
soffice -env:UserInstallation="file://$scratch/profile" --headless \
    --infilter="HTML (StarWriter)" --convert-to 'doc:MS Word 97' \
    --outdir "$scratch" "$source_html" >/dev/null
mkdir -p "$(dirname "$target")"
mv "$scratch/manuale-utente.doc" "$target"
echo "written $target"
