#!/bin/sh
# unasked_writes.sh - fails when a product file calls the record layer's
# unasked tier (the local writes and lock takes that skip the access
# group's write check) and is not among the callers its header names, or
# when the header names a caller that calls none of it.
#
# database/access/record_access.h is the one place of both lists: the
# tier is every declaration there whose line ends in "// unasked", its
# callers the lines "//   unasked caller: FILE  why". Product files are
# the sources outside tests/, bench/ and fuzz/; a name in a comment is no
# call.
#
# Usage: unasked_writes.sh SOURCE_ROOT
root=${1:?usage: unasked_writes.sh SOURCE_ROOT}
header_path=database/access/record_access.h
cd "$root" 2>/dev/null && [ -r "$header_path" ] || { echo "no $header_path under $root"; exit 2; }

# The tier's names: the function a declaration ending in "// unasked"
# declares (read whole when it runs over several lines).
names=$(awk '
    /^[A-Za-z]/ { decl = "" }
    { decl = decl " " $0 }
    /;[[:space:]]*\/\/[[:space:]]*unasked[[:space:]]*$/ {
        if (match(decl, /[A-Za-z_][A-Za-z0-9_]*Local[[:space:]]*\(/)) {
            name = substr(decl, RSTART, RLENGTH)
            sub(/[[:space:]]*\($/, "", name)
            print name
        }
    }
    /;/ { decl = "" }
' "$header_path" | sort -u)
callers=$(sed -n 's|^//[[:space:]]*unasked caller:[[:space:]]*\([^[:space:]]*\).*|\1|p' "$header_path" | sort -u)
[ -n "$names" ] || { echo "$header_path marks no declaration unasked"; exit 2; }
[ -n "$callers" ] || { echo "$header_path names no caller of the unasked tier"; exit 2; }

files=$(find . -path ./build -prune -o -path ./tests -prune -o -path ./bench -prune -o -path ./fuzz -prune -o \
        \( -name '*.h' -o -name '*.cpp' \) -type f -print | sed 's|^\./||' | grep -vx "$header_path" | sort)
[ -n "$files" ] || { echo "no product file found under $root"; exit 2; }

# "FILE NAME" for each product file and each name of the tier it calls,
# comments left aside.
# shellcheck disable=SC2086
uses=$(awk -v names="$(echo $names)" '
    BEGIN {
        n = split(names, name, " ")
        any = name[1]
        for (i = 2; i <= n; i++) any = any "|" name[i]
    }
    FNR == 1 { inComment = 0 }
    {
        line = $0
        if (inComment) {
            if (!sub(/^.*\*\//, "", line)) next
            inComment = 0
        }
        gsub(/\/\*.*\*\//, "", line)
        if (sub(/\/\*.*$/, "", line)) inComment = 1
        sub(/\/\/.*$/, "", line)
        if (line !~ any) next
        for (i = 1; i <= n; i++)
            if (match(line, "(^|[^A-Za-z0-9_])" name[i] "([^A-Za-z0-9_]|$)") && !seen[FILENAME, name[i]]++)
                print FILENAME, name[i]
    }
' $files)

failed=0
# shellcheck disable=SC2086
for file in $(printf '%s\n' "$uses" | awk 'NF { print $1 }' | sort -u); do
    printf '%s\n' "$callers" | grep -qx "$file" && continue
    called=$(printf '%s\n' "$uses" | awk -v f="$file" '$1 == f { printf "%s%s", sep, $2; sep = ", " }')
    echo "$file: calls the unasked tier ($called), which asks no one's right; call the dispatcher, or name the file among the callers in $header_path with why it may"
    failed=1
done
for file in $callers; do
    printf '%s\n' "$uses" | awk -v f="$file" '$1 == f { found = 1 } END { exit !found }' && continue
    echo "$header_path: names $file among the unasked tier's callers, but it calls none of it"
    failed=1
done
[ $failed -eq 0 ] || exit 1
echo "the unasked tier ($(echo $names | wc -w) writes and lock takes) is called only by the $(echo $callers | wc -w) files its header names"
