// okfakt_import.cpp - the invoice import "okfakt": sales invoices in the
// "fakt1" layout from another program, each stored with the customer,
// items and salesperson it names made when missing, posted on the way in.
//
// The hold is renewed every ImportHoldRecords invoices. A hold that fails
// keeps none of its writes, so the invoices read in it are kept in memory
// until it ends: after a failure each is stored again in a hold of its
// own, and only those that fail again are lost; they are told with their
// lines and the import stops there.
#include <algorithm>
#include <cstdio>
#include <iterator>
#include <vector>

#include "core/definitions.h"
#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "exchange/old_company_sections.h"
#include "exchange/section_readers.h"
#include "exchange/text_exchange.h"
#include "operations/operations.h"
#include "operations/sales_invoice.h"
#include "rules/approval.h"
#include "rules/hooks.h"
#include "shell/database_open.h"

OkInvoiceFailures OkInvoicesNotStored;

namespace {

// An invoice as it was read, kept while the hold it was stored in is open.
struct ReadInvoice {
    std::vector<uint8_t> head, rows;
    int32_t rowCount = 0;
    uint32_t line = 0;
};

// Copies the invoice with its rows; false when a row cannot be read.
bool Keep(const uint8_t *invoice, uint32_t line, ReadInvoice *out) {
    const uint32_t size = RegRecordSize(IVVc::Number), rowSize = RecRowSize(IVVc::Number);
    out->head.assign(invoice, invoice + size);
    out->rowCount = MatrixRowCount(IVVc::Number, 0, invoice);
    out->rows.assign(size_t(out->rowCount) * rowSize, 0);
    out->line = line;
    for (int32_t r = 0; r < out->rowCount; r++)
        if (!MatrixRowGet(IVVc::Number, 0, invoice, r, out->rows.data() + size_t(r) * rowSize)) return false;
    return true;
}

// Puts a kept invoice back into the buffer; false when memory failed.
bool Restore(const ReadInvoice &kept, uint8_t *invoice) {
    const uint32_t rowSize = RecRowSize(IVVc::Number);
    RecFreeMatrix(IVVc::Number, invoice);
    std::copy(kept.head.begin(), kept.head.end(), invoice);
    PutU32(invoice, IVVc::Matrix, MatrixSlotNone);
    for (int32_t r = 0; r < kept.rowCount; r++)
        if (!MatrixRowPut(IVVc::Number, 0, invoice, r, kept.rows.data() + size_t(r) * rowSize)) return false;
    return true;
}

// Stores one invoice read whole that the register lacks: its missing
// customer, items and salesperson made, row costs from the items, an
// approved invoice's open item and stock (its voucher was made where it
// was approved), the project totals and list mark, then the customer
// ledger (approved) or the approval. false when a write failed (the
// hold has failed with it).
bool StoreWithMasters(uint8_t *invoice) {
    InvoiceRowKindsSettle(invoice);
    if (!CreateMissingCustomer(invoice) || !CreateMissingItems(invoice) || !CreateMissingUser(invoice)) return false;
    RowCostsFromItems(invoice);
    const bool approved = GetU16(invoice, IVVc::Posted) == 1;
    if (approved) {
        InvoicePosting(invoice, 0);
        StockHistoryFromInvoice(invoice);
    }
    UpdateProjectTotals(invoice, nullptr);
    StatusMarkInvoice(invoice);
    uint32_t recid = 0;
    if (!RecStoreByKey(IVVc::Number, invoice, 0, &recid)) {
        DbHoldFail();
        return false;
    }
    if (approved) return RunRecordAction(0, ApproveKindInvoiceToLedger, IVVc::Number, recid);
    return ApproveRecord(ApproveKindPostInvoice, IVVc::Number, recid);
}

// Counts an invoice that could not be stored, read from line on.
void CountFailure(uint32_t line) {
    OkInvoiceFailures &f = OkInvoicesNotStored;
    if (f.count < std::size(f.lines)) f.lines[f.count] = line;
    f.count++;
}

// Ends the hold of the invoices in batch and begins the next. When it
// failed, each invoice is stored again in a hold of its own, with what
// had been created before the batch (before); one that fails again is
// counted. false when any was lost: the import stops.
bool EndHold(std::vector<ReadInvoice> &batch, ImportCreatedRec &before, uint8_t *invoice) {
    bool held = DbHoldEnd();
    DbHoldBegin();
    if (held) {
        ImportResult.stored += uint32_t(batch.size());
        batch.clear();
        before = ImportCreated;
        return true;
    }
    ImportCreated = before;
    bool all = true;
    for (const ReadInvoice &kept : batch) {
        ImportCreatedRec mark = ImportCreated;
        bool stored = Restore(kept, invoice) && StoreWithMasters(invoice);
        bool ok = DbHoldEnd() && stored;
        DbHoldBegin();
        if (ok) {
            ImportResult.stored++;
            continue;
        }
        ImportCreated = mark;
        CountFailure(kept.line);
        all = false;
    }
    batch.clear();
    before = ImportCreated;
    if (!all) {
        ImportFailedSteps++;
        ImportAbortFlag = 1;
    }
    return all;
}

}  // namespace

// Reads the "okfakt" section: each invoice by the "fakt1" reader; one
// whose number is stored already is passed over unchanged, one whose
// series is full is not stored and its line is told; the others are
// stored with their masters (StoreWithMasters).
void ImportInvoicesCreatingMasters() {
    MemBlock h = 0;
    uint8_t *invoice = RecBufferNew(IVVc::Number, &h);
    if (!invoice) {
        ImportAbortFlag = 1;
        return;
    }
    std::vector<ReadInvoice> batch;
    ImportCreatedRec before = ImportCreated;
    uint32_t inHold = 0;
    while (!ImportAbortFlag && ImportNextLineHasData()) {
        if (inHold == ImportHoldRecords) {
            ImportHoldsRenewed++;
            inHold = 0;
            if (!EndHold(batch, before, invoice)) break;
        }
        inHold++;
        RecFreeMatrix(IVVc::Number, invoice);
        RecClear(IVVc::Number, invoice);
        const uint32_t line = ImportLineNumber();
        (void)ImportTakeUnnumbered();
        if (!ReadInvoiceText(IVVc::Number, 1, invoice)) break;   // damaged: told at the end
        ImportResult.read++;
        if (ImportTakeUnnumbered()) {
            ImportCountUnnumbered(line);
            continue;
        }
        ImportShowProgress(invoice + IVVc::SerNr, FtLongOrEmpty);
        if (RecExists(IVVc::Number, invoice)) continue;   // passed over unchanged
        batch.emplace_back();
        if (!Keep(invoice, line, &batch.back())) {
            batch.pop_back();
            CountFailure(line);
            ImportAbortFlag = 1;
            break;
        }
        if (!StoreWithMasters(invoice)) {
            // The hold has failed: what it held is stored again below.
            EndHold(batch, before, invoice);
            inHold = 0;
        }
    }
    if (!batch.empty()) EndHold(batch, before, invoice);
    RecBufferFree(IVVc::Number, &h);
    if (ImportAbortFlag) return;
    ImportNextTag();
    ImportTagHeld();
}

// Forgets the last run's created records and lost invoices.
void ImportMastersForget() {
    ImportCreatedForget();
    OkInvoicesNotStored = OkInvoiceFailures{};
}

// Tells the invoices lost, then what the run created.
void ImportMastersReport() {
    const OkInvoiceFailures &f = OkInvoicesNotStored;
    if (f.count != 0) {
        PString tail = {0};
        ImportLineListText(f.lines, f.count, tail);
        ShowMessage(Texts::ImportOkInvoicesNotStored, tail);
    }
    ImportCreatedReport();
    OkInvoicesNotStored = OkInvoiceFailures{};
}
