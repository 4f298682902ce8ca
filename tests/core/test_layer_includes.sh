#!/bin/sh
# test_layer_includes.sh - fails when a test includes a header of a layer
# above the code its folder mirrors (tests/output/ includes nothing of
# shell/, outputwin/ or reports/, nor their tests' helpers).
#
# The rules are made from the code's (test_include_rules.sh) and checked
# by layer_includes.sh. PENDING lists the upward includes the tests still
# hold, one "TEST_FILE -> HEADER" a line: a test's include that is neither
# allowed nor listed fails, and so does a listed one that is gone, so the
# list only shrinks.
#
# Usage: test_layer_includes.sh SOURCE_ROOT RULES PENDING WORK_DIR
root=${1:?usage: test_layer_includes.sh SOURCE_ROOT RULES PENDING WORK_DIR}
rules=${2:?usage: test_layer_includes.sh SOURCE_ROOT RULES PENDING WORK_DIR}
pending=${3:?usage: test_layer_includes.sh SOURCE_ROOT RULES PENDING WORK_DIR}
work=${4:?usage: test_layer_includes.sh SOURCE_ROOT RULES PENDING WORK_DIR}
here=$(dirname "$0")
[ -r "$pending" ] || { echo "no list of pending includes at $pending"; exit 2; }
mkdir -p "$work" || exit 2

sh "$here/test_include_rules.sh" "$root" "$rules" > "$work/test_rules.txt" || exit 2
sh "$here/layer_includes.sh" "$root" "$work/test_rules.txt" > "$work/check.log" 2>&1
status=$?
[ $status -le 1 ] || { cat "$work/check.log"; exit 2; }
# "FILE:LINE:#include "HEADER"" (or <HEADER>) -> "FILE -> HEADER"
grep -v 'may include only\|files include only' "$work/check.log" |
    sed -n 's/^\([^:]*\):[0-9]*:.*include[[:space:]]*["<]\([^">]*\)[">].*/\1 -> \2/p' | sort -u > "$work/found.txt"
grep -v '^#' "$pending" | grep -v '^[[:space:]]*$' | sort -u > "$work/pending.txt"

failed=0
comm -23 "$work/found.txt" "$work/pending.txt" > "$work/new.txt"
if [ -s "$work/new.txt" ]; then
    echo "these tests include a header of a layer above the code their folder mirrors:"
    cat "$work/new.txt"
    echo "(move the test to the folder of the highest layer it needs, or include a lower header)"
    failed=1
fi
comm -13 "$work/found.txt" "$work/pending.txt" > "$work/gone.txt"
if [ -s "$work/gone.txt" ]; then
    echo "these pending includes are gone; take them off $pending:"
    cat "$work/gone.txt"
    failed=1
fi
[ $failed -eq 0 ] && echo "tests include only their layer and those beneath ($(wc -l < "$work/pending.txt") pending)"
exit $failed
