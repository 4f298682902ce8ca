// sie_import.cpp - import mode 2: an SIE file read into the open company.
// The file is checked whole first (sie_check.cpp); only a file that
// passes is stored: company name, address and organisation number,
// fiscal years, accounts and their kinds, object types and objects,
// opening balances, the vouchers of #VER blocks, and the vouchers that
// type 1 (year balances) and type 2 (period balances) files give.
//
// A #VER voucher keeps its number within its series: "201".."210" name
// that fixed series, any other series the ledger series of the voucher's
// fiscal year. An empty or 0 number takes the next free one. A voucher
// that cannot be stored (its key exists, its date lies in no fiscal year)
// is counted and told after the import, with the first one named.
#include <climits>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "exchange/exchange.h"
#include "exchange/sie.h"
#include "exchange/text_exchange.h"
#include "rules/accounts.h"
#include "rules/ledger.h"
#include "rules/ledger_text.h"
#include "rules/rules_types.h"
#include "rules/series_terms.h"

SieImportResultRec SieImportResult;

namespace {

// The text an unknown account's name reads as.
constexpr int MissingAccountText = 1023;

// A record of a register with rows, freed with its rows at scope end.
struct OwnedRecord {
    int reg;
    MemBlock handle = 0;
    uint8_t *record = nullptr;
    explicit OwnedRecord(int r) : reg(r) { record = RecBufferNew(r, &handle); }
    ~OwnedRecord() { RecBufferFree(reg, &handle); }
    OwnedRecord(const OwnedRecord &) = delete;
    OwnedRecord &operator=(const OwnedRecord &) = delete;
};

struct SieImportState {
    long type = 1;
    bool previousYear = false;
    DateRec curStart{}, curEnd{}, prevStart{}, prevEnd{}, opening{};
    std::vector<std::unique_ptr<OwnedRecord>> periodVouchers;
    std::unique_ptr<OwnedRecord> curVoucher, prevVoucher, openingRecord;
} S;

void PString60(const std::string &s, uint8_t *p) { SieToPString(s.size() > 255 ? s.substr(0, 255) : s, p); }

DateRec DayBefore(const DateRec &d)
{
    DateRec r = d;
    DateAddDays(&d, -1, &r);
    return r;
}

void StoreCompany()
{
    if (SettingsBlockStore(CompanyBlk::Number, CompanyBlock, CompanyBlk::Size) != RecDone) DbHoldFail();
}

void PutText(uint8_t *record, uint32_t offset, int max, const std::string &s)
{
    PString p;
    PString60(s, p);
    PutPString(record, offset, max, p);
}

// Counts a voucher not stored; the first is named by series and number.
void NotStored(const std::string &series, int32_t number)
{
    if (SieImportResult.notStored++ == 0) SieImportResult.firstNotStored = series + " " + std::to_string(number);
}

// The next serial number of reg on date from its series; a company
// without series rows takes the number after the highest stored.
int32_t SerialFor(int reg, const DateRec *date)
{
    int32_t number = NextSerialNumber(reg, date, 0, 0);
    if (number <= 0) number = NextFreeSerialNumber(reg, 1, INT32_MAX, date);
    return number;
}

// Numbers a voucher that has no number yet and stores it; counted when
// not stored.
void NumberAndStore(uint8_t *voucher, const std::string &series)
{
    int32_t number = int32_t(GetU32(voucher, TRVc::SerNr));
    if (number <= 0) {
        DateRec date = GetDate(voucher, TRVc::TransDate);
        number = SerialFor(TRVc::Number, &date);
        PutU32(voucher, TRVc::SerNr, uint32_t(number));
    }
    if (number <= 0 || !StoreVoucher(voucher)) NotStored(series, number);
}

// A year voucher of type 1 (cleared on first use).
uint8_t *YearVoucher(std::unique_ptr<OwnedRecord> &v)
{
    if (!v) v = std::make_unique<OwnedRecord>(TRVc::Number);
    return v->record;
}

void AddRow(uint8_t *voucher, const std::string &account, const std::string &objects, const std::string &text,
            const PackedDecimal &amount, const PackedDecimal *amount2)
{
    PString a, o, t;
    SieToPString(account, a);
    SieToPString(objects, o);
    SieToPString(text, t);
    int32_t before = MatrixRowCount(TRVc::Number, 0, voucher);
    AddVoucherRow(voucher, a, o, EmptyPString, t, &amount, 0, true, nullptr);
    if (amount2 && !DecIsZero(amount2) && MatrixRowCount(TRVc::Number, 0, voucher) > before)
        MatrixFieldPut(TRVc::Number, voucher, before, TransRow::Amount2, amount2);
}

bool AccountRead(const std::string &code, uint8_t *ac)
{
    RecClear(ACVc::Number, ac);
    PutText(ac, ACVc::Code, 10, code);
    uint32_t recid = 0, position = 0;
    return RecFind(ACVc::Number, ac, 1, 1, &recid, &position);
}

// A new account gets the kind its number gives and may be debited and
// credited; an existing one keeps every setting but its name and kind.
void AccountLine(const SieItem &it)
{
    uint8_t ac[ACVc::Size];
    PString code;
    SieToPString(it.a, code);
    if (!AccountRead(it.a, ac)) {
        RecClear(ACVc::Number, ac);
        PutPString(ac, ACVc::Code, 10, code);
        PutU16(ac, ACVc::DebitAllowed, 1);
        PutU16(ac, ACVc::CreditAllowed, 1);
        PutU16(ac, ACVc::Blocked, 0);
    }
    PutText(ac, ACVc::Name, 60, it.b);
    PutU16(ac, ACVc::AccType, uint16_t(AccountKindFromNumber(code)));
    uint32_t recid = 0;
    if (!RecStoreByKey(ACVc::Number, ac, 1, &recid)) DbHoldFail();
}

// "S" keeps an account of kind 2 (the number's 29..) as it is.
void AccountTypeLine(const SieItem &it)
{
    uint8_t ac[ACVc::Size];
    if (it.b.empty() || !AccountRead(it.a, ac)) return;
    int kind = -1, current = int16_t(GetU16(ac, ACVc::AccType));
    switch (it.b[0]) {
    case 'T': kind = 0; break;
    case 'S': kind = current == 2 ? 2 : 1; break;
    case 'I': kind = 3; break;
    case 'K': kind = 4; break;
    default: return;
    }
    if (kind == current) return;
    PutU16(ac, ACVc::AccType, uint16_t(kind));
    uint32_t recid = 0;
    if (!RecStoreByKey(ACVc::Number, ac, 1, &recid)) DbHoldFail();
}

void YearLine(const SieItem &it)
{
    PString code;
    SieToPString(std::to_string(it.date1.year), code);
    if (InsertYear(code, &it.date1, &it.date2) &&
        SettingsBlockStoreHandle(FiscalYearBlk::Number, FiscalYearRows) != RecDone)
        DbHoldFail();
    if (it.number == -1) {
        S.prevStart = it.date1;
        S.prevEnd = it.date2;
        if (S.type != 4) S.opening = DayBefore(it.date1);
        S.previousYear = true;
    } else if (it.number == 0) {
        S.curStart = it.date1;
        S.curEnd = it.date2;
        if (!(S.previousYear && S.type != 4)) S.opening = DayBefore(it.date1);
    }
}

// An opening balance: of the year the opening date opens (the previous
// year when the file names one and is not of type 4, else the current
// one); type 1 books it, negated, into its year's voucher too.
void OpeningLine(const SieItem &it)
{
    PString account, name;
    SieToPString(it.a, account);
    if (!AccountNameOf(account, name, 60)) GetUiText(name, MissingAccountText);
    const long year = S.type != 4 && S.previousYear ? -1 : 0;
    if (it.number == year) {
        if (!S.openingRecord) S.openingRecord = std::make_unique<OwnedRecord>(OpenBalVc::Number);
        AddOpeningBalanceRow(S.openingRecord->record, account, name, &it.amount);
    }
    if (S.type == 1 && (it.number == 0 || it.number == -1)) {
        PackedDecimal negated;
        DecNegateInto(&it.amount, &negated);
        AddRow(YearVoucher(it.number == 0 ? S.curVoucher : S.prevVoucher), it.a, "", "", negated, nullptr);
    }
}

void ClosingLine(const SieItem &it)
{
    if (it.number == 0 || it.number == -1)
        AddRow(YearVoucher(it.number == 0 ? S.curVoucher : S.prevVoucher), it.a, "", "", it.amount, nullptr);
}

void PeriodLine(const SieItem &it)
{
    OwnedRecord *found = nullptr;
    for (const auto &v : S.periodVouchers) {
        DateRec d = GetDate(v->record, TRVc::TransDate);
        if (DateCompare(&d, &it.date1) == 0) found = v.get();
    }
    if (!found) {
        S.periodVouchers.push_back(std::make_unique<OwnedRecord>(TRVc::Number));
        found = S.periodVouchers.back().get();
        PutDate(found->record, TRVc::RegDate, it.date1);
        PutDate(found->record, TRVc::TransDate, it.date1);
    }
    uint8_t ac[ACVc::Size];
    std::string text;
    if (AccountRead(it.a, ac)) {
        PString n;
        GetPString(ac, ACVc::Name, 60, n);
        text = SieFromPString(n);
    }
    AddRow(found->record, it.a, "", text, it.amount, nullptr);
}

void VoucherLine(const SieItem &it)
{
    OwnedRecord v(TRVc::Number);
    if (!v.record) return;
    long fixed = 0;
    const bool fixedSeries = SieIntegerRead(it.a, YearCodeFixedFirst, YearCodeFixedLast, &fixed);
    PutU32(v.record, TRVc::SerNr, uint32_t(it.number < 0 ? 0 : it.number));
    PutDate(v.record, TRVc::RegDate, it.date1);
    PutDate(v.record, TRVc::TransDate, it.date1);
    PutText(v.record, TRVc::Text, 60, it.b);
    PutU16(v.record, TRVc::YearCode, uint16_t(fixedSeries ? fixed : 0));
    for (const SieRow &r : it.rows) AddRow(v.record, r.account, r.objects, r.text, r.amount, &r.amount2);
    NumberAndStore(v.record, it.a);
}

void ObjectTypeLine(const SieItem &it)
{
    uint8_t ot[OTVc::Size];
    RecClear(OTVc::Number, ot);
    PutText(ot, OTVc::Code, 5, it.a);
    PutText(ot, OTVc::Name, 60, it.b);
    uint32_t recid = 0;
    if (!RecStoreByKey(OTVc::Number, ot, 1, &recid)) DbHoldFail();
}

void ObjectLine(const SieItem &it)
{
    uint8_t ob[OBVc::Size];
    RecClear(OBVc::Number, ob);
    PutText(ob, OBVc::Code, 5, it.b);
    PutText(ob, OBVc::Name, 60, it.c);
    PutU16(ob, OBVc::Word68, 1);
    PutText(ob, OBVc::ObjType, 5, it.a);
    PutU16(ob, OBVc::Blocked, 0);
    uint32_t recid = 0;
    if (!RecStoreByKey(OBVc::Number, ob, 1, &recid)) DbHoldFail();
}

// Stores a year voucher of type 1 dated at its year's end.
void StoreYearVoucher(const std::unique_ptr<OwnedRecord> &v, const DateRec &end)
{
    if (!v || MatrixRowCount(TRVc::Number, 0, v->record) == 0) return;
    PutU16(v->record, TRVc::YearCode, 0);
    PutDate(v->record, TRVc::RegDate, end);
    PutDate(v->record, TRVc::TransDate, end);
    NumberAndStore(v->record, "");
}

void FreeCollected()
{
    S.periodVouchers.clear();
    S.curVoucher.reset();
    S.prevVoucher.reset();
    S.openingRecord.reset();
}

}  // namespace

void AddOpeningBalanceRow(uint8_t *record, const uint8_t *account, const uint8_t *name, const PackedDecimal *amount)
{
    if (!record || account[0] == 0 || DecIsZero(amount)) return;
    uint8_t row[OpenBalVc::Rows::Size] = {};
    PutPString(row, OpenBalVc::Rows::Account, 10, account);
    PString cut;
    PStringCopy(cut, name);
    if (cut[0] > 20) cut[0] = 20;
    PutPString(row, OpenBalVc::Rows::AccName, 20, cut);
    PackedDecimal sum;
    DecSetZero(&sum);
    DecAdd(&sum, amount, &sum);
    PutDec(row, OpenBalVc::Rows::Amount, sum);
    MatrixRowPut(OpenBalVc::Number, 0, record, MatrixRowCount(OpenBalVc::Number, 0, record), row);
}

void ImportSieBegin()
{
    FreeCollected();
    S = SieImportState{};
    ImportDosLetters = 1;
}

void ImportSieLine(const SieItem &it)
{
    switch (it.tag) {
    case SieTag::SieType: S.type = it.number; return;
    case SieTag::OrgNr:
        PutText(CompanyBlock, CompanyBlk::OrgNr, 30, it.a);
        StoreCompany();
        return;
    case SieTag::CompanyName:
        PutText(CompanyBlock, CompanyBlk::CompanyName, 60, it.a);
        StoreCompany();
        return;
    case SieTag::Address:
        PutText(CompanyBlock, CompanyBlk::Address1, 60, it.a);
        PutText(CompanyBlock, CompanyBlk::Address2, 60, it.b);
        PutText(CompanyBlock, CompanyBlk::Telephone, 20, it.c);
        StoreCompany();
        return;
    case SieTag::Year: YearLine(it); return;
    case SieTag::Account: AccountLine(it); return;
    case SieTag::AccountType: AccountTypeLine(it); return;
    case SieTag::Dimension: ObjectTypeLine(it); return;
    case SieTag::Object: ObjectLine(it); return;
    case SieTag::Opening: OpeningLine(it); return;
    case SieTag::Closing:
    case SieTag::Result: ClosingLine(it); return;
    case SieTag::PeriodBalance: PeriodLine(it); return;
    case SieTag::Voucher: VoucherLine(it); return;
    }
}

void ImportSieEnd()
{
    for (const auto &v : S.periodVouchers) NumberAndStore(v->record, "");
    if (S.openingRecord && MatrixRowCount(OpenBalVc::Number, 0, S.openingRecord->record) > 0) {
        uint8_t *r = S.openingRecord->record;
        PutDate(r, OpenBalVc::TransDate, S.opening);
        PutU32(r, OpenBalVc::SerNr, uint32_t(SerialFor(OpenBalVc::Number, &S.opening)));
        if (!StoreFb1Record(r)) NotStored("#IB", int32_t(GetU32(r, OpenBalVc::SerNr)));
    }
    StoreYearVoucher(S.prevVoucher, S.prevEnd);
    StoreYearVoucher(S.curVoucher, S.curEnd);
    FreeCollected();
    ImportDosLetters = 0;
}

// The whole import of the open source in one step: read and checked,
// then stored; a refused file is kept for the result and stores nothing.
void ImportSieRun()
{
    ImportSieBegin();
    std::vector<SieItem> items;
    uint32_t line = 0;
    int fault = 0;
    std::string detail;
    const bool ok = SieCheckSource(&items, &line, &fault, &detail);
    if (!ok) {
        SieImportResult.refusedLine = line;
        SieImportResult.refusedFault = fault;
        SieImportResult.refusedDetail = detail;
        FreeCollected();
        ImportDosLetters = 0;
        ImportAbortFlag = 1;
        return;
    }
    for (const SieItem &it : items) ImportSieLine(it);
    ImportSieEnd();
}

// Tells the refusal of the last SIE import, or the vouchers it did not store.
void SieReportResult()
{
    const SieImportResultRec &r = SieImportResult;
    if (r.refusedFault != 0) {
        PString text = {0}, fault = {0};
        GetUiText(text, Texts::SieRefused);
        char n[24];
        std::snprintf(n, sizeof n, "%u: ", unsigned(r.refusedLine));
        PStringAppendC(text, n);
        GetUiText(fault, r.refusedFault);
        PStringAppend(text, fault);
        if (!r.refusedDetail.empty()) {
            PString d;
            SieToPString(" (" + r.refusedDetail.substr(0, 60) + ")", d);
            PStringAppend(text, d);
        }
        ShowMessage(0, text);
    }
    if (r.notStored != 0) {
        PString text = {0};
        GetUiText(text, Texts::SieVouchersNotStored);
        PString d;
        SieToPString(std::to_string(r.notStored) + " (" + r.firstNotStored + ")", d);
        PStringAppend(text, d);
        ShowMessage(0, text);
    }
}
