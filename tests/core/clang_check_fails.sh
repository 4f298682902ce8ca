#!/bin/sh
# clang_check_fails.sh - shows that scripts/clang_check fails on a line
# that only clang refuses, in a header as much as in a source, and that
# the sources it keeps as taken hide no change: a header edited after a
# clean run is compiled again, a refusal is refused on every run, and a
# source put back as clang took it is not compiled again.
#
# A scratch tree holds a copy of the script, one source of the program
# (named twice, as two targets compiling it alike would), one test that
# clang refuses (tests are left out) and the compile commands CMake would
# write. CXX, gcc, must take what clang refuses, so that the failure is
# clang's alone. Without clang++ the test is skipped (77).
#
# Usage: clang_check_fails.sh SOURCE_ROOT WORK_DIR CXX
root=${1:?usage: clang_check_fails.sh SOURCE_ROOT WORK_DIR CXX}
work=${2:?usage: clang_check_fails.sh SOURCE_ROOT WORK_DIR CXX}
cxx=${3:?usage: clang_check_fails.sh SOURCE_ROOT WORK_DIR CXX}
command -v clang++ >/dev/null 2>&1 || { echo "clang++ is not installed"; exit 77; }
rm -rf "$work" && mkdir -p "$work/scripts" "$work/probe" "$work/tests" "$work/build" || exit 2
work=$(cd "$work" && pwd)
cp "$root/scripts/clang_check" "$work/scripts/" || exit 2
fail() { cat "$work/run.log"; echo "FAIL: $1"; exit 1; }

clean='inline int Probe() { return 1; }'
refused='#ifdef __clang__\nint refused = "a line only clang compiles";\n#endif'
printf '#include "probe/probe.h"\nint Use() { return Probe(); }\n' > "$work/probe/probe.cpp"
printf '%b\n' "$refused" > "$work/tests/refused_test.cpp"
entry() {
    printf '{\n  "directory": "%s/build",\n' "$work"
    printf '  "command": "%s -I%s -std=c++20 -o %s.o -c %s/%s",\n' "$cxx" "$work" "$1" "$work" "$1"
    printf '  "file": "%s/%s",\n  "output": "%s.o"\n}' "$work" "$1" "$1"
}
{ echo '['; entry probe/probe.cpp; echo ','; entry probe/probe.cpp; echo ','; entry tests/refused_test.cpp; echo; echo ']'; } \
    > "$work/build/compile_commands.json"
check() { sh "$work/scripts/clang_check" "$work/build" 2 > "$work/run.log" 2>&1; }

printf '%s\n' "$clean" > "$work/probe/probe.h"
check || fail "a source clang takes was refused (or the test was not left out)"
grep -q '^clang_check: 1 sources at 2 jobs' "$work/run.log" || fail "the first line does not say the sources and jobs"
grep -q '(1 compiled, 0 as' "$work/run.log" || fail "the source was not compiled"
check || fail "the second clean run failed"
grep -q '(0 compiled, 1 as' "$work/run.log" || fail "an unchanged source was compiled again"

# gcc takes the header; clang must refuse it, naming its line.
printf '%s\n%b\n' "$clean" "$refused" > "$work/probe/probe.h"
"$cxx" -std=c++20 -fsyntax-only -I"$work" "$work/probe/probe.cpp" > "$work/run.log" 2>&1 ||
    fail "gcc refuses the probe: the check would prove nothing"
for run in first second; do
    if check; then fail "a header only clang refuses passed the check ($run run after a clean one)"; fi
    grep -q 'probe/probe.h:3' "$work/run.log" || fail "the check failed but did not name probe/probe.h:3"
done

printf '%s\n' "$clean" > "$work/probe/probe.h"
check || fail "the header put back was refused"
grep -q '(0 compiled, 1 as' "$work/run.log" || fail "the header put back as clang took it was compiled again"
echo "clang_check refuses a line only clang refuses, every run, and compiles again only what changed"
