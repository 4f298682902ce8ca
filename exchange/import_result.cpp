// import_result.cpp - what an import run counts, and what it tells the
// user at its end: vouchers not stored, accounts created, the damaged line,
// sections this version skipped, records kept or refused, effects not
// done, codes refused; and
// whether the file was an export of this program at all.
#include <algorithm>
#include <cstdio>
#include <iterator>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "dict_offsets.h"
#include "exchange/bank_payments_in.h"
#include "exchange/old_company_sections.h"
#include "exchange/run_outcome.h"
#include "exchange/section_readers.h"
#include "exchange/sie.h"
#include "exchange/text_exchange.h"
#include "rules/ledger.h"

ImportResultRec ImportResult;

namespace {

// Set by a reader for the record it just read; taken by the store.
bool UnnumberedPending;

// Shows text n completed by a tail (PString, may be null).
void TellWith(int n, const uint8_t *tail)
{
    PString text = {0};
    GetUiText(text, n);
    if (tail) PStringAppend(text, tail);
    ShowMessage(0, text);
}

// Shows text n completed by a formatted number text.
void TellNumbers(int n, const char *numbers)
{
    PString tail = {0};
    PStringFromC(tail, numbers);
    TellWith(n, tail);
}

}  // namespace

void ImportRefuseUnnumbered()
{
    UnnumberedPending = true;
}

bool ImportTakeUnnumbered()
{
    bool was = UnnumberedPending;
    UnnumberedPending = false;
    return was;
}

// Counts a record refused for a full series, read from line on.
void ImportCountUnnumbered(uint32_t line)
{
    uint32_t &n = ImportResult.unnumbered;
    if (n < std::size(ImportResult.unnumberedLines)) ImportResult.unnumberedLines[n] = line;
    n++;
}

// Clears what the last run counted before a new one: the result, the
// voucher flags, the renewed holds, the file's format line, the "not
// built" notice.
void ResetImportFlags()
{
    ImportResult = ImportResultRec{};
    ImportResult.voucherLockAtStart = VoucherLockDate();
    UnnumberedPending = false;
    VoucherOutsideYearsFlag = false;
    LockedVouchers = LockedVoucherTally{};
    AccountsCreatedFlag = false;
    ImportHoldsRenewed = 0;
    ImportFormatForget();
    SieImportResult = SieImportResultRec{};
    BankImportResult = BankImportResultRec{};
    ImportMastersForget();
}

// How many kept records the result names; the message says ", ..." for more.
constexpr uint32_t KeptNamed = 3;

void ImportCountKept(const uint8_t *key)
{
    if (++ImportResult.kept > KeptNamed) return;
    uint8_t *names = ImportResult.keptNames;
    if (names[0] != 0) PStringAppendC(names, ", ");
    PStringAppend(names, ImportCurrentTag());
    PStringAppendC(names, " ");
    PStringAppend(names, key);
}

void ImportLineListText(std::span<const uint32_t> kept, uint32_t count, uint8_t *tail)
{
    char n[16];
    tail[0] = 0;
    uint32_t shown = std::min<uint32_t>(count, uint32_t(kept.size()));
    for (uint32_t i = 0; i < shown; i++) {
        std::snprintf(n, sizeof n, i == 0 ? "%u" : ", %u", unsigned(kept[i]));
        PStringAppendC(tail, n);
    }
    if (count > shown) PStringAppendC(tail, ", ...");
}

// Tells what the run did not do as asked, one message for each kind. A
// run of sections (import mode 0) that went to the file's end without
// meeting one tag an export of this program writes read a file of
// another kind: it is marked as no export, for the caller to tell with
// the file's name. So is one whose damage (a binary file's control bytes,
// its last line without a line end) came before any such tag: that it is
// no export says more than where its bytes went wrong.
void ReportImportResult(const ReportJob &job)
{
    int mode = job.selection ? GetU16(job.selection, ReportParamsVc::ReportNumber) : 0;
    ImportResult.notAnExport = mode == 0 && ImportResult.sectionsKnown == 0 &&
                               (!ImportAbortFlag || ImportResult.damageLine != 0);
    char n[64];
    if (VoucherOutsideYearsFlag) ShowTextMessage(Texts::ImportVouchersOutsideYears);
    if (LockedVouchers.count != 0) {
        // What the voucher window says of the date, then what was left out.
        PString text = {0}, tail = {0};
        GetUiText(text, Texts::DateLocked);
        PStringAppendChar(text, ' ');
        GetUiText(tail, Texts::ImportVouchersLocked);
        PStringAppend(text, tail);
        std::snprintf(n, sizeof n, "%u (%u)", unsigned(LockedVouchers.count), unsigned(LockedVouchers.first));
        PStringAppendC(text, n);
        ShowMessage(0, text);
    }
    if (AccountsCreatedFlag) ShowTextMessage(Texts::ImportAccountsCreated);
    if (ImportResult.damageLine != 0 && !ImportResult.notAnExport) {
        std::snprintf(n, sizeof n, "%u, %u", unsigned(ImportResult.damageLine), unsigned(ImportResult.damageColumn));
        TellNumbers(Texts::ImportDamaged, n);
    }
    if (ImportResult.kept != 0) {
        // Keeping the newer stored copy is the import working as meant:
        // information, not a fault.
        PString text = {0};
        GetUiText(text, Texts::ImportRecordsKept);
        std::snprintf(n, sizeof n, "%u (", unsigned(ImportResult.kept));
        PStringAppendC(text, n);
        PStringAppend(text, ImportResult.keptNames);
        PStringAppendC(text, ImportResult.kept > KeptNamed ? ", ...)" : ")");
        RunInfoMessage(text);
    }
    SieReportResult();
    if (mode == 1) BankImportReport();
    if (ImportResult.refused != 0) {
        PString tail = {0};
        std::snprintf(n, sizeof n, "%u (", unsigned(ImportResult.refused));
        PStringAppendC(tail, n);
        PStringAppend(tail, ImportResult.firstRefusedTag);
        PStringAppendC(tail, ")");
        TellWith(Texts::ImportRecordsRefused, tail);
    }
    if (ImportResult.unnumbered != 0) {
        PString tail = {0};
        ImportLineListText(ImportResult.unnumberedLines, ImportResult.unnumbered, tail);
        TellWith(Texts::ImportSeriesFull, tail);
    }
    ImportEffectsReport();
    ImportMastersReport();
    if (ImportResult.longBfoObject[0] != 0) TellWith(Texts::ImportBfoObjectTooLong, ImportResult.longBfoObject);
    if (ImportResult.badGroupSelector != 0) {
        std::snprintf(n, sizeof n, "%u", unsigned(ImportResult.badGroupSelector));
        TellNumbers(Texts::ImportBadGroupSelector, n);
    }
    ImportOutcomeTell(mode);
}

// The line the run leaves on the status strip: what it read, stored and
// kept, or that it stopped. A bank file (mode 1) counts its payments, an
// SIE file (mode 2) its lines and the records they stored.
void ImportOutcomeTell(int mode)
{
    const bool bank = mode == 1, sie = mode == 2;
    const uint32_t read = bank ? BankImportResult.read : sie ? SieImportResult.read : ImportResult.read;
    const uint32_t stored = bank ? BankImportResult.stored : sie ? SieImportResult.stored : ImportResult.stored;
    if (ImportAbortFlag) {
        RunOutcomeTell(RunTextNumber(Texts::OutcomeImportStopped, read));
        return;
    }
    std::string line = RunTextNumber(Texts::OutcomeImportRead, read) + RunTextNumber(Texts::OutcomeStored, stored);
    if (!bank && !sie && ImportResult.kept != 0) line += RunTextNumber(Texts::OutcomeKept, ImportResult.kept);
    RunOutcomeTell(line + ".");
}
