#!/bin/sh
# Regenerates the form template in a scratch folder and compares it byte for byte with the
# committed one. Exits 77 (skipped) when Node.js, npm or the npm registry is not at hand.
#
#   tools/pdf-template/check-template.sh data/ref/modello.pdf
set -u
committed=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
here=$(cd "$(dirname "$0")" && pwd)

command -v node >/dev/null 2>&1 || { echo "node not found: skipped"; exit 77; }
command -v npm >/dev/null 2>&1 || { echo "npm not found: skipped"; exit 77; }

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cp "$here/package.json" "$here/package-lock.json" "$here/make-template.mjs" "$scratch/"
cd "$scratch" || exit 1
if ! npm ci --no-audit --no-fund --loglevel=error >npm.log 2>&1; then
    cat npm.log
    echo "pdf-lib could not be installed: skipped"
    exit 77
fi
node make-template.mjs fresh.pdf || exit 1
if cmp fresh.pdf "$committed"; then
    echo "the committed template is what the generator makes"
else
    echo "the committed template differs from the generator's output"
    exit 1
fi
