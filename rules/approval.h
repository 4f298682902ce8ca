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

// The kinds by what they do; the table (operations/approval.cpp) gives
// each its register and its operation. A kind not named here has none.
// Sales documents:
constexpr ApproveKind ApproveKindPostInvoice = 1, ApproveKindPrintInvoice = 11, ApproveKindPrintOrder = 13,
                      ApproveKindPrintDelivery = 14, ApproveKindShipDelivery = 15, ApproveKindPrintInvoiceAgain = 17,
                      ApproveKindInvoiceToLedger = 18, ApproveKindPrintQuotation = 25,
                      ApproveKindPrintOrderSecondForm = 26, ApproveKindPurchaseOrdersFromOrder = 47;
// Receipts and outgoing payments:
constexpr ApproveKind ApproveKindApproveReceipt = 2, ApproveKindMarkPaymentApproved = 3, ApproveKindPostPayment = 4,
                      ApproveKindReceiptToLedger = 23, ApproveKindPaymentToLedger = 24,
                      ApproveKindApprovePayment = 27;
// The outgoing-payment list's Print: a kind without an operation.
constexpr ApproveKind ApproveKindNoOperation = 7;
// Purchases:
constexpr ApproveKind ApproveKindPostPurchaseInvoice = 5, ApproveKindPurchaseInvoiceToLedger = 19,
                      ApproveKindPurchaseToStock = 20, ApproveKindPrintPurchaseOrder = 33,
                      ApproveKindMarkPurchaseOrder = 34, ApproveKindPurchaseOrderToPurchase = 35,
                      ApproveKindMarkPurchaseOrderAgain = 36, ApproveKindPrintPurchase = 48;
// The ledger, the sub-ledgers and register 18:
constexpr ApproveKind ApproveKindPrintVoucher = 12, ApproveKindVoucherRowsToReg18 = 16,
                      ApproveKindSm1RowsToReg18 = 28, ApproveKindFb1RowsToReg18 = 29, ApproveKindSm1ToVoucher = 30,
                      ApproveKindPostVoucher = 31, ApproveKindSp1RowsToReg18 = 39;
// Time sheets, production, expenses and person payments (pp1):
constexpr ApproveKind ApproveKindApproveTimeSheet = 6, ApproveKindPrintProduction = 8,
                      ApproveKindExpenseToLedger = 40, ApproveKindPersPayToLedger = 41,
                      ApproveKindMarkPersPayApproved = 42, ApproveKindPostPersPay = 43, ApproveKindPostExpense = 44,
                      ApproveKindPrintTimeSheet = 46;
// The reports of a record: by its leading code, by its serial number.
constexpr ApproveKind ApproveKindReportOfCode = 38, ApproveKindReportOfSerial = 45;

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
// Applies kind to the stored record recid of reg; false when a store
// failed or the user's group may not write the register (a kind's gate
// that passes the record by, or a kind that declines, is no failure).
// Either false fails the caller's hold.
bool ApproveRecord(ApproveKind kind, int reg, uint32_t recid);
// ApproveRecord for each of count record ids, here; false when a store failed.
bool ApproveRecordListLocal(int reg, ApproveKind kind, const uint32_t *ids, uint32_t count);
// The same, here or on the server as the run mode says; the group is
// asked once for the whole list, and a refusal fails the caller's hold as
// ApproveRecord's does.
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
