// old_master_sections.cpp - the readers of the older and partial sections of
// the text import: persons by code ("signs1", "salesman", "anv"), item
// prices ("price1"), the old price-list definition ("prislista1"), the
// purchase series numbers of block 132 ("levSR1"), number-series rows by
// document kind ("serier3", "verserier") and the form definition of
// import mode 3. Each reads the lines of its section and ends on the next
// section's tag; a damaged column stops the import there.
#include "exchange/old_master_sections.h"

#include <cstring>
#include <iterator>

#include "core/date.h"
#include "core/decimal.h"
#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "exchange/company_text.h"
#include "exchange/section_readers.h"
#include "exchange/text_exchange.h"
#include "rules/documents.h"
#include "exchange/ledger_text.h"
#include "rules/rules_types.h"
#include "rules/series_terms.h"
#include "shell/company.h"
#include "shell/database_open.h"

namespace {

// Lines of "price1" between two renewals of the hold.
constexpr uint32_t PriceLinesPerHold = 10;

// The columns after the code of each person section.
const Column SignsColumns[] = {{PEVc::Name, FtText, 60}};
const Column SalesmanColumns[] = {
    {PEVc::Name, FtText, 60}, {PEVc::Word156, FtShort, 0}, {PEVc::CommPrc, FtAmount2, 0}};
const Column AnvColumns[] = {
    {PEVc::Name, FtText, 60},        {PEVc::Password, FtText, 20}, {PEVc::AccessCode, FtCodeNoSep, 5},
    {PEVc::FullName, FtText, 20},    {PEVc::Series1, FtLong, 0},   {PEVc::Series2, FtLong, 0},
    {PEVc::Series3, FtLong, 0},      {PEVc::Series4, FtLong, 0},   {PEVc::Series5, FtLong, 0},
    {PEVc::Series6, FtLong, 0},      {PEVc::Series7, FtLong, 0},   {PEVc::Series8, FtLong, 0},
    {PEVc::Word156, FtShort, 0},
};

// The columns of "levSR1" into block 132.
const Column PurchaseSeriesColumns[] = {
    {SeriesDefaultsBlk::Long64, FtLong, 0},         {SeriesDefaultsBlk::OutPayStart, FtLong, 0},
    {SeriesDefaultsBlk::PurchInvStart, FtLong, 0},  {SeriesDefaultsBlk::Long76, FtLong, 0},
    {SeriesDefaultsBlk::LastVendorCode, FtCodeNoSep, 20}, {SeriesDefaultsBlk::LastPurchInvDate, FtDate, 0},
};

// The code "prislista1" gives its one definition.
constexpr char OldPriceListCode[] = "2";

// After a section's last line: reads the next section's tag. From within
// a line, passes over the rest of the section first.
void SectionEnd(bool withinLine)
{
    while (withinLine && !ImportAbortFlag && ImportNextLineHasData()) {
    }
    if (ImportAbortFlag) return;
    ImportNextTag();
    ImportTagHeld();
}

// Reads a person section: per line the code, then cols into the stored
// person of that code (its other fields kept) or into a new one. A line
// with an empty code stores nothing.
void PersonSection(std::span<const Column> cols)
{
    MemBlock h = 0;
    uint8_t *person = RecBufferNew(PEVc::Number, &h);
    if (!person) {
        ImportAbortFlag = 1;
        return;
    }
    while (!ImportAbortFlag && ImportNextLineHasData()) {
        RecFreeMatrix(PEVc::Number, person);
        RecClear(PEVc::Number, person);
        PString code = {0};
        if (!ImportReadField(code, FtCodeNoSep, 5)) break;
        PutText(person, PEVc::Code, code);
        uint32_t recid = 0, position = 0;
        bool found = code[0] != 0 && RecFind(PEVc::Number, person, 1, 1, &recid, &position);
        if (!found) {
            RecClear(PEVc::Number, person);
            PutText(person, PEVc::Code, code);
        }
        if (!ReadColumns(cols, person, PEVc::Size)) break;
        ImportShowProgress(code, FtText);
        if (code[0] == 0) continue;
        if (!RecStore(PEVc::Number, person, found ? 1 : 0, &recid)) DbHoldFail();
    }
    RecFreeMatrix(PEVc::Number, person);
    RecBufferFree(PEVc::Number, &h);
    SectionEnd(false);
}

// Parses a "price1" text into an item's amount field; an empty text
// leaves the field as it was. False: damaged.
bool PriceColumn(uint8_t *item, uint32_t at, const uint8_t *text)
{
    return text[0] == 0 || ParseColumn(item + at, FtAmount2, 0, text);
}

// The dates a series row read now is valid between: the fiscal year an
// older company section of this file made, else the company's own.
void CurrentYearDates(DateRec *from, DateRec *to)
{
    *from = CurrentFiscalYear.start;
    *to = CurrentFiscalYear.end;
    if (!DateIsEmpty(from)) return;
    *from = GetDate(CompanyBlock, CompanyBlk::YearStart);
    *to = GetDate(CompanyBlock, CompanyBlk::YearEnd);
}

}  // namespace

void OldMasterSectionImport(OldMasterSection which)
{
    switch (which) {
    case OldMasterSection::PurchaseSeries: PurchaseSeriesImport(); return;
    case OldMasterSection::UserOld: UserImportOld(); return;
    case OldMasterSection::Salesman: SalesmanImport(); return;
    case OldMasterSection::UserAnv: UserImportAnv(); return;
    case OldMasterSection::ItemPrices: ItemPriceImport(); return;
    case OldMasterSection::PriceListOld: PriceListImportOld(); return;
    case OldMasterSection::Series: SeriesImport(false); return;
    case OldMasterSection::SeriesWithFlag: SeriesImport(true); return;
    }
    ImportSkipSection();
}

// "signs1": code and name of each person.
void UserImportOld()
{
    PersonSection(SignsColumns);
}

// "salesman": code, name, the word at 156 and the commission percent.
void SalesmanImport()
{
    PersonSection(SalesmanColumns);
}

// "anv": code, name, password, access code, full name, the eight series
// choices and the word at 156.
void UserImportAnv()
{
    PersonSection(AnvColumns);
}

// "price1": per line an item code and four texts; of an item that exists
// the first text sets the base price, the third the cost price and the
// fourth the added cost (an empty text changes nothing; the second is not
// used). Lines of unknown items change nothing. The hold is renewed every
// ten lines.
void ItemPriceImport()
{
    MemBlock h = 0;
    uint8_t *item = RecBufferNew(INVc::Number, &h);
    if (!item) {
        ImportAbortFlag = 1;
        return;
    }
    uint32_t lines = 0;
    while (!ImportAbortFlag && ImportNextLineHasData()) {
        if (lines > 0 && lines % PriceLinesPerHold == 0 && !ImportRenewHold()) break;
        lines++;
        RecFreeMatrix(INVc::Number, item);
        RecClear(INVc::Number, item);
        PString code = {0};
        uint8_t texts[4][256];
        if (!ImportReadField(code, FtCodeNoSep, 20)) break;
        bool read = true;
        for (auto &t : texts) read = read && ReadTextColumn(t);
        if (!read) break;
        ImportShowProgress(code, FtText);
        PutText(item, INVc::Code, code);
        uint32_t recid = 0, position = 0;
        if (code[0] == 0 || !RecFind(INVc::Number, item, 1, 1, &recid, &position)) continue;
        if (!PriceColumn(item, INVc::BasePrice, texts[0]) || !PriceColumn(item, INVc::CostPrice, texts[2]) ||
            !PriceColumn(item, INVc::AddCost, texts[3]))
            break;
        if (!RecStore(INVc::Number, item, 1, &recid)) DbHoldFail();
    }
    RecFreeMatrix(INVc::Number, item);
    RecBufferFree(INVc::Number, &h);
    SectionEnd(false);
}

// "prislista1": the line after the tag holds a text and a number that
// are dropped, the name and whether the prices include VAT. They make
// price list "2" in the home currency; a stored list "2" keeps its rows.
void PriceListImportOld()
{
    if (!ImportNextLineHasData()) {
        SectionEnd(false);
        return;
    }
    MemBlock h = 0;
    uint8_t *list = RecBufferNew(PriceListVc::Number, &h);
    if (!list) {
        ImportAbortFlag = 1;
        return;
    }
    PString dropped = {0}, code = {0};
    int16_t word = 0;
    PStringFromC(code, OldPriceListCode);
    PutText(list, PriceListVc::Code, code);
    uint32_t recid = 0, position = 0;
    bool found = RecFind(PriceListVc::Number, list, 1, 1, &recid, &position);
    if (!found) {
        RecClear(PriceListVc::Number, list);
        PutText(list, PriceListVc::Code, code);
    }
    static const Column cols[] = {{PriceListVc::Name, FtText, 60}, {PriceListVc::InclVat, FtShort, 0}};
    if (ImportReadField(dropped, FtText, 60) && ImportReadField(&word, FtShort, 0) &&
        ReadColumns(cols, list, PriceListVc::Size)) {
        PutText(list, PriceListVc::CurncyCode, EmptyPString);
        ImportShowProgress(code, FtText);
        if (!RecStore(PriceListVc::Number, list, found ? 1 : 0, &recid)) DbHoldFail();
    }
    RecFreeMatrix(PriceListVc::Number, list);
    RecBufferFree(PriceListVc::Number, &h);
    SectionEnd(!ImportAbortFlag);
}

// "levSR1": the line after the tag holds four numbers, the last vendor
// code and the last purchase-invoice date of block 132; the block's other
// values are kept.
void PurchaseSeriesImport()
{
    if (!ImportNextLineHasData()) {
        SectionEnd(false);
        return;
    }
    uint8_t block[SeriesDefaultsBlk::Size] = {};
    if (!SettingsBlockRead(SeriesDefaultsBlk::Number, block, sizeof block)) std::memset(block, 0, sizeof block);
    if (!ReadColumns(PurchaseSeriesColumns, block, sizeof block)) return;
    ImportShowProgress(block + SeriesDefaultsBlk::LastVendorCode, FtText);
    if (SettingsBlockStore(SeriesDefaultsBlk::Number, block, sizeof block) != RecDone) DbHoldFail();
    SectionEnd(true);
}

// "serier3" and "verserier": per line a document kind, the first and last
// number, a dropped number and a text; the range is added, for the current
// fiscal year, to the series block of the kind's register unless it is
// there. A kind without a series block adds nothing.
void SeriesImport(bool withFlag)
{
    if (withFlag) ImportSeriesTest = true;
    DateRec from, to;
    CurrentYearDates(&from, &to);
    while (!ImportAbortFlag && ImportNextLineHasData()) {
        int16_t kind = 0;
        int32_t first = 0, last = 0, dropped = 0;
        PString text = {0};
        if (!ImportReadField(&kind, FtShort, 0) || !ImportReadField(&first, FtLong, 0) ||
            !ImportReadField(&last, FtLong, 0) || !ImportReadField(&dropped, FtLong, 0) ||
            !ImportReadField(text, FtText, 20))
            break;
        ImportShowProgress(&first, FtLong);
        int reg = RegisterOfDocKind(kind);
        if (reg <= 0 || SeriesBlockOfRegister(reg) == 0) continue;
        uint8_t row[SeriesRow::Size] = {};
        PutI32(row, SeriesRow::FirstNr, first);
        PutI32(row, SeriesRow::LastNr, last);
        PutDate(row, SeriesRow::ValidFrom, from);
        PutDate(row, SeriesRow::ValidTo, to);
        PutText(row, SeriesRow::Text, text);
        if (!InsertBlockRow(reg, row)) DbHoldFail();
    }
    SectionEnd(false);
}

// Import mode 3: a form definition named after the imported file, with no
// rows. A definition of that name is not replaced: its rows are the
// user's work.
bool ImportFileRecord()
{
    PString code = {0};
    FieldFromText(code, FtCodeNoSep, 20, ImportFileShortName);
    if (code[0] == 0) {
        ShowTextMessage(Texts::FormFileNoName);
        return false;
    }
    MemBlock h = 0;
    uint8_t *doc = RecBufferNew(DocVc::Number, &h);
    if (!doc) return false;
    RecClear(DocVc::Number, doc);
    PutText(doc, DocVc::Code, code);
    bool stored = false;
    if (RecExists(DocVc::Number, doc)) {
        ShowMessage(Texts::FormFileExists, code);
    } else {
        uint32_t recid = 0;
        stored = RecStoreByKey(DocVc::Number, doc, 0, &recid);
        if (!stored) DbHoldFail();
        ImportShowProgress(code, FtText);
    }
    RecFreeMatrix(DocVc::Number, doc);
    RecBufferFree(DocVc::Number, &h);
    return stored;
}
