#!/bin/sh
# upward_include_fails.sh - shows that the include check refuses, in every
# folder of the layer list, an include of a folder the folder must not see.
#
# A scratch tree holds every folder of RULES; each folder that may not see
# some other folder gets one file including a header of such a folder, in
# the quoted and then the angle-bracket spelling, and the check must name
# that file each time. A clean scratch tree must pass, so that a
# failure is the include and not a broken set-up.
#
# Usage: upward_include_fails.sh SOURCE_ROOT RULES WORK_DIR
root=${1:?usage: upward_include_fails.sh SOURCE_ROOT RULES WORK_DIR}
rules=${2:?usage: upward_include_fails.sh SOURCE_ROOT RULES WORK_DIR}
work=${3:?usage: upward_include_fails.sh SOURCE_ROOT RULES WORK_DIR}
check="$root/tests/core/layer_includes.sh"
rm -rf "$work" && mkdir -p "$work" || exit 2

folders=$(sed 's/:.*//' "$rules")
for f in $folders; do
    mkdir -p "$work/$f"
    printf '#include "%s/own.h"\n' "$f" > "$work/$f/clean.cpp"
done
if ! sh "$check" "$work" "$rules" > "$work/clean.log" 2>&1; then
    cat "$work/clean.log"
    echo "FAIL: a tree whose files include only their own folder was refused"
    exit 1
fi

probes=0
while IFS= read -r line; do
    f=${line%%:*}
    allowed=" ${line#*: } "
    above=""
    for g in $folders; do
        case "$allowed" in *" $g "*) ;; *) above=$g ;; esac
    done
    [ -n "$above" ] || continue      # the top layer sees every folder
    # The same include in both spellings: quoted and angle-bracket.
    for spelling in '"%s/upward.h"' '<%s/upward.h>'; do
        printf "#include $spelling\n" "$above" > "$work/$f/upward_probe.cpp"
        if sh "$check" "$work" "$rules" > "$work/probe.log" 2>&1; then
            echo "FAIL: $f includes $(cat "$work/$f/upward_probe.cpp"), yet the check passed"
            exit 1
        fi
        grep -q "$f/upward_probe.cpp" "$work/probe.log" || {
            cat "$work/probe.log"
            echo "FAIL: the check failed but did not name $f/upward_probe.cpp"
            exit 1
        }
        probes=$((probes + 1))
    done
    rm "$work/$f/upward_probe.cpp"
done < "$rules"
[ "$probes" -gt 0 ] || { echo "FAIL: no folder could be probed"; exit 1; }
echo "an upward include fails the check: $probes probes, each folder in both spellings"
