#!/bin/sh
# in_one_process.sh - runs the whole test program in one process, so that
# a test that depends on what an earlier one left behind (or on what an
# earlier one set up for it) fails: in the program's own order, or
# shuffled with the seed ORVEL_TEST_SEED names (4242 when it is unset,
# the order CI runs; 0 is the program's own order), printed first.
# With ORVEL_TRACE_START_TABLES set, each test that ends with a table of
# functions or an interface file other than the test program started
# with is named ("LEFT Suite.Test: what"). The next test starts from the
# start's all the same (tests/features/fresh_test_state.cpp); the names
# show where to look when a test fails only after others.
#
# Usage: in_one_process.sh TEST_PROGRAM [--shuffle] [GTEST_ARGS...]
program=${1:?usage: in_one_process.sh TEST_PROGRAM [--shuffle] [GTEST_ARGS...]}
shift
order=""
if [ "${1:-}" = "--shuffle" ]; then
    shift
    # gtest takes seeds 1..99999.
    seed=${ORVEL_TEST_SEED:-4242}
    if [ "$seed" != 0 ]; then
        echo "shuffled with seed $seed (ORVEL_TEST_SEED=$seed repeats this order)"
        order="--gtest_shuffle --gtest_random_seed=$seed"
    fi
fi
start=$(date +%s)
# Only failures are printed: the summary at the end names every one.
"$program" --gtest_brief=1 $order "$@"
status=$?
echo "the whole test program took $(( $(date +%s) - start )) s in one process"
[ -n "$order" ] && [ $status -ne 0 ] && echo "shuffled with seed $seed: failed"
exit $status
