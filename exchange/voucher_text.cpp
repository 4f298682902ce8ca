// voucher_text.cpp - the vouchers' sections of the text exchange: the
// export of a selection of vouchers ("trans3") and the writer and reader
// of one voucher, shared by "trans3", "trans4" and the older "transfix".
//
// A voucher is its head line and one line per row; a row line of an
// account row starts with the account, any other row (and an account row
// without an account) with an empty field and its row type.
#include <cassert>
#include <cstring>

#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "database/access/record_access.h"
#include "exchange/text_exchange.h"
#include "output/output_job.h"
#include "rules/ledger.h"
#include "exchange/ledger_text.h"
#include "rules/series_terms.h"

namespace {

namespace R = TransRow;

// The head after its serial number.
constexpr Column HeadRest[] = {
    {Voucher::RegDate, FtDate, 0},    {Voucher::Text, FtText, 60},  {Voucher::TransDate, FtDate, 0},
    {Voucher::Code, FtCodeNoSep, 5},  {Voucher::Text2, FtText, 20}, {Voucher::YearCode, FtShort, 0},
};
// An account row after its account; the old layout ends after the flag.
constexpr Column AccountRest[] = {
    {R::Objects, FtCode, 30}, {R::Text, FtText, 60},    {R::Amount, FtAmount2, 0},
    {R::Flag, FtShort, 0},    {R::VatCode, FtText, 2},  {R::Amount2, FtAmount2, 0},
};
constexpr size_t AccountRestOld = 4;
// A dated row after its type; a link row's and a reference row's before
// their year code.
constexpr Column DatedRest[] = {{R::Date, FtDate, 0}, {R::Code, FtCodeNoSep, 5}, {R::Date2, FtDate, 0}};
constexpr Column LinkRest[] = {{R::LinkSerNr, FtLongOrEmpty, 0}, {R::LinkDate, FtDate, 0}};
constexpr Column ReferenceRest[] = {{R::LinkSerNr, FtLongOrEmpty, 0}};

// Rows one voucher may bring; more is damage.
constexpr int32_t MaxVoucherRows = 65535;

// A serial number a voucher asks to be given on its import.
constexpr uint32_t SerialWanted = 0xFFFFFFFEu;

// Writes one row line of the voucher.
void WriteVoucherRow(const uint8_t *row)
{
    static const uint8_t empty[1] = {0};
    uint16_t kind = GetU16(row, R::Kind);
    if (kind == RowAccount && row[R::Account] != 0) {
        ExportValue(row + R::Account, FtCodeNoSep);
        WriteColumns(AccountRest, row);
        return;
    }
    // An empty first field announces the row type, also for an account
    // row without an account: its line is never empty, nor read as a type.
    ExportText(empty);
    ExportValue(row + R::Kind, FtShort);
    switch (kind) {
    case RowAccount: WriteColumns(AccountRest, row); break;
    case RowDated: WriteColumns(DatedRest, row); break;
    case RowLink:
        WriteColumns(LinkRest, row);
        ExportValue(row + R::LinkYearCode, FtShort);
        break;
    case RowReference:
        WriteColumns(ReferenceRest, row);
        ExportValue(row + R::LinkYearCode, FtShort);
        break;
    default: break;
    }
}

// Reads a link or reference row's year code (a 32-bit number); a missing
// one takes the voucher's code.
bool ReadLinkYearCode(uint8_t *row, uint16_t voucherCode)
{
    uint8_t value[4];
    FieldClear(value, FtLongOrEmpty, 0);
    if (!ImportReadField(value, FtLongOrEmpty, 0)) return false;
    uint32_t code;
    std::memcpy(&code, value, 4);
    PutU16(row, R::LinkYearCode, code >= SerialWanted ? voucherCode : uint16_t(code));
    return true;
}

// Reads an account row's fields after its account; the old layout has
// none after the flag, so its VAT code and second amount stay empty.
bool ReadAccountRest(uint8_t *row, bool old)
{
    if (!old) return ReadColumns(AccountRest, row, R::Size);
    FieldClear(row + R::Amount2, FtAmount2, 0);
    return ReadColumns(std::span<const Column>(AccountRest, AccountRestOld), row, R::Size);
}

// Reads one row line into a zeroed row: an account row unless its first
// field is empty, then the row type and the type's fields. False: damaged.
bool ReadVoucherRow(uint8_t *row, const uint8_t *voucher, bool old)
{
    PutU16(row, R::Kind, RowAccount);
    PutU16(row, R::Flag, 0);
    if (!ImportReadField(row + R::Account, FtCodeNoSep, 10)) return false;
    if (row[R::Account] != 0) return ReadAccountRest(row, old);
    if (!ImportReadField(row + R::Kind, FtShort, 0)) return false;
    uint16_t kind = GetU16(row, R::Kind);
    uint16_t voucherCode = GetU16(voucher, Voucher::YearCode);
    switch (kind) {
    case RowAccount: return ReadAccountRest(row, old);   // an account row with no account
    case RowDated: {
        if (!ReadColumns(DatedRest, row, R::Size)) return false;
        DateRec second = GetDate(row, R::Date2);
        if (DateIsEmpty(&second)) PutDate(row, R::Date2, GetDate(voucher, Voucher::TransDate));
        return true;
    }
    case RowLink: return ReadColumns(LinkRest, row, R::Size) && ReadLinkYearCode(row, voucherCode);
    case RowReference: return ReadColumns(ReferenceRest, row, R::Size) && ReadLinkYearCode(row, voucherCode);
    default:
        // Rows of other types keep only their type.
        std::memset(row, 0, R::Size);
        PutU16(row, R::Kind, kind);
        return true;
    }
}

// True when the voucher's key lies beyond the last one of the selection.
bool BeyondLast(const uint8_t *voucher, uint16_t codeTo, int32_t nrTo)
{
    if (codeTo == 0) return false;
    uint16_t code = GetU16(voucher, Voucher::YearCode);
    if (code > codeTo) return true;
    return code == codeTo && nrTo >= 0 && GetU32(voucher, Voucher::SerNr) > uint32_t(nrTo);
}

// True when date lies between from and to; an empty end is open.
bool InDateRange(const DateRec *date, const DateRec *from, const DateRec *to)
{
    if (!DateIsEmpty(from) && DateCompare(date, from) < 0) return false;
    if (!DateIsEmpty(to) && DateCompare(date, to) > 0) return false;
    return true;
}

}  // namespace

// Writes the vouchers of the export's selection as one "trans3" section:
// the first selection text is a range of voucher references ("A.1:A.40"),
// the second date range of the report limits the transaction dates. The
// vouchers are walked by year code and number from the first reference;
// the walk stops at the end, at Esc, or past the last reference.
void ExportVouchersText(const ReportJob &job)
{
    uint8_t range[256];
    GetText(job.selection, ReportParamsVc::SelText1, range);
    uint16_t codeFrom = 0, codeTo = 0;
    int32_t nrFrom = -1, nrTo = -1;
    if (range[0]) ParseVoucherRefRange(range, &codeFrom, &codeTo, &nrFrom, &nrTo);
    DateRec from = GetDate(job.selection, ReportParamsVc::Date2From);
    DateRec to = GetDate(job.selection, ReportParamsVc::Date2To);

    RuleRecord v(Voucher::Number);
    if (!v.record) {
        OutputJobState.stopFlag = 1;
        return;
    }
    PutU16(v.record, Voucher::YearCode, codeFrom);
    PutU32(v.record, Voucher::SerNr, nrFrom > 0 ? uint32_t(nrFrom) : 0);
    uint32_t recid = 0, position = 0;
    bool written = false;
    if (RecFindByIndex(Voucher::Number, "Number", v.record, 2, 0, &recid, &position)) {
        for (int32_t p = int32_t(position); OutputJobState.stopFlag == 0; p++) {
            RecClear(Voucher::Number, v.record);
            if (!RecReadAtIndex(Voucher::Number, "Number", p, v.record, &recid)) break;
            if (range[0] && BeyondLast(v.record, codeTo, nrTo)) break;
            DateRec date = GetDate(v.record, Voucher::TransDate);
            if (!InDateRange(&date, &from, &to)) continue;
            if (!written) {
                ExportCString("trans3");
                RepLineFeed();
                written = true;
            }
            WriteVoucherText(v.record);
            RepLineFeed();
            ExportNumber(v.record + Voucher::SerNr, FtLongOrEmpty);
        }
    }
    if (written) RepLineFeed();
}

// Writes one voucher: its head line, a line end, and each row's line with
// its line end. The record's closing line end is the caller's.
void WriteVoucherText(const uint8_t *voucher)
{
    assert(voucher);
    ExportValue(voucher + Voucher::SerNr, FtLongOrEmpty);
    WriteColumns(HeadRest, voucher);
    RepLineFeed();
    uint8_t row[R::Size];
    int32_t count = MatrixRowCount(Voucher::Number, 0, voucher);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowGet(Voucher::Number, 0, voucher, i, row)) break;
        WriteVoucherRow(row);
        RepLineFeed();
    }
}

// Reads one voucher into a cleared record: a serial field starting with
// "S" asks for the next number of the voucher's transaction date; an empty
// transaction date takes the entry date. Version VoucherTextOld reads
// account rows without their VAT code and second amount. The voucher is
// balanced. False: damaged, or no number was free (told).
bool ReadVoucherText(uint8_t *voucher, int version)
{
    assert(voucher);
    uint8_t serial[256];
    if (!ImportReadField(serial, FtText, 255)) return false;
    bool wanted = serial[0] > 0 && (serial[1] == 'S' || serial[1] == 's');
    if (wanted) {
        PutU32(voucher, Voucher::SerNr, SerialWanted);
    } else if (!FieldFromText(voucher + Voucher::SerNr, FtLongOrEmpty, 0, serial)) {
        ImportDamage(ImportColumnNumber());
        return false;
    }
    if (!ReadColumns(HeadRest, voucher, Voucher::Size)) return false;
    DateRec trans = GetDate(voucher, Voucher::TransDate);
    if (DateIsEmpty(&trans)) {
        trans = GetDate(voucher, Voucher::RegDate);
        PutDate(voucher, Voucher::TransDate, trans);
    }
    if (GetU16(voucher, Voucher::YearCode) < YearCodeMin) PutU16(voucher, Voucher::YearCode, YearCodeOfDate(&trans));
    if (wanted) {
        int32_t number = NextSerialNumber(Voucher::Number, &trans, 0, 0);
        if (number == NoFreeNumber) {
            ShowTextMessage(Texts::ImportVoucherSeriesFull);
            ImportAbortFlag = 1;
            return false;
        }
        PutU32(voucher, Voucher::SerNr, uint32_t(number));
    }
    bool old = version == VoucherTextOld;
    uint8_t row[R::Size];
    for (int32_t count = 0; ImportNextLineHasData(); count++) {
        std::memset(row, 0, sizeof row);
        if (!ReadVoucherRow(row, voucher, old)) return false;
        if (count >= MaxVoucherRows || !MatrixRowPut(Voucher::Number, 0, voucher, count, row)) {
            ImportDamage(1);
            return false;
        }
    }
    BalanceVoucher(voucher);
    return true;
}
