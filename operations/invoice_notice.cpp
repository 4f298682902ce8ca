// invoice_notice.cpp - writes an invoice's reminder count and date back
// into its stored record: the stored invoice is read by its serial number
// and only the two reminder fields are copied, so that a reminder never
// changes an invoice's amounts or rows (a posted invoice keeps them).
#include "operations/invoice_notice.h"

#include <cassert>

#include "core/date.h"
#include "core/system.h"
#include "core/field_access.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "rules/rules_types.h"

// Reads the invoice by serial number through its serial index, compares
// the reminder dates and rewrites it in place (no hooks: only the
// reminder fields, which a posted invoice may change, are touched).
NoticeResult InvoiceNoticeStore(const uint8_t *invoice)
{
    assert(invoice);
    RuleRecord stored(IVVc::Number);
    if (!stored.record) return NoticeResult::Failed;
    PutU32(stored.record, IVVc::SerNr, GetU32(invoice, IVVc::SerNr));
    uint32_t recid = 0, position = 0;
    if (!RecFindByIndex(IVVc::Number, "SerNr", stored.record, 1, 1, &recid, &position) || recid == 0)
        return NoticeResult::Missing;
    DateRec was = GetDate(stored.record, IVVc::NoticeDate), given = GetDate(invoice, IVVc::NoticeDate);
    if (DateCompare(&was, &given) > 0) return NoticeResult::Kept;
    PutU32(stored.record, IVVc::NoticeCount, GetU32(invoice, IVVc::NoticeCount));
    PutDate(stored.record, IVVc::NoticeDate, given);
    if (!RecStore(IVVc::Number, stored.record, 1, &recid)) {
        DbHoldFail();
        return NoticeResult::Failed;
    }
    return NoticeResult::Stored;
}

// The reminder level of invoice: its counter, where -1 or -2 means no
// reminder yet.
int32_t NoticeLevel(const uint8_t *invoice) {
    int32_t n = GetI32(invoice, IVVc::NoticeCount);
    return n == -1 || n == -2 ? 0 : n;
}

// Raises the stored notice counter of invoice number by one with today's
// reminder date; the new count, 0 when the invoice is missing or could
// not be stored.
int32_t InvoiceNoticeCount(int32_t number) {
    RuleRecord inv(IVVc::Number);
    if (!inv.record) return 0;
    PutI32(inv.record, IVVc::SerNr, number);
    uint32_t recid = 0, position = 0;
    if (!RecFindByIndex(IVVc::Number, "SerNr", inv.record, 1, 1, &recid, &position)) return 0;
    int32_t count = NoticeLevel(inv.record) + 1;
    TodayToGlobals();
    PutI32(inv.record, IVVc::NoticeCount, count);
    PutDate(inv.record, IVVc::NoticeDate, TodayDate);
    DbHoldBegin();
    NoticeResult result = InvoiceNoticeStore(inv.record);
    bool stored = DbHoldEnd() && result == NoticeResult::Stored;
    RecFreeMatrix(IVVc::Number, inv.record);
    return stored ? count : 0;
}
