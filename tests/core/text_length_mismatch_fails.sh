#!/bin/sh
# text_length_mismatch_fails.sh - shows that a text field read with a
# length other than its own, or a word written into a text, does not
# compile: each case is a scratch file compiled against core/field_access.h.
# The same file with the field's own length must compile, so a failure is
# the mismatch and not a broken set-up.
#
# Usage: text_length_mismatch_fails.sh SOURCE_ROOT WORK_DIR [CXX]
root=${1:?usage: text_length_mismatch_fails.sh SOURCE_ROOT WORK_DIR [CXX]}
work=${2:?usage: text_length_mismatch_fails.sh SOURCE_ROOT WORK_DIR [CXX]}
cxx=${3:-c++}
rm -rf "$work" && mkdir -p "$work" || exit 2

# $1 = file name, $2 = the call inside a function with rec and out.
scratch() {
    cat >"$work/$1" <<CPP
#include "core/field_access.h"
constexpr TextField<1> PayMode{54};
void Call(uint8_t *rec, uint8_t *out) { $2; }
CPP
}
compiles() { "$cxx" -std=c++20 -fsyntax-only -I "$root" "$work/$1" >"$work/$1.log" 2>&1; }

scratch own.cpp 'GetPString(rec, PayMode, 1, out); PutPString(rec, PayMode, 1, out); GetText(rec, PayMode, out)'
if ! compiles own.cpp; then
    cat "$work/own.cpp.log"
    echo "FAIL: a text read at its own length did not compile"
    exit 1
fi
scratch longer.cpp 'GetPString(rec, PayMode, 2, out)'
scratch shorter.cpp 'PutPString(rec, PayMode, 0, out)'
scratch word.cpp 'PutU16(rec, PayMode, 0)'
for f in longer.cpp shorter.cpp word.cpp; do
    if compiles $f; then
        echo "FAIL: $f compiled:"
        cat "$work/$f"
        exit 1
    fi
done
grep -q "differs from the text field" "$work/longer.cpp.log" || { cat "$work/longer.cpp.log"; echo "FAIL: no word of the length"; exit 1; }
grep -q "deleted" "$work/word.cpp.log" || { cat "$work/word.cpp.log"; echo "FAIL: the word was not refused as deleted"; exit 1; }
echo "ok: a length or kind other than the field's does not compile"
