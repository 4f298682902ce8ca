// import_dispatch.cpp - the import's steps: by import mode, and in mode 0
// by section tag through the dispatch table; the format line, whose date
// order and decimal separator hold while the file is read; and the skip of
// a section that no reader of this version takes.
#include <cstdlib>
#include <cstring>

#include "core/date.h"
#include "core/field_access.h"
#include "core/field_types.h"
#include "core/format_block.h"
#include "core/pstring.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "database/access/settings_blocks.h"
#include "dict_offsets.h"
#include "exchange/balance_sections.h"
#include "exchange/bank_payments_in.h"
#include "exchange/company_text.h"
#include "exchange/old_company_sections.h"
#include "exchange/old_master_sections.h"
#include "exchange/section_table.h"
#include "exchange/sie.h"
#include "exchange/text_exchange.h"
#include "exchange/ledger_text.h"
#include "shell/database_open.h"

namespace {

// The date order and decimal separator of the file's format line, put
// back after the file's own format block was stored.
struct FileFormatRec {
    bool known;
    uint16_t dateOrder;
    uint8_t decimalSep;
} FileFormat;

// The settings block that holds the date order and the decimal separator.
constexpr int FormatBlockNumber = 145;

// True when the current tag is exactly tag (cp1252 bytes).
bool TagIs(const char *tag)
{
    const uint8_t *cur = ImportCurrentTag();
    size_t n = std::strlen(tag);
    return cur[0] == n && std::memcmp(cur + 1, tag, n) == 0;
}

// Reads a text field of at most 10 characters as a number; false when
// the field is empty.
bool ReadNumberText(long *value)
{
    PString t = {0};
    if (!ImportReadField(t, FtText, 10) || t[0] == 0) return false;
    char c[12];
    std::memcpy(c, t + 1, t[0]);
    c[t[0]] = 0;
    char *end = nullptr;
    *value = std::strtol(c, &end, 10);
    if (end == c || *end != 0) {
        ImportDamage(ImportColumnNumber());
        return false;
    }
    return true;
}

// A settings block's section; the file's own format block keeps the
// stored values for the run's end and the file's for the rest of it. A
// format section that was not stored (damaged, or refused) changes
// neither: the run ends with the program's format as it was.
void ReadBlockSection(int block)
{
    int stored = SettingsBlockImport(block);
    if (block != FormatBlockNumber || stored != RecDone) return;
    SaveDateFormat();
    ImportResult.formatStored = true;
    if (!FileFormat.known) return;
    CurrentFormat->dateOrder = FileFormat.dateOrder;
    CurrentFormat->decimalSep[1] = FileFormat.decimalSep;
}

// Runs the reader of one table row on the section of the current tag.
void RunReader(const ImportTag &t)
{
    switch (t.reader) {
    case TagReader::Register: RegImportRecords(t.number, t.version, t.replace); return;
    case TagReader::Block: ReadBlockSection(t.number); return;
    case TagReader::Format: ImportFormat(); return;
    case TagReader::Header:
        ImportResult.seenHeader = true;
        ImportNextTag();
        ImportTagHeld();
        return;
    case TagReader::SeqNr: ImportSeqNr(); return;
    case TagReader::DefBlock: ReadDefBlockText(); return;
    case TagReader::YearCode: YearCodeImport(); return;
    case TagReader::KeyBlock: KeyBlockImport(); return;
    case TagReader::Group: GroupImport(); return;
    case TagReader::Vouchers: ImportVouchersText(); return;
    case TagReader::OldVouchers: ImportOldVouchersText(); return;
    case TagReader::Bfo: ImportBfoText(); return;
    case TagReader::OldCompany: CompanyOldImport(t.number == 3); return;
    case TagReader::NetSettings: NetSettingsImport(); return;
    case TagReader::Balances: BalanceSectionImport(t.number); return;
    case TagReader::OkInvoices: ImportInvoicesCreatingMasters(); return;
    case TagReader::OldCompany1: CompanyV1Import(); return;
    case TagReader::OldSeries: SeriesV1Import(); return;
    case TagReader::NoticeTexts: ReminderTextsImport(); return;
    case TagReader::NoticeStats: ReminderStatsImport(); return;
    case TagReader::SkipWhole: ImportSkipSection(); return;
    case TagReader::OldMasters: OldMasterSectionImport(OldMasterSection(t.number)); return;
    }
}

}  // namespace

// One step of the import by the job's import mode: mode 0 reads sections,
// mode 1 the whole file of incoming bank payments, mode 2 the whole SIE
// file, mode 3 makes the form definition named after the file; any other
// mode stops the import, told once.
void ImportTextStep(const ReportJob &job)
{
    int mode = job.selection ? GetU16(job.selection, ReportParamsVc::ReportNumber) : 0;
    if (mode == 0) {
        ImportTextSection();
        return;
    }
    if (mode == 1) {
        ImportBankPayments();
        return;
    }
    if (mode == 2) {
        ImportSieRun();
        return;
    }
    if (mode == 3) {
        ImportFileRecord();
        return;
    }
    ShowTextMessage(Texts::ImportSourceRefused);
    ImportAbortFlag = 1;
}

// Reads the sections the current tag starts: the tag is compared with the
// table's in order; a reader ends on the next section's tag, which the
// rows further down then see, so one call may read several sections. A
// tag no row takes skips its section whole; an empty one costs its line.
void ImportTextSection()
{
    bool matched = false;
    for (const ImportTag &t : ImportTags) {
        if (ImportAbortFlag) return;
        if (!TagIs(t.tag)) continue;
        matched = true;
        ImportResult.sectionsKnown++;
        RunReader(t);
    }
    if (ImportAbortFlag || ImportTagIsHeld()) return;
    if (!matched && ImportCurrentTag()[0] != 0) {
        ImportSkipSection();
        ImportTagIsHeld();   // the skip's mark is this step's
        return;
    }
    ImportNextTag();
}

// Reads the format line: the date order and the decimal separator's byte
// code (each when given) take effect for the rest of the file; the third
// value is the writer's byte-order flag.
void ImportFormat()
{
    ImportSkipLine();
    long value = 0;
    if (ReadNumberText(&value)) {
        FileFormat.known = true;
        CurrentFormat->dateOrder = uint16_t(value);
    }
    if (ImportAbortFlag) return;
    if (ReadNumberText(&value)) {
        FileFormat.known = true;
        CurrentFormat->decimalSep[1] = uint8_t(value);
    }
    if (ImportAbortFlag) return;
    FileFormat.dateOrder = CurrentFormat->dateOrder;
    FileFormat.decimalSep = CurrentFormat->decimalSep[1];
    int16_t flag = 0;
    if (ImportReadField(&flag, FtShort, 0)) ImportFileCharFlag = uint8_t(flag);
}

// Skips a section to its closing empty line, past any line whose first
// field would look like a tag, and reads the next section's tag.
void ImportSkipSection()
{
    while (ImportNextLineHasData()) {
    }
    if (ImportAbortFlag) return;
    ImportNextTag();
    ImportTagHeld();
}

// Forgets what the last file set for its own reading: its format line,
// and whether it carried number series for the voucher readers.
void ImportFormatForget()
{
    FileFormat = FileFormatRec{};
    ImportSeriesTest = false;
    // The fiscal year an older company section made belongs to its own
    // file: the next file's series rows take the company's year again.
    CurrentFiscalYear = CurrentFiscalYearRec{};
}
