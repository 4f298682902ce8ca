// budget_sections.cpp - the older import sections of the ledger's
// amounts: opening balances ("insaldon2") into register-51 records of at
// most 99 rows, budgets of the two older layouts ("budg"/"budget" and
// "budg1v2") into register 20 with a row per month of the fiscal year, and
// the results of an older version ("fgres"), read and dropped.
//
// Line layouts (TAB-separated):
//   insaldon2  account, object code, three amounts (the first is used)
//   budg       account, objects, an amount (dropped), a text per month
//   budg1v2    account, objects (upper case, 30), name, total-valid,
//              texts-present, second-amount-valid, key code, total, an
//              amount (dropped), second amount, then the month texts
//   fgres      a text of 10, a text of 5, an amount, twelve amounts
#include "exchange/balance_sections.h"

#include <string>

#include "core/field_access.h"
#include "core/field_types.h"
#include "core/memblock.h"
#include "core/system.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "exchange/sie.h"
#include "exchange/text_exchange.h"
#include "rules/accounts.h"
#include "rules/ledger.h"
#include "exchange/ledger_text.h"
#include "rules/rules_types.h"
#include "rules/series_terms.h"

namespace {

// Lines of "fgres" between two renewals of the hold.
constexpr uint32_t ResultLinesPerHold = 20;

// A record buffer of a register, freed with its rows at the end of a reader.
struct Buffer {
    int reg;
    MemBlock handle = 0;
    uint8_t *record;
    explicit Buffer(int r) : reg(r), record(RecBufferNew(r, &handle)) {}
    ~Buffer()
    {
        if (record) RecBufferFree(reg, &handle);
    }
    Buffer(const Buffer &) = delete;
    Buffer &operator=(const Buffer &) = delete;
};

// Ends the import step's hold so that each record below is kept by its
// own; false (the import stopped) when what the hold held was not stored.
bool HoldFlush()
{
    if (DbHoldEnd()) return true;
    ImportFailedSteps++;
    ImportAbortFlag = 1;
    return false;
}

// Ends a reader: the hold open again for the import's end, the next tag read.
void SectionEnd()
{
    DbHoldBegin();
    if (ImportAbortFlag) return;
    ImportNextTag();
    ImportTagHeld();
}

// The opening-balance record being filled and the line its rows began on.
struct OpeningRecord {
    Buffer buffer{OpenBalVc::Number};
    DateRec date{};
    uint32_t firstLine = 0;
};

// Numbers the open record in its series on its date and stores it; a full
// series stores nothing and keeps the record's first line for the result.
// The record is emptied for the next rows.
void OpeningStore(OpeningRecord &o)
{
    uint8_t *r = o.buffer.record;
    if (MatrixRowCount(OpenBalVc::Number, 0, r) == 0) return;
    ImportResult.read++;
    const int32_t number = NextSerialNumber(OpenBalVc::Number, &o.date, 0, 0);
    if (number == NoFreeNumber) {
        ImportCountUnnumbered(o.firstLine);
    } else {
        PutDate(r, OpenBalVc::TransDate, o.date);
        PutI32(r, OpenBalVc::SerNr, number);
        if (StoreFb1Record(r)) {
            ImportResult.stored++;
        } else {
            PString key = {0};
            PStringFromView(key, std::to_string(number));
            ImportCountKept(key);
        }
    }
    RecFreeMatrix(OpenBalVc::Number, r);
    RecClear(OpenBalVc::Number, r);
}

// Reads month texts into the budget's rows, one a month of the fiscal year
// from its start, each amount blank; with texts false the rows are empty.
bool BudgetRows(uint8_t *budget, bool texts)
{
    DateRec start, end;
    const int months = ImportFiscalYear(&start, &end);
    uint8_t row[BUVc::Rows::Size];
    for (int m = 0; m < months; m++) {
        std::fill(std::begin(row), std::end(row), uint8_t(0));
        DateRec d = start;
        DateAddMonths(&d, m);
        PutDate(row, BUVc::Rows::FromDate, d);
        if (texts && !ImportReadField(row + BUVc::Rows::Text, FtText, 60)) return false;
        PackedDecimal blank;
        DecSetBlank(&blank);
        PutDec(row, BUVc::Rows::Amount, blank);
        if (!MatrixRowPut(BUVc::Number, 0, budget, m, row)) {
            ImportDamage(ImportColumnNumber());
            return false;
        }
    }
    return true;
}

// Spreads a budget read whole by its key, shows and stores it.
void BudgetStore(uint8_t *budget)
{
    DateRec start, end;
    ImportFiscalYear(&start, &end);
    PutDate(budget, BUVc::StartDate, start);
    PutDate(budget, BUVc::EndDate, end);
    BudgetRowsByKey(budget);
    ImportShowProgress(budget + BUVc::Account, FtText);
    ImportResult.read++;
    uint32_t recid = 0;
    if (RecStoreByKey(BUVc::Number, budget, 1, &recid)) ImportResult.stored++;
    else ImportCountKept(budget + BUVc::Account);
}

// Reads a budget line of either layout into a cleared record; false when
// the line is damaged.
bool BudgetLine(uint8_t *budget, bool second)
{
    PackedDecimal dropped;
    if (!second)
        return ImportReadField(budget + BUVc::Account, FtCodeNoSep, 10) &&
               ImportReadField(budget + BUVc::Objects, FtCodeNoSep, 5) &&
               ImportReadField(&dropped, FtAmount2, 0) && BudgetRows(budget, true);
    uint16_t totalValid = 0, texts = 0, secondValid = 0;
    if (!ImportReadField(budget + BUVc::Account, FtCodeNoSep, 10) || !ImportReadField(budget + BUVc::Objects, FtCode, 30) ||
        !ImportReadField(budget + BUVc::AccName, FtText, 60) || !ImportReadField(&totalValid, FtShort, 0) ||
        !ImportReadField(&texts, FtShort, 0) || !ImportReadField(&secondValid, FtShort, 0) ||
        !ImportReadField(budget + BUVc::KeyCode, FtCodeNoSep, 5) || !ImportReadField(budget + BUVc::Amount, FtAmount2, 0) ||
        !ImportReadField(&dropped, FtAmount2, 0) || !ImportReadField(budget + BUVc::Amount2, FtAmount2, 0) ||
        !BudgetRows(budget, texts != 0))
        return false;
    PackedDecimal blank;
    DecSetBlank(&blank);
    if (totalValid == 0) {
        PutDec(budget, BUVc::Amount, blank);
        PString none = {0};
        PutText(budget, BUVc::KeyCode, none);
    }
    if (secondValid == 0) PutDec(budget, BUVc::Amount2, blank);
    return true;
}

// Reads a budget section of either layout, a record a line.
void BudgetSection(bool second)
{
    Buffer b(BUVc::Number);
    if (!b.record) {
        ImportAbortFlag = 1;
        return;
    }
    while (!ImportAbortFlag && ImportNextLineHasData()) {
        RecFreeMatrix(BUVc::Number, b.record);
        RecClear(BUVc::Number, b.record);
        if (!BudgetLine(b.record, second)) return;   // damaged: told at the end
        BudgetStore(b.record);
    }
    if (ImportAbortFlag) return;
    ImportNextTag();
    ImportTagHeld();
}

}  // namespace

// The months of the current fiscal year: the company block's (an older
// company section read before puts the year it made there), else the year
// of the fiscal-year table that holds today.
int ImportFiscalYear(DateRec *start, DateRec *end)
{
    *start = *end = DateRec{};
    if (CompanyBlock) {
        *start = GetDate(CompanyBlock, CompanyBlk::YearStart);
        *end = GetDate(CompanyBlock, CompanyBlk::YearEnd);
    }
    if (DateIsEmpty(start) || DateIsEmpty(end)) {
        *start = *end = DateRec{};
        MemBlock rows = 0;
        uint8_t *data = nullptr;
        int32_t count = 0;
        if (SettingsBlockFetch(&rows, FiscalYearBlk::Number)) MemArrayLock(rows, FiscalYearEntry::Size, &data, &count);
        for (int32_t i = 0; data && i < count; i++) {
            const uint8_t *row = data + size_t(i) * FiscalYearEntry::Size;
            DateRec a = GetDate(row, FiscalYearEntry::StartDate), b = GetDate(row, FiscalYearEntry::EndDate);
            if (DateIsEmpty(&a) || DateIsEmpty(&b) || !DateInRange(&TodayDate, &a, &b)) continue;
            *start = a;
            *end = b;
            break;
        }
        if (data) MemUnlock(rows);
        MemFree(&rows);
    }
    if (DateIsEmpty(start) || DateIsEmpty(end) || DateCompare(start, end) > 0) return 0;
    return MonthIndex(end) - MonthIndex(start) + 1;
}

// Reads the opening balances: lines without an object code fill records
// of at most 99 rows dated the day before the fiscal year, each numbered
// and stored when full and the last at the section's end; lines with an
// object code, empty accounts and zero amounts add nothing. A record whose
// series is full is not stored and its first line is told; a company
// without a current fiscal year reads none (told).
void OpeningBalanceImport()
{
    if (!HoldFlush()) {
        DbHoldBegin();
        return;
    }
    OpeningRecord o;
    if (!o.buffer.record) {
        ImportAbortFlag = 1;
        DbHoldBegin();
        return;
    }
    DateRec start, end;
    if (ImportFiscalYear(&start, &end) == 0) {
        // Without a current year the records have no date: none is made.
        ShowTextMessage(Texts::OpeningNeedsFiscalYear);
        ImportSkipSection();
        DbHoldBegin();
        return;
    }
    DateAddDays(&start, -1, &o.date);
    while (!ImportAbortFlag && ImportNextLineHasData()) {
        PString account = {0}, objects = {0};
        PackedDecimal amount, dropped;
        const uint32_t line = ImportLineNumber();
        if (!ImportReadField(account, FtCodeNoSep, 10) || !ImportReadField(objects, FtCodeNoSep, 5) ||
            !ImportReadField(&amount, FtAmount2, 0) || !ImportReadField(&dropped, FtAmount2, 0) ||
            !ImportReadField(&dropped, FtAmount2, 0))
            break;   // damaged: the open record is not stored
        ImportShowProgress(account, FtText);
        if (objects[0] != 0 || account[0] == 0 || DecIsBlank(&amount) || DecIsZero(&amount)) continue;
        PString name = {0};
        if (!AccountNameOf(account, name, 60)) GetUiText(name, Texts::AccountNameMissing);
        if (MatrixRowCount(OpenBalVc::Number, 0, o.buffer.record) == 0) o.firstLine = line;
        AddOpeningBalanceRow(o.buffer.record, account, name, &amount);
        if (MatrixRowCount(OpenBalVc::Number, 0, o.buffer.record) >= OpeningRowsPerRecord) OpeningStore(o);
    }
    if (!ImportAbortFlag) OpeningStore(o);
    SectionEnd();
}

// "budg" and "budget": a budget of the oldest layout a line.
void BudgetImportOld()
{
    BudgetSection(false);
}

// "budg1v2": a budget of the second layout a line.
void BudgetImportV2()
{
    BudgetSection(true);
}

// Reads the result lines of an older version and shows each; none is
// stored. The hold is renewed every twenty lines.
void ResultImportSkip()
{
    uint32_t lines = 0;
    while (!ImportAbortFlag && ImportNextLineHasData()) {
        if (lines > 0 && lines % ResultLinesPerHold == 0) {
            const bool kept = HoldFlush();
            DbHoldBegin();   // the import's own end closes this one
            if (!kept) break;
        }
        lines++;
        PString code = {0}, object = {0};
        PackedDecimal amount;
        if (!ImportReadField(code, FtText, 10) || !ImportReadField(object, FtText, 5)) break;
        for (int i = 0; i < 13 && !ImportAbortFlag; i++)
            if (!ImportReadField(&amount, FtAmount2, 0)) break;
        if (ImportAbortFlag) break;
        ImportShowProgress(code, FtText);
    }
    if (ImportAbortFlag) return;
    ImportNextTag();
    ImportTagHeld();
}

// The reader of a balance row of the dispatch table.
void BalanceSectionImport(int which)
{
    switch (BalanceSection(which)) {
    case BalanceSection::Opening: OpeningBalanceImport(); return;
    case BalanceSection::BudgetOld: BudgetImportOld(); return;
    case BalanceSection::BudgetV2: BudgetImportV2(); return;
    case BalanceSection::ResultSkip: ResultImportSkip(); return;
    case BalanceSection::SerialBlock: SerialBlockImport(); return;
    }
    ImportSkipSection();
}
