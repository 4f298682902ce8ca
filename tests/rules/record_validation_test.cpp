// Tests of the checks of the master registers before a record is stored,
// through the rules' side of the record layer's validation.
#include <functional>

#include "core/company_variant.h"
#include "core/ui_text.h"
#include "rules/checks.h"
#include "tests/rules/rules_fixture.h"

namespace {

class RecordValidationTest : public RulesFixture {
protected:
    // Validates a new record of reg whose text field at offset holds code;
    // the text number shown (0 when accepted, -1 when refused silently).
    int Check(int reg, uint32_t offset, int max, const char *code) {
        RuleRecord r(reg);
        PutText(r.record, offset, max, code);
        shown.clear();
        int result = ValidateRecordOf(reg, r.record, r.record, 1);
        if (result == 0) return 0;
        EXPECT_EQ(result, -1);
        EXPECT_EQ(FieldErrorPos.field, offset);
        return shown.empty() ? -1 : ShownNumber();
    }
    // The number of the text last shown, found by its wording.
    int ShownNumber() {
        for (int n : {1007, 1031, 1066, 1058, 1059, 1120, 1125, 1130, 1205, 1231, 1582, 1703, 1704, 9503}) {
            char text[256];
            GetUiTextC(text, n);
            if (shown.back() == text) return n;
        }
        return -2;
    }
};

// Account numbers need three characters and none of "-+.*"; object and
// object-type codes need a code without list separators; items, vendors
// and customers need a code.
TEST_F(RecordValidationTest, MasterCodes) {
    EXPECT_EQ(Check(ACVc::Number, ACVc::Code, 10, "12"), 1031);
    EXPECT_EQ(Check(ACVc::Number, ACVc::Code, 10, ""), 1031);
    EXPECT_EQ(Check(ACVc::Number, ACVc::Code, 10, "12-3"), 1066);
    EXPECT_EQ(Check(ACVc::Number, ACVc::Code, 10, "1910*"), 1066);
    EXPECT_EQ(Check(ACVc::Number, ACVc::Code, 10, "123"), 0);
    for (int reg : {OBVc::Number, OTVc::Number}) {
        EXPECT_EQ(Check(reg, 0, 5, ""), 1058) << reg;
        EXPECT_EQ(Check(reg, 0, 5, "P1,K2"), 1059) << reg;
        EXPECT_EQ(Check(reg, 0, 5, "P.1"), 1059) << reg;
        EXPECT_EQ(Check(reg, 0, 5, "P1"), 0) << reg;
    }
    EXPECT_EQ(Check(INVc::Number, INVc::Code, 20, ""), 1130);
    EXPECT_EQ(Check(VEVc::Number, VEVc::Code, 20, ""), 1205);
    EXPECT_EQ(Check(CUVc::Number, CUVc::Code, 20, ""), 1125);
    EXPECT_EQ(Check(AUVc::Number, AUVc::Code, 10, "A,B"), 1059);
}

// An account's VAT code must be known and its follow-up account exist;
// an exchange rate needs a currency the company keeps.
TEST_F(RecordValidationTest, AccountVatCodeFollowUpAndRateCurrency) {
    StoreAccount("2610", "Output VAT", 1);
    StoreAccount("2640", "Input VAT", 1);
    AddVatCode("1", 25, -1, "2610", "2640");
    RuleRecord account(ACVc::Number);
    PutText(account.record, ACVc::Code, 10, "3010");
    PutText(account.record, ACVc::VatCode, 2, "9");
    shown.clear();
    EXPECT_EQ(ValidateRecordOf(ACVc::Number, account.record, account.record, 1), -1);
    EXPECT_EQ(FieldErrorPos.field, ACVc::VatCode);
    EXPECT_EQ(ShownNumber(), 1120);
    PutText(account.record, ACVc::VatCode, 2, "1");
    EXPECT_EQ(ValidateRecordOf(ACVc::Number, account.record, account.record, 1), 0);
    PutText(account.record, ACVc::FollowUp, 10, "2611");
    shown.clear();
    EXPECT_EQ(ValidateRecordOf(ACVc::Number, account.record, account.record, 1), -1);
    EXPECT_EQ(FieldErrorPos.field, ACVc::FollowUp);
    EXPECT_EQ(ShownNumber(), 1007);
    PutText(account.record, ACVc::FollowUp, 10, "2610");
    EXPECT_EQ(ValidateRecordOf(ACVc::Number, account.record, account.record, 1), 0);

    EXPECT_EQ(Check(ExchRateVc::Number, ExchRateVc::CurncyCode, 5, "EUR"), 1582);
    EXPECT_EQ(Check(ExchRateVc::Number, ExchRateVc::CurncyCode, 5, ""), 1582);
    AddRow(CurrencyBlk::Number, CurrencyBlk::Rows::Size,
           [](uint8_t *r) { PutText(r, CurrencyBlk::Rows::Code, 5, "EUR"); });
    EXPECT_EQ(Check(ExchRateVc::Number, ExchRateVc::CurncyCode, 5, "EUR"), 0);
    EXPECT_EQ(Check(ExchRateVc::Number, ExchRateVc::CurncyCode, 5, "USD"), 1582);
}

// In company variant 13 customer codes are numbers of at most eight digits
// without a leading zero; other variants take any code.
TEST_F(RecordValidationTest, CustomerCodesOfVariant13) {
    EXPECT_EQ(Check(CUVc::Number, CUVc::Code, 20, "0123"), 0);
    std::vector<uint8_t> company(CompanyBlk::Size, 0);
    PutU16(company.data(), CompanyBlk::CompanyVariant, 13);
    StoreBlock(CompanyBlk::Number, company.data(), CompanyBlk::Size);
    CompanyVariantBind(company.data());
    ASSERT_EQ(CompanyVariant(), 13);
    EXPECT_EQ(Check(CUVc::Number, CUVc::Code, 20, "0123"), 1704);
    EXPECT_EQ(Check(CUVc::Number, CUVc::Code, 20, "12A"), 1703);
    EXPECT_EQ(Check(CUVc::Number, CUVc::Code, 20, "123456789"), 1704);
    EXPECT_EQ(Check(CUVc::Number, CUVc::Code, 20, "12345678"), 0);
    CompanyVariantBind(nullptr);
}

// A template row may name the placeholders "!" and "#" and leave account
// and VAT code empty; a register whose check is built reaches it.
TEST_F(RecordValidationTest, TemplatePlaceholdersAndUnbuiltChecks) {
    RuleRecord t(AUVc::Number);
    PutText(t.record, AUVc::Code, 10, "T1");
    std::vector<uint8_t> row(AUVc::Rows::Size, 0);
    for (const char *account : {"!", "#", ""}) {
        PutText(row.data(), AUVc::Rows::Account, 10, account);
        ASSERT_TRUE(MatrixRowPut(AUVc::Number, 0, t.record, MatrixRowCount(AUVc::Number, 0, t.record), row.data()));
    }
    EXPECT_EQ(ValidateRecordOf(AUVc::Number, t.record, t.record, 1), 0);

    // An expense reaches its own check now: refused at its person, not as
    // a register waiting for its rules.
    RuleRecord expense(ExpenseVc::Number);
    PutDate(expense.record, ExpenseVc::TransDate, DateRec{1, 6, 2024});
    EXPECT_EQ(ValidateRecordOf(ExpenseVc::Number, expense.record, expense.record, 1), -1);
    EXPECT_NE(ShownNumber(), 9503);
}

}  // namespace

namespace {

// A customer's document codes must name what the company keeps: an
// unknown currency, salesperson or VAT code is refused at its field; a
// known one passes; a change leaves a code it did not touch unchecked.
TEST_F(RecordValidationTest, CustomerDocumentCodes) {
    auto customer = [](uint32_t at, int max, const char *code) {
        return [=](uint8_t *r) {
            PutText(r, CUVc::Code, 20, "C9");
            PutText(r, at, max, code);
        };
    };
    auto validate = [this](int mode, const std::function<void(uint8_t *)> &fill, const uint8_t *stored) {
        RuleRecord r(CUVc::Number);
        fill(r.record);
        shown.clear();
        int result = ValidateRecordOf(CUVc::Number, r.record, stored ? const_cast<uint8_t *>(stored) : r.record, mode);
        return result == 0 ? 0 : shown.empty() ? -1 : ShownNumber();
    };
    EXPECT_EQ(validate(1, customer(CUVc::CurncyCode, 5, "EUR"), nullptr), 1582);
    EXPECT_EQ(FieldErrorPos.field, CUVc::CurncyCode);
    AddRow(CurrencyBlk::Number, CurrencyBlk::Rows::Size,
           [](uint8_t *r) { PutText(r, CurrencyBlk::Rows::Code, 5, "EUR"); });
    EXPECT_EQ(validate(1, customer(CUVc::CurncyCode, 5, "EUR"), nullptr), 0);

    EXPECT_EQ(validate(1, customer(CUVc::SalesMan, 5, "NOONE"), nullptr), 1231);
    EXPECT_EQ(FieldErrorPos.field, CUVc::SalesMan);
    StoreRecord(PEVc::Number, [](uint8_t *r) { PutText(r, PEVc::Code, 5, "ANNA"); });
    EXPECT_EQ(validate(1, customer(CUVc::SalesMan, 5, "ANNA"), nullptr), 0);

    EXPECT_EQ(validate(1, customer(CUVc::VatCode, 2, "7"), nullptr), 1120);
    EXPECT_EQ(FieldErrorPos.field, CUVc::VatCode);
    EXPECT_EQ(validate(1, customer(CUVc::DelTerms, 5, "FOB"), nullptr), 1120);
    EXPECT_EQ(FieldErrorPos.field, CUVc::DelTerms);
    StoreRecord(OBVc::Number, [](uint8_t *r) { PutText(r, OBVc::Code, 5, "P1"); });
    StoreRecord(OBVc::Number, [](uint8_t *r) { PutText(r, OBVc::Code, 5, "K2"); });
    EXPECT_EQ(validate(1, customer(CUVc::Objects, 5, "P1,K2"), nullptr), 0);
    EXPECT_EQ(validate(1, customer(CUVc::Objects, 5, "P1,K3"), nullptr), 1120);
    EXPECT_EQ(FieldErrorPos.field, CUVc::Objects);
    EXPECT_EQ(validate(1, customer(CUVc::PayerCode, 20, "C404"), nullptr), 1120);
    EXPECT_EQ(validate(1, customer(CUVc::PayerCode, 20, "C9"), nullptr), 0);   // its own payer

    // A stored customer whose salesperson has gone may still be changed
    // elsewhere; changing to another unknown one is refused.
    RuleRecord stored(CUVc::Number);
    customer(CUVc::SalesMan, 5, "GONE")(stored.record);
    EXPECT_EQ(validate(2, customer(CUVc::SalesMan, 5, "GONE"), stored.record), 0);
    EXPECT_EQ(validate(2, customer(CUVc::SalesMan, 5, "LOST"), stored.record), 1231);
}

}  // namespace
