// ledger_setup_list_test.cpp - report 17: the statement rows that take an
// account, every section as a golden, and a selection of no section.
#include "tests/reports/ledger/ledger_report_fixture.h"

namespace {

namespace P = ReportParamsVc;

class LedgerSetupListTest : public LedgerReportFixture {
protected:
    void StoreStatementRow(int reg, uint32_t number, const char *formula, uint16_t kind) {
        StoreRecord(reg, [&](uint8_t *r) {
            PutU32(r, SR21Vc::RowNr, number);
            PutText(r, SR21Vc::Formula, 60, formula);
            PutText(r, SR21Vc::Label, 60, formula);
            PutU16(r, SR21Vc::RowKind, kind);
        });
    }
    // Statement 21 takes 1910 twice (a range and the code), statement 22
    // takes the result accounts; a row formula (kind 2) takes nothing.
    void StoreStatements() {
        StoreStatementRow(SR21Vc::Number, 10, "1900:1999", 1);
        StoreStatementRow(SR21Vc::Number, 20, "1510 1910", 1);
        StoreStatementRow(SR21Vc::Number, 30, "1910", 2);
        StoreStatementRow(SR22Vc::Number, 40, "3000:4999", 1);
    }
    static std::string RowsOf(const char *account) {
        PString a, out;
        PStringFromC(a, account);
        StatementRowsOfAccount(a, out);
        return PStringToStd(out);
    }
};

TEST_F(LedgerSetupListTest, StatementRowsOfAnAccount) {
    StoreStatements();
    const std::string b = UiText(3270), r = UiText(3271);
    EXPECT_EQ(RowsOf("1910"), b + "10," + b + "20");
    EXPECT_EQ(RowsOf("1510"), b + "20");
    EXPECT_EQ(RowsOf("3010"), r + "40");
    EXPECT_EQ(RowsOf("4010"), r + "40");
    EXPECT_EQ(RowsOf("2010"), "");
}

// Every section ticked: company, accounts with their statement rows,
// object types, objects (the blocked one marked), a voucher template of
// the range, a distribution key without factors' sum (no shares),
// budgets, key figures and the VAT accounts. No section: the title alone
// (the page header's), no line of its own. Each account's kind prints in
// the account window's words for the kind stored (the shared fixture
// stores its balance accounts as kinds 1 and 2, so they read Liability
// and Equity here).
TEST_F(LedgerSetupListTest, SectionsAsGoldens) {
    StoreLedger();
    ASSERT_FALSE(HasFatalFailure());
    StoreStatements();
    StoreRecord(AUVc::Number, [&](uint8_t *r) {
        PutText(r, AUVc::Code, 10, "RENT");
        PutText(r, AUVc::Name, 60, "Monthly rent");
        uint8_t row[AUVc::Rows::Size] = {};
        PutText(row, AUVc::Rows::Account, 10, "4010");
        PutText(row, AUVc::Rows::RowText, 30, "Rent");
        PutText(row, AUVc::Rows::DebitText, 20, "=");
        ASSERT_TRUE(MatrixRowPut(AUVc::Number, 0, r, 0, row));
    });
    StoreRecord(AUVc::Number, [&](uint8_t *r) { PutText(r, AUVc::Code, 10, "ZZZ"); });
    for (const char *code : {"EVEN", "NONE"}) {
        StoreRecord(DKVc::Number, [&](uint8_t *r) {
            PutText(r, DKVc::Code, 5, code);
            PutText(r, DKVc::Name, 60, code);
            const bool even = code[0] == 'E';
            PutDec(r, DKVc::FactorSum, Dec(even ? 4 : 0));
            for (int i = 0; i < 2; i++) {
                uint8_t row[DKVc::Rows::Size] = {};
                PutDec(row, DKVc::Rows::Factor, Dec(even ? 2 : 0));
                ASSERT_TRUE(MatrixRowPut(DKVc::Number, 0, r, i, row));
            }
        });
    }
    Select(17, {}, {});
    for (uint32_t o : {P::Option2, P::Option3, P::Option4, P::Option5, P::Option7, P::Option8, P::Option9,
                       P::Option10, P::Option11, P::Option12})
        SetWord(o, 1);
    SetText(P::SelText5, "A");
    SetText(P::SelText6, "S");
    ExpectLedgerGolden("setup17_all", RunText(LedgerSetupListReport));
    Select(17, {}, {});
    const std::string none = RunText(LedgerSetupListReport);
    EXPECT_EQ(none.find(UiText(3261)), std::string::npos);
    EXPECT_EQ(none.find(UiText(3341)), std::string::npos);
    // No section ticked: the list says it has nothing, once.
    const std::string noRows = UiText(Texts::ReportNoRows);
    EXPECT_NE(none.find(noRows), std::string::npos) << none;
    EXPECT_EQ(none.find(noRows), none.rfind(noRows)) << none;
}

}  // namespace
