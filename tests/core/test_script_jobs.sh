#!/bin/sh
# test_script_jobs.sh - scripts/test takes the number of jobs the user asks
# for through ORVEL_TEST_JOBS, every core without it, and refuses a value
# that is no whole number from 1 (asked with --jobs, which runs nothing).
#
# Usage: test_script_jobs.sh SOURCE_ROOT
root=${1:?usage: test_script_jobs.sh SOURCE_ROOT}
script="$root/scripts/test"
fail() { echo "FAIL: $1"; exit 1; }
got=$(ORVEL_TEST_JOBS=3 sh "$script" --jobs) || fail "ORVEL_TEST_JOBS=3 was refused"
[ "$got" = 3 ] || fail "ORVEL_TEST_JOBS=3 gave '$got' jobs"
got=$(env -u ORVEL_TEST_JOBS sh "$script" --jobs) || fail "no ORVEL_TEST_JOBS was refused"
[ "$got" = "$(nproc)" ] || fail "without ORVEL_TEST_JOBS it takes '$got' jobs, not every core ($(nproc))"
for bad in 0 x 2x -1; do
    if ORVEL_TEST_JOBS=$bad sh "$script" --jobs > /dev/null 2>&1; then fail "ORVEL_TEST_JOBS=$bad was taken"; fi
done
echo "scripts/test takes the jobs asked, every core otherwise, and refuses a bad number"
