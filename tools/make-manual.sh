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
# The pictures go inside the document: LibreOffice would only link files named by the HTML.
python3 - "$source_html" "$scratch/manuale-utente.html" <<'INLINE'
import base64, os, re, sys
source, target = sys.argv[1], sys.argv[2]
folder = os.path.dirname(source)
def inline(match):
    with open(os.path.join(folder, match.group(1)), "rb") as picture:
        return 'src="data:image/png;base64,' + base64.b64encode(picture.read()).decode() + '"'
with open(source, encoding="utf-8") as f:
    html = re.sub(r'src="([^":]+\.png)"', inline, f.read())
with open(target, "w", encoding="utf-8") as f:
    f.write(html)
INLINE
# A profile of its own, so that a LibreOffice already open on this desktop does not interfere.
soffice -env:UserInstallation="file://$scratch/profile" --headless \
    --infilter="HTML (StarWriter)" --convert-to 'doc:MS Word 97' \
    --outdir "$scratch/doc" "$scratch/manuale-utente.html" >/dev/null
mkdir -p "$(dirname "$target")"
mv "$scratch/doc/manuale-utente.doc" "$target"
echo "written $target"
