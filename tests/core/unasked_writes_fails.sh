#!/bin/sh
# unasked_writes_fails.sh - shows that the unasked tier's check refuses a
# product file outside its callers' list that calls the tier (a record
# write, a settings-block store, a lock take; spelt across lines or with a
# blank before its bracket), and a list naming a file that calls none of
# it, while a name in a comment, a dispatcher's call and a test's call
# pass.
#
# A scratch tree of the header and its listed callers, as they stand,
# must pass, so that a failure is the probe and not a broken set-up; then
# each probe must fail the check and be named by it.
#
# Usage: unasked_writes_fails.sh SOURCE_ROOT WORK_DIR
root=${1:?usage: unasked_writes_fails.sh SOURCE_ROOT WORK_DIR}
work=${2:?usage: unasked_writes_fails.sh SOURCE_ROOT WORK_DIR}
check="$root/tests/core/unasked_writes.sh"
header=database/access/record_access.h
rm -rf "$work" && mkdir -p "$work/database/access" || exit 2
cp "$root/$header" "$work/$header" || exit 2
for file in $(sed -n 's|^//[[:space:]]*unasked caller:[[:space:]]*\([^[:space:]]*\).*|\1|p' "$root/$header"); do
    mkdir -p "$work/$(dirname "$file")" && cp "$root/$file" "$work/$file" || exit 2
done
mkdir -p "$work/shell" "$work/tests/database" "$work/fuzz"
printf '// Stored through RecStoreLocal once asked.\nvoid Save() { RecStore(1, r, 0, &id); }\n' > "$work/shell/clean.cpp"
printf '/* RecInsertLocal(reg, r, &id) would skip the check:\n   the dispatcher asks. */\n' > "$work/shell/note.cpp"
printf 'TEST(A, B) { RecInsertLocal(1, r, &id); }\n' > "$work/tests/database/fixture_test.cpp"
printf 'void Seed() { RecInsertLocal(1, r, &id); }\n' > "$work/fuzz/seed.cpp"
if ! sh "$check" "$work" > "$work/clean.log" 2>&1; then
    cat "$work/clean.log"
    echo "FAIL: the tree of the tier's own callers was refused"
    exit 1
fi

# FILE|TEXT: the probe's file (from the tree's root) and its text (\n
# between lines).
probes=$(cat <<'EOF'
shell/probe.cpp|bool Save(uint8_t *r, uint32_t id) { return RecStoreLocal(7, r, 1, &id); }
recordwin/probe.cpp|    int result = SettingsBlockStoreLocal(block, data, size);
operations/probe.cpp|    ok = RecordLockTakeLocal (reg, recid, record);
exchange/probe.cpp|    RecInsertCheckedLocal(reg, record, &id,\n                          &result);
rules/probe.h|inline bool Wipe(int reg) { return RegDeleteAllLocal(reg); }
EOF
)
count=0
printf '%s\n' "$probes" > "$work/probes.txt"
while IFS='|' read -r file line; do
    mkdir -p "$work/$(dirname "$file")"
    printf '%b\n' "$line" > "$work/$file"
    if sh "$check" "$work" > "$work/probe.log" 2>&1; then
        echo "FAIL: $file holds '$line', yet the check passed"
        exit 1
    fi
    grep -q "^$file: calls the unasked tier" "$work/probe.log" || {
        cat "$work/probe.log"
        echo "FAIL: the check failed but did not name $file for '$line'"
        exit 1
    }
    rm -f "$work/$file"
    count=$((count + 1))
done < "$work/probes.txt"

# A caller named in the list that no longer calls the tier.
mv "$work/net/server_dispatch.cpp" "$work/server_dispatch.keep"
printf '// Serves requests through the dispatchers only.\n' > "$work/net/server_dispatch.cpp"
if sh "$check" "$work" > "$work/probe.log" 2>&1 || ! grep -q "names net/server_dispatch.cpp" "$work/probe.log"; then
    cat "$work/probe.log"
    echo "FAIL: a listed caller that calls none of the tier was not named"
    exit 1
fi
count=$((count + 1))
echo "$count probes refused, each naming its file"
