// approval.cpp - the table of approve kinds, their gate, and applying a kind
// to one record or a list of records.
#include "rules/approval.h"

// One entry per kind; an entry with register 0 and no operation acts on
// no register.
const std::array<ApproveKindDef, ApproveKindLast + 1> ApproveKinds{};

// Tells whether a kind may run on a record.
bool ApproveAllowed(ApproveKind kind, int reg, const uint8_t *record) {
    return false;
}

// Applies a kind to a stored record.
bool ApproveRecord(ApproveKind kind, int reg, uint32_t recid) {
    return false;
}

// Applies a kind to a list of stored records here.
bool ApproveRecordListLocal(int reg, ApproveKind kind, const uint32_t *ids, uint32_t count) {
    return false;
}

// Applies a kind to a list of stored records.
bool ApproveRecordList(int reg, ApproveKind kind, const uint32_t *ids, uint32_t count) {
    return false;
}
