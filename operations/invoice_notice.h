// invoice_notice.h - the reminder state of a sales invoice (how many
// reminders were sent and when the last one was), written back into the
// stored invoice by the reminder-statistics import and by the printing of
// a reminder.
#pragma once

#include <cstdint>

// What InvoiceNoticeStore did.
enum class NoticeResult : uint8_t {
    Stored,     // the stored invoice took the reminder count and date
    Missing,    // no invoice has that serial number
    Kept,       // the stored reminder date is later: the invoice is unchanged
    Failed,     // the invoice could not be read or stored (the hold failed)
};

// Writes the reminder count and the reminder date of invoice (a register 5
// record whose serial number names the stored invoice) into the stored
// invoice, unless the stored reminder date is later than the given one.
// Nothing else of the stored invoice changes.
NoticeResult InvoiceNoticeStore(const uint8_t *invoice);

// The reminder level of a register 5 record: its notice counter, 0 when
// the counter says no reminder was sent (-1 or -2).
int32_t NoticeLevel(const uint8_t *invoice);
// Raises the stored notice counter of invoice number by one with today's
// reminder date; the new count, 0 when the invoice is missing or could
// not be stored.
int32_t InvoiceNoticeCount(int32_t number);
