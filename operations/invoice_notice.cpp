// invoice_notice.cpp - writes an invoice's reminder count and date back
// into its stored record: the stored invoice is read by its serial number
// and only the two reminder fields are copied, so that a reminder never
// changes an invoice's amounts or rows (a posted invoice keeps them).
#include "operations/invoice_notice.h"

#include <cassert>

#include "core/date.h"
#include "core/field_access.h"
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
