// selective_exports.h - the export kinds that write plain lines or an item
// section for other systems: the open order rows (18), the customers'
// item statistics (27), the item information section (31) and the open
// purchase-order rows (33), and the record walk and item lookup they share
// with the invoice exports.
#pragma once

#include <cstdint>

#include "core/record_buffer.h"
#include "core/report_job.h"
#include "database/access/record_access.h"
#include "output/output_job.h"

void OpenOrderRowsExport(const ReportJob &job);       // kind 18
void CustomerItemStatsExport(const ReportJob &job);   // kind 27
void ItemInfoExport(const ReportJob &job);            // kind 31
void OpenPurchaseRowsExport(const ReportJob &job);    // kind 33

// Reads the item of code into item (a register-3 buffer whose rows it
// frees first) and the text of its attribute row "RUV" into text (empty
// when it has none); false, with an empty text, when the item is missing.
bool ItemAttribute(const uint8_t *code, uint8_t *item, uint8_t *text);

// Calls each(record) for the records of reg in the order of index from
// the first key at or after the key standing in record (its first parts
// key parts), until each answers false or the job stops. The record's
// rows are freed before every read and after the last.
template <typename Each>
void WalkIndexFrom(int reg, const char *index, uint8_t *record, int parts, Each each)
{
    uint32_t recid = 0, position = 0;
    bool found = RecFindByIndex(reg, index, record, parts, 0, &recid, &position) && position > 0;
    for (uint32_t pos = position; found && !OutputJobState.stopFlag; pos++) {
        RecFreeMatrix(reg, record);
        if (!RecReadAtIndex(reg, index, int32_t(pos), record, &recid)) break;
        if (!each(record)) break;
    }
    RecFreeMatrix(reg, record);
}
