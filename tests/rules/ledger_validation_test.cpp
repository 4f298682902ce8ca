// Tests of the checks of vouchers, sm1, sp1 and fb1 records: each refusal
// with its text at its field, row and column, the number drawn and given
// back, and the dates the balances cannot hold.
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "rules/accounts.h"
#include "rules/checks.h"
#include "rules/ledger.h"
#include "rules/series_terms.h"
#include "rules/vat_currency.h"
#include "tests/rules/rules_fixture.h"

namespace {

const DateRec Mid2024{15, 6, 2024};

class LedgerValidationTest : public RulesFixture {
protected:
    void SetUp() override {
        RulesFixture::SetUp();
        if (HasFatalFailure()) return;
        AddFiscalYear(2, "2024", DateRec{1, 1, 2024}, DateRec{31, 12, 2024});
        AddFiscalYear(3, "1979", DateRec{1, 1, 1979}, DateRec{31, 12, 1979});
        AddVatCode("1", 25, -1, "2610", "2640");
        StoreAccount("1910", "Cash", 0);
        StoreAccount("3010", "Sales", 3);
        StoreAccount("1510", "Receivables", 0);
        StoreAccount("2999", "Closed", 1, 1);
        AddRow(SubLedgerAccBlk::Number, SubLedgerAccBlk::Rows::Size, [](uint8_t *r) {
            PutU16(r, SubLedgerAccBlk::Rows::Kind, 1);
            PutText(r, SubLedgerAccBlk::Rows::Account, 10, "1510");
        });
        std::vector<uint8_t> accounts(SalesAccountsBlk::Size, 0);
        PutU16(accounts.data(), SalesAccountsBlk::SubLedgerActive, 1);
        StoreBlock(SalesAccountsBlk::Number, accounts.data(), SalesAccountsBlk::Size);
    }

    // Appends a voucher row of kind 1 (flag 0) with account, amount (nan:
    // blank), objects and VAT code.
    static void Row(uint8_t *v, const char *account, double amount, const char *objects = "", const char *vat = "") {
        uint8_t row[TransRow::Size] = {};
        PutU16(row, TransRow::Kind, RowAccount);
        PutText(row, TransRow::Account, 10, account);
        PutText(row, TransRow::Objects, 30, objects);
        PutText(row, TransRow::VatCode, 2, vat);
        PackedDecimal d;
        if (amount != amount) DecSetBlank(&d);
        else d = Dec(amount);
        PutDec(row, TransRow::Amount, d);
        ASSERT_TRUE(MatrixRowPut(11, 0, v, MatrixRowCount(11, 0, v), row));
    }
    static void Voucher2024(uint8_t *v, uint32_t serial = 1) {
        PutU32(v, Voucher::SerNr, serial);
        PutDate(v, Voucher::TransDate, Mid2024);
    }
    // The text number shown last (0: none), found by its wording.
    static int ShownText() {
        if (shown.empty()) return 0;
        for (int n : {1007, 1009, 1010, 1011, 1024, 1025, 1026, 1030, 1043, 1046, 1047, 1082, 1084, 1120, 1557, 9530}) {
            char text[256];
            GetUiTextC(text, n);
            if (shown.back().rfind(text, 0) == 0) return n;
        }
        return -1;
    }
    // Expects the last check to have refused with text at field (row, column).
    static void ExpectAt(int result, int text, uint16_t field, uint16_t row = 0, uint16_t column = 0,
                         const char *what = "") {
        EXPECT_EQ(result, -1) << what;
        EXPECT_EQ(ShownText(), text) << what;
        EXPECT_EQ(FieldErrorPos.field, field) << what;
        if (field == Voucher::Matrix || field == SMVc::Matrix) {
            EXPECT_EQ(FieldErrorPos.row, row) << what;
            EXPECT_EQ(FieldErrorPos.column, column) << what;
        }
    }
};

constexpr double Blank = __builtin_nan("");

// Every refusal of a voucher names its text and where to put the focus.
TEST_F(LedgerValidationTest, VoucherRefusalsAtTheirPlaces) {
    struct Case {
        const char *what;
        void (*make)(uint8_t *v);
        int text;
        uint16_t field, row = 0, column = 0;
    };
    const Case cases[] = {
        {"no rows", [](uint8_t *v) { Voucher2024(v); }, 1030, Voucher::Matrix, 0, TransRow::Account},
        {"no date", [](uint8_t *v) { Voucher2024(v); PutDate(v, Voucher::TransDate, DateRec{}); Row(v, "1910", 1); },
         1024, Voucher::TransDate},
        {"no year", [](uint8_t *v) { Voucher2024(v); PutDate(v, Voucher::TransDate, DateRec{1, 1, 2023}); },
         1047, Voucher::TransDate},
        // A new voucher asks for a number, which is drawn within the year of
        // its date: without a date or a year the date is at fault.
        {"no year, a number asked",
         [](uint8_t *v) { Voucher2024(v, SerialAsk); PutDate(v, Voucher::TransDate, DateRec{1, 1, 2023}); Row(v, "1910", 1); },
         1047, Voucher::TransDate},
        {"no date, a number asked",
         [](uint8_t *v) { Voucher2024(v, SerialAsk); PutDate(v, Voucher::TransDate, DateRec{}); Row(v, "1910", 1); },
         1024, Voucher::TransDate},
        {"1979", [](uint8_t *v) { Voucher2024(v); PutDate(v, Voucher::TransDate, DateRec{1, 5, 1979}); Row(v, "1910", 1); },
         9530, Voucher::TransDate},
        {"unknown account", [](uint8_t *v) { Voucher2024(v); Row(v, "1910", 5); Row(v, "4444", -5); },
         1007, Voucher::Matrix, 1, TransRow::Account},
        {"blocked", [](uint8_t *v) { Voucher2024(v); Row(v, "2999", 5); }, 1084, Voucher::Matrix, 0, TransRow::Account},
        {"sub-ledger", [](uint8_t *v) { Voucher2024(v); Row(v, "1510", 5); }, 1082, Voucher::Matrix, 0,
         TransRow::Account},
        {"objects", [](uint8_t *v) { Voucher2024(v); Row(v, "1910", 5, "ZZZ"); }, 1043, Voucher::Matrix, 0,
         TransRow::Objects},
        {"blank amount", [](uint8_t *v) { Voucher2024(v); Row(v, "1910", Blank); }, 1009, Voucher::Matrix, 0,
         TransRow::Amount},
        {"vat code", [](uint8_t *v) { Voucher2024(v); Row(v, "1910", 5, "", "9"); }, 1120, Voucher::Matrix, 0,
         TransRow::VatCode},
        {"amount, no account", [](uint8_t *v) { Voucher2024(v); Row(v, "1910", 5); Row(v, "", -5); }, 1010,
         Voucher::Matrix, 1, TransRow::Account},
        {"unbalanced", [](uint8_t *v) { Voucher2024(v); Row(v, "1910", 100.01); Row(v, "3010", -100); Row(v, "", Blank); },
         1011, Voucher::Matrix, 2, TransRow::Amount},
    };
    for (const Case &c : cases) {
        RuleRecord v(Voucher::Number);
        c.make(v.record);
        shown.clear();
        ExpectAt(ValidateVoucher(v.record, v.record, 1), c.text, c.field, c.row, c.column, c.what);
    }
}

// Dated rows need a code, references a voucher that exists (in the
// voucher's own year when the row names none); a locked date and a number
// outside the series are refused on the date and the serial.
TEST_F(LedgerValidationTest, VoucherRowKindsLocksAndSeries) {
    RuleRecord v(Voucher::Number);
    Voucher2024(v.record, 3);
    Row(v.record, "1910", 5);
    Row(v.record, "3010", -5);
    uint8_t row[TransRow::Size] = {};
    PutU16(row, TransRow::Kind, RowDated);
    ASSERT_TRUE(MatrixRowPut(11, 0, v.record, 2, row));
    ExpectAt(ValidateVoucher(v.record, v.record, 1), 1025, Voucher::Matrix, 2, TransRow::Code, "dated");
    PutText(row, TransRow::Code, 5, "A");
    ASSERT_TRUE(MatrixRowPut(11, 0, v.record, 2, row));
    std::memset(row, 0, sizeof row);
    PutU16(row, TransRow::Kind, RowReference);
    PutU32(row, TransRow::LinkSerNr, 1);
    ASSERT_TRUE(MatrixRowPut(11, 0, v.record, 3, row));
    ExpectAt(ValidateVoucher(v.record, v.record, 1), 1026, Voucher::Matrix, 3, TransRow::LinkSerNr, "reference");
    StoreRecord(Voucher::Number, [](uint8_t *r) { PutU32(r, Voucher::SerNr, 1); PutU16(r, Voucher::YearCode, 2); });
    EXPECT_EQ(ValidateVoucher(v.record, v.record, 1), 0);
    ASSERT_TRUE(MatrixRowRead(11, v.record, 3, row));
    EXPECT_EQ(GetU16(row, TransRow::LinkYearCode), 2);

    std::vector<uint8_t> locks(DateLockBlk::Size, 0);
    PutDate(locks.data(), DateLockBlk::LedgerLock, DateRec{30, 6, 2024});
    StoreBlock(DateLockBlk::Number, locks.data(), DateLockBlk::Size);
    ExpectAt(ValidateVoucher(v.record, v.record, 1), 1046, Voucher::TransDate, 0, 0, "locked");
    PutDate(locks.data(), DateLockBlk::LedgerLock, DateRec{});
    StoreBlock(DateLockBlk::Number, locks.data(), DateLockBlk::Size);

    AddSeriesRow(VoucherSeriesBlk::Number, 1, 100);
    PutU32(v.record, Voucher::SerNr, 500);
    ExpectAt(ValidateVoucher(v.record, v.record, 1), 1557, Voucher::SerNr, 0, 0, "series");
}

// A voucher that asks for a number keeps the one drawn when accepted and
// gets back what it asked with when refused.
TEST_F(LedgerValidationTest, DrawnNumberKeptOrGivenBack) {
    RuleRecord v(Voucher::Number);
    Voucher2024(v.record, SerialAsk);
    Row(v.record, "1910", 5);
    Row(v.record, "3010", -4);
    EXPECT_EQ(ValidateVoucher(v.record, v.record, 1), -1);
    EXPECT_EQ(GetU32(v.record, Voucher::SerNr), SerialAsk);
    Row(v.record, "3010", -1);
    EXPECT_EQ(ValidateVoucher(v.record, v.record, 1), 0);
    uint32_t drawn = GetU32(v.record, Voucher::SerNr);
    EXPECT_GE(drawn, 1u);
    EXPECT_LT(drawn, SerialAsk);
    EXPECT_EQ(GetU16(v.record, Voucher::YearCode), 2);
}

// Rows already stored on a sub-ledger account may change; a row added
// beyond them may not use one.
TEST_F(LedgerValidationTest, SubLedgerRowsOfAStoredVoucher) {
    RuleRecord stored(Voucher::Number), edited(Voucher::Number);
    Voucher2024(stored.record, 4);
    Row(stored.record, "1510", 5);
    Row(stored.record, "3010", -5);
    Voucher2024(edited.record, 4);
    Row(edited.record, "1510", 7);
    Row(edited.record, "3010", -7);
    EXPECT_EQ(ValidateVoucher(edited.record, stored.record, 2), 0);
    Row(edited.record, "1510", 1);
    Row(edited.record, "3010", -1);
    ExpectAt(ValidateVoucher(edited.record, stored.record, 2), 1082, Voucher::Matrix, 2, TransRow::Account);
}

// sm1 and fb1: a date the balances cannot hold, the sum and the series on
// their own fields, and fb1's record-wide object list.
TEST_F(LedgerValidationTest, Sm1AndFb1) {
    RuleRecord sm1(SMVc::Number);
    PutU32(sm1.record, SMVc::SerNr, 1);
    PutDate(sm1.record, SMVc::Date, DateRec{31, 12, 1979});
    uint8_t row[Sp1Row::Size] = {};
    PutText(row, AccountRow::Account, 10, "1910");
    PutDec(row, AccountRow::Amount, Dec(10));
    ASSERT_TRUE(MatrixRowPut(SMVc::Number, 0, sm1.record, 0, row));
    ExpectAt(ValidateSm1(sm1.record, sm1.record, 1), 9530, SMVc::Date, 0, 0, "sm1 1979");
    PutDate(sm1.record, SMVc::Date, Mid2024);
    ExpectAt(ValidateSm1(sm1.record, sm1.record, 1), 1011, SMVc::Matrix, 0, AccountRow::Amount, "sm1 sum");
    PutDec(row, AccountRow::Amount, Dec(-10));
    ASSERT_TRUE(MatrixRowPut(SMVc::Number, 0, sm1.record, 1, row));
    EXPECT_EQ(ValidateSm1(sm1.record, sm1.record, 1), 0);
    AddSeriesRow(SubLedgerSeriesBlk::Number, 100, 200);
    ExpectAt(ValidateSm1(sm1.record, sm1.record, 1), 1557, SMVc::SerNr, 0, 0, "sm1 series");

    RuleRecord fb1(OpenBalVc::Number);
    PutU32(fb1.record, OpenBalVc::SerNr, 1);
    ExpectAt(ValidateFb1(fb1.record, fb1.record, 1), 1024, OpenBalVc::TransDate, 0, 0, "fb1 date");
    PutDate(fb1.record, OpenBalVc::TransDate, Mid2024);
    PutText(fb1.record, OpenBalVc::Objects, 30, "ZZZ");
    std::memset(row, 0, sizeof row);
    PutText(row, Fb1Row::Account, 10, "1910");
    PutDec(row, Fb1Row::Amount, Dec(3));
    ASSERT_TRUE(MatrixRowPut(OpenBalVc::Number, 0, fb1.record, 0, row));
    ExpectAt(ValidateFb1(fb1.record, fb1.record, 1), 1043, OpenBalVc::Objects, 0, 0, "fb1 objects");
    PutText(fb1.record, OpenBalVc::Objects, 30, "");
    EXPECT_EQ(ValidateFb1(fb1.record, fb1.record, 1), 0);   // no sum check
}

}  // namespace
