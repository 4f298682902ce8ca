// sie_export.cpp - export kind 21: the general ledger of the open company
// as an SIE file of type 1 to 4 (head, accounts and their kinds, period
// balances, dimensions and objects, vouchers, opening and closing
// balances and results), in the DOS letters the file declares ("PC8").
// Objects that rows name but the object register lacks are written under
// a dimension of their own, so that every row keeps its objects.
//
// The year bounds come from the selection's dates: the current year from
// the first day of the from date's month to the last day of the to date's
// month, the previous year the twelve months before it. Balances are
// those of the general-ledger reports (an account without objects), one
// balance record lookup per account; the period balances are month ends.
#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/system.h"
#include "core/text_range.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "exchange/sie.h"
#include "exchange/text_exchange.h"
#include "output/devices/report_output.h"
#include "output/output_job.h"
#include "reports/ledger/ledger_reports.h"
#include "rules/ledger.h"
#include "rules/rules_types.h"

namespace {

struct SieExportState {
    DateRec curStart, curEnd, prevStart, prevEnd;
    PString low, high;                               // the account range; empty is open
    std::vector<std::pair<std::string, int>> dims;   // object-type code, dimension number
    std::map<std::string, std::string> objectTypes;  // object code -> its type's code ("" none)
    std::vector<std::string> unregistered;           // codes rows name that the object register lacks
} Sie;

// Writes one line: each field followed by a TAB, then the line end.
void Line(std::initializer_list<std::string> fields)
{
    for (const std::string &f : fields) {
        PString p;
        SieToPString(f, p);
        ExportText(p);
    }
    ExportLineFeed();
}

DateRec LastOfMonth(uint16_t month, uint16_t year)
{
    return DateRec{uint16_t(DaysInMonth(year, month)), month, year};
}

DateRec DayBefore(const DateRec &d)
{
    DateRec r = d;
    DateAddDays(&d, -1, &r);
    return r;
}

// The four year bounds from the selection's dates (empty dates: the
// company's current fiscal year). The previous year ends on the last day
// of the month twelve months before the current end, or the day before
// the current start when that lies within the current year.
void YearBounds(const DateRec &from, const DateRec &to)
{
    DateRec f = from, t = to;
    if (DateIsEmpty(&f)) f = GetDate(CompanyBlock, CompanyBlk::YearStart);
    if (DateIsEmpty(&t)) t = GetDate(CompanyBlock, CompanyBlk::YearEnd);
    if (DateIsEmpty(&f)) f = DateRec{1, 1, TodayDate.year};
    if (DateIsEmpty(&t)) t = DateRec{31, 12, f.year};
    Sie.curStart = DateRec{1, f.month, f.year};
    Sie.curEnd = LastOfMonth(t.month, t.year);
    Sie.prevStart = DateRec{1, f.month, uint16_t(f.year - 1)};
    Sie.prevEnd = LastOfMonth(t.month, uint16_t(t.year - 1));
    if (DateCompare(&Sie.prevEnd, &Sie.curStart) >= 0) Sie.prevEnd = DayBefore(Sie.curStart);
}

// True when an account lies in the selection's range (bytewise).
bool InRange(const uint8_t *account)
{
    if (Sie.low[0] != 0 && PStringCompare(account, Sie.low) < 0) return false;
    if (Sie.high[0] != 0 && PStringCompare(account, Sie.high) > 0) return false;
    return true;
}

std::string Field(const uint8_t *record, uint32_t offset, int max)
{
    PString p;
    GetPString(record, offset, max, p);
    return SieFromPString(p);
}

// The balances of one account: its balance record looked up once.
struct AccountBalances {
    RuleRecord record{BalanceRecord::Number};
    PString account;
    MemBlock block = 0;
    bool found = false;
    explicit AccountBalances(const uint8_t *code)
    {
        PStringCopy(account, code);
        found = record.record && BalanceRecordFind(account, EmptyPString, record.record);
        if (found) block = GetU32(record.record, BalanceRecord::Periods);
    }
    // The balance at the end of date; zero without a balance record (an
    // account nothing was posted to).
    void At(const DateRec &date, PackedDecimal *out) const
    {
        DecSetZero(out);
        if (found) AccountBalanceAt(account, EmptyPString, &date, block, 0, out);
    }
};

// Calls visit for each account of the range whose kind passes keep.
template <typename Visit> void EachAccount(bool (*keep)(int kind), Visit visit)
{
    MemBlock h = 0;
    uint8_t *ac = RecBufferNew(ACVc::Number, &h);
    if (!ac) return;
    uint32_t count = RegOpenCount(ACVc::Number);
    for (uint32_t pos = 1; pos <= count && !OutputJobState.stopFlag; pos++) {
        uint32_t recid = 0;
        if (!RecReadAt(ACVc::Number, int32_t(pos), ac, &recid)) continue;
        PString code;
        GetText(ac, ACVc::Code, code);
        if (!InRange(code) || (keep && !keep(int16_t(GetU16(ac, ACVc::AccType))))) continue;
        visit(ac, code);
    }
    RecBufferFree(ACVc::Number, &h);
}

bool BalanceKind(int kind) { return kind >= 0 && kind <= 2; }
bool ResultKind(int kind) { return kind >= 3; }

const char *KindLetter(int kind)
{
    static const char *letters[] = {"T", "S", "S", "I", "K"};
    return kind >= 0 && kind <= 4 ? letters[kind] : nullptr;
}

void HeadLines(const ReportJob &job, uint16_t type)
{
    PString name, version, user;
    GetUiText(name, Texts::ProgramTitle);
    GetUiText(version, Texts::ProgramVersion);
    CurrentUserCode(user);
    std::string org = Field(CompanyBlock, CompanyBlk::OrgNr, 30), orgNoBlanks;
    for (char c : org)
        if (c != ' ') orgNoBlanks += c;
    Line({"#FLAGGA", "0"});
    Line({"#PROGRAM", SieQuoted(SieFromPString(name), 255), SieQuoted(SieFromPString(version), 255)});
    Line({"#FORMAT", "PC8"});
    Line({"#GEN", SieDateText(&TodayDate), SieWord(SieFromPString(user))});
    Line({"#SIETYP", std::to_string(type)});
    PString prosa;
    GetText(job.selection, ReportParamsVc::SelText1, prosa);
    Line({"#PROSA", SieQuoted(SieFromPString(prosa), 50)});
    Line({"#ORGNR", SieWord(orgNoBlanks), "1", "1"});
    Line({"#ADRESS", "\"\"", SieQuoted(Field(CompanyBlock, CompanyBlk::Address1, 60), 40),
          SieQuoted(Field(CompanyBlock, CompanyBlk::Address2, 60), 40),
          SieQuoted(Field(CompanyBlock, CompanyBlk::Telephone, 20), 40)});
    Line({"#FNAMN", SieQuoted(Field(CompanyBlock, CompanyBlk::CompanyName, 60), 40)});
    Line({"#RAR", "0", SieDateText(&Sie.curStart), SieDateText(&Sie.curEnd)});
    Line({"#RAR", "-1", SieDateText(&Sie.prevStart), SieDateText(&Sie.prevEnd)});
}

// The movements of each month of one year, last month first.
void PeriodLines(const AccountBalances &b, const DateRec &start, const DateRec &end, const char *year)
{
    DateRec m = end;
    PackedDecimal atM, atP, movement;
    b.At(m, &atM);
    while (DateCompare(&m, &start) > 0) {
        DateRec p = DayBefore(DateRec{1, m.month, m.year});
        b.At(p, &atP);
        DecSub(&atM, &atP, &movement);
        if (!DecIsZero(&movement))
            Line({"#PSALDO", year, SiePeriodText(&m), SieFromPString(b.account), "{", "}", SieAmountText(&movement)});
        m = p;
        atM = atP;
    }
}

void DimensionLines()
{
    MemBlock h = 0;
    uint8_t *ot = RecBufferNew(OTVc::Number, &h);
    if (!ot) return;
    uint32_t count = RegOpenCount(OTVc::Number);
    for (uint32_t pos = 1; pos <= count && !OutputJobState.stopFlag; pos++) {
        uint32_t recid = 0;
        if (!RecReadAt(OTVc::Number, int32_t(pos), ot, &recid)) continue;
        PString code;
        GetText(ot, OTVc::Code, code);
        Line({"#DIM", std::to_string(SieDimensionNumber(code)), SieQuoted(Field(ot, OTVc::Name, 60), 255)});
    }
    RecBufferFree(OTVc::Number, &h);
    if (!Sie.unregistered.empty()) Line({"#DIM", std::to_string(SieDimensionNumber(EmptyPString)), "\"\""});
}

void ObjectLines()
{
    MemBlock h = 0;
    uint8_t *ob = RecBufferNew(OBVc::Number, &h);
    if (!ob) return;
    uint32_t count = RegOpenCount(OBVc::Number);
    for (uint32_t pos = 1; pos <= count && !OutputJobState.stopFlag; pos++) {
        uint32_t recid = 0;
        if (!RecReadAt(OBVc::Number, int32_t(pos), ob, &recid)) continue;
        PString type;
        GetText(ob, OBVc::ObjType, type);
        Line({"#OBJEKT", std::to_string(SieDimensionNumber(type)), SieQuoted(Field(ob, OBVc::Code, 5), 255),
              SieQuoted(Field(ob, OBVc::Name, 60), 255)});
    }
    RecBufferFree(OBVc::Number, &h);
    for (const std::string &code : Sie.unregistered)
        Line({"#OBJEKT", std::to_string(SieDimensionNumber(EmptyPString)), SieQuoted(code, 255), "\"\""});
}

// The object type of an object code, looked up once per export; false
// when the object is not in register 15.
bool ObjectTypeOf(const uint8_t *code, std::string *type)
{
    std::string key = SieFromPString(code);
    auto it = Sie.objectTypes.find(key);
    if (it == Sie.objectTypes.end()) {
        uint8_t ob[OBVc::Size] = {};
        PutText(ob, OBVc::Code, code);
        uint32_t recid = 0, position = 0;
        std::string found = "\x01";   // not in the register
        if (RecFind(OBVc::Number, ob, 1, 1, &recid, &position)) found = Field(ob, OBVc::ObjType, 5);
        it = Sie.objectTypes.emplace(key, found).first;
    }
    if (it->second == "\x01") return false;
    *type = it->second;
    return true;
}

// The series a voucher is written under: its fixed series code (201 and
// up), else "A", the ledger series of its fiscal year.
std::string SeriesText(uint16_t yearCode)
{
    return yearCode >= YearCodeFixedFirst ? std::to_string(yearCode) : std::string("A");
}

// Calls visit(code, type, registered) for each object of a row's list;
// an object the register lacks has the empty type.
template <typename Visit> void EachRowObject(const uint8_t *row, Visit visit)
{
    PString objects;
    GetText(row, TransRow::Objects, objects);
    ObjectSlots slots;
    ParseObjectList(objects, &slots);
    for (const auto &slot : slots) {
        if (slot[0] == 0) break;
        std::string type;
        const bool registered = ObjectTypeOf(slot.data(), &type);
        visit(SieFromPString(slot.data()), type, registered);
    }
}

void TransLine(const uint8_t *row, const DateRec &date)
{
    std::vector<std::string> f = {"", "#TRANS", Field(row, TransRow::Account, 10), "{"};
    EachRowObject(row, [&f](const std::string &code, const std::string &type, bool) {
        PString t;
        SieToPString(type, t);
        f.push_back(SieQuoted(std::to_string(SieDimensionNumber(t)), 255));
        f.push_back(SieQuoted(code, 255));
    });
    f.push_back("}");
    PackedDecimal amount = GetDec(row, TransRow::Amount), amount2 = GetDec(row, TransRow::Amount2);
    f.push_back(SieAmountText(&amount));
    f.push_back(SieDateText(&date));
    f.push_back(SieQuoted(Field(row, TransRow::Text, 60), 255));
    if (!DecIsZero(&amount2)) f.push_back(SieAmountText(&amount2));
    for (const std::string &s : f) {
        PString p;
        SieToPString(s, p);
        ExportText(p);
    }
    ExportLineFeed();
}

// Calls visit for each voucher dated in the current year, its rows read.
template <typename Visit> void EachYearVoucher(Visit visit)
{
    MemBlock h = 0;
    uint8_t *tr = RecBufferNew(TRVc::Number, &h);
    if (!tr) return;
    uint32_t count = RegOpenCount(TRVc::Number);
    for (uint32_t pos = 1; pos <= count && !OutputJobState.stopFlag; pos++) {
        uint32_t recid = 0;
        RecFreeMatrix(TRVc::Number, tr);
        if (!RecReadAt(TRVc::Number, int32_t(pos), tr, &recid)) continue;
        DateRec date = GetDate(tr, TRVc::TransDate);
        if (!DateInRange(&date, &Sie.curStart, &Sie.curEnd) || DateIsEmpty(&date)) continue;
        visit(tr, date);
    }
    RecFreeMatrix(TRVc::Number, tr);
    RecBufferFree(TRVc::Number, &h);
}

// Calls visit for each account row of a voucher that the file writes.
template <typename Visit> void EachWrittenRow(const uint8_t *tr, Visit visit)
{
    uint8_t row[TransRow::Size];
    int32_t rows = MatrixRowCount(TRVc::Number, 0, tr);
    for (int32_t i = 0; i < rows; i++) {
        if (!MatrixRowRead(TRVc::Number, tr, i, row)) continue;
        if (GetU16(row, TransRow::Kind) != RowAccount || GetU16(row, TransRow::Flag) != 0) continue;
        visit(row);
    }
}

// The object codes the year's rows name that the object register lacks
// (objects a company took from a file without their #OBJEKT lines): they
// are declared and written under a dimension of their own, so no row
// loses an object in the file.
void CollectUnregisteredObjects()
{
    Sie.unregistered.clear();
    EachYearVoucher([](const uint8_t *tr, const DateRec &) {
        EachWrittenRow(tr, [](const uint8_t *row) {
            EachRowObject(row, [](const std::string &code, const std::string &, bool registered) {
                auto &u = Sie.unregistered;
                if (!registered && std::find(u.begin(), u.end(), code) == u.end()) u.push_back(code);
            });
        });
    });
}

void VoucherLines()
{
    EachYearVoucher([](const uint8_t *tr, const DateRec &date) {
        Line({"#VER", SieQuoted(SeriesText(GetU16(tr, TRVc::YearCode)), 255),
              SieQuoted(std::to_string(GetU32(tr, TRVc::SerNr)), 255), SieDateText(&date),
              SieQuoted(Field(tr, TRVc::Text, 60), 255)});
        Line({"{"});
        EachWrittenRow(tr, [&date](const uint8_t *row) { TransLine(row, date); });
        Line({"}"});
    });
}

void BalanceLines()
{
    const DateRec beforePrev = DayBefore(Sie.prevStart), beforeCur = DayBefore(Sie.curStart);
    auto write = [](const char *tag, const char *year, const uint8_t *code, const PackedDecimal &v) {
        if (!DecIsZero(&v)) Line({tag, year, SieFromPString(code), SieAmountText(&v)});
    };
    EachAccount(BalanceKind, [&](const uint8_t *, const uint8_t *code) {
        AccountBalances b(code);
        PackedDecimal v;
        b.At(beforePrev, &v);
        write("#IB", "-1", code, v);
        b.At(beforeCur, &v);
        write("#IB", "0", code, v);
    });
    EachAccount(BalanceKind, [&](const uint8_t *, const uint8_t *code) {
        AccountBalances b(code);
        PackedDecimal v;
        b.At(Sie.prevEnd, &v);
        write("#UB", "-1", code, v);
        b.At(Sie.curEnd, &v);
        write("#UB", "0", code, v);
    });
    EachAccount(ResultKind, [&](const uint8_t *, const uint8_t *code) {
        AccountBalances b(code);
        PackedDecimal end, start, v;
        b.At(Sie.prevEnd, &end);
        b.At(beforePrev, &start);
        DecSub(&end, &start, &v);
        write("#RES", "-1", code, v);
        b.At(Sie.curEnd, &end);
        b.At(beforeCur, &start);
        DecSub(&end, &start, &v);
        write("#RES", "0", code, v);
    });
}

}  // namespace

int SieDimensionNumber(const uint8_t *code)
{
    std::string key = SieFromPString(code);
    for (const auto &d : Sie.dims)
        if (d.first == key) return d.second;
    int number = Sie.dims.empty() ? 20 : Sie.dims.back().second + 1;
    Sie.dims.emplace_back(key, number);
    return number;
}

void SieAccountBalance(const uint8_t *account, const DateRec *date, int offset, PackedDecimal *out)
{
    DateRec d = *date;
    if (offset != 0) DateAddDays(date, offset, &d);
    AccountBalances(account).At(d, out);
}

// Writes the whole file; the DOS-letter switch is on while it runs and
// back as it was after it.
void ExportSie(const ReportJob &job)
{
    if (!job.selection || !CompanyBlock) return;
    const uint16_t savedLetters = DosCodePage;
    DosCodePage = 1;
    Sie.dims.clear();
    Sie.objectTypes.clear();
    Sie.unregistered.clear();
    const uint16_t type = GetU16(job.selection, ReportParamsVc::ReportLayout);
    RangeSplit(job.selection + ReportParamsVc::SelText2, Sie.low, Sie.high);
    YearBounds(GetDate(job.selection, ReportParamsVc::DateFrom), GetDate(job.selection, ReportParamsVc::DateTo));
    HeadLines(job, type);
    EachAccount(nullptr, [](const uint8_t *ac, const uint8_t *code) {
        Line({"#KONTO", SieFromPString(code), SieQuoted(Field(ac, ACVc::Name, 60), 30)});
    });
    EachAccount(nullptr, [](const uint8_t *ac, const uint8_t *code) {
        const char *letter = KindLetter(int16_t(GetU16(ac, ACVc::AccType)));
        if (letter)
            Line({"#KTYP", SieFromPString(code), letter});
        else
            Line({"#KTYP", SieFromPString(code)});
    });
    switch (type) {
    case 2:
        Line({"#OMFATTN", SieDateText(&Sie.curEnd)});
        EachAccount(nullptr, [](const uint8_t *, const uint8_t *code) {
            AccountBalances b(code);
            if (!b.found) return;
            PeriodLines(b, Sie.prevStart, Sie.prevEnd, "-1");
            PeriodLines(b, Sie.curStart, Sie.curEnd, "0");
        });
        break;
    case 3:
        Line({"#OMFATTN", SieDateText(&Sie.curEnd)});
        DimensionLines();
        ObjectLines();
        break;
    case 4:
        CollectUnregisteredObjects();
        DimensionLines();
        ObjectLines();
        VoucherLines();
        break;
    default: break;
    }
    BalanceLines();
    Sie.dims.clear();
    Sie.objectTypes.clear();
    Sie.unregistered.clear();
    DosCodePage = savedLetters;
}
