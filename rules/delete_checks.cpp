// delete_checks.cpp - the checks before a record is deleted.
//
// A record that other records or the balances still lean on, or that has
// been posted, is refused. Posted sub-ledger documents (invoices,
// receipts, purchase invoices, payments) follow a purge rule: they may go
// only once they lie inside the sub-ledger's locked period and nothing
// refers to them any more; an unset lock date locks nothing, so every date
// lies after it and such a document stays.
#include "core/field_access.h"
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "database/access/record_access.h"
#include "rules/checks.h"
#include "rules/invoice_kind.h"
#include "rules/series_terms.h"

namespace {

// Largest row read here (register 30's payment rows).
constexpr uint32_t DeleteRowBufferSize = 136;

// Shows text when show is set; gives 0 (refused).
int Refuse(int show, int text) {
    if (show) ShowMessage(text, nullptr);
    return 0;
}

// True when a record of reg whose text field at offset (maximum length
// max) equals text exists, found by index (null: the current one) on its
// first key part.
bool CodeInUse(int reg, const char *index, uint32_t offset, int max, const uint8_t *text) {
    RuleRecord probe(reg);
    if (!probe.record) return true;   // cannot look: keep the record
    PutPString(probe.record, offset, max, text);
    uint32_t recid = 0, position = 0;
    if (index) return RecFindByIndex(reg, index, probe.record, 1, 1, &recid, &position);
    return RecFind(reg, probe.record, 1, 1, &recid, &position);
}

// True when a record of reg with the u32 serial at offset exists through
// its current index.
bool SerialExists(int reg, uint32_t offset, uint32_t serial) {
    RuleRecord probe(reg);
    if (!probe.record) return true;
    PutU32(probe.record, offset, serial);
    return RecFindByFirstKey(reg, probe.record);
}

// Copies the text field at offset of record into a PString buffer.
void FieldText(const uint8_t *record, uint32_t offset, int max, uint8_t *out) {
    GetPString(record, offset, max, out);
}

// True when date lies after the sub-ledger lock date of block 137.
bool AfterSubLedgerLock(const DateRec *date) {
    DateRec lock{0, 0, 0};
    if (const uint8_t *block = SettingsRecord(DateLockBlk::Number, DateLockBlockData))
        lock = GetDate(block, DateLockBlk::SubLedgerLock);
    return DateCompare(date, &lock) > 0;
}

// Tells whether a sales invoice may be deleted.
bool CanDeleteInvoice(const uint8_t *invoice) {
    if (!GetU16(invoice, IVVc::Posted)) return true;
    DateRec date = GetDate(invoice, IVVc::InvDate);
    if (AfterSubLedgerLock(&date) || GetU16(invoice, IVVc::UpdStock)) return false;
    if (InvoiceKind(GetU16(invoice, IVVc::InvType)) == InvoiceKind::CreditNote) {
        uint32_t credited = GetU32(invoice, IVVc::CredInv);
        if (credited < SerialAsk) return !SerialExists(IVVc::Number, IVVc::SerNr, credited);
    }
    return !SerialExists(ARVc::Number, ARVc::InvoiceNr, GetU32(invoice, IVVc::SerNr));
}

// Tells whether a purchase invoice may be deleted.
bool CanDeletePurchaseInvoice(const uint8_t *invoice) {
    if (!GetU16(invoice, VIVc::Approved) && !GetU16(invoice, VIVc::Preliminary)) return true;
    DateRec date = GetDate(invoice, VIVc::TransDate);
    if (AfterSubLedgerLock(&date)) return false;
    return !SerialExists(APVc::Number, APVc::InvoiceNr, GetU32(invoice, VIVc::SerNr));
}

// Tells whether a project may be deleted: no time or cost budget names it.
bool CanDeleteProject(const uint8_t *project) {
    uint8_t code[256];
    FieldText(project, ProjectVc::Code, 20, code);
    return !CodeInUse(CostBudgetVc::Number, nullptr, CostBudgetVc::Project, 20, code) &&
           !CodeInUse(TimeBudgetVc::Number, nullptr, TimeBudgetVc::Project, 20, code);
}

// Tells whether a purchase order may be deleted, showing each reason when
// show is set: a purchase made from it, and its confirmation.
int CanDeletePurchaseOrder(const uint8_t *order, int show) {
    uint32_t serial = GetU32(order, PurchOrderVc::SerNr);
    bool used = false;
    if (serial < SerialAsk) {
        RuleRecord probe(PUVc::Number);
        uint32_t recid = 0, position = 0;
        used = !probe.record;   // cannot look: keep the order
        if (probe.record) {
            PutU32(probe.record, PUVc::POSerNr, serial);
            used = RecFindByIndex(PUVc::Number, "PONr", probe.record, 1, 1, &recid, &position);
        }
    }
    bool confirmed = GetU16(order, PurchOrderVc::Confirmed) != 0;
    if (used) Refuse(show, Texts::RecordInUseNoDelete);
    if (confirmed) Refuse(show, Texts::RecordInUseNoDelete);
    return used || confirmed ? 0 : 1;
}

// True when the amount at offset of record is neither blank nor zero.
bool AmountSet(const uint8_t *record, uint32_t offset) {
    PackedDecimal amount = GetDec(record, offset);
    return !DecIsZero(&amount);
}

}  // namespace

// 1 when the record of register reg may be deleted, 0 when not; the reason
// is shown when show is set (an order's delivered rows always).
int CanDeleteRecordOf(int reg, uint8_t *record, int show) {
    if (!record) return 0;
    uint8_t code[256];
    switch (reg) {
    case CUVc::Number:
        FieldText(record, CUVc::Code, 20, code);
        return CodeInUse(CSVc::Number, nullptr, CSVc::CustCode, 20, code) ? Refuse(show, Texts::CustomerInUse)
                                                                               : 1;
    case INVc::Number:
        FieldText(record, INVc::Code, 20, code);
        return CodeInUse(ISVc::Number, nullptr, ISVc::ItemCode, 20, code) ? Refuse(show, Texts::ItemInUse) : 1;
    case PUVc::Number:
        return GetU16(record, PUVc::Received) ? Refuse(show, Texts::AlreadyPosted) : 1;
    case IVVc::Number:
        return CanDeleteInvoice(record) ? 1 : Refuse(show, Texts::RecordInUseNoDelete);
    case ORVc::Number:
        return OrderHasDeliveredRows(record) ? Refuse(1, Texts::OrderDelivered) : 1;
    case SHVc::Number:
        return GetU16(record, SHVc::Shipped) ? Refuse(show, Texts::AlreadyPosted) : 1;
    case IPVc::Number:
        return CanDeleteReceipt(record) ? 1 : Refuse(show, Texts::RecordInUseNoDelete);
    case Voucher::Number: {
        // A stored voucher has been posted; it may go only after the
        // voucher lock when the company allows that.
        if (GetU32(record, Voucher::SerNr) == SerialNone) return 1;
        DateRec date = GetDate(record, Voucher::TransDate);
        return DateAfterLock137(&date) ? 1 : Refuse(show, Texts::RecordInUseNoDelete);
    }
    case OBVc::Number:
        FieldText(record, OBVc::Code, 5, code);
        return CodeInUse(BLVc::Number, "ObjAccKey", BLVc::Objects, 30, code)
                   ? Refuse(show, Texts::ObjectHasBalances)
                   : 1;
    case ACVc::Number: {
        // The balance of the account as a whole: the account with an empty
        // object list.
        RuleRecord probe(BLVc::Number);
        if (!probe.record) return Refuse(show, Texts::AccountHasBalances);
        FieldText(record, ACVc::Code, 10, code);
        PutText(probe.record, BLVc::Account, code);
        uint32_t recid = 0, position = 0;
        return RecFind(BLVc::Number, probe.record, 2, 1, &recid, &position) ? Refuse(show, Texts::AccountHasBalances)
                                                                             : 1;
    }
    case OTVc::Number:
        FieldText(record, OTVc::Code, 5, code);
        return CodeInUse(OBVc::Number, "OTCode", OBVc::ObjType, 5, code) ? Refuse(show, Texts::ObjectTypeInUse)
                                                                             : 1;
    case VIVc::Number:
        return CanDeletePurchaseInvoice(record) ? 1 : Refuse(show, Texts::RecordInUseNoDelete);
    case OPVc::Number:
        return CanDeleteOutPayment(record) ? 1 : Refuse(show, Texts::RecordInUseNoDelete);
    case ProjectVc::Number:
        return CanDeleteProject(record) ? 1 : Refuse(show, Texts::RecordInUseNoDelete);
    case TimeSheetVc::Number:
        return GetU16(record, TimeSheetVc::Transferred) ? Refuse(show, Texts::RecordInUseNoDelete) : 1;
    case PurchOrderVc::Number:
        return CanDeletePurchaseOrder(record, show);
    case TimeBudgetVc::Number:
        return AmountSet(record, TimeBudgetVc::ToInvoice) || AmountSet(record, TimeBudgetVc::Invoiced)
                   ? Refuse(show, Texts::RecordInUseNoDelete)
                   : 1;
    case CostBudgetVc::Number:
        return AmountSet(record, CostBudgetVc::SpentSum) || AmountSet(record, CostBudgetVc::Invoiced)
                   ? Refuse(show, Texts::RecordInUseNoDelete)
                   : 1;
    case ProductionVc::Number:
        return GetU16(record, ProductionVc::Finished) ? Refuse(show, Texts::AlreadyPosted) : 1;
    case StockMoveVc::Number:
        return GetU16(record, StockMoveVc::Done) ? Refuse(show, Texts::AlreadyPosted) : 1;
    case ExpenseVc::Number:
        return GetU16(record, ExpenseVc::Posted) ? Refuse(show, Texts::RecordInUseNoDelete) : 1;
    case PersPayVc::Number:
        return GetU16(record, PersPayVc::Approved) ? Refuse(show, Texts::RecordInUseNoDelete) : 1;
    default:
        // sm1, sp1, fb1 and every other register: their postings are taken
        // out by the delete hooks, nothing else leans on them.
        return 1;
    }
}

// True when the customer receipt may be deleted: not posted, or posted
// within the sub-ledger's locked period with every row naming an invoice
// that is gone.
bool CanDeleteReceipt(const uint8_t *receipt) {
    if (!receipt) return false;
    if (!GetU16(receipt, IPVc::Posted)) return true;
    DateRec date = GetDate(receipt, IPVc::TransDate);
    if (AfterSubLedgerLock(&date)) return false;
    uint8_t row[DeleteRowBufferSize];
    static_assert(IPVc::Rows::Size <= DeleteRowBufferSize);
    int32_t count = MatrixRowCount(IPVc::Number, 0, receipt);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(IPVc::Number, receipt, i, row)) return false;
        uint32_t invoice = GetU32(row, IPVc::Rows::InvoiceNr);
        if (invoice >= SerialAsk) return false;
        if (SerialExists(IVVc::Number, IVVc::SerNr, invoice)) return false;
    }
    return true;
}

// True when the outgoing payment may be deleted: not approved, or approved
// within the sub-ledger's locked period with every counted row naming a
// purchase invoice that is gone.
bool CanDeleteOutPayment(const uint8_t *payment) {
    if (!payment) return false;
    if (!GetU16(payment, OPVc::Approved)) return true;
    DateRec date = GetDate(payment, OPVc::PayDate);
    if (AfterSubLedgerLock(&date)) return false;
    uint8_t row[DeleteRowBufferSize];
    static_assert(OPVc::Rows::Size <= DeleteRowBufferSize);
    int32_t count = MatrixRowCount(OPVc::Number, 0, payment);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(OPVc::Number, payment, i, row)) return false;
        if (GetU16(row, OPVc::Rows::Flag) != 0) continue;
        uint32_t invoice = GetU32(row, OPVc::Rows::InvoiceNr);
        if (invoice >= SerialAsk) return false;
        if (SerialExists(VIVc::Number, VIVc::SerNr, invoice)) return false;
    }
    return true;
}
