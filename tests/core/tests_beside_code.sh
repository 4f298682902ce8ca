#!/bin/sh
# tests_beside_code.sh - fails when a test named after a product file
# (foo_test.cpp for some foo.cpp) stands in another folder than that
# file's and docs/road_tests.md does not say why it stands higher.
#
# Usage: tests_beside_code.sh SOURCE_ROOT
root=${1:?usage: tests_beside_code.sh SOURCE_ROOT}
cd "$root" || exit 2
doc=docs/road_tests.md
[ -r "$doc" ] || { echo "cannot read $doc"; exit 2; }
# One find of the product's sources and one of the tests, joined by one
# awk: a find a test took minutes on a busy machine. A source name found
# in several folders is named by the first the find meets.
{
    find core database platform rules operations output shell recordwin outputwin \
         reports exchange net features tools app -name '*.cpp' 2>/dev/null | sed 's/^/code /'
    find tests -name '*_test.cpp' | sort | sed 's/^/test /'
} | awk -v doc="$doc" '
    BEGIN {
        while ((getline line < doc) > 0) text = text line "\n"
        close(doc)
    }
    $1 == "code" {
        base = $2
        sub(/^.*\//, "", base)
        sub(/\.cpp$/, "", base)
        folder = $2
        sub(/\/[^\/]*$/, "", folder)
        if (!(base in first)) first[base] = $2
        # A name two product files share is beside its code in either folder.
        at[base, folder] = 1
        next
    }
    {
        t = $2
        base = t
        sub(/^.*\//, "", base)
        sub(/_test\.cpp$/, "", base)
        folder = t
        sub(/\/[^\/]*$/, "", folder)
        sub(/^tests\/?/, "", folder)
        if (!(base in first) || ((base, folder) in at)) next
        if (!index(text, "`" t "`")) {
            print t " tests " first[base] " but stands in tests/" folder ": move it beside its code or say why in " doc
            failed = 1
        }
    }
    END {
        if (!failed) print "every test stands beside its code or is listed in " doc
        exit failed
    }'
