// approval.h - the numbered operations (approve kinds) that are applied to
// one stored record: approve, post, enter in a ledger, copy rows to
// register 18, print, or start a batch routine for it.
#pragma once

#include <array>
#include <cstdint>

using ApproveKind = uint16_t;
constexpr ApproveKind ApproveKindFirst = 1, ApproveKindLast = 48;
// The register of a kind that may act on any register.
constexpr int16_t ApproveAnyRegister = -1;

// What one kind's operation did; Failed: a store failed.
enum class ApproveResult : uint8_t { Unchanged, Changed, Failed };

struct ApproveKindDef {
    int16_t reg;   // the register the kind acts on, or ApproveAnyRegister
    // The operation on the record read by its id; null: the kind does nothing.
    ApproveResult (*run)(int reg, uint8_t *record, uint32_t recid);
};
// One entry per kind; [0] is not used.
extern const std::array<ApproveKindDef, ApproveKindLast + 1> ApproveKinds;

// True when kind may run on the record (the gate of kinds 16..41).
bool ApproveAllowed(ApproveKind kind, int reg, const uint8_t *record);
// Applies kind to the stored record recid of reg; false only when a store
// failed (a refused gate or a kind that declines is no failure).
bool ApproveRecord(ApproveKind kind, int reg, uint32_t recid);
// ApproveRecord for each of count record ids, here; false when a store failed.
bool ApproveRecordListLocal(int reg, ApproveKind kind, const uint32_t *ids, uint32_t count);
// The same, here or on the server as the run mode says.
bool ApproveRecordList(int reg, ApproveKind kind, const uint32_t *ids, uint32_t count);

// ---- The ledger kinds (approve_ledger.cpp), as the table runs them ----
// Each takes the record read by its id and says whether it changed it.

ApproveResult Reg18FromRows138(int reg, uint8_t *voucher, uint32_t recid);   // kind 16, register 11
ApproveResult Reg18FromRows82(int reg, uint8_t *sm1, uint32_t recid);        // kind 28, register 9
ApproveResult Reg18FromRows46(int reg, uint8_t *fb1, uint32_t recid);        // kind 29, register 51
ApproveResult Reg18FromRows118(int reg, uint8_t *sp1, uint32_t recid);       // kind 39, register 126
// Kind 30: makes a voucher of an sm1 record and, once it is stored,
// deletes the sm1 record; Unchanged either way (the record is gone or kept).
ApproveResult TransferSm1ToLedger(int reg, uint8_t *sm1, uint32_t recid);
// Kind 31: posts the voucher's rows to the balances and sets its posted flag.
ApproveResult ApprovePostTransaction(int reg, uint8_t *voucher, uint32_t recid);
// Kind 42: sets the approved flag of a pp1 record (register 110).
ApproveResult MarkState102(int reg, uint8_t *pp1, uint32_t recid);
