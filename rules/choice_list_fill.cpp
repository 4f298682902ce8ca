// choice_list_fill.cpp - the lines of a choice list by list kind: the
// free numbers of a register's number series, the rows of a settings
// table, the connected sessions, a customer's contacts and the serial
// numbers of an item in stock.
//
// Most kinds list the rows of one row-table settings block, each line the
// row's code padded (or cut) to a fixed width followed by the row's text;
// RowLists describes them. A row's length bytes are clamped to their
// fields, and only whole rows are read, so a damaged block can neither
// make a line read past its row nor a row read past the block.
#include "rules/choice_list_fill.h"

#include <cassert>
#include <string>

#include "core/date.h"
#include "core/decimal.h"
#include "core/definitions.h"
#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "rules/print_services.h"
#include "rules/rules_types.h"
#include "rules/serial_numbers.h"
#include "rules/series_terms.h"

DateRec ChoiceListDate;
uint8_t ChoiceKey[32], ChoiceItem[32];

namespace {

// How a list kind over a row-table settings block makes its lines.
struct RowList {
    int kind;
    int block;
    uint32_t rowSize;
    int codeMax;         // the code field's longest text; 0: the line has no code
    int codeWidth;       // the code is padded or cut to this; 0: the code as it is
    const char *gap;     // what stands between code and text
    uint32_t textAt;
    int textMax;         // the text field's longest text
    MemBlock *cached;    // the bound handle of a cached block; null: fetched afresh
    int32_t rateAt = -1; // a percentage shown between code and text; -1: none
};

// Code widths and field lengths are the lines' layout and the fields'
// declared sizes in the dictionary.
const RowList RowLists[] = {
    {1, PaymentModeBlk::Number, PaymentModeBlk::Rows::Size, 1, 5, "", PaymentModeBlk::Rows::Name, 60, &PaymentModeRows},
    {10, PaymentModeBlk::Number, PaymentModeBlk::Rows::Size, 1, 5, "", PaymentModeBlk::Rows::Name, 60, &PaymentModeRows},
    {4, CurrencyBlk::Number, CurrencyBlk::Rows::Size, 5, 7, "", CurrencyBlk::Rows::Name, 60, nullptr},
    {5, LanguageBlk::Number, LanguageBlk::Rows::Size, 5, 7, "", LanguageBlk::Rows::Name, 60, nullptr},
    {7, PrintersBlk::Number, PrintersBlk::Rows::Size, 0, 0, "", PrintersBlk::Rows::Name, 20, &PrinterRows},
    {12, AssetGroupBlk::Number, AssetGroupBlk::Rows::Size, 5, 7, "", AssetGroupBlk::Rows::Text, 60, nullptr},
    {14, VatCodeBlk::Number, VatCodeBlk::Rows::Size, 2, 3, "", VatCodeBlk::Rows::Name, 30, &VatCodeRows,
     int32_t(VatCodeBlk::Rows::Rate)},
    {16, QuoteClassBlk::Number, QuoteClassBlk::Rows::Size, 5, 8, "", QuoteClassBlk::Rows::Name, 60, nullptr},
    {17, ContractClassBlk::Number, ContractClassBlk::Rows::Size, 5, 8, "", ContractClassBlk::Rows::Name, 60, nullptr},
    {19, ProdClassBlk::Number, ProdClassBlk::Rows::Size, 5, 8, "", ProdClassBlk::Rows::Name, 60, nullptr},
};
static_assert(PaymentModeBlk::Rows::Code == 0 && CurrencyBlk::Rows::Code == 0 && LanguageBlk::Rows::Code == 0 &&
                  AssetGroupBlk::Rows::Group == 0 && VatCodeBlk::Rows::Code == 0 && QuoteClassBlk::Rows::Code == 0 &&
                  ContractClassBlk::Rows::Code == 0 && ProdClassBlk::Rows::Code == 0,
              "every row list's code stands at the row's start");

// The width a contact's line is padded to: its text field's length.
constexpr int ContactLineWidth = 60;
// The longest item code of the serial-number stock.
constexpr int ItemCodeMax = 20;
// The longest customer code a contact is kept under.
constexpr int ContactKeyMax = 20;

// The rows of a block that is not cached, fetched from the database for
// one scope and freed when it ends. count holds whole rows only.
struct FetchedRows {
    MemBlock handle = 0;
    uint8_t *data = nullptr;
    int32_t count = 0;
    FetchedRows(int block, uint32_t rowSize) {
        if (!SettingsBlockFetch(&handle, block) || !handle) return;
        MemArrayLock(handle, rowSize, &data, &count);
        if (!data) count = 0;
    }
    ~FetchedRows() {
        if (data) MemUnlock(handle);
        MemFree(&handle);
    }
    FetchedRows(const FetchedRows &) = delete;
    FetchedRows &operator=(const FetchedRows &) = delete;
};

// Appends src to line padded with blanks or cut to width characters.
void AppendFixed(uint8_t *line, const uint8_t *src, int width) {
    assert(width > 0 && width < 256);
    PString cut, field;
    PStringCopy(cut, src);
    if (cut[0] > width) cut[0] = (uint8_t)width;
    PStringPadRight(field, cut, ' ', width);
    PStringAppend(line, field);
}

// Adds the line of one row of a row list.
void AddRowLine(MsgBuffer *reply, const RowList &list, const uint8_t *row) {
    PString line, part;
    line[0] = 0;
    if (list.codeMax > 0) {
        GetPString(row, 0, list.codeMax, part);
        if (list.codeWidth > 0) AppendFixed(line, part, list.codeWidth);
        else PStringAppend(line, part);
        PStringAppendC(line, list.gap);
    }
    if (list.rateAt >= 0) {
        // The rate as the code's row holds it ("25,00 %"), so that codes of
        // like names are told apart by what they charge.
        PackedDecimal rate = GetDec(row, uint32_t(list.rateAt));
        PString digits;
        digits[0] = 0;
        if (!DecIsBlank(&rate)) DecFormat(&rate, 2, digits);
        PStringAppend(line, digits);
        PStringAppendC(line, digits[0] ? " %   " : "   ");
    }
    GetPString(row, list.textAt, list.textMax, part);
    PStringAppend(line, part);
    ChoiceListAddLine(reply, line);
}

// Lists every whole row of a row list's block.
void FillRowList(MsgBuffer *reply, const RowList &list) {
    assert(list.textAt < list.rowSize);
    if (list.cached) {
        SettingsRows rows(list.block, list.cached, list.rowSize);
        for (int32_t i = 0; i < rows.count; i++) AddRowLine(reply, list, rows.data + (size_t)i * list.rowSize);
        return;
    }
    FetchedRows rows(list.block, list.rowSize);
    for (int32_t i = 0; i < rows.count; i++) AddRowLine(reply, list, rows.data + (size_t)i * list.rowSize);
}

// Kind 0: for each series row of reg valid on the choice date, the next
// free number of its range, 8 blanks and the row's text. A row whose
// range is blank, out of order or used up adds nothing.
void FillSeriesList(MsgBuffer *reply, int reg) {
    int block = SeriesBlockOfRegister(reg);
    if (block == 0) return;
    FetchedRows rows(block, SeriesRow::Size);
    const DateRec &date = ChoiceListDate;
    for (int32_t i = 0; i < rows.count; i++) {
        const uint8_t *row = rows.data + (size_t)i * SeriesRow::Size;
        int32_t first = GetI32(row, SeriesRow::FirstNr), last = GetI32(row, SeriesRow::LastNr);
        if (first < 0 || last < first) continue;
        DateRec from = GetDate(row, SeriesRow::ValidFrom), to = GetDate(row, SeriesRow::ValidTo);
        if (!DateIsEmpty(&from) && DateCompare(&date, &from) < 0) continue;
        if (!DateIsEmpty(&to) && DateCompare(&date, &to) > 0) continue;
        int32_t next = NextFreeSerialNumber(reg, first, last, &date);
        if (next == NoFreeNumber) continue;
        PString line, text;
        PStringFromC(line, std::to_string(next).c_str());
        PStringAppendC(line, "        ");
        GetText(row, SeriesRow::Text, text);
        PStringAppend(line, text);
        ChoiceListAddLine(reply, line);
    }
}

// Kind 8: each period of block 136 as "from:to".
void FillPeriodList(MsgBuffer *reply) {
    SettingsRows rows(PeriodsBlk::Number, &Block136Rows, PeriodsBlk::Rows::Size);
    for (int32_t i = 0; i < rows.count; i++) {
        const uint8_t *row = rows.data + (size_t)i * PeriodsBlk::Rows::Size;
        DateRec from = GetDate(row, PeriodsBlk::Rows::FromDate), to = GetDate(row, PeriodsBlk::Rows::ToDate);
        PString line, text;
        DateToText(&from, line);
        PStringAppendChar(line, ':');
        DateToText(&to, text);
        PStringAppend(line, text);
        ChoiceListAddLine(reply, line);
    }
}

// Kind 13: the user name of every session that has one. The session's
// user name stands for the network's session label.
void FillSessionList(MsgBuffer *reply) {
    for (int i = 0; i < SessionUserEntries; i++) {
        const uint8_t *entry = SessionUserEntry(i);
        if (!entry) continue;
        PString name;
        GetPString(entry, SU::FullName, 20, name);
        if (name[0] > 0) ChoiceListAddLine(reply, name);
    }
}

// Kind 15: the text of every contact kept under ChoiceKey, padded to its
// field's width, from the first such contact on.
void FillContactList(MsgBuffer *reply) {
    RuleRecord probe(ContactVc::Number);
    if (!probe.record || RegRecordSize(ContactVc::Number) < ContactVc::Size) return;
    PString key;
    GetPString(ChoiceKey, 0, ContactKeyMax, key);
    PutText(probe.record, ContactVc::CustCode, key);
    uint32_t recid = 0, position = 0;
    bool found = RecFind(ContactVc::Number, probe.record, 1, 0, &recid, &position);
    while (found) {
        PString code, text, line;
        GetText(probe.record, ContactVc::CustCode, code);
        if (!PStringEqual(code, key)) break;
        GetText(probe.record, ContactVc::Name, text);
        PStringPadRight(line, text, ' ', ContactLineWidth);
        ChoiceListAddLine(reply, line);
        uint32_t previous = recid;   // browsing past the last record stays on it
        found = RecBrowseNext(ContactVc::Number, probe.record, &recid, "") && recid != previous;
    }
}

}  // namespace

// Adds the lines of list kind `kind` for register reg (read by kind 0
// only) through ChoiceListAddLine: locally into the current choice list,
// at a server into reply. Kinds without lines (2, 3, 6, 9, 11, and any
// outside 0..19) add nothing; without a list to add to (none installed)
// the user is told and nothing is read.
void FillChoiceList(MsgBuffer *reply, int kind, int reg) {
    if (!ChoiceListReady()) return;
    for (const RowList &list : RowLists) {
        if (list.kind == kind) {
            FillRowList(reply, list);
            return;
        }
    }
    switch (kind) {
    case 0: FillSeriesList(reply, reg); break;
    case 8: FillPeriodList(reply); break;
    case 13: FillSessionList(reply); break;
    case 15: FillContactList(reply); break;
    case 18: FillSerialChoiceList(ChoiceItem, 0, reply); break;
    default: break;
    }
}

// Adds the serial text of every stock record of the item (a PString)
// whose quantity is at least 1, walking the serial-number stock from the
// item's first record until another item begins. The second argument is
// not read.
void FillSerialChoiceList(const uint8_t *item, int /*unused*/, MsgBuffer *reply) {
    assert(item);
    RuleRecord probe(SerialStockVc::Number);
    if (!probe.record || RegRecordSize(SerialStockVc::Number) < SerialStockVc::Size) return;
    PString code;
    GetPString(item, 0, ItemCodeMax, code);
    PutText(probe.record, SerialStockVc::ItemCode, code);
    PackedDecimal one;
    DecFromLong(&one, 1);
    uint32_t recid = 0, position = 0;
    bool found = RecFind(SerialStockVc::Number, probe.record, 1, 0, &recid, &position);
    while (found) {
        PString at, serial;
        GetText(probe.record, SerialStockVc::ItemCode, at);
        if (!PStringEqual(at, code)) break;
        PackedDecimal quantity = GetDec(probe.record, SerialStockVc::Quantity);
        if (!DecIsBlank(&quantity) && DecCompare(&quantity, &one) >= 0) {
            GetText(probe.record, SerialStockVc::SerialNr, serial);
            ChoiceListAddLine(reply, serial);
        }
        uint32_t previous = recid;   // browsing past the last record stays on it
        found = RecBrowseNext(SerialStockVc::Number, probe.record, &recid, "") && recid != previous;
    }
}
