#!/bin/sh
# in_one_process.sh - runs the whole test program in one process, so that
# a test that depends on what an earlier one left behind (or on what an
# earlier one set up for it) fails: in the program's own order, or
# shuffled, with the seed printed first. The seed is ORVEL_TEST_SEED when
# set (0: the program's own order), else taken from the commit of the
# source tree, so that the same commit always runs in the same order and
# each commit in another (a dependence on order is found over the
# commits, and every failure repeats with the seed it printed); 4242
# where no commit is known (no git, or not a repository).
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
    # gtest takes seeds 1..99999: the commit's first 28 bits, folded.
    from="the commit"
    commit=$(git -C "$(dirname "$0")" rev-parse --verify -q HEAD 2>/dev/null || true)
    case "$commit" in
        [0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f]*)
            seed=$(( 0x$(echo "$commit" | cut -c1-7) % 99999 + 1 )) ;;
        *) seed=4242; from="no commit known" ;;
    esac
    if [ -n "${ORVEL_TEST_SEED:-}" ]; then seed=$ORVEL_TEST_SEED; from="ORVEL_TEST_SEED"; fi
    if [ "$seed" != 0 ]; then
        echo "shuffled with seed $seed, from $from (ORVEL_TEST_SEED=$seed repeats this order)"
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
