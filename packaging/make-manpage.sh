#!/bin/sh
# Writes the manual page of velmora-cli from its own --help text, so that the two never
# tell different things: the second line of the help is the page's one-line summary, the
# whole help its description.
# Usage: make-manpage.sh VELMORA_CLI VERSION OUTPUT
set -eu
cli=$1
version=$2
out=$3

help=$("$cli" --help)
# Backslashes and hyphens are taken literally, and no line may start a roff request.
escape() {
    sed -e 's/\\/\\e/g' -e 's/-/\\-/g' -e "s/^\\([.']\\)/\\\\\\&\\1/"
}
summary=$(printf '%s\n' "$help" | sed -n 2p | sed 's/\.$//' | escape)

{
    printf '.TH VELMORA\\-CLI 1 "" "velmora %s" "Comandi utente"\n' "$version"
    printf '.SH NOME\n'
    printf 'velmora\\-cli \\- %s\n' "$summary"
    printf '.SH DESCRIZIONE\n'
    printf '.nf\n'
    printf '%s\n' "$help" | escape
    printf '.fi\n'
    printf '.SH LICENZA\n'
    printf 'Velmora \\(co 2026 Velmora maintainers, con la European Union Public Licence 1.2\n'
    printf '(EUPL\\-1.2); le tabelle dei luoghi con la licenza CC BY\\-SA 4.0. Vedere\n'
    printf '/usr/share/doc/velmora/copyright.\n'
    printf '.SH VEDERE ANCHE\n'
    printf 'Il manuale utente di Velmora, in /usr/share/velmora/docs.\n'
} >"$out.tmp"
mv "$out.tmp" "$out"
