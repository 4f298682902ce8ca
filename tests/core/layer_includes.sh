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
# The shell only lists the files (its globs fork nothing); one awk reads
# them all, so the check takes seconds however many files and includes the
# tree holds. Only an include of a folder the file may not see costs a
# test of whether that folder is in the tree, once a folder.
#
# Usage: layer_includes.sh SOURCE_ROOT RULES
root=${1:?usage: layer_includes.sh SOURCE_ROOT RULES}
rules=${2:?usage: layer_includes.sh SOURCE_ROOT RULES}
[ -r "$rules" ] || { echo "no include rules at $rules"; exit 2; }
[ -s "$rules" ] || { echo "the include rules at $rules are empty"; exit 2; }

# "FOLDER<tab>FILE" for each file to check, "FOLDER" alone for a folder
# the rules name that the tree lacks, in the order of the rules.
tab=$(printf '\t')
while IFS= read -r line; do
    folder=${line%%:*}
    [ -d "$root/$folder" ] || { printf '%s\n' "$folder"; continue; }
    for f in "$root/$folder"/*.h "$root/$folder"/*.cpp; do
        [ -e "$f" ] && printf '%s\t%s\n' "$folder" "${f#"$root"/}"
    done
done < "$rules" |
awk -v root="$root" -v rules="$rules" -F "$tab" '
    # A path from the folder of the including file, its "." and ".." taken out as
    # the file system would; ".." above the root stays.
    function resolved(from, path,   parts, n, i, out, k, p) {
        n = split(from "/" path, parts, "/")
        k = 0
        for (i = 1; i <= n; i++) {
            p = parts[i]
            if (p == "" || p == ".") continue
            if (p == ".." && k > 0 && out[k] != "..") { k--; continue }
            out[++k] = p
        }
        p = ""
        for (i = 1; i <= k; i++) p = p (i > 1 ? "/" : "") out[i]
        return p
    }
    # The path of the last "include" on the line followed by a quoted or
    # angle-bracket path.
    function included(line,   at, rest, last) {
        last = ""
        while ((at = index(line, "include")) > 0) {
            rest = substr(line, at)
            if (match(rest, /^include[[:space:]]*["<][^">]*[">]/)) {
                last = substr(rest, 1, RLENGTH)
                sub(/^include[[:space:]]*["<]/, "", last)
                last = substr(last, 1, length(last) - 1)
            }
            line = substr(line, at + 1)
        }
        return last
    }
    function in_tree(dir) {
        if (!(dir in is_dir)) {
            is_dir[dir] = system("test -d \"" root "/" dir "\"") == 0
        }
        return is_dir[dir]
    }
    BEGIN {
        while ((getline line < rules) > 0) {
            folder = line
            sub(/:.*/, "", folder)
            at = index(line, ": ")
            allowed[folder] = " " (at ? substr(line, at + 2) : line) " "
        }
        close(rules)
        failed = 0
        checked = 0
    }
    NF == 1 {
        print $1 ": named by the layer list but not in the tree"
        failed = 1
        next
    }
    {
        folder = $1
        file = $2
        from = file
        if (!sub(/\/[^\/]*$/, "", from)) from = "."
        checked++
        found = ""
        n = 0
        while ((getline line < (root "/" file)) > 0) {
            n++
            if (line !~ /^[[:space:]]*#[[:space:]]*include[[:space:]]*("[^"]*\/[^"]*"|<[^>]*\/[^>]*>)/) continue
            path = included(line)
            if (path ~ /^\.\.?\//) path = resolved(from, path)
            dir = path
            sub(/\/[^\/]*$/, "", dir)
            if (index(allowed[folder], " " dir " ")) continue
            if (!in_tree(dir)) continue
            found = found file ":" n ":" line "\n"
        }
        close(root "/" file)
        if (found != "") {
            print folder " may include only " allowed[folder] "; these reach above:"
            printf "%s", found
            failed = 1
        }
    }
    END {
        if (checked == 0) { print "no file was checked"; exit 2 }
        if (!failed) print checked " files include only their own layer and those beneath"
        exit failed
    }'
