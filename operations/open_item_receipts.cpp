// open_item_receipts.cpp - batch routine 21: customer open items written
// off by receipts. Each open item the selection takes adds a pair of rows
// to an unposted receipt: one that pays the invoice with nothing and a
// fee row for its whole open amount, so that posting the receipt closes
// the item against the fee account. A receipt holds at most 92 rows;
// the next pair starts another.
#include <cassert>

#include "core/date.h"
#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/system.h"
#include "core/text_range.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "operations/batch_routines.h"
#include "operations/customer_receipt.h"
#include "rules/payment_kinds.h"
#include "rules/rules_types.h"
#include "rules/series_terms.h"
#include "rules/vat_currency.h"

namespace {

namespace Item = ARVc;
namespace Receipt = IPVc;
namespace Row = IPVc::Rows;

// A receipt is stored before a pair would take it past this many rows.
constexpr int32_t RowsBeforeFull = 90;
constexpr int TextNoReceiptNumber = 12500;

// What the run was asked; an empty text or a zero means "any".
struct WriteOffRun {
    uint8_t custFrom[256], custTo[256];
    bool byCustomer;
    int32_t serialFrom, serialTo;
    bool bySerial;
    int32_t days;
    PackedDecimal limit;
    bool limited;
};

WriteOffRun ReadRun(const ReportJob &job)
{
    WriteOffRun run{};
    uint8_t text[256];
    GetText(job.selection, ReportParamsVc::SelText1, text);
    run.byCustomer = text[0] != 0;
    if (run.byCustomer) RangeSplit(text, run.custFrom, run.custTo);
    GetText(job.selection, ReportParamsVc::SelText3, text);
    run.bySerial = text[0] != 0;
    run.serialFrom = run.serialTo = -1;
    if (run.bySerial) RangeSplitNumber(text, &run.serialFrom, &run.serialTo);
    run.days = GetI32(job.selection, ReportParamsVc::NumberFrom);
    run.limit = GetDec(job.selection, ReportParamsVc::Amount1);
    run.limited = !DecIsZero(&run.limit);
    return run;
}

bool Takes(const WriteOffRun &run, const uint8_t *item)
{
    uint8_t code[256];
    GetText(item, Item::CustCode, code);
    if (run.byCustomer) {
        if (run.custFrom[0] != 0 && PStringCompare(code, run.custFrom) < 0) return false;
        if (run.custTo[0] != 0 && PStringCompare(code, run.custTo) > 0) return false;
    }
    int32_t serial = GetI32(item, Item::InvoiceNr);
    if (run.bySerial) {
        if (run.serialFrom >= 0 && serial < run.serialFrom) return false;
        if (run.serialTo >= 0 && serial > run.serialTo) return false;
    }
    if (run.days > 0) {
        DateRec date = GetDate(item, Item::DueDate);
        if (DateDiffDays(&TodayDate, &date) <= run.days) return false;
    }
    PackedDecimal open = GetDec(item, Item::OpenAmount);
    if (DecIsBlank(&open) || DecIsNegative(&open)) return false;
    return !run.limited || DecCompare(&open, &run.limit) < 0;
}

// A new receipt being built: no rows, no number yet.
void StartReceipt(uint8_t *receipt)
{
    RecClear(Receipt::Number, receipt);
    RecNewDefaults(Receipt::Number, receipt);
    PutU32(receipt, Receipt::SerNr, SerialNone);
}

}  // namespace

bool StoreWriteOffReceipt(uint8_t *receipt)
{
    assert(receipt);
    PutDate(receipt, Receipt::TransDate, TodayDate);
    PutDate(receipt, Receipt::RegDate, TodayDate);
    int32_t hint = 0;
    if (SeriesStateBlock) hint = GetI32(SeriesStateBlock, SeriesDefaultsBlk::ReceiptHint);
    int32_t serial = NextSerialNumber(Receipt::Number, &TodayDate, hint, 0);
    if (serial == NoFreeNumber) {
        ShowMessage(TextNoReceiptNumber, nullptr);
        return false;
    }
    PutU32(receipt, Receipt::SerNr, uint32_t(serial));
    DocRowsTotal(receipt);
    uint32_t recid = 0;
    if (!RecInsertUnchecked(Receipt::Number, receipt, &recid)) {
        ShowTextMessage(Texts::RecordNotStored);
        return false;
    }
    StartReceipt(receipt);
    return true;
}

bool ReceiptFromOpenItems(uint8_t *receipt, const uint8_t *item)
{
    assert(receipt && item);
    if (MatrixRowCount(Receipt::Number, 0, receipt) > RowsBeforeFull && !StoreWriteOffReceipt(receipt))
        return false;
    uint8_t row[Row::Size] = {}, text[256];
    PutU32(row, Row::InvoiceNr, GetU32(item, Item::InvoiceNr));
    GetText(item, Item::CustCode, text);
    PutText(row, Row::CustCode, text);
    PutDate(row, Row::PayDate, TodayDate);
    GetText(item, Item::CustName, text);
    PutText(row, Row::Text, text);
    DateRec date = GetDate(item, Item::DueDate);
    PutI32(row, Row::Link, DateDiffDays(&date, &TodayDate));
    PackedDecimal zero;
    DecSetZero(&zero);
    PutU16(row, Row::Kind, uint16_t(PaidRowKind::Paid));
    PutDec(row, Row::Amount, zero);
    int32_t at = MatrixRowCount(Receipt::Number, 0, receipt);
    if (!MatrixRowPut(Receipt::Number, 0, receipt, at, row)) return false;
    PutU16(row, Row::Kind, uint16_t(PaidRowKind::Fee));
    PutDec(row, Row::Amount, GetDec(item, Item::OpenAmount));
    return MatrixRowPut(Receipt::Number, 0, receipt, at + 1, row);
}

bool ReceiptsFromOpenItems(const ReportJob &job)
{
    assert(job.selection);
    const WriteOffRun run = ReadRun(job);
    RuleRecord item(Item::Number), receipt(Receipt::Number);
    if (!item.record || !receipt.record) return false;
    StartReceipt(receipt.record);
    uint32_t recid = 0, position = 0;
    if (RecFind(Item::Number, item.record, 1, 0, &recid, &position)) {
        for (uint32_t p = position;; p++) {
            if (p != position && !RecReadAt(Item::Number, int32_t(p), item.record, &recid)) break;
            if (UserCancelFlag) break;
            if (!Takes(run, item.record)) continue;
            if (!ReceiptFromOpenItems(receipt.record, item.record)) return false;
        }
    }
    if (MatrixRowCount(Receipt::Number, 0, receipt.record) == 0) return true;
    return StoreWriteOffReceipt(receipt.record);
}
