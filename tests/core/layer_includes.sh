#!/bin/sh
# layer_includes.sh - fails when a file includes a header of a folder its
# layer must not see.
#
# RULES is written by the build from the layer list (cmake/layers.cmake,
# orvel_write_include_rules): one line a folder, "FOLDER: ALLOWED...".
# Every header and source directly in FOLDER may include, by a quoted or
# an angle-bracket path (from the source root, or for a quoted path from
# the file's own folder), only headers of the ALLOWED folders; an include
# whose folder is a folder of the tree but not allowed is reported.
# Headers without a folder (the generated dict_offsets.h) and system
# headers (whose folder is none of the tree's) are not checked.
#
# Usage: layer_includes.sh SOURCE_ROOT RULES
root=${1:?usage: layer_includes.sh SOURCE_ROOT RULES}
rules=${2:?usage: layer_includes.sh SOURCE_ROOT RULES}
[ -r "$rules" ] || { echo "no include rules at $rules"; exit 2; }
[ -s "$rules" ] || { echo "the include rules at $rules are empty"; exit 2; }

failed=0
checked=0
while IFS= read -r line; do
    folder=${line%%:*}
    allowed=" ${line#*: } "
    [ -d "$root/$folder" ] || { echo "$folder: named by the layer list but not in the tree"; failed=1; continue; }
    for f in "$root/$folder"/*.h "$root/$folder"/*.cpp; do
        [ -e "$f" ] || continue
        checked=$((checked + 1))
        grep -n '^[[:space:]]*#[[:space:]]*include[[:space:]]*\("[^"]*/[^"]*"\|<[^>]*/[^>]*>\)' "$f" |
        while IFS= read -r inc; do
            path=$(printf '%s\n' "$inc" | sed -n 's/.*include[[:space:]]*["<]\([^">]*\)[">].*/\1/p')
            # A path from the including file's folder is the same header.
            case "$path" in
                ./* | ../*) path=$(realpath -m --relative-to="$root" "$(dirname "$f")/$path") ;;
            esac
            dir=${path%/*}
            case "$allowed" in *" $dir "*) continue ;; esac
            # A path that is no folder of the tree is not a layer's header.
            [ -d "$root/$dir" ] || continue
            echo "${f#"$root"/}:$inc"
        done > "${TMPDIR:-/tmp}/layer_includes.$$"
        if [ -s "${TMPDIR:-/tmp}/layer_includes.$$" ]; then
            echo "$folder may include only $allowed; these reach above:"
            cat "${TMPDIR:-/tmp}/layer_includes.$$"
            failed=1
        fi
    done
done < "$rules"
rm -f "${TMPDIR:-/tmp}/layer_includes.$$"
[ "$checked" -gt 0 ] || { echo "no file was checked"; exit 2; }
[ $failed -eq 0 ] && echo "$checked files include only their own layer and those beneath"
exit $failed
