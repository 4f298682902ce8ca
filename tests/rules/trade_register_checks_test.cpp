// Tests of the checks of the trade registers before a record is stored:
// a vendor's codes must name what the company keeps, a location's stock
// account must exist, and the coded registers need their code.
#include "core/ui_text.h"
#include "rules/checks.h"
#include "tests/rules/rules_fixture.h"

namespace {

class TradeRegisterChecksTest : public RulesFixture {
protected:
    // Validates record as a new record of reg: 0 when accepted, else the
    // text shown, compared with `text` by the caller, and the field the
    // cursor goes to in *field.
    std::string Refusal(int reg, uint8_t *record, uint16_t *field) {
        shown.clear();
        if (ValidateRecordOf(reg, record, record, 1) == 0) return "";
        *field = FieldErrorPos.field;
        return shown.empty() ? "(nothing shown)" : shown.back();
    }
    static std::string Text(int n) {
        char text[256];
        GetUiTextC(text, n);
        return text;
    }
};

// Each code field of a vendor is refused on that field while it names
// nothing the company keeps, and accepted once it does or is emptied.
TEST_F(TradeRegisterChecksTest, VendorCodesMustNameWhatTheCompanyKeeps) {
    RuleRecord vendor(VEVc::Number);
    PutText(vendor.record, VEVc::Code, 20, "V1");
    struct Case {
        uint32_t field;
        int max;
        const char *unknown;
        int text;
    };
    const Case cases[] = {
        {VEVc::PayTerms, 2, "60", Texts::VendorTermsUnknown},
        {VEVc::PurchAcc, 10, "4010", Texts::AccountMissing},
        {VEVc::CurncyCode, 5, "EUR", Texts::CurrencyUnknown},
        {VEVc::LangCode, 5, "SV", Texts::VendorLanguageUnknown},
        {VEVc::DelTerms, 5, "FOB", Texts::VendorDelTermsUnknown},
        {VEVc::Country, 5, "DE", Texts::VendorCountryUnknown},
    };
    uint16_t field = 0;
    for (const Case &c : cases) {
        PutText(vendor.record, c.field, c.max, c.unknown);
        EXPECT_EQ(Refusal(VEVc::Number, vendor.record, &field), Text(c.text)) << c.unknown;
        EXPECT_EQ(field, c.field) << c.unknown;
        // Emptied, the field passes.
        PutText(vendor.record, c.field, c.max, "");
        EXPECT_EQ(Refusal(VEVc::Number, vendor.record, &field), "") << c.unknown;
    }

    // What the company keeps, each in its register or block.
    StoreTerms("60", 1, 60);
    StoreAccount("4010", "Purchases", 4);
    AddRow(CurrencyBlk::Number, CurrencyBlk::Rows::Size, [](uint8_t *r) { PutText(r, CurrencyBlk::Rows::Code, 5, "EUR"); });
    AddRow(LanguageBlk::Number, LanguageBlk::Rows::Size, [](uint8_t *r) { PutText(r, LanguageBlk::Rows::Code, 5, "SV"); });
    StoreRecord(DTVc::Number, [](uint8_t *r) { PutText(r, DTVc::Code, 5, "FOB"); });
    StoreRecord(CountryVc::Number, [](uint8_t *r) { PutText(r, CountryVc::Code, 5, "DE"); });
    for (const Case &c : cases) PutText(vendor.record, c.field, c.max, c.unknown);
    EXPECT_EQ(Refusal(VEVc::Number, vendor.record, &field), "");

    // A payment mode of block 131 serves as the vendor's terms as well.
    PutText(vendor.record, VEVc::PayTerms, 2, "B");
    EXPECT_EQ(Refusal(VEVc::Number, vendor.record, &field), Text(Texts::VendorTermsUnknown));
    AddRow(PaymentModeBlk::Number, PaymentModeBlk::Rows::Size,
           [](uint8_t *r) { PutText(r, PaymentModeBlk::Rows::Code, 1, "B"); });
    EXPECT_EQ(Refusal(VEVc::Number, vendor.record, &field), "");

    // A vendor without a code is refused before anything else.
    PutText(vendor.record, VEVc::Code, 20, "");
    PutText(vendor.record, VEVc::PurchAcc, 10, "9999");
    EXPECT_EQ(Refusal(VEVc::Number, vendor.record, &field), Text(Texts::VendorCodeMissing));
    EXPECT_EQ(field, VEVc::Code);
}

// A location books on a stock account of the chart, or on none; every
// coded register needs its code.
TEST_F(TradeRegisterChecksTest, LocationAccountAndCodesOfTheCodedRegisters) {
    RuleRecord location(LocationVc::Number);
    uint16_t field = 0;
    EXPECT_EQ(Refusal(LocationVc::Number, location.record, &field), Text(Texts::CodeMissing));
    EXPECT_EQ(field, LocationVc::Code);
    PutText(location.record, LocationVc::Code, 10, "NORTH");
    EXPECT_EQ(Refusal(LocationVc::Number, location.record, &field), "");
    PutText(location.record, LocationVc::StockAcc, 10, "1460");
    EXPECT_EQ(Refusal(LocationVc::Number, location.record, &field), Text(Texts::AccountMissing));
    EXPECT_EQ(field, LocationVc::StockAcc);
    StoreAccount("1460", "Stock", 1);
    EXPECT_EQ(Refusal(LocationVc::Number, location.record, &field), "");

    struct Coded {
        int reg;
        uint32_t code;
        int max;
    };
    const Coded coded[] = {{PayTermsVc::Number, PayTermsVc::Code, 2}, {UnitVc::Number, UnitVc::Code, 5},
                           {DTVc::Number, DTVc::Code, 5},           {DelModeVc::Number, DelModeVc::Code, 5},
                           {CountryVc::Number, CountryVc::Code, 5}, {BankVc::Number, BankVc::Code, 5},
                           {DepartmentVc::Number, DepartmentVc::Code, 5}};
    for (const Coded &c : coded) {
        RuleRecord r(c.reg);
        EXPECT_EQ(Refusal(c.reg, r.record, &field), Text(Texts::CodeMissing)) << c.reg;
        EXPECT_EQ(field, c.code) << c.reg;
        PutText(r.record, c.code, c.max, "X1");
        EXPECT_EQ(Refusal(c.reg, r.record, &field), "") << c.reg;
    }
}

}  // namespace
