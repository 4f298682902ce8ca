// sie_import.cpp - import mode 2: an SIE file read into the open company.
// The file is checked whole first (sie_check.cpp) and its voucher numbers
// planned (sie_voucher_numbers.cpp); only a file that passes both is
// stored: company name, address and organisation number, fiscal years,
// accounts and their kinds, object types and objects, opening balances,
// the vouchers of #VER blocks, and the vouchers that type 1 (year
// balances) and type 2 (period balances) files give.
//
// A #VER voucher is stored under its planned number: "201".."210" name
// that fixed series, any other series the ledger series of the voucher's
// fiscal year. Year 0 opens with the file's #IB 0: its opening-balance
// record holds each account's #IB 0 less what the file's earlier lines
// (the previous year's #IB -1 and the movements dated before year 0)
// already put on it, so the company's balance on the first day of year 0
// is the file's, and a file whose years agree adds nothing there.
#include <climits>
#include <map>
#include <memory>
#include <set>
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
#include "exchange/ledger_text.h"
#include "rules/rules_types.h"
#include "rules/series_terms.h"

SieImportResultRec SieImportResult;

namespace {

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

// An opening balance of the file, in thousandths.
struct OpeningRow {
    std::string account;
    __int128 amount;
};

struct SieImportState {
    long type = 1;
    bool previousYear = false;
    DateRec curStart{}, curEnd{}, prevStart{}, prevEnd{};
    std::vector<OpeningRow> openingNow, openingPrev;   // #IB 0 and #IB -1 in file order
    std::map<std::string, __int128> carried;           // what the import booked before year 0, by account
    std::vector<std::unique_ptr<OwnedRecord>> periodVouchers;
    std::unique_ptr<OwnedRecord> curVoucher, prevVoucher;
    std::set<std::string> accountsUsed;                 // by the vouchers and openings stored
    std::map<std::string, std::vector<std::string>> balancedOn;   // balancing row's account -> vouchers
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
// A record of the file (an account, an object or its type) stored, and
// counted for the closing line; a refused store fails the import's hold.
void Stored(bool ok)
{
    if (ok) SieImportResult.stored++;
    else DbHoldFail();
}

// A voucher as the import's messages name it: its number, after its
// series when the file gave one.
std::string VoucherName(const std::string &series, int32_t number)
{
    return series.empty() ? std::to_string(number) : series + " " + std::to_string(number);
}

void NotStored(const std::string &series, int32_t number)
{
    if (SieImportResult.notStored++ == 0) SieImportResult.firstNotStored = VoucherName(series, number);
}

// The next serial number of reg on date from its series; a company
// without series rows takes the number after the highest stored.
int32_t SerialFor(int reg, const DateRec *date)
{
    int32_t number = NextSerialNumber(reg, date, 0, 0);
    if (number <= 0) number = NextFreeSerialNumber(reg, 1, INT32_MAX, date);
    return number;
}

// Calls each(account, row, index) for every account row of voucher, the
// account as the file writes it.
template <typename Each>
void ForEachAccountRow(const uint8_t *voucher, Each each)
{
    uint8_t row[TransRow::Size];
    const int32_t n = MatrixRowCount(TRVc::Number, 0, voucher);
    for (int32_t i = 0; i < n; i++) {
        if (!MatrixRowRead(TRVc::Number, voucher, i, row) || GetU16(row, TransRow::Kind) != RowAccount) continue;
        PString account;
        ::GetText(row, TransRow::Account, account);
        each(SieFromPString(account), row, i);
    }
}

// Notes the accounts of a stored voucher's account rows, for the end of
// the import to name those the chart lacks: the first fileRows rows are
// the file's, any after them the row that storing added to balance the
// voucher (named `name`), which the end names as such.
void NoteAccountsUsed(const uint8_t *voucher, int32_t fileRows, const std::string &name)
{
    ForEachAccountRow(voucher, [fileRows, &name](const std::string &account, const uint8_t *, int32_t i) {
        if (account.empty()) return;
        if (i < fileRows) S.accountsUsed.insert(account);
        else S.balancedOn[account].push_back(name);
    });
}

// Numbers a voucher that has no number yet and stores it; counted when
// not stored, also when its date lies in the ledger's lock.
void NumberAndStore(uint8_t *voucher, const std::string &series)
{
    int32_t number = int32_t(GetU32(voucher, TRVc::SerNr));
    if (number <= 0) {
        DateRec date = GetDate(voucher, TRVc::TransDate);
        number = SerialFor(TRVc::Number, &date);
        PutU32(voucher, TRVc::SerNr, uint32_t(number));
    }
    // Storing appends a balancing row after the file's rows when they do
    // not balance.
    const int32_t fileRows = MatrixRowCount(TRVc::Number, 0, voucher);
    if (number <= 0 || VoucherInLock(voucher) || !StoreVoucher(voucher)) {
        NotStored(series, number);
        return;
    }
    SieImportResult.stored++;
    NoteAccountsUsed(voucher, fileRows, VoucherName(series, number));
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
    return RecFindByFirstKey(ACVc::Number, ac);
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
        ::PutText(ac, ACVc::Code, code);
        PutU16(ac, ACVc::DebitAllowed, 1);
        PutU16(ac, ACVc::CreditAllowed, 1);
        PutU16(ac, ACVc::Blocked, 0);
    }
    PutText(ac, ACVc::Name, 60, it.b);
    PutU16(ac, ACVc::AccType, uint16_t(AccountKindFromNumber(code)));
    uint32_t recid = 0;
    Stored(RecStoreByKey(ACVc::Number, ac, 1, &recid));
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
        S.previousYear = true;
    } else if (it.number == 0) {
        S.curStart = it.date1;
        S.curEnd = it.date2;
    }
}

__int128 Thousandths(const PackedDecimal &d)
{
    __int128 v = 0;
    return DecToThousandths(&d, &v) ? v : 0;
}

// True when a row dated date is booked before year 0 opens.
bool BeforeYearZero(const DateRec &date)
{
    return !DateIsEmpty(&S.curStart) && !DateIsEmpty(&date) && DateCompare(&date, &S.curStart) < 0;
}

// Adds the account rows of a voucher about to be stored to what the
// import booked before year 0, when it is dated before it.
void CarryRows(const uint8_t *voucher)
{
    if (!BeforeYearZero(GetDate(voucher, TRVc::TransDate))) return;
    ForEachAccountRow(voucher, [](const std::string &account, const uint8_t *row, int32_t) {
        S.carried[account] += Thousandths(GetDec(row, TransRow::Amount));
    });
}

// An opening balance, kept for the end: year 0's and the previous
// year's; type 1 books it, negated, into its year's voucher too.
void OpeningLine(const SieItem &it)
{
    if (it.number == 0) S.openingNow.push_back({it.a, Thousandths(it.amount)});
    if (it.number == -1) S.openingPrev.push_back({it.a, Thousandths(it.amount)});
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
        ::GetText(ac, ACVc::Name, n);
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
    CarryRows(v.record);
    NumberAndStore(v.record, it.a);
}

void ObjectTypeLine(const SieItem &it)
{
    uint8_t ot[OTVc::Size];
    RecClear(OTVc::Number, ot);
    PutText(ot, OTVc::Code, 5, it.a);
    PutText(ot, OTVc::Name, 60, it.b);
    uint32_t recid = 0;
    Stored(RecStoreByKey(OTVc::Number, ot, 1, &recid));
}

void ObjectLine(const SieItem &it)
{
    uint8_t ob[OBVc::Size];
    RecClear(OBVc::Number, ob);
    PutText(ob, OBVc::Code, 5, it.b);
    PutText(ob, OBVc::Name, 60, it.c);
    PutU16(ob, OBVc::Imported, 1);
    PutText(ob, OBVc::ObjType, 5, it.a);
    PutU16(ob, OBVc::Blocked, 0);
    uint32_t recid = 0;
    Stored(RecStoreByKey(OBVc::Number, ob, 1, &recid));
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

// Stores one opening-balance record of rows dated date (the rows' names
// those of the accounts as stored); nothing when no row is left.
void StoreOpening(const std::vector<OpeningRow> &rows, const DateRec &date)
{
    OwnedRecord r(OpenBalVc::Number);
    if (!r.record) return;
    for (const OpeningRow &row : rows) {
        PString account, name;
        SieToPString(row.account, account);
        if (!AccountNameOf(account, name, 60)) GetUiText(name, Texts::AccountNameMissing);
        PackedDecimal amount;
        DecFromThousandths(&amount, row.amount);
        AddOpeningBalanceRow(r.record, account, name, &amount);
    }
    if (MatrixRowCount(OpenBalVc::Number, 0, r.record) == 0) return;
    PutDate(r.record, OpenBalVc::TransDate, date);
    PutU32(r.record, OpenBalVc::SerNr, uint32_t(SerialFor(OpenBalVc::Number, &date)));
    if (!StoreFb1Record(r.record)) {
        NotStored("#IB", int32_t(GetU32(r.record, OpenBalVc::SerNr)));
        return;
    }
    SieImportResult.stored++;
    for (const OpeningRow &row : rows)
        if (row.amount != 0 && !row.account.empty()) S.accountsUsed.insert(row.account);
}

// The accounts the stored vouchers and openings use that the chart of
// accounts lacks once every line is read (an account the file names
// later than its voucher counts as there), in account order; apart from
// them those only the balancing rows use, which the file never named.
// The vouchers stay stored: the file's books are taken as they are, and
// the user adds the accounts.
void NoteAccountsMissing()
{
    uint8_t ac[ACVc::Size];
    for (const std::string &account : S.accountsUsed)
        if (!AccountRead(account, ac)) SieImportResult.accountsMissing.push_back(account);
    for (const auto &[account, vouchers] : S.balancedOn)
        if (!AccountRead(account, ac)) SieImportResult.balancingMissing.push_back({account, vouchers});
}

// The opening balances: the previous year's own #IB -1 when the file
// names that year (#RAR -1), dated the day before it; and year 0's #IB 0,
// each less what the import booked on its account before year 0 (an
// account of the previous year's #IB that year 0 does not name opens at
// zero), dated the day before year 0. A file without any #IB 0 leaves
// year 0 to what the earlier lines carry into it.
void StoreOpenings()
{
    if (S.previousYear) {
        StoreOpening(S.openingPrev, DayBefore(S.prevStart));
        if (BeforeYearZero(DayBefore(S.prevStart)))
            for (const OpeningRow &r : S.openingPrev) S.carried[r.account] += r.amount;
    }
    if (S.openingNow.empty()) return;
    std::vector<OpeningRow> rows = S.openingNow;
    if (!DateIsEmpty(&S.curStart)) {
        std::set<std::string> named;
        for (OpeningRow &r : rows) {
            named.insert(r.account);
            r.amount -= S.carried[r.account];
        }
        if (S.previousYear)
            for (const OpeningRow &r : S.openingPrev)
                if (named.insert(r.account).second) rows.push_back({r.account, -S.carried[r.account]});
    }
    StoreOpening(rows, DateIsEmpty(&S.curStart) ? S.curStart : DayBefore(S.curStart));
}

void FreeCollected()
{
    S.periodVouchers.clear();
    S.curVoucher.reset();
    S.prevVoucher.reset();
    S.accountsUsed.clear();
    S.balancedOn.clear();
}

}  // namespace

void AddOpeningBalanceRow(uint8_t *record, const uint8_t *account, const uint8_t *name, const PackedDecimal *amount)
{
    if (!record || account[0] == 0 || DecIsZero(amount)) return;
    uint8_t row[OpenBalVc::Rows::Size] = {};
    ::PutText(row, OpenBalVc::Rows::Account, account);
    PString cut;
    PStringCopy(cut, name);
    if (cut[0] > 20) cut[0] = 20;
    ::PutText(row, OpenBalVc::Rows::AccName, cut);
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
    for (const auto &v : S.periodVouchers) {
        CarryRows(v->record);
        NumberAndStore(v->record, "");
    }
    if (S.prevVoucher && !DateIsEmpty(&S.prevEnd)) {
        PutDate(S.prevVoucher->record, TRVc::TransDate, S.prevEnd);
        CarryRows(S.prevVoucher->record);
    }
    StoreOpenings();
    StoreYearVoucher(S.prevVoucher, S.prevEnd);
    StoreYearVoucher(S.curVoucher, S.curEnd);
    NoteAccountsMissing();
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
    bool ok = SieCheckSource(&items, &line, &fault, &detail);
    SieImportResult.read = uint32_t(items.size());
    if (ok) ok = SiePlanVoucherNumbers(&items, &line, &fault, &detail, &SieImportResult.renumbered);
    if (!ok) {
        SieImportResult.refusedLine = line;
        SieImportResult.refusedFault = fault;
        SieImportResult.refusedDetail = detail;
        SieImportResult.renumbered = SieRenumberedRec{};
        FreeCollected();
        ImportDosLetters = 0;
        ImportAbortFlag = 1;
        return;
    }
    // Year 0's start decides which rows are booked before it, wherever
    // the file puts its #RAR 0.
    for (const SieItem &it : items)
        if (it.tag == SieTag::Year && it.number == 0) S.curStart = it.date1;
    for (const SieItem &it : items) ImportSieLine(it);
    ImportSieEnd();
}

namespace {

// Shows a prefix text followed by what the import adds to it.
void ShowWith(int text, const std::string &added)
{
    PString shown = {0}, tail;
    GetUiText(shown, text);
    SieToPString(added, tail);
    PStringAppend(shown, tail);
    ShowMessage(0, shown);
}

// The texts joined by ", ", as many as `room` characters hold; ", ..."
// for the rest.
std::string JoinedList(const std::vector<std::string> &texts, size_t room)
{
    std::string list;
    for (size_t i = 0; i < texts.size(); i++) {
        const std::string next = (i == 0 ? "" : ", ") + texts[i];
        if (list.size() + next.size() > room) return list + ", ...";
        list += next;
    }
    return list;
}

// The accounts the chart lacks, as a message holds them after its words:
// the file's own joined by ", ", then, after "; ", each account only the
// import's balancing rows use, said to be that, with the vouchers it
// balances (the file never named it, so a user would look for it there
// in vain).
std::string MissingAccountsText(const SieImportResultRec &r)
{
    std::string balancing;
    for (const SieBalancingRec &b : r.balancingMissing) {
        PString said = {0};
        GetUiText(said, b.vouchers.size() == 1 ? Texts::SieBalancingRow : Texts::SieBalancingRows);
        balancing += "; " + b.account + ", " + SieFromPString(said) + JoinedList(b.vouchers, 20);
    }
    constexpr size_t room = 140, least = 40;
    const std::string list =
        JoinedList(r.accountsMissing, balancing.size() + least < room ? room - balancing.size() : least);
    return list.empty() ? balancing.substr(balancing.empty() ? 0 : 2) : list + balancing;
}

// The refusal's detail in brackets after its fault; a list of codes too
// long for one message goes on in further messages, so every code is named.
void ShowRefusal(const SieImportResultRec &r)
{
    PString text = {0}, fault = {0};
    GetUiText(text, Texts::SieRefused);
    GetUiText(fault, r.refusedFault);
    std::string shown = SieFromPString(text) + std::to_string(r.refusedLine) + ": " + SieFromPString(fault);
    std::string rest = r.refusedDetail;
    if (!rest.empty()) shown += " (";
    const size_t room = 250;
    while (true) {
        size_t take = shown.size() < room ? room - shown.size() : 0;
        if (take >= rest.size()) {
            shown += rest;
            if (!r.refusedDetail.empty()) shown += ")";
            break;
        }
        // Cut after a ", " so that no code is split between messages.
        size_t cut = rest.rfind(", ", take);
        cut = cut == std::string::npos || cut == 0 ? take : cut + 2;
        shown += rest.substr(0, cut);
        rest.erase(0, cut);
        PString p;
        SieToPString(shown, p);
        ShowMessage(0, p);
        shown.clear();
    }
    PString p;
    SieToPString(shown, p);
    ShowMessage(0, p);
}

}  // namespace

// Tells the refusal of the last SIE import, the vouchers it gave new
// numbers, or the vouchers it did not store. A file that is no SIE file
// (empty, or without a #SIETYP line and anything the import stores) is
// told by its name, as the text import tells a file that is no export;
// the server, which reads a client's copy, tells the fault instead.
void SieReportResult()
{
    const SieImportResultRec &r = SieImportResult;
    const bool notSie = r.refusedFault == Texts::SieFaultNoLines || r.refusedFault == Texts::SieFaultNoType;
    if (notSie && ImportSourcePath()[0] != 0) ShowMessage(Texts::SieNotAnSieFile, ImportSourcePath());
    else if (r.refusedFault != 0) ShowRefusal(r);
    if (r.renumbered.count != 0)
        ShowWith(Texts::SieVouchersRenumbered, std::to_string(r.renumbered.count) + " (" + r.renumbered.first + ")");
    if (r.notStored != 0)
        ShowWith(Texts::SieVouchersNotStored, std::to_string(r.notStored) + " (" + r.firstNotStored + ")");
    if (!r.accountsMissing.empty() || !r.balancingMissing.empty())
        ShowWith(Texts::SieAccountsMissing, MissingAccountsText(r));
}
