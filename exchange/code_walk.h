// code_walk.h - the walk of the line exports over a register in the order
// of its first index (a code), from the first code of a range to its last.
#pragma once

#include <cstdint>

#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "exchange/text_exchange.h"
#include "output/output_job.h"

// Calls each(record, code) for every record of reg from the first record
// whose code (at codeAt, at most codeMax characters) is not below from through
// the last not above to (an empty to: the register's end), until the job
// stops; each writes its fields, the walk ends the line and shows the code.
template <typename Each>
void WalkCodeRange(int reg, uint32_t codeAt, int codeMax, const uint8_t *from, const uint8_t *to, Each each)
{
    MemBlock h = 0;
    uint8_t *record = RecBufferNew(reg, &h);
    if (!record) return;
    RecFieldPut(reg, record, codeAt, from);
    uint32_t recid = 0, position = 0;
    bool found = RecFind(reg, record, 1, 0, &recid, &position) && position > 0;
    for (uint32_t pos = position; found && !OutputJobState.stopFlag; pos++) {
        RecFreeMatrix(reg, record);
        if (!RecReadAt(reg, int32_t(pos), record, &recid)) break;
        PString code;
        GetPString(record, codeAt, codeMax, code);
        if (to[0] != 0 && PStringCompareNoCase(code, to) > 0) break;
        each(static_cast<const uint8_t *>(record), static_cast<const uint8_t *>(code));
        ExportLineFeed();
        ExportNumber(code, FtText);
    }
    RecFreeMatrix(reg, record);
    RecBufferFree(reg, &h);
}
