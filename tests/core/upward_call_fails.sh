#!/bin/sh
# upward_call_fails.sh - shows that a layer's link check refuses a call
# into a higher layer: a scratch project of two layers, made with the
# build's own layer functions, whose lower layer calls the higher one.
# The lower layer's check must fail to link, naming the function called
# upward; the higher layer's check (calling down only) must link, so the
# failure is the upward call and not a broken set-up.
#
# Usage: upward_call_fails.sh SOURCE_ROOT WORK_DIR [CXX]
root=${1:?usage: upward_call_fails.sh SOURCE_ROOT WORK_DIR [CXX]}
work=${2:?usage: upward_call_fails.sh SOURCE_ROOT WORK_DIR [CXX]}
cxx=${3:-c++}
rm -rf "$work" && mkdir -p "$work" || exit 2
# No compiler cache or sanitizer of the main build: the scratch build is
# three small files.
if ! cmake -S "$root/tools/layer_check/upward_call" -B "$work" -G Ninja \
        -DCMAKE_CXX_COMPILER="$cxx" -DORVEL_LAYERS_CMAKE="$root/cmake/layers.cmake" >"$work/configure.log" 2>&1; then
    cat "$work/configure.log"
    echo "the scratch project could not be configured"
    exit 2
fi
if ! cmake --build "$work" --target higher_link_check >"$work/higher.log" 2>&1; then
    cat "$work/higher.log"
    echo "FAIL: the higher layer calls only down, yet its check did not link"
    exit 1
fi
if cmake --build "$work" --target lower_link_check >"$work/lower.log" 2>&1; then
    echo "FAIL: the lower layer calls HigherRate upward, yet its check linked"
    exit 1
fi
if ! grep -q 'undefined reference to .HigherRate' "$work/lower.log"; then
    cat "$work/lower.log"
    echo "FAIL: the lower layer's check failed, but not on the upward call"
    exit 1
fi
echo "the upward call HigherRate fails the lower layer's link check; calls down link"
