#!/bin/sh
# The command-line program's figures, each beside its floor from the same run:
#   taxcode - over 1,000,000 lines       against taxcode_loop, a plain loop over the same check
#   check of a 32,767-row subject list   against the same binary's --help (its start-up)
#   peak memory of that check            against the peak memory of --help
#   whether --help, check and pdf load qpdf (only filling a form should)
# Times are the best of five runs, in seconds; memory is the maximum resident size from /usr/bin/time -v.
#
#   bench/cli_figures.sh [folder of the built binaries]   (default: build/bin)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
bin=$(cd "${1:-$root/build/bin}" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
mkdir ref
cp "$root/data/ref/FileCodComuni.txt" "$root/data/ref/FileCodStati.txt" "$root/data/ref/modello.pdf" ref/
printf 'UFFICIO\r\nROMA\r\nLAVORO\r\n 1\r\n\r\n\r\n\r\n' > config.ini

# Tax codes: right, wrong check character, wrong place, malformed.
awk 'BEGIN { split("RSSMRA70A05H501F\tH501|RSSMRA70A05H501X\tH501|RSSMRA70A05H501F\tF205|RSS\tH501", l, "|");
             for (i = 0; i < 1000000; i++) print l[i % 4 + 1] }' > codes.txt
# The largest subject list, as the batch writes it (fixed width, CR LF): every row passes, and
# every row but the first is warned of twice (a surname its code does not have, the first row's
# code).
awk 'function letters(n,  s) { s = ""; do { s = sprintf("%c", 65 + n % 26) s; n = int(n / 26) }
                               while (n > 0); return s }
     BEGIN { for (i = 0; i < 32767; i++)
                 printf "%-72s%-72s%-4s%-60s%-10s%-4s%-72s%-1s%-16s\r\n", "ROSSI" letters(i),
                        "MARIO", "H501", "", "1970-01-05", "Z000", "ANTONIO", "M",
                        "RSSMRA70A05H501F" }' \
    > lista.txt

# Best elapsed seconds of five runs of the command; standard input from $input.
best() {
    b=""
    for _ in 1 2 3 4 5; do
        start=$(date +%s%N)
        "$@" < "$input" > /dev/null 2>&1 || true
        t=$(( $(date +%s%N) - start ))
        [ -n "$b" ] && [ "$b" -le "$t" ] || b=$t
    done
    awk -v ns="$b" 'BEGIN { printf "%.4f", ns / 1e9 }'
}
peak() {
    /usr/bin/time -o used -v "$@" < /dev/null > /dev/null 2>&1 || true
    awk -F: '/Maximum resident/ { print $2 + 0 }' used
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf (b > 0 ? "%.2fx" : "-"), a / b }'; }

input=codes.txt
taxcode=$(best "$bin/velmora-cli" taxcode -)
loop=$(best "$bin/taxcode_loop")
input=/dev/null
check=$(best "$bin/velmora-cli" check lista.txt)
help=$(best "$bin/velmora-cli" --help)
check_kib=$(peak "$bin/velmora-cli" check lista.txt)
help_kib=$(peak "$bin/velmora-cli" --help)

# The shared objects the dynamic loader opens, by name.
loads_qpdf() {
    if LD_DEBUG=libs "$@" 2>&1 >/dev/null | grep -q 'calling init:.*qpdf'; then echo yes; else echo no; fi
}
qpdf_help=$(loads_qpdf "$bin/velmora-cli" --help)
qpdf_check=$(loads_qpdf "$bin/velmora-cli" check lista.txt)
qpdf_pdf=$(loads_qpdf "$bin/velmora-cli" pdf --type 0 --purpose LAVORO --protocol 123 \
    --date 15/03/2010 --subjects 1 --dest .)

printf '%-40s %8s s   floor %8s s   %s\n' "taxcode - (1,000,000 lines)" "$taxcode" "$loop" \
    "$(ratio "$taxcode" "$loop")"
printf '%-40s %8s s   floor %8s s   %s\n' "check (32,767 rows) vs --help" "$check" "$help" \
    "$(ratio "$check" "$help")"
printf '%-40s %8s KiB floor %8s KiB +%s MiB\n' "peak memory of check vs --help" "$check_kib" \
    "$help_kib" "$(awk -v a="$check_kib" -v b="$help_kib" 'BEGIN { printf "%.1f", (a - b) / 1024 }')"
printf '%-40s --help %s, check %s, pdf %s\n' "qpdf loaded" "$qpdf_help" "$qpdf_check" "$qpdf_pdf"
