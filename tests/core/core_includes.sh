#!/bin/sh
# core_includes.sh - fails when a file of core/ includes a header from a
# folder other than core/ and platform/.
#
# core/ is the bottom of the system: everything else builds on it, so it
# may reach only itself and the platform layer. Quoted includes must name
# core/ or platform/, or the dictionary's generated offsets header (which
# lives in the build tree); an angle include may not name a project
# folder either. Usage: core_includes.sh SOURCE_ROOT
root=${1:?usage: core_includes.sh SOURCE_ROOT}
[ -d "$root/core" ] || { echo "no core/ under $root"; exit 2; }
status=0
for f in "$root"/core/*.h "$root"/core/*.cpp; do
    grep -n '^[[:space:]]*#[[:space:]]*include' "$f" | while IFS= read -r line; do
        target=$(printf '%s\n' "$line" | sed -n 's/.*include[[:space:]]*["<]\([^">]*\)[">].*/\1/p')
        case "$line" in
        *'"'*)
            case "$target" in
            core/* | platform/* | dict_offsets.h) continue ;;
            esac ;;
        *)
            top=${target%%/*}
            [ "$top" != "$target" ] && [ -d "$root/$top" ] && [ "$top" != core ] && [ "$top" != platform ] || continue ;;
        esac
        echo "${f#"$root"/}:$line"
    done
done | grep . && status=1
[ $status -eq 0 ] && echo "core/ includes only core/ and platform/"
exit $status
