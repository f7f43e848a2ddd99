#!/bin/sh
# Computing tax codes from the command line, beside another program computing the same persons
# in the same run:
#   taxcode --compute - over 1,000,000 persons   against codice-fiscale-js (npm) under Node.js,
#                                               bench/codice_fiscale_compute.js over the same lines
#   how many of the 1,000,000 codes the two agree on (both must have computed the same persons)
# Times are in seconds, each run writing its codes to a file: velmora-cli's the best of five runs;
# codice-fiscale-js's of one run (LIBRARY_RUNS=5 for the best of five), as the library looks each
# birthplace up by going through its whole list of some 13,000 places, which makes a run over a
# million persons last minutes. The ratio is codice-fiscale-js's time over velmora-cli's. Without
# node or npm, or when the library cannot be installed, the comparison is skipped and velmora-cli
# alone is measured. The library is installed once into ${XDG_CACHE_HOME:-~/.cache}/velmora/
# bench-node and used from there afterwards.
#
#   bench/compute_figures.sh [folder of the built binaries]   (default: build/bin)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
bin=$(cd "${1:-$root/build/bin}" && pwd)
library=codice-fiscale-js
library_version=2.4.0
library_runs=${LIBRARY_RUNS:-1}
node_cache=${XDG_CACHE_HOME:-$HOME/.cache}/velmora/bench-node
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

# The persons, the same every time: surnames and names long and short, of vowels only, of four
# consonants or more, in capitals and not; both sexes; every day from 1920 to 2020 reachable,
# 29 February included; municipalities and foreign states. Plain ASCII letters only, as
# codice-fiscale-js reads a letter with a mark as no letter at all.
awk 'BEGIN {
    ns = split("ROSSI BIANCHI ESPOSITO FO RE LI OE AIA EUA XU NG STRZELECKI SCHWARZKOPF " \
               "DELUCA DANGELO Colombo RICCI MARINO GRECO BRUNO GALLO CONTI MANCINI " \
               "COSTA GIORDANO RIZZO LOMBARDI MORETTI BARBIERI FONTANA SANTORO", s, " ")
    nn = split("MARIO GIOVANNI ANNA IA EA AI LU BO FRANCESCO CRISTOFORO GIANFRANCO KRYSTYNA " \
               "Giuseppe LUCA MARCO ANDREA PAOLA MARIA GIULIA CHIARA SARA ELENA ALBERTO " \
               "ROBERTO STEFANO MATTEO LORENZO FEDERICA VALENTINA BRUNHILDE WALTHER YVES", n, " ")
    np = split("H501 F205 A662 L219 F839 G273 D612 A944 L736 C351 B354 L424 " \
               "Z110 Z404 Z112 Z210 Z600 Z330 Z114 Z129 Z100 Z602", p, " ")
    split("31 28 31 30 31 30 31 31 30 31 30 31", dim, " ")
    for (i = 0; i < 1000000; i++) {
        year = 1920 + (i * 37 + int(i / 101)) % 101
        month = 1 + (i * 7 + int(i / 12)) % 12
        days = dim[month] + (month == 2 && (year % 4 == 0 && year % 100 != 0 || year % 400 == 0))
        day = 1 + (i * 13 + int(i / 31)) % days
        printf "%s\t%s\t%s\t%02d/%02d/%04d\t%s\n", s[i % ns + 1], n[int(i / ns) % nn + 1],
               (i % 3 ? "M" : "F"), day, month, year, p[(i * 5 + int(i / 17)) % np + 1]
    }
}' > persons.txt

# Best elapsed seconds of $1 runs of the command that follows; standard input from $input, the
# output of the last run left in $output.
best() {
    b=""
    runs=$1
    shift
    while [ "$runs" -gt 0 ]; do
        runs=$((runs - 1))
        start=$(date +%s%N)
        "$@" < "$input" > "$output" 2> /dev/null || true
        t=$(( $(date +%s%N) - start ))
        [ -n "$b" ] && [ "$b" -le "$t" ] || b=$t
    done
    awk -v ns="$b" 'BEGIN { printf "%.4f", ns / 1e9 }'
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf (b > 0 ? "%.1fx" : "-"), a / b }'; }

# codice-fiscale-js from its own folder, installed the first time; "" and why when it cannot be.
# The install has a time limit: npm can spin for good on a folder it cannot write.
skipped=""
if ! command -v node > /dev/null 2>&1 || ! command -v npm > /dev/null 2>&1; then
    skipped="node or npm not found"
elif ! grep -qs "\"version\": \"$library_version\"" \
        "$node_cache/node_modules/$library/package.json" &&
     ! timeout 300 npm install --prefix "$node_cache" --no-audit --no-fund --silent \
        "$library@$library_version" > /dev/null 2>&1; then
    skipped="npm install $library@$library_version failed"
else
    export NODE_PATH="$node_cache/node_modules" TZ=UTC
    probe=$(printf 'ROSSI\tMARIO\tM\t05/01/1970\tH501\n' |
            node "$root/bench/codice_fiscale_compute.js" 2> /dev/null || true)
    case $probe in
        [A-Z][A-Z][A-Z][A-Z][A-Z][A-Z][0-9][0-9][A-Z][0-9][0-9][A-Z][0-9][0-9][0-9][A-Z]) ;;
        *) skipped="$library computes no code (\"$probe\")" ;;
    esac
fi

input=persons.txt
output=velmora.txt
velmora=$(best 5 "$bin/velmora-cli" taxcode --compute -)
label="taxcode --compute - (1,000,000 persons)"
if [ -n "$skipped" ]; then
    printf '%-40s %8s s   %s: comparison skipped (%s)\n' "$label" "$velmora" "$library" "$skipped"
    exit 0
fi
output=library.txt
node=$(best "$library_runs" node "$root/bench/codice_fiscale_compute.js")

[ "$library_runs" -eq 1 ] && runs="1 run" || runs="best of $library_runs"
printf '%-40s %8s s   %s (%s) %8s s   %s\n' "$label" "$velmora" "$library" "$runs" "$node" \
    "$(ratio "$node" "$velmora")"
# Codes: the same line of both outputs, a code of 16 characters and not an error; the first few
# that differ shown with their person.
paste persons.txt velmora.txt library.txt | awk -F'\t' -v label="codes agreeing with $library" '
    { n++ }
    $6 == $7 && length($6) == 16 { same++; next }
    shown < 3 { differ[++shown] = $1 " " $2 " " $3 " " $4 " " $5 ": " $6 " / " $7 }
    END {
        printf "%-40s %8d of %d, %d differ\n", label, same, n, n - same
        for (k = 1; k <= shown; k++) print "  " differ[k]
    }'
