// bench_ledger_company.h - the ledger company of the posting benchmarks:
// calendar fiscal years, 100 accounts, objects of five types, vouchers
// deletable, the rules installed; and the random vouchers they post.
// Each benchmark program makes its own company, so that one program's
// history never weighs on another's figures.
#pragma once

#include <chrono>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "bench/bench_company.h"
#include "bench/bench_store.h"
#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "rules/hooks.h"
#include "rules/ledger.h"
#include "rules/series_terms.h"

namespace ledgerbench {

constexpr int Accounts = 100, ObjectTypes = 5, ObjectsPerType = 4;

inline std::mt19937 rng(2024);
inline uint32_t nextSerial = 1;

inline int Pick(int n) { return (int)(rng() % (uint32_t)n); }
inline std::string AccountCode(int i) { return std::to_string(1000 + i * 10); }
inline std::string ObjectCode(int type, int i) { return "O" + std::to_string(type) + std::to_string(i); }

inline double Since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Makes company `name`: calendar fiscal years firstYear to lastYear, the
// accounts, the objects, vouchers deletable from firstYear on, the rules
// installed. Once per program; false when a step failed.
inline bool LedgerCompany(const char *name, int firstYear, int lastYear) {
    static int ready = 0;
    if (ready) return ready > 0;
    ready = -1;
    if (!BenchCompanyOpen(name)) return false;
    std::vector<uint8_t> years;
    for (int y = firstYear; y <= lastYear; y++) {
        int32_t count = (int32_t)(years.size() / FiscalYearEntry::Size);
        uint16_t code = FiscalYearCodeFor(years.data(), count, count, 0);
        if (code == 0) return false;
        years.resize(years.size() + FiscalYearEntry::Size, 0);
        uint8_t *row = years.data() + years.size() - FiscalYearEntry::Size;
        PutU16(row, FiscalYearEntry::OrderCode, code);
        PutDate(row, FiscalYearEntry::StartDate, DateRec{1, 1, (uint16_t)y});
        PutDate(row, FiscalYearEntry::EndDate, DateRec{31, 12, (uint16_t)y});
    }
    if (SettingsBlockStore(FiscalYearBlk::Number, years.data(), (uint32_t)years.size()) != RecDone) return false;
    std::vector<uint8_t> company(CompanyBlk::Size), locks(DateLockBlk::Size);
    PutU16(company.data(), CompanyBlk::DateLockOn, 1);
    PutDate(locks.data(), DateLockBlk::DeleteLock, DateRec{31, 12, (uint16_t)(firstYear - 1)});
    if (SettingsBlockStore(CompanyBlk::Number, company.data(), CompanyBlk::Size) != RecDone ||
        SettingsBlockStore(DateLockBlk::Number, locks.data(), DateLockBlk::Size) != RecDone)
        return false;
    DbHoldBegin();
    bool ok = true;
    for (int i = 0; i < Accounts && ok; i++)
        ok = BenchStorePlain(ACVc::Number, [&](uint8_t *r) {
            PString code;
            PStringFromC(code, AccountCode(i).c_str());
            PutText(r, ACVc::Code, code);
            PutU16(r, ACVc::DebitAllowed, 1);
            PutU16(r, ACVc::CreditAllowed, 1);
        });
    for (int t = 0; t < ObjectTypes && ok; t++) {
        PString type;
        PStringFromC(type, ("T" + std::to_string(t)).c_str());
        ok = BenchStorePlain(OTVc::Number, [&](uint8_t *r) { PutText(r, OTVc::Code, type); });
        for (int i = 0; i < ObjectsPerType && ok; i++)
            ok = BenchStorePlain(OBVc::Number, [&](uint8_t *r) {
                PString code;
                PStringFromC(code, ObjectCode(t, i).c_str());
                PutText(r, OBVc::Code, code);
                PutText(r, OBVc::ObjType, type);
            });
    }
    if (!ok) DbHoldFail();
    if (!DbHoldEnd()) return false;
    RulesInstall();
    ready = 1;
    return true;
}

// `count` objects of distinct random types, joined by ",".
inline std::string RandomObjects(int count) {
    std::string list;
    int types[ObjectTypes] = {0, 1, 2, 3, 4};
    for (int i = 0; i < count; i++) {
        std::swap(types[i], types[i + Pick(ObjectTypes - i)]);
        list += (i ? "," : "") + ObjectCode(types[i], Pick(ObjectsPerType));
    }
    return list;
}

// Fills voucher with `rows` balanced account rows on random accounts with
// 0..5 objects each (or `objects` rows with two objects, the rest none,
// when objects >= 0), dated date and numbered with the next serial.
inline void FillVoucher(uint8_t *voucher, int rows, int objects, const DateRec &date) {
    RecFreeMatrix(Voucher::Number, voucher);
    RecClear(Voucher::Number, voucher);
    PutU32(voucher, Voucher::SerNr, nextSerial++);
    PutDate(voucher, Voucher::TransDate, date);
    PutDate(voucher, Voucher::RegDate, date);
    uint8_t row[TransRow::Size];
    int64_t sum = 0;
    for (int i = 0; i < rows; i++) {
        std::fill(std::begin(row), std::end(row), 0);
        int64_t cents = i + 1 < rows ? 1 + Pick(100000) : -sum;
        sum += cents;
        PString text;
        PutU16(row, TransRow::Kind, RowAccount);
        PStringFromC(text, AccountCode(Pick(Accounts)).c_str());
        PutText(row, TransRow::Account, text);
        int n = objects < 0 ? Pick(ObjectTypes + 1) : i < objects ? 2 : 0;
        PStringFromC(text, RandomObjects(n).c_str());
        PutText(row, TransRow::Objects, text);
        PackedDecimal amount;
        DecFromThousandths(&amount, cents * 10);
        PutDec(row, TransRow::Amount, amount);
        if (!MatrixRowPut(Voucher::Number, 0, voucher, i, row)) std::exit(1);
    }
}

// A random day of a random month of the years first to last.
inline DateRec RandomDay(int first, int last) {
    return DateRec{(uint16_t)(1 + Pick(28)), (uint16_t)(1 + Pick(12)), (uint16_t)(first + Pick(last - first + 1))};
}

// Posts `count` vouchers of three rows, two of them with two objects, on
// random days of the years first to last: each in its own synced hold
// (eachHeld) or all in one hold. The seconds taken, negative when a
// voucher was not posted.
inline double PostVoucherRun(int count, bool eachHeld, int first, int last) {
    RuleRecord v(Voucher::Number);
    auto start = std::chrono::steady_clock::now();
    if (!eachHeld) DbHoldBegin();
    for (int i = 0; i < count; i++) {
        FillVoucher(v.record, 3, 2, RandomDay(first, last));
        if (eachHeld) DbHoldBegin();
        bool stored = StoreVoucher(v.record);
        if (!stored) DbHoldFail();
        if (eachHeld && !DbHoldEnd()) stored = false;
        if (!stored) {
            if (!eachHeld) DbHoldEnd();
            return -1;
        }
    }
    if (!eachHeld && !DbHoldEnd()) return -1;
    return Since(start);
}

// Seconds per synced hold that stores one register-18 record and nothing
// else: the engine's bare rate on this disk.
inline double BareHoldSeconds(int holds, const DateRec &date) {
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < holds; i++) {
        DbHoldBegin();
        bool stored = BenchStorePlain(ATVc::Number, [&](uint8_t *r) {
            PutDate(r, ATVc::Date, date);
            PutU32(r, ATVc::SourceSerNr, 0x7FFF0000u + (uint32_t)i);
        });
        if (!stored) DbHoldFail();
        if (!DbHoldEnd()) std::exit(1);
    }
    return Since(start) / holds;
}

}  // namespace ledgerbench
