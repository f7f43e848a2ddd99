#!/usr/bin/env bash
# Regenerates the reference tables from the pinned source in a scratch copy of tools/ and
# compares them byte for byte with the shipped ones in data/ref.
# Exits 77 (skipped) when node or npm is missing or the npm registry cannot be reached.
set -euo pipefail

source_dir=$1
skipped=77

if ! command -v node >/dev/null || ! command -v npm >/dev/null; then
    echo "node or npm is not installed: skipped"
    exit $skipped
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$source_dir/tools/package.json" "$source_dir/tools/package-lock.json" \
   "$source_dir/tools/make-reference-tables.mjs" "$work/"
cd "$work"

if ! timeout 60 npm ping >/dev/null 2>&1; then
    echo "the npm registry cannot be reached: skipped"
    exit $skipped
fi

npm ci --no-audit --no-fund --ignore-scripts
node make-reference-tables.mjs "$work/out"
for table in FileCodComuni.txt FileCodStati.txt; do
    cmp "$work/out/$table" "$source_dir/data/ref/$table"
    echo "$table: same bytes as data/ref/$table"
done
