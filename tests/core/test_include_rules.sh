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

# The test folders holding code, in a fixed order; then one awk writes
# every folder's rules (a process a folder would take seconds on a busy
# machine).
(cd "$root/tests" && find . -name '*.h' -o -name '*.cpp') | sed 's|^\./||; s|/[^/]*$||' | grep -v '\.' | sort -u |
awk -v rules="$rules" '
    BEGIN {
        while ((getline line < rules) > 0) {
            folder = line
            sub(/:.*/, "", folder)
            at = index(line, ": ")
            allowed[folder] = at ? substr(line, at + 2) : line
            folders[++count] = folder
        }
        close(rules)
    }
    { tests[++n] = $0 }
    END {
        top = " tools"
        for (i = 1; i <= count; i++) top = top " " folders[i] " tests/" folders[i]
        for (i = 1; i <= n; i++) if (!(tests[i] in allowed)) top = top " tests/" tests[i]
        for (i = 1; i <= n; i++) {
            t = tests[i]
            # A folder that sees every folder sits in the top layer.
            words = (t in allowed) ? split(allowed[t], w, " ") : count
            if ((words ? words : 1) == count) { print "tests/" t ":" top; continue }
            out = ""
            for (j = 1; j <= words; j++) {
                out = out " " w[j] " tests/" w[j]
                if (w[j] == "core") out = out " tools"
            }
            print "tests/" t ":" out
        }
    }'
