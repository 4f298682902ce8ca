#!/bin/sh
# test_include_rules.sh - writes the include rules of the test tree from
# those of the code, so that a test sits in its layer as the code it tests.
#
# A test folder tests/F that mirrors a code folder F of RULES may include
# what F may include, and the test helpers (tests/G) of the folders G that
# F may include. A test folder that mirrors no code folder (the roads, the
# report fixtures shared by reports/*, the dictionary and tool tests) needs
# the whole program: it sits in the top layer, with the folders that may
# include every other folder; they and it may include it. The dictionary
# compiler (tools/) stands on core/ alone: a fixture compiling a dictionary
# of its own may include it wherever core/ may be included.
#
# Usage: test_include_rules.sh SOURCE_ROOT RULES  (the rules on stdout, in
# the format of RULES, for tests/core/layer_includes.sh)
root=${1:?usage: test_include_rules.sh SOURCE_ROOT RULES}
rules=${2:?usage: test_include_rules.sh SOURCE_ROOT RULES}
[ -s "$rules" ] || { echo "no include rules at $rules" >&2; exit 2; }
[ -d "$root/tests" ] || { echo "no test tree at $root/tests" >&2; exit 2; }

folders=$(sed 's/:.*//' "$rules")
count=$(printf '%s\n' $folders | wc -l)
# The test folders holding code, in a fixed order.
test_folders=$(cd "$root/tests" && find . -name '*.h' -o -name '*.cpp' | sed 's|^\./||; s|/[^/]*$||' |
               grep -v '\.' | sort -u)
unmapped=""
for t in $test_folders; do
    grep -q "^$t:" "$rules" || unmapped="$unmapped tests/$t"
done

top_allowed=" tools"
for g in $folders; do top_allowed="$top_allowed $g tests/$g"; done
top_allowed="$top_allowed$unmapped"

for t in $test_folders; do
    line=$(grep "^$t:" "$rules")
    if [ -z "$line" ]; then
        echo "tests/$t:$top_allowed"
        continue
    fi
    allowed=${line#*: }
    if [ "$(printf '%s\n' $allowed | wc -l)" -eq "$count" ]; then
        echo "tests/$t:$top_allowed"
        continue
    fi
    out=""
    for g in $allowed; do
        out="$out $g tests/$g"
        [ "$g" = core ] && out="$out tools"
    done
    echo "tests/$t:$out"
done
