#!/bin/sh
# test_upward_include_fails.sh - shows that the tests' include check
# (test_layer_includes.sh) refuses, in every test folder beneath the top
# layer, an include of a higher layer's header and one of a higher
# layer's test helper, and a pending include that no longer holds.
#
# A scratch tree holds every code folder of RULES and every test folder of
# SOURCE_ROOT/tests, each with one file including its own folder's header;
# that tree must pass with nothing pending, so that a failure is the probe
# and not a broken set-up.
#
# Usage: test_upward_include_fails.sh SOURCE_ROOT RULES WORK_DIR
root=${1:?usage: test_upward_include_fails.sh SOURCE_ROOT RULES WORK_DIR}
rules=${2:?usage: test_upward_include_fails.sh SOURCE_ROOT RULES WORK_DIR}
work=${3:?usage: test_upward_include_fails.sh SOURCE_ROOT RULES WORK_DIR}
here=$(dirname "$0")
check="$here/test_layer_includes.sh"
rm -rf "$work" && mkdir -p "$work/tree" || exit 2
tree="$work/tree"

sh "$here/test_include_rules.sh" "$root" "$rules" > "$work/rules.txt" || exit 2
for f in $(sed 's/:.*//' "$rules") $(sed 's/:.*//' "$work/rules.txt"); do
    mkdir -p "$tree/$f"
    printf '#include "%s/own.h"\n' "$f" > "$tree/$f/clean.cpp"
done
: > "$work/none_pending.txt"
if ! sh "$check" "$tree" "$rules" "$work/none_pending.txt" "$work/run" > "$work/clean.log" 2>&1; then
    cat "$work/clean.log"
    echo "FAIL: a test tree whose files include only their own folder was refused"
    exit 1
fi

# Probe: PROBE_FILE INCLUDED_HEADER [angle]; the check must fail naming
# the file. With "angle" the include is written <HEADER>.
probe() {
    if [ "$3" = angle ]; then
        printf '#include <%s>\n' "$2" > "$tree/$1"
    else
        printf '#include "%s"\n' "$2" > "$tree/$1"
    fi
    if sh "$check" "$tree" "$rules" "$work/none_pending.txt" "$work/run" > "$work/probe.log" 2>&1; then
        echo "FAIL: $1 includes $2, yet the check passed"
        exit 1
    fi
    grep -q "^$1 -> $2\$" "$work/probe.log" || {
        cat "$work/probe.log"
        echo "FAIL: the check failed but did not name $1 -> $2"
        exit 1
    }
    rm "$tree/$1"
}

probes=0
code_folders=$(sed 's/:.*//' "$rules")
while IFS= read -r line; do
    t=${line%%:*}
    allowed=" ${line#*: } "
    code_above=""
    test_above=""
    for g in $code_folders; do
        case "$allowed" in *" $g "*) ;; *) [ -n "$code_above" ] || code_above=$g ;; esac
        [ -d "$tree/tests/$g" ] || continue
        case "$allowed" in *" tests/$g "*) ;; *) [ -n "$test_above" ] || test_above=tests/$g ;; esac
    done
    [ -n "$code_above" ] || continue      # the top layer sees every folder
    probe "$t/upward_probe.cpp" "$code_above/upward.h"
    [ -z "$test_above" ] || probe "$t/upward_helper.h" "$test_above/helper.h"
    probes=$((probes + 1))
done < "$work/rules.txt"
[ "$probes" -gt 0 ] || { echo "FAIL: no test folder could be probed"; exit 1; }

# The cases the check is for: an output test reaching the output windows,
# or a fixture that needs the whole program.
probe "tests/output/window_probe_test.cpp" "outputwin/designer.h"
probe "tests/output/road_probe_test.cpp" "tests/roads/road_fixture.h"
# A path from the test's own folder is no way around it.
probe "tests/output/relative_probe_test.cpp" "../shell/shell_fixture.h"
# Nor is the angle-bracket spelling.
probe "tests/output/angle_probe_test.cpp" "outputwin/designer.h" angle

# A pending include that no longer holds fails too, so the list shrinks.
echo "tests/output/gone_test.cpp -> shell/shell.h" > "$work/stale_pending.txt"
if sh "$check" "$tree" "$rules" "$work/stale_pending.txt" "$work/run" > "$work/stale.log" 2>&1; then
    echo "FAIL: a pending include that is gone passed the check"
    exit 1
fi
grep -q "^tests/output/gone_test.cpp -> shell/shell.h\$" "$work/stale.log" || {
    cat "$work/stale.log"
    echo "FAIL: the check did not name the pending include that is gone"
    exit 1
}
echo "an upward include fails the tests' check in each of $probes test folders"
