#!/usr/bin/env bash
# Completes an installed Windows tree (as `cmake --install` lays it out) with what the programs
# load: the DLLs they and their DLLs name, found in the cached Qt and qpdf and in the MinGW
# runtime (Windows' own DLLs are left out), the Qt plugins for the platform and the style, Qt's
# Italian texts, and the program's icon.
#
#   tools/windows/stage.sh STAGE DEPENDENCY_PREFIX...
set -euo pipefail

stage=$1
shift
objdump=x86_64-w64-mingw32-objdump
qt=$1 # the first prefix is Qt's

# Where a DLL named by a program may come from, first match wins.
search=()
for prefix in "$@"; do
    search+=("$prefix/bin" "$prefix/lib")
done
search+=(/usr/x86_64-w64-mingw32/lib)
search+=("$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")")

find_dll() {
    local name=$1
    for dir in "${search[@]}"; do
        local found
        found=$(find "$dir" -maxdepth 1 -iname "$name" -print -quit 2>/dev/null)
        [ -n "$found" ] && { echo "$found"; return; }
    done
    return 0 # not found: one of Windows' own
}

mkdir -p "$stage/bin/platforms" "$stage/bin/styles" "$stage/translations"
cp "$qt/plugins/platforms/qwindows.dll" "$stage/bin/platforms/"
cp "$qt/plugins/styles/qwindowsvistastyle.dll" "$stage/bin/styles/"
cp /usr/share/qt6/translations/qtbase_it.qm "$stage/translations/"

# Every DLL named by a program, a plugin or a DLL already copied, until none is new.
declare -A seen=()
pending=("$stage"/bin/*.exe "$stage"/bin/*/*.dll "$stage"/lib/velmora/*.dll)
while [ ${#pending[@]} -gt 0 ]; do
    file=${pending[0]}
    pending=("${pending[@]:1}")
    while read -r name; do
        key=${name,,}
        [ -n "${seen[$key]:-}" ] && continue
        seen[$key]=1
        dll=$(find_dll "$name")
        [ -z "$dll" ] && continue # one of Windows' own
        cp "$dll" "$stage/bin/"
        pending+=("$stage/bin/$(basename "$dll")")
    done < <("$objdump" -p "$file" | sed -n 's/^\s*DLL Name: //p')
done
