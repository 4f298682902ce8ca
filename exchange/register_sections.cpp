// register_sections.cpp - the sections of one register: all its records,
// the records of a number range or a key range, and the reading of a
// section back into the register.
//
// An export section is its tag line, one record after another (each
// ending its line) and an empty line; a register with nothing to write
// writes no section at all, not even its tag.
#include <cassert>

#include "core/definitions.h"
#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/text_range.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "database/access/register_hooks.h"
#include "dict_offsets.h"
#include "exchange/section_table.h"
#include "exchange/text_exchange.h"
#include "output/output_job.h"
#include "rules/ledger.h"
#include "rules/record_key_text.h"
#include "shell/database_open.h"
#include "shell/login.h"

uint32_t ImportHoldRecords = 10;
uint32_t ImportHoldsRenewed;

bool ImportRenewHold()
{
    ImportHoldsRenewed++;
    bool ok = DbHoldEnd();
    DbHoldBegin();   // the run's own end closes this one
    if (ok) return true;
    ImportFailedSteps++;
    ImportAbortFlag = 1;
    return false;
}
bool (*ExportMayRead)(int reg) = nullptr;
bool (*ExportMayWriteVerifiers)() = nullptr;
bool ExportRescueRunning = false;

// Whether the running export has told that it left a register out.
static bool LeftOutTold = false;

void ExportRightsReset() { LeftOutTold = false; }

bool ExportReadsRegister(int reg)
{
    bool may = ExportMayRead ? ExportMayRead(reg) : MayReadRegisterHere(reg);
    if (!may && !LeftOutTold) {
        LeftOutTold = true;
        ShowTextMessage(Texts::ExportLeftOut);
    }
    return may;
}

bool ExportWritesVerifiers()
{
    if (ExportRescueRunning) return true;
    return ExportMayWriteVerifiers ? ExportMayWriteVerifiers() : AdministratorHere();
}

namespace {

// Answers whether a record read at a position ends the walk.
using WalkEnd = bool (*)(int reg, const uint8_t *record, const void *limit);

// Writes the records of reg from position `from` on, until a position has
// no record, end says so or the job stops; the tag line before the first
// record written, the empty line after the last.
void ExportFrom(int reg, uint32_t from, uint32_t to, WalkEnd end, const void *limit)
{
    if (!ExportReadsRegister(reg)) return;   // a register the user may not read: no section
    MemBlock h = 0;
    uint8_t *record = RecBufferNew(reg, &h);
    if (!record) return;
    uint32_t written = 0;
    for (uint32_t pos = from; pos <= to && !OutputJobState.stopFlag; pos++) {
        uint32_t recid = 0;
        RecFreeMatrix(reg, record);
        if (!RecReadAt(reg, int32_t(pos), record, &recid)) {
            if (end) break;   // a range walk ends at the first gap
            continue;         // a whole register passes over it
        }
        if (end && end(reg, record, limit)) break;
        if (written++ == 0) ExportRegisterHeader(reg);
        WriteRecordText(reg, record);
        ExportLineFeed();
        PString key = {0};
        RecordKeyText(reg, record, key);
        ExportNumber(key, FtText);
    }
    if (written) ExportLineFeed();
    RecBufferFree(reg, &h);
}

// The first position whose key is at or after the key the record holds.
bool FirstAtOrAfter(int reg, uint8_t *record, uint32_t *position)
{
    uint32_t recid = 0;
    *position = 0;
    if (!RecFind(reg, record, 1, 0, &recid, position) || *position == 0) return false;
    return true;
}

// A range walk without an upper end ends only at the first gap.
bool NoEnd(int, const uint8_t *, const void *)
{
    return false;
}

// A number-range walk ends at the first number above the last.
bool NumberAbove(int reg, const uint8_t *record, const void *limit)
{
    uint32_t offset = RegIndexInfo(reg, nullptr, nullptr, nullptr);
    return GetU32(record, offset) > *static_cast<const uint32_t *>(limit);
}

// A key-range walk ends at the first key above the to text, case aside.
bool KeyAbove(int reg, const uint8_t *record, const void *limit)
{
    uint16_t type = 0, length = 0;
    uint32_t offset = RegIndexInfo(reg, nullptr, &type, &length);
    PString key = {0};
    GetPString(record, offset, length, key);
    return PStringCompareNoCase(key, static_cast<const uint8_t *>(limit)) > 0;
}

}  // namespace

// Writes every record of a register in the order of its current index.
void RegExportAll(int reg)
{
    uint32_t count = RegOpenCount(reg);
    if (count == 0) return;
    ExportFrom(reg, 1, count, nullptr, nullptr);
}

// Writes the records of the register the export window names whose serial
// number lies in the first selection's range (export kind 29).
void RegExportNumberRange(const ReportJob &job)
{
    if (!job.selection) return;
    int reg = GetU16(job.selection, ReportParamsVc::ExportWord);
    if (reg <= 0 || RegRecordSize(reg) == 0) return;
    int32_t first = -1, last = -1;
    RangeSplitNumber(job.selection + ReportParamsVc::SelText1, &first, &last);
    uint32_t top = last < 0 ? 0xFFFFFFFFu : uint32_t(last);
    MemBlock h = 0;
    uint8_t *probe = RecBufferNew(reg, &h);
    if (!probe) return;
    PutU32(probe, RegIndexInfo(reg, nullptr, nullptr, nullptr), first < 0 ? 0 : uint32_t(first));
    uint32_t position = 0;
    bool found = FirstAtOrAfter(reg, probe, &position);
    RecBufferFree(reg, &h);
    if (!found) return;
    ExportFrom(reg, position, 0xFFFFFFFFu, top == 0xFFFFFFFFu ? NoEnd : NumberAbove, &top);
}

// Writes the records whose key lies in the first selection's key range.
void RegExportKeyRange(const ReportJob &job, int reg)
{
    if (reg <= 0 || !job.selection || RegRecordSize(reg) == 0) return;
    PString from = {0}, to = {0};
    RangeSplit(job.selection + ReportParamsVc::SelText1, from, to);
    MemBlock h = 0;
    uint8_t *probe = RecBufferNew(reg, &h);
    if (!probe) return;
    RecFieldPut(reg, probe, RegIndexInfo(reg, nullptr, nullptr, nullptr), from);
    uint32_t position = 0;
    bool found = FirstAtOrAfter(reg, probe, &position);
    RecBufferFree(reg, &h);
    if (!found) return;
    ExportFrom(reg, position, 0xFFFFFFFFu, to[0] == 0 ? NoEnd : KeyAbove, to);
}

namespace {

// Counts a record of a register whose rules are not built: read to pass
// over its lines, not stored, told at the end of the run.
void CountRefused(int reg)
{
    if (ImportResult.refused++ == 0) RegisterTextTag(reg, ImportResult.firstRefusedTag);
}

}  // namespace

// Reads the records of one section and stores them; the hold is renewed
// every ImportHoldRecords records. A damaged record is not stored and the
// reader stops; a hold that fails stops the import. The records of a
// register whose rules are not built are read without their effects and
// refused (RegisterRulesWaiting). A voucher, draft or person entry dated
// in the voucher lock the company had when the import began is left out
// and counted for the closing message, as the voucher imports leave
// theirs out. Ends on the next tag.
void RegImportRecords(int reg, uint16_t version, uint8_t replace)
{
    assert(ImportHoldRecords > 0);
    MemBlock h = 0;
    uint8_t *record = RecBufferNew(reg, &h);
    if (!record) {
        ImportAbortFlag = 1;
        return;
    }
    const bool waiting = RegisterRulesWaiting(reg);
    uint32_t inSection = 0;
    while (!ImportAbortFlag && ImportNextLineHasData()) {
        if (inSection > 0 && inSection % ImportHoldRecords == 0 && !ImportRenewHold()) break;
        inSection++;
        RecFreeMatrix(reg, record);
        RecClear(reg, record);
        const uint32_t line = ImportLineNumber();
        (void)ImportTakeUnnumbered();
        if (!ReadRecordText(reg, version, record, waiting ? ReadTextOnly : 0)) break;   // damaged: told at the end
        if (ImportTakeUnnumbered()) {
            ImportResult.read++;
            ImportCountUnnumbered(line);
            continue;
        }
        PString key = {0};
        RecordKeyText(reg, record, key);
        ImportShowProgress(key, FtText);
        ImportResult.read++;
        uint32_t sequence = PendingImportSeqNr;
        PendingImportSeqNr = 0;
        RecPendingSequence = 0;
        bool failed = false;
        if (waiting) CountRefused(reg);
        else if (LedgerRecordDatedIn(reg, record, ImportResult.voucherLockAtStart)) CountLockedVoucher(reg, record);
        else if (RecImportStore(reg, record, replace, sequence, &failed)) ImportResult.stored++;
        else if (!failed) ImportCountKept(key);
        else {
            // A refused store fails the whole hold: nothing read since
            // its start is stored, so the import stops here.
            ImportFailedSteps++;
            ImportAbortFlag = 1;
        }
    }
    RecBufferFree(reg, &h);
    if (ImportAbortFlag) return;
    ImportNextTag();
    ImportTagHeld();
}
