// import_run.cpp - the record import loop and the serial numbers of the
// text exchange.
//
// The reading and writing of text values belong to the text exchange,
// which installs its entries in SettingsText (settings_blocks.h). With an
// entry missing, an import reads nothing and an export writes nothing.
#include "shell/database_open.h"

#include "core/date.h"
#include "core/field_access.h"
#include "core/file_form.h"
#include "core/pstring.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "database/access/remote_calls.h"
#include "database/access/settings_blocks.h"
#include "database/access/write_gate.h"
#include "output/output_job.h"
#include "shell/company.h"

uint32_t PendingImportSeqNr;

// The import mode of the import's job: 0 reads the first section tag
// itself, 2 (the SIE file) and 3 import in a single step.
static int ImportMode()
{
    const uint8_t *job = CurrentJobRecord();
    return job ? GetU16(job, ReportParamsVc::ReportNumber) : 0;
}

// The record import loop: each step of the reader runs in its own hold,
// between a quick flush at the start and a full one at the end, so an
// import of many records does not sync after each. Steps whose hold
// failed are counted in ImportFailedSteps. The import is asked of the
// user's rights first, as a server asks a client's (RunWrites): refused,
// it reads nothing and counts as failed.
void ImportRun()
{
    RunWrites run(ReqImportRun, 0, CurrentJobRecord());
    if (run.refused) {
        ImportFailedSteps = 1;
        return;
    }
    SaveDateFormat();
    ImportBufferBegin();
    DbFlushQuick();
    ImportFailedSteps = 0;
    const SettingsTextExchange &x = SettingsText;
    if (ImportMode() == 0 && x.importReadTag) x.importReadTag();
    // Without a reader there is nothing to read: the import is at its end.
    // Mode 3 reads nothing of the file, and mode 2 checks the whole file
    // before it stores anything: their one step runs for an empty file
    // too (the SIE file then refuses it).
    const bool oneStep = ImportMode() == 2 || ImportMode() == 3;
    while (x.importAtEnd && x.importTextStep && (oneStep || !x.importAtEnd())) {
        DbHoldBegin();
        x.importTextStep();
        if (!DbHoldEnd()) ImportFailedSteps++;
        if (oneStep) break;
    }
    DbFlushFull();
    ImportBufferEnd();
    RestoreDateFormat();
}

// Writes a register's header line to the export file: its section tag,
// in the file's character set, and a line feed. A register without a tag
// writes nothing.
void ExportRegisterHeader(int reg)
{
    const SettingsTextExchange &x = SettingsText;
    if (!x.registerTextTag || !x.exportText || !x.exportLineFeed) return;
    PString tag;
    tag[0] = 0;
    x.registerTextTag(reg, tag);
    if (tag[0] == 0) return;
    if (ByteOrder.program == 1) TranslateChars(tag, ConvertToFile);
    x.exportText(tag);
    x.exportLineFeed();
}

// Writes "seqnr", the serial as a 32-bit value and a line feed: the
// write serial of the record or block that follows, by which an import
// tells which copy is newer.
void ExportSeqNr(uint32_t serial)
{
    const SettingsTextExchange &x = SettingsText;
    if (!x.exportCString || !x.exportLong || !x.exportLineFeed) return;
    x.exportCString("seqnr");
    x.exportLong(serial);
    x.exportLineFeed();
}

// Reads a serial number for the next import store, which compares it
// with the stored record's; the reader then moves on to the next tag.
void ImportSeqNr()
{
    const SettingsTextExchange &x = SettingsText;
    if (!x.importReadLong) return;
    PendingImportSeqNr = x.importReadLong();
    RecPendingSequence = PendingImportSeqNr;   // what the record layer's store reads
    if (x.importTagHeld) x.importTagHeld();
    if (x.importNextTag) x.importNextTag();
}

// Batch routine that does nothing.
void MaintenanceNoOp() {}
