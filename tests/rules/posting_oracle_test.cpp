// posting_oracle_test.cpp - a seeded random run of inserts, updates,
// deletes and imports of vouchers, sm1, sp1 and fb1 records through the
// record layer with the rules installed. After every step the balances
// (register 17) are compared with a recomputation from the records then
// stored, and every booked row must have its register-18 entry.
//
// The recomputation is the balance model's (every object subset, the
// VAT code's record, both kinds), built afresh from the stored records at
// every step, so a posting lost, doubled or left behind by a failed save
// shows wherever it went.
#include <cstdlib>
#include <random>

#include "database/access/record_locks.h"
#include "rules/hooks.h"
#include "rules/ledger.h"
#include "rules/series_terms.h"
#include "tests/rules/balance_model.h"
#include "tests/rules/rules_fixture.h"

namespace {

constexpr int Accounts = 8, ObjectTypes = 5, ObjectsPerType = 2;
constexpr int FirstYear = 1995, LastYear = 2035;

class PostingOracle : public RulesFixture {
protected:
    std::mt19937 rng;
    uint32_t nextSerial = 1;

    bool InstallRules() override {
        RulesInstall();
        return true;
    }

    int Pick(int n) { return (int)(rng() % (uint32_t)n); }

    static std::string AccountCode(int i) { return std::to_string(1000 + i * 10); }
    static std::string ObjectCode(int type, int i) { return "O" + std::to_string(type) + std::to_string(i); }

    // The company: 41 calendar fiscal years, accounts, objects of five
    // types, two VAT codes, and vouchers up to 1994 locked against deletion
    // (so that every voucher of the run may go).
    void SetUpCompany() {
        std::vector<uint8_t> rows;
        for (int y = FirstYear; y <= LastYear; y++) {
            int32_t count = (int32_t)(rows.size() / FiscalYearEntry::Size);
            uint16_t code = FiscalYearCodeFor(rows.data(), count, count, 0);
            ASSERT_NE(code, 0) << y;
            AddFiscalYear(code, std::to_string(y).c_str(), {1, 1, (uint16_t)y}, {31, 12, (uint16_t)y});
            rows = tableRows[FiscalYearBlk::Number];
        }
        for (int i = 0; i < Accounts; i++) StoreAccount(AccountCode(i).c_str(), "Account", 0);
        for (int t = 0; t < ObjectTypes; t++) {
            StoreObjectType(("T" + std::to_string(t)).c_str());
            for (int i = 0; i < ObjectsPerType; i++)
                StoreObject(ObjectCode(t, i).c_str(), ("T" + std::to_string(t)).c_str());
        }
        AddVatCode("1", 25, -1, AccountCode(Accounts - 2).c_str(), AccountCode(Accounts - 1).c_str());
        AddVatCode("2", 12, -1, AccountCode(Accounts - 2).c_str(), AccountCode(Accounts - 1).c_str());
        AllowVoucherDeletesAfter(DateRec{31, 12, FirstYear - 1});
    }

    DateRec RandomDate() {
        return DateRec{(uint16_t)(1 + Pick(28)), (uint16_t)(1 + Pick(12)), (uint16_t)(FirstYear + Pick(LastYear - FirstYear + 1))};
    }

    // 0..5 objects of distinct types, joined by ",".
    std::string RandomObjects() {
        std::string list;
        for (int t = 0; t < ObjectTypes; t++) {
            if (Pick(2) == 0) continue;
            if (!list.empty()) list += ",";
            list += ObjectCode(t, Pick(ObjectsPerType));
        }
        return list;
    }

    // Amounts of rows that sum to zero, in cents.
    std::vector<int64_t> BalancedAmounts(int n) {
        std::vector<int64_t> a;
        int64_t sum = 0;
        for (int i = 0; i + 1 < n; i++) {
            a.push_back((int64_t)Pick(2000001) - 1000000);
            sum += a.back();
        }
        a.push_back(-sum);
        return a;
    }

    // Fills record of reg (9, 11, 51, 126) with random rows dated date.
    void FillRecord(int reg, uint8_t *r, const DateRec &date) {
        RecFreeMatrix(reg, r);
        int n = 2 + Pick(3);
        std::vector<int64_t> amounts = BalancedAmounts(n);
        for (int i = 0; i < n; i++) {
            std::string account = AccountCode(Pick(Accounts)), objects = RandomObjects();
            const char *vat = Pick(3) != 0 ? "" : reg == Voucher::Number ? "1" : "2";
            AddLedgerRow(reg, r, account.c_str(), objects.c_str(), (double)amounts[(size_t)i] / 100.0, vat);
        }
        switch (reg) {
        case Voucher::Number: PutDate(r, Voucher::TransDate, date); break;
        case SMVc::Number: PutDate(r, SMVc::Date, date); break;
        case PersEntryVc::Number: PutDate(r, PersEntryVc::TransDate, date); break;
        default:
            PutDate(r, OpenBalVc::TransDate, date);
            PutText(r, OpenBalVc::Objects, 30, RandomObjects().c_str());
            PutU16(r, OpenBalVc::PostKind, (uint16_t)Pick(2));
            break;
        }
    }

    static uint32_t SerialAt(int reg) {
        switch (reg) {
        case Voucher::Number: return Voucher::SerNr;
        case SMVc::Number: return SMVc::SerNr;
        case PersEntryVc::Number: return PersEntryVc::SerNr;
        default: return OpenBalVc::SerNr;
        }
    }

    // Every stored record's rows booked into a fresh model, and every
    // booked row's register-18 entry looked up.
    void CheckAgainstRecords(int step) {
        BalanceModel model;
        for (int reg : {Voucher::Number, SMVc::Number, PersEntryVc::Number, OpenBalVc::Number}) {
            RuleRecord r(reg);
            uint32_t recid = 0;
            for (int32_t i = 1; RecReadAt(reg, i, r.record, &recid); i++) {
                switch (reg) {
                case Voucher::Number: model.PostVoucher(r.record, 1); break;
                case SMVc::Number: model.PostSm1(r.record, 1); break;
                case PersEntryVc::Number: model.PostSp1(r.record, 1); break;
                default: model.PostFb1(r.record, 1); break;
                }
                CheckAccountPostings(step, reg, r.record, recid);
                RecFreeMatrix(reg, r.record);
            }
        }
        ASSERT_TRUE(model.MatchesStore()) << "step " << step;
    }

    // Every booked row of the stored record has its register-18 entry.
    void CheckAccountPostings(int step, int reg, const uint8_t *r, uint32_t recid) {
        uint32_t accountAt = 0, dateAt = 0;
        switch (reg) {
        case Voucher::Number: accountAt = TransRow::Account, dateAt = Voucher::TransDate; break;
        case SMVc::Number: accountAt = AccountRow::Account, dateAt = SMVc::Date; break;
        case PersEntryVc::Number: accountAt = Sp1Row::Account, dateAt = PersEntryVc::TransDate; break;
        default: accountAt = Fb1Row::Account, dateAt = OpenBalVc::TransDate; break;
        }
        uint8_t row[TransRow::Size];
        for (int32_t i = 0; MatrixRowRead(reg, r, i, row); i++) {
            if (reg == Voucher::Number && (GetU16(row, TransRow::Kind) != RowAccount || GetU16(row, TransRow::Flag) != 0))
                continue;
            uint8_t key[ATVc::Size] = {};
            PutDate(key, ATVc::Date, GetDate(r, dateAt));
            PutText(key, ATVc::Account, 10, Text(row, accountAt).c_str());
            PutU32(key, ATVc::SourceSerNr, GetU32(r, SerialAt(reg)));
            PutU32(key, ATVc::SourceRecId, recid);
            PutU16(key, ATVc::SourceReg, (uint16_t)reg);
            PutU16(key, ATVc::YearCode, reg == Voucher::Number ? GetU16(r, Voucher::YearCode) : 0);
            ASSERT_TRUE(RecExists(ATVc::Number, key)) << "step " << step << " register " << reg << " row " << i;
        }
    }

    // One random step: insert, import, update or delete of a random register.
    void Step() {
        static const int regs[] = {Voucher::Number, SMVc::Number, PersEntryVc::Number, OpenBalVc::Number};
        int reg = regs[Pick(4)];
        uint32_t count = RegRecordCount(reg);
        int what = count == 0 ? Pick(2) : Pick(4);
        RuleRecord r(reg);
        int result = 0;
        uint32_t recid = 0;
        if (what <= 1) {
            RecNewDefaults(reg, r.record);
            PutU32(r.record, SerialAt(reg), nextSerial++);
            FillRecord(reg, r.record, RandomDate());
            if (what == 0) {
                RecInsertChecked(reg, r.record, &recid, &result);
                ASSERT_EQ(result, RecDone) << "insert into " << reg;
            } else {
                ASSERT_TRUE(RecImportStore(reg, r.record, 0, 0)) << "import into " << reg;
            }
            return;
        }
        ASSERT_TRUE(RecReadAt(reg, 1 + Pick((int)count), r.record, &recid));
        if (what == 2) {
            FillRecord(reg, r.record, RandomDate());
            ASSERT_TRUE(RecordLockAdd(LockOwnerId, reg, recid));
            RecUpdateChecked(reg, r.record, recid, &result);
            ASSERT_EQ(result, RecDone) << "update of " << reg;
        } else {
            ASSERT_EQ(RecDeleteChecked(reg, r.record, &recid, ""), RecDone) << "delete from " << reg;
        }
    }
};

// A fixed seed and a step count that keeps the test build's run short;
// ORVEL_ORACLE_SEED and ORVEL_ORACLE_STEPS run others.
TEST_F(PostingOracle, BalancesFollowEveryStep) {
    const char *seedText = std::getenv("ORVEL_ORACLE_SEED"), *stepsText = std::getenv("ORVEL_ORACLE_STEPS");
    const uint32_t seed = seedText ? (uint32_t)std::strtoul(seedText, nullptr, 10) : 15;
    const int steps = stepsText ? std::atoi(stepsText) : 100;
    rng.seed(seed);
    SCOPED_TRACE("seed " + std::to_string(seed));
    SetUpCompany();
    for (int step = 0; step < steps && !HasFatalFailure(); step++) {
        Step();
        if (!HasFatalFailure()) CheckAgainstRecords(step);
    }
}

}  // namespace
