#!/bin/sh
# tests_beside_code.sh - fails when a test named after a product file
# (foo_test.cpp for some foo.cpp) stands in another folder than that
# file's and docs/road_tests.md does not say why it stands higher.
#
# Usage: tests_beside_code.sh SOURCE_ROOT
root=${1:?usage: tests_beside_code.sh SOURCE_ROOT}
cd "$root" || exit 2
doc=docs/road_tests.md
[ -r "$doc" ] || { echo "cannot read $doc"; exit 2; }
failed=0
for t in $(find tests -name '*_test.cpp' | sort); do
    base=$(basename "$t" _test.cpp)
    folder=$(dirname "$t" | sed 's|^tests/\{0,1\}||')
    codes=$(find core database platform rules operations output shell recordwin outputwin \
                 reports exchange net features tools app -name "$base.cpp" 2>/dev/null)
    [ -n "$codes" ] || continue
    # A name two product files share is beside its code in either folder.
    beside=0
    for c in $codes; do [ "$(dirname "$c")" = "$folder" ] && beside=1; done
    [ $beside -eq 1 ] && continue
    code=$(echo "$codes" | head -n 1)
    if ! grep -q "\`$t\`" "$doc"; then
        echo "$t tests $code but stands in tests/$folder: move it beside its code or say why in $doc"
        failed=1
    fi
done
[ $failed -eq 0 ] && echo "every test stands beside its code or is listed in $doc"
exit $failed
